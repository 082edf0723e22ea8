#pragma once
// Helpers the commands share for what they print.
#include "config/DeviceConfig.h"

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace rtw::cli {

class Args;

// Texts of the core are CP1252; the terminal speaks UTF-8.
void printLine(std::ostream& out, std::string_view cp1252);
void printLines(std::ostream& out, const std::vector<std::string>& cp1252Lines);

// Opens FILE as the window's Open does. A file that cannot be read opens as an empty one;
// a note on the error output says so, since every field then reads as empty.
void openForCommand(const Args& args, const std::string& file, DeviceConfig& config);

} // namespace rtw::cli
