#pragma once
#include "config/DeviceConfig.h"

namespace rtw {

// Restores every default, in the window's order; asks and reports nothing.
void clearConfiguration(DeviceConfig& config);

} // namespace rtw
