#include "protocol/MemoryMap.h"

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace rtw {
namespace {

static_assert(wire::kSmsBlocksPerArea * wire::kBlockSize == wire::kSmsAreaSize);
static_assert(wire::kSmsAreaStride == wire::kSmsAreaSize);

constexpr std::size_t kAddressHigh = 0;
constexpr std::size_t kAddressLow = 1;
constexpr std::size_t kFrameData = 2;

struct Map {
    std::vector<Region> regions;
    std::array<std::size_t, kMemoryBlockCount> regionOfBlock{};
};

std::vector<Region> regionsFromRows() {
    std::vector<Region> regions;
    for (std::size_t i = 0; i < kListPlacements.size(); ++i) {
        const ListPlacement& p = kListPlacements[i];
        regions.push_back({BlockKind::PhoneEntry,
                           p.base,
                           static_cast<std::size_t>(listInfo(p.list).size),
                           i,
                           p.list,
                           {}});
    }
    for (std::size_t i = 0; i < kDtmfPlacements.size(); ++i) {
        const DtmfPlacement& p = kDtmfPlacements[i];
        regions.push_back({BlockKind::DtmfCode, p.address, 1, i, {}, p.field});
    }
    regions.push_back({BlockKind::Counts, wire::kCountsBlock, 1, 0, {}, {}});
    regions.push_back({BlockKind::Settings, wire::kSettingsBlock, 1, 0, {}, {}});
    for (std::size_t i = 0; i < kUnusedBlocks.size(); ++i) {
        regions.push_back({BlockKind::Unused, kUnusedBlocks[i], 1, i, {}, {}});
    }
    std::size_t area = 0;
    for (const SmsGroup& group : kSmsGroups) {
        for (std::size_t t = 0; t < group.texts.size(); ++t) {
            const auto first = static_cast<std::uint16_t>(group.base + t * wire::kSmsAreaStride);
            regions.push_back({BlockKind::SmsArea,
                               first,
                               wire::kSmsBlocksPerArea,
                               area++,
                               {},
                               group.texts[t]});
        }
    }
    std::sort(regions.begin(), regions.end(),
              [](const Region& a, const Region& b) { return a.first < b.first; });
    return regions;
}

// A row that overlaps another, runs past the end or leaves a gap is a programming error.
Map buildMap() {
    Map map{regionsFromRows(), {}};
    std::array<bool, kMemoryBlockCount> taken{};
    for (std::size_t r = 0; r < map.regions.size(); ++r) {
        const Region& region = map.regions[r];
        for (std::size_t i = 0; i < region.blocks; ++i) {
            const std::size_t block = region.first / wire::kBlockSize + i;
            if (region.first % wire::kBlockSize != 0 || block >= kMemoryBlockCount ||
                taken[block]) {
                throw std::logic_error("memory map: regions overlap or leave the memory");
            }
            taken[block] = true;
            map.regionOfBlock[block] = r;
        }
    }
    if (!std::all_of(taken.begin(), taken.end(), [](bool t) { return t; })) {
        throw std::logic_error("memory map: a block belongs to no region");
    }
    return map;
}

const Map& theMap() {
    static const Map map = buildMap();
    return map;
}

} // namespace

std::span<const Region> memoryRegions() {
    return theMap().regions;
}

std::uint16_t blockAddress(const Region& region, std::size_t index) {
    return static_cast<std::uint16_t>(region.first + index * wire::kBlockSize);
}

std::optional<FieldId> blockField(const Region& region, std::size_t index) {
    if (region.kind == BlockKind::PhoneEntry) {
        return entryField(*region.list, static_cast<int>(index) + 1);
    }
    return region.field;
}

bool isSent(const Region& region) {
    return region.kind != BlockKind::Unused;
}

Location locate(std::uint16_t address) {
    Location at;
    at.block = address;
    if (address >= wire::kMemorySize) {
        at.kind = address == wire::kClockBlock ? BlockKind::Clock : BlockKind::Outside;
        return at;
    }
    const Map& map = theMap();
    const Region& region = map.regions[map.regionOfBlock[address / wire::kBlockSize]];
    at.kind = region.kind;
    at.region = &region;
    at.byte = address % wire::kBlockSize;
    at.block = static_cast<std::uint16_t>(address - at.byte);
    at.index = (at.block - region.first) / wire::kBlockSize;
    at.field = blockField(region, at.index);
    return at;
}

Frame encodeFrame(const ImageBlock& block) {
    Frame frame{};
    frame[kAddressHigh] = static_cast<std::uint8_t>(block.address >> 8);
    frame[kAddressLow] = static_cast<std::uint8_t>(block.address & 0xFF);
    std::copy(block.data.begin(), block.data.end(), frame.begin() + kFrameData);
    return frame;
}

ImageBlock decodeFrame(std::span<const std::uint8_t, wire::kFrameSize> frame) {
    ImageBlock block;
    block.address = static_cast<std::uint16_t>(frame[kAddressHigh] << 8 | frame[kAddressLow]);
    std::copy(frame.begin() + kFrameData, frame.end(), block.data.begin());
    return block;
}

} // namespace rtw
