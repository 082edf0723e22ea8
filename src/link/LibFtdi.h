#pragma once
// The unit's chip through libftdi1: found by its USB description among the FT232R's
// vendor and product IDs, the kernel driver detached while open. libftdi's reads return
// early, so FT_Read gathers against its own deadline.
#include "link/FTDIdll.h"
#include "link/FtdiContext.h"
#include "link/HandleTable.h"

#include <chrono>
#include <functional>

namespace rtw::link {

using SteadyClock = std::function<std::chrono::steady_clock::time_point()>;

class LibFtdi final : public ftdi::D2xxApi {
public:
    explicit LibFtdi(FtdiContextFactory makeContext = makeLibFtdiContext,
                     SteadyClock now = std::chrono::steady_clock::now);
    ~LibFtdi() override;

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

private:
    struct Device;
    FtdiContextFactory m_makeContext;
    SteadyClock m_now;
    HandleTable<Device> m_devices;
};

// The library's chip family of a libftdi chip type.
[[nodiscard]] std::uint32_t deviceTypeOf(FtdiChip chip);

} // namespace rtw::link
