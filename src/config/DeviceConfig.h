#pragma once
// The configuration record: every field under its canonical name, the fill rule of the
// phone lists, the coupling of the contact-type choices, and change announcements so a
// window can mirror the model.
#include "config/FieldTable.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace rtw {

enum class ChangeKind : std::uint8_t { Text, Enabled, Selected };

struct FieldChange {
    FieldId field;
    ChangeKind kind;
    [[nodiscard]] const std::string& name() const { return fieldInfo(field).name; }
};

class DeviceConfig {
public:
    using Observer = std::function<void(const FieldChange&)>;

    // Every field at its default: the state at start-up and after Clear.
    DeviceConfig();

    // Copies carry values only, never observers.
    DeviceConfig(const DeviceConfig& other);
    DeviceConfig& operator=(const DeviceConfig& other) = delete;

    // Text of a text field (phone entry, SMS text, DTMF code, number).
    [[nodiscard]] const std::string& text(FieldId id) const;
    [[nodiscard]] const std::string& text(std::string_view name) const;
    // Writing a different text is a change: it is announced, and for a list entry the
    // fill rule runs before this returns. Multi-line fields (SMS texts, DTMF codes) take
    // their line breaks as CR LF.
    void setText(FieldId id, std::string_view value);
    void setText(std::string_view name, std::string_view value);

    // The contact-type choices. Selecting one clears its partner; clearing selects nothing.
    [[nodiscard]] bool isSelected(FieldId id) const;
    [[nodiscard]] bool isSelected(std::string_view name) const;
    void setSelected(FieldId id, bool selected);
    void setSelected(std::string_view name, bool selected);
    // Input n (1 or 2) counts as NC exactly when rbVST<n>_2 is selected.
    [[nodiscard]] bool isNC(int input) const;

    // A list entry's enabled state as the fill rule leaves it; other fields are enabled.
    [[nodiscard]] bool isEnabled(FieldId id) const;
    [[nodiscard]] bool isEnabled(std::string_view name) const;

    // Number of non-empty entries of a list.
    [[nodiscard]] int usedEntries(ListId list) const;

    // Takes over every value of another configuration, field by field in table order, as
    // Open would set them, so observers see each change.
    void assign(const DeviceConfig& other);

    // Equal values (observers do not count).
    [[nodiscard]] bool sameValues(const DeviceConfig& other) const;

    int addObserver(Observer observer);
    void removeObserver(int handle);

private:
    void announce(FieldId id, ChangeKind kind);
    void runFillRule(ListId list);
    void storeText(FieldId id, std::string value);
    void storeSelected(FieldId id, bool selected);

    std::vector<std::string> m_texts;
    std::vector<bool> m_selected;
    std::vector<bool> m_enabled;
    std::vector<std::pair<int, Observer>> m_observers;
    int m_nextObserver = 1;
};

} // namespace rtw
