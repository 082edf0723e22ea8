#pragma once
// Small builders shared by the emulated unit's tests.
#include "wire/ProtocolConstants.h"
#include "sim/EmulatedUnit.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace rtw::sim::testing {

using Bytes = std::vector<std::uint8_t>;

inline Bytes frame(std::uint16_t address, std::uint8_t fill) {
    Bytes out{static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address & 0xFF)};
    out.insert(out.end(), wire::kBlockSize, fill);
    return out;
}

inline Bytes frame(std::uint16_t address, std::string_view text) {
    Bytes out = frame(address, std::uint8_t{0});
    for (std::size_t i = 0; i < text.size() && i < wire::kBlockSize; ++i) {
        out[2 + i] = static_cast<std::uint8_t>(text[i]);
    }
    return out;
}

inline Bytes dataOf(const Bytes& frameBytes) {
    return {frameBytes.begin() + 2, frameBytes.end()};
}

inline Bytes bytesOf(std::string_view text) {
    return {text.begin(), text.end()};
}

// Every byte the unit sent, the emissions joined.
inline Bytes joined(const std::vector<Emission>& emissions) {
    Bytes out;
    for (const auto& emission : emissions) {
        out.insert(out.end(), emission.bytes.begin(), emission.bytes.end());
    }
    return out;
}

} // namespace rtw::sim::testing
