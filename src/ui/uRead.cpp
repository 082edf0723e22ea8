#include "ui/uRead.h"

namespace rtw::ui {

TfRead::TfRead(DeviceLink& link, TransferFlags& flags, TfMain& mainWindow)
    : ProgressDialog({QStringLiteral("Laden Daten von der Wählgerät"),
                      QStringLiteral("Laden daten.Bitte warten..."), 88, true},
                     link, flags, mainWindow) {
    setObjectName(QStringLiteral("fRead"));
}

} // namespace rtw::ui
