#pragma once
// How the blocks code their fields, both ways: text blocks, SMS areas and the numbers of
// the settings block.
#include "protocol/MemoryMap.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace rtw {

using BlockData = std::array<std::uint8_t, wire::kBlockSize>;

// Length byte, the text's bytes, zeros. A text of more than 15 bytes is refused
// (std::invalid_argument); validateForSend keeps them out.
[[nodiscard]] BlockData encodeTextBlock(std::string_view text);
// Bytes 1 to L; a length above what the block holds gives the bytes it holds.
[[nodiscard]] std::string decodeTextBlock(const BlockData& data);

// The 128 bytes of one SMS area: length byte, the text's bytes, zeros. A text of more
// than 127 bytes is refused (std::invalid_argument); validateForSend keeps them out.
[[nodiscard]] std::array<std::uint8_t, wire::kSmsAreaSize> encodeSmsArea(std::string_view text);

// The number codecs of the settings block: Number, PackedBcd and MinusOne. Validation
// keeps every value it is given inside a byte.
[[nodiscard]] std::uint8_t encodeNumber(ByteCodec codec, int value);
[[nodiscard]] int decodeNumber(ByteCodec codec, std::uint8_t byte);

} // namespace rtw
