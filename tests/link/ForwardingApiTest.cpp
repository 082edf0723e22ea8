// A layer in front of the seam that changes nothing passes every call through as it came.
#include "link/ForwardingApi.h"

#include "RecordingD2xx.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace rtw::test {
namespace {

// Every call once, with values that show up in the chip's log.
void everyCall(ftdi::D2xxApi& api, std::vector<std::uint8_t>& read) {
    char description[] = "FT232R USB UART";
    ftdi::FT_HANDLE handle = nullptr;
    ASSERT_EQ(api.FT_OpenEx(description, ftdi::FT_OPEN_BY_DESCRIPTION, &handle), ftdi::FT_OK);
    std::uint32_t type = 0;
    std::uint32_t id = 0;
    std::array<char, 17> serial{};
    std::array<char, 65> text{};
    EXPECT_EQ(api.FT_GetDeviceInfo(handle, &type, &id, serial.data(), text.data(), nullptr),
              ftdi::FT_OK);
    EXPECT_EQ(type, ftdi::FT_DEVICE_232R);
    EXPECT_STREQ(serial.data(), "A9XK3TQ1");
    EXPECT_EQ(api.FT_ResetDevice(handle), ftdi::FT_OK);
    EXPECT_EQ(api.FT_SetBaudRate(handle, 9600), ftdi::FT_OK);
    EXPECT_EQ(api.FT_SetDataCharacteristics(handle, 7, 2, 3), ftdi::FT_OK);
    EXPECT_EQ(api.FT_SetFlowControl(handle, ftdi::FT_FLOW_XON_XOFF, 0x11, 0x13), ftdi::FT_OK);
    EXPECT_EQ(api.FT_SetTimeouts(handle, 500, 1000), ftdi::FT_OK);
    EXPECT_EQ(api.FT_SetLatencyTimer(handle, 2), ftdi::FT_OK);
    const std::array<std::uint8_t, 2> frame = {0xAA, 0x60};
    std::uint32_t count = 0;
    EXPECT_EQ(api.FT_Write(handle, frame.data(), 2, &count), ftdi::FT_OK);
    EXPECT_EQ(count, 2U);
    read.assign(4, 0);
    EXPECT_EQ(api.FT_Read(handle, read.data(), 4, &count), ftdi::FT_OK);
    read.resize(count);
    EXPECT_EQ(api.FT_Close(handle), ftdi::FT_OK);
}

TEST(ForwardingApi, PassesEveryCallOnUnchanged) {
    RecordingD2xx direct;
    direct.toPc = {0x06, 0x01, 0x02};
    std::vector<std::uint8_t> readDirect;
    everyCall(direct, readDirect);

    RecordingD2xx behind;
    behind.toPc = {0x06, 0x01, 0x02};
    link::ForwardingApi forwarding(behind);
    std::vector<std::uint8_t> readForwarded;
    everyCall(forwarding, readForwarded);

    EXPECT_EQ(behind.calls, direct.calls);
    EXPECT_EQ(behind.fromPc, direct.fromPc);
    EXPECT_EQ(readForwarded, readDirect);
    EXPECT_EQ(readForwarded, (std::vector<std::uint8_t>{0x06, 0x01, 0x02}));
}

TEST(ForwardingApi, PassesFailuresBack) {
    RecordingD2xx chip;
    chip.fail("SetBaudRate", ftdi::FT_IO_ERROR);
    link::ForwardingApi forwarding(chip);
    char description[] = "FT232R USB UART";
    ftdi::FT_HANDLE handle = nullptr;
    ASSERT_EQ(forwarding.FT_OpenEx(description, ftdi::FT_OPEN_BY_DESCRIPTION, &handle),
              ftdi::FT_OK);
    EXPECT_EQ(forwarding.FT_SetBaudRate(handle, 9600), ftdi::FT_IO_ERROR);
    EXPECT_EQ(forwarding.FT_Close(handle), ftdi::FT_OK);
    EXPECT_EQ(forwarding.FT_Close(handle), ftdi::FT_INVALID_HANDLE);
}

} // namespace
} // namespace rtw::test
