#include "settings/SettingsLayout.h"

#include <array>
#include <stdexcept>
#include <vector>

namespace rtw {
namespace {

struct SectionRun {
    std::string_view name;
    int keyCount;
};

// The field table lists the fields in the file's order; the sections cut it into runs.
constexpr std::array<SectionRun, kSettingsSectionCount> kSections = {{
    {"TCV", 16},     {"POO1_", 8},  {"POO2_", 8},    {"SMSV", 2},    {"SMSNV", 2},
    {"SMSZAP", 2},   {"SMSVYP", 2}, {"DTMFZAP", 2},  {"DTMFVYP", 2}, {"TCZSSMS", 8},
    {"POV", 128},    {"PZS", 16},   {"INTERVAL", 1}, {"CAS", 1},     {"CASRELE1", 1},
    {"CASRELE2", 1}, {"DELAY1", 1}, {"DELAY2", 1},   {"KREDIT", 1},  {"AKT-DEAKT", 4},
}};

std::vector<SettingsKey> buildKeys() {
    const auto fields = allFields();
    std::vector<SettingsKey> keys;
    std::size_t next = 0;
    for (const SectionRun& run : kSections) {
        for (int i = 0; i < run.keyCount; ++i) {
            keys.push_back({run.name, fields[next++].id});
        }
    }
    if (keys.size() != fields.size()) {
        throw std::logic_error("settings sections do not cover the field table");
    }
    return keys;
}

} // namespace

std::span<const SettingsKey> settingsKeys() {
    static const std::vector<SettingsKey> keys = buildKeys();
    return keys;
}

} // namespace rtw
