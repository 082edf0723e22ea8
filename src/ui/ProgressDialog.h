#pragma once
// What the send and read dialogs share: the message line, the gauge, the Cancel button and
// the close request. A transfer drives the dialog through ProgressView, which also holds
// what Cancel does and when the dialog may close.
#include "link/Connection.h"
#include "protocol/Transfers.h"
#include "ui/uMain.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace rtw::ui {

class Gauge;

struct ProgressDialogLook {
    QString caption;
    QString label;
    int labelLeft = 0; // the label sizes itself to its text
    bool sizeable = false;
};

class ProgressDialog : public QDialog, public ProgressView {
    Q_OBJECT
public:
    ProgressDialog(const ProgressDialogLook& look, DeviceLink& link, TransferFlags& flags,
                   TfMain& mainWindow);

    void show() override;
    void hide() override;
    void setCaption(std::string_view caption) override;
    void setLabel(std::string_view text) override;
    void setGaugeVisible(bool visible) override;
    void setGaugeValue(int value) override;
    void setCancelVisible(bool visible) override;

    QLabel* Label1 = nullptr;
    Gauge* Gauge1 = nullptr;
    QPushButton* btnCancel = nullptr;

public Q_SLOTS:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void centreOverMainWindow();

    QWidget& m_mainWindow;
};

} // namespace rtw::ui
