#include "link/tftdichip.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace rtw {
namespace {

constexpr std::array<std::uint32_t, 14> kBaudRates = {
    300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 57600, 115200, 230400, 460800, 921600,
};
constexpr std::array<std::uint8_t, 2> kWordLengths = {ftdi::FT_BITS_8, ftdi::FT_BITS_7};
constexpr std::array<std::uint8_t, 2> kStopBits = {ftdi::FT_STOP_BITS_1, ftdi::FT_STOP_BITS_2};
constexpr std::uint8_t kParityCodes = 5;
constexpr std::array<std::uint16_t, 4> kFlowControls = {
    ftdi::FT_FLOW_NONE, ftdi::FT_FLOW_RTS_CTS, ftdi::FT_FLOW_DTR_DSR, ftdi::FT_FLOW_XON_XOFF};

// The buffers FT_GetDeviceInfo writes into: one byte more than the library's texts, so a
// library that fills its text completely still leaves us a terminator.
constexpr std::size_t kSerialBufferSize = 17;
constexpr std::size_t kDescriptionBufferSize = 65;

template <typename Code> std::uint8_t codeOf(Code code) {
    return static_cast<std::uint8_t>(code);
}

[[noreturn]] void misuse(const char* operationAndReason) {
    throw std::runtime_error(std::string("tftdichip.") + operationAndReason);
}

DeviceType foldDeviceType(std::uint32_t libraryType) {
    switch (libraryType) {
    case ftdi::FT_DEVICE_BM:
    case ftdi::FT_DEVICE_AM:
    case ftdi::FT_DEVICE_100AX:
    case ftdi::FT_DEVICE_2232C:
    case ftdi::FT_DEVICE_232R:
        return DeviceType{static_cast<std::uint8_t>(libraryType)};
    default:
        return DeviceType{static_cast<std::uint8_t>(ftdi::FT_DEVICE_UNKNOWN)};
    }
}

template <std::size_t N> std::string textOf(const std::array<char, N>& buffer) {
    const auto end = std::find(buffer.begin(), buffer.end(), '\0');
    return std::string(buffer.begin(), end);
}

} // namespace

tftdichip::tftdichip(ftdi::D2xxApi& library) : m_library(library) {}

bool tftdichip::isDevicePresent(std::string_view description) {
    std::string text(description);
    ftdi::FT_HANDLE probe = nullptr;
    if (m_library.FT_OpenEx(text.data(), ftdi::FT_OPEN_BY_DESCRIPTION, &probe) != ftdi::FT_OK) {
        return false;
    }
    static_cast<void>(m_library.FT_Close(probe));
    return true;
}

bool tftdichip::openDeviceByDescription(std::string_view description) {
    if (m_open) {
        misuse("openDeviceByDescription: Already open");
    }
    std::string text(description);
    ftdi::FT_HANDLE opened = nullptr;
    if (m_library.FT_OpenEx(text.data(), ftdi::FT_OPEN_BY_DESCRIPTION, &opened) != ftdi::FT_OK) {
        return false;
    }
    m_handle = opened;
    m_open = true;
    return true;
}

void tftdichip::closeDevice() {
    if (!m_open) {
        misuse("closeDevice: Not open");
    }
    static_cast<void>(m_library.FT_Close(m_handle));
    m_open = false;
}

bool tftdichip::setBaudRate(BaudRateCode code) {
    if (codeOf(code) >= kBaudRates.size()) {
        misuse("setBaudRate: Invalid baud rate");
    }
    return m_library.FT_SetBaudRate(m_handle, kBaudRates[codeOf(code)]) == ftdi::FT_OK;
}

bool tftdichip::setDataCharacteristics(WordLength wordLength, StopBits stopBits, Parity parity) {
    if (codeOf(wordLength) >= kWordLengths.size()) {
        misuse("setDataCharacteristics: Invalid wordLength");
    }
    if (codeOf(stopBits) >= kStopBits.size()) {
        misuse("setDataCharacteristics: Invalid stopBits");
    }
    if (codeOf(parity) >= kParityCodes) {
        misuse("setDataCharacteristics: Invalid parity");
    }
    return m_library.FT_SetDataCharacteristics(m_handle, kWordLengths[codeOf(wordLength)],
                                               kStopBits[codeOf(stopBits)],
                                               codeOf(parity)) == ftdi::FT_OK;
}

bool tftdichip::setFlowControl(FlowControl flowControl, std::uint8_t xon, std::uint8_t xoff) {
    if (codeOf(flowControl) >= kFlowControls.size()) {
        misuse("setFlowControl: Invalid flowcontrol");
    }
    return m_library.FT_SetFlowControl(m_handle, kFlowControls[codeOf(flowControl)], xon, xoff) ==
           ftdi::FT_OK;
}

bool tftdichip::setTimeouts(std::uint32_t readTimeoutMs, std::uint32_t writeTimeoutMs) {
    return m_library.FT_SetTimeouts(m_handle, readTimeoutMs, writeTimeoutMs) == ftdi::FT_OK;
}

bool tftdichip::resetDevice() {
    return m_library.FT_ResetDevice(m_handle) == ftdi::FT_OK;
}

bool tftdichip::setLatencyTimer(std::uint8_t milliseconds) {
    return m_library.FT_SetLatencyTimer(m_handle, milliseconds) == ftdi::FT_OK;
}

bool tftdichip::read(std::uint8_t* buffer, std::uint32_t n, std::uint32_t& count) {
    return m_library.FT_Read(m_handle, buffer, n, &count) == ftdi::FT_OK;
}

bool tftdichip::write(const std::uint8_t* buffer, std::uint32_t n, std::uint32_t& count) {
    return m_library.FT_Write(m_handle, buffer, n, &count) == ftdi::FT_OK;
}

bool tftdichip::getDeviceInfo(DeviceType& type, std::uint16_t& productId, std::uint16_t& vendorId,
                              std::string& serialNumber, std::string& description) {
    std::uint32_t libraryType = 0;
    std::uint32_t deviceId = 0;
    std::array<char, kSerialBufferSize> serial{};
    std::array<char, kDescriptionBufferSize> text{};
    if (m_library.FT_GetDeviceInfo(m_handle, &libraryType, &deviceId, serial.data(), text.data(),
                                   nullptr) != ftdi::FT_OK) {
        return false;
    }
    type = foldDeviceType(libraryType);
    productId = static_cast<std::uint16_t>(deviceId & 0xFFFFU);
    vendorId = static_cast<std::uint16_t>(deviceId >> 16);
    serialNumber = textOf(serial);
    description = textOf(text);
    return true;
}

} // namespace rtw
