#include "protocol/ConfigImage.h"
#include "protocol/ImageLayout.h"

#include <algorithm>
#include <string>

namespace rtw {
namespace {

using Data = std::array<std::uint8_t, wire::kBlockSize>;

// Bytes 1 to L; a length above what the block holds gives the bytes it holds.
std::string textOf(const Data& data) {
    const std::size_t length = std::min<std::size_t>(data[0], wire::kTextBlockCapacity);
    return std::string(data.begin() + 1, data.begin() + 1 + static_cast<std::ptrdiff_t>(length));
}

// One of the short lists (8 entries), two per kind, 128 bytes apart.
void applyShortListEntry(DeviceConfig& config, std::uint16_t address, std::uint16_t base,
                         ListId first, ListId second, const Data& data) {
    const int offset = address - base;
    const int n = offset / wire::kShortListStride + 1;
    const int k =
        (offset - (n - 1) * wire::kShortListStride) / static_cast<int>(wire::kBlockSize) + 1;
    config.setText(entryField(n == 1 ? first : second, k), textOf(data));
}

void applySettings(DeviceConfig& config, const Data& d) {
    if (d[wire::kSetContactTypes] <= wire::kContactTypesMax) {
        const bool nc1 = (d[wire::kSetContactTypes] & wire::kInput1NcBit) != 0;
        const bool nc2 = (d[wire::kSetContactTypes] & wire::kInput2NcBit) != 0;
        config.setSelected(field::rbVST(1, field::Contact::NO), !nc1);
        config.setSelected(field::rbVST(1, field::Contact::NC), nc1);
        config.setSelected(field::rbVST(2, field::Contact::NO), !nc2);
        config.setSelected(field::rbVST(2, field::Contact::NC), nc2);
    }
    const auto number = [&config](FieldId field, int value) {
        config.setText(field, std::to_string(value));
    };
    const std::uint8_t cas = d[wire::kSetCas];
    number(field::spinINTERVAL, d[wire::kSetInterval]);
    number(field::spinCAS, (cas >> 4) * 10 + (cas & 0x0F));
    number(field::SpinCASRELE(1), d[wire::kSetCasRele1]);
    number(field::SpinCASRELE(2), d[wire::kSetCasRele2]);
    number(field::spinKREDIT, d[wire::kSetKredit]);
    number(field::spinDELAY(1), d[wire::kSetDelay1] + wire::kDelayOffset);
    number(field::spinDELAY(2), d[wire::kSetDelay2] + wire::kDelayOffset);
}

void appendCollected(SmsAssembly& sms, const std::uint8_t* bytes, std::size_t count) {
    const std::size_t room =
        wire::kSmsCapacity - std::min(sms.collected.size(), wire::kSmsCapacity);
    sms.collected.append(bytes, bytes + std::min(count, room));
}

// The area's first block opens it; middle blocks add to it; the last one writes the text.
// A middle or last block only counts for the area that is open, so a lost first block
// never lets bytes of another area reach a field.
void applySms(DeviceConfig& config, std::uint16_t address, const Data& d, SmsAssembly& sms) {
    const std::uint8_t place = static_cast<std::uint8_t>(address % wire::kSmsGroupStride);
    const auto area = static_cast<std::uint16_t>(address - address % wire::kSmsAreaStride);
    if (place == wire::kSmsFirstBlockText1 || place == wire::kSmsFirstBlockText2) {
        sms.pending = true;
        sms.areaAddress = area;
        sms.pendingLength = d[0];
        sms.pendingText = place < wire::kSmsAreaStride ? 1 : 2;
        sms.collected.assign(d.begin() + 1, d.end());
        return;
    }
    if (!sms.pending || sms.areaAddress != area) {
        return;
    }
    appendCollected(sms, d.data(), d.size());
    if (place != wire::kSmsLastBlockText1 && place != wire::kSmsLastBlockText2) {
        return;
    }
    const SmsGroup& group = smsGroupAt(address);
    const std::size_t length = std::min<std::size_t>(sms.pendingLength, sms.collected.size());
    const std::string text = sms.collected.substr(0, length);
    const FieldId field = sms.pendingText == 2 ? group.text2 : group.text1;
    sms = SmsAssembly{};
    config.setText(field, text);
}

} // namespace

void ApplyImageBlock(DeviceConfig& config, const ImageBlock& block, SmsAssembly& sms) {
    const std::uint16_t a = block.address;
    const Data& d = block.data;
    if (a < wire::kPooBase) {
        const int n = a / wire::kPovListStride + 1;
        const int k = (a - (n - 1) * wire::kPovListStride) / static_cast<int>(wire::kBlockSize) + 1;
        config.setText(entryField(n == 1 ? ListId::POV1 : ListId::POV2, k), textOf(d));
    } else if (a < wire::kPzsBase) {
        applyShortListEntry(config, a, wire::kPooBase, ListId::POO1, ListId::POO2, d);
    } else if (a < wire::kTcvBase) {
        applyShortListEntry(config, a, wire::kPzsBase, ListId::PZS1, ListId::PZS2, d);
    } else if (a < wire::kTczssmsBase) {
        applyShortListEntry(config, a, wire::kTcvBase, ListId::TCV1, ListId::TCV2, d);
    } else if (a < wire::kDtmfZap1) {
        const int k = (a - wire::kTczssmsBase) / static_cast<int>(wire::kBlockSize) + 1;
        config.setText(entryField(ListId::TCZSSMS, k), textOf(d));
    } else if (const auto dtmf =
                   std::find_if(kDtmfPlacements.begin(), kDtmfPlacements.end(),
                                [a](const DtmfPlacement& p) { return p.address == a; });
               dtmf != kDtmfPlacements.end()) {
        config.setText(dtmf->field, textOf(d));
    } else if (a == wire::kCountsBlock) {
        // The counts follow from the entries themselves.
    } else if (a == wire::kSettingsBlock) {
        applySettings(config, d);
    } else if (a < wire::kSmsBase) {
        // Unused addresses.
    } else if (a < wire::kMemorySize) {
        applySms(config, a, d, sms);
    }
    // At or above 4096, the clock block among them: nothing.
}

} // namespace rtw
