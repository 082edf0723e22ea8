#include "config/DeviceConfig.h"
#include "config/Clear.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace rtw {
namespace {

std::string entryName(ListId list, int k) {
    return fieldInfo(entryField(list, k)).name;
}

void fill(DeviceConfig& c, ListId list, int count) {
    for (int k = 1; k <= count; ++k) {
        c.setText(entryField(list, k), "0" + std::to_string(k));
    }
}

// The three invariants of every list.
void expectInvariants(const DeviceConfig& c) {
    for (int l = 0; l < kListCount; ++l) {
        const auto list = static_cast<ListId>(l);
        EXPECT_TRUE(c.isEnabled(entryField(list, 1)));
        for (int k = 1; k < listInfo(list).size; ++k) {
            const FieldId cur = entryField(list, k);
            const FieldId next = entryField(list, k + 1);
            EXPECT_EQ(c.isEnabled(next), !c.text(cur).empty()) << entryName(list, k + 1);
            if (!c.isEnabled(next)) {
                EXPECT_TRUE(c.text(next).empty()) << entryName(list, k + 1);
            }
        }
    }
}

TEST(DeviceConfig, StartsAtTheDefaults) {
    const DeviceConfig c;
    EXPECT_EQ(c.text("spinDELAY1"), "1");
    EXPECT_EQ(c.text("spinDELAY2"), "1");
    EXPECT_EQ(c.text("spinINTERVAL"), "0");
    EXPECT_EQ(c.text("memoSMSV1"), "");
    EXPECT_TRUE(c.isSelected("rbVST1_1"));
    EXPECT_FALSE(c.isSelected("rbVST1_2"));
    EXPECT_FALSE(c.isNC(1));
    EXPECT_TRUE(c.isEnabled("editPOV1_1"));
    EXPECT_FALSE(c.isEnabled("editPOV1_2"));
    expectInvariants(c);
}

TEST(FillRule, TypingIntoTheEnabledEntryEnablesTheNext) {
    DeviceConfig c;
    c.setText("editTCZSSMS_1", "+");
    EXPECT_TRUE(c.isEnabled("editTCZSSMS_2"));
    EXPECT_FALSE(c.isEnabled("editTCZSSMS_3"));
    c.setText("editTCZSSMS_1", " "); // a blank is a character
    EXPECT_TRUE(c.isEnabled("editTCZSSMS_2"));
}

TEST(FillRule, EmptyingAnEntryEmptiesEveryLaterOne) {
    DeviceConfig c;
    fill(c, ListId::POO2, 8);
    c.setText("editPOO2_3", "");
    EXPECT_EQ(c.text("editPOO2_1"), "01");
    EXPECT_EQ(c.text("editPOO2_2"), "02");
    EXPECT_TRUE(c.isEnabled("editPOO2_3"));
    for (int k = 3; k <= 8; ++k) {
        EXPECT_EQ(c.text(entryName(ListId::POO2, k)), "") << k;
    }
    for (int k = 4; k <= 8; ++k) {
        EXPECT_FALSE(c.isEnabled(entryName(ListId::POO2, k))) << k;
    }
    expectInvariants(c);
}

TEST(FillRule, EmptyingEntryOneOfAFullLongListEmptiesTheList) {
    DeviceConfig c;
    fill(c, ListId::POV1, 64);
    fill(c, ListId::POV2, 3);
    EXPECT_EQ(c.usedEntries(ListId::POV1), 64);
    c.setText("editPOV1_1", "");
    EXPECT_EQ(c.usedEntries(ListId::POV1), 0);
    EXPECT_EQ(c.usedEntries(ListId::POV2), 3); // the other list is untouched
    EXPECT_TRUE(c.isEnabled("editPOV1_1"));
    EXPECT_FALSE(c.isEnabled("editPOV1_2"));
    expectInvariants(c);
}

TEST(FillRule, ATextBehindAnEmptyEntryDoesNotStay) {
    DeviceConfig c;
    c.setText("editTCV1_1", "1");
    c.setText("editTCV1_2", "2");
    c.setText("editTCV1_4", "4"); // entry 3 empty
    EXPECT_EQ(c.text("editTCV1_4"), "");
    EXPECT_TRUE(c.isEnabled("editTCV1_3"));
    EXPECT_FALSE(c.isEnabled("editTCV1_4"));
    EXPECT_EQ(c.usedEntries(ListId::TCV1), 2);
}

TEST(FillRule, AnnouncesEveryChangeIncludingItsOwn) {
    DeviceConfig c;
    fill(c, ListId::PZS1, 4);
    std::vector<std::pair<std::string, ChangeKind>> seen;
    c.addObserver([&](const FieldChange& ch) { seen.emplace_back(ch.name(), ch.kind); });
    c.setText("editPZS1_2", "");
    // Entries 3 and 4 are emptied by the rule, and each announced with its name.
    int texts = 0;
    for (const auto& [name, kind] : seen) {
        if (kind == ChangeKind::Text) {
            ++texts;
            EXPECT_TRUE(name == "editPZS1_2" || name == "editPZS1_3" || name == "editPZS1_4");
        }
    }
    EXPECT_EQ(texts, 3);
    EXPECT_NE(std::find(seen.begin(), seen.end(),
                        std::make_pair(std::string("editPZS1_4"), ChangeKind::Enabled)),
              seen.end());
    seen.clear();
    c.setText("editPZS1_1", "01"); // the text it already holds
    EXPECT_TRUE(seen.empty());
}

TEST(FillRule, InvariantsHoldAfterArbitraryEdits) {
    DeviceConfig c;
    std::mt19937 rng(7);
    for (int i = 0; i < 5000; ++i) {
        const auto list = static_cast<ListId>(rng() % kListCount);
        const int k = 1 + static_cast<int>(rng() % static_cast<unsigned>(listInfo(list).size));
        c.setText(entryField(list, k), rng() % 3 == 0 ? "" : std::to_string(rng() % 100));
    }
    expectInvariants(c);
}

TEST(ContactType, SelectingOneClearsItsPartnerAndClearingSelectsNothing) {
    DeviceConfig c;
    c.setSelected("rbVST1_2", true);
    EXPECT_FALSE(c.isSelected("rbVST1_1"));
    EXPECT_TRUE(c.isNC(1));
    EXPECT_FALSE(c.isNC(2));
    c.setSelected("rbVST1_2", false);
    EXPECT_FALSE(c.isSelected("rbVST1_1"));
    EXPECT_FALSE(c.isSelected("rbVST1_2"));
    EXPECT_FALSE(c.isNC(1)); // neither selected counts as NO
    c.setSelected("rbVST2_1", true);
    EXPECT_FALSE(c.isSelected("rbVST2_2"));
    EXPECT_FALSE(c.isSelected("rbVST1_1")); // inputs are independent
}

TEST(DeviceConfig, MultiLineFieldsKeepLineBreaksAsCrLf) {
    DeviceConfig c;
    c.setText("memoSMSV1", "a\nb\rc\r\nd");
    EXPECT_EQ(c.text("memoSMSV1"), "a\r\nb\r\nc\r\nd");
    c.setText("MemoDTMFZAP1", "1\n2");
    EXPECT_EQ(c.text("MemoDTMFZAP1"), "1\r\n2");
    c.setText("editPOV1_1", "1\n2"); // phone entries take the bytes as they are
    EXPECT_EQ(c.text("editPOV1_1"), "1\n2");
}

TEST(DeviceConfig, CopiesCarryValuesNotObservers) {
    DeviceConfig a;
    int calls = 0;
    a.addObserver([&](const FieldChange&) { ++calls; });
    fill(a, ListId::TCV2, 3);
    const int before = calls;
    DeviceConfig b(a);
    b.setText("memoSMSZAP2", "x");
    EXPECT_EQ(calls, before);
    a.assign(b);
    EXPECT_TRUE(a.sameValues(b));
    EXPECT_GT(calls, before);
}

TEST(Clear, RestoresEveryDefaultWhateverTheStateBefore) {
    DeviceConfig c;
    for (int l = 0; l < kListCount; ++l) {
        fill(c, static_cast<ListId>(l), listInfo(static_cast<ListId>(l)).size);
    }
    for (const FieldInfo& f : allFields()) {
        if (f.kind == FieldKind::SmsText || f.kind == FieldKind::DtmfCode) {
            c.setText(f.id, "x");
        } else if (f.kind == FieldKind::Number) {
            c.setText(f.id, "77");
        }
    }
    c.setSelected("rbVST1_2", true);
    c.setSelected("rbVST2_2", false);
    c.setSelected("rbVST2_1", false);
    clearConfiguration(c);
    EXPECT_TRUE(c.sameValues(DeviceConfig()));
    EXPECT_FALSE(c.isNC(1));
    EXPECT_TRUE(c.isSelected("rbVST2_1"));
}

// The window mirrors Clear change by change, so the order of its steps is visible.
TEST(Clear, ChangesTheFieldsInItsOrder) {
    DeviceConfig c;
    for (int l = 0; l < kListCount; ++l) {
        fill(c, static_cast<ListId>(l), listInfo(static_cast<ListId>(l)).size);
    }
    for (const FieldInfo& f : allFields()) {
        if (f.kind == FieldKind::SmsText || f.kind == FieldKind::DtmfCode) {
            c.setText(f.id, "x");
        } else if (f.kind == FieldKind::Number) {
            c.setText(f.id, "77");
        }
    }
    c.setSelected("rbVST1_2", true);
    c.setSelected("rbVST2_2", true);

    std::vector<std::string> expected;
    const auto addList = [&](ListId list) {
        for (int k = 1; k <= listInfo(list).size; ++k) {
            expected.push_back(entryName(list, k));
        }
    };
    addList(ListId::TCV1);
    addList(ListId::TCV2);
    addList(ListId::POO1);
    addList(ListId::POO2);
    for (const char* name : {"memoSMSV1", "memoSMSV2", "memoSMSNV1", "memoSMSNV2", "memoSMSZAP1",
                             "memoSMSZAP2", "memoSMSVYP1", "memoSMSVYP2", "MemoDTMFZAP1",
                             "MemoDTMFZAP2", "MemoDTMFVYP1", "MemoDTMFVYP2"}) {
        expected.emplace_back(name);
    }
    addList(ListId::TCZSSMS);
    addList(ListId::POV1);
    addList(ListId::POV2);
    addList(ListId::PZS1);
    addList(ListId::PZS2);
    for (const char* name :
         {"spinINTERVAL", "spinCAS", "SpinCASRELE1", "SpinCASRELE2", "spinKREDIT", "spinDELAY1",
          "spinDELAY2", "rbVST1_1", "rbVST1_2", "rbVST2_1", "rbVST2_2"}) {
        expected.emplace_back(name);
    }

    std::vector<std::string> seen;
    c.addObserver([&](const FieldChange& ch) {
        if (ch.kind != ChangeKind::Enabled) {
            seen.push_back(ch.name());
        }
    });
    clearConfiguration(c);
    EXPECT_EQ(seen, expected);
}

} // namespace
} // namespace rtw
