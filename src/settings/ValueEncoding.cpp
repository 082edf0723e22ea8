#include "settings/ValueEncoding.h"

#include "settings/ProfileValues.h"

namespace rtw::ini {
namespace {

bool holdsLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// True when text is the inside of a rule-3 value: only \\, \r and \n after a backslash, and
// at least one \r or \n.
bool isEscapedText(std::string_view text) {
    bool lineBreak = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            continue;
        }
        if (i + 1 == text.size()) {
            return false;
        }
        const char next = text[++i];
        if (next == 'r' || next == 'n') {
            lineBreak = true;
        } else if (next != '\\') {
            return false;
        }
    }
    return lineBreak;
}

std::string escaped(std::string_view text) {
    std::string out = "\"";
    for (char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            out += c;
        }
    }
    out += '"';
    return out;
}

std::string unescaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        const char next = text[++i]; // isEscapedText has checked that one follows
        out += next == 'r' ? '\r' : next == 'n' ? '\n' : '\\';
    }
    return out;
}

} // namespace

std::string encodeValue(std::string_view text) {
    if (holdsLineBreak(text)) {
        return escaped(text);
    }
    const bool needsQuotes =
        !text.empty() && (isBlank(text.front()) || isBlank(text.back()) || hasOuterQuotes(text));
    if (!needsQuotes) {
        return std::string(text);
    }
    const char quote = isEscapedText(text) ? '\'' : '"';
    return quote + std::string(text) + quote;
}

std::string decodeValue(std::string_view stored) {
    if (stored.size() >= 2 && stored.front() == '"' && stored.back() == '"') {
        const std::string_view inside = stored.substr(1, stored.size() - 2);
        if (isEscapedText(inside)) {
            return unescaped(inside);
        }
    }
    if (hasOuterQuotes(stored)) {
        stored = stored.substr(1, stored.size() - 2);
    }
    return std::string(stored);
}

} // namespace rtw::ini
