#include "link/ForwardingApi.h"

namespace rtw::link {

using ftdi::FT_HANDLE;
using ftdi::FT_STATUS;

FT_STATUS ForwardingApi::FT_OpenEx(void* arg, std::uint32_t flags, FT_HANDLE* handle) {
    return m_inner.FT_OpenEx(arg, flags, handle);
}

FT_STATUS ForwardingApi::FT_Close(FT_HANDLE handle) {
    return m_inner.FT_Close(handle);
}

FT_STATUS ForwardingApi::FT_GetDeviceInfo(FT_HANDLE handle, std::uint32_t* type, std::uint32_t* id,
                                          char* serialNumber, char* description, void* reserved) {
    return m_inner.FT_GetDeviceInfo(handle, type, id, serialNumber, description, reserved);
}

FT_STATUS ForwardingApi::FT_ResetDevice(FT_HANDLE handle) {
    return m_inner.FT_ResetDevice(handle);
}

FT_STATUS ForwardingApi::FT_SetBaudRate(FT_HANDLE handle, std::uint32_t baudRate) {
    return m_inner.FT_SetBaudRate(handle, baudRate);
}

FT_STATUS ForwardingApi::FT_SetDataCharacteristics(FT_HANDLE handle, std::uint8_t wordLength,
                                                   std::uint8_t stopBits, std::uint8_t parity) {
    return m_inner.FT_SetDataCharacteristics(handle, wordLength, stopBits, parity);
}

FT_STATUS ForwardingApi::FT_SetFlowControl(FT_HANDLE handle, std::uint16_t flowControl,
                                           std::uint8_t xon, std::uint8_t xoff) {
    return m_inner.FT_SetFlowControl(handle, flowControl, xon, xoff);
}

FT_STATUS ForwardingApi::FT_SetTimeouts(FT_HANDLE handle, std::uint32_t readTimeout,
                                        std::uint32_t writeTimeout) {
    return m_inner.FT_SetTimeouts(handle, readTimeout, writeTimeout);
}

FT_STATUS ForwardingApi::FT_Read(FT_HANDLE handle, void* buffer, std::uint32_t bytesToRead,
                                 std::uint32_t* bytesReturned) {
    return m_inner.FT_Read(handle, buffer, bytesToRead, bytesReturned);
}

FT_STATUS ForwardingApi::FT_Write(FT_HANDLE handle, const void* buffer, std::uint32_t bytesToWrite,
                                  std::uint32_t* bytesWritten) {
    return m_inner.FT_Write(handle, buffer, bytesToWrite, bytesWritten);
}

FT_STATUS ForwardingApi::FT_SetLatencyTimer(FT_HANDLE handle, std::uint8_t milliseconds) {
    return m_inner.FT_SetLatencyTimer(handle, milliseconds);
}

} // namespace rtw::link
