#include "config/NumberField.h"
#include "config/Validation.h"
#include "protocol/ConfigImage.h"
#include "protocol/ImageLayout.h"

#include <algorithm>
#include <stdexcept>

namespace rtw {
namespace {

// Length byte, the text's bytes, zeros. Validation keeps every text inside the block.
ImageBlock textBlock(std::uint16_t address, std::string_view text) {
    ImageBlock block;
    block.address = address;
    block.data[0] = static_cast<std::uint8_t>(text.size());
    std::copy(text.begin(), text.end(), block.data.begin() + 1);
    return block;
}

// Validation guarantees a whole number inside the field's range, so it fits a byte.
int numberOf(const DeviceConfig& config, FieldId field) {
    return static_cast<int>(*numberValue(config.text(field)));
}

std::uint8_t lowByte(int value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

std::uint8_t packedBcd(int value) {
    return static_cast<std::uint8_t>((value / 10) << 4 | value % 10);
}

ImageBlock countsBlock(const DeviceConfig& config) {
    ImageBlock block;
    block.address = wire::kCountsBlock;
    for (int l = 0; l < kListCount; ++l) {
        block.data[static_cast<std::size_t>(l)] =
            static_cast<std::uint8_t>(config.usedEntries(static_cast<ListId>(l)));
    }
    return block;
}

ImageBlock settingsBlock(const DeviceConfig& config) {
    ImageBlock block;
    block.address = wire::kSettingsBlock;
    auto& d = block.data;
    d[wire::kSetContactTypes] = static_cast<std::uint8_t>(
        (config.isNC(1) ? wire::kInput1NcBit : 0) | (config.isNC(2) ? wire::kInput2NcBit : 0));
    d[wire::kSetInterval] = lowByte(numberOf(config, field::spinINTERVAL));
    d[wire::kSetCas] = packedBcd(numberOf(config, field::spinCAS));
    d[wire::kSetCasRele1] = lowByte(numberOf(config, field::SpinCASRELE(1)));
    d[wire::kSetCasRele2] = lowByte(numberOf(config, field::SpinCASRELE(2)));
    d[wire::kSetKredit] = lowByte(numberOf(config, field::spinKREDIT));
    d[wire::kSetDelay1] = lowByte(numberOf(config, field::spinDELAY(1)) - wire::kDelayOffset);
    d[wire::kSetDelay2] = lowByte(numberOf(config, field::spinDELAY(2)) - wire::kDelayOffset);
    d[wire::kSetResetTexts] = static_cast<std::uint8_t>(
        (config.text(field::memoSMSNV(1)).empty() ? 0 : wire::kResetText1Bit) |
        (config.text(field::memoSMSNV(2)).empty() ? 0 : wire::kResetText2Bit));
    return block;
}

// The area's 128 bytes cut into 8 blocks.
void appendSmsArea(std::vector<ImageBlock>& blocks, std::uint16_t area, std::string_view text) {
    const auto bytes = encodeSmsArea(text);
    for (std::size_t j = 0; j < wire::kSmsBlocksPerArea; ++j) {
        ImageBlock block;
        block.address = static_cast<std::uint16_t>(area + j * wire::kBlockSize);
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(j * wire::kBlockSize),
                    wire::kBlockSize, block.data.begin());
        blocks.push_back(block);
    }
}

} // namespace

std::array<std::uint8_t, wire::kSmsAreaSize> encodeSmsArea(std::string_view text) {
    if (text.size() > wire::kSmsCapacity) {
        throw std::invalid_argument("encodeSmsArea: an SMS text holds at most 127 bytes");
    }
    std::array<std::uint8_t, wire::kSmsAreaSize> bytes{};
    bytes[0] = static_cast<std::uint8_t>(text.size());
    std::copy(text.begin(), text.end(), bytes.begin() + 1);
    return bytes;
}

std::vector<ImageBlock> EncodeImage(const DeviceConfig& config) {
    if (!validateForSend(config).empty()) {
        throw std::invalid_argument("EncodeImage: the configuration is not valid for sending");
    }
    std::vector<ImageBlock> blocks;
    blocks.reserve(wire::kImageBlockCount);
    for (int l = 0; l < kListCount; ++l) {
        const auto list = static_cast<ListId>(l);
        for (int k = 1; k <= listInfo(list).size; ++k) {
            blocks.push_back(textBlock(entryAddress(list, k), config.text(entryField(list, k))));
        }
    }
    for (const DtmfPlacement& dtmf : kDtmfPlacements) {
        blocks.push_back(textBlock(dtmf.address, config.text(dtmf.field)));
    }
    blocks.push_back(countsBlock(config));
    blocks.push_back(settingsBlock(config));
    for (const SmsGroup& group : kSmsGroups) {
        appendSmsArea(blocks, group.base, config.text(group.text1));
        appendSmsArea(blocks, group.base + wire::kSmsAreaStride, config.text(group.text2));
    }
    return blocks;
}

} // namespace rtw
