#include "settings/SettingsFile.h"

#include "config/Cp1252.h"
#include "settings/IniFile.h"
#include "settings/SettingsLayout.h"

#include <filesystem>
#include <system_error>

namespace rtw {
namespace {

// The name as the user's dialog would have given it: a full path.
std::string fullName(const std::string& fileName) {
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(fileName, ec);
    return ec || fileName.empty() ? fileName : absolute.string();
}

} // namespace

SettingsWriteError::SettingsWriteError(const std::string& fileName)
    : std::runtime_error("Unable to write to " + cp1252FromUtf8(fullName(fileName))) {}

void SaveSettingsFile(const DeviceConfig& config, const std::string& fileName) {
    ini::IniFile file(fileName);
    for (const SettingsKey& key : settingsKeys()) {
        const FieldInfo& field = fieldInfo(key.field);
        if (field.kind == FieldKind::Choice) {
            file.writeBool(key.section, field.name, config.isSelected(key.field));
        } else {
            file.writeText(key.section, field.name, config.text(key.field));
        }
    }
    if (!file.save()) {
        throw SettingsWriteError(fileName);
    }
}

void OpenSettingsFile(DeviceConfig& config, const std::string& fileName) {
    const ini::IniFile file(fileName);
    for (const SettingsKey& key : settingsKeys()) {
        const FieldInfo& field = fieldInfo(key.field);
        if (field.kind == FieldKind::Choice) {
            config.setSelected(key.field, file.readBool(key.section, field.name, false));
        } else {
            config.setText(key.field, file.readText(key.section, field.name));
        }
    }
}

} // namespace rtw
