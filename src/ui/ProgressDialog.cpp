#include "ui/ProgressDialog.h"

#include "ui/Gauge.h"
#include "ui/QtText.h"
#include "ui/WindowLook.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QWindow>

namespace rtw::ui {
namespace {

constexpr int kClientWidth = 332;
constexpr int kClientHeight = 87;

} // namespace

ProgressDialog::ProgressDialog(const ProgressDialogLook& look, DeviceLink& link,
                               TransferFlags& flags, TfMain& mainWindow)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      ProgressView(link, flags, mainWindow), m_mainWindow(mainWindow) {
    // Not a child of the main window: the transfer disables that window, and a child
    // window would be disabled with it.
    setWindowTitle(look.caption);
    setFont(windowFont());
    setModal(false);

    btnCancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setGeometry(128, 56, 75, 25);
    btnCancel->setAutoDefault(false);
    connect(btnCancel, &QPushButton::clicked, this, [this] { btnCancelClick(); });

    Label1 = new QLabel(look.label, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(look.labelLeft, 16);
    Label1->adjustSize();

    Gauge1 = new Gauge(this);
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setGeometry(40, 40, 252, 20);

    if (look.sizeable) {
        resize(kClientWidth, kClientHeight);
    } else {
        setFixedSize(kClientWidth, kClientHeight);
    }
}

void ProgressDialog::show() {
    // Above the main window and out of the task bar, like a dialog of it.
    winId();
    if (QWindow* own = windowHandle()) {
        own->setTransientParent(m_mainWindow.windowHandle());
    }
    centreOverMainWindow();
    QDialog::show();
    raise();
    activateWindow();
}

void ProgressDialog::hide() {
    QDialog::hide();
}

void ProgressDialog::setCaption(std::string_view caption) {
    setWindowTitle(qStringFromCp1252(caption));
}

void ProgressDialog::setLabel(std::string_view text) {
    Label1->setText(qStringFromCp1252(text));
    Label1->adjustSize();
}

void ProgressDialog::setGaugeVisible(bool visible) {
    Gauge1->setVisible(visible);
}

void ProgressDialog::setGaugeValue(int value) {
    Gauge1->setProgress(value);
}

void ProgressDialog::setCancelVisible(bool visible) {
    btnCancel->setVisible(visible);
}

void ProgressDialog::reject() {
    if (FormCloseQuery()) {
        hide();
    }
}

void ProgressDialog::closeEvent(QCloseEvent* event) {
    if (FormCloseQuery()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void ProgressDialog::centreOverMainWindow() {
    const QRect main = m_mainWindow.frameGeometry();
    const QSize own = frameGeometry().size();
    move(main.center() - QPoint(own.width() / 2, own.height() / 2));
}

} // namespace rtw::ui
