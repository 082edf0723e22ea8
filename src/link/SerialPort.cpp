#include "link/SerialPort.h"

#include "link/TermiosSettings.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <functional>
#include <optional>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>
#ifdef __linux__
#include <linux/serial.h>
#endif

namespace rtw::link {
namespace {

using Clock = std::chrono::steady_clock;

// Milliseconds left until the deadline, rounded up so a wait never ends just short of it.
int millisecondsUntil(Clock::time_point deadline) {
    const auto left = deadline - Clock::now();
    if (left <= Clock::duration::zero()) {
        return 0;
    }
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return ms > INT_MAX ? INT_MAX : static_cast<int>(ms);
}

// Waits until the terminal is ready for the events or reports a hang-up or an error.
// Returns the events seen, 0 when the deadline passed, or -1 when poll itself failed.
int waitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        const int wait = millisecondsUntil(deadline);
        if (wait == 0) {
            return 0;
        }
        pollfd entry{fd, events, 0};
        const int ready = ::poll(&entry, 1, wait);
        if (ready < 0 && errno != EINTR) {
            return -1;
        }
        if (ready > 0) {
            return entry.revents;
        }
    }
}

// What a wait means for the transfer: go on, time out, or give up on a dead terminal.
// A hang-up reported together with data lets the data be read first.
std::optional<SerialOutcome> judge(int revents, short wanted, bool& hungUp) {
    if (revents == 0) {
        return SerialOutcome::TimedOut;
    }
    if (revents < 0 || (revents & (POLLERR | POLLNVAL)) != 0) {
        return SerialOutcome::Failed;
    }
    if ((revents & POLLHUP) != 0) {
        if (hungUp || (revents & wanted) == 0) {
            return SerialOutcome::Failed;
        }
        hungUp = true;
    }
    return std::nullopt;
}

} // namespace

std::unique_ptr<SerialPort> SerialPort::open(const std::string& path, int& errorNumber) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        errorNumber = errno;
        return nullptr;
    }
    termios settings{};
    if (::tcgetattr(fd, &settings) != 0) {
        errorNumber = errno;
        ::close(fd);
        return nullptr;
    }
    // Another program on the same port would take the unit's bytes away from us.
    if (::ioctl(fd, TIOCEXCL) != 0) {
        errorNumber = errno;
        ::close(fd);
        return nullptr;
    }
    makeRawLine(settings);
    if (::tcsetattr(fd, TCSANOW, &settings) != 0) {
        errorNumber = errno;
        ::close(fd);
        return nullptr;
    }
    errorNumber = 0;
    return std::unique_ptr<SerialPort>(new SerialPort(fd));
}

SerialPort::~SerialPort() {
    // A pseudo-terminal outlives our close while its other end is open, and with it the
    // exclusive mode: without this, every later open but root's would find it busy.
    ::ioctl(m_fd, TIOCNXCL);
    ::close(m_fd);
}

bool SerialPort::change(const std::function<bool(termios&)>& edit) {
    termios settings{};
    return ::tcgetattr(m_fd, &settings) == 0 && edit(settings) &&
           ::tcsetattr(m_fd, TCSANOW, &settings) == 0;
}

bool SerialPort::setBaudRate(std::uint32_t baudRate) {
    const std::optional<speed_t> speed = speedOf(baudRate);
    return speed && change([&](termios& settings) {
               return ::cfsetispeed(&settings, *speed) == 0 &&
                      ::cfsetospeed(&settings, *speed) == 0;
           });
}

bool SerialPort::setDataCharacteristics(int bits, int stopBits, int parity) {
    return change(
        [&](termios& settings) { return setCharacterFormat(settings, bits, stopBits, parity); });
}

bool SerialPort::setFlow(LineFlow flow, std::uint8_t xon, std::uint8_t xoff) {
    return change([&](termios& settings) {
        setLineFlow(settings, flow, xon, xoff);
        return true;
    });
}

bool SerialPort::purge() {
    return ::tcflush(m_fd, TCIOFLUSH) == 0;
}

bool SerialPort::setLowLatency() {
#if defined(__linux__) && defined(ASYNC_LOW_LATENCY)
    serial_struct serial{};
    if (::ioctl(m_fd, TIOCGSERIAL, &serial) != 0) {
        return false;
    }
    serial.flags |= ASYNC_LOW_LATENCY;
    return ::ioctl(m_fd, TIOCSSERIAL, &serial) == 0;
#else
    return false;
#endif
}

SerialOutcome SerialPort::read(std::uint8_t* buffer, std::uint32_t n, std::uint32_t timeoutMs,
                               std::uint32_t& count) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    count = 0;
    bool hungUp = false;
    while (count < n) {
        const ssize_t got = ::read(m_fd, buffer + count, n - count);
        if (got > 0) {
            count += static_cast<std::uint32_t>(got);
            continue;
        }
        if (got < 0 && errno == EINTR) {
            continue;
        }
        // In raw mode without a minimum, "nothing yet" is a read of 0 or EAGAIN.
        if (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            return SerialOutcome::Failed;
        }
        if (const auto outcome = judge(waitFor(m_fd, POLLIN, deadline), POLLIN, hungUp)) {
            return *outcome;
        }
    }
    return SerialOutcome::Done;
}

SerialOutcome SerialPort::write(const std::uint8_t* buffer, std::uint32_t n,
                                std::uint32_t timeoutMs, std::uint32_t& count) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    count = 0;
    bool hungUp = false;
    while (count < n) {
        const ssize_t put = ::write(m_fd, buffer + count, n - count);
        if (put > 0) {
            count += static_cast<std::uint32_t>(put);
            continue;
        }
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            return SerialOutcome::Failed;
        }
        if (const auto outcome = judge(waitFor(m_fd, POLLOUT, deadline), POLLOUT, hungUp)) {
            return *outcome;
        }
    }
    return SerialOutcome::Done;
}

} // namespace rtw::link
