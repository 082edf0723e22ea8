#include "ImageTestSupport.h"

#include "protocol/ConfigImage.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace rtw {
namespace {

TEST(EncodeClockBlock, DateAndTimeWithFixedSeparators) {
    const std::pair<LocalDateTime, std::string> cases[] = {
        {{2024, 3, 5, 7, 9}, "24/03/05,07:09"},
        {{2000, 1, 1, 0, 0}, "00/01/01,00:00"},
        {{1999, 12, 31, 23, 59}, "99/12/31,23:59"},
        {{2105, 10, 10, 10, 10}, "05/10/10,10:10"},
    };
    for (const auto& [when, text] : cases) {
        const ImageBlock b = EncodeClockBlock(when);
        EXPECT_EQ(b.address, 0x8080);
        EXPECT_EQ(test::bytesOf(b), text + std::string(2, '\0'));
    }
}

TEST(EncodeClockBlock, RefusesValuesThatBreakThePattern) {
    const LocalDateTime cases[] = {
        {2024, 0, 5, 7, 9},  {2024, 13, 5, 7, 9}, {2024, 3, 0, 7, 9},  {2024, 3, 32, 7, 9},
        {2024, 3, 5, -1, 9}, {2024, 3, 5, 24, 9}, {2024, 3, 5, 7, 60}, {-1, 3, 5, 7, 9},
    };
    for (const LocalDateTime& when : cases) {
        EXPECT_THROW((void)EncodeClockBlock(when), std::invalid_argument);
    }
}

TEST(CurrentLocalDateTime, GivesAnEncodableTime) {
    const LocalDateTime now = currentLocalDateTime();
    EXPECT_GE(now.year, 2024);
    EXPECT_NO_THROW((void)EncodeClockBlock(now));
}

} // namespace
} // namespace rtw
