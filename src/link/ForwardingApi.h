#pragma once
// A D2XX-shaped seam in front of another one that passes every call on unchanged. Layers
// that watch or change a few calls (a trace, a chip that keeps its latency timer, a test's
// script) derive from it and override only those.
#include "link/FTDIdll.h"

namespace rtw::link {

class ForwardingApi : public ftdi::D2xxApi {
public:
    explicit ForwardingApi(ftdi::D2xxApi& inner) : m_inner(inner) {}

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

protected:
    [[nodiscard]] ftdi::D2xxApi& inner() const { return m_inner; }

private:
    ftdi::D2xxApi& m_inner;
};

} // namespace rtw::link
