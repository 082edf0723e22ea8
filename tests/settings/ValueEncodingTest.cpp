#include "settings/ValueEncoding.h"
#include "settings/IniDocument.h"
#include "settings/ProfileValues.h"

#include <gtest/gtest.h>

#include <string>

namespace rtw::ini {
namespace {

// The stored value as a reader finds it on the key's line.
std::string storedForm(std::string_view text) {
    IniDocument doc;
    doc.setValue("S", "k", encodeValue(text));
    const IniDocument reread(doc.content());
    return std::string(*reread.storedValue("S", "k"));
}

TEST(ValueEncoding, WritesEachTextSoBothReadersGiveItBack) {
    struct Case {
        const char* what;
        std::string text;
        std::string stored;
    };
    const Case cases[] = {
        {"empty", "", ""},
        {"plain, as the profile functions write it", "0911 123456", "0911 123456"},
        {"CP1252 and punctuation", "Alarm \xC4\xDF\x80 ;#=[x]", "Alarm \xC4\xDF\x80 ;#=[x]"},
        {"quotes inside", "a\"b'c", "a\"b'c"},
        {"one quote", "\"", "\""},
        {"quote at one end", "\"abc", "\"abc"},
        {"backslashes alone need nothing", "C:\\neu\\r", "C:\\neu\\r"},
        {"leading blank", " a", "\" a\""},
        {"trailing blank", "a ", "\"a \""},
        {"tab", "\ta", "\"\ta\""},
        {"vertical tab", "a\v", "\"a\v\""},
        {"only blanks", "   ", "\"   \""},
        {"double-quoted", "\"a\"", "\"\"a\"\""},
        {"single-quoted", "'a'", "\"'a'\""},
        {"two quotes", "\"\"", "\"\"\"\""},
        {"CR LF", "Zeile 1\r\nZeile 2", "\"Zeile 1\\r\\nZeile 2\""},
        {"lone LF and CR", "a\nb\rc", "\"a\\nb\\rc\""},
        {"line breaks and backslashes", "C:\\x\r\n\\", "\"C:\\\\x\\r\\n\\\\\""},
        {"line breaks and blanks", " a\r\n ", "\" a\\r\\n \""},
        {"line break and quotes", "\"\n\"", "\"\"\\n\"\""},
        {"would look escaped once quoted", " a\\nb", "' a\\nb'"},
        {"would look escaped once quoted, double quotes", "\"\\r\"", "'\"\\r\"'"},
    };
    for (const Case& c : cases) {
        const std::string stored = storedForm(c.text);
        EXPECT_EQ(stored, c.stored) << c.what;
        EXPECT_EQ(decodeValue(stored), c.text) << c.what;
        if (c.text.find_first_of("\r\n") == std::string::npos) {
            // Windows reads it the same way.
            EXPECT_EQ(profileString(stored), c.text) << c.what;
        }
    }
}

TEST(ValueEncoding, ReadsWindowsValuesAsWindowsDoesUnlessEscaped) {
    const std::pair<const char*, const char*> cases[] = {
        {"\"C:\\temp\"", "C:\\temp"}, // \t is no escape of ours
        {"\"a\\\\b\"", "a\\\\b"},     // no line break inside
        {"\"a\\nb\\\"", "a\\nb\\"},   // a lone backslash at the end
        {"'a\\nb'", "a\\nb"},         // single quotes are never escaped
        {"a\\nb", "a\\nb"},           // no quotes
        {"\"a\\nb", "\"a\\nb"},       // one quote
        {"\"a\\r\\nb\"", "a\r\nb"},   // the escaped shape
    };
    for (const auto& [stored, text] : cases) {
        EXPECT_EQ(decodeValue(stored), text) << stored;
    }
}

} // namespace
} // namespace rtw::ini
