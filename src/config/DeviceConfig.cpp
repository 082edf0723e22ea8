#include "config/DeviceConfig.h"

#include "config/LineBreaks.h"

#include <stdexcept>

namespace rtw {

DeviceConfig::DeviceConfig() {
    const auto fields = allFields();
    m_texts.resize(fields.size());
    m_selected.resize(fields.size(), false);
    m_enabled.resize(fields.size(), true);
    for (const FieldInfo& f : fields) {
        m_texts[f.id] = f.defaultText;
        m_selected[f.id] = f.defaultSelected;
        if (f.list && f.entry > 1) {
            m_enabled[f.id] = false;
        }
    }
}

DeviceConfig::DeviceConfig(const DeviceConfig& other)
    : m_texts(other.m_texts), m_selected(other.m_selected), m_enabled(other.m_enabled) {}

const std::string& DeviceConfig::text(FieldId id) const {
    return m_texts.at(id);
}
const std::string& DeviceConfig::text(std::string_view name) const {
    return text(fieldId(name));
}

void DeviceConfig::setText(std::string_view name, std::string_view value) {
    setText(fieldId(name), value);
}

void DeviceConfig::setText(FieldId id, std::string_view value) {
    const FieldInfo& f = fieldInfo(id);
    if (f.kind == FieldKind::Choice) {
        throw std::invalid_argument("not a text field: " + f.name);
    }
    std::string v(value);
    if (f.kind == FieldKind::SmsText || f.kind == FieldKind::DtmfCode) {
        v = normaliseLineBreaks(v);
    }
    if (v == m_texts[id]) {
        return;
    }
    storeText(id, std::move(v));
}

void DeviceConfig::storeText(FieldId id, std::string value) {
    m_texts[id] = std::move(value);
    announce(id, ChangeKind::Text);
    if (const auto& list = fieldInfo(id).list) {
        runFillRule(*list);
    }
}

// The rule as the window runs it: a pass from the last entry down, where emptying an
// entry is itself a change that runs the rule again, nested, to its end.
void DeviceConfig::runFillRule(ListId list) {
    const int size = listInfo(list).size;
    for (int k = size - 1; k >= 1; --k) {
        const FieldId current = entryField(list, k);
        const FieldId next = entryField(list, k + 1);
        const bool enable = !m_texts[current].empty();
        if (m_enabled[next] != enable) {
            m_enabled[next] = enable;
            announce(next, ChangeKind::Enabled);
        }
        if (!enable && !m_texts[next].empty()) {
            storeText(next, std::string()); // nested run of the rule for this list
        }
    }
}

bool DeviceConfig::isSelected(FieldId id) const {
    return m_selected.at(id);
}
bool DeviceConfig::isSelected(std::string_view name) const {
    return isSelected(fieldId(name));
}

void DeviceConfig::setSelected(std::string_view name, bool selected) {
    setSelected(fieldId(name), selected);
}

void DeviceConfig::setSelected(FieldId id, bool selected) {
    const FieldInfo& f = fieldInfo(id);
    if (f.kind != FieldKind::Choice) {
        throw std::invalid_argument("not a choice: " + f.name);
    }
    if (m_selected[id] == selected) {
        return;
    }
    storeSelected(id, selected);
    if (selected) {
        // rbVST<n>_1 and rbVST<n>_2 are partners.
        const FieldId other = field::rbVST(
            f.number, f.row == FieldRowId::VSTNO ? field::Contact::NC : field::Contact::NO);
        if (m_selected[other]) {
            storeSelected(other, false);
        }
    }
}

void DeviceConfig::storeSelected(FieldId id, bool selected) {
    m_selected[id] = selected;
    announce(id, ChangeKind::Selected);
}

bool DeviceConfig::isNC(int input) const {
    return isSelected(field::rbVST(input, field::Contact::NC));
}

bool DeviceConfig::isEnabled(FieldId id) const {
    return m_enabled.at(id);
}
bool DeviceConfig::isEnabled(std::string_view name) const {
    return isEnabled(fieldId(name));
}

int DeviceConfig::usedEntries(ListId list) const {
    int used = 0;
    for (int k = 1; k <= listInfo(list).size; ++k) {
        if (!m_texts[entryField(list, k)].empty()) {
            ++used;
        }
    }
    return used;
}

void DeviceConfig::assign(const DeviceConfig& other) {
    for (const FieldInfo& f : allFields()) {
        if (f.kind == FieldKind::Choice) {
            setSelected(f.id, other.m_selected[f.id]);
        } else {
            setText(f.id, other.m_texts[f.id]);
        }
    }
}

bool DeviceConfig::sameValues(const DeviceConfig& other) const {
    return m_texts == other.m_texts && m_selected == other.m_selected &&
           m_enabled == other.m_enabled;
}

int DeviceConfig::addObserver(Observer observer) {
    const int handle = m_nextObserver++;
    m_observers.emplace_back(handle, std::move(observer));
    return handle;
}

void DeviceConfig::removeObserver(int handle) {
    std::erase_if(m_observers, [handle](const auto& o) { return o.first == handle; });
}

void DeviceConfig::announce(FieldId id, ChangeKind kind) {
    const FieldChange change{id, kind};
    // A copy, so an observer may remove itself.
    const auto observers = m_observers;
    for (const auto& [handle, observer] : observers) {
        observer(change);
    }
}

} // namespace rtw
