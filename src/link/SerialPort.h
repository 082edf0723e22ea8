#pragma once
// One open POSIX serial terminal in raw mode (a USB serial adapter, a real UART or a
// pseudo-terminal), with reads and writes bounded by a total time, not by gaps between
// bytes as termios would bound them.
#include "link/TermiosSettings.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace rtw::link {

enum class SerialOutcome { Done, TimedOut, Failed };

class SerialPort {
public:
    // Raw mode, 9600 baud, 8N1, no flow control, not the controlling terminal, exclusive
    // against further opens. Null when the path cannot be opened as a terminal; errorNumber
    // then tells why.
    [[nodiscard]] static std::unique_ptr<SerialPort> open(const std::string& path,
                                                          int& errorNumber);
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // False for a rate termios has no constant for.
    [[nodiscard]] bool setBaudRate(std::uint32_t baudRate);
    // Bits 7 or 8, stop bits 1 or 2, parity 0 none, 1 odd, 2 even, 3 mark, 4 space.
    [[nodiscard]] bool setDataCharacteristics(int bits, int stopBits, int parity);
    [[nodiscard]] bool setFlow(LineFlow flow, std::uint8_t xon = 0, std::uint8_t xoff = 0);
    // Drops whatever waits in either direction.
    [[nodiscard]] bool purge();
    // The driver's low-latency mode; false where the terminal has none or refuses.
    [[nodiscard]] bool setLowLatency();

    // Until n bytes have arrived or timeoutMs has run out; count says how many were placed.
    [[nodiscard]] SerialOutcome read(std::uint8_t* buffer, std::uint32_t n, std::uint32_t timeoutMs,
                                     std::uint32_t& count);
    [[nodiscard]] SerialOutcome write(const std::uint8_t* buffer, std::uint32_t n,
                                      std::uint32_t timeoutMs, std::uint32_t& count);

private:
    explicit SerialPort(int fd) : m_fd(fd) {}
    bool change(const std::function<bool(termios&)>& edit);
    int m_fd;
};

} // namespace rtw::link
