#include "ui/uSend.h"

namespace rtw::ui {

TfSend::TfSend(DeviceLink& link, TransferFlags& flags, TfMain& mainWindow)
    : ProgressDialog({QStringLiteral("Sende Daten an das Wählgerät"),
                      QStringLiteral("Sende daten.Bitte warten...."), 96, false},
                     link, flags, mainWindow) {
    setObjectName(QStringLiteral("fSend"));
}

} // namespace rtw::ui
