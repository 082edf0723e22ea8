#pragma once
// What `send` and `read` share: their options, the way to the unit (found, named or
// emulated), the optional trace, and the dialog and window on the terminal.
#include "config/DeviceConfig.h"
#include "protocol/Transfers.h"
#include "rtwctl/Args.h"

#include <functional>
#include <optional>
#include <span>

namespace rtw::cli {

// --port, --simulate, --trace, --quiet.
[[nodiscard]] std::span<const OptionSpec> transferOptions();

// The exit status for options that do not go together; none when they do.
[[nodiscard]] std::optional<int> transferUsageError(const Args& args);

using Transfer = std::function<TransferResult(TransferContext&)>;

// Runs one transfer as the options say. Returns an exit status for the unit's part: 0 when
// the transfer ended Done, 1 when the unit could not be reached or the transfer failed,
// 2 for a trace file that cannot be written.
[[nodiscard]] int runTransfer(const Args& args, const Transfer& transfer);

} // namespace rtw::cli
