// The unit on a real pseudo-terminal, served on a thread; the test is the other process's
// end. Waits are short real ones, bounded well under a second.
#include "sim/PtyServer.h"
#include "link/PosixSerial.h"
#include "sim/MemoryFile.h"

#include "SimTestHelpers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace rtw::sim {
namespace {

using namespace std::chrono_literals;
using testing::Bytes;
using testing::bytesOf;
using testing::dataOf;
using testing::frame;

constexpr auto kWait = 800ms;

// The terminal as a serial port program opens it: raw, non-blocking, reads by poll().
class Terminal {
public:
    explicit Terminal(const std::string& path)
        : m_fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {
        EXPECT_GE(m_fd, 0) << path;
        termios raw{};
        ::tcgetattr(m_fd, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(m_fd, TCSANOW, &raw);
    }
    ~Terminal() { ::close(m_fd); }
    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;

    Bytes read(std::size_t n, std::chrono::milliseconds timeout = kWait) {
        Bytes out;
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (out.size() < n) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd fd{m_fd, POLLIN, 0};
            if (left.count() <= 0 || ::poll(&fd, 1, static_cast<int>(left.count())) <= 0) {
                break;
            }
            std::uint8_t buffer[64];
            const auto count = ::read(m_fd, buffer, std::min(sizeof buffer, n - out.size()));
            if (count > 0) {
                out.insert(out.end(), buffer, buffer + count);
            }
        }
        return out;
    }
    void write(const Bytes& bytes) {
        EXPECT_EQ(::write(m_fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

private:
    int m_fd;
};

// run() on a thread from construction to destruction.
class Served {
public:
    explicit Served(PtyServerOptions options) : server(withFastGreeting(std::move(options))) {
        m_thread = std::thread([this] { server.run(); });
    }
    ~Served() { stop(); }
    void stop() {
        server.requestStop();
        if (m_thread.joinable()) {
            m_thread.join();
        }
    }

    PtyServer server;

private:
    static PtyServerOptions withFastGreeting(PtyServerOptions options) {
        options.paced = false;
        options.greetingDelay = 20ms;
        return options;
    }
    std::thread m_thread;
};

class PtyServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("rtw-pty-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::filesystem::path dir;
};

TEST_F(PtyServerTest, GreetsEachOpenAndServesBothTransfers) {
    Served served(PtyServerOptions{});
    EXPECT_TRUE(served.server.path().starts_with("/dev/pts/"));
    const Bytes block = frame(0x0000, "\x03"
                                      "123");
    {
        Terminal port(served.server.path());
        ASSERT_EQ(port.read(8), bytesOf(wire::kGreeting));
        port.write({wire::kSendHandshake});
        ASSERT_EQ(port.read(16).at(0), wire::kSendHandshakeAnswer);
        port.write(block);
        EXPECT_EQ(port.read(16), dataOf(block));
    }
    {
        Terminal port(served.server.path());
        ASSERT_EQ(port.read(8), bytesOf(wire::kGreeting)) << "a new open, a new greeting";
        port.write({wire::kReadHandshake});
        ASSERT_EQ(port.read(16).at(0), wire::kReadHandshakeAnswer);
        port.write({wire::kAck});
        EXPECT_EQ(port.read(18), block);
    }
    served.stop();
    EXPECT_EQ(served.server.connections(), 2);
    EXPECT_EQ(served.server.unit().receivedFrames().size(), 1u);
}

TEST_F(PtyServerTest, AProbeAndAQuickReopenStillGetAGreeting) {
    Served served(PtyServerOptions{});
    { Terminal probe(served.server.path()); }
    Terminal port(served.server.path());
    EXPECT_EQ(port.read(8), bytesOf(wire::kGreeting));
    EXPECT_TRUE(port.read(1, 100ms).empty()) << "one greeting only";
}

TEST_F(PtyServerTest, LoadsTheMemoryAndDumpsItAfterEachTransfer) {
    MemoryBytes memory{};
    for (std::size_t i = 0; i < memory.size(); ++i) {
        memory[i] = static_cast<std::uint8_t>(i * 13);
    }
    writeMemoryFile(dir / "in.bin", memory);
    std::atomic<int> dumps{0};
    PtyServerOptions options;
    options.memoryFile = dir / "in.bin";
    options.dumpFile = dir / "out.bin";
    options.onEvent = [&](PtyEvent event) {
        if (event == PtyEvent::MemoryDumped) {
            ++dumps;
        }
    };
    Served served(std::move(options));
    const auto waitForDumps = [&](int count) {
        const auto deadline = std::chrono::steady_clock::now() + kWait;
        while (dumps.load() < count && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(2ms);
        }
        return dumps.load();
    };

    Terminal port(served.server.path());
    ASSERT_EQ(port.read(8), bytesOf(wire::kGreeting));
    port.write({wire::kReadHandshake});
    ASSERT_EQ(port.read(16).size(), 16u);
    port.write({wire::kAck});
    const Bytes first = port.read(18);
    ASSERT_EQ(first.size(), 18u);
    EXPECT_EQ(Bytes(first.begin() + 2, first.end()), Bytes(memory.begin(), memory.begin() + 16));

    port.write({wire::kSendHandshake});
    ASSERT_EQ(port.read(16).size(), 16u);
    const Bytes block = frame(0x0010, std::uint8_t{0xAB});
    port.write(block);
    ASSERT_EQ(port.read(16), dataOf(block));
    EXPECT_EQ(dumps.load(), 0) << "a Send is done with its clock block";
    const Bytes clock = frame(wire::kClockBlock, "24/03/05,07:09");
    port.write(clock);
    ASSERT_EQ(port.read(16), dataOf(clock));
    ASSERT_EQ(waitForDumps(1), 1);

    MemoryBytes expected = memory;
    std::fill_n(expected.begin() + 16, 16, 0xAB);
    EXPECT_EQ(readMemoryFile(dir / "out.bin"), expected);
}

// The serial backend as the programmer drives it, against the served unit: the greeting,
// a read that ends at its time-out with what came, and a write the unit answers.
TEST_F(PtyServerTest, TheSerialBackendReachesTheServedUnit) {
    struct Case {
        const char* greeting;
        std::uint32_t asked;
    };
    constexpr std::uint32_t kTimeoutMs = 150;
    for (const Case c : {Case{"RTW53zem", 8}, Case{"RTW53", 16}}) {
        SCOPED_TRACE(c.greeting);
        PtyServerOptions options;
        options.faults.greeting = c.greeting;
        Served served(std::move(options));
        link::PosixSerial serial(link::SerialOptions{served.server.path()});
        std::string description{wire::kUsbDescription};
        ftdi::FT_HANDLE handle = nullptr;
        ASSERT_EQ(serial.FT_OpenEx(description.data(), ftdi::FT_OPEN_BY_DESCRIPTION, &handle),
                  ftdi::FT_OK);
        ASSERT_EQ(serial.FT_SetTimeouts(handle, kTimeoutMs, kTimeoutMs), ftdi::FT_OK);

        Bytes buffer(16, wire::kFillByte);
        std::uint32_t count = 0;
        const auto start = std::chrono::steady_clock::now();
        ASSERT_EQ(serial.FT_Read(handle, buffer.data(), c.asked, &count), ftdi::FT_OK);
        const auto waited = std::chrono::steady_clock::now() - start;
        const Bytes greeting = bytesOf(c.greeting);
        ASSERT_EQ(count, greeting.size());
        EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + count), greeting);
        EXPECT_EQ(Bytes(buffer.begin() + count, buffer.end()),
                  Bytes(buffer.size() - count, wire::kFillByte));
        if (count < c.asked) {
            EXPECT_GE(waited, std::chrono::milliseconds(kTimeoutMs));
        }

        const std::uint8_t handshake = wire::kSendHandshake;
        ASSERT_EQ(serial.FT_Write(handle, &handshake, 1, &count), ftdi::FT_OK);
        EXPECT_EQ(count, 1u);
        ASSERT_EQ(serial.FT_Read(handle, buffer.data(), 16, &count), ftdi::FT_OK);
        EXPECT_EQ(count, 16u);
        EXPECT_EQ(buffer[0], wire::kSendHandshakeAnswer);
        EXPECT_EQ(serial.FT_Close(handle), ftdi::FT_OK);
    }
}

TEST_F(PtyServerTest, StopsWhenAskedBeforeOrWhileServing) {
    {
        PtyServer idle(PtyServerOptions{});
        idle.requestStop();
        idle.run(); // returns at once
    }
    Served served(PtyServerOptions{});
    Terminal port(served.server.path());
    ASSERT_EQ(port.read(8), bytesOf(wire::kGreeting));
    served.stop();
    EXPECT_EQ(served.server.connections(), 1);
}

TEST_F(PtyServerTest, RefusesAMemoryFileOfTheWrongSize) {
    for (const std::size_t size : {std::size_t{0}, std::size_t{4095}, std::size_t{4097}}) {
        std::ofstream(dir / "bad.bin", std::ios::binary) << std::string(size, 'x');
        PtyServerOptions options;
        options.memoryFile = dir / "bad.bin";
        EXPECT_THROW(PtyServer{options}, std::runtime_error) << size;
    }
    PtyServerOptions missing;
    missing.memoryFile = dir / "missing.bin";
    EXPECT_THROW(PtyServer{missing}, std::runtime_error);
}

} // namespace
} // namespace rtw::sim
