#include "RecordingD2xx.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

namespace rtw::test {

using ftdi::FT_HANDLE;
using ftdi::FT_STATUS;

void RecordingD2xx::fail(const std::string& call, FT_STATUS status, int onlyTime) {
    m_failures[call].push_back(Failure{status, onlyTime});
}

std::vector<std::string> RecordingD2xx::callNames() const {
    std::vector<std::string> names;
    for (const std::string& call : calls) {
        names.push_back(call.substr(0, call.find(' ')));
    }
    return names;
}

FT_STATUS RecordingD2xx::scripted(const std::string& name) {
    const int time = ++m_times[name];
    for (const Failure& failure : m_failures[name]) {
        if (failure.onlyTime == 0 || failure.onlyTime == time) {
            return failure.status;
        }
    }
    return ftdi::FT_OK;
}

FT_STATUS RecordingD2xx::record(const std::string& name, FT_HANDLE handle,
                                const std::string& details) {
    calls.push_back(name + " " + nameOf(handle) + (details.empty() ? "" : " " + details));
    return m_open.with(handle, [&](OpenChip&) { return scripted(name); });
}

std::string RecordingD2xx::nameOf(FT_HANDLE handle) const {
    if (const OpenChip* chip = m_open.find(handle)) {
        return "#" + std::to_string(chip->number);
    }
    char text[32];
    std::snprintf(text, sizeof text, "?%p", handle);
    return text;
}

FT_STATUS RecordingD2xx::FT_OpenEx(void* arg, std::uint32_t flags, FT_HANDLE* handle) {
    const std::string wanted = arg == nullptr ? "(null)" : static_cast<const char*>(arg);
    calls.push_back("OpenEx " + wanted + " " + std::to_string(flags));
    FT_STATUS status = scripted("OpenEx");
    if (status == ftdi::FT_OK && (!attached || wanted != openableDescription)) {
        status = ftdi::FT_DEVICE_NOT_FOUND;
    }
    if (status != ftdi::FT_OK) {
        return status;
    }
    const int number = m_nextNumber++;
    *handle = m_open.add(std::make_unique<OpenChip>(OpenChip{number}));
    calls.back() += " -> #" + std::to_string(number);
    return ftdi::FT_OK;
}

FT_STATUS RecordingD2xx::FT_Close(FT_HANDLE handle) {
    const FT_STATUS status = record("Close", handle);
    static_cast<void>(m_open.remove(handle));
    return status;
}

FT_STATUS RecordingD2xx::FT_GetDeviceInfo(FT_HANDLE handle, std::uint32_t* type, std::uint32_t* id,
                                          char* serial, char* text, void* reserved) {
    const FT_STATUS status =
        record("GetDeviceInfo", handle, reserved == nullptr ? "null" : "reserved");
    if (status != ftdi::FT_OK) {
        return status;
    }
    *type = deviceType;
    *id = deviceId;
    if (overfillInfo) {
        std::memset(serial, 'S', ftdi::kSerialNumberCapacity + 1);
        std::memset(text, 'D', ftdi::kDescriptionCapacity + 1);
    } else {
        std::strcpy(serial, serialNumber.c_str());
        std::strcpy(text, description.c_str());
    }
    return ftdi::FT_OK;
}

FT_STATUS RecordingD2xx::FT_ResetDevice(FT_HANDLE handle) {
    return record("ResetDevice", handle);
}

FT_STATUS RecordingD2xx::FT_SetBaudRate(FT_HANDLE handle, std::uint32_t baudRate) {
    return record("SetBaudRate", handle, std::to_string(baudRate));
}

FT_STATUS RecordingD2xx::FT_SetDataCharacteristics(FT_HANDLE handle, std::uint8_t wordLength,
                                                   std::uint8_t stopBits, std::uint8_t parity) {
    return record("SetDataCharacteristics", handle,
                  std::to_string(wordLength) + " " + std::to_string(stopBits) + " " +
                      std::to_string(parity));
}

FT_STATUS RecordingD2xx::FT_SetFlowControl(FT_HANDLE handle, std::uint16_t flowControl,
                                           std::uint8_t xon, std::uint8_t xoff) {
    char flow[8];
    std::snprintf(flow, sizeof flow, "0x%04X", flowControl);
    return record("SetFlowControl", handle,
                  flow + (" " + std::to_string(xon) + " " + std::to_string(xoff)));
}

FT_STATUS RecordingD2xx::FT_SetTimeouts(FT_HANDLE handle, std::uint32_t readTimeout,
                                        std::uint32_t writeTimeout) {
    return record("SetTimeouts", handle,
                  std::to_string(readTimeout) + " " + std::to_string(writeTimeout));
}

FT_STATUS RecordingD2xx::FT_Read(FT_HANDLE handle, void* buffer, std::uint32_t bytesToRead,
                                 std::uint32_t* bytesReturned) {
    const FT_STATUS status = record("Read", handle, std::to_string(bytesToRead));
    if (status != ftdi::FT_OK) {
        return status;
    }
    // The time-out runs out at once: what is queued is all that arrives.
    const auto count = std::min<std::size_t>(bytesToRead, toPc.size());
    std::copy_n(toPc.begin(), count, static_cast<std::uint8_t*>(buffer));
    toPc.erase(toPc.begin(), toPc.begin() + static_cast<std::ptrdiff_t>(count));
    *bytesReturned = static_cast<std::uint32_t>(count);
    return ftdi::FT_OK;
}

FT_STATUS RecordingD2xx::FT_Write(FT_HANDLE handle, const void* buffer, std::uint32_t bytesToWrite,
                                  std::uint32_t* bytesWritten) {
    const FT_STATUS status = record("Write", handle, std::to_string(bytesToWrite));
    if (status != ftdi::FT_OK) {
        return status;
    }
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    fromPc.insert(fromPc.end(), bytes, bytes + bytesToWrite);
    *bytesWritten = bytesToWrite;
    return ftdi::FT_OK;
}

FT_STATUS RecordingD2xx::FT_SetLatencyTimer(FT_HANDLE handle, std::uint8_t milliseconds) {
    return record("SetLatencyTimer", handle, std::to_string(milliseconds));
}

} // namespace rtw::test
