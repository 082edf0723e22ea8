#pragma once
// The unit through a POSIX serial terminal: the kernel driver's /dev/ttyUSBn, found by
// the chip's USB description and IDs in sysfs, or a terminal the user names (a
// pseudo-terminal too). A named terminal that tells no USB description or family passes
// for the unit's chip, so Connect's checks let the user's choice through.
#include "link/FTDIdll.h"
#include "link/HandleTable.h"

#include <filesystem>
#include <string>

namespace rtw::link {

struct SerialOptions {
    std::string devicePath; // empty: find the chip by its USB description
    std::filesystem::path sysRoot = "/sys";
    std::filesystem::path devRoot = "/dev";
};

class PosixSerial final : public ftdi::D2xxApi {
public:
    explicit PosixSerial(SerialOptions options = {});
    ~PosixSerial() override;

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
    // Time-outs start at 0: a read takes what is there, a write what fits, without waiting.
    ftdi::FT_STATUS FT_Read(ftdi::FT_HANDLE handle, void* buffer, std::uint32_t bytesToRead,
                            std::uint32_t* bytesReturned) override;
    ftdi::FT_STATUS FT_Write(ftdi::FT_HANDLE handle, const void* buffer, std::uint32_t bytesToWrite,
                             std::uint32_t* bytesWritten) override;
    // The driver's latency_timer attribute, else its low-latency mode; FT_NOT_SUPPORTED
    // where neither is permitted or there is none (pseudo-terminals).
    ftdi::FT_STATUS FT_SetLatencyTimer(ftdi::FT_HANDLE handle, std::uint8_t milliseconds) override;

private:
    struct Device;
    ftdi::FT_STATUS openNamed(const std::string& description, ftdi::FT_HANDLE* handle);
    ftdi::FT_STATUS openFound(const std::string& description, ftdi::FT_HANDLE* handle);
    ftdi::FT_STATUS openPath(const std::filesystem::path& path, std::unique_ptr<Device> device,
                             ftdi::FT_HANDLE* handle);

    SerialOptions m_options;
    HandleTable<Device> m_devices;
};

} // namespace rtw::link
