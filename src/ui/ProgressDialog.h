#pragma once
// What the send and read dialogs share: the message line, the gauge, Cancel and the close
// guard. A transfer drives the dialog through ProgressView.
#include "link/Connection.h"
#include "protocol/Transfers.h"

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
                   QWidget& mainWindow);

    void show() override;
    void hide() override;
    void setCaption(std::string_view caption) override;
    void setLabel(std::string_view text) override;
    void setGaugeVisible(bool visible) override;
    void setGaugeValue(int value) override;
    void setCancelVisible(bool visible) override;
    void btnCancelClick() override;

    // The close request: refused while a connection is open.
    [[nodiscard]] bool FormCloseQuery() const;

    QLabel* Label1 = nullptr;
    Gauge* Gauge1 = nullptr;
    QPushButton* btnCancel = nullptr;

public Q_SLOTS:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void centreOverMainWindow();

    DeviceLink& m_link;
    TransferFlags& m_flags;
    QWidget& m_mainWindow;
};

} // namespace rtw::ui
