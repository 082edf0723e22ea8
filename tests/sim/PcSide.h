#pragma once
// The PC's end of the seam for the emulated unit's tests: the calls a connection makes,
// and reads and writes that hand back bytes.
#include "link/FTDIdll.h"
#include "wire/ProtocolConstants.h"

#include "SimTestHelpers.h"

#include <gtest/gtest.h>

#include <string>

namespace rtw::sim::testing {

class PcSide {
public:
    explicit PcSide(ftdi::D2xxApi& api) : m_api(api) {}

    [[nodiscard]] ftdi::FT_STATUS open() {
        std::string description{wire::kUsbDescription};
        return m_api.FT_OpenEx(description.data(), ftdi::FT_OPEN_BY_DESCRIPTION, &m_handle);
    }
    // The calls of a connection, in their order: probe, open, identify, reset, line,
    // time-outs, latency timer.
    void connect(std::uint8_t latencyMs = wire::kLatencyTimerMs) {
        ASSERT_EQ(open(), ftdi::FT_OK);
        ASSERT_EQ(m_api.FT_Close(m_handle), ftdi::FT_OK);
        ASSERT_EQ(open(), ftdi::FT_OK);
        std::uint32_t type = 0;
        std::uint32_t id = 0;
        ASSERT_EQ(m_api.FT_GetDeviceInfo(m_handle, &type, &id, nullptr, nullptr, nullptr),
                  ftdi::FT_OK);
        ASSERT_EQ(m_api.FT_ResetDevice(m_handle), ftdi::FT_OK);
        ASSERT_EQ(m_api.FT_SetBaudRate(m_handle, 9600), ftdi::FT_OK);
        ASSERT_EQ(m_api.FT_SetDataCharacteristics(m_handle, 8, 0, 0), ftdi::FT_OK);
        ASSERT_EQ(m_api.FT_SetFlowControl(m_handle, 0, 0, 0), ftdi::FT_OK);
        ASSERT_EQ(m_api.FT_SetTimeouts(m_handle, wire::kReadTimeoutMs, wire::kWriteTimeoutMs),
                  ftdi::FT_OK);
        ASSERT_EQ(m_api.FT_SetLatencyTimer(m_handle, latencyMs), ftdi::FT_OK);
    }
    void close() { EXPECT_EQ(m_api.FT_Close(m_handle), ftdi::FT_OK); }

    // Up to n bytes; the buffer starts as spaces, as the transfers fill theirs.
    Bytes read(std::uint32_t n, ftdi::FT_STATUS expected = ftdi::FT_OK) {
        Bytes buffer(n, wire::kFillByte);
        std::uint32_t count = 0;
        EXPECT_EQ(m_api.FT_Read(m_handle, buffer.data(), n, &count), expected);
        buffer.resize(count);
        return buffer;
    }
    std::uint32_t write(const Bytes& bytes, ftdi::FT_STATUS expected = ftdi::FT_OK) {
        std::uint32_t count = 0;
        EXPECT_EQ(m_api.FT_Write(m_handle, bytes.data(), static_cast<std::uint32_t>(bytes.size()),
                                 &count),
                  expected);
        return count;
    }
    // One frame and its echo; true when the echo came back whole and unchanged.
    bool sendFrame(const Bytes& frameBytes) {
        return write(frameBytes) == frameBytes.size() && read(16) == dataOf(frameBytes);
    }

    [[nodiscard]] ftdi::FT_HANDLE handle() const { return m_handle; }

private:
    ftdi::D2xxApi& m_api;
    ftdi::FT_HANDLE m_handle = nullptr;
};

} // namespace rtw::sim::testing
