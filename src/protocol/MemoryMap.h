#pragma once
// The unit's 4096-byte memory as data: which field lives at which address, how each byte of
// the settings block is coded, and the 18-byte frame a block travels in. Encoding, applying,
// both transfers and the emulated unit read this map; it is the one place that puts the
// addresses of ProtocolConstants.h together into a layout.
#include "config/FieldTable.h"
#include "wire/ProtocolConstants.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <tuple>

namespace rtw {

struct ImageBlock {
    std::uint16_t address = 0;
    std::array<std::uint8_t, wire::kBlockSize> data{};
    bool operator==(const ImageBlock&) const = default;
};

inline constexpr std::size_t kMemoryBlockCount = wire::kMemorySize / wire::kBlockSize;

// How the rows below name a field: by its typed identifier. Every field the map knows is
// named in these rows and nowhere else.
using FieldRef = FieldId;

// A phone list: entry k at base + 16·(k−1), one block per entry of the list.
struct ListPlacement {
    ListId list;
    std::uint16_t base;
};

// In address order. The counts block holds one byte per list in ListId order.
inline constexpr std::array<ListPlacement, kListCount> kListPlacements = {{
    {ListId::POV1, wire::kPovBase},
    {ListId::POV2, wire::kPovBase + wire::kPovListStride},
    {ListId::POO1, wire::kPooBase},
    {ListId::POO2, wire::kPooBase + wire::kShortListStride},
    {ListId::PZS1, wire::kPzsBase},
    {ListId::PZS2, wire::kPzsBase + wire::kShortListStride},
    {ListId::TCV1, wire::kTcvBase},
    {ListId::TCV2, wire::kTcvBase + wire::kShortListStride},
    {ListId::TCZSSMS, wire::kTczssmsBase},
}};

struct DtmfPlacement {
    std::uint16_t address;
    FieldRef field;
};

inline constexpr std::array<DtmfPlacement, 4> kDtmfPlacements = {{
    {wire::kDtmfZap1, field::MemoDTMFZAP(1)},
    {wire::kDtmfVyp1, field::MemoDTMFVYP(1)},
    {wire::kDtmfZap2, field::MemoDTMFZAP(2)},
    {wire::kDtmfVyp2, field::MemoDTMFVYP(2)},
}};

// An SMS group: its two texts in consecutive 128-byte areas from base on.
struct SmsGroup {
    std::uint16_t base;
    std::array<FieldRef, 2> texts;
};

inline constexpr std::array<SmsGroup, 4> kSmsGroups = {{
    {wire::kSmsvBase, {field::memoSMSV(1), field::memoSMSV(2)}},
    {wire::kSmsnvBase, {field::memoSMSNV(1), field::memoSMSNV(2)}},
    {wire::kSmszapBase, {field::memoSMSZAP(1), field::memoSMSZAP(2)}},
    {wire::kSmsvypBase, {field::memoSMSVYP(1), field::memoSMSVYP(2)}},
}};
inline constexpr std::size_t kSmsAreaCount =
    kSmsGroups.size() * std::tuple_size_v<decltype(SmsGroup::texts)>;

// Never sent, ignored when received.
inline constexpr std::array<std::uint16_t, 2> kUnusedBlocks = {wire::kUnusedBlock1,
                                                               wire::kUnusedBlock2};

enum class ByteCodec : std::uint8_t {
    Number,      // the value's low 8 bits
    PackedBcd,   // tens in the high nibble, units in the low one
    MinusOne,    // the value − 1
    NcBit,       // bit set when the NC choice (field) is selected; partner is the NO choice.
                 // A received byte above kContactTypesMax leaves both inputs as they are.
    PresenceBit, // bit set when the text is not empty; ignored when received
};

// One field's share of the settings block; bytes no row names stay 0x00.
struct SettingsByte {
    std::size_t position;
    ByteCodec codec;
    FieldRef field;
    std::uint8_t bit = 0; // bit codecs only
    FieldRef partner = 0; // NcBit only
};

// In the order a received block sets the fields.
inline constexpr std::array<SettingsByte, 11> kSettingsBytes = {{
    {wire::kSetContactTypes, ByteCodec::NcBit, field::rbVST(1, field::Contact::NC),
     wire::kInput1NcBit, field::rbVST(1, field::Contact::NO)},
    {wire::kSetContactTypes, ByteCodec::NcBit, field::rbVST(2, field::Contact::NC),
     wire::kInput2NcBit, field::rbVST(2, field::Contact::NO)},
    {wire::kSetInterval, ByteCodec::Number, field::spinINTERVAL},
    {wire::kSetCas, ByteCodec::PackedBcd, field::spinCAS},
    {wire::kSetCasRele1, ByteCodec::Number, field::SpinCASRELE(1)},
    {wire::kSetCasRele2, ByteCodec::Number, field::SpinCASRELE(2)},
    {wire::kSetKredit, ByteCodec::Number, field::spinKREDIT},
    {wire::kSetDelay1, ByteCodec::MinusOne, field::spinDELAY(1)},
    {wire::kSetDelay2, ByteCodec::MinusOne, field::spinDELAY(2)},
    {wire::kSetResetTexts, ByteCodec::PresenceBit, field::memoSMSNV(1), wire::kResetText1Bit},
    {wire::kSetResetTexts, ByteCodec::PresenceBit, field::memoSMSNV(2), wire::kResetText2Bit},
}};

// What follows is derived from the rows above.

enum class BlockKind : std::uint8_t {
    PhoneEntry,
    DtmfCode,
    Counts,
    Settings,
    Unused,
    SmsArea,
    Clock,   // 0x8080, outside the memory
    Outside, // any other address at or above 4096
};

// A run of blocks of one kind: a phone list, a DTMF code, an SMS area, the counts, ...
struct Region {
    BlockKind kind = BlockKind::Unused;
    std::uint16_t first = 0; // address of its first block
    std::size_t blocks = 0;
    std::size_t ordinal = 0;      // its place among the regions of its kind, from 0
    std::optional<ListId> list;   // phone lists
    std::optional<FieldId> field; // DTMF codes and SMS areas
};

// Every block of the memory exactly once, in address order.
[[nodiscard]] std::span<const Region> memoryRegions();
[[nodiscard]] std::uint16_t blockAddress(const Region& region, std::size_t index);
// The field block `index` of the region carries: a phone entry, a DTMF code or an SMS text.
[[nodiscard]] std::optional<FieldId> blockField(const Region& region, std::size_t index);
// Whether a Send writes the region's blocks (all but the unused ones).
[[nodiscard]] bool isSent(const Region& region);

// What an address holds.
struct Location {
    BlockKind kind = BlockKind::Outside;
    const Region* region = nullptr; // none at or above 4096
    std::uint16_t block = 0;        // the block the address lies in; at or above 4096 the address
    std::size_t index = 0;        // that block's place in its region (entry − 1, SMS block 0..7)
    std::size_t byte = 0;         // the address's place in its block
    std::optional<FieldId> field; // as blockField(region, index)
};

[[nodiscard]] Location locate(std::uint16_t address);

// The 18 bytes a block travels in: address high byte, address low byte, 16 data bytes.
using Frame = std::array<std::uint8_t, wire::kFrameSize>;
[[nodiscard]] Frame encodeFrame(const ImageBlock& block);
[[nodiscard]] ImageBlock decodeFrame(std::span<const std::uint8_t, wire::kFrameSize> frame);

} // namespace rtw
