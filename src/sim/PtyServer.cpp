#include "sim/PtyServer.h"

#include "sim/LinkModel.h"
#include "sim/MemoryFile.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/inotify.h>
#include <termios.h>
#include <unistd.h>

namespace rtw::sim {
namespace {

constexpr std::size_t kReadChunk = 256;
constexpr std::size_t kEventBuffer = 4096;
constexpr std::size_t kPathBuffer = 128;

[[noreturn]] void fail(const std::string& what) {
    throw std::runtime_error("Pseudo-Terminal: " + what + ": " + std::strerror(errno));
}

void closeIfOpen(int& fd) {
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

[[nodiscard]] timespec toTimespec(Nanos wait) {
    const auto count = std::max<Nanos::rep>(0, wait.count());
    return timespec{static_cast<time_t>(count / 1'000'000'000),
                    static_cast<long>(count % 1'000'000'000)};
}

} // namespace

PtyServer::PtyServer(PtyServerOptions options) : m_options(std::move(options)) {
    m_unit.setFaults(m_options.faults);
    m_unit.setGreetingDelay(m_options.greetingDelay);
    if (!m_options.memoryFile.empty()) {
        m_unit.loadMemory(readMemoryFile(m_options.memoryFile));
    }
    try {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (m_master < 0) {
            fail("posix_openpt");
        }
        if (::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
            fail("grantpt/unlockpt");
        }
        std::array<char, kPathBuffer> name{};
        if (::ptsname_r(m_master, name.data(), name.size()) != 0) {
            fail("ptsname_r");
        }
        m_path = name.data();
        // Raw both ways: the line discipline must neither echo nor translate the bytes.
        termios raw{};
        if (::tcgetattr(m_master, &raw) != 0) {
            fail("tcgetattr");
        }
        ::cfmakeraw(&raw);
        if (::tcsetattr(m_master, TCSANOW, &raw) != 0) {
            fail("tcsetattr");
        }
        m_notify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (m_notify < 0 || ::inotify_add_watch(m_notify, m_path.c_str(), IN_OPEN) < 0) {
            fail("inotify " + m_path);
        }
        std::array<int, 2> wake{};
        if (::pipe2(wake.data(), O_CLOEXEC | O_NONBLOCK) != 0) {
            fail("pipe2");
        }
        m_wakeRead = wake[0];
        m_wakeWrite = wake[1];
    } catch (...) {
        closeIfOpen(m_master);
        closeIfOpen(m_notify);
        closeIfOpen(m_wakeRead);
        closeIfOpen(m_wakeWrite);
        throw;
    }
}

PtyServer::~PtyServer() {
    closeIfOpen(m_master);
    closeIfOpen(m_notify);
    closeIfOpen(m_wakeRead);
    closeIfOpen(m_wakeWrite);
}

void PtyServer::requestStop() noexcept {
    m_stop.store(true);
    const char wake = 1;
    [[maybe_unused]] const auto ignored = ::write(m_wakeWrite, &wake, 1);
}

bool PtyServer::stopRequested() const {
    return m_stop.load();
}

void PtyServer::notify(PtyEvent event) const {
    if (m_options.onEvent) {
        m_options.onEvent(event);
    }
}

void PtyServer::run() {
    while (waitForOpen()) {
        serveConnection();
    }
}

bool PtyServer::waitForOpen() {
    for (;;) {
        if (stopRequested()) {
            return false;
        }
        std::array<pollfd, 2> fds{{{m_notify, POLLIN, 0}, {m_wakeRead, POLLIN, 0}}};
        if (::poll(fds.data(), fds.size(), -1) < 0 && errno != EINTR) {
            fail("poll");
        }
        if ((fds[0].revents & POLLIN) != 0 && takeOpens()) {
            return !stopRequested();
        }
    }
}

bool PtyServer::takeOpens() {
    alignas(inotify_event) std::array<char, kEventBuffer> buffer{};
    bool opened = false;
    for (;;) {
        const auto count = ::read(m_notify, buffer.data(), buffer.size());
        if (count <= 0) {
            return opened;
        }
        for (std::size_t at = 0; at < static_cast<std::size_t>(count);) {
            inotify_event event{};
            std::memcpy(&event, buffer.data() + at, sizeof event);
            opened = opened || (event.mask & IN_OPEN) != 0;
            at += sizeof event + event.len;
        }
    }
}

void PtyServer::serveConnection() {
    LinkModel link(m_unit, m_options.paced ? Pacing::Paced : Pacing::Instant);
    const auto now = [this] { return std::chrono::duration_cast<Nanos>(m_clock.now()); };
    const auto start = [&] {
        const Nanos opened = now();
        link.setLatencyTimer(opened, m_options.latencyTimer);
        link.open(opened);
        ++m_connections;
        notify(PtyEvent::Connected);
    };
    const auto finish = [&] {
        link.close();
        // What the last client left unread must not greet the next one.
        ::tcflush(m_master, TCIOFLUSH);
        notify(PtyEvent::Disconnected);
        reportProgress(true);
    };
    start();

    std::vector<std::uint8_t> outgoing;
    std::array<std::uint8_t, kReadChunk> incoming{};
    bool hungUp = false;
    while (!hungUp && !stopRequested()) {
        link.advanceTo(now());
        if (const auto count = link.available(); count > 0) {
            const auto old = outgoing.size();
            outgoing.resize(old + count);
            (void)link.take({outgoing.data() + old, count});
        }
        if (!outgoing.empty()) {
            const auto written = ::write(m_master, outgoing.data(), outgoing.size());
            if (written > 0) {
                outgoing.erase(outgoing.begin(), outgoing.begin() + written);
            } else if (written < 0 && errno != EAGAIN && errno != EINTR) {
                hungUp = true;
                break;
            }
        }
        reportProgress(false);

        std::array<pollfd, 3> fds{
            {{m_master, static_cast<short>(POLLIN | (outgoing.empty() ? 0 : POLLOUT)), 0},
             {m_wakeRead, POLLIN, 0},
             {m_notify, POLLIN, 0}}};
        timespec wait{};
        const timespec* timeout = nullptr;
        if (const auto next = link.nextEvent()) {
            wait = toTimespec(*next - now());
            timeout = &wait;
        }
        if (::ppoll(fds.data(), fds.size(), timeout, nullptr) < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail("ppoll");
        }
        if ((fds[1].revents & POLLIN) != 0) {
            break;
        }
        if ((fds[2].revents & POLLIN) != 0 && takeOpens()) {
            // Another open while one is held (or a close and reopen too quick to see):
            // the newcomer expects its own greeting, as after opening a real port.
            outgoing.clear();
            finish();
            start();
            continue;
        }
        if ((fds[0].revents & POLLIN) != 0) {
            for (;;) {
                const auto count = ::read(m_master, incoming.data(), incoming.size());
                if (count > 0) {
                    const Nanos at = now();
                    link.advanceTo(at);
                    link.write(at, {incoming.data(), static_cast<std::size_t>(count)});
                    continue;
                }
                // EIO: the last process holding the terminal closed it.
                hungUp = count == 0 || (errno != EAGAIN && errno != EINTR);
                break;
            }
        } else if ((fds[0].revents & (POLLHUP | POLLERR)) != 0) {
            hungUp = true;
        }
    }
    finish();
}

void PtyServer::reportProgress(bool connectionEnded) {
    const UnitStats& stats = m_unit.stats();
    const bool sent = stats.sendsCompleted != m_seenSends;
    const bool read = stats.readsCompleted != m_seenReads;
    m_seenSends = stats.sendsCompleted;
    m_seenReads = stats.readsCompleted;
    if (sent) {
        notify(PtyEvent::SendCompleted);
    }
    if (read) {
        notify(PtyEvent::ReadCompleted);
    }
    const bool unsaved = stats.framesReceived != m_dumpedFrames;
    if (m_options.dumpFile.empty() || !(sent || read || (connectionEnded && unsaved))) {
        return;
    }
    writeMemoryFile(m_options.dumpFile, m_unit.image().memory());
    m_dumpedFrames = stats.framesReceived;
    notify(PtyEvent::MemoryDumped);
}

} // namespace rtw::sim
