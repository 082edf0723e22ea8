#pragma once
// Several ways to the unit tried in order: FT_OpenEx asks each in turn and the first that
// opens keeps the device; every later call with that handle goes to it. A way is made
// only when first needed, and one that cannot be made (a library not installed) is
// skipped from then on.
#include "link/FTDIdll.h"

#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace rtw::link {

using BackendFactory = std::function<std::unique_ptr<ftdi::D2xxApi>()>;

class AutoBackend final : public ftdi::D2xxApi {
public:
    explicit AutoBackend(std::vector<BackendFactory> ways);
    ~AutoBackend() override;

    // The status of the last way asked when none opens; FT_DEVICE_NOT_FOUND with no way.
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
    struct Way {
        BackendFactory make;
        std::unique_ptr<ftdi::D2xxApi> backend;
        bool tried = false;
    };
    ftdi::D2xxApi* ownerOf(ftdi::FT_HANDLE handle) const;

    std::vector<Way> m_ways;
    std::map<ftdi::FT_HANDLE, ftdi::D2xxApi*> m_owners;
};

} // namespace rtw::link
