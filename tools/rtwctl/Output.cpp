#include "rtwctl/Output.h"

#include "config/Cp1252.h"
#include "rtwctl/Args.h"
#include "settings/FileAccess.h"
#include "settings/SettingsFile.h"

#include <ostream>

namespace rtw::cli {

void printLine(std::ostream& out, std::string_view cp1252) {
    out << utf8FromCp1252(cp1252) << '\n';
}

void printLines(std::ostream& out, const std::vector<std::string>& cp1252Lines) {
    for (const std::string& line : cp1252Lines) {
        printLine(out, line);
    }
}

void openForCommand(const Args& args, const std::string& file, DeviceConfig& config) {
    switch (ini::readFileBounded(file).state) {
    case ini::FileState::Missing:
        args.err() << "rtwctl " << args.command().name << ": note: " << file
                   << " does not exist; it opens as an empty file\n";
        break;
    case ini::FileState::Unreadable:
        args.err() << "rtwctl " << args.command().name << ": note: " << file
                   << " cannot be read; it opens as an empty file\n";
        break;
    case ini::FileState::TooLarge:
        args.err() << "rtwctl " << args.command().name << ": note: " << file << " is larger than "
                   << ini::kMaxFileBytes << " bytes; only its beginning is read\n";
        break;
    case ini::FileState::Read:
        break;
    }
    OpenSettingsFile(config, file);
}

} // namespace rtw::cli
