#include "ImageTestSupport.h"

#include "protocol/ConfigImage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace rtw {
namespace {

using test::blockAt;
using test::differences;
using test::textBlockAt;

// Every list full, every multi-line field and number set, input 1 NC: a change anywhere shows.
DeviceConfig busyConfig() {
    DeviceConfig c;
    test::fillEveryList(c);
    for (const FieldInfo& f : allFields()) {
        if (f.kind == FieldKind::SmsText || f.kind == FieldKind::DtmfCode) {
            c.setText(f.id, "old");
        } else if (f.kind == FieldKind::Number) {
            c.setText(f.id, "7");
        }
    }
    c.setSelected("rbVST1_2", true);
    return c;
}

// The fields that differ from before, by name.
std::vector<std::string> changedFields(const DeviceConfig& before, const DeviceConfig& after) {
    std::vector<std::string> out;
    for (const FieldInfo& f : allFields()) {
        if (f.kind == FieldKind::Choice ? before.isSelected(f.id) != after.isSelected(f.id)
                                        : before.text(f.id) != after.text(f.id)) {
            out.push_back(f.name);
        }
    }
    return out;
}

TEST(ApplyImageBlock, TextBlockReplacesTheFieldItsAddressNames) {
    const std::pair<std::uint16_t, const char*> cases[] = {
        {0, "editPOV1_1"},      {5, "editPOV1_1"},       {1008, "editPOV1_64"},
        {1023, "editPOV1_64"},  {1024, "editPOV2_1"},    {1056, "editPOV2_3"},
        {2047, "editPOV2_64"},  {2048, "editPOO1_1"},    {2175, "editPOO1_8"},
        {2176, "editPOO2_1"},   {2303, "editPOO2_8"},    {2304, "editPZS1_1"},
        {2440, "editPZS2_1"},   {2560, "editTCV1_1"},    {2688, "editTCV2_1"},
        {2800, "editTCV2_8"},   {2816, "editTCZSSMS_1"}, {2943, "editTCZSSMS_8"},
        {2944, "MemoDTMFZAP1"}, {2960, "MemoDTMFVYP1"},  {2976, "MemoDTMFZAP2"},
        {2992, "MemoDTMFVYP2"},
    };
    for (const auto& [address, field] : cases) {
        const DeviceConfig before = busyConfig();
        DeviceConfig c(before);
        SmsAssembly sms;
        ApplyImageBlock(c, textBlockAt(address, "+4912"), sms);
        EXPECT_EQ(c.text(field), "+4912") << address;
        EXPECT_EQ(changedFields(before, c), std::vector<std::string>{field}) << address;
    }
}

TEST(ApplyImageBlock, AddressesThatCarryNothingChangeNothing) {
    for (const std::uint16_t address :
         {3008, 3009, 3040, 3056, 2952, 2945, 3023, 3025, 3071, 4096, 0x8080, 0xFFFF}) {
        const DeviceConfig before = busyConfig();
        DeviceConfig c(before);
        SmsAssembly sms;
        ApplyImageBlock(c, blockAt(address, {3, '1', '2', '3', 0xFF, 0xFF, 0xFF, 0xFF}), sms);
        EXPECT_TRUE(c.sameValues(before)) << address << ": " << differences(before, c);
        EXPECT_EQ(sms, SmsAssembly{}) << address;
    }
}

TEST(ApplyImageBlock, TextBlockLengthAndBytes) {
    struct Case {
        const char* field;
        ImageBlock block;
        std::string text;
    };
    ImageBlock overlong = blockAt(0, {200});
    for (std::size_t i = 1; i < 16; ++i) {
        overlong.data[i] = static_cast<std::uint8_t>('a' + i);
    }
    const Case cases[] = {
        {"editPOV1_1", blockAt(0, {0, '1', '2'}), ""},
        {"editPOV1_1", blockAt(0, {2, 0x80, 0xFF, '9'}), "\x80\xFF"},
        {"editPOV1_1", blockAt(0, {3, '1', '\r', '2'}), "1\r2"}, // phone entries: bytes as they are
        {"editPOV1_1", blockAt(0, {2, '1', 0}), std::string("1\0", 2)},
        {"editPOV1_1", overlong, "bcdefghijklmnop"}, // above 15: the 15 bytes held
        {"MemoDTMFZAP1", blockAt(2944, {3, '1', '\r', '2'}), "1\r\n2"},
        {"MemoDTMFVYP2", blockAt(2992, {2, '\n', '5'}), "\r\n5"},
    };
    for (const Case& t : cases) {
        DeviceConfig c;
        SmsAssembly sms;
        ApplyImageBlock(c, t.block, sms);
        EXPECT_EQ(c.text(t.field), t.text) << t.field;
    }
}

TEST(ApplyImageBlock, ReceivedEntriesPassThroughTheFillRule) {
    DeviceConfig c;
    SmsAssembly sms;
    ApplyImageBlock(c, textBlockAt(2048, "1"), sms);
    ApplyImageBlock(c, textBlockAt(2048 + 32, "3"), sms); // entry 2 is empty
    EXPECT_EQ(c.text("editPOO1_3"), "");
    EXPECT_TRUE(c.isEnabled("editPOO1_2"));
    EXPECT_FALSE(c.isEnabled("editPOO1_3"));

    DeviceConfig full;
    test::fillList(full, ListId::POV2, 64);
    ApplyImageBlock(full, blockAt(1024 + 16, {}), sms); // empty entry 2
    EXPECT_EQ(full.usedEntries(ListId::POV2), 1);
    EXPECT_FALSE(full.isEnabled("editPOV2_3"));
}

TEST(ApplyImageBlock, SettingsNumbersAreWrittenAsDecimalTextUnchecked) {
    const ImageBlock block =
        blockAt(3024, {0, 255, 0x1F, 0, 255, 200, 0xFF, 0, 9, 9, 9, 9, 9, 9, 9, 3});
    DeviceConfig c;
    SmsAssembly sms;
    ApplyImageBlock(c, block, sms);
    const std::pair<const char*, const char*> expected[] = {
        {"spinINTERVAL", "255"}, {"spinCAS", "25"},     {"SpinCASRELE1", "0"},
        {"SpinCASRELE2", "255"}, {"spinKREDIT", "200"}, {"spinDELAY1", "256"},
        {"spinDELAY2", "1"},
    };
    for (const auto& [field, text] : expected) {
        EXPECT_EQ(c.text(field), text) << field;
    }
    const std::pair<std::uint8_t, const char*> cas[] = {
        {0x00, "0"}, {0x09, "9"}, {0x10, "10"}, {0x23, "23"}, {0xFF, "165"}};
    for (const auto& [byte, text] : cas) {
        DeviceConfig d;
        ApplyImageBlock(d, blockAt(3024, {0, 0, byte}), sms);
        EXPECT_EQ(d.text("spinCAS"), text) << int(byte);
    }
}

TEST(ApplyImageBlock, ContactTypes) {
    struct Case {
        std::uint8_t byte;
        bool no1, nc1, no2, nc2;
    };
    const Case cases[] = {
        {0, true, false, true, false},
        {1, false, true, true, false},
        {2, true, false, false, true},
        {3, false, true, false, true},
    };
    for (const Case& t : cases) {
        for (const bool startNc : {false, true}) {
            DeviceConfig c;
            c.setSelected("rbVST1_2", startNc);
            c.setSelected("rbVST2_1", false); // neither choice of input 2 selected
            SmsAssembly sms;
            ApplyImageBlock(c, blockAt(3024, {t.byte, 0, 0, 0, 0, 0, 0, 0}), sms);
            EXPECT_EQ(c.isSelected("rbVST1_1"), t.no1) << int(t.byte);
            EXPECT_EQ(c.isSelected("rbVST1_2"), t.nc1) << int(t.byte);
            EXPECT_EQ(c.isSelected("rbVST2_1"), t.no2) << int(t.byte);
            EXPECT_EQ(c.isSelected("rbVST2_2"), t.nc2) << int(t.byte);
        }
    }
    for (const std::uint8_t ignored : {4, 7, 0x80, 0xFF}) {
        DeviceConfig c;
        c.setSelected("rbVST1_2", true);
        c.setSelected("rbVST2_1", false);
        SmsAssembly sms;
        ApplyImageBlock(c, blockAt(3024, {ignored, 0, 0, 0, 0, 0, 0, 0}), sms);
        EXPECT_FALSE(c.isSelected("rbVST1_1"));
        EXPECT_TRUE(c.isSelected("rbVST1_2"));
        EXPECT_FALSE(c.isSelected("rbVST2_1"));
        EXPECT_FALSE(c.isSelected("rbVST2_2"));
    }
}

// The 8 blocks of an SMS area holding text with the given length byte.
std::vector<ImageBlock> smsArea(std::uint16_t area, std::uint8_t length, std::string_view text) {
    std::string bytes(128, '\0');
    bytes[0] = static_cast<char>(length);
    bytes.replace(1, text.size(), text);
    std::vector<ImageBlock> blocks;
    for (std::uint16_t j = 0; j < 8; ++j) {
        ImageBlock b;
        b.address = static_cast<std::uint16_t>(area + 16 * j);
        for (std::size_t i = 0; i < 16; ++i) {
            b.data[i] = static_cast<std::uint8_t>(bytes[16 * j + i]);
        }
        blocks.push_back(b);
    }
    return blocks;
}

std::string letters(std::size_t n) {
    std::string s;
    for (std::size_t i = 0; i < n; ++i) {
        s += static_cast<char>('A' + i % 26);
    }
    return s;
}

TEST(ApplyImageBlock, SmsAreaSetsTheTextOfItsGroupAndNumber) {
    struct Case {
        std::uint16_t area;
        const char* field;
        std::uint8_t length;
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {0x0E80, "memoSMSZAP2", 20, letters(20), letters(20)},
        {0x0C00, "memoSMSV1", 127, letters(127), letters(127)},
        {0x0C80, "memoSMSV2", 1, "x", "x"},
        {0x0D00, "memoSMSNV1", 0, letters(30), ""},               // length 0 empties the field
        {0x0D80, "memoSMSNV2", 5, letters(30), letters(5)},       // only the first L bytes
        {0x0E00, "memoSMSZAP1", 200, letters(127), letters(127)}, // beyond the data: all of it
        {0x0F00, "memoSMSVYP1", 5, "a\nb\rc", "a\r\nb\r\nc"},
        {0x0F80, "memoSMSVYP2", 3, "\x80\xE4\xFF", "\x80\xE4\xFF"},
    };
    for (const Case& t : cases) {
        const DeviceConfig before = busyConfig();
        DeviceConfig c(before);
        SmsAssembly sms;
        test::applyAll(c, smsArea(t.area, t.length, t.text), sms);
        EXPECT_EQ(c.text(t.field), t.expected) << t.field;
        EXPECT_EQ(changedFields(before, c), std::vector<std::string>{t.field});
    }
}

// The blocks of one area in the given order; a text is set once every block of its
// length is in, whatever came before, twice or in between.
TEST(ApplyImageBlock, SmsTextIsAssembledByAddressNotByArrival) {
    struct Case {
        const char* name;
        std::vector<std::size_t> order; // block numbers 0 to 7 of the area
        bool complete;
    };
    // Length 40: the length byte and text bytes 1 to 40 lie in blocks 0, 1 and 2.
    const Case cases[] = {
        {"in order", {0, 1, 2, 3, 4, 5, 6, 7}, true},
        {"reversed", {7, 6, 5, 4, 3, 2, 1, 0}, true},
        {"a middle block repeated", {0, 1, 1, 1, 2, 3, 4, 5, 6, 7}, true},
        {"a middle block before the first", {2, 0, 1, 3, 4, 5, 6, 7}, true},
        {"the last block first", {7, 0, 1, 2, 3, 4, 5, 6}, true},
        {"the first block again at the end", {0, 1, 2, 3, 4, 5, 6, 7, 0}, true},
        {"only the blocks of its length", {1, 0, 2}, true},
        {"a block of its length missing", {0, 1, 3, 4, 5, 6, 7}, false},
        {"a block of its length missing, another twice", {0, 1, 1, 3, 4, 5, 6, 7}, false},
        {"the first block missing", {1, 2, 3, 4, 5, 6, 7}, false},
    };
    const auto area = smsArea(0x0D00, 40, letters(40));
    for (const Case& t : cases) {
        SCOPED_TRACE(t.name);
        const DeviceConfig before = busyConfig();
        DeviceConfig c(before);
        SmsAssembly sms;
        for (const std::size_t j : t.order) {
            ApplyImageBlock(c, area.at(j), sms);
        }
        EXPECT_EQ(c.text("memoSMSNV1"), t.complete ? letters(40) : "old");
        EXPECT_EQ(changedFields(before, c),
                  t.complete ? std::vector<std::string>{"memoSMSNV1"} : std::vector<std::string>{});
    }
}

TEST(ApplyImageBlock, SmsBlocksCountForTheirOwnAreaOnly) {
    const auto zap2 = smsArea(0x0E80, 20, letters(20));
    const auto zap1 = smsArea(0x0E00, 20, "zzzzzzzzzzzzzzzzzzzz");
    const auto v1 = smsArea(0x0C00, 20, "vvvvvvvvvvvvvvvvvvvv");
    const DeviceConfig before = busyConfig();

    // Middle and last blocks without their first block.
    DeviceConfig c(before);
    SmsAssembly sms;
    test::applyAll(c, {zap2.begin() + 1, zap2.end()}, sms);
    EXPECT_TRUE(c.sameValues(before)) << differences(before, c);

    // Blocks of the group's other text and of another group in between.
    for (std::size_t j = 1; j < 8; ++j) {
        ApplyImageBlock(c, zap1[j], sms);
        ApplyImageBlock(c, v1[j], sms);
    }
    EXPECT_TRUE(c.sameValues(before)) << differences(before, c);
    // Each area completes with its own bytes when its first block comes.
    ApplyImageBlock(c, zap2[0], sms);
    EXPECT_EQ(c.text("memoSMSZAP2"), letters(20));
    EXPECT_EQ(changedFields(before, c), std::vector<std::string>{"memoSMSZAP2"});
    ApplyImageBlock(c, v1[0], sms);
    EXPECT_EQ(c.text("memoSMSV1"), "vvvvvvvvvvvvvvvvvvvv");
    EXPECT_EQ(c.text("memoSMSZAP1"), "old");

    // A repeated last block adds nothing.
    ApplyImageBlock(c, zap2[7], sms);
    EXPECT_EQ(c.text("memoSMSZAP2"), letters(20));
}

TEST(ApplyImageBlock, AreaReceivedAgainGivesItsNewText) {
    const auto first = smsArea(0x0C00, 40, letters(40));
    const auto second = smsArea(0x0C00, 3, "new");
    DeviceConfig c;
    SmsAssembly sms;
    test::applyAll(c, {first.begin(), first.begin() + 4}, sms);
    test::applyAll(c, second, sms);
    EXPECT_EQ(c.text("memoSMSV1"), "new");
}

TEST(ApplyImageBlock, RepeatedMiddleBlocksNeitherShiftNorDuplicateBytes) {
    auto area = smsArea(0x0C80, 255, letters(127));
    const ImageBlock middle = area[3];
    area.insert(area.begin() + 3, 5, middle);
    DeviceConfig c;
    SmsAssembly sms;
    test::applyAll(c, area, sms);
    EXPECT_EQ(c.text("memoSMSV2"), letters(127)); // a length above 127 takes the whole area
}

// Blocks at addresses between an area's blocks put their bytes where the address says;
// what would pass the area's end belongs to no text of theirs.
TEST(ApplyImageBlock, SmsBlockInsideAnAreaLandsAtItsAddress) {
    DeviceConfig c;
    SmsAssembly sms;
    ApplyImageBlock(c, smsArea(0x0C00, 20, letters(20))[0], sms);
    ImageBlock inside;
    inside.address = 0x0C05;
    inside.data.fill('x');
    ApplyImageBlock(c, inside, sms);
    EXPECT_EQ(c.text("memoSMSV1"), letters(4) + std::string(16, 'x'));

    const SmsAssembly held = sms;
    inside.address = 0x0C75; // its last 5 bytes would reach the area at 0x0C80
    ApplyImageBlock(c, inside, sms);
    EXPECT_EQ(sms.areas[1], held.areas[1]);
    EXPECT_EQ(c.text("memoSMSV2"), "");
}

} // namespace
} // namespace rtw
