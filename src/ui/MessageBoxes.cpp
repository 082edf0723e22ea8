#include "ui/MessageBoxes.h"

#include "ui/QtText.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QWidget>

namespace rtw::ui {
namespace {

// A box belongs to the main window unless that is disabled (during a transfer), where a
// child box would be disabled too and could never be dismissed.
QWidget* boxParent(QWidget& owner) {
    return owner.isEnabled() && owner.isVisible() ? &owner : nullptr;
}

void runBox(QWidget& owner, QMessageBox::Icon icon, const QString& text) {
    QMessageBox box(icon, QGuiApplication::applicationDisplayName(), text, QMessageBox::Ok,
                    boxParent(owner));
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

} // namespace

void MessageBoxSink::showMessage(std::string_view text) {
    runBox(m_owner, QMessageBox::NoIcon, qStringFromCp1252(text));
}

QString errorBoxText(std::string_view cp1252Message) {
    QString text = qStringFromCp1252(cp1252Message);
    if (!cp1252Message.empty() && static_cast<unsigned char>(cp1252Message.back()) > '.') {
        text += QLatin1Char('.');
    }
    return text;
}

void showErrorBox(QWidget& owner, std::string_view cp1252Message) {
    runBox(owner, QMessageBox::Critical, errorBoxText(cp1252Message));
}

} // namespace rtw::ui
