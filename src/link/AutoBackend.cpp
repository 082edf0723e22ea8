#include "link/AutoBackend.h"

namespace rtw::link {

using ftdi::D2xxApi;
using ftdi::FT_HANDLE;
using ftdi::FT_STATUS;

AutoBackend::AutoBackend(std::vector<BackendFactory> ways) {
    for (BackendFactory& make : ways) {
        m_ways.push_back(Way{std::move(make), nullptr, false});
    }
}

AutoBackend::~AutoBackend() = default;

FT_STATUS AutoBackend::FT_OpenEx(void* arg, std::uint32_t flags, FT_HANDLE* handle) {
    if (handle == nullptr) {
        return ftdi::FT_INVALID_PARAMETER;
    }
    FT_STATUS status = ftdi::FT_DEVICE_NOT_FOUND;
    for (Way& way : m_ways) {
        if (!way.tried) {
            way.tried = true;
            way.backend = way.make ? way.make() : nullptr;
        }
        if (!way.backend) {
            continue;
        }
        FT_HANDLE opened = nullptr;
        status = way.backend->FT_OpenEx(arg, flags, &opened);
        if (status == ftdi::FT_OK) {
            m_owners[opened] = way.backend.get();
            *handle = opened;
            return status;
        }
    }
    return status;
}

D2xxApi* AutoBackend::ownerOf(FT_HANDLE handle) const {
    const auto it = m_owners.find(handle);
    return it == m_owners.end() ? nullptr : it->second;
}

FT_STATUS AutoBackend::FT_Close(FT_HANDLE handle) {
    D2xxApi* owner = ownerOf(handle);
    if (owner == nullptr) {
        return ftdi::FT_INVALID_HANDLE;
    }
    m_owners.erase(handle);
    return owner->FT_Close(handle);
}

FT_STATUS AutoBackend::FT_GetDeviceInfo(FT_HANDLE handle, std::uint32_t* type, std::uint32_t* id,
                                        char* serialNumber, char* description, void* reserved) {
    D2xxApi* owner = ownerOf(handle);
    return owner == nullptr
               ? ftdi::FT_INVALID_HANDLE
               : owner->FT_GetDeviceInfo(handle, type, id, serialNumber, description, reserved);
}

FT_STATUS AutoBackend::FT_ResetDevice(FT_HANDLE handle) {
    D2xxApi* owner = ownerOf(handle);
    return owner == nullptr ? ftdi::FT_INVALID_HANDLE : owner->FT_ResetDevice(handle);
}

FT_STATUS AutoBackend::FT_SetBaudRate(FT_HANDLE handle, std::uint32_t baudRate) {
    D2xxApi* owner = ownerOf(handle);
    return owner == nullptr ? ftdi::FT_INVALID_HANDLE : owner->FT_SetBaudRate(handle, baudRate);
}

FT_STATUS AutoBackend::FT_SetDataCharacteristics(FT_HANDLE handle, std::uint8_t wordLength,
                                                 std::uint8_t stopBits, std::uint8_t parity) {
    D2xxApi* owner = ownerOf(handle);
    return owner == nullptr
               ? ftdi::FT_INVALID_HANDLE
               : owner->FT_SetDataCharacteristics(handle, wordLength, stopBits, parity);
}

FT_STATUS AutoBackend::FT_SetFlowControl(FT_HANDLE handle, std::uint16_t flowControl,
                                         std::uint8_t xon, std::uint8_t xoff) {
    D2xxApi* owner = ownerOf(handle);
    return owner == nullptr ? ftdi::FT_INVALID_HANDLE
                            : owner->FT_SetFlowControl(handle, flowControl, xon, xoff);
}

FT_STATUS AutoBackend::FT_SetTimeouts(FT_HANDLE handle, std::uint32_t readTimeout,
                                      std::uint32_t writeTimeout) {
    D2xxApi* owner = ownerOf(handle);
    return owner == nullptr ? ftdi::FT_INVALID_HANDLE
                            : owner->FT_SetTimeouts(handle, readTimeout, writeTimeout);
}

FT_STATUS AutoBackend::FT_Read(FT_HANDLE handle, void* buffer, std::uint32_t bytesToRead,
                               std::uint32_t* bytesReturned) {
    D2xxApi* owner = ownerOf(handle);
    return owner == nullptr ? ftdi::FT_INVALID_HANDLE
                            : owner->FT_Read(handle, buffer, bytesToRead, bytesReturned);
}

FT_STATUS AutoBackend::FT_Write(FT_HANDLE handle, const void* buffer, std::uint32_t bytesToWrite,
                                std::uint32_t* bytesWritten) {
    D2xxApi* owner = ownerOf(handle);
    return owner == nullptr ? ftdi::FT_INVALID_HANDLE
                            : owner->FT_Write(handle, buffer, bytesToWrite, bytesWritten);
}

FT_STATUS AutoBackend::FT_SetLatencyTimer(FT_HANDLE handle, std::uint8_t milliseconds) {
    D2xxApi* owner = ownerOf(handle);
    return owner == nullptr ? ftdi::FT_INVALID_HANDLE
                            : owner->FT_SetLatencyTimer(handle, milliseconds);
}

} // namespace rtw::link
