#pragma once
// The real programmer window over an emulated unit that answers at once (a fake clock, no
// line time), and helpers that play the user's part in modal boxes and file dialogs.
#include "config/DeviceConfig.h"
#include "sim/Clock.h"
#include "sim/EmulatedBackend.h"
#include "sim/EmulatedUnit.h"
#include "ui/Programmer.h"

#include <QColor>
#include <QMessageBox>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

namespace rtw::ui::test {

struct Window {
    Window();
    sim::EmulatedUnit unit;
    sim::FakeClock clock;
    sim::EmulatedBackend* backend = nullptr; // owned by the programmer
    std::unique_ptr<Programmer> programmer;

    [[nodiscard]] TfMain& main() { return programmer->fMain(); }
    [[nodiscard]] DeviceConfig& config() { return programmer->config(); }
    template <typename Control = QWidget> [[nodiscard]] Control* control(std::string_view name) {
        return qobject_cast<Control*>(main().control(name));
    }
};

// Every field set: full lists, full texts, the hidden fields, numbers away from their
// defaults, input 1 NC. Sendable and free of what a settings file cannot hold.
void fillFullConfiguration(DeviceConfig& config);

// The colour an entry shows inside its frame.
[[nodiscard]] QColor shownBackground(QWidget& widget);

// The control a focus widget belongs to (a spin field's editor, a page control's tab bar).
[[nodiscard]] QString owningControlName(QWidget* focus);

struct SeenBox {
    QMessageBox::Icon icon;
    QString text;
};

// While alive, answers every message box that comes up with its affirmative button and
// keeps what it showed.
class BoxAnswerer : public QObject {
public:
    BoxAnswerer();
    std::vector<SeenBox> seen;

private:
    QTimer m_timer;
};

// Runs `act` on every pass of the event loop (the transfers let events run between their
// steps) until it returns true.
class OnEveryPass : public QObject {
public:
    explicit OnEveryPass(std::function<bool()> act);

private:
    QTimer m_timer;
};

// Answers the next file dialog by typing a name into it and accepting; `shownName` gets
// the name the dialog offered when it came up.
void answerNextFileDialog(const QString& typedName, QString* shownName = nullptr);
// Types a name into the next file dialog and cancels it.
void cancelNextFileDialog(const QString& typedName);

} // namespace rtw::ui::test
