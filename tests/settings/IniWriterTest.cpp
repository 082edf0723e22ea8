#include "settings/IniDocument.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace rtw::ini {
namespace {

std::string written(std::string_view before, std::string_view section, std::string_view key,
                    std::string_view value) {
    IniDocument doc(before);
    doc.setValue(section, key, value);
    return doc.content();
}

TEST(IniWriter, ChangesTheFileAsTheProfileFunctionsDo) {
    struct Case {
        const char* what;
        std::string before;
        const char* section;
        const char* key;
        const char* value;
        std::string after;
    };
    const Case cases[] = {
        {"new file", "", "S", "k", "v", "[S]\r\nk=v\r\n"},
        {"value in place, letter case and text before it kept", "[s]\r\n  K \t= old  \r\nx=1\r\n",
         "S", "k", "new", "[s]\r\n  K \t= new\r\nx=1\r\n"},
        {"empty value in place", "[S]\r\nk=\r\n", "S", "k", "v", "[S]\r\nk=v\r\n"},
        {"value emptied in place", "[S]\r\nk = v\r\n", "S", "k", "", "[S]\r\nk = \r\n"},
        {"first of two keys", "[S]\r\nk=1\r\nk=2\r\n", "S", "k", "3", "[S]\r\nk=3\r\nk=2\r\n"},
        {"missing key after the section's last key",
         "[S]\r\na=1\r\n;c\r\nb=2\r\n\r\n;end\r\n[T]\r\n", "S", "k", "v",
         "[S]\r\na=1\r\n;c\r\nb=2\r\nk=v\r\n\r\n;end\r\n[T]\r\n"},
        {"missing key in a section without keys", "[S]\r\n;c\r\n\r\n[T]\r\n", "S", "k", "v",
         "[S]\r\nk=v\r\n;c\r\n\r\n[T]\r\n"},
        {"missing key after a last line without line end", "[S]\r\na=1", "S", "k", "v",
         "[S]\r\na=1\r\nk=v\r\n"},
        {"missing key after a header without line end", "[S]", "S", "k", "v", "[S]\r\nk=v\r\n"},
        {"missing section at the end, no blank line", "[T]\r\na=1\r\n\r\n", "S", "k", "v",
         "[T]\r\na=1\r\n\r\n[S]\r\nk=v\r\n"},
        {"missing section after a last line without line end", ";x", "S", "k", "v",
         ";x\r\n[S]\r\nk=v\r\n"},
        {"only the first occurrence of a section is written", "[S]\r\na=1\r\n[S]\r\nk=1\r\n", "S",
         "k", "2", "[S]\r\na=1\r\nk=2\r\n[S]\r\nk=1\r\n"},
        {"other line ends stay, new lines get CR LF", "[S]\na=1\rb=2\n", "S", "k", "v",
         "[S]\na=1\rb=2\nk=v\r\n"},
        {"a replaced line keeps its line end", "[S]\nk=1\n", "S", "k", "2", "[S]\nk=2\n"},
        {"a section spoilt by a BOM is not found", "\xEF\xBB\xBF[S]\r\nk=1\r\n", "S", "k", "2",
         "\xEF\xBB\xBF[S]\r\nk=1\r\n[S]\r\nk=2\r\n"},
        {"the value as it stands", "", "S", "k", " \"q\" ", "[S]\r\nk= \"q\" \r\n"},
        {"lines before the first section stay", "k=1\r\n", "S", "k", "2", "k=1\r\n[S]\r\nk=2\r\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(written(c.before, c.section, c.key, c.value), c.after) << c.what;
    }
}

TEST(IniWriter, KeepsUntouchedBytesAndReadsBackWhatItWrote) {
    const std::string foreign = "; made by hand\r\n[Other]\r\nx = \"1\" \r\n\r\n";
    IniDocument doc(foreign + "[S]\r\n");
    for (int i = 0; i < 3; ++i) {
        doc.setValue("S", "k" + std::to_string(i), std::to_string(i));
    }
    doc.setValue("S", "K1", "one");
    EXPECT_EQ(doc.content(), foreign + "[S]\r\nk0=0\r\nk1=one\r\nk2=2\r\n");
    EXPECT_EQ(doc.storedValue("s", "k1"), "one");
    EXPECT_EQ(doc.storedValue("Other", "x"), "\"1\"");
}

TEST(IniWriter, RefusesWhatWouldBreakTheFile) {
    IniDocument doc;
    const std::tuple<const char*, const char*, const char*> misuse[] = {
        {"S", "k", "a\r\nb"}, {"S", "k", "a\nb"}, {"S", "k", "a\rb"}, {"S]", "k", "v"},
        {"S\n", "k", "v"},    {" S", "k", "v"},   {"S", "", "v"},     {"S", "k=", "v"},
        {"S", ";k", "v"},     {"S", "[k", "v"},   {"S", "k\r", "v"},  {"S", " k", "v"},
    };
    for (const auto& [section, key, value] : misuse) {
        EXPECT_THROW(doc.setValue(section, key, value), std::invalid_argument)
            << section << "/" << key;
    }
    EXPECT_EQ(doc.content(), "");
}

} // namespace
} // namespace rtw::ini
