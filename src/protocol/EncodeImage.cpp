#include "config/NumberField.h"
#include "config/Validation.h"
#include "protocol/BlockCodecs.h"
#include "protocol/ConfigImage.h"

#include <algorithm>
#include <span>
#include <stdexcept>

namespace rtw {
namespace {

// Validation guarantees a whole number inside the field's range.
int numberOf(const DeviceConfig& config, FieldId field) {
    return static_cast<int>(*numberValue(config.text(field)));
}

BlockData countsData(const DeviceConfig& config) {
    BlockData d{};
    for (const ListPlacement& p : kListPlacements) {
        d[static_cast<std::size_t>(p.list)] = static_cast<std::uint8_t>(config.usedEntries(p.list));
    }
    return d;
}

BlockData settingsData(const DeviceConfig& config) {
    BlockData d{};
    for (const SettingsByte& s : kSettingsBytes) {
        const FieldId field = s.field;
        switch (s.codec) {
        case ByteCodec::NcBit:
            d[s.position] |= config.isSelected(field) ? s.bit : 0;
            break;
        case ByteCodec::PresenceBit:
            d[s.position] |= config.text(field).empty() ? 0 : s.bit;
            break;
        case ByteCodec::Number:
        case ByteCodec::PackedBcd:
        case ByteCodec::MinusOne:
            d[s.position] = encodeNumber(s.codec, numberOf(config, field));
            break;
        }
    }
    return d;
}

// The region's bytes, block after block.
void appendRegion(std::vector<ImageBlock>& blocks, const Region& region,
                  const DeviceConfig& config) {
    const auto add = [&](std::size_t index, std::span<const std::uint8_t, wire::kBlockSize> data) {
        ImageBlock block;
        block.address = blockAddress(region, index);
        std::copy(data.begin(), data.end(), block.data.begin());
        blocks.push_back(block);
    };
    switch (region.kind) {
    case BlockKind::PhoneEntry:
    case BlockKind::DtmfCode:
        for (std::size_t i = 0; i < region.blocks; ++i) {
            add(i, encodeTextBlock(config.text(*blockField(region, i))));
        }
        break;
    case BlockKind::Counts:
        add(0, countsData(config));
        break;
    case BlockKind::Settings:
        add(0, settingsData(config));
        break;
    case BlockKind::SmsArea: {
        const auto bytes = encodeSmsArea(config.text(*region.field));
        for (std::size_t i = 0; i < region.blocks; ++i) {
            add(i, std::span(bytes).subspan(i * wire::kBlockSize).first<wire::kBlockSize>());
        }
        break;
    }
    case BlockKind::Unused:
    case BlockKind::Clock:
    case BlockKind::Outside:
        break;
    }
}

} // namespace

std::vector<ImageBlock> EncodeImage(const DeviceConfig& config) {
    if (!validateForSend(config).empty()) {
        throw std::invalid_argument("EncodeImage: the configuration is not valid for sending");
    }
    std::vector<ImageBlock> blocks;
    blocks.reserve(wire::kImageBlockCount);
    for (const Region& region : memoryRegions()) {
        if (isSent(region)) {
            appendRegion(blocks, region, config);
        }
    }
    return blocks;
}

} // namespace rtw
