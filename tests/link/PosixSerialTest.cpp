#include "link/PosixSerial.h"
#include "PseudoTerminal.h"
#include "link/Connection.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace rtw {
namespace {

namespace fs = std::filesystem;
using link::PosixSerial;
using link::SerialOptions;
using test::PseudoTerminal;
using ::testing::IsEmpty;

char kChip[] = "FT232R USB UART";
constexpr std::uint32_t kShortReadMs = 50;
constexpr std::uint32_t kShortWriteMs = 50;

std::uint32_t typeOf(ftdi::D2xxApi& api, ftdi::FT_HANDLE handle, std::string* description = nullptr,
                     std::string* serial = nullptr, std::uint32_t* id = nullptr) {
    std::uint32_t type = 0;
    std::uint32_t deviceId = 0;
    std::array<char, 17> serialText{};
    std::array<char, 65> text{};
    EXPECT_EQ(
        api.FT_GetDeviceInfo(handle, &type, &deviceId, serialText.data(), text.data(), nullptr),
        ftdi::FT_OK);
    if (description != nullptr) {
        *description = text.data();
    }
    if (serial != nullptr) {
        *serial = serialText.data();
    }
    if (id != nullptr) {
        *id = deviceId;
    }
    return type;
}

// A serial backend on a named pseudo-terminal, opened, with short time-outs.
struct PtyBench {
    PseudoTerminal unit;
    PosixSerial serial{SerialOptions{unit.slavePath()}};
    ftdi::FT_HANDLE handle = nullptr;

    PtyBench() {
        EXPECT_EQ(serial.FT_OpenEx(kChip, ftdi::FT_OPEN_BY_DESCRIPTION, &handle), ftdi::FT_OK);
        EXPECT_EQ(serial.FT_SetTimeouts(handle, kShortReadMs, kShortWriteMs), ftdi::FT_OK);
    }
    ~PtyBench() { static_cast<void>(serial.FT_Close(handle)); }
};

TEST(PosixSerial, NamedPseudoTerminalPassesForTheUnitsChip) {
    PtyBench bench;
    std::string description;
    std::string serialNumber = "x";
    std::uint32_t id = 0;
    EXPECT_EQ(typeOf(bench.serial, bench.handle, &description, &serialNumber, &id),
              ftdi::FT_DEVICE_232R);
    EXPECT_EQ(description, "FT232R USB UART");
    EXPECT_EQ(serialNumber, "");
    EXPECT_EQ(id, 0x04036001U);
}

TEST(PosixSerial, ConnectSucceedsOnANamedPseudoTerminal) {
    PseudoTerminal unit;
    PosixSerial serial(SerialOptions{unit.slavePath()});
    DeviceLink link(serial);
    struct Messages : MessageSink {
        std::vector<std::string> texts;
        void showMessage(std::string_view text) override { texts.emplace_back(text); }
    } messages;
    Connect(link, messages);
    EXPECT_TRUE(link.connected);
    EXPECT_THAT(messages.texts, IsEmpty());
    // Latency cannot be set on a pseudo-terminal; Connect does not mind.
    EXPECT_FALSE(link.devicePort->setLatencyTimer(2));
    Disconnect(link);
}

TEST(PosixSerial, GreetingArrives) {
    PtyBench bench;
    bench.unit.send("RTW53zem");
    std::array<std::uint8_t, 8> buffer;
    buffer.fill(0x20);
    std::uint32_t count = 0;
    ASSERT_EQ(bench.serial.FT_Read(bench.handle, buffer.data(), 8, &count), ftdi::FT_OK);
    EXPECT_EQ(count, 8U);
    EXPECT_EQ(std::string(buffer.begin(), buffer.end()), "RTW53zem");
}

TEST(PosixSerial, ReadOfSixteenWhenFiveArriveEndsAtTheTimeout) {
    PtyBench bench;
    bench.unit.send("RTW53");
    std::array<std::uint8_t, 16> buffer;
    buffer.fill(0x20);
    std::uint32_t count = 0;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(bench.serial.FT_Read(bench.handle, buffer.data(), 16, &count), ftdi::FT_OK);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(count, 5U);
    EXPECT_EQ(std::string(buffer.begin(), buffer.end()), "RTW53           ");
    EXPECT_GE(waited, std::chrono::milliseconds(kShortReadMs));
}

TEST(PosixSerial, ReadGathersBytesThatArriveApart) {
    PtyBench bench;
    ASSERT_EQ(bench.serial.FT_SetTimeouts(bench.handle, 2000, kShortWriteMs), ftdi::FT_OK);
    std::thread unit([&] {
        bench.unit.send("RTW");
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        bench.unit.send("53zem");
    });
    std::array<std::uint8_t, 8> buffer{};
    std::uint32_t count = 0;
    EXPECT_EQ(bench.serial.FT_Read(bench.handle, buffer.data(), 8, &count), ftdi::FT_OK);
    unit.join();
    EXPECT_EQ(count, 8U);
    EXPECT_EQ(std::string(buffer.begin(), buffer.end()), "RTW53zem");
}

TEST(PosixSerial, WriteReachesTheUnit) {
    PtyBench bench;
    std::array<std::uint8_t, 18> frame{};
    for (std::size_t i = 0; i < frame.size(); ++i) {
        frame[i] = static_cast<std::uint8_t>(0xF0 + i);
    }
    // A terminal in cooked mode would change these; the line must pass them unchanged.
    frame[5] = '\r';
    frame[6] = '\n';
    std::uint32_t count = 0;
    ASSERT_EQ(bench.serial.FT_Write(bench.handle, frame.data(), 18, &count), ftdi::FT_OK);
    EXPECT_EQ(count, 18U);
    EXPECT_EQ(bench.unit.receive(64), std::vector<std::uint8_t>(frame.begin(), frame.end()));
}

TEST(PosixSerial, WriteThatCannotGoOutEndsAtTheWriteTimeout) {
    PtyBench bench; // the unit reads nothing, so the terminal's buffer fills up
    std::vector<std::uint8_t> lots(1 << 20, 0x55);
    std::uint32_t count = 0;
    ASSERT_EQ(bench.serial.FT_Write(bench.handle, lots.data(),
                                    static_cast<std::uint32_t>(lots.size()), &count),
              ftdi::FT_OK);
    EXPECT_GT(count, 0U);
    EXPECT_LT(count, lots.size());
}

TEST(PosixSerial, HangUpFailsTheRead) {
    PtyBench bench;
    bench.unit.hangUp();
    std::array<std::uint8_t, 8> buffer{};
    std::uint32_t count = 0;
    EXPECT_NE(bench.serial.FT_Read(bench.handle, buffer.data(), 8, &count), ftdi::FT_OK);
    EXPECT_EQ(count, 0U);
}

// Whether the terminal is in exclusive mode, which bars every open but root's.
bool exclusive(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        return errno == EBUSY;
    }
    int flag = -1;
    EXPECT_EQ(::ioctl(fd, TIOCGEXCL, &flag), 0);
    ::close(fd);
    return flag != 0;
}

