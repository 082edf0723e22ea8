#include "TempFolder.h"

#include "config/Clear.h"
#include "config/DeviceConfig.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace rtw {
namespace {

using testing::fixture;
using testing::readAll;
using testing::TempFolder;
using testing::writeAll;

// Every field off its default, the hidden ones included, and NC on both inputs.
void fillEverything(DeviceConfig& c) {
    for (const FieldInfo& f : allFields()) {
        switch (f.kind) {
        case FieldKind::PhoneEntry:
            c.setText(f.id, "+49" + std::to_string(1000000 + f.id) + "0123"); // 14 characters
            break;
        case FieldKind::SmsText:
            c.setText(f.id, std::string(126, static_cast<char>('A' + f.id % 26)) + "!");
            break;
        case FieldKind::DtmfCode:
            c.setText(f.id, "12345678901234");
            break;
        case FieldKind::Number:
            c.setText(f.id, std::to_string(f.maximum));
            break;
        case FieldKind::Choice:
            c.setSelected(f.id, f.name.back() == '2');
            break;
        }
    }
}

DeviceConfig reopened(const std::string& file) {
    DeviceConfig c;
    fillEverything(c); // Open must overwrite every field
    OpenSettingsFile(c, file);
    return c;
}

TEST(SettingsFile, SaveAfterClearWritesTheGoldenFile) {
    const TempFolder dir;
    DeviceConfig c;
    fillEverything(c);
    clearConfiguration(c);
    SaveSettingsFile(c, dir.file("new.pff"));
    EXPECT_EQ(readAll(dir.file("new.pff")), readAll(fixture("cleared.pff")));
}

TEST(SettingsFile, OpenGivesBackWhatSaveWrote) {
    const TempFolder dir;
    DeviceConfig saved;
    fillEverything(saved);
    saved.setText("memoSMSV1", std::string(127, 'x'));
    SaveSettingsFile(saved, dir.file("full.pff"));

    DeviceConfig c; // at its defaults, so every key has something to change
    OpenSettingsFile(c, dir.file("full.pff"));
    EXPECT_TRUE(c.sameValues(saved));
    EXPECT_EQ(c.text("memoSMSV1").size(), 127u);
    EXPECT_EQ(c.text("editPOV2_64").size(), 14u);
    EXPECT_EQ(c.text("MemoDTMFVYP2"), "12345678901234");
    EXPECT_EQ(c.text("spinKREDIT"), "9");
}

TEST(SettingsFile, AwkwardTextsRoundTripAndKeepOneLinePerKey) {
    const std::string texts[] = {
        " leading",
        "trailing ",
        "\t tabs \t",
        "\"quoted\"",
        "'single'",
        "\"",
        "a \"b\" c",
        "Zeile 1\r\nZeile 2",
        "\r\n",
        "ends in a break\r\n",
        "C:\\pfad\\neu",
        " \\n ",
        "\\r\\n",
        "\"\\n\"",
        "\xC4nderung \x80 5",
        ";kein Kommentar",
        "[keine Sektion]",
        "a=b",
        "#",
        std::string(2047, 'z'),
    };
    const TempFolder dir;
    for (const std::string& text : texts) {
        DeviceConfig saved;
        saved.setText("memoSMSZAP2", text);
        saved.setText("editPOO2_1", text);
        SaveSettingsFile(saved, dir.file("t.pff"));
        const std::string content = readAll(dir.file("t.pff"));
        EXPECT_EQ(std::count(content.begin(), content.end(), '\n'),
                  kSettingsSectionCount + kSettingsKeyCount)
            << text;
        const DeviceConfig c = reopened(dir.file("t.pff"));
        EXPECT_EQ(c.text("memoSMSZAP2"), text);
        EXPECT_EQ(c.text("editPOO2_1"), text);
    }
}

TEST(SettingsFile, PhoneEntriesKeepLoneLineBreaks) {
    // Multi-line fields turn every break into CR LF; a phone entry read from the unit keeps
    // its bytes, and so does the file.
    const TempFolder dir;
    DeviceConfig saved;
    saved.setText("editTCZSSMS_1", "1\n2\r3\\");
    SaveSettingsFile(saved, dir.file("t.pff"));
    EXPECT_EQ(reopened(dir.file("t.pff")).text("editTCZSSMS_1"), "1\n2\r3\\");
}

// Files as written on Windows, and by hand.
struct OpenCase {
    const char* what;
    std::string content;
    std::vector<std::pair<const char*, const char*>> texts;
    std::vector<std::pair<const char*, bool>> choices;
};

TEST(SettingsFile, OpenAppliesEachKeyInTurn) {
    const std::string windowsFile = readAll(fixture("windows.pff"));
    const OpenCase cases[] = {
        {"a gap ends a list; the other list stays",
         "[TCV]\r\neditTCV1_1=\r\neditTCV1_2=0911\r\neditTCV2_1=1\r\neditTCV2_2=2\r\n",
         {{"editTCV1_1", ""}, {"editTCV1_2", ""}, {"editTCV2_1", "1"}, {"editTCV2_2", "2"}},
         {}},
        {"entries 1, 2 and 4: the list ends at 2",
         "[POV]\r\neditPOV1_1=1\r\neditPOV1_2=2\r\neditPOV1_4=4\r\n",
         {{"editPOV1_1", "1"}, {"editPOV1_2", "2"}, {"editPOV1_3", ""}, {"editPOV1_4", ""}},
         {}},
        {"no AKT-DEAKT: neither choice",
         "[TCV]\r\n",
         {},
         {{"rbVST1_1", false}, {"rbVST1_2", false}, {"rbVST2_1", false}, {"rbVST2_2", false}}},
        {"NC wins over NO",
         "[AKT-DEAKT]\r\nrbVST1_1=1\r\nrbVST1_2=1\r\nrbVST2_1=1\r\nrbVST2_2=0\r\n",
         {},
         {{"rbVST1_1", false}, {"rbVST1_2", true}, {"rbVST2_1", true}, {"rbVST2_2", false}}},
        {"whole numbers select, other values clear",
         "[AKT-DEAKT]\r\nrbVST1_1=0x1\r\nrbVST1_2=true\r\nrbVST2_1=abc\r\nrbVST2_2=2\r\n",
         {},
         {{"rbVST1_1", true}, {"rbVST1_2", false}, {"rbVST2_1", false}, {"rbVST2_2", true}}},
        {"a missing key empties a number field, others are taken unchecked",
         "[INTERVAL]\r\nspinINTERVAL=999\r\n[CAS]\r\nspinCAS= 7x \r\n",
         {{"spinINTERVAL", "999"}, {"spinCAS", "7x"}, {"spinDELAY1", ""}, {"SpinCASRELE1", ""}},
         {}},
        {"long values are cut",
         "[SMSV]\r\nmemoSMSV1=" + std::string(5000, 'a') + "\r\n",
         {{"memoSMSV1", nullptr}},
         {}},
        {"as the Windows program writes it",
         windowsFile,
         {{"editTCV1_1", "+421905123456"},
          {"editTCV1_2", "0905111222"},
          {"editTCV1_3", ""},
          {"editPOO1_1", "0911"},
          {"memoSMSV1", "Alarm Eingang 1 ausgel\xF6st"},
          {"memoSMSNV1", "Eingang 1 zur\xFC"
                         "ckgesetzt"},
          {"memoSMSZAP1", "EIN"},
          {"memoSMSVYP1", "AUS"},
          {"MemoDTMFZAP1", "1234"},
          {"MemoDTMFVYP1", "4321"},
          {"editTCZSSMS_1", "0903999888"},
          {"editPOV2_1", "0907"},
          {"editPZS2_8", ""},
          {"spinINTERVAL", "7"},
          {"spinCAS", "12"},
          {"SpinCASRELE1", "5"},
          {"SpinCASRELE2", "255"},
          {"spinDELAY1", "3"},
          {"spinDELAY2", "1"},
          {"spinKREDIT", "2"}},
         {{"rbVST1_1", false}, {"rbVST1_2", true}, {"rbVST2_1", true}, {"rbVST2_2", false}}},
    };
    const TempFolder dir;
    for (const OpenCase& c : cases) {
        writeAll(dir.file("open.pff"), c.content);
        const DeviceConfig config = reopened(dir.file("open.pff"));
        for (const auto& [name, text] : c.texts) {
            if (text == nullptr) {
                EXPECT_EQ(config.text(name), std::string(2047, 'a')) << c.what;
            } else {
                EXPECT_EQ(config.text(name), text) << c.what << ": " << name;
            }
        }
        for (const auto& [name, selected] : c.choices) {
            EXPECT_EQ(config.isSelected(name), selected) << c.what << ": " << name;
        }
    }
}

TEST(SettingsFile, AnUnreadableFileOpensAsAnEmptyOne) {
    const TempFolder dir;
    writeAll(dir.file("plain.txt"), "nothing of ours\r\n");
    const std::string names[] = {dir.file("missing.pff"), dir.path(), dir.file("plain.txt"),
                                 dir.file("plain.txt/below.pff")};
    for (const std::string& name : names) {
        const DeviceConfig c = reopened(name);
        for (const FieldInfo& f : allFields()) {
            if (f.kind == FieldKind::Choice) {
                EXPECT_FALSE(c.isSelected(f.id)) << name << ": " << f.name;
            } else {
                EXPECT_EQ(c.text(f.id), "") << name << ": " << f.name;
            }
        }
    }
}

TEST(SettingsFile, SaveOverAFileKeepsEverythingElseByteForByte) {
    const std::string head = "; Anlage M\xFCller, Stand 2019\r\n"
                             "[Kunde]\r\n"
                             "Name = \"M\xFCller \" \r\n"
                             "\r\n";
    const std::string before = head + "[tcv]\n"
                                      "  EditTCV1_1 = 0911\n"
                                      "; zweite Nummer fehlt\n"
                                      "fremd=1\n"
                                      "\n"
                                      "[AKT-DEAKT]\r\n"
                                      "rbVST1_2=1";
    const std::string golden = readAll(fixture("cleared.pff"));
    const auto from = golden.find("[POO1_]");
    const auto to = golden.find("[AKT-DEAKT]");
    ASSERT_NE(from, std::string::npos);
    ASSERT_NE(to, std::string::npos);
    std::string tcvKeys;
    for (const char* key : {"editTCV1_2", "editTCV1_3", "editTCV1_4", "editTCV1_5", "editTCV1_6",
                            "editTCV1_7", "editTCV1_8", "editTCV2_1", "editTCV2_2", "editTCV2_3",
                            "editTCV2_4", "editTCV2_5", "editTCV2_6", "editTCV2_7", "editTCV2_8"}) {
        tcvKeys += std::string(key) + "=\r\n";
    }
    const std::string expected = head +
                                 "[tcv]\n"
                                 "  EditTCV1_1 = \n"
                                 "; zweite Nummer fehlt\n"
                                 "fremd=1\n" +
                                 tcvKeys +
                                 "\n"
                                 "[AKT-DEAKT]\r\n"
                                 "rbVST1_2=0\r\n"
                                 "rbVST1_1=1\r\n"
                                 "rbVST2_1=1\r\n"
                                 "rbVST2_2=0\r\n" +
                                 golden.substr(from, to - from);

    const TempFolder dir;
    writeAll(dir.file("old.pff"), before);
    SaveSettingsFile(DeviceConfig(), dir.file("old.pff"));
    EXPECT_EQ(readAll(dir.file("old.pff")), expected);

    // A second save of the same values changes nothing more.
    SaveSettingsFile(DeviceConfig(), dir.file("old.pff"));
    EXPECT_EQ(readAll(dir.file("old.pff")), expected);
}

} // namespace
} // namespace rtw
