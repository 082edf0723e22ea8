#include "protocol/ConfigImage.h"

#include <ctime>
#include <stdexcept>

namespace rtw {
namespace {

void putTwoDigits(ImageBlock& block, std::size_t at, int value) {
    block.data[at] = static_cast<std::uint8_t>('0' + value / 10);
    block.data[at + 1] = static_cast<std::uint8_t>('0' + value % 10);
}

bool within(int value, int low, int high) {
    return value >= low && value <= high;
}

} // namespace

// Built digit by digit so the separators never follow the PC's regional settings.
ImageBlock EncodeClockBlock(const LocalDateTime& when) {
    if (when.year < 0 || !within(when.month, 1, 12) || !within(when.day, 1, 31) ||
        !within(when.hour, 0, 23) || !within(when.minute, 0, 59)) {
        throw std::invalid_argument("EncodeClockBlock: date or time out of range");
    }
    ImageBlock block;
    block.address = wire::kClockBlock;
    putTwoDigits(block, 0, when.year % 100);
    block.data[2] = '/';
    putTwoDigits(block, 3, when.month);
    block.data[5] = '/';
    putTwoDigits(block, 6, when.day);
    block.data[8] = ',';
    putTwoDigits(block, 9, when.hour);
    block.data[11] = ':';
    putTwoDigits(block, 12, when.minute);
    return block;
}

LocalDateTime currentLocalDateTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#if defined(_WIN32)
    const bool ok = localtime_s(&local, &now) == 0;
#else
    const bool ok = localtime_r(&now, &local) != nullptr;
#endif
    if (!ok) {
        throw std::runtime_error("currentLocalDateTime: local time not available");
    }
    return LocalDateTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                         local.tm_min};
}

} // namespace rtw
