#pragma once
// The checks a backend makes of a call's arguments before it touches a device, in the
// library's own values. One set for every backend, so they all refuse the same calls
// (with FT_INVALID_PARAMETER).
#include "link/FTDItypes.h"
#include "wire/ProtocolConstants.h"

#include <cstdint>

namespace rtw::link {

// FT_OpenEx: a text to open by and somewhere to put the handle.
[[nodiscard]] constexpr bool isOpenRequest(const void* arg, const ftdi::FT_HANDLE* handle) {
    return arg != nullptr && handle != nullptr;
}

// FT_SetDataCharacteristics: 7 or 8 data bits, one or two stop bits, parity none to space.
[[nodiscard]] constexpr bool isLineFormat(std::uint8_t wordLength, std::uint8_t stopBits,
                                          std::uint8_t parity) {
    return (wordLength == ftdi::FT_BITS_8 || wordLength == ftdi::FT_BITS_7) &&
           (stopBits == ftdi::FT_STOP_BITS_1 || stopBits == ftdi::FT_STOP_BITS_2) &&
           parity <= ftdi::FT_PARITY_SPACE;
}

// The line the unit speaks: its baud rate, 8 data bits, one stop bit, no parity.
[[nodiscard]] constexpr bool isUnitLine(std::uint32_t baudRate, std::uint8_t wordLength,
                                        std::uint8_t stopBits, std::uint8_t parity) {
    return baudRate == static_cast<std::uint32_t>(wire::kBaudRate) &&
           wordLength == ftdi::FT_BITS_8 && stopBits == ftdi::FT_STOP_BITS_1 &&
           parity == ftdi::FT_PARITY_NONE;
}

// FT_Read and FT_Write: a count to report into, and a buffer unless no byte is moved.
[[nodiscard]] constexpr bool isTransfer(const void* buffer, std::uint32_t bytes,
                                        const std::uint32_t* count) {
    return count != nullptr && (buffer != nullptr || bytes == 0);
}

} // namespace rtw::link
