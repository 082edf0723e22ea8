#include "config/Cp1252.h"
#include "config/DeviceConfig.h"
#include "rtwctl/Commands.h"
#include "rtwctl/TransferRun.h"
#include "settings/SettingsFile.h"

#include <ostream>

namespace rtw::cli {
namespace {

int cmdRead(Args& args) {
    if (const auto bad = transferUsageError(args)) {
        return *bad;
    }
    DeviceConfig config; // the defaults, for fields whose blocks do not arrive
    if (const int status = runTransfer(
            args, [&](TransferContext& context) { return btnReadClick(context, config); });
        status != kExitOk) {
        return status;
    }
    try {
        SaveSettingsFile(config, args.operand(0));
    } catch (const SettingsWriteError& e) {
        args.err() << "rtwctl read: " << utf8FromCp1252(e.what()) << '\n';
        return kExitUsage;
    }
    return kExitOk;
}

} // namespace

const CommandSpec kReadCommand{
    "read",
    "FILE",
    1,
    1,
    "read the unit's configuration into FILE",
    "Reads the unit's configuration as the window's Read does, starting from the\n"
    "defaults, and saves it into FILE as the window's Save does. FILE is written only\n"
    "when the whole memory arrived. Exit status 0 on success, 1 when the unit could not\n"
    "be reached or the transfer failed, 2 for bad usage or when FILE cannot be written.",
    transferOptions(),
    cmdRead,
};

} // namespace rtw::cli
