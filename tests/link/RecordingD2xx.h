#pragma once
// A recording fake of the D2XX seam: one attachable chip, every call logged in order
// with its values, any call made to fail with a chosen status, and byte queues for the
// unit's side of the line.
#include "link/FTDIdll.h"
#include "link/HandleTable.h"

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

namespace rtw::test {

class RecordingD2xx : public ftdi::D2xxApi {
public:
    // The chip as it answers FT_GetDeviceInfo, and the description it opens by.
    bool attached = true;
    std::string openableDescription = "FT232R USB UART";
    std::uint32_t deviceType = ftdi::FT_DEVICE_232R;
    std::uint32_t deviceId = ftdi::kFt232rDeviceId;
    std::string serialNumber = "A9XK3TQ1";
    std::string description = "FT232R USB UART";
    // Fill the info buffers to the last byte the port gave, without a terminator.
    bool overfillInfo = false;

    // The log: "OpenEx FT232R USB UART 2 -> #1", "SetBaudRate #1 9600", ...
    std::vector<std::string> calls;
    std::deque<std::uint8_t> toPc;    // what the unit has sent, waiting to be read
    std::vector<std::uint8_t> fromPc; // what the PC wrote

    // Makes the call fail with the status: every time, or only its nth time (from 1).
    void fail(const std::string& call, ftdi::FT_STATUS status, int onlyTime = 0);
    [[nodiscard]] int openHandles() const { return static_cast<int>(m_open.size()); }
    // The names of the calls only, e.g. "SetBaudRate".
    [[nodiscard]] std::vector<std::string> callNames() const;

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
    struct Failure {
        ftdi::FT_STATUS status;
        int onlyTime;
    };
    struct OpenChip {
        int number; // "#1" in the log
    };
    // Logs a call with a handle; a handle this chip never gave or already took back is
    // refused, any other answers with the scripted status.
    ftdi::FT_STATUS record(const std::string& name, ftdi::FT_HANDLE handle,
                           const std::string& details = {});
    // The status scripted for this time of the call, FT_OK where none is.
    ftdi::FT_STATUS scripted(const std::string& name);
    std::string nameOf(ftdi::FT_HANDLE handle) const;

    std::map<std::string, std::vector<Failure>> m_failures;
    std::map<std::string, int> m_times;
    link::HandleTable<OpenChip> m_open;
    int m_nextNumber = 1;
};

} // namespace rtw::test
