#pragma once
// A transfer's dialog and window on a terminal: the dialog's texts and gauge become one
// progress line on stderr, Timer1 runs on the steady clock, and Ctrl+C is the Cancel
// button while the dialog offers one.
#include "config/MessageSink.h"
#include "link/Connection.h"
#include "protocol/Transfers.h"

#include <chrono>
#include <csignal>
#include <ostream>
#include <string>

namespace rtw::cli {

// Ctrl+C presses not yet seen by a transfer. Installing the handler makes SIGINT count
// here instead of ending the process; the previous handler comes back on destruction.
class InterruptCounter {
public:
    InterruptCounter();
    ~InterruptCounter();
    InterruptCounter(const InterruptCounter&) = delete;
    InterruptCounter& operator=(const InterruptCounter&) = delete;
    // The presses since the last call.
    [[nodiscard]] int take();

private:
    struct sigaction m_previous {};
};

class TerminalView final : public ProgressView {
public:
    // draw: whether the progress line is shown at all (a terminal, and not --quiet).
    TerminalView(DeviceLink& link, TransferFlags& flags, TransferHost& host, std::ostream& out,
                 bool draw);

    void show() override;
    void hide() override;
    void setCaption(std::string_view caption) override;
    void setLabel(std::string_view text) override;
    void setGaugeVisible(bool visible) override;
    void setGaugeValue(int value) override;
    void setCancelVisible(bool visible) override;

    [[nodiscard]] bool visible() const { return m_visible; }
    [[nodiscard]] bool cancelOffered() const { return m_visible && m_cancelVisible; }
    // Takes the progress line off the terminal so other text can be written.
    void clearLine();
    // The progress line as it would be drawn, UTF-8.
    [[nodiscard]] std::string lineText() const;

private:
    void redraw();

    std::ostream& m_out;
    bool m_draw;
    bool m_visible = false;
    bool m_gaugeVisible = false;
    bool m_cancelVisible = false;
    int m_gauge = 0;
    std::string m_caption;
    std::string m_label;
    std::string m_drawn; // what the terminal shows now
};

class TerminalHost final : public TransferHost {
public:
    TerminalHost(TransferFlags& flags, InterruptCounter& interrupts, std::ostream& out);
    // Set once the view exists (they refer to each other).
    void setView(TerminalView& view) { m_view = &view; }

    void setMainWindowEnabled(bool enabled) override { m_enabled = enabled; }
    void processEvents() override;
    void startTimer1() override;
    void stopTimer1() override;

    [[nodiscard]] bool mainWindowEnabled() const { return m_enabled; }

private:
    TransferFlags& m_flags;
    InterruptCounter& m_interrupts;
    std::ostream& m_out;
    TerminalView* m_view = nullptr;
    bool m_enabled = true;
    bool m_timerRunning = false;
    std::chrono::steady_clock::time_point m_timerStart;
};

// The core's messages on stderr, as UTF-8, one per line.
class TerminalSink final : public MessageSink {
public:
    explicit TerminalSink(std::ostream& out) : m_out(out) {}
    void setView(TerminalView& view) { m_view = &view; }
    void showMessage(std::string_view text) override;

private:
    std::ostream& m_out;
    TerminalView* m_view = nullptr;
};

} // namespace rtw::cli
