#include "rtwctl/TerminalTransfer.h"

#include "config/Cp1252.h"
#include "wire/ProtocolConstants.h"

#include <algorithm>

namespace rtw::cli {
namespace {

volatile std::sig_atomic_t g_interrupts = 0;

extern "C" void countInterrupt(int) {
    g_interrupts = g_interrupts + 1;
}

constexpr int kGaugeMaximum = wire::kLastImageBlock;

} // namespace

InterruptCounter::InterruptCounter() {
    g_interrupts = 0;
    struct sigaction action {};
    action.sa_handler = countInterrupt;
    sigemptyset(&action.sa_mask);
    // The transfer looks at the count between port calls, at most one time-out later.
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &m_previous);
}

InterruptCounter::~InterruptCounter() {
    sigaction(SIGINT, &m_previous, nullptr);
}

int InterruptCounter::take() {
    const int presses = g_interrupts;
    g_interrupts = 0;
    return presses;
}

TerminalView::TerminalView(DeviceLink& link, TransferFlags& flags, TransferHost& host,
                           std::ostream& out, bool draw)
    : ProgressView(link, flags, host), m_out(out), m_draw(draw) {}

void TerminalView::show() {
    m_visible = true;
    redraw();
}

void TerminalView::hide() {
    m_visible = false;
    clearLine();
}

void TerminalView::setCaption(std::string_view caption) {
    m_caption = caption;
    redraw();
}

void TerminalView::setLabel(std::string_view text) {
    m_label = text;
    redraw();
}

void TerminalView::setGaugeVisible(bool visible) {
    m_gaugeVisible = visible;
    redraw();
}

void TerminalView::setGaugeValue(int value) {
    m_gauge = std::clamp(value, 0, kGaugeMaximum);
    redraw();
}

void TerminalView::setCancelVisible(bool visible) {
    m_cancelVisible = visible;
    redraw();
}

std::string TerminalView::lineText() const {
    std::string line = utf8FromCp1252(m_caption) + ": " + utf8FromCp1252(m_label);
    if (m_gaugeVisible) {
        // Whole percent, rounded down, as the dialog's gauge shows it.
        line += " " + std::to_string(m_gauge * 100 / kGaugeMaximum) + "%";
    }
    if (m_cancelVisible) {
        line += " (Ctrl+C: cancel)";
    }
    return line;
}

void TerminalView::redraw() {
    if (!m_draw || !m_visible) {
        return;
    }
    const std::string line = lineText();
    if (line == m_drawn) {
        return; // the gauge moves 254 times; the line changes about 100
    }
    m_out << "\r\x1b[K" << line << std::flush;
    m_drawn = line;
}

void TerminalView::clearLine() {
    if (!m_drawn.empty()) {
        m_out << "\r\x1b[K" << std::flush;
        m_drawn.clear();
    }
}

TerminalHost::TerminalHost(TransferFlags& flags, InterruptCounter& interrupts, std::ostream& out)
    : m_flags(flags), m_interrupts(interrupts), m_out(out) {}

void TerminalHost::processEvents() {
    if (m_view != nullptr && m_view->visible()) {
        if (const int presses = m_interrupts.take(); presses > 0) {
            if (m_view->cancelOffered()) {
                m_view->btnCancelClick();
            } else {
                m_view->clearLine();
                m_out << "Ctrl+C ignored: the blocks are moving and a transfer cannot be "
                         "stopped half-way; it ends by itself.\n"
                      << std::flush;
            }
        }
    }
    if (m_timerRunning && std::chrono::steady_clock::now() - m_timerStart >=
                              std::chrono::milliseconds(wire::kGreetingWaitMs)) {
        m_timerStart += std::chrono::milliseconds(wire::kGreetingWaitMs);
        m_flags.waitExpired = true;
    }
}

void TerminalHost::startTimer1() {
    m_timerRunning = true;
    m_timerStart = std::chrono::steady_clock::now();
}

void TerminalHost::stopTimer1() {
    m_timerRunning = false;
}

void TerminalSink::showMessage(std::string_view text) {
    if (m_view != nullptr) {
        m_view->clearLine();
    }
    m_out << utf8FromCp1252(text) << '\n' << std::flush;
}

} // namespace rtw::cli
