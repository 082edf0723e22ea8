#include "protocol/BlockCodecs.h"
#include "protocol/ConfigImage.h"

#include <algorithm>
#include <optional>
#include <string>

namespace rtw {
namespace {

void applySettings(DeviceConfig& config, const BlockData& d) {
    for (const SettingsByte& s : kSettingsBytes) {
        const std::uint8_t byte = d[s.position];
        switch (s.codec) {
        case ByteCodec::NcBit:
            if (byte <= wire::kContactTypesMax) {
                const bool nc = (byte & s.bit) != 0;
                config.setSelected(s.partner, !nc);
                config.setSelected(s.field, nc);
            }
            break;
        case ByteCodec::PresenceBit:
            break; // follows from the texts themselves
        case ByteCodec::Number:
        case ByteCodec::PackedBcd:
        case ByteCodec::MinusOne:
            // Written as decimal text without a range check.
            config.setText(s.field, std::to_string(decodeNumber(s.codec, byte)));
            break;
        }
    }
}

// The text once its length byte and every byte of its length have arrived. A length
// above 127 takes the whole area.
std::optional<std::string> completeText(const SmsAreaBytes& area) {
    if (!area.arrived[0]) {
        return std::nullopt;
    }
    const std::size_t length = std::min<std::size_t>(area.bytes[0], wire::kSmsCapacity);
    for (std::size_t i = 1; i <= length; ++i) {
        if (!area.arrived[i]) {
            return std::nullopt;
        }
    }
    return std::string(area.bytes.begin() + 1,
                       area.bytes.begin() + 1 + static_cast<std::ptrdiff_t>(length));
}

// Each byte lands at its place in the block's area; bytes past the area's end belong to
// no text this block's address names and are dropped.
void applySms(DeviceConfig& config, const Location& at, const ImageBlock& block, SmsAssembly& sms) {
    SmsAreaBytes& area = sms.areas.at(at.region->ordinal);
    const std::size_t offset = block.address - at.region->first;
    const std::size_t count = std::min(wire::kBlockSize, wire::kSmsAreaSize - offset);
    for (std::size_t i = 0; i < count; ++i) {
        area.bytes[offset + i] = block.data[i];
        area.arrived.set(offset + i);
    }
    if (const std::optional<std::string> text = completeText(area)) {
        config.setText(*at.field, *text);
    }
}

} // namespace

void ApplyImageBlock(DeviceConfig& config, const ImageBlock& block, SmsAssembly& sms) {
    const Location at = locate(block.address);
    switch (at.kind) {
    case BlockKind::PhoneEntry:
        // Any address inside an entry's block selects that entry.
        config.setText(*at.field, decodeTextBlock(block.data));
        break;
    case BlockKind::DtmfCode:
        if (at.byte == 0) {
            config.setText(*at.field, decodeTextBlock(block.data));
        }
        break;
    case BlockKind::Settings:
        if (at.byte == 0) {
            applySettings(config, block.data);
        }
        break;
    case BlockKind::SmsArea:
        applySms(config, at, block, sms);
        break;
    case BlockKind::Counts: // the counts follow from the entries themselves
    case BlockKind::Unused:
    case BlockKind::Clock:
    case BlockKind::Outside:
        break;
    }
}

} // namespace rtw
