#pragma once
// A log of everything that passes the port, for support when a unit misbehaves in the
// field: every call with its arguments and status, every byte written and read, each
// line stamped with the seconds since the log began.
#include "link/ForwardingApi.h"

#include <chrono>
#include <cstdio>
#include <span>
#include <string>

namespace rtw::cli {

class TraceApi final : public link::ForwardingApi {
public:
    // Logs into an open stream the caller keeps and closes.
    TraceApi(ftdi::D2xxApi& inner, std::FILE* log);

    ftdi::FT_STATUS FT_OpenEx(void* arg, std::uint32_t flags, ftdi::FT_HANDLE* handle) override;
    ftdi::FT_STATUS FT_Close(ftdi::FT_HANDLE handle) override;
    ftdi::FT_STATUS FT_GetDeviceInfo(ftdi::FT_HANDLE handle, std::uint32_t* type, std::uint32_t* id,
                                     char* serialNumber, char* description,
                                     void* reserved) override;
    ftdi::FT_STATUS FT_ResetDevice(ftdi::FT_HANDLE handle) override;
    ftdi::FT_STATUS FT_SetBaudRate(ftdi::FT_HANDLE handle, std::uint32_t baudRate) override;
    ftdi::FT_STATUS FT_SetDataCharacteristics(ftdi::FT_HANDLE handle, std::uint8_t wordLength,
                                              std::uint8_t stopBits, std::uint8_t parity) override;
    ftdi::FT_STATUS FT_SetFlowControl(ftdi::FT_HANDLE handle, std::uint16_t flowControl,
                                      std::uint8_t xon, std::uint8_t xoff) override;
    ftdi::FT_STATUS FT_SetTimeouts(ftdi::FT_HANDLE handle, std::uint32_t readTimeout,
                                   std::uint32_t writeTimeout) override;
    ftdi::FT_STATUS FT_Read(ftdi::FT_HANDLE handle, void* buffer, std::uint32_t bytesToRead,
                            std::uint32_t* bytesReturned) override;
    ftdi::FT_STATUS FT_Write(ftdi::FT_HANDLE handle, const void* buffer, std::uint32_t bytesToWrite,
                             std::uint32_t* bytesWritten) override;
    ftdi::FT_STATUS FT_SetLatencyTimer(ftdi::FT_HANDLE handle, std::uint8_t milliseconds) override;

    // "0A 31 FF" for the bytes.
    [[nodiscard]] static std::string hex(std::span<const std::uint8_t> bytes);

private:
    ftdi::FT_STATUS line(ftdi::FT_STATUS status, const std::string& what);

    std::FILE* m_log;
    std::chrono::steady_clock::time_point m_start;
};

} // namespace rtw::cli
