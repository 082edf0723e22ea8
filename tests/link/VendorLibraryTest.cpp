#include "link/VendorLibrary.h"
#include "RecordingD2xx.h"
#include "RecordingSink.h"
#include "Standin.h"
#include "link/Connection.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>

namespace rtw {
namespace {

using link::VendorLibrary;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

struct Silent : MessageSink {
    std::vector<std::string> texts;
    void showMessage(std::string_view text) override { texts.push_back(utf8FromCp1252(text)); }
};

class VendorLibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        library = VendorLibrary::load(RTW_STANDIN_PATH);
        ASSERT_TRUE(library);
        ASSERT_TRUE(standin.ready());
        standin.reset();
    }
    std::unique_ptr<VendorLibrary> library;
    test::Standin standin{RTW_STANDIN_PATH};
};

TEST(VendorLibraryLoading, FileNameOfThePlatformAndMissingLibraries) {
    EXPECT_STREQ(VendorLibrary::defaultFileName(), "libftd2xx.so");
    EXPECT_FALSE(VendorLibrary::load("/nonexistent/libftd2xx.so"));
    // A library that loads but has none of the calls.
    EXPECT_FALSE(VendorLibrary::load("libm.so.6"));
}

TEST_F(VendorLibraryTest, ConnectAndTransferThroughTheLoadedLibrary) {
    DeviceLink link(*library);
    Silent messages;
    Connect(link, messages);
    ASSERT_TRUE(link.connected);
    EXPECT_THAT(messages.texts, IsEmpty());
    EXPECT_STREQ(standin.calls(), "FT_OpenEx FT232R USB UART 2\n"
                                  "FT_Close\n"
                                  "FT_OpenEx FT232R USB UART 2\n"
                                  "FT_GetDeviceInfo null\n"
                                  "FT_ResetDevice\n"
                                  "FT_SetBaudRate 9600\n"
                                  "FT_SetDataCharacteristics 8 0 0\n"
                                  "FT_SetFlowControl 0 0 0\n"
                                  "FT_SetTimeouts 500 1000\n"
                                  "FT_SetLatencyTimer 2\n");

    const std::array<std::uint8_t, 1> handshake = {0xAA};
    std::uint32_t count = 0;
    EXPECT_TRUE(link.devicePort->write(handshake.data(), 1, count));
    EXPECT_EQ(count, 1U);
    std::array<std::uint8_t, 4> taken{};
    EXPECT_EQ(standin.take(taken.data(), 4), 1U);
    EXPECT_EQ(taken[0], 0xAA);

    const std::array<std::uint8_t, 3> answer = {0x06, 0x01, 0x02};
    standin.deliver(answer.data(), 3);
    std::array<std::uint8_t, 16> buffer;
    buffer.fill(0x20);
    EXPECT_TRUE(link.devicePort->read(buffer.data(), 16, count));
    EXPECT_EQ(count, 3U);
    EXPECT_EQ(buffer[0], 0x06);
    EXPECT_EQ(buffer[3], 0x20);

    Disconnect(link);
    const std::string calls = standin.calls();
    EXPECT_EQ(calls.substr(calls.size() - 9), "FT_Close\n");
}

TEST_F(VendorLibraryTest, WrongFamilyIsRefusedAndTheChipReleased) {
    standin.setType(ftdi::FT_DEVICE_2232H);
    DeviceLink link(*library);
    Silent messages;
    Connect(link, messages);
    EXPECT_FALSE(link.connected);
    EXPECT_THAT(messages.texts, ElementsAre("Falsche USB-Gerät !"));
    standin.setType(ftdi::FT_DEVICE_232R);
    Connect(link, messages);
    EXPECT_TRUE(link.connected);
    Disconnect(link);
}

TEST(VendorLibraryLoading, OlderLibraryWithoutTheLatencyTimerStillServes) {
    const auto library = VendorLibrary::load(RTW_STANDIN_WITHOUT_LATENCY_PATH);
    ASSERT_TRUE(library);
    DeviceLink link(*library);
    Silent messages;
    Connect(link, messages);
    EXPECT_TRUE(link.connected);
    EXPECT_FALSE(link.devicePort->setLatencyTimer(2));
    Disconnect(link);
}

} // namespace
} // namespace rtw
