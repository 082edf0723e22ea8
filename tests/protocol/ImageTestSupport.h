#pragma once
// Small builders shared by the memory image tests.
#include "config/DeviceConfig.h"
#include "protocol/ConfigImage.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace rtw::test {

inline ImageBlock blockAt(std::uint16_t address, std::initializer_list<std::uint8_t> bytes) {
    ImageBlock block;
    block.address = address;
    std::size_t i = 0;
    for (std::uint8_t b : bytes) {
        block.data.at(i++) = b;
    }
    return block;
}

// Length byte and text, as the unit keeps a phone entry or DTMF code.
inline ImageBlock textBlockAt(std::uint16_t address, std::string_view text) {
    ImageBlock block;
    block.address = address;
    block.data[0] = static_cast<std::uint8_t>(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        block.data.at(i + 1) = static_cast<std::uint8_t>(text[i]);
    }
    return block;
}

inline std::string bytesOf(const ImageBlock& block) {
    return std::string(block.data.begin(), block.data.end());
}

inline std::string entryName(ListId list, int k) {
    return fieldInfo(entryField(list, k)).name;
}

// Entries 1 to count filled in increasing order, so the fill rule keeps them.
inline void fillList(DeviceConfig& config, ListId list, int count) {
    for (int k = 1; k <= count; ++k) {
        config.setText(entryField(list, k), "+" + std::to_string(k));
    }
}

inline void fillEveryList(DeviceConfig& config) {
    for (int l = 0; l < kListCount; ++l) {
        fillList(config, static_cast<ListId>(l), listInfo(static_cast<ListId>(l)).size);
    }
}

inline void applyAll(DeviceConfig& config, const std::vector<ImageBlock>& blocks,
                     SmsAssembly& sms) {
    for (const ImageBlock& block : blocks) {
        ApplyImageBlock(config, block, sms);
    }
}

// Names of the fields whose values differ, for failure messages.
inline std::string differences(const DeviceConfig& a, const DeviceConfig& b) {
    std::string out;
    for (const FieldInfo& f : allFields()) {
        const bool same = f.kind == FieldKind::Choice ? a.isSelected(f.id) == b.isSelected(f.id)
                                                      : a.text(f.id) == b.text(f.id) &&
                                                            a.isEnabled(f.id) == b.isEnabled(f.id);
        if (!same) {
            out += f.name + " ";
        }
    }
    return out;
}

} // namespace rtw::test
