#include "config/FieldTable.h"
#include "config/Cp1252.h"

#include <gtest/gtest.h>

#include <map>

namespace rtw {
namespace {

TEST(FieldTable, HoldsEveryFieldOnceByKind) {
    std::map<FieldKind, int> kinds;
    for (const FieldInfo& f : allFields()) {
        ++kinds[f.kind];
        EXPECT_EQ(&fieldInfo(f.id), &f);
    }
    EXPECT_EQ(allFields().size(), 207u);
    EXPECT_EQ(kinds[FieldKind::PhoneEntry], 184);
    EXPECT_EQ(kinds[FieldKind::SmsText], 8);
    EXPECT_EQ(kinds[FieldKind::DtmfCode], 4);
    EXPECT_EQ(kinds[FieldKind::Number], 7);
    EXPECT_EQ(kinds[FieldKind::Choice], 4);
}

TEST(FieldTable, LookUpIgnoresLetterCaseAndYieldsTheCanonicalName) {
    const std::pair<const char*, const char*> cases[] = {
        {"spincasrele1", "SpinCASRELE1"}, {"spinCASRELE2", "SpinCASRELE2"},
        {"memoDTMFZAP1", "MemoDTMFZAP1"}, {"MemoSMSZAP1", "memoSMSZAP1"},
        {"EDITPOV2_64", "editPOV2_64"},   {"rbvst2_2", "rbVST2_2"},
    };
    for (const auto& [query, canonical] : cases) {
        const auto id = findField(query);
        ASSERT_TRUE(id) << query;
        EXPECT_EQ(fieldInfo(*id).name, canonical);
    }
    EXPECT_FALSE(findField("editPOV1_65"));
    EXPECT_FALSE(findField("spinCASRELE"));
    EXPECT_THROW((void)fieldId("nothing"), std::invalid_argument);
}

TEST(FieldTable, NumberFieldsCarryTheirRangesAndDefaults) {
    struct Row {
        const char* name;
        int digits, minimum, maximum;
        const char* defaultText;
    };
    const Row rows[] = {
        {"spinINTERVAL", 3, 0, 180, "0"}, {"spinCAS", 2, 0, 23, "0"},
        {"SpinCASRELE1", 3, 0, 255, "0"}, {"SpinCASRELE2", 3, 0, 255, "0"},
        {"spinDELAY1", 3, 1, 255, "1"},   {"spinDELAY2", 3, 1, 255, "1"},
        {"spinKREDIT", 1, 0, 9, "0"},
    };
    for (const Row& r : rows) {
        const FieldInfo& f = fieldInfo(fieldId(r.name));
        EXPECT_EQ(f.kind, FieldKind::Number) << r.name;
        EXPECT_EQ(f.typedLimit, r.digits) << r.name;
        EXPECT_EQ(f.minimum, r.minimum) << r.name;
        EXPECT_EQ(f.maximum, r.maximum) << r.name;
        EXPECT_EQ(f.step, 1) << r.name;
        EXPECT_EQ(f.defaultText, r.defaultText) << r.name;
    }
    EXPECT_TRUE(fieldInfo(fieldId("spinKREDIT")).hidden);
    EXPECT_TRUE(fieldInfo(fieldId("MemoDTMFVYP2")).hidden);
    EXPECT_FALSE(fieldInfo(fieldId("memoSMSVYP2")).hidden);
}

TEST(FieldTable, ListsAndTheirWindowTexts) {
    EXPECT_EQ(listInfo(ListId::POV2).size, 64);
    EXPECT_EQ(fieldInfo(entryField(ListId::POV2, 64)).name, "editPOV2_64");
    EXPECT_EQ(fieldInfo(entryField(ListId::POV1, 64)).label, "64.Num.");
    EXPECT_EQ(fieldInfo(entryField(ListId::TCZSSMS, 3)).name, "editTCZSSMS_3");
    EXPECT_EQ(fieldInfo(entryField(ListId::TCV1, 5)).label, "5.Nummer");
    EXPECT_EQ(fieldInfo(entryField(ListId::TCV2, 5)).label, "5 Nummer");
    EXPECT_EQ(fieldInfo(fieldId("editTCV2_1")).page, "2. Eingang");
    EXPECT_EQ(utf8FromCp1252(displayName(fieldInfo(fieldId("editTCV1_3")))),
              "Tel. Nr. für SMS-Versand / 1. Eingang / 3.Nummer");
    EXPECT_EQ(fieldInfo(fieldId("MemoDTMFZAP2")).hint, "DTMF kód, ktorým sa bude zapínať 2.výstup");
}

TEST(Cp1252, ConvertsBothWaysAndReplacesWhatItCannotHold) {
    EXPECT_EQ(cp1252FromUtf8("Wählgerät €"), "W\xE4hlger\xE4t \x80");
    EXPECT_EQ(utf8FromCp1252("\x80\x9F\xDF"), "€Ÿß");
    EXPECT_EQ(cp1252FromUtf8("日本"), "??");
    EXPECT_EQ(cp1252FromUtf8("a\xC3"), "a?"); // cut sequence
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(cp1252FromUtf8(utf8FromCp1252(one)), one) << b;
    }
}

} // namespace
} // namespace rtw
