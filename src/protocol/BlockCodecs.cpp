#include "protocol/BlockCodecs.h"

#include <algorithm>
#include <stdexcept>

namespace rtw {
namespace {

constexpr int kNibble = 4;
constexpr std::uint8_t kLowNibble = 0x0F;
constexpr int kDecimal = 10;

std::uint8_t lowByte(int value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

} // namespace

BlockData encodeTextBlock(std::string_view text) {
    if (text.size() > wire::kTextBlockCapacity) {
        throw std::invalid_argument("encodeTextBlock: a text block holds at most 15 bytes");
    }
    BlockData data{};
    data[0] = static_cast<std::uint8_t>(text.size());
    std::copy(text.begin(), text.end(), data.begin() + 1);
    return data;
}

std::string decodeTextBlock(const BlockData& data) {
    const std::size_t length = std::min<std::size_t>(data[0], wire::kTextBlockCapacity);
    return std::string(data.begin() + 1, data.begin() + 1 + static_cast<std::ptrdiff_t>(length));
}

std::array<std::uint8_t, wire::kSmsAreaSize> encodeSmsArea(std::string_view text) {
    if (text.size() > wire::kSmsCapacity) {
        throw std::invalid_argument("encodeSmsArea: an SMS text holds at most 127 bytes");
    }
    std::array<std::uint8_t, wire::kSmsAreaSize> bytes{};
    bytes[0] = static_cast<std::uint8_t>(text.size());
    std::copy(text.begin(), text.end(), bytes.begin() + 1);
    return bytes;
}

std::uint8_t encodeNumber(ByteCodec codec, int value) {
    switch (codec) {
    case ByteCodec::PackedBcd:
        return static_cast<std::uint8_t>((value / kDecimal) << kNibble | value % kDecimal);
    case ByteCodec::MinusOne:
        return lowByte(value - wire::kDelayOffset);
    default:
        return lowByte(value);
    }
}

int decodeNumber(ByteCodec codec, std::uint8_t byte) {
    switch (codec) {
    case ByteCodec::PackedBcd:
        return (byte >> kNibble) * kDecimal + (byte & kLowNibble);
    case ByteCodec::MinusOne:
        return byte + wire::kDelayOffset;
    default:
        return byte;
    }
}

} // namespace rtw
