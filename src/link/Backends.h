#pragma once
// The one place that decides how the programmer reaches the unit.
#include "link/FTDIdll.h"

#include <functional>
#include <memory>
#include <string>

namespace rtw {

struct LinkOptions {
    std::string serialPath; // empty: find the unit automatically
    // Set by a caller that offers the emulated unit (it lives above this library); when
    // set it wins over everything else.
    std::function<std::unique_ptr<ftdi::D2xxApi>()> emulatedUnit;
};

// A named serial terminal when one is given. Otherwise the first way that opens the unit:
// the chip maker's library if it is installed, then libftdi1, then the kernel driver's
// terminal. When none can even look (no USB permission), opening simply fails.
[[nodiscard]] std::unique_ptr<ftdi::D2xxApi> chooseBackend(const LinkOptions& options);

} // namespace rtw
