#include "config/Clear.h"
#include "config/Cp1252.h"
#include "config/DeviceConfig.h"
#include "rtwctl/Commands.h"
#include "settings/SettingsFile.h"

namespace rtw::cli {
namespace {

int cmdNew(Args& args) {
    DeviceConfig config;
    clearConfiguration(config);
    try {
        SaveSettingsFile(config, args.operand(0));
    } catch (const SettingsWriteError& e) {
        return args.failure(utf8FromCp1252(e.what()));
    }
    return kExitOk;
}

} // namespace

const CommandSpec kNewCommand{
    "new",
    "FILE",
    1,
    1,
    "write the default configuration into FILE",
    "Writes the default configuration (every field as Clear leaves it) into FILE, as the\n"
    "window's Save does right after Clear. An existing FILE keeps its other sections,\n"
    "keys and comments; the file is replaced whole or not at all.",
    {},
    cmdNew,
};

} // namespace rtw::cli
