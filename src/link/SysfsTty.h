#pragma once
// What Linux's sysfs tells about a serial terminal: the USB device above it (vendor,
// product, release number and strings) and the USB serial driver's latency timer. The
// root is a parameter so tests can lay out a tree of their own.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace rtw::link {

struct UsbTtyInfo {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t bcdDevice = 0; // the chip's release number, which tells the FTDI family
    std::string product;         // the USB description
    std::string serialNumber;
};

// The USB device of a terminal (by its name, e.g. "ttyUSB0"), or none when the terminal
// is not on USB or sysfs does not know it (pseudo-terminals).
[[nodiscard]] std::optional<UsbTtyInfo> usbInfoOfTty(const std::filesystem::path& sysRoot,
                                                     const std::string& ttyName);

// The terminal's name in sysfs (e.g. "ttyUSB0") of a device node under any name (a
// /dev/serial/by-id link, say), by its device number; none when sysfs does not list it.
[[nodiscard]] std::optional<std::string> ttyNameOfNode(const std::filesystem::path& sysRoot,
                                                       const std::filesystem::path& node);

// The names of the terminals that have a device behind them, sorted.
[[nodiscard]] std::vector<std::string> ttyNamesWithDevice(const std::filesystem::path& sysRoot);

// The library's chip family of a USB device; not FTDI's or not known gives "unknown".
[[nodiscard]] std::uint32_t deviceTypeOfUsb(const UsbTtyInfo& info);

// Writes the USB serial driver's latency_timer attribute; false where it is missing or not
// writable for us.
[[nodiscard]] bool writeSysfsLatency(const std::filesystem::path& sysRoot,
                                     const std::string& ttyName, std::uint8_t milliseconds);

} // namespace rtw::link
