#pragma once
// Where each setting lives in a settings file: 20 sections, 207 keys, in the order Save
// writes them and Open reads them. A key is the field's canonical name.
#include "config/FieldTable.h"

#include <span>
#include <string_view>

namespace rtw {

struct SettingsKey {
    std::string_view section;
    FieldId field;
};

inline constexpr int kSettingsSectionCount = 20;
inline constexpr int kSettingsKeyCount = 207;

[[nodiscard]] std::span<const SettingsKey> settingsKeys();

} // namespace rtw
