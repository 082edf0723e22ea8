#pragma once
// An INI text as the Windows profile functions see it: read for look-ups, and changed in
// place so that everything the writer does not touch stays byte for byte.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace rtw::ini {

class IniDocument {
public:
    IniDocument() = default;
    // Takes the bytes as they are: CR LF, LF and CR alone all end a line; no byte-order mark
    // or code page is recognised.
    explicit IniDocument(std::string_view content);

    // The key's value with the blanks around it trimmed, quotes still on; nullopt when the
    // section or the key is missing. Names match ignoring ASCII letter case; the first
    // occurrence of a section, and of a key within it, is the one that counts.
    [[nodiscard]] std::optional<std::string_view> storedValue(std::string_view section,
                                                              std::string_view key) const;

    // Writes the value exactly as given. A present key takes it in place, keeping its line,
    // its letter case and the text before the value; a missing key is added after the last
    // key of its section; a missing section goes to the end of the file. New lines end in
    // CR LF. std::invalid_argument for a value with a line break or a name the file cannot
    // hold.
    void setValue(std::string_view section, std::string_view key, std::string_view value);

    [[nodiscard]] std::string content() const;

private:
    enum class LineEnd : std::uint8_t { None, CrLf, Lf, Cr };
    struct Line {
        std::string text;
        LineEnd end = LineEnd::None;
    };
    struct KeyIndex {
        std::unordered_map<std::string, std::size_t> lines; // lower-case key -> body line
        std::size_t end = 0;                                // one past the last key line
    };
    struct Section {
        Line header;
        std::vector<Line> body;
        // Built on first use: most sections of a foreign file are never asked for.
        mutable std::unique_ptr<KeyIndex> keys;
    };

    [[nodiscard]] std::optional<std::size_t> findSection(std::string_view name) const;
    // The index lives beside the const section, so look-ups may build it.
    [[nodiscard]] KeyIndex& keyIndex(const Section& section) const;
    [[nodiscard]] Line* lastLine();
    static std::string_view lineEndText(LineEnd end);

    std::vector<Line> m_preamble; // lines before the first section: never reached
    std::vector<Section> m_sections;
    std::unordered_map<std::string, std::size_t> m_firstSection; // lower-case name -> index
};

} // namespace rtw::ini
