#pragma once
// The USB serial port: a thin, synchronous wrapper over the D2XX-shaped seam. Every
// operation with a Boolean result is true exactly when its library call returned FT_OK.
#include "link/FTDIdll.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace rtw {

enum class BaudRateCode : std::uint8_t {}; // 0..13: 300 .. 921600
enum class WordLength : std::uint8_t {};   // 0: 8 bits, 1: 7 bits
enum class StopBits : std::uint8_t {};     // 0: one, 1: two
enum class Parity : std::uint8_t {};       // 0 none, 1 odd, 2 even, 3 mark, 4 space
enum class FlowControl : std::uint8_t {};  // 0 none, 1 RTS/CTS, 2 DTR/DSR, 3 XON/XOFF
enum class DeviceType : std::uint8_t {};   // 0 BM, 1 AM, 2 100AX, 3 unknown, 4 2232C, 5 232R

inline constexpr BaudRateCode kBaud9600{5};
inline constexpr WordLength kEightDataBits{0};
inline constexpr StopBits kOneStopBit{0};
inline constexpr Parity kNoParity{0};
inline constexpr FlowControl kNoFlowControl{0};
inline constexpr DeviceType kDevice232R{5};

class tftdichip {
public:
    // A closed port over the given library; no library call.
    explicit tftdichip(ftdi::D2xxApi& library);
    // Releasing an open port does not close the device: the owner closes it first.
    ~tftdichip() = default;
    tftdichip(const tftdichip&) = delete;
    tftdichip& operator=(const tftdichip&) = delete;

    [[nodiscard]] bool isDevicePresent(std::string_view description);
    [[nodiscard]] bool openDeviceByDescription(std::string_view description);
    void closeDevice();
    [[nodiscard]] bool setBaudRate(BaudRateCode code);
    [[nodiscard]] bool setDataCharacteristics(WordLength wordLength, StopBits stopBits,
                                              Parity parity);
    [[nodiscard]] bool setFlowControl(FlowControl flowControl, std::uint8_t xon, std::uint8_t xoff);
    [[nodiscard]] bool setTimeouts(std::uint32_t readTimeoutMs, std::uint32_t writeTimeoutMs);
    [[nodiscard]] bool resetDevice();
    [[nodiscard]] bool setLatencyTimer(std::uint8_t milliseconds);
    // Returns once n bytes have arrived or the read time-out ran out; count tells how many
    // were placed at the start of the buffer, the rest stays as the caller filled it.
    bool read(std::uint8_t* buffer, std::uint32_t n, std::uint32_t& count);
    bool write(const std::uint8_t* buffer, std::uint32_t n, std::uint32_t& count);
    [[nodiscard]] bool getDeviceInfo(DeviceType& type, std::uint16_t& productId,
                                     std::uint16_t& vendorId, std::string& serialNumber,
                                     std::string& description);

    [[nodiscard]] bool isOpen() const { return m_open; }
    [[nodiscard]] ftdi::FT_HANDLE handle() const { return m_handle; }

private:
    ftdi::D2xxApi& m_library;
    ftdi::FT_HANDLE m_handle = nullptr; // meaningful only while open
    bool m_open = false;
};

} // namespace rtw
