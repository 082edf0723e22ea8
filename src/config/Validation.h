#pragma once
// What must hold before a configuration is encoded for the unit.
#include "config/DeviceConfig.h"

#include <string>
#include <vector>

namespace rtw {

// Every problem that keeps the configuration from being sent, one German line each
// (CP1252), naming the field as the window shows it. Empty when it can be sent: then each
// phone entry and DTMF code holds at most 14 bytes, each SMS text at most 127, and each
// number is a whole decimal number inside its field's range.
[[nodiscard]] std::vector<std::string> validateForSend(const DeviceConfig& config);

} // namespace rtw
