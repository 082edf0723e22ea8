#pragma once
// The two kinds of message box: the plain one (text, no icon, one OK) through which
// everything below the window reports, and the error box for an exception that escapes a
// command.
#include "config/MessageSink.h"

#include <QString>

#include <exception>
#include <string_view>

class QWidget;

namespace rtw::ui {

class MessageBoxSink : public MessageSink {
public:
    explicit MessageBoxSink(QWidget& owner) : m_owner(owner) {}
    void showMessage(std::string_view text) override;

private:
    QWidget& m_owner;
};

// The error box's text: the message, with a full stop appended when its last character
// sorts after ".".
[[nodiscard]] QString errorBoxText(std::string_view cp1252Message);
void showErrorBox(QWidget& owner, std::string_view cp1252Message);

// Runs a command handler; an exception that escapes it ends the command and is shown in
// the error box, and the program goes on.
template <typename Command> void runCommand(QWidget& owner, Command&& command) {
    try {
        command();
    } catch (const std::exception& error) {
        showErrorBox(owner, error.what());
    }
}

} // namespace rtw::ui
