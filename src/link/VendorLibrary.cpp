#include "link/VendorLibrary.h"

namespace rtw::link {

using ftdi::FT_HANDLE;
using ftdi::FT_STATUS;

// The library's calls as it exports them (C linkage, stdcall on 32-bit Windows). FT_Write
// takes a non-const buffer there, though it only reads it.
struct VendorLibrary::Entries {
    FT_STATUS(RTW_FTAPI* openEx)(void*, std::uint32_t, FT_HANDLE*) = nullptr;
    FT_STATUS(RTW_FTAPI* close)(FT_HANDLE) = nullptr;
    FT_STATUS(RTW_FTAPI* getDeviceInfo)
    (FT_HANDLE, std::uint32_t*, std::uint32_t*, char*, char*, void*) = nullptr;
    FT_STATUS(RTW_FTAPI* resetDevice)(FT_HANDLE) = nullptr;
    FT_STATUS(RTW_FTAPI* setBaudRate)(FT_HANDLE, std::uint32_t) = nullptr;
    FT_STATUS(RTW_FTAPI* setDataCharacteristics)
    (FT_HANDLE, std::uint8_t, std::uint8_t, std::uint8_t) = nullptr;
    FT_STATUS(RTW_FTAPI* setFlowControl)
    (FT_HANDLE, std::uint16_t, std::uint8_t, std::uint8_t) = nullptr;
    FT_STATUS(RTW_FTAPI* setTimeouts)(FT_HANDLE, std::uint32_t, std::uint32_t) = nullptr;
    FT_STATUS(RTW_FTAPI* read)(FT_HANDLE, void*, std::uint32_t, std::uint32_t*) = nullptr;
    FT_STATUS(RTW_FTAPI* write)(FT_HANDLE, void*, std::uint32_t, std::uint32_t*) = nullptr;
    FT_STATUS(RTW_FTAPI* setLatencyTimer)(FT_HANDLE, std::uint8_t) = nullptr;
};

namespace {

template <typename Entry>
bool resolve(const DynamicLibrary& library, const char* name, Entry& entry) {
    entry = reinterpret_cast<Entry>(library.symbol(name));
    return entry != nullptr;
}

} // namespace

const char* VendorLibrary::defaultFileName() {
#if defined(_WIN32)
    return "FTD2XX.DLL";
#elif defined(__APPLE__)
    return "libftd2xx.dylib";
#else
    return "libftd2xx.so";
#endif
}

std::unique_ptr<VendorLibrary> VendorLibrary::load(const std::string& fileName) {
    std::unique_ptr<DynamicLibrary> library = DynamicLibrary::open(fileName);
    if (!library) {
        return nullptr;
    }
    auto entries = std::make_unique<Entries>();
    const bool complete =
        resolve(*library, "FT_OpenEx", entries->openEx) &&
        resolve(*library, "FT_Close", entries->close) &&
        resolve(*library, "FT_GetDeviceInfo", entries->getDeviceInfo) &&
        resolve(*library, "FT_ResetDevice", entries->resetDevice) &&
        resolve(*library, "FT_SetBaudRate", entries->setBaudRate) &&
        resolve(*library, "FT_SetDataCharacteristics", entries->setDataCharacteristics) &&
        resolve(*library, "FT_SetFlowControl", entries->setFlowControl) &&
        resolve(*library, "FT_SetTimeouts", entries->setTimeouts) &&
        resolve(*library, "FT_Read", entries->read) &&
        resolve(*library, "FT_Write", entries->write);
    if (!complete) {
        return nullptr;
    }
    static_cast<void>(resolve(*library, "FT_SetLatencyTimer", entries->setLatencyTimer));
    return std::unique_ptr<VendorLibrary>(
        new VendorLibrary(std::move(library), std::move(entries)));
}

VendorLibrary::VendorLibrary(std::unique_ptr<DynamicLibrary> library,
                             std::unique_ptr<Entries> entries)
    : m_library(std::move(library)), m_entries(std::move(entries)) {}

VendorLibrary::~VendorLibrary() = default;

FT_STATUS VendorLibrary::FT_OpenEx(void* arg, std::uint32_t flags, FT_HANDLE* handle) {
    return m_entries->openEx(arg, flags, handle);
}

FT_STATUS VendorLibrary::FT_Close(FT_HANDLE handle) {
    return m_entries->close(handle);
}

FT_STATUS VendorLibrary::FT_GetDeviceInfo(FT_HANDLE handle, std::uint32_t* type, std::uint32_t* id,
                                          char* serialNumber, char* description, void* reserved) {
    return m_entries->getDeviceInfo(handle, type, id, serialNumber, description, reserved);
}

FT_STATUS VendorLibrary::FT_ResetDevice(FT_HANDLE handle) {
    return m_entries->resetDevice(handle);
}

FT_STATUS VendorLibrary::FT_SetBaudRate(FT_HANDLE handle, std::uint32_t baudRate) {
    return m_entries->setBaudRate(handle, baudRate);
}

FT_STATUS VendorLibrary::FT_SetDataCharacteristics(FT_HANDLE handle, std::uint8_t wordLength,
                                                   std::uint8_t stopBits, std::uint8_t parity) {
    return m_entries->setDataCharacteristics(handle, wordLength, stopBits, parity);
}

FT_STATUS VendorLibrary::FT_SetFlowControl(FT_HANDLE handle, std::uint16_t flowControl,
                                           std::uint8_t xon, std::uint8_t xoff) {
    return m_entries->setFlowControl(handle, flowControl, xon, xoff);
}

FT_STATUS VendorLibrary::FT_SetTimeouts(FT_HANDLE handle, std::uint32_t readTimeout,
                                        std::uint32_t writeTimeout) {
    return m_entries->setTimeouts(handle, readTimeout, writeTimeout);
}

FT_STATUS VendorLibrary::FT_Read(FT_HANDLE handle, void* buffer, std::uint32_t bytesToRead,
                                 std::uint32_t* bytesReturned) {
    return m_entries->read(handle, buffer, bytesToRead, bytesReturned);
}

FT_STATUS VendorLibrary::FT_Write(FT_HANDLE handle, const void* buffer, std::uint32_t bytesToWrite,
                                  std::uint32_t* bytesWritten) {
    return m_entries->write(handle, const_cast<void*>(buffer), bytesToWrite, bytesWritten);
}

FT_STATUS VendorLibrary::FT_SetLatencyTimer(FT_HANDLE handle, std::uint8_t milliseconds) {
    if (m_entries->setLatencyTimer == nullptr) {
        return ftdi::FT_NOT_SUPPORTED;
    }
    return m_entries->setLatencyTimer(handle, milliseconds);
}

} // namespace rtw::link
