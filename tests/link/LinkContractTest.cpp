// The read/write contract every backend keeps: a read returns once n bytes have arrived or
// the read time-out ran out, with the count, the rest of the buffer as the caller left
// it; nothing is lost or repeated between reads; a write reports what it sent.
#include "LinkUnderTest.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <numeric>

namespace rtw::test {
namespace {

using ::testing::ElementsAreArray;

char kChip[] = "FT232R USB UART";
constexpr std::uint32_t kReadMs = 50;
constexpr std::uint32_t kWriteMs = 100;
constexpr std::uint8_t kUntouched = 0xEE;

std::vector<std::uint8_t> counting(std::size_t n, std::uint8_t from = 0) {
    std::vector<std::uint8_t> bytes(n);
    std::iota(bytes.begin(), bytes.end(), from);
    return bytes;
}

class LinkContract : public ::testing::TestWithParam<ContractTarget> {
protected:
    void SetUp() override {
        link = GetParam().make();
        ASSERT_EQ(api().FT_OpenEx(kChip, ftdi::FT_OPEN_BY_DESCRIPTION, &handle), ftdi::FT_OK);
        ASSERT_EQ(api().FT_SetTimeouts(handle, kReadMs, kWriteMs), ftdi::FT_OK);
    }
    void TearDown() override {
        if (link && handle != nullptr) {
            static_cast<void>(api().FT_Close(handle));
        }
    }
    ftdi::D2xxApi& api() { return link->api(); }

    // Reads n into a buffer of `size` bytes prefilled with kUntouched.
    std::vector<std::uint8_t> read(std::uint32_t n, std::uint32_t& count, std::size_t size = 32) {
        std::vector<std::uint8_t> buffer(size, kUntouched);
        count = 12345;
        EXPECT_EQ(api().FT_Read(handle, buffer.data(), n, &count), ftdi::FT_OK);
        return buffer;
    }

    std::unique_ptr<LinkUnderTest> link;
    ftdi::FT_HANDLE handle = nullptr;
};

TEST_P(LinkContract, OpensAsTheUnitsChip) {
    std::uint32_t type = 0;
    std::uint32_t id = 0;
    std::array<char, 17> serial{};
    std::array<char, 65> description{};
    ASSERT_EQ(
        api().FT_GetDeviceInfo(handle, &type, &id, serial.data(), description.data(), nullptr),
        ftdi::FT_OK);
    EXPECT_EQ(type, ftdi::FT_DEVICE_232R);
    EXPECT_EQ(id, ftdi::kFt232rDeviceId);
    EXPECT_STREQ(description.data(), "FT232R USB UART");
}

TEST_P(LinkContract, ReadOfEverythingThatArrived) {
    const auto sent = counting(16, 0x80);
    link->unitSends(sent);
    std::uint32_t count = 0;
    const auto buffer = read(16, count);
    EXPECT_EQ(count, 16U);
    EXPECT_TRUE(std::equal(sent.begin(), sent.end(), buffer.begin()));
    EXPECT_EQ(buffer[16], kUntouched);
}

TEST_P(LinkContract, PartialReadCountsAndLeavesTheRest) {
    link->unitSends({'R', 'T', 'W', '5', '3'});
    std::uint32_t count = 0;
    const auto buffer = read(16, count);
    EXPECT_EQ(count, 5U);
    std::vector<std::uint8_t> expected = {'R', 'T', 'W', '5', '3'};
    expected.resize(32, kUntouched);
    EXPECT_THAT(buffer, ElementsAreArray(expected));
}

TEST_P(LinkContract, ReadOfNothingReturnsZero) {
    std::uint32_t count = 0;
    const auto buffer = read(8, count);
    EXPECT_EQ(count, 0U);
    EXPECT_THAT(buffer, ElementsAreArray(std::vector<std::uint8_t>(32, kUntouched)));
}

TEST_P(LinkContract, NothingLostOrRepeatedBetweenReads) {
    link->unitSends(counting(20));
    std::uint32_t count = 0;
    const auto first = read(16, count);
    EXPECT_EQ(count, 16U);
    const auto second = read(16, count);
    EXPECT_EQ(count, 4U);
    EXPECT_EQ(first[15], 15);
    EXPECT_EQ(second[0], 16);
    EXPECT_EQ(second[3], 19);
    EXPECT_EQ(second[4], kUntouched);
}

TEST_P(LinkContract, LongReadAcrossManyPackets) {
    const auto sent = counting(200);
    link->unitSends(sent);
    std::uint32_t count = 0;
    const auto buffer = read(200, count, 200);
    EXPECT_EQ(count, 200U);
    EXPECT_THAT(buffer, ElementsAreArray(sent));
}

TEST_P(LinkContract, WriteSendsEveryByteOnce) {
    const auto frame = counting(18, 0xF0); // includes 0x00..0x01 after wrapping
    std::uint32_t count = 0;
    ASSERT_EQ(api().FT_Write(handle, frame.data(), 18, &count), ftdi::FT_OK);
    EXPECT_EQ(count, 18U);
    const std::array<std::uint8_t, 1> ack = {0x1F};
    ASSERT_EQ(api().FT_Write(handle, ack.data(), 1, &count), ftdi::FT_OK);
    EXPECT_EQ(count, 1U);
    auto expected = frame;
    expected.push_back(0x1F);
    EXPECT_THAT(link->unitReceived(), ElementsAreArray(expected));
}

TEST_P(LinkContract, ClosedHandleIsRefusedAndTheChipOpensAgain) {
    ASSERT_EQ(api().FT_Close(handle), ftdi::FT_OK);
    const ftdi::FT_HANDLE closed = handle;
    std::array<std::uint8_t, 4> buffer{};
    std::uint32_t count = 0;
    EXPECT_NE(api().FT_Write(closed, buffer.data(), 4, &count), ftdi::FT_OK);
    handle = nullptr;
    ASSERT_EQ(api().FT_OpenEx(kChip, ftdi::FT_OPEN_BY_DESCRIPTION, &handle), ftdi::FT_OK);
    // A handle kept past its close does not reach the chip opened after it.
    EXPECT_NE(handle, closed);
    EXPECT_EQ(api().FT_Write(closed, buffer.data(), 4, &count), ftdi::FT_INVALID_HANDLE);
    EXPECT_EQ(api().FT_Close(closed), ftdi::FT_INVALID_HANDLE);
    EXPECT_TRUE(link->unitReceived().empty());
}

INSTANTIATE_TEST_SUITE_P(EveryBackend, LinkContract, ::testing::ValuesIn(contractTargets()),
                         [](const auto& target) { return target.param.name; });

} // namespace
} // namespace rtw::test
