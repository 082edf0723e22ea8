#pragma once
// Where each field of the configuration lives in the unit's memory.
#include "config/FieldTable.h"
#include "wire/ProtocolConstants.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace rtw {

// First address of each phone list, in list order (which is also address order).
inline constexpr std::array<std::uint16_t, kListCount> kListBases = {
    wire::kPovBase,     wire::kPovBase + wire::kPovListStride,
    wire::kPooBase,     wire::kPooBase + wire::kShortListStride,
    wire::kPzsBase,     wire::kPzsBase + wire::kShortListStride,
    wire::kTcvBase,     wire::kTcvBase + wire::kShortListStride,
    wire::kTczssmsBase,
};

// Address of entry k (1-based) of a phone list.
[[nodiscard]] constexpr std::uint16_t entryAddress(ListId list, int entry) {
    return static_cast<std::uint16_t>(kListBases[static_cast<std::size_t>(list)] +
                                      (entry - 1) * wire::kBlockSize);
}

struct DtmfPlacement {
    std::uint16_t address;
    std::string_view field;
};

// The four DTMF codes, in address order.
inline constexpr std::array<DtmfPlacement, 4> kDtmfPlacements = {{
    {wire::kDtmfZap1, "MemoDTMFZAP1"},
    {wire::kDtmfVyp1, "MemoDTMFVYP1"},
    {wire::kDtmfZap2, "MemoDTMFZAP2"},
    {wire::kDtmfVyp2, "MemoDTMFVYP2"},
}};

struct SmsGroup {
    std::uint16_t base;
    std::string_view text1; // area at base
    std::string_view text2; // area at base + 128
};

// The four SMS groups, in address order.
inline constexpr std::array<SmsGroup, 4> kSmsGroups = {{
    {wire::kSmsvBase, "memoSMSV1", "memoSMSV2"},
    {wire::kSmsnvBase, "memoSMSNV1", "memoSMSNV2"},
    {wire::kSmszapBase, "memoSMSZAP1", "memoSMSZAP2"},
    {wire::kSmsvypBase, "memoSMSVYP1", "memoSMSVYP2"},
}};

// The group an SMS address (3072 to 4095) belongs to.
[[nodiscard]] constexpr const SmsGroup& smsGroupAt(std::uint16_t address) {
    if (address < wire::kSmsnvBase) {
        return kSmsGroups[0];
    }
    if (address < wire::kSmszapBase) {
        return kSmsGroups[1];
    }
    if (address < wire::kSmsvypBase) {
        return kSmsGroups[2];
    }
    return kSmsGroups[3];
}

} // namespace rtw
