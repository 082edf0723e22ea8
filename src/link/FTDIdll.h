#pragma once
// The D2XX-shaped seam: the library calls the port makes, plus the latency timer. Every
// backend (the vendor library loaded at run time, libftdi1, a POSIX serial device, the
// emulated unit) implements it with the library's semantics: FT_Read returns once n bytes
// have arrived or the read time-out ran out, with FT_OK and the count.
#include "link/FTDItypes.h"

#include <cstdint>

namespace rtw::ftdi {

class D2xxApi {
public:
    virtual ~D2xxApi() = default;
    virtual FT_STATUS FT_OpenEx(void* arg, std::uint32_t flags, FT_HANDLE* handle) = 0;
    virtual FT_STATUS FT_Close(FT_HANDLE handle) = 0;
    virtual FT_STATUS FT_GetDeviceInfo(FT_HANDLE handle, std::uint32_t* type, std::uint32_t* id,
                                       char* serialNumber, char* description, void* reserved) = 0;
    virtual FT_STATUS FT_ResetDevice(FT_HANDLE handle) = 0;
    virtual FT_STATUS FT_SetBaudRate(FT_HANDLE handle, std::uint32_t baudRate) = 0;
    virtual FT_STATUS FT_SetDataCharacteristics(FT_HANDLE handle, std::uint8_t wordLength,
                                                std::uint8_t stopBits, std::uint8_t parity) = 0;
    virtual FT_STATUS FT_SetFlowControl(FT_HANDLE handle, std::uint16_t flowControl,
                                        std::uint8_t xon, std::uint8_t xoff) = 0;
    virtual FT_STATUS FT_SetTimeouts(FT_HANDLE handle, std::uint32_t readTimeout,
                                     std::uint32_t writeTimeout) = 0;
    virtual FT_STATUS FT_Read(FT_HANDLE handle, void* buffer, std::uint32_t bytesToRead,
                              std::uint32_t* bytesReturned) = 0;
    virtual FT_STATUS FT_Write(FT_HANDLE handle, const void* buffer, std::uint32_t bytesToWrite,
                               std::uint32_t* bytesWritten) = 0;
    virtual FT_STATUS FT_SetLatencyTimer(FT_HANDLE handle, std::uint8_t milliseconds) = 0;
};

} // namespace rtw::ftdi
