#pragma once
// The unit's 4 KB configuration memory: encoding a configuration into addressed blocks and
// applying received blocks to a configuration.
#include "config/DeviceConfig.h"
#include "protocol/MemoryMap.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <vector>

namespace rtw {

struct LocalDateTime {
    int year = 2000; // full year; the block carries its last two digits
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
};

// One SMS area as far as it was received: each byte at its place, and which bytes came.
struct SmsAreaBytes {
    std::array<std::uint8_t, wire::kSmsAreaSize> bytes{};
    std::bitset<wire::kSmsAreaSize> arrived;
    bool operator==(const SmsAreaBytes&) const = default;
};

// The state of the SMS texts being received over their blocks: the eight areas in address
// order, assembled by address, so a block repeated or out of order lands where it belongs.
struct SmsAssembly {
    std::array<SmsAreaBytes, kSmsAreaCount> areas{};
    bool operator==(const SmsAssembly&) const = default;
};

// The 254 image blocks in ascending address order. The configuration must have passed
// validateForSend; std::invalid_argument otherwise.
[[nodiscard]] std::vector<ImageBlock> EncodeImage(const DeviceConfig& config);

// The clock block at 0x8080: "yy/mm/dd,hh:nn" and two 0x00 bytes.
[[nodiscard]] ImageBlock EncodeClockBlock(const LocalDateTime& when);
[[nodiscard]] LocalDateTime currentLocalDateTime();

// Applies one received block; changes at most the fields its address names. An SMS text
// is set once every byte of its length has arrived, whichever block completes it.
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