TEST(PosixSerial, OpensOnceAndAgainAfterClose) {
    PtyBench bench;
    EXPECT_TRUE(exclusive(bench.unit.slavePath()));
    ftdi::FT_HANDLE second = nullptr;
    EXPECT_EQ(bench.serial.FT_OpenEx(kChip, ftdi::FT_OPEN_BY_DESCRIPTION, &second),
              ftdi::FT_DEVICE_NOT_OPENED);
    ASSERT_EQ(bench.serial.FT_Close(bench.handle), ftdi::FT_OK);
    // The terminal stays while its other end is open; the next program must get it.
    EXPECT_FALSE(exclusive(bench.unit.slavePath()));
    EXPECT_EQ(bench.serial.FT_Close(bench.handle), ftdi::FT_INVALID_HANDLE);
    ASSERT_EQ(bench.serial.FT_OpenEx(kChip, ftdi::FT_OPEN_BY_DESCRIPTION, &bench.handle),
              ftdi::FT_OK);
}

TEST(PosixSerial, NamedPathsThatAreNoTerminal) {
    const fs::path plainFile = fs::temp_directory_path() / "rtw-link-not-a-tty";
    std::ofstream(plainFile) << "x";
    for (const std::string& path :
         {std::string("/nonexistent/ttyUSB9"), plainFile.string(), std::string("/dev/null")}) {
        PosixSerial serial(SerialOptions{path});
        ftdi::FT_HANDLE handle = nullptr;
        EXPECT_EQ(serial.FT_OpenEx(kChip, ftdi::FT_OPEN_BY_DESCRIPTION, &handle),
                  ftdi::FT_DEVICE_NOT_FOUND)
            << path;
    }
    fs::remove(plainFile);
}

TEST(PosixSerial, LineSettings) {
    PseudoTerminal unit;
    // Held open before the backend takes the terminal, to look at its settings.
    const int observer = ::open(unit.slavePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(observer, 0);
    PosixSerial serial(SerialOptions{unit.slavePath()});
    ftdi::FT_HANDLE h = nullptr;
    ASSERT_EQ(serial.FT_OpenEx(kChip, ftdi::FT_OPEN_BY_DESCRIPTION, &h), ftdi::FT_OK);
    auto settings = [&] {
        termios t{};
        EXPECT_EQ(::tcgetattr(observer, &t), 0);
        return t;
    };

    termios t = settings();
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0U);
    EXPECT_EQ(t.c_oflag & OPOST, 0U);
    EXPECT_EQ(t.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(t.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0U);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF), 0U);
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B9600));

    EXPECT_EQ(serial.FT_SetBaudRate(h, 115200), ftdi::FT_OK);
    EXPECT_EQ(serial.FT_SetDataCharacteristics(h, 7, 2, 2), ftdi::FT_OK);
    EXPECT_EQ(serial.FT_SetFlowControl(h, 0x0400, 17, 19), ftdi::FT_OK);
    // A pseudo-terminal keeps 8 bits and no parity whatever it is asked; the stop bits stay.
    t = settings();
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B115200));
    EXPECT_EQ(t.c_cflag & CSTOPB, static_cast<tcflag_t>(CSTOPB));
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF), static_cast<tcflag_t>(IXON | IXOFF));
    EXPECT_EQ(t.c_cc[VSTART], 17);
    EXPECT_EQ(t.c_cc[VSTOP], 19);

    // A reset ends flow control and keeps the line format.
    EXPECT_EQ(serial.FT_ResetDevice(h), ftdi::FT_OK);
    t = settings();
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF), 0U);
    EXPECT_EQ(t.c_cflag & CSTOPB, static_cast<tcflag_t>(CSTOPB));
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B115200));

    EXPECT_EQ(serial.FT_SetBaudRate(h, 14400), ftdi::FT_INVALID_BAUD_RATE);
    EXPECT_EQ(serial.FT_SetDataCharacteristics(h, 8, 1, 0), ftdi::FT_INVALID_PARAMETER);
    EXPECT_EQ(serial.FT_SetFlowControl(h, 0x0200, 0, 0), ftdi::FT_NOT_SUPPORTED);
    EXPECT_EQ(serial.FT_SetFlowControl(h, 0x0800, 0, 0), ftdi::FT_INVALID_PARAMETER);
    EXPECT_EQ(serial.FT_Close(h), ftdi::FT_OK);
    ::close(observer);
}

} // namespace
} // namespace rtw
