#pragma once
// A fake of the libftdi layer: a USB bus with FTDI devices, every call logged, reads
// delivered in the chunks a test chooses, and a clock that moves on by one latency
// period with every read, as the chip answers a bulk read once per period.
#include "link/FtdiContext.h"

#include <chrono>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace rtw::test {

struct FakeUsbBus {
    bool usbAvailable = true; // false: the context cannot be made
    int findResult = 0;       // negative: the search fails
    std::vector<link::FtdiUsbStrings> devices{{true, "FT232R USB UART", "A9XK3TQ1"}};
    link::FtdiChip chip = link::FtdiChip::R;
    int openResult = 0;
    int failingResult = 0;     // negative: every line call after open fails
    int readFailureAfter = -1; // reads that succeed before readData fails; -1: never

    std::deque<std::vector<std::uint8_t>> chunks; // one per readData call
    std::vector<std::uint8_t> written;
    std::vector<std::string> calls;
    int liveContexts = 0;

    std::chrono::steady_clock::time_point now{};
    std::chrono::milliseconds latency{2};

    [[nodiscard]] link::FtdiContextFactory factory();
    [[nodiscard]] auto clock() {
        return [this] { return now; };
    }
    // Queues bytes to arrive in one USB transfer.
    void arrive(std::vector<std::uint8_t> bytes) { chunks.push_back(std::move(bytes)); }
};

class FakeFtdiContext final : public link::FtdiContext {
public:
    explicit FakeFtdiContext(FakeUsbBus& bus) : m_bus(bus) { ++m_bus.liveContexts; }
    ~FakeFtdiContext() override { --m_bus.liveContexts; }

    int findAll(int vendorId, int productId, std::vector<link::FtdiUsbStrings>& devices) override;
    int openDevice(std::size_t index) override;
    [[nodiscard]] link::FtdiChip chipType() const override { return m_bus.chip; }
    void setUsbTimeouts(int readMs, int writeMs) override;
    int usbReset() override { return line("usbReset"); }
    int setBaudrate(int baudRate) override {
        return line("setBaudrate " + std::to_string(baudRate));
    }
    int setLineProperty(int bits, int stopBits, int parity) override {
        return line("setLineProperty " + std::to_string(bits) + " " + std::to_string(stopBits) +
                    " " + std::to_string(parity));
    }
    int setFlowControl(int flowControl) override {
        return line("setFlowControl " + std::to_string(flowControl));
    }
    int setFlowControlXonXoff(std::uint8_t xon, std::uint8_t xoff) override {
        return line("setFlowControlXonXoff " + std::to_string(xon) + " " + std::to_string(xoff));
    }
    int setLatencyTimer(std::uint8_t milliseconds) override {
        return line("setLatencyTimer " + std::to_string(milliseconds));
    }
    int readData(std::uint8_t* buffer, int size) override;
    int writeData(const std::uint8_t* buffer, int size) override;
    int close() override;

private:
    int line(const std::string& call);
    FakeUsbBus& m_bus;
    int m_reads = 0;
};

} // namespace rtw::test
