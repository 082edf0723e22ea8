#include "ImageTestSupport.h"

#include "protocol/ConfigImage.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace rtw {
namespace {

using test::bytesOf;
using test::entryName;

const ImageBlock& blockAtAddress(const std::vector<ImageBlock>& blocks, std::uint16_t address) {
    for (const ImageBlock& b : blocks) {
        if (b.address == address) {
            return b;
        }
    }
    throw std::out_of_range("no block at " + std::to_string(address));
}

TEST(EncodeImage, DefaultsGive254ZeroBlocksInAddressOrder) {
    const auto blocks = EncodeImage(DeviceConfig());
    ASSERT_EQ(blocks.size(), wire::kImageBlockCount);
    std::vector<std::uint16_t> expected;
    for (std::uint16_t a = 0; a <= 4080; a += 16) {
        if (a != 3040 && a != 3056) {
            expected.push_back(a);
        }
    }
    std::vector<std::uint16_t> addresses;
    for (const ImageBlock& b : blocks) {
        addresses.push_back(b.address);
        EXPECT_EQ(bytesOf(b), std::string(16, '\0')) << b.address;
    }
    EXPECT_EQ(addresses, expected);
}

// Every entry of every list at the address the layout gives it.
TEST(EncodeImage, EachPhoneEntryLiesAtItsAddress) {
    struct ListPlace {
        ListId list;
        int base;
    };
    const ListPlace places[] = {
        {ListId::POV1, 0},    {ListId::POV2, 1024}, {ListId::POO1, 2048},
        {ListId::POO2, 2176}, {ListId::PZS1, 2304}, {ListId::PZS2, 2432},
        {ListId::TCV1, 2560}, {ListId::TCV2, 2688}, {ListId::TCZSSMS, 2816},
    };
    DeviceConfig c;
    for (const auto& p : places) {
        for (int k = 1; k <= listInfo(p.list).size; ++k) {
            c.setText(entryField(p.list, k), entryName(p.list, k).substr(4, 14));
        }
    }
    const auto blocks = EncodeImage(c);
    for (const auto& p : places) {
        for (int k = 1; k <= listInfo(p.list).size; ++k) {
            const std::string text = c.text(entryField(p.list, k));
            const auto address = static_cast<std::uint16_t>(p.base + 16 * (k - 1));
            EXPECT_EQ(bytesOf(blockAtAddress(blocks, address)),
                      char(text.size()) + text + std::string(15 - text.size(), '\0'))
                << entryName(p.list, k);
        }
    }
}

TEST(EncodeImage, TextBlocks) {
    struct Case {
        const char* field;
        std::string text;
        std::uint16_t address;
        std::string bytes;
    };
    const Case cases[] = {
        {"editPOV1_1", "0123456789", 0,
         "\x0A"
         "0123456789" +
             std::string(5, '\0')},
        {"editPOV1_1", "+4917212345678", 0, "\x0E+4917212345678" + std::string(1, '\0')},
        {"editPOV2_1", "\x80\xFF", 1024, "\x02\x80\xFF" + std::string(13, '\0')},
        {"editTCZSSMS_1", "1", 2816,
         "\x01"
         "1" +
             std::string(14, '\0')},
        {"MemoDTMFZAP1", "12", 2944,
         "\x02"
         "12" +
             std::string(13, '\0')},
        {"MemoDTMFVYP1", "3", 2960,
         "\x01"
         "3" +
             std::string(14, '\0')},
        {"MemoDTMFZAP2", "1\r\n2", 2976,
         "\x04"
         "1\r\n2" +
             std::string(11, '\0')},
        {"MemoDTMFVYP2", "99999999999999", 2992,
         "\x0E"
         "99999999999999" +
             std::string(1, '\0')},
    };
    for (const Case& t : cases) {
        DeviceConfig c;
        c.setText(t.field, t.text);
        EXPECT_EQ(bytesOf(blockAtAddress(EncodeImage(c), t.address)), t.bytes) << t.field;
    }
}

TEST(EncodeImage, CountsBlockCountsNonEmptyEntriesOfEachList) {
    DeviceConfig c;
    test::fillList(c, ListId::POV1, 5);
    test::fillList(c, ListId::POO2, 8);
    c.setText("MemoDTMFZAP1", "1"); // not counted
    const std::string expected = std::string("\x05\x00\x00\x08", 4) + std::string(12, '\0');
    EXPECT_EQ(bytesOf(blockAtAddress(EncodeImage(c), 3008)), expected);

    DeviceConfig full;
    test::fillEveryList(full);
    EXPECT_EQ(bytesOf(blockAtAddress(EncodeImage(full), 3008)),
              std::string("\x40\x40\x08\x08\x08\x08\x08\x08\x08", 9) + std::string(7, '\0'));
}

TEST(EncodeImage, SettingsBlockNumbers) {
    struct Case {
        const char* field;
        const char* text;
        std::size_t byte;
        std::uint8_t value;
    };
    const Case cases[] = {
        {"spinINTERVAL", "180", 1, 180}, {"spinINTERVAL", "007", 1, 7},
        {"spinCAS", "0", 2, 0x00},       {"spinCAS", "9", 2, 0x09},
        {"spinCAS", "10", 2, 0x10},      {"spinCAS", "23", 2, 0x23},
        {"SpinCASRELE1", "255", 3, 255}, {"SpinCASRELE2", "128", 4, 128},
        {"spinKREDIT", "9", 5, 9},       {"spinDELAY1", "1", 6, 0x00},
        {"spinDELAY1", "255", 6, 0xFE},  {"spinDELAY2", "0100", 7, 99},
    };
    for (const Case& t : cases) {
        DeviceConfig c;
        c.setText(t.field, t.text);
        const ImageBlock b = blockAtAddress(EncodeImage(c), 3024);
        for (std::size_t i = 0; i < wire::kBlockSize; ++i) {
            EXPECT_EQ(b.data[i], i == t.byte ? t.value : 0)
                << t.field << "=" << t.text << " byte " << i;
        }
    }
}

TEST(EncodeImage, SettingsBlockContactTypesAndResetTexts) {
    struct Case {
        bool nc1, nc2;
        const char* reset1;
        const char* reset2;
        std::uint8_t byte0, byte15;
    };
    const Case cases[] = {
        {false, false, "", "", 0, 0},
        {true, false, "x", "", 1, 1},
        {false, true, "", "x", 2, 2},
        {true, true, "x", "y", 3, 3},
    };
    for (const Case& t : cases) {
        DeviceConfig c;
        c.setSelected("rbVST1_2", t.nc1);
        c.setSelected("rbVST2_2", t.nc2);
        c.setText("memoSMSNV1", t.reset1);
        c.setText("memoSMSNV2", t.reset2);
        const ImageBlock b = blockAtAddress(EncodeImage(c), 3024);
        EXPECT_EQ(b.data[0], t.byte0);
        EXPECT_EQ(b.data[15], t.byte15);
    }
    DeviceConfig neither; // neither choice selected counts as NO
    neither.setSelected("rbVST1_1", false);
    EXPECT_EQ(blockAtAddress(EncodeImage(neither), 3024).data[0], 0);
}

TEST(EncodeImage, SmsAreas) {
    struct Case {
        const char* field;
        std::uint16_t area;
        std::size_t length;
    };
    const Case cases[] = {
        {"memoSMSV1", 3072, 15},  {"memoSMSV2", 3200, 16},    {"memoSMSNV1", 3328, 127},
        {"memoSMSNV2", 3456, 1},  {"memoSMSZAP1", 3584, 17},  {"memoSMSZAP2", 3712, 126},
        {"memoSMSVYP1", 3840, 0}, {"memoSMSVYP2", 3968, 112},
    };
    for (const Case& t : cases) {
        std::string text;
        for (std::size_t i = 0; i < t.length; ++i) {
            text += static_cast<char>(0x80 + i % 0x80);
        }
        DeviceConfig c;
        c.setText(t.field, text);
        const auto blocks = EncodeImage(c);
        std::string area;
        for (std::uint16_t j = 0; j < 8; ++j) {
            area += bytesOf(blockAtAddress(blocks, static_cast<std::uint16_t>(t.area + 16 * j)));
        }
        EXPECT_EQ(area, char(t.length) + text + std::string(127 - t.length, '\0')) << t.field;
    }
}

TEST(EncodeImage, SixteenthSmsCharacterOpensBlockTwo) {
    DeviceConfig c;
    c.setText("memoSMSV1", "ABCDEFGHIJKLMNOP");
    const auto blocks = EncodeImage(c);
    EXPECT_EQ(bytesOf(blockAtAddress(blocks, 3072)), "\x10"
                                                     "ABCDEFGHIJKLMNO");
    EXPECT_EQ(bytesOf(blockAtAddress(blocks, 3088)), "P" + std::string(15, '\0'));
}

TEST(EncodeImage, RefusesAConfigurationThatCannotBeSent) {
    const std::pair<const char*, std::string> cases[] = {
        {"editPOV1_1", std::string(15, '1')},
        {"MemoDTMFVYP2", std::string(15, '1')},
        {"memoSMSZAP1", std::string(128, 'a')},
        {"spinCAS", "24"},
        {"spinDELAY1", "0"},
        {"SpinCASRELE1", "256"},
        {"spinINTERVAL", ""},
        {"spinKREDIT", "x"},
        {"spinINTERVAL", "-1"},
    };
    for (const auto& [field, text] : cases) {
        DeviceConfig c;
        c.setText(field, text);
        EXPECT_THROW((void)EncodeImage(c), std::invalid_argument) << field << "=" << text;
    }
}

} // namespace
} // namespace rtw
