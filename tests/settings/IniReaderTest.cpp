#include "settings/IniDocument.h"
#include "settings/ProfileValues.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace rtw::ini {
namespace {

// What GetPrivateProfileString would return, or nullopt for "the default".
std::optional<std::string> profileRead(std::string_view content, std::string_view section,
                                       std::string_view key) {
    const IniDocument doc(content);
    const auto stored = doc.storedValue(section, key);
    return stored ? std::optional(profileString(*stored)) : std::nullopt;
}

TEST(IniReader, FollowsTheProfileFunctionsRules) {
    struct Case {
        const char* what;
        std::string content;
        const char* section;
        const char* key;
        std::optional<std::string> expected;
    };
    const std::string bom = "\xEF\xBB\xBF";
    const Case cases[] = {
        {"plain", "[TCV]\r\nk=v\r\n", "TCV", "k", "v"},
        {"names ignore letter case", "[tcv]\r\nEDITtcv1_1=5\r\n", "TCV", "editTCV1_1", "5"},
        {"values keep theirs", "[S]\r\nk=AbC\r\n", "s", "K", "AbC"},
        {"blanks around key, = and value", "[S]\r\n \t k \t= \t a b \t\v\r\n", "S", "k", "a b"},
        {"blanks around the section name", "  [  S \t]  \r\nk=1\r\n", "S", "k", "1"},
        {"text after ] is ignored", "[S]x=y\r\nk=1\r\n", "S", "k", "1"},
        {"name ends at the first ]", "[S]]\r\nk=1\r\n", "S", "k", "1"},
        {"header without ]", "[S \r\nk=1\r\n", "S", "k", "1"},
        {"first key wins", "[S]\r\nk=1\r\nK=2\r\n", "S", "k", "1"},
        {"only the first section counts", "[S]\r\na=1\r\n[T]\r\n[s]\r\nk=2\r\n", "S", "k",
         std::nullopt},
        {"comment", "[S]\r\n;k=1\r\n", "S", "k", std::nullopt},
        {"indented comment", "[S]\r\n \t;k=1\r\n", "S", "k", std::nullopt},
        {"comment key name", "[S]\r\n;k=1\r\n", "S", ";k", std::nullopt},
        {"no inline comments", "[S]\r\nk=a ;b\r\n", "S", "k", "a ;b"},
        {"# is ordinary", "[S]\r\n#k=1\r\n", "S", "#k", "1"},
        {"line without =", "[S]\r\nk\r\nk=2\r\n", "S", "k", "2"},
        {"value holding =", "[S]\r\nk==a=b\r\n", "S", "k", "=a=b"},
        {"empty value", "[S]\r\nk=\r\n", "S", "k", ""},
        {"before the first section", "k=1\r\n[S]\r\n", "S", "k", std::nullopt},
        {"LF line ends", "[S]\nj=0\nk=1\n", "S", "k", "1"},
        {"CR line ends", "[S]\rj=0\rk=1\r", "S", "k", "1"},
        {"mixed line ends, none at the end", "[S]\r\nj=0\rk=1", "S", "k", "1"},
        {"blank lines", "\r\n\r\n[S]\r\n\r\n \t\r\nk=1\r\n", "S", "k", "1"},
        {"double quotes", "[S]\r\nk=\" a \"\r\n", "S", "k", " a "},
        {"single quotes", "[S]\r\nk=' a '\r\n", "S", "k", " a "},
        {"one pair only", "[S]\r\nk=\"\"a\"\"\r\n", "S", "k", "\"a\""},
        {"unmatched quotes stay", "[S]\r\nk=\"a'\r\n", "S", "k", "\"a'"},
        {"a single quote character", "[S]\r\nk=\"\r\n", "S", "k", "\""},
        {"quotes only", "[S]\r\nk=\"\"\r\n", "S", "k", ""},
        {"quotes inside stay", "[S]\r\nk=a\"b\"\r\n", "S", "k", "a\"b\""},
        {"blanks inside quotes, outside trimmed", "[S]\r\nk=  \"\t\"  \r\n", "S", "k", "\t"},
        {"quotes on names stay", "[S]\r\n\"k\"=1\r\n", "S", "k", std::nullopt},
        {"a UTF-8 BOM spoils the first header", bom + "[S]\r\nk=1\r\n", "S", "k", std::nullopt},
        {"CP1252 bytes as they are", "[S]\r\nk=\xE4\x80\x81\r\n", "S", "k", "\xE4\x80\x81"},
        {"missing section", "[S]\r\nk=1\r\n", "T", "k", std::nullopt},
        {"empty file", "", "S", "k", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(profileRead(c.content, c.section, c.key), c.expected) << c.what;
    }
}

TEST(IniReader, CutsValuesAtTheBufferLength) {
    const std::string longValue(3000, 'x');
    EXPECT_EQ(profileRead("[S]\r\nk=" + longValue + "\r\n", "S", "k"),
              std::string(kMaxValueLength, 'x'));
    EXPECT_EQ(profileRead("[S]\r\nk=" + std::string(kMaxValueLength, 'y') + "\r\n", "S", "k"),
              std::string(kMaxValueLength, 'y'));
}

TEST(IniReader, DefaultLosesItsTrailingSpaces) {
    EXPECT_EQ(profileDefault(" dflt  "), " dflt");
    EXPECT_EQ(profileDefault(""), "");
}

TEST(IniReader, ReadsIntegersAsDelphiDoes) {
    const std::pair<const char*, std::optional<std::int32_t>> cases[] = {
        {"0", 0},
        {"1", 1},
        {"2", 2},
        {"-1", -1},
        {"+7", 7},
        {"007", 7},
        {"  12", 12},
        {"0x1", 1},
        {"0X1f", 31},
        {"$FF", 255},
        {"x10", 16},
        {"-$10", -16},
        {"$FFFFFFFF", -1},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"2147483648", std::nullopt},
        {"$100000000", std::nullopt},
        {"", std::nullopt},
        {"42A", std::nullopt},
        {"true", std::nullopt},
        {"1.0", std::nullopt},
        {"1 ", std::nullopt},
        {"$", std::nullopt},
        {"0x", std::nullopt},
        {"-", std::nullopt},
        {"--1", std::nullopt},
        {"$G", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(delphiInteger(text), expected) << '"' << text << '"';
    }
}

TEST(IniReader, ReadBoolIsANumberOtherThanZero) {
    const std::pair<std::optional<std::string_view>, bool> cases[] = {
        {"1", true},     {"0x1", true},  {"2", true},     {"-1", true},
        {"\"1\"", true}, {"0", false},   {"$0", false},   {"abc", false},
        {"", false},     {"yes", false}, {"\"\"", false}, {std::nullopt, false},
    };
    for (const auto& [stored, expected] : cases) {
        EXPECT_EQ(profileBool(stored, false), expected) << stored.value_or("<missing>");
    }
    // The default stands for what is no number, not for 0.
    EXPECT_TRUE(profileBool(std::nullopt, true));
    EXPECT_TRUE(profileBool("junk", true));
    EXPECT_FALSE(profileBool("0", true));
}

} // namespace
} // namespace rtw::ini
