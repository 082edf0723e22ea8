#pragma once
// The unit's 4 KB configuration memory: encoding a configuration into addressed blocks and
// applying received blocks to a configuration.
#include "config/DeviceConfig.h"
#include "wire/ProtocolConstants.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rtw {

struct ImageBlock {
    std::uint16_t address = 0;
    std::array<std::uint8_t, wire::kBlockSize> data{};
    bool operator==(const ImageBlock&) const = default;
};

struct LocalDateTime {
    int year = 2000; // full year; the block carries its last two digits
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
};

// The state of an SMS text being received over its 8 blocks.
struct SmsAssembly {
    bool pending = false;          // a first block opened an area that is not complete yet
    std::uint16_t areaAddress = 0; // address of that area's first block
    std::uint8_t pendingLength = 0;
    int pendingText = 0; // 1 or 2
    std::string collected;
};

// The 254 image blocks in ascending address order. The configuration must have passed
// validateForSend; std::invalid_argument otherwise.
[[nodiscard]] std::vector<ImageBlock> EncodeImage(const DeviceConfig& config);

// The 128 bytes of one SMS area: length byte, the text's bytes, zeros. A text of more
// than 127 bytes is refused (std::invalid_argument); validateForSend keeps them out.
[[nodiscard]] std::array<std::uint8_t, wire::kSmsAreaSize> encodeSmsArea(std::string_view text);

// The clock block at 0x8080: "yy/mm/dd,hh:nn" and two 0x00 bytes.
[[nodiscard]] ImageBlock EncodeClockBlock(const LocalDateTime& when);
[[nodiscard]] LocalDateTime currentLocalDateTime();

// Applies one received block; changes at most the fields its address names.
void ApplyImageBlock(DeviceConfig& config, const ImageBlock& block, SmsAssembly& sms);

// The 4096 bytes of the unit's memory as a run of blocks (for the emulated unit and tools).
class ConfigImage {
public:
    ConfigImage() { m_memory.fill(0); }
    // 16 bytes from the block's address on; bytes at or above 4096 are dropped, so a block
    // at or above it changes nothing.
    void store(const ImageBlock& block);
    // The 16 bytes from address on; bytes beyond the memory read as 0x00.
    [[nodiscard]] ImageBlock block(std::uint16_t address) const;
    [[nodiscard]] const std::array<std::uint8_t, wire::kMemorySize>& memory() const {
        return m_memory;
    }
    [[nodiscard]] std::array<std::uint8_t, wire::kMemorySize>& memory() { return m_memory; }

private:
    std::array<std::uint8_t, wire::kMemorySize> m_memory{};
};

} // namespace rtw
