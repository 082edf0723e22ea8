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

// How the rows below name a field; fieldOf turns it into the field. Every field the map
// knows by name is named in these rows and nowhere else.
using FieldRef = std::string_view;
[[nodiscard]] FieldId fieldOf(FieldRef field);

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
    {wire::kDtmfZap1, "MemoDTMFZAP1"},
    {wire::kDtmfVyp1, "MemoDTMFVYP1"},
    {wire::kDtmfZap2, "MemoDTMFZAP2"},
    {wire::kDtmfVyp2, "MemoDTMFVYP2"},
}};

// An SMS group: its two texts in consecutive 128-byte areas from base on.
struct SmsGroup {
    std::uint16_t base;
    std::array<FieldRef, 2> texts;
};

inline constexpr std::array<SmsGroup, 4> kSmsGroups = {{
    {wire::kSmsvBase, {"memoSMSV1", "memoSMSV2"}},
    {wire::kSmsnvBase, {"memoSMSNV1", "memoSMSNV2"}},
    {wire::kSmszapBase, {"memoSMSZAP1", "memoSMSZAP2"}},
    {wire::kSmsvypBase, {"memoSMSVYP1", "memoSMSVYP2"}},
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
    std::uint8_t bit = 0;  // bit codecs only
    FieldRef partner = {}; // NcBit only
};

// In the order a received block sets the fields.
inline constexpr std::array<SettingsByte, 11> kSettingsBytes = {{
    {wire::kSetContactTypes, ByteCodec::NcBit, "rbVST1_2", wire::kInput1NcBit, "rbVST1_1"},
    {wire::kSetContactTypes, ByteCodec::NcBit, "rbVST2_2", wire::kInput2NcBit, "rbVST2_1"},
    {wire::kSetInterval, ByteCodec::Number, "spinINTERVAL"},
    {wire::kSetCas, ByteCodec::PackedBcd, "spinCAS"},
    {wire::kSetCasRele1, ByteCodec::Number, "SpinCASRELE1"},
    {wire::kSetCasRele2, ByteCodec::Number, "SpinCASRELE2"},
    {wire::kSetKredit, ByteCodec::Number, "spinKREDIT"},
    {wire::kSetDelay1, ByteCodec::MinusOne, "spinDELAY1"},
    {wire::kSetDelay2, ByteCodec::MinusOne, "spinDELAY2"},
    {wire::kSetResetTexts, ByteCodec::PresenceBit, "memoSMSNV1", wire::kResetText1Bit},
    {wire::kSetResetTexts, ByteCodec::PresenceBit, "memoSMSNV2", wire::kResetText2Bit},
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
