#include "link/Backends.h"

#include "link/AutoBackend.h"
#include "link/LibFtdi.h"
#include "link/VendorLibrary.h"

#ifndef _WIN32
#include "link/PosixSerial.h"
#endif

#include <vector>

namespace rtw {

std::unique_ptr<ftdi::D2xxApi> chooseBackend(const LinkOptions& options) {
    if (options.emulatedUnit) {
        return options.emulatedUnit();
    }
#ifndef _WIN32
    if (!options.serialPath.empty()) {
        link::SerialOptions serial;
        serial.devicePath = options.serialPath;
        return std::make_unique<link::PosixSerial>(serial);
    }
#endif
    std::vector<link::BackendFactory> ways;
    ways.emplace_back(
        []() -> std::unique_ptr<ftdi::D2xxApi> { return link::VendorLibrary::load(); });
    ways.emplace_back(
        []() -> std::unique_ptr<ftdi::D2xxApi> { return std::make_unique<link::LibFtdi>(); });
#ifndef _WIN32
    ways.emplace_back(
        []() -> std::unique_ptr<ftdi::D2xxApi> { return std::make_unique<link::PosixSerial>(); });
#endif
    return std::make_unique<link::AutoBackend>(std::move(ways));
}

} // namespace rtw
