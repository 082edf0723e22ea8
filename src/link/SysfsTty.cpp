#include "link/SysfsTty.h"

#include "link/FTDItypes.h"

#include <algorithm>
#include <charconv>
#include <fstream>

#include <sys/stat.h>
#include <sys/types.h>
#ifdef __linux__
#include <sys/sysmacros.h>
#endif

namespace rtw::link {
namespace fs = std::filesystem;

namespace {

std::optional<std::string> readAttribute(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    if (!in || !std::getline(in, line)) {
        return std::nullopt;
    }
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' ')) {
        line.pop_back();
    }
    return line;
}

std::optional<std::uint16_t> readHex(const fs::path& file) {
    const std::optional<std::string> text = readAttribute(file);
    if (!text || text->empty()) {
        return std::nullopt;
    }
    std::uint16_t value = 0;
    const char* end = text->data() + text->size();
    const auto [stop, error] = std::from_chars(text->data(), end, value, 16);
    if (error != std::errc{} || stop != end) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<UsbTtyInfo> usbInfoOfTty(const fs::path& sysRoot, const std::string& ttyName) {
    std::error_code error;
    const fs::path root = fs::canonical(sysRoot, error);
    if (error || ttyName.empty() || ttyName.find('/') != std::string::npos) {
        return std::nullopt;
    }
    fs::path device = fs::canonical(sysRoot / "class" / "tty" / ttyName / "device", error);
    if (error) {
        return std::nullopt;
    }
    // The USB device is the nearest ancestor with USB IDs: above the interface and the
    // serial port the driver made.
    for (; device != root && device.has_relative_path(); device = device.parent_path()) {
        if (!fs::exists(device / "idVendor", error)) {
            continue;
        }
        const auto vendorId = readHex(device / "idVendor");
        const auto productId = readHex(device / "idProduct");
        if (!vendorId || !productId) {
            return std::nullopt;
        }
        UsbTtyInfo info;
        info.vendorId = *vendorId;
        info.productId = *productId;
        info.bcdDevice = readHex(device / "bcdDevice").value_or(0);
        info.product = readAttribute(device / "product").value_or("");
        info.serialNumber = readAttribute(device / "serial").value_or("");
        return info;
    }
    return std::nullopt;
}

std::optional<std::string> ttyNameOfNode(const fs::path& sysRoot, const fs::path& node) {
    struct stat status {};
    if (::stat(node.c_str(), &status) != 0 || !S_ISCHR(status.st_mode)) {
        return std::nullopt;
    }
    const std::string number =
        std::to_string(major(status.st_rdev)) + ":" + std::to_string(minor(status.st_rdev));
    std::error_code error;
    const fs::path classDevice = fs::canonical(sysRoot / "dev" / "char" / number, error);
    if (error) {
        return std::nullopt;
    }
    return classDevice.filename().string();
}

std::vector<std::string> ttyNamesWithDevice(const fs::path& sysRoot) {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(sysRoot / "class" / "tty", error), end; !error && it != end;
         it.increment(error)) {
        if (fs::exists(it->path() / "device", error)) {
            names.push_back(it->path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::uint32_t deviceTypeOfUsb(const UsbTtyInfo& info) {
    if (info.vendorId != ftdi::kFtdiVendorId) {
        return ftdi::FT_DEVICE_UNKNOWN;
    }
    // FTDI marks each chip family by the release number of its USB device.
    switch (info.bcdDevice) {
    case 0x0200:
        return ftdi::FT_DEVICE_AM;
    case 0x0400:
        return ftdi::FT_DEVICE_BM;
    case 0x0500:
        return ftdi::FT_DEVICE_2232C;
    case 0x0600:
        return ftdi::FT_DEVICE_232R;
    case 0x0700:
        return ftdi::FT_DEVICE_2232H;
    case 0x0800:
        return ftdi::FT_DEVICE_4232H;
    case 0x0900:
        return ftdi::FT_DEVICE_232H;
    case 0x1000:
        return ftdi::FT_DEVICE_X_SERIES;
    default:
        return ftdi::FT_DEVICE_UNKNOWN;
    }
}

bool writeSysfsLatency(const fs::path& sysRoot, const std::string& ttyName,
                       std::uint8_t milliseconds) {
    if (ttyName.empty() || ttyName.find('/') != std::string::npos) {
        return false;
    }
    const fs::path file = sysRoot / "bus" / "usb-serial" / "devices" / ttyName / "latency_timer";
    std::error_code error;
    if (!fs::exists(file, error)) {
        return false;
    }
    std::ofstream out(file);
    out << static_cast<unsigned>(milliseconds) << '\n';
    out.flush();
    return static_cast<bool>(out);
}

} // namespace rtw::link
