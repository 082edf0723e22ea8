// The argument checks every backend makes before it touches a device.
#include "link/ArgumentChecks.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace rtw::link {
namespace {

struct LineCase {
    std::uint8_t wordLength;
    std::uint8_t stopBits;
    std::uint8_t parity;
    bool valid;
    bool unitLine; // at the unit's baud rate
};

TEST(ArgumentChecks, LineFormatsInTheLibrarysValues) {
    const LineCase cases[] = {
        {8, 0, 0, true, true},   {7, 0, 0, true, false},  {8, 2, 0, true, false},
        {8, 0, 1, true, false},  {8, 0, 4, true, false},  {6, 0, 0, false, false},
        {9, 0, 0, false, false}, {8, 1, 0, false, false}, // the library's two stop bits are 2
        {8, 0, 5, false, false},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << int{c.wordLength} << " " << int{c.stopBits} << " " << int{c.parity});
        EXPECT_EQ(isLineFormat(c.wordLength, c.stopBits, c.parity), c.valid);
        EXPECT_EQ(isUnitLine(9600, c.wordLength, c.stopBits, c.parity), c.unitLine);
    }
    EXPECT_FALSE(isUnitLine(19200, 8, 0, 0));
}

TEST(ArgumentChecks, TransfersNeedACountAndBytesUnlessNoneMove) {
    std::uint8_t byte = 0;
    std::uint32_t count = 0;
    EXPECT_TRUE(isTransfer(&byte, 1, &count));
    EXPECT_TRUE(isTransfer(nullptr, 0, &count));
    EXPECT_FALSE(isTransfer(nullptr, 1, &count));
    EXPECT_FALSE(isTransfer(&byte, 1, nullptr));
    EXPECT_FALSE(isTransfer(nullptr, 0, nullptr));
}

TEST(ArgumentChecks, OpenNeedsATextAndAPlaceForTheHandle) {
    char text[] = "FT232R USB UART";
    ftdi::FT_HANDLE handle = nullptr;
    EXPECT_TRUE(isOpenRequest(text, &handle));
    EXPECT_FALSE(isOpenRequest(nullptr, &handle));
    EXPECT_FALSE(isOpenRequest(text, nullptr));
}

} // namespace
} // namespace rtw::link
