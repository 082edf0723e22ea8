#include "protocol/ConfigImage.h"

#include <algorithm>

namespace rtw {

// An address near the end keeps only the bytes that fall inside the memory.
void ConfigImage::store(const ImageBlock& block) {
    if (block.address >= wire::kMemorySize) {
        return;
    }
    const std::size_t count = std::min(wire::kBlockSize, wire::kMemorySize - block.address);
    std::copy_n(block.data.begin(), count, m_memory.begin() + block.address);
}

ImageBlock ConfigImage::block(std::uint16_t address) const {
    ImageBlock out;
    out.address = address;
    if (address < wire::kMemorySize) {
        const std::size_t count = std::min(wire::kBlockSize, wire::kMemorySize - address);
        std::copy_n(m_memory.begin() + address, count, out.data.begin());
    }
    return out;
}

} // namespace rtw
