#pragma once
// The emulated unit as the programmer and rtwctl attach it: a unit of its own on the
// machine's steady clock, paced as asked, behind the D2XX-shaped seam. The unit and its
// memory live as long as the backend, so every open of one run meets the same unit and a
// Read gives back what a Send wrote.
#include "link/FTDIdll.h"
#include "sim/LinkModel.h"

#include <memory>

namespace rtw::sim {

[[nodiscard]] std::unique_ptr<ftdi::D2xxApi> makeEmulatedLink(Pacing pacing);

} // namespace rtw::sim
