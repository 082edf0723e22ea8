#include "settings/IniDocument.h"

#include "settings/ProfileValues.h"

#include <stdexcept>

namespace rtw::ini {
namespace {

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) {
        s.remove_prefix(1);
    }
    while (!s.empty() && isBlank(s.back())) {
        s.remove_suffix(1);
    }
    return s;
}

std::string lowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

// "[name]" after optional blanks; the name ends at the first "]" (or the line's end, when
// the bracket is missing) and is trimmed.
std::optional<std::string_view> sectionName(std::string_view line) {
    line = trimmed(line);
    if (line.empty() || line.front() != '[') {
        return std::nullopt;
    }
    line.remove_prefix(1);
    return trimmed(line.substr(0, line.find(']')));
}

struct KeyLine {
    std::string_view key;
    std::string_view value;
    std::size_t valueOffset; // where the value starts in the line
};

// "key = value": not a comment (";" first), not a section header, and holding "=".
std::optional<KeyLine> keyLine(std::string_view line) {
    const std::string_view text = trimmed(line);
    if (text.empty() || text.front() == ';' || text.front() == '[') {
        return std::nullopt;
    }
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    std::size_t valueOffset = equals + 1;
    while (valueOffset < line.size() && isBlank(line[valueOffset])) {
        ++valueOffset;
    }
    return KeyLine{trimmed(line.substr(0, equals)), trimmed(line.substr(valueOffset)), valueOffset};
}

bool holdsLineBreak(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

} // namespace

IniDocument::IniDocument(std::string_view content) {
    std::vector<Line>* target = &m_preamble;
    std::size_t pos = 0;
    while (pos < content.size()) {
        const auto brk = content.find_first_of("\r\n", pos);
        Line line;
        if (brk == std::string_view::npos) {
            line.text = content.substr(pos);
            pos = content.size();
        } else {
            line.text = content.substr(pos, brk - pos);
            if (content[brk] == '\n') {
                line.end = LineEnd::Lf;
                pos = brk + 1;
            } else if (brk + 1 < content.size() && content[brk + 1] == '\n') {
                line.end = LineEnd::CrLf;
                pos = brk + 2;
            } else {
                line.end = LineEnd::Cr;
                pos = brk + 1;
            }
        }
        if (const auto name = sectionName(line.text)) {
            m_firstSection.emplace(lowerAscii(*name), m_sections.size());
            m_sections.push_back(Section{std::move(line), {}, nullptr});
            target = &m_sections.back().body;
        } else {
            target->push_back(std::move(line));
        }
    }
}

std::optional<std::size_t> IniDocument::findSection(std::string_view name) const {
    const auto it = m_firstSection.find(lowerAscii(name));
    if (it == m_firstSection.end()) {
        return std::nullopt;
    }
    return it->second;
}

IniDocument::KeyIndex& IniDocument::keyIndex(const Section& section) const {
    if (!section.keys) {
        auto index = std::make_unique<KeyIndex>();
        for (std::size_t i = 0; i < section.body.size(); ++i) {
            if (const auto key = keyLine(section.body[i].text)) {
                index->lines.emplace(lowerAscii(key->key), i);
                index->end = i + 1;
            }
        }
        section.keys = std::move(index);
    }
    return *section.keys;
}

std::optional<std::string_view> IniDocument::storedValue(std::string_view section,
                                                         std::string_view key) const {
    const auto found = findSection(section);
    if (!found) {
        return std::nullopt;
    }
    const Section& s = m_sections[*found];
    const KeyIndex& index = keyIndex(s);
    const auto it = index.lines.find(lowerAscii(key));
    if (it == index.lines.end()) {
        return std::nullopt;
    }
    return keyLine(s.body[it->second].text)->value;
}

void IniDocument::setValue(std::string_view section, std::string_view key, std::string_view value) {
    if (holdsLineBreak(value)) {
        throw std::invalid_argument("IniDocument.setValue: the value holds a line break");
    }
    if (holdsLineBreak(section) || section.find(']') != std::string_view::npos ||
        trimmed(section) != section) {
        throw std::invalid_argument("IniDocument.setValue: no such section name is possible");
    }
    if (holdsLineBreak(key) || key.find('=') != std::string_view::npos || trimmed(key).empty() ||
        trimmed(key) != key || key.front() == ';' || key.front() == '[') {
        throw std::invalid_argument("IniDocument.setValue: no such key name is possible");
    }

    const auto found = findSection(section);
    if (!found) {
        if (Line* last = lastLine(); last != nullptr && last->end == LineEnd::None) {
            last->end = LineEnd::CrLf;
        }
        Section added{Line{"[" + std::string(section) + "]", LineEnd::CrLf}, {}, nullptr};
        added.body.push_back(Line{std::string(key) + "=" + std::string(value), LineEnd::CrLf});
        m_firstSection.emplace(lowerAscii(section), m_sections.size());
        m_sections.push_back(std::move(added));
        return;
    }

    Section& s = m_sections[*found];
    KeyIndex& index = keyIndex(s);
    if (const auto it = index.lines.find(lowerAscii(key)); it != index.lines.end()) {
        Line& line = s.body[it->second];
        const std::size_t offset = keyLine(line.text)->valueOffset;
        line.text.replace(offset, std::string::npos, value);
        return;
    }
    Line& before = index.end == 0 ? s.header : s.body[index.end - 1];
    if (before.end == LineEnd::None) {
        before.end = LineEnd::CrLf;
    }
    s.body.insert(s.body.begin() + static_cast<std::ptrdiff_t>(index.end),
                  Line{std::string(key) + "=" + std::string(value), LineEnd::CrLf});
    index.lines.emplace(lowerAscii(key), index.end);
    ++index.end;
}

IniDocument::Line* IniDocument::lastLine() {
    if (!m_sections.empty()) {
        Section& s = m_sections.back();
        return s.body.empty() ? &s.header : &s.body.back();
    }
    return m_preamble.empty() ? nullptr : &m_preamble.back();
}

std::string_view IniDocument::lineEndText(LineEnd end) {
    switch (end) {
    case LineEnd::CrLf:
        return "\r\n";
    case LineEnd::Lf:
        return "\n";
    case LineEnd::Cr:
        return "\r";
    case LineEnd::None:
        break;
    }
    return {};
}

std::string IniDocument::content() const {
    std::string out;
    const auto append = [&out](const Line& line) {
        out += line.text;
        out += lineEndText(line.end);
    };
    for (const Line& line : m_preamble) {
        append(line);
    }
    for (const Section& s : m_sections) {
        append(s.header);
        for (const Line& line : s.body) {
            append(line);
        }
    }
    return out;
}

} // namespace rtw::ini
