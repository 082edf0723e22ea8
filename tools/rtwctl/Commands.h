#pragma once
// The commands of rtwctl. Each lives in a file of its own (Cmd<Name>.cpp) and is one line of
// the table in main.cpp.
#include "rtwctl/Args.h"

namespace rtw::cli {

extern const CommandSpec kNewCommand;
extern const CommandSpec kCheckCommand;
extern const CommandSpec kImageCommand;
extern const CommandSpec kSendCommand;
extern const CommandSpec kReadCommand;
extern const CommandSpec kSimCommand;

} // namespace rtw::cli
