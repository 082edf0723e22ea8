#pragma once
// The emulated unit on a pseudo-terminal, for other processes: it reports the terminal's
// path, notices each time a process opens it, greets, and serves connection after
// connection with the real clock until asked to stop. A connection ends when the master
// reports POLLHUP (no process holds the terminal any more). Opens are seen through inotify
// on the terminal's path: POLLHUP alone would miss a close and a quick reopen, as a
// presence probe followed by the real open makes them.
#include "sim/Clock.h"
#include "sim/EmulatedUnit.h"
#include "sim/Faults.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace rtw::sim {

enum class PtyEvent : std::uint8_t {
    Connected,
    Disconnected,
    SendCompleted,
    ReadCompleted,
    MemoryDumped,
};

struct PtyServerOptions {
    bool paced = true; // 9600 baud 8N1 on the line; false: every byte at once
    // A terminal has no latency timer of its own; a chip's can be modelled (0: none).
    std::chrono::milliseconds latencyTimer{0};
    // Leaves the other side time to open, flush and configure the terminal first.
    Micros greetingDelay{100'000};
    std::filesystem::path memoryFile; // empty: memory starts as zeros
    std::filesystem::path dumpFile;   // empty: no dump
    Faults faults;
    std::function<void(PtyEvent)> onEvent; // called on the serving thread
};

class PtyServer {
public:
    // Opens the terminal and loads the memory file; std::runtime_error on failure.
    explicit PtyServer(PtyServerOptions options);
    ~PtyServer();
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    // The terminal's device path, for example /dev/pts/7.
    [[nodiscard]] const std::string& path() const { return m_path; }
    // Serves until requestStop(); std::runtime_error when the terminal fails or the memory
    // cannot be dumped.
    void run();
    // Safe from another thread and from a signal handler.
    void requestStop() noexcept;
    [[nodiscard]] int connections() const { return m_connections.load(); }
    // Only while run() is not running.
    [[nodiscard]] EmulatedUnit& unit() { return m_unit; }

private:
    // Blocks until a process opens the terminal (true) or a stop is requested (false).
    [[nodiscard]] bool waitForOpen();
    // Reads the pending inotify events; true when one of them was an open.
    [[nodiscard]] bool takeOpens();
    void serveConnection();
    // Announces finished transfers and dumps the memory after each (and after a
    // connection that changed it without finishing).
    void reportProgress(bool connectionEnded);
    void notify(PtyEvent event) const;
    [[nodiscard]] bool stopRequested() const;

    PtyServerOptions m_options;
    EmulatedUnit m_unit;
    SteadyClock m_clock;
    std::string m_path;
    int m_master = -1;
    int m_notify = -1;
    int m_wakeRead = -1;
    int m_wakeWrite = -1;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_connections{0};
    int m_seenSends = 0;
    int m_seenReads = 0;
    int m_dumpedFrames = 0;
};

} // namespace rtw::sim
