#pragma once
// The stand-in for the chip maker's library: a small shared library built from our own
// declarations that exports the library's calls with C linkage and plays one loopback
// chip. These extra exports let a test steer it and read what it was asked.
#include <cstdint>

extern "C" {
// Forgets every call, empties both directions, closes the chip.
typedef void (*StandinResetFn)();
// Queues bytes the chip will deliver to the PC.
typedef void (*StandinDeliverFn)(const std::uint8_t* bytes, std::uint32_t count);
// Takes up to count of the bytes the PC wrote; returns how many.
typedef std::uint32_t (*StandinTakeFn)(std::uint8_t* bytes, std::uint32_t count);
// The calls so far, one per line.
typedef const char* (*StandinCallsFn)();
// The chip family FT_GetDeviceInfo reports.
typedef void (*StandinSetTypeFn)(std::uint32_t type);
}
