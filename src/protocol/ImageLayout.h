#pragma once
// Where each field of the configuration lives in the unit's memory.
#include "config/FieldTable.h"
#include "wire/ProtocolConstants.h"

#include <array>
#include <cstdint>

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
    FieldId field;
};

// The four DTMF codes, in address order.
inline constexpr std::array<DtmfPlacement, 4> kDtmfPlacements = {{
    {wire::kDtmfZap1, field::MemoDTMFZAP(1)},
    {wire::kDtmfVyp1, field::MemoDTMFVYP(1)},
    {wire::kDtmfZap2, field::MemoDTMFZAP(2)},
    {wire::kDtmfVyp2, field::MemoDTMFVYP(2)},
}};

struct SmsGroup {
    std::uint16_t base;
    FieldId text1; // area at base
    FieldId text2; // area at base + 128
};

// The four SMS groups, in address order.
inline constexpr std::array<SmsGroup, 4> kSmsGroups = {{
    {wire::kSmsvBase, field::memoSMSV(1), field::memoSMSV(2)},
    {wire::kSmsnvBase, field::memoSMSNV(1), field::memoSMSNV(2)},
    {wire::kSmszapBase, field::memoSMSZAP(1), field::memoSMSZAP(2)},
    {wire::kSmsvypBase, field::memoSMSVYP(1), field::memoSMSVYP(2)},
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
