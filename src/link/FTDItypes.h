#pragma once
// Our own declarations of the D2XX types, written from the library's documented
// behaviour: 32-bit status and counts, the handle a pointer.
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
inline constexpr FT_STATUS FT_INVALID_PARAMETER = 6;
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

} // namespace rtw::ftdi
