#pragma once
#include "ui/ProgressDialog.h"

namespace rtw::ui {

// The read-progress dialog `fRead`.
class TfRead : public ProgressDialog {
    Q_OBJECT
public:
    TfRead(DeviceLink& link, TransferFlags& flags, TfMain& mainWindow);
};

} // namespace rtw::ui
