#include "config/Cp1252.h"
#include "config/DeviceConfig.h"
#include "config/KeyFilters.h"
#include "config/NumberField.h"
#include "config/Validation.h"

#include <gtest/gtest.h>

#include <string>

namespace rtw {
namespace {

// What typing a sequence of characters through a filter leaves in an empty field.
template <typename Filter> std::string typeThrough(Filter filter, std::string_view keys) {
    std::string out;
    for (char k : keys) {
        filter(k);
        if (k != 0) {
            out += k;
        }
    }
    return out;
}

TEST(KeyFilters, OnlyNumbersPassesDigitsPlusAndControls) {
    EXPECT_EQ(typeThrough(onlyNumbers, "+1 23"), "+123");
    EXPECT_EQ(typeThrough(onlyNumbers, "-*#()a\xE4"), "");
    for (int code : {3, 8, 13, 22, 24, 31}) { // Ctrl+C, backspace, Enter, Ctrl+V, Ctrl+X
        char k = static_cast<char>(code);
        onlyNumbers(k);
        EXPECT_EQ(k, static_cast<char>(code)) << code;
    }
}

TEST(KeyFilters, OnlyTextPassesBackspaceAndPrintableAscii) {
    EXPECT_EQ(typeThrough(onlyText, "Tor auf 1!~\x7F"), "Tor auf 1!~\x7F");
    EXPECT_EQ(typeThrough(onlyText, cp1252FromUtf8("äßé€")), "");
    for (int code : {0, 3, 9, 13, 22, 24, 31}) {
        char k = static_cast<char>(code);
        onlyText(k);
        EXPECT_EQ(k, 0) << code;
    }
    char backspace = 8;
    onlyText(backspace);
    EXPECT_EQ(backspace, 8);
}

TEST(KeyFilters, NumberFieldsTakeDigitsAndControlsButEnter) {
    EXPECT_TRUE(numberFieldAccepts('0'));
    EXPECT_TRUE(numberFieldAccepts('9'));
    EXPECT_TRUE(numberFieldAccepts(8));
    EXPECT_FALSE(numberFieldAccepts(13));
    EXPECT_FALSE(numberFieldAccepts('-'));
    EXPECT_FALSE(numberFieldAccepts('a'));
}

TEST(NumberField, LosingFocusClampsOutOfRangeAndKeepsTheRest) {
    struct Row {
        const char* field;
        const char* typed;
        const char* after;
    };
    const Row rows[] = {
        {"spinDELAY1", "0", "1"},  {"spinINTERVAL", "999", "180"},
        {"spinCAS", "24", "23"},   {"spinCAS", "007", "007"},
        {"spinKREDIT", "", ""},    {"spinKREDIT", "x1", "x1"},
        {"spinDELAY2", "-4", "1"}, {"SpinCASRELE1", "99999999999999999999999", "255"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(numberAfterFocusLoss(fieldInfo(fieldId(r.field)), r.typed), r.after)
            << r.field << " " << r.typed;
    }
}

TEST(NumberField, SteppingClampsAndTreatsNoNumberAsTheMinimum) {
    struct Row {
        const char* field;
        const char* text;
        StepDirection dir;
        const char* after;
    };
    const Row rows[] = {
        {"SpinCASRELE1", "255", StepDirection::Up, "255"},
        {"spinDELAY2", "1", StepDirection::Down, "1"},
        {"spinDELAY2", "", StepDirection::Up, "2"},
        {"spinDELAY2", "abc", StepDirection::Down, "1"},
        {"spinCAS", "", StepDirection::Up, "1"},
        {"spinINTERVAL", "999", StepDirection::Up, "180"},
        {"spinINTERVAL", "007", StepDirection::Up, "8"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(stepNumber(fieldInfo(fieldId(r.field)), r.text, r.dir), r.after)
            << r.field << " " << r.text;
    }
}

TEST(Validation, ADefaultConfigurationCanBeSent) {
    EXPECT_TRUE(validateForSend(DeviceConfig()).empty());
}

TEST(Validation, NamesEveryFieldThatCannotBeSent) {
    DeviceConfig c;
    c.setText("editPOV1_1", std::string(15, '1'));
    c.setText("MemoDTMFVYP1", std::string(14, '1')); // at the limit: fine
    c.setText("memoSMSZAP1", std::string(128, 'a'));
    c.setText("memoSMSZAP2", std::string(127, 'a'));
    c.setText("spinCAS", "24");
    c.setText("spinKREDIT", "");
    c.setText("spinINTERVAL", "1a");
    c.setText("spinDELAY1", "0255"); // leading zeros are fine
    const auto problems = validateForSend(c);
    const char* expected[] = {
        "SMS für Ausgang Fernsteuerung / 1.Ausgang / Text SMS - einschalten: Der Text ist 128 "
        "Zeichen lang, höchstens 127 sind möglich.",
        "Telefon Nummern für Ausgang Fernsteuerung / 1.Ausgang - Empfang / 1.Num.: Der Text ist "
        "15 Zeichen lang, höchstens 14 sind möglich.",
        "Tel. Nr. für Status-SMS / Senden Alle: (Tage): \"1a\" ist keine ganze Zahl.",
        "Tel. Nr. für Status-SMS / Zeitpunkt: (00:Uhr): Der Wert 24 liegt nicht zwischen 0 und "
        "23.",
        "Tel. Nr. für Status-SMS / Kredit (€): Es ist keine Zahl eingetragen.",
    };
    ASSERT_EQ(problems.size(), std::size(expected));
    for (std::size_t i = 0; i < problems.size(); ++i) {
        EXPECT_EQ(utf8FromCp1252(problems[i]), expected[i]);
    }
}

} // namespace
} // namespace rtw
