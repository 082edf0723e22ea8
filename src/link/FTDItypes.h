#pragma once
// Our own declarations of the D2XX types, written from the library's documented
// behaviour: 32-bit status and counts, the handle a pointer.
#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define RTW_FTAPI __stdcall
#else
#define RTW_FTAPI
#endif

namespace rtw::ftdi {

using FT_HANDLE = void*;
using FT_STATUS = std::uint32_t;

inline constexpr FT_STATUS FT_OK = 0;
inline constexpr FT_STATUS FT_INVALID_HANDLE = 1;
inline constexpr FT_STATUS FT_DEVICE_NOT_FOUND = 2;
inline constexpr FT_STATUS FT_DEVICE_NOT_OPENED = 3;
inline constexpr FT_STATUS FT_IO_ERROR = 4;
inline constexpr FT_STATUS FT_INSUFFICIENT_RESOURCES = 5;
inline constexpr FT_STATUS FT_INVALID_PARAMETER = 6;
inline constexpr FT_STATUS FT_INVALID_BAUD_RATE = 7;
inline constexpr FT_STATUS FT_INVALID_ARGS = 16;
inline constexpr FT_STATUS FT_NOT_SUPPORTED = 17;
inline constexpr FT_STATUS FT_OTHER_ERROR = 18;

inline constexpr std::uint32_t FT_OPEN_BY_SERIAL_NUMBER = 1;
inline constexpr std::uint32_t FT_OPEN_BY_DESCRIPTION = 2;
inline constexpr std::uint32_t FT_OPEN_BY_LOCATION = 4;

// Chip families as the library reports them.
inline constexpr std::uint32_t FT_DEVICE_BM = 0;
inline constexpr std::uint32_t FT_DEVICE_AM = 1;
inline constexpr std::uint32_t FT_DEVICE_100AX = 2;
inline constexpr std::uint32_t FT_DEVICE_UNKNOWN = 3;
inline constexpr std::uint32_t FT_DEVICE_2232C = 4;
inline constexpr std::uint32_t FT_DEVICE_232R = 5;
inline constexpr std::uint32_t FT_DEVICE_2232H = 6;
inline constexpr std::uint32_t FT_DEVICE_4232H = 7;
inline constexpr std::uint32_t FT_DEVICE_232H = 8;
inline constexpr std::uint32_t FT_DEVICE_X_SERIES = 9;

// Line values as the library takes them.
inline constexpr std::uint8_t FT_BITS_8 = 8;
inline constexpr std::uint8_t FT_BITS_7 = 7;
inline constexpr std::uint8_t FT_STOP_BITS_1 = 0;
inline constexpr std::uint8_t FT_STOP_BITS_2 = 2;
inline constexpr std::uint8_t FT_PARITY_NONE = 0;
inline constexpr std::uint8_t FT_PARITY_ODD = 1;
inline constexpr std::uint8_t FT_PARITY_EVEN = 2;
inline constexpr std::uint8_t FT_PARITY_MARK = 3;
inline constexpr std::uint8_t FT_PARITY_SPACE = 4;
inline constexpr std::uint16_t FT_FLOW_NONE = 0x0000;
inline constexpr std::uint16_t FT_FLOW_RTS_CTS = 0x0100;
inline constexpr std::uint16_t FT_FLOW_DTR_DSR = 0x0200;
inline constexpr std::uint16_t FT_FLOW_XON_XOFF = 0x0400;

// Sizes of the texts FT_GetDeviceInfo writes, terminator included.
inline constexpr std::size_t kSerialNumberCapacity = 16;
inline constexpr std::size_t kDescriptionCapacity = 64;

// The USB identity of the unit's chip: FTDI's vendor ID and the FT232R's product ID.
inline constexpr std::uint16_t kFtdiVendorId = 0x0403;
inline constexpr std::uint16_t kFt232rProductId = 0x6001;
inline constexpr std::uint32_t kFt232rDeviceId =
    (std::uint32_t{kFtdiVendorId} << 16) | kFt232rProductId;

} // namespace rtw::ftdi
