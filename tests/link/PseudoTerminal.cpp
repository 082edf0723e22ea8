#include "PseudoTerminal.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <stdexcept>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace rtw::test {

PseudoTerminal::PseudoTerminal() {
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        throw std::runtime_error("no pseudo-terminal");
    }
    std::array<char, 128> name{};
    if (::ptsname_r(m_master, name.data(), name.size()) != 0) {
        throw std::runtime_error("no pseudo-terminal name");
    }
    m_slavePath = name.data();
}

PseudoTerminal::~PseudoTerminal() {
    hangUp();
}

void PseudoTerminal::send(std::string_view bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t put = ::write(m_master, bytes.data() + sent, bytes.size() - sent);
        if (put < 0 && errno != EINTR) {
            throw std::runtime_error("pseudo-terminal write failed");
        }
        sent += put > 0 ? static_cast<std::size_t>(put) : 0;
    }
}

void PseudoTerminal::send(const std::vector<std::uint8_t>& bytes) {
    send(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::vector<std::uint8_t> PseudoTerminal::receive(std::size_t max, int waitMs) {
    std::vector<std::uint8_t> bytes;
    int wait = waitMs;
    while (bytes.size() < max) {
        pollfd entry{m_master, POLLIN, 0};
        if (::poll(&entry, 1, wait) <= 0 || (entry.revents & POLLIN) == 0) {
            break;
        }
        std::array<std::uint8_t, 4096> chunk{};
        const ssize_t got =
            ::read(m_master, chunk.data(), std::min(chunk.size(), max - bytes.size()));
        if (got <= 0) {
            break;
        }
        bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + got);
        wait = 5;
    }
    return bytes;
}

void PseudoTerminal::hangUp() {
    if (m_master >= 0) {
        ::close(m_master);
        m_master = -1;
    }
}

} // namespace rtw::test
