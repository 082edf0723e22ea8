#pragma once
// Every setting of the unit: its canonical name, kind, limits, default and the window
// texts that describe it.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace rtw {

enum class FieldKind : std::uint8_t { PhoneEntry, SmsText, DtmfCode, Number, Choice };

// The nine phone lists, in the order of the unit's counts block.
enum class ListId : std::uint8_t { POV1, POV2, POO1, POO2, PZS1, PZS2, TCV1, TCV2, TCZSSMS };
inline constexpr int kListCount = 9;

using FieldId = std::uint16_t;

struct FieldInfo {
    FieldId id = 0;
    std::string name; // canonical, letter case as written
    FieldKind kind = FieldKind::PhoneEntry;
    int typedLimit = 0; // characters (digits for a number field); 0 for a choice
    int minimum = 0;    // number fields only
    int maximum = 0;
    int step = 0;
    std::string defaultText; // text fields; empty for a choice
    bool defaultSelected = false;
    std::optional<ListId> list; // phone entries only
    int entry = 0;              // 1-based entry number within its list
    bool hidden = false;        // never shown in the window
    // Window texts in UTF-8 (the Slovak hints hold letters CP1252 lacks): the group box,
    // the page (may be empty), the label, and the field's own hint (empty when it inherits
    // one from its page or group).
    std::string group;
    std::string page;
    std::string label;
    std::string hint;
};

// One of the nine phone lists. Its entries fill from entry 1: the fill rule that keeps
// them so runs in DeviceConfig on every change of an entry.
struct PhoneList {
    ListId id;
    std::string_view prefix; // entry k is named prefix + k
    int size;                // 8 or 64
};

// All 207 fields, in the order the settings file writes them.
[[nodiscard]] std::span<const FieldInfo> allFields();
[[nodiscard]] const FieldInfo& fieldInfo(FieldId id);

// Look-up that ignores letter case; yields the field with its canonical name.
[[nodiscard]] std::optional<FieldId> findField(std::string_view name);
// As findField, but an unknown name is a programming error (std::invalid_argument).
[[nodiscard]] FieldId fieldId(std::string_view name);

[[nodiscard]] const PhoneList& listInfo(ListId list);
[[nodiscard]] FieldId entryField(ListId list, int entry);

// How a message names a field: as the window shows it ("Group / Page / Label"), CP1252.
[[nodiscard]] std::string displayName(const FieldInfo& field);

} // namespace rtw
