// rtwctl, the command-line companion of the programmer.
#include "rtwctl/Args.h"
#include "rtwctl/Commands.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

// One line per command.
const rtw::cli::CommandSpec* const kCommands[] = {
    &rtw::cli::kNewCommand,  &rtw::cli::kCheckCommand, &rtw::cli::kImageCommand,
    &rtw::cli::kSendCommand, &rtw::cli::kReadCommand,  &rtw::cli::kSimCommand,
};

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const int status = rtw::cli::runTool(kCommands, args, std::cout, std::cerr);
    std::cout.flush();
    return std::cout.good() ? status : rtw::cli::kExitFailure;
}
