#include "config/DeviceConfig.h"
#include "rtwctl/Commands.h"
#include "rtwctl/TransferRun.h"
#include "settings/FileAccess.h"
#include "settings/SettingsFile.h"

#include <optional>
#include <ostream>
#include <string_view>

namespace rtw::cli {
namespace {

// Send has nothing to send from a file it cannot read, unlike the window's Open, which
// opens such a file as an empty one.
std::optional<std::string_view> unreadable(ini::FileState state) {
    switch (state) {
    case ini::FileState::Read:
        return std::nullopt;
    case ini::FileState::Missing:
        return "does not exist";
    case ini::FileState::TooLarge:
        return "is too large for a settings file";
    case ini::FileState::Unreadable:
        break;
    }
    return "cannot be read";
}

int cmdSend(Args& args) {
    if (const auto bad = transferUsageError(args)) {
        return *bad;
    }
    const std::string& file = args.operand(0);
    if (const auto why = unreadable(ini::readFileBounded(file).state)) {
        args.err() << "rtwctl send: " << file << ' ' << *why << '\n';
        return kExitUsage;
    }
    DeviceConfig config;
    OpenSettingsFile(config, file);
    return runTransfer(args,
                       [&](TransferContext& context) { return btnSendClick(context, config); });
}

} // namespace

const CommandSpec kSendCommand{
    "send",
    "FILE",
    1,
    1,
    "send the configuration in FILE to the unit",
    "Opens FILE as the window's Open does and sends it to the unit as the window's Send\n"
    "does: the greeting, the handshake, all 254 blocks and the clock. The dialog's texts\n"
    "and gauge show as a progress line on a terminal; Ctrl+C cancels while the unit is\n"
    "awaited. Exit status 0 when the unit took the whole configuration, 1 when it could\n"
    "not be reached or the transfer failed, 2 for bad usage or an unreadable FILE.",
    transferOptions(),
    cmdSend,
};

} // namespace rtw::cli
