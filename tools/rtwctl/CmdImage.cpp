#include "config/DeviceConfig.h"
#include "config/Validation.h"
#include "protocol/ConfigImage.h"
#include "rtwctl/Commands.h"
#include "rtwctl/Output.h"

#include <cstdio>
#include <ostream>

namespace rtw::cli {
namespace {

// "0000: 0A 31 32 ..." - the address as four hex digits, then the 16 bytes.
std::string blockLine(const ImageBlock& block) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%04X:", static_cast<unsigned>(block.address));
    std::string line = buffer;
    for (const std::uint8_t byte : block.data) {
        std::snprintf(buffer, sizeof buffer, " %02X", static_cast<unsigned>(byte));
        line += buffer;
    }
    return line;
}

int cmdImage(Args& args) {
    DeviceConfig config;
    openForCommand(args, args.operand(0), config);
    if (const auto problems = validateForSend(config); !problems.empty()) {
        printLines(args.err(), problems);
        return kExitFailure;
    }
    for (const ImageBlock& block : EncodeImage(config)) {
        args.out() << blockLine(block) << '\n';
    }
    return kExitOk;
}

} // namespace

const CommandSpec kImageCommand{
    "image",
    "FILE",
    1,
    1,
    "print the memory image FILE gives the unit",
    "Opens FILE as the window's Open does and prints the 254 blocks Send writes into the\n"
    "unit, in Send order, one line each: the address as four hex digits, \": \", then the\n"
    "16 bytes in hex. A configuration that cannot be sent prints its problems on the\n"
    "error output instead, with exit status 1. The clock block is not printed.",
    {},
    cmdImage,
};

} // namespace rtw::cli
