#include "ImageTestSupport.h"

#include "protocol/ConfigImage.h"

#include <gtest/gtest.h>

namespace rtw {
namespace {

using test::blockAt;
using test::bytesOf;

TEST(ConfigImage, HoldsTheEncodedImageAtItsAddresses) {
    DeviceConfig c;
    test::fillEveryList(c);
    c.setText("memoSMSVYP2", "Aus");
    ConfigImage image;
    for (const ImageBlock& b : EncodeImage(c)) {
        image.store(b);
        EXPECT_EQ(image.block(b.address), b);
    }
    EXPECT_EQ(image.memory()[1008], 3); // "+64"
    EXPECT_EQ(image.memory()[3968], 3);
    EXPECT_EQ(bytesOf(image.block(3040)), std::string(16, '\0'));
    EXPECT_EQ(bytesOf(image.block(3056)), std::string(16, '\0'));
}

TEST(ConfigImage, BytesOutsideTheMemoryAreDropped) {
    ConfigImage image;
    const ImageBlock b = blockAt(4090, {1, 2, 3, 4, 5, 6, 7, 8, 9});
    image.store(b);
    EXPECT_EQ(image.memory()[4090], 1);
    EXPECT_EQ(image.memory()[4095], 6);
    EXPECT_EQ(image.block(4090), blockAt(4090, {1, 2, 3, 4, 5, 6}));

    for (const std::uint16_t address : {4096, 0x8080, 0xFFFF}) {
        ConfigImage other;
        other.store(blockAt(address, {0xFF, 0xFF}));
        EXPECT_EQ(other.memory(), ConfigImage().memory()) << address;
        EXPECT_EQ(other.block(address), blockAt(address, {})) << address;
    }
}

TEST(ConfigImage, UnalignedBlockOverlapsItsNeighbours) {
    ConfigImage image;
    image.store(blockAt(8, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(image.block(0), blockAt(0, {0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(image.block(16), blockAt(16, {9, 10}));
}

} // namespace
} // namespace rtw
