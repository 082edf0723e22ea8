#include "config/DeviceConfig.h"
#include "config/Validation.h"
#include "rtwctl/Commands.h"
#include "rtwctl/Output.h"

namespace rtw::cli {
namespace {

int cmdCheck(Args& args) {
    DeviceConfig config;
    openForCommand(args, args.operand(0), config);
    const auto problems = validateForSend(config);
    printLines(args.out(), problems);
    return problems.empty() ? kExitOk : kExitFailure;
}

} // namespace

const CommandSpec kCheckCommand{
    "check",
    "FILE",
    1,
    1,
    "check that FILE can be sent to the unit",
    "Opens FILE as the window's Open does and checks it as Send will. Prints each problem\n"
    "on a line of its own, naming the field as the window shows it. Exit status 0 when\n"
    "there is none, 1 otherwise.",
    {},
    cmdCheck,
};

} // namespace rtw::cli
