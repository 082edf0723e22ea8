#include "link/SysfsTty.h"
#include "FakeSysfs.h"
#include "PseudoTerminal.h"
#include "link/Connection.h"
#include "link/PosixSerial.h"
#include "link/TermiosSettings.h"

#include "config/Cp1252.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>

namespace rtw {
namespace {

using link::PosixSerial;
using test::FakeSysfs;
using test::PseudoTerminal;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

char kChip[] = "FT232R USB UART";

std::uint32_t infoOf(ftdi::D2xxApi& api, ftdi::FT_HANDLE handle, std::string& serialNumber,
                     std::uint32_t& id) {
    std::uint32_t type = 0;
    std::array<char, 17> serial{};
    std::array<char, 65> text{};
    EXPECT_EQ(api.FT_GetDeviceInfo(handle, &type, &id, serial.data(), text.data(), nullptr),
              ftdi::FT_OK);
    EXPECT_STREQ(text.data(), "FT232R USB UART");
    serialNumber = serial.data();
    return type;
}

TEST(TermiosSettings, CharacterFormats) {
    struct Case {
        int bits, stopBits, parity;
        tcflag_t expected;
    };
    const Case cases[] = {
        {8, 1, 0, CS8},
        {7, 2, 0, CS7 | CSTOPB},
        {8, 1, 1, CS8 | PARENB | PARODD},
        {7, 1, 2, CS7 | PARENB},
        {8, 1, 3, CS8 | PARENB | PARODD | CMSPAR},
        {8, 2, 4, CS8 | CSTOPB | PARENB | CMSPAR},
    };
    constexpr tcflag_t format = CSIZE | CSTOPB | PARENB | PARODD | CMSPAR;
    for (const Case& c : cases) {
        termios t{};
        t.c_cflag = CS5 | PARENB | PARODD | CSTOPB | CMSPAR | CLOCAL; // all to be replaced
        ASSERT_TRUE(link::setCharacterFormat(t, c.bits, c.stopBits, c.parity)) << c.parity;
        EXPECT_EQ(t.c_cflag & format, c.expected) << c.bits << c.stopBits << c.parity;
        EXPECT_EQ(t.c_cflag & CLOCAL, static_cast<tcflag_t>(CLOCAL));
    }
    for (const auto& [bits, stopBits, parity] : {std::array{6, 1, 0}, {8, 0, 0}, {8, 1, 5}}) {
        termios t{};
        t.c_cflag = CS8;
        EXPECT_FALSE(link::setCharacterFormat(t, bits, stopBits, parity));
        EXPECT_EQ(t.c_cflag, static_cast<tcflag_t>(CS8));
    }
    EXPECT_EQ(link::speedOf(9600), static_cast<speed_t>(B9600));
    EXPECT_EQ(link::speedOf(921600), static_cast<speed_t>(B921600));
    EXPECT_FALSE(link::speedOf(14400));
}

TEST(SysfsTty, FamilyFromTheReleaseNumber) {
    const std::pair<std::uint16_t, std::uint32_t> cases[] = {
        {0x0200, 1}, {0x0400, 0}, {0x0500, 4}, {0x0600, 5}, {0x0700, 6},
        {0x0800, 7}, {0x0900, 8}, {0x1000, 9}, {0x0601, 3}, {0x0000, 3},
    };
    for (const auto& [bcd, type] : cases) {
        EXPECT_EQ(link::deviceTypeOfUsb({0x0403, 0x6001, bcd, "", ""}), type) << bcd;
    }
    EXPECT_EQ(link::deviceTypeOfUsb({0x10C4, 0xEA60, 0x0600, "", ""}), ftdi::FT_DEVICE_UNKNOWN);
}

TEST(SysfsTty, ReadsTheUsbDeviceAboveATerminal) {
    FakeSysfs tree;
    PseudoTerminal node;
    tree.addUsbTty("ttyUSB0", node, "0403", "6001", "0600", "FT232R USB UART");
    tree.addPlainTty("ttyS0");
    const auto info = link::usbInfoOfTty(tree.sys(), "ttyUSB0");
    ASSERT_TRUE(info);
    EXPECT_EQ(info->vendorId, 0x0403);
    EXPECT_EQ(info->productId, 0x6001);
    EXPECT_EQ(info->bcdDevice, 0x0600);
    EXPECT_EQ(info->product, "FT232R USB UART");
    EXPECT_EQ(info->serialNumber, "SN-ttyUSB0");
    EXPECT_FALSE(link::usbInfoOfTty(tree.sys(), "ttyS0"));
    EXPECT_FALSE(link::usbInfoOfTty(tree.sys(), "ttyUSB7"));
    EXPECT_FALSE(link::usbInfoOfTty(tree.sys(), "../../etc"));
    EXPECT_THAT(link::ttyNamesWithDevice(tree.sys()), ElementsAre("ttyS0", "ttyUSB0"));
    EXPECT_EQ(link::ttyNameOfNode(tree.sys(), tree.dev() / "ttyUSB0"), "ttyUSB0");
}

TEST(PosixSerial, FindsTheUnitsChipByItsDescriptionAndIds) {
    FakeSysfs tree;
    PseudoTerminal other;
    PseudoTerminal xSeries;
    PseudoTerminal unit;
    tree.addPlainTty("ttyS0");
    tree.addUsbTty("ttyUSB0", other, "0403", "6001", "0600", "USB Serial Converter");
    tree.addUsbTty("ttyUSB1", xSeries, "0403", "6015", "1000", "FT232R USB UART");
    tree.addUsbTty("ttyUSB2", unit, "0403", "6001", "0600", "FT232R USB UART");
    PosixSerial serial(tree.automatic());
    ftdi::FT_HANDLE h = nullptr;
    ASSERT_EQ(serial.FT_OpenEx(kChip, ftdi::FT_OPEN_BY_DESCRIPTION, &h), ftdi::FT_OK);
    std::string serialNumber;
    std::uint32_t id = 0;
    EXPECT_EQ(infoOf(serial, h, serialNumber, id), ftdi::FT_DEVICE_232R);
    EXPECT_EQ(serialNumber, "SN-ttyUSB2");
    EXPECT_EQ(id, 0x04036001U);

    ASSERT_EQ(serial.FT_SetTimeouts(h, 50, 50), ftdi::FT_OK);
    const std::array<std::uint8_t, 1> handshake = {0xAA};
    std::uint32_t count = 0;
    ASSERT_EQ(serial.FT_Write(h, handshake.data(), 1, &count), ftdi::FT_OK);
    EXPECT_THAT(unit.receive(8), ElementsAre(0xAA));
    EXPECT_THAT(other.receive(8, 0), IsEmpty());

    // The driver's latency attribute, where we may write it.
    EXPECT_EQ(serial.FT_SetLatencyTimer(h, 2), ftdi::FT_OK);
    EXPECT_EQ(tree.latency("ttyUSB2"), "2");
    EXPECT_EQ(serial.FT_Close(h), ftdi::FT_OK);
}

TEST(PosixSerial, ConnectTellsAboutMissingOrWrongChips) {
    struct Case {
        const char* product;
        const char* bcd;
        const char* message;
    };
    const Case cases[] = {
        {"USB Serial Converter", "0600", "Nicht verbunden Wählgerät!"},
        {"FT232R USB UART", "0700", "Falsche USB-Gerät !"},
    };
    for (const Case& c : cases) {
        FakeSysfs tree;
        PseudoTerminal node;
        tree.addUsbTty("ttyUSB0", node, "0403", "6001", c.bcd, c.product);
        PosixSerial serial(tree.automatic());
        DeviceLink link(serial);
        struct Messages : MessageSink {
            std::vector<std::string> texts;
            void showMessage(std::string_view text) override {
                texts.push_back(utf8FromCp1252(text));
            }
        } messages;
        Connect(link, messages);
        EXPECT_FALSE(link.connected);
        EXPECT_THAT(messages.texts, ElementsAre(c.message));
    }
}

TEST(PosixSerial, NamedUsbAdapterMustCarryTheDescription) {
    FakeSysfs tree;
    PseudoTerminal node;
    tree.addUsbTty("ttyUSB0", node, "10c4", "ea60", "0100", "CP2102 USB to UART Bridge");
    PosixSerial serial(tree.named((tree.dev() / "ttyUSB0").string()));
    ftdi::FT_HANDLE h = nullptr;
    EXPECT_EQ(serial.FT_OpenEx(kChip, ftdi::FT_OPEN_BY_DESCRIPTION, &h), ftdi::FT_DEVICE_NOT_FOUND);

    FakeSysfs other;
    PseudoTerminal unit;
    other.addUsbTty("ttyUSB3", unit, "0403", "6001", "0600", "FT232R USB UART");
    PosixSerial named(other.named((other.dev() / "ttyUSB3").string()));
    ASSERT_EQ(named.FT_OpenEx(kChip, ftdi::FT_OPEN_BY_DESCRIPTION, &h), ftdi::FT_OK);
    std::string serialNumber;
    std::uint32_t id = 0;
    EXPECT_EQ(infoOf(named, h, serialNumber, id), ftdi::FT_DEVICE_232R);
    EXPECT_EQ(serialNumber, "SN-ttyUSB3");
    EXPECT_EQ(named.FT_SetLatencyTimer(h, 2), ftdi::FT_OK);
    EXPECT_EQ(other.latency("ttyUSB3"), "2");
    EXPECT_EQ(named.FT_Close(h), ftdi::FT_OK);
}

} // namespace
} // namespace rtw
