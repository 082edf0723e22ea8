#include "config/FieldTable.h"

#include "config/Cp1252.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <unordered_map>

namespace rtw {
namespace {

std::string lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

// The text with "{n}" and "{k}" replaced by the number and the entry.
std::string expand(std::string_view pattern, int number, int entry) {
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const std::string_view rest = pattern.substr(i);
        if (rest.starts_with("{n}")) {
            out += std::to_string(number);
            i += 2;
        } else if (rest.starts_with("{k}")) {
            out += std::to_string(entry);
            i += 2;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

std::optional<ListId> listAt(FieldRowId row, int number) {
    for (std::size_t l = 0; l < kListRows.size(); ++l) {
        if (kListRows[l].row == row && kListRows[l].number == number) {
            return static_cast<ListId>(l);
        }
    }
    return std::nullopt;
}

std::string labelOf(const FieldRow& row, int number, int entry) {
    for (const LabelException& e : kLabelExceptions) {
        if (e.row == row.row && e.number == number && e.entry == entry) {
            return std::string(e.label);
        }
    }
    return expand(row.window.label, number, entry);
}

FieldInfo expandField(const FieldRow& row, int number, int entry) {
    FieldInfo f;
    f.id = fieldOf(row.row, number, entry);
    f.row = row.row;
    f.name = expand(row.name, number, entry);
    f.section = expand(row.section, number, entry);
    f.kind = row.kind;
    f.typedLimit = row.limits.typed;
    if (row.kind == FieldKind::Number) {
        f.minimum = row.limits.minimum;
        f.maximum = row.limits.maximum;
        f.step = 1;
    }
    if (row.kind == FieldKind::Choice) {
        f.defaultSelected = row.defaultValue == "1";
    } else {
        f.defaultText = row.defaultValue;
    }
    f.number = number;
    f.list = listAt(row.row, number);
    f.entry = entry;
    f.hidden = row.hidden;
    f.windowGroup = row.window.group;
    f.windowPage = row.window.page;
    f.group = groupCaption(row.window.group);
    f.page = pageCaption(row.window.page, number);
    f.heading = row.window.heading;
    f.label = labelOf(row, number, entry);
    f.unit = row.window.unit;
    f.hint = expand(row.window.hint, number, entry);
    return f;
}

struct Table {
    std::vector<FieldInfo> fields;
    std::array<std::vector<FieldId>, kFieldRowCount> byRow;
    std::unordered_map<std::string, FieldId> byLowerName;

    Table() : fields(kFieldCount) {
        for (const FieldRow& row : kFieldRows) {
            auto& ids = byRow.at(static_cast<std::size_t>(row.row));
            for (int n = row.numbers == 0 ? 0 : 1; n <= row.numbers; ++n) {
                for (int k = row.entries == 0 ? 0 : 1; k <= row.entries; ++k) {
                    FieldInfo f = expandField(row, n, k);
                    ids.push_back(f.id);
                    byLowerName.emplace(lower(f.name), f.id);
                    fields.at(f.id) = std::move(f);
                }
            }
        }
    }
};

const Table& table() {
    static const Table t;
    return t;
}

} // namespace

std::span<const FieldInfo> allFields() {
    return table().fields;
}

const FieldInfo& fieldInfo(FieldId id) {
    return table().fields.at(id);
}

std::span<const FieldId> rowFields(FieldRowId row) {
    return table().byRow.at(static_cast<std::size_t>(row));
}

std::optional<FieldId> findField(std::string_view name) {
    const auto& map = table().byLowerName;
    auto it = map.find(lower(name));
    if (it == map.end()) {
        return std::nullopt;
    }
    return it->second;
}

FieldId fieldId(std::string_view name) {
    if (auto id = findField(name)) {
        return *id;
    }
    throw std::invalid_argument("unknown field: " + std::string(name));
}

PhoneList listInfo(ListId list) {
    return {list, listSize(list)};
}

std::string groupCaption(WindowGroup group) {
    return std::string(kGroupTexts.at(static_cast<std::size_t>(group)).caption);
}

std::string groupHint(WindowGroup group) {
    const GroupText& text = kGroupTexts.at(static_cast<std::size_t>(group));
    return std::string(text.hint.empty() ? text.caption : text.hint);
}

std::string pageCaption(WindowPage page, int number) {
    return expand(kPageTexts.at(static_cast<std::size_t>(page)).caption, number, 0);
}

std::string pageHint(WindowPage page, int number) {
    return expand(kPageTexts.at(static_cast<std::size_t>(page)).hint, number, 0);
}

std::vector<std::string> labelLines(const FieldInfo& field) {
    std::vector<std::string> lines;
    std::string_view rest = field.label;
    for (std::size_t cut = rest.find('\n'); cut != std::string_view::npos; cut = rest.find('\n')) {
        lines.emplace_back(rest.substr(0, cut));
        rest.remove_prefix(cut + 1);
    }
    lines.emplace_back(rest);
    return lines;
}

std::string displayName(const FieldInfo& field) {
    std::string out = cp1252FromUtf8(field.group);
    while (!out.empty() && out.back() == ' ') {
        out.pop_back();
    }
    for (const std::string* part : {&field.page, &field.heading}) {
        if (!part->empty()) {
            out += " / " + cp1252FromUtf8(*part);
        }
    }
    std::string label;
    for (const std::string& line : labelLines(field)) {
        label += (label.empty() ? "" : " ") + line;
    }
    // A unit the window shows bare is named in parentheses.
    if (!field.unit.empty()) {
        label += field.unit.starts_with('(') ? " " + field.unit : " (" + field.unit + ")";
    }
    out += " / " + cp1252FromUtf8(label);
    return out;
}

} // namespace rtw
