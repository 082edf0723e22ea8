#include "settings/SettingsLayout.h"

#include <vector>

namespace rtw {
namespace {

// Rows that follow each other under one section share it; a section with "{n}" stands
// once per number.
constexpr int sectionCount() {
    int count = 0;
    for (std::size_t i = 0; i < kFieldRows.size(); ++i) {
        const FieldRow& row = kFieldRows[i];
        if (i > 0 && kFieldRows[i - 1].section == row.section) {
            continue;
        }
        count += row.section.find("{n}") == std::string_view::npos ? 1 : row.numbers;
    }
    return count;
}
static_assert(sectionCount() == kSettingsSectionCount);
static_assert(kFieldCount == kSettingsKeyCount);

// The field table lists the fields in the file's order, each under its section.
std::vector<SettingsKey> buildKeys() {
    std::vector<SettingsKey> keys;
    for (const FieldInfo& field : allFields()) {
        keys.push_back({field.section, field.id});
    }
    return keys;
}

} // namespace

std::span<const SettingsKey> settingsKeys() {
    static const std::vector<SettingsKey> keys = buildKeys();
    return keys;
}

} // namespace rtw
