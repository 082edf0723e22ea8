#pragma once
// The unit's memory as a file of exactly 4096 bytes, for the pseudo-terminal server.
#include "wire/ProtocolConstants.h"

#include <array>
#include <cstdint>
#include <filesystem>

namespace rtw::sim {

using MemoryBytes = std::array<std::uint8_t, wire::kMemorySize>;

// std::runtime_error when the file cannot be read or is not 4096 bytes long.
[[nodiscard]] MemoryBytes readMemoryFile(const std::filesystem::path& path);
// Replaces the file whole or not at all (a temporary file renamed over it);
// std::runtime_error on failure.
void writeMemoryFile(const std::filesystem::path& path, const MemoryBytes& memory);

} // namespace rtw::sim
