#include "config/FieldTable.h"
#include "config/Cp1252.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

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

TEST(FieldTable, TypedIdentifiersNameTheirFields) {
    using field::Contact;
    const std::pair<FieldId, const char*> cases[] = {
        {field::spinINTERVAL, "spinINTERVAL"},
        {field::spinCAS, "spinCAS"},
        {field::spinKREDIT, "spinKREDIT"},
        {field::SpinCASRELE(2), "SpinCASRELE2"},
        {field::spinDELAY(1), "spinDELAY1"},
        {field::memoSMSV(2), "memoSMSV2"},
        {field::memoSMSNV(1), "memoSMSNV1"},
        {field::memoSMSZAP(2), "memoSMSZAP2"},
        {field::memoSMSVYP(1), "memoSMSVYP1"},
        {field::MemoDTMFZAP(2), "MemoDTMFZAP2"},
        {field::MemoDTMFVYP(1), "MemoDTMFVYP1"},
        {field::rbVST(1, Contact::NO), "rbVST1_1"},
        {field::rbVST(2, Contact::NC), "rbVST2_2"},
        {entryField(ListId::POO2, 1), "editPOO2_1"},
        {entryField(ListId::TCZSSMS, 8), "editTCZSSMS_8"},
        {entryField(ListId::PZS1, 8), "editPZS1_8"},
    };
    for (const auto& [id, name] : cases) {
        EXPECT_EQ(fieldInfo(id).name, name);
        EXPECT_EQ(fieldId(name), id);
    }
    static_assert(field::spinCAS == fieldOf(FieldRowId::CAS));
}

TEST(FieldTable, IdentifiersOutsideTheirRowsAreRefused) {
    EXPECT_THROW((void)field::memoSMSV(0), std::out_of_range);
    EXPECT_THROW((void)field::SpinCASRELE(3), std::out_of_range);
    EXPECT_THROW((void)entryField(ListId::TCV1, 9), std::out_of_range);
    EXPECT_THROW((void)entryField(ListId::POV2, 0), std::out_of_range);
    EXPECT_NO_THROW((void)entryField(ListId::POV2, 64));
    EXPECT_THROW((void)fieldOf(FieldRowId::CAS, 1), std::out_of_range);
}

TEST(FieldTable, RowsExpandIntoEveryFieldOnceInFileOrder) {
    std::vector<int> seen(allFields().size());
    for (std::size_t r = 0; r < kFieldRowCount; ++r) {
        const auto row = static_cast<FieldRowId>(r);
        for (const FieldId id : rowFields(row)) {
            EXPECT_EQ(fieldInfo(id).row, row);
            ++seen.at(id);
        }
    }
    EXPECT_EQ(std::count(seen.begin(), seen.end(), 1), 207);
    for (std::size_t i = 0; i < allFields().size(); ++i) {
        EXPECT_EQ(allFields()[i].id, i);
    }
    // A section with two rows runs by input first.
    EXPECT_EQ(field::rbVST(1, field::Contact::NC), field::rbVST(1, field::Contact::NO) + 1);
    EXPECT_EQ(field::rbVST(2, field::Contact::NO), field::rbVST(1, field::Contact::NC) + 1);
}

TEST(FieldTable, EachFieldCarriesItsSettingsSection) {
    const std::pair<FieldId, const char*> cases[] = {
        {entryField(ListId::TCV2, 8), "TCV"},
        {entryField(ListId::POO1, 1), "POO1_"},
        {entryField(ListId::POO2, 8), "POO2_"},
        {field::MemoDTMFVYP(2), "DTMFVYP"},
        {entryField(ListId::POV2, 64), "POV"},
        {field::SpinCASRELE(2), "CASRELE2"},
        {field::spinDELAY(1), "DELAY1"},
        {field::spinKREDIT, "KREDIT"},
        {field::rbVST(2, field::Contact::NO), "AKT-DEAKT"},
    };
    for (const auto& [id, section] : cases) {
        EXPECT_EQ(fieldInfo(id).section, section) << fieldInfo(id).name;
    }
}

TEST(FieldTable, WindowTextsOfGroupsPagesAndFields) {
    EXPECT_EQ(groupCaption(WindowGroup::Status), "Tel. Nr. für Status-SMS ");
    EXPECT_EQ(groupHint(WindowGroup::Status),
              "Text Nachricht mit Status-Meldungen an folgende Nummern");
    EXPECT_EQ(groupHint(WindowGroup::OutputSms), "SMS für Ausgang Fernsteuerung");
    EXPECT_EQ(pageCaption(WindowPage::Input, 2), "2. Eingang");
    EXPECT_EQ(pageHint(WindowPage::Input, 2), "");
    EXPECT_EQ(pageCaption(WindowPage::Reception, 2), "2.Ausgang - Empfang");
    EXPECT_EQ(pageHint(WindowPage::SmsControl, 1),
              "Telefon Nummern für 1.Ausgang SMS-Fernsteuerung");
    EXPECT_EQ(pageHint(WindowPage::Output, 2), "SMS für 2.Ausgang Fernsteuerung");

    EXPECT_EQ(labelLines(fieldInfo(field::memoSMSNV(1))),
              (std::vector<std::string>{"Text SMS", "bei Eingang", "Rücksetzen"}));
    EXPECT_EQ(labelLines(fieldInfo(field::spinCAS)), std::vector<std::string>{"Zeitpunkt:"});
    EXPECT_EQ(fieldInfo(field::spinCAS).unit, "00:Uhr");
    EXPECT_EQ(fieldInfo(entryField(ListId::PZS2, 1)).heading, "Tel. Nr. für Sprachnachrichten");
    EXPECT_EQ(fieldInfo(field::rbVST(2, field::Contact::NC)).label, "NC");
    EXPECT_EQ(fieldInfo(field::SpinCASRELE(2)).hint, "Einschaltdauer 2. Ausgang");
    EXPECT_EQ(fieldInfo(field::memoSMSZAP(1)).hint, "Text SMS für 1.Ausgang einschalten");
}

// Messages name a field by these; rtwctl check prints them.
TEST(FieldTable, DisplayNamesFollowTheWindow) {
    const std::pair<FieldId, const char*> cases[] = {
        {entryField(ListId::PZS1, 3),
         "Tel. Nr. für SMS-Versand / 1. Eingang / Tel. Nr. für Sprachnachrichten / 3.Nummer"},
        {entryField(ListId::TCZSSMS, 2), "Tel. Nr. für Status-SMS / 2.Nummer"},
        {entryField(ListId::POV2, 64),
         "Telefon Nummern für Ausgang Fernsteuerung / 2.Ausgang - Empfang / 64.Num."},
        {field::memoSMSV(2),
         "Tel. Nr. für SMS-Versand / 2. Eingang / Text SMS bei Eingang Auslösen"},
        {field::memoSMSVYP(1), "SMS für Ausgang Fernsteuerung / 1.Ausgang / Text SMS - auschalten"},
        {field::MemoDTMFZAP(2),
         "SMS für Ausgang Fernsteuerung / 2.Ausgang / DTMF-Code einschalten"},
        {field::spinINTERVAL, "Tel. Nr. für Status-SMS / Senden Alle: (Tage)"},
        {field::spinKREDIT, "Tel. Nr. für Status-SMS / Kredit (€)"},
        {field::spinDELAY(2), "Tel. Nr. für SMS-Versand / 2. Eingang / Verzögerung (sek.)"},
    };
    for (const auto& [id, shown] : cases) {
        EXPECT_EQ(utf8FromCp1252(displayName(fieldInfo(id))), shown);
    }
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
