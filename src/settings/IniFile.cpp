#include "settings/IniFile.h"

#include "settings/ProfileValues.h"
#include "settings/ValueEncoding.h"

namespace rtw::ini {
namespace {

// Of a file cut at the bound, its last line is cut too: it counts as absent with the rest.
std::string_view wholeLines(std::string_view bytes) {
    const auto brk = bytes.find_last_of("\r\n");
    return brk == std::string_view::npos ? std::string_view() : bytes.substr(0, brk + 1);
}

} // namespace

IniFile::IniFile(std::string fileName) : m_fileName(std::move(fileName)) {
    const FileContent file = readFileBounded(m_fileName);
    m_state = file.state;
    if (m_state == FileState::Read) {
        m_document = IniDocument(file.bytes);
    } else if (m_state == FileState::TooLarge) {
        m_document = IniDocument(wholeLines(file.bytes));
    }
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
    const auto stored = m_document.storedValue(section, key);
    return stored ? profileString(*stored) : profileDefault(defaultValue);
}

std::string IniFile::readText(std::string_view section, std::string_view key) const {
    const auto stored = m_document.storedValue(section, key);
    if (!stored) {
        return {};
    }
    std::string text = decodeValue(*stored);
    if (text.size() > kMaxValueLength) {
        text.resize(kMaxValueLength);
    }
    return text;
}

bool IniFile::readBool(std::string_view section, std::string_view key, bool defaultValue) const {
    return profileBool(m_document.storedValue(section, key), defaultValue);
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
    m_document.setValue(section, key, value);
}

void IniFile::writeText(std::string_view section, std::string_view key, std::string_view text) {
    m_document.setValue(section, key, encodeValue(text));
}

void IniFile::writeBool(std::string_view section, std::string_view key, bool value) {
    m_document.setValue(section, key, value ? "1" : "0");
}

bool IniFile::save() const {
    if (m_state != FileState::Missing && m_state != FileState::Read) {
        return false;
    }
    return replaceFileAtomically(m_fileName, m_document.content());
}

} // namespace rtw::ini
