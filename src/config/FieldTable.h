#pragma once
// Every setting of the unit, expanded from the rows of FieldRows.h: its canonical name,
// kind, limits, default, settings-file section and the window texts that describe it.
#include "config/FieldIds.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rtw {

struct FieldInfo {
    FieldId id = 0;
    FieldRowId row = FieldRowId::TCV;
    std::string name; // canonical, letter case as written
    std::string section;
    FieldKind kind = FieldKind::PhoneEntry;
    int typedLimit = 0; // characters (digits for a number field); 0 for a choice
    int minimum = 0;    // number fields only
    int maximum = 0;
    int step = 0;
    std::string defaultText; // text fields; empty for a choice
    bool defaultSelected = false;
    int number = 0;             // the input or output; 0 when the row is not numbered
    std::optional<ListId> list; // phone entries only
    int entry = 0;              // 1-based entry number within its list
    bool hidden = false;        // never shown in the window
    // Window texts in UTF-8 (the Slovak hints hold letters CP1252 lacks): the group box
    // and page the field stands in, a heading above it, its label (lines apart by '\n'),
    // the unit after a number, and its own hint (empty when it inherits one from its page
    // or group).
    WindowGroup windowGroup = WindowGroup::Inputs;
    WindowPage windowPage = WindowPage::None;
    std::string group;
    std::string page;
    std::string heading;
    std::string label;
    std::string unit;
    std::string hint;
};

// One of the nine phone lists. Its entries fill from entry 1: the fill rule that keeps
// them so runs in DeviceConfig on every change of an entry.
struct PhoneList {
    ListId id;
    int size; // 8 or 64
};

// All 207 fields, in the order the settings file writes them.
[[nodiscard]] std::span<const FieldInfo> allFields();
[[nodiscard]] const FieldInfo& fieldInfo(FieldId id);
// The fields of one row, by number first, then by entry.
[[nodiscard]] std::span<const FieldId> rowFields(FieldRowId row);

// Look-up that ignores letter case; yields the field with its canonical name.
[[nodiscard]] std::optional<FieldId> findField(std::string_view name);
// As findField, but an unknown name is a programming error (std::invalid_argument).
[[nodiscard]] FieldId fieldId(std::string_view name);

[[nodiscard]] PhoneList listInfo(ListId list);

// The window's texts for a group box and a page (number: its input or output), UTF-8.
[[nodiscard]] std::string groupCaption(WindowGroup group);
[[nodiscard]] std::string groupHint(WindowGroup group);
[[nodiscard]] std::string pageCaption(WindowPage page, int number);
[[nodiscard]] std::string pageHint(WindowPage page, int number);

// The lines of a field's label, as the window shows them one under another.
[[nodiscard]] std::vector<std::string> labelLines(const FieldInfo& field);

// How a message names a field: as the window shows it ("Group / Page / Label"), CP1252.
[[nodiscard]] std::string displayName(const FieldInfo& field);

} // namespace rtw
