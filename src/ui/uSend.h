#pragma once
#include "ui/ProgressDialog.h"

namespace rtw::ui {

// The send-progress dialog `fSend`.
class TfSend : public ProgressDialog {
    Q_OBJECT
public:
    TfSend(DeviceLink& link, TransferFlags& flags, TfMain& mainWindow);
};

} // namespace rtw::ui
