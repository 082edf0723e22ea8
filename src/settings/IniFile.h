#pragma once
// An INI file with the observable behaviour of Delphi's TIniFile over the Windows profile
// functions, plus the text encoding of ValueEncoding.h. The file is read once, when the
// object is made; writes change the copy in memory, and save() puts it on disk whole.
#include "settings/FileAccess.h"
#include "settings/IniDocument.h"

#include <string>
#include <string_view>

namespace rtw::ini {

class IniFile {
public:
    // A file that cannot be read (missing, a folder, no permission) reads as an empty one;
    // of a file beyond kMaxFileBytes only what precedes its last line break inside the
    // bound is read, the rest counts as absent.
    explicit IniFile(std::string fileName);

    [[nodiscard]] const std::string& fileName() const { return m_fileName; }
    [[nodiscard]] FileState state() const { return m_state; }

    // ReadString: the value as the profile functions return it, or the default when the
    // section or the key is missing.
    [[nodiscard]] std::string readString(std::string_view section, std::string_view key,
                                         std::string_view defaultValue) const;
    // A text written by writeText, given back exactly (up to kMaxValueLength bytes); a
    // missing key gives the empty text.
    [[nodiscard]] std::string readText(std::string_view section, std::string_view key) const;
    [[nodiscard]] bool readBool(std::string_view section, std::string_view key,
                                bool defaultValue) const;

    // WriteString: the value exactly as given (std::invalid_argument for a line break).
    void writeString(std::string_view section, std::string_view key, std::string_view value);
    // Any text, quoted or escaped as it needs.
    void writeText(std::string_view section, std::string_view key, std::string_view text);
    // WriteBool: "1" or "0".
    void writeBool(std::string_view section, std::string_view key, bool value);

    // Puts the content on disk, replacing the file whole or not at all. False, with the file
    // on disk unchanged, when it cannot be written, and when the file was there but could not
    // be read whole: writing then would lose what was not read.
    [[nodiscard]] bool save() const;

private:
    std::string m_fileName;
    FileState m_state;
    IniDocument m_document;
};

} // namespace rtw::ini
