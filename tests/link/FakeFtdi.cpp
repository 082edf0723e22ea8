#include "FakeFtdi.h"

#include <algorithm>
#include <cstdio>

namespace rtw::test {

link::FtdiContextFactory FakeUsbBus::factory() {
    return [this]() -> std::unique_ptr<link::FtdiContext> {
        if (!usbAvailable) {
            return nullptr;
        }
        return std::make_unique<FakeFtdiContext>(*this);
    };
}

int FakeFtdiContext::findAll(int vendorId, int productId,
                             std::vector<link::FtdiUsbStrings>& devices) {
    char text[32];
    std::snprintf(text, sizeof text, "findAll %04x %04x", vendorId, productId);
    m_bus.calls.push_back(text);
    if (m_bus.findResult < 0) {
        return m_bus.findResult;
    }
    devices = m_bus.devices;
    return static_cast<int>(devices.size());
}

int FakeFtdiContext::openDevice(std::size_t index) {
    m_bus.calls.push_back("open " + std::to_string(index));
    return m_bus.openResult;
}

void FakeFtdiContext::setUsbTimeouts(int readMs, int writeMs) {
    m_bus.calls.push_back("setUsbTimeouts " + std::to_string(readMs) + " " +
                          std::to_string(writeMs));
}

int FakeFtdiContext::line(const std::string& call) {
    m_bus.calls.push_back(call);
    return m_bus.failingResult;
}

int FakeFtdiContext::readData(std::uint8_t* buffer, int size) {
    m_bus.now += m_bus.latency;
    if (m_bus.readFailureAfter >= 0 && m_reads++ >= m_bus.readFailureAfter) {
        return -666; // libusb's transfer failed: the chip is gone
    }
    if (m_bus.chunks.empty()) {
        return 0;
    }
    std::vector<std::uint8_t>& chunk = m_bus.chunks.front();
    const auto taken = std::min<std::size_t>(static_cast<std::size_t>(size), chunk.size());
    std::copy_n(chunk.begin(), taken, buffer);
    chunk.erase(chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(taken));
    if (chunk.empty()) {
        m_bus.chunks.pop_front();
    }
    return static_cast<int>(taken);
}

int FakeFtdiContext::writeData(const std::uint8_t* buffer, int size) {
    m_bus.calls.push_back("write " + std::to_string(size));
    if (m_bus.failingResult < 0) {
        return m_bus.failingResult;
    }
    m_bus.written.insert(m_bus.written.end(), buffer, buffer + size);
    return size;
}

int FakeFtdiContext::close() {
    m_bus.calls.push_back("close");
    return 0;
}

} // namespace rtw::test
