#include "ImageTestSupport.h"

#include "protocol/BlockCodecs.h"
#include "protocol/ConfigImage.h"
#include "protocol/MemoryMap.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace rtw {
namespace {

// Every text different from every other, so a field located wrongly shows in its bytes.
DeviceConfig distinctConfig() {
    DeviceConfig c;
    for (int l = 0; l < kListCount; ++l) {
        const auto list = static_cast<ListId>(l);
        for (int k = 1; k <= listInfo(list).size; ++k) {
            std::string text = std::to_string(l) + "*" + std::to_string(k) + "#";
            text.resize(static_cast<std::size_t>(4 + (l + k) % 11), static_cast<char>('a' + l));
            c.setText(entryField(list, k), text);
        }
    }
    std::size_t n = 0;
    for (const FieldInfo& f : allFields()) {
        if (f.kind == FieldKind::DtmfCode) {
            c.setText(f.id, std::string(2 + n, static_cast<char>('0' + n)));
            ++n;
        } else if (f.kind == FieldKind::SmsText) {
            std::string text;
            for (std::size_t i = 0; i < 112 + n; ++i) {
                text += static_cast<char>('A' + (i + 3 * n) % 26);
            }
            c.setText(f.id, text);
            ++n;
        }
    }
    const std::pair<const char*, const char*> numbers[] = {
        {"spinINTERVAL", "180"}, {"spinCAS", "23"},   {"SpinCASRELE1", "5"},
        {"SpinCASRELE2", "250"}, {"spinKREDIT", "9"}, {"spinDELAY1", "255"},
        {"spinDELAY2", "7"},
    };
    for (const auto& [field, text] : numbers) {
        c.setText(field, text);
    }
    c.setSelected("rbVST2_2", true);
    return c;
}

// Byte i of "length, text, zeros".
std::uint8_t lengthTextByte(const std::string& text, std::size_t i) {
    if (i == 0) {
        return static_cast<std::uint8_t>(text.size());
    }
    return i <= text.size() ? static_cast<std::uint8_t>(text[i - 1]) : 0;
}

// Input 2 NC and both reset texts present; the numbers as distinctConfig sets them.
constexpr std::array<std::uint8_t, 16> kExpectedSettings = {2, 180, 0x23, 5, 250, 9, 0xFE, 6,
                                                            0, 0,   0,    0, 0,   0, 0,    3};

// Walks every address of the memory through locate, and compares what locate says the
// address holds with the byte the encoded image has there.
TEST(MemoryMap, EveryAddressIsLocatedWhereEncodingPutsIt) {
    const DeviceConfig config = distinctConfig();
    const std::vector<ImageBlock> image = EncodeImage(config);
    ConfigImage memory;
    std::map<std::uint16_t, const ImageBlock*> encoded;
    for (const ImageBlock& block : image) {
        memory.store(block);
        encoded[block.address] = &block;
    }

    std::map<BlockKind, int> blocksOfKind;
    std::vector<std::uint16_t> sent;
    for (std::uint32_t a = 0; a < wire::kMemorySize; ++a) {
        const auto address = static_cast<std::uint16_t>(a);
        SCOPED_TRACE(address);
        const Location at = locate(address);
        ASSERT_NE(at.region, nullptr);
        EXPECT_EQ(at.kind, at.region->kind);
        EXPECT_EQ(at.block, address / 16 * 16);
        EXPECT_EQ(at.byte, address % 16u);
        ASSERT_LT(at.index, at.region->blocks);
        EXPECT_EQ(blockAddress(*at.region, at.index), at.block);
        EXPECT_EQ(at.field, blockField(*at.region, at.index));

        const std::uint8_t byte = memory.memory()[address];
        switch (at.kind) {
        case BlockKind::PhoneEntry: {
            ASSERT_TRUE(at.field.has_value());
            const FieldInfo& f = fieldInfo(*at.field);
            EXPECT_EQ(f.list, at.region->list);
            EXPECT_EQ(f.entry, static_cast<int>(at.index) + 1);
            EXPECT_EQ(byte, lengthTextByte(config.text(*at.field), at.byte)) << f.name;
            break;
        }
        case BlockKind::DtmfCode:
            ASSERT_TRUE(at.field.has_value());
            EXPECT_EQ(fieldInfo(*at.field).kind, FieldKind::DtmfCode);
            EXPECT_EQ(byte, lengthTextByte(config.text(*at.field), at.byte));
            break;
        case BlockKind::SmsArea:
            ASSERT_TRUE(at.field.has_value());
            EXPECT_EQ(fieldInfo(*at.field).kind, FieldKind::SmsText);
            EXPECT_EQ(byte, lengthTextByte(config.text(*at.field), at.index * 16 + at.byte));
            break;
        case BlockKind::Counts:
            EXPECT_EQ(byte,
                      at.byte < kListCount ? config.usedEntries(static_cast<ListId>(at.byte)) : 0);
            break;
        case BlockKind::Settings:
            EXPECT_EQ(byte, kExpectedSettings[at.byte]);
            break;
        case BlockKind::Unused:
        case BlockKind::Clock:
        case BlockKind::Outside:
            EXPECT_EQ(byte, 0);
            break;
        }
        if (at.byte != 0) {
            continue;
        }
        // Block addresses: a block is encoded exactly where the map sends one.
        ++blocksOfKind[at.kind];
        EXPECT_EQ(encoded.count(address), isSent(*at.region) ? 1u : 0u);
        if (isSent(*at.region)) {
            sent.push_back(address);
        }
        if (at.kind == BlockKind::PhoneEntry || at.kind == BlockKind::DtmfCode) {
            EXPECT_EQ(decodeTextBlock(encoded.at(address)->data), config.text(*at.field));
        }
    }
    const std::map<BlockKind, int> expectedKinds = {
        {BlockKind::PhoneEntry, 184}, {BlockKind::DtmfCode, 4}, {BlockKind::Counts, 1},
        {BlockKind::Settings, 1},     {BlockKind::Unused, 2},   {BlockKind::SmsArea, 64},
    };
    EXPECT_EQ(blocksOfKind, expectedKinds);
    std::vector<std::uint16_t> imageOrder;
    for (const ImageBlock& block : image) {
        imageOrder.push_back(block.address);
    }
    EXPECT_EQ(imageOrder, sent); // ascending, as the walk met them
}

TEST(MemoryMap, EachFieldOfTheImageHasOnePlace) {
    std::map<FieldId, int> blocksOfField;
    for (const Region& region : memoryRegions()) {
        for (std::size_t i = 0; i < region.blocks; ++i) {
            if (const auto field = blockField(region, i)) {
                ++blocksOfField[*field];
            }
        }
    }
    int entries = 0;
    for (const FieldInfo& f : allFields()) {
        SCOPED_TRACE(f.name);
        switch (f.kind) {
        case FieldKind::PhoneEntry:
        case FieldKind::DtmfCode:
            EXPECT_EQ(blocksOfField[f.id], 1);
            entries += f.kind == FieldKind::PhoneEntry;
            break;
        case FieldKind::SmsText:
            EXPECT_EQ(blocksOfField[f.id], 8);
            break;
        case FieldKind::Number:
        case FieldKind::Choice:
            EXPECT_EQ(blocksOfField.count(f.id), 0u); // in the settings block
            break;
        }
    }
    EXPECT_EQ(entries, 184);
}

TEST(MemoryMap, AddressesOutsideTheMemory) {
    const std::pair<std::uint16_t, BlockKind> cases[] = {
        {4096, BlockKind::Outside},   {0x807F, BlockKind::Outside}, {0x8080, BlockKind::Clock},
        {0x8081, BlockKind::Outside}, {0x8090, BlockKind::Outside}, {0xFFFF, BlockKind::Outside},
    };
    for (const auto& [address, kind] : cases) {
        const Location at = locate(address);
        EXPECT_EQ(at.kind, kind) << address;
        EXPECT_EQ(at.region, nullptr) << address;
        EXPECT_FALSE(at.field.has_value()) << address;
    }
}

TEST(MemoryMap, FrameIsAddressHighLowThenTheData) {
    for (const std::uint16_t address : {0x0000, 0x0001, 0x0BD0, 0x0FF0, 0x8080, 0x1234, 0xFFFF}) {
        ImageBlock block;
        block.address = address;
        for (std::size_t i = 0; i < 16; ++i) {
            block.data[i] = static_cast<std::uint8_t>(0xA0 + i);
        }
        const Frame frame = encodeFrame(block);
        EXPECT_EQ(frame[0], address >> 8) << address;
        EXPECT_EQ(frame[1], address & 0xFF) << address;
        EXPECT_TRUE(std::equal(block.data.begin(), block.data.end(), frame.begin() + 2));
        EXPECT_EQ(decodeFrame(frame), block) << address;
    }
}

} // namespace
} // namespace rtw
