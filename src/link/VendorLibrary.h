#pragma once
// The chip maker's own library, loaded at run time where the user has installed it: never
// linked at build time and never shipped. Every call goes straight through.
#include "link/DynamicLibrary.h"
#include "link/FTDIdll.h"

#include <memory>
#include <string>

namespace rtw::link {

class VendorLibrary final : public ftdi::D2xxApi {
public:
    // The library's file name on this platform.
    [[nodiscard]] static const char* defaultFileName();
    // Null when the library is missing or lacks one of the port's calls. The latency
    // timer is optional: without it FT_SetLatencyTimer answers FT_NOT_SUPPORTED.
    [[nodiscard]] static std::unique_ptr<VendorLibrary> load(const std::string& fileName);
    [[nodiscard]] static std::unique_ptr<VendorLibrary> load() { return load(defaultFileName()); }

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

    ~VendorLibrary() override;

private:
    struct Entries;
    VendorLibrary(std::unique_ptr<DynamicLibrary> library, std::unique_ptr<Entries> entries);

    std::unique_ptr<DynamicLibrary> m_library;
    std::unique_ptr<Entries> m_entries;
};

} // namespace rtw::link
