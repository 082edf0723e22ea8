#include "config/Clear.h"

#include <string>

namespace rtw {
namespace {

void emptyList(DeviceConfig& config, ListId list) {
    for (int k = 1; k <= listInfo(list).size; ++k) {
        config.setText(entryField(list, k), "");
    }
}

} // namespace

void clearConfiguration(DeviceConfig& config) {
    emptyList(config, ListId::TCV1);
    emptyList(config, ListId::TCV2);
    emptyList(config, ListId::POO1);
    emptyList(config, ListId::POO2);
    for (const char* name : {"memoSMSV1", "memoSMSV2", "memoSMSNV1", "memoSMSNV2", "memoSMSZAP1",
                             "memoSMSZAP2", "memoSMSVYP1", "memoSMSVYP2", "MemoDTMFZAP1",
                             "MemoDTMFZAP2", "MemoDTMFVYP1", "MemoDTMFVYP2"}) {
        config.setText(name, "");
    }
    emptyList(config, ListId::TCZSSMS);
    emptyList(config, ListId::POV1);
    emptyList(config, ListId::POV2);
    emptyList(config, ListId::PZS1);
    emptyList(config, ListId::PZS2);
    for (const char* name :
         {"spinINTERVAL", "spinCAS", "SpinCASRELE1", "SpinCASRELE2", "spinKREDIT"}) {
        config.setText(name, "0");
    }
    config.setText("spinDELAY1", "1");
    config.setText("spinDELAY2", "1");
    config.setSelected("rbVST1_1", true);
    config.setSelected("rbVST2_1", true);
    config.setSelected("rbVST1_2", false);
    config.setSelected("rbVST2_2", false);
}

} // namespace rtw
