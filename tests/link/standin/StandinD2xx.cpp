// Built as a shared library; only tests load it, by path.
#include "StandinControl.h"
#include "link/FTDItypes.h"
#include "link/HandleTable.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#ifdef _WIN32
#define STANDIN_EXPORT extern "C" __declspec(dllexport)
#else
#define STANDIN_EXPORT extern "C" __attribute__((visibility("default")))
#endif

using rtw::ftdi::FT_HANDLE;
using rtw::ftdi::FT_STATUS;

namespace {

struct Session {};

struct Chip {
    rtw::link::HandleTable<Session> sessions; // one at most
    std::uint32_t type = rtw::ftdi::FT_DEVICE_232R;
    std::deque<std::uint8_t> toPc;
    std::vector<std::uint8_t> fromPc;
    std::string calls;
};

Chip& chip() {
    static Chip instance;
    return instance;
}

void log(const std::string& line) {
    chip().calls += line + "\n";
}

// The look-up every call with a handle starts with; the call itself does nothing more.
FT_STATUS known(FT_HANDLE handle) {
    return chip().sessions.with(handle, [](Session&) { return rtw::ftdi::FT_OK; });
}

} // namespace

STANDIN_EXPORT FT_STATUS RTW_FTAPI FT_OpenEx(void* arg, std::uint32_t flags, FT_HANDLE* handle) {
    const std::string wanted = arg == nullptr ? "" : static_cast<const char*>(arg);
    log("FT_OpenEx " + wanted + " " + std::to_string(flags));
    if (flags != rtw::ftdi::FT_OPEN_BY_DESCRIPTION || wanted != "FT232R USB UART") {
        return rtw::ftdi::FT_DEVICE_NOT_FOUND;
    }
    if (!chip().sessions.empty()) {
        return rtw::ftdi::FT_DEVICE_NOT_OPENED;
    }
    *handle = chip().sessions.add(std::make_unique<Session>());
    return rtw::ftdi::FT_OK;
}

STANDIN_EXPORT FT_STATUS RTW_FTAPI FT_Close(FT_HANDLE handle) {
    log("FT_Close");
    return chip().sessions.remove(handle) ? rtw::ftdi::FT_OK : rtw::ftdi::FT_INVALID_HANDLE;
}

STANDIN_EXPORT FT_STATUS RTW_FTAPI FT_GetDeviceInfo(FT_HANDLE handle, std::uint32_t* type,
                                                    std::uint32_t* id, char* serialNumber,
                                                    char* description, void* reserved) {
    log(std::string("FT_GetDeviceInfo ") + (reserved == nullptr ? "null" : "reserved"));
    return chip().sessions.with(handle, [&](Session&) {
        *type = chip().type;
        *id = rtw::ftdi::kFt232rDeviceId;
        std::strcpy(serialNumber, "STANDIN1");
        std::strcpy(description, "FT232R USB UART");
        return rtw::ftdi::FT_OK;
    });
}

STANDIN_EXPORT FT_STATUS RTW_FTAPI FT_ResetDevice(FT_HANDLE handle) {
    log("FT_ResetDevice");
    return known(handle);
}

STANDIN_EXPORT FT_STATUS RTW_FTAPI FT_SetBaudRate(FT_HANDLE handle, std::uint32_t baudRate) {
    log("FT_SetBaudRate " + std::to_string(baudRate));
    return known(handle);
}

STANDIN_EXPORT FT_STATUS RTW_FTAPI FT_SetDataCharacteristics(FT_HANDLE handle,
                                                             std::uint8_t wordLength,
                                                             std::uint8_t stopBits,
                                                             std::uint8_t parity) {
    log("FT_SetDataCharacteristics " + std::to_string(wordLength) + " " + std::to_string(stopBits) +
        " " + std::to_string(parity));
    return known(handle);
}

STANDIN_EXPORT FT_STATUS RTW_FTAPI FT_SetFlowControl(FT_HANDLE handle, std::uint16_t flowControl,
                                                     std::uint8_t xon, std::uint8_t xoff) {
    log("FT_SetFlowControl " + std::to_string(flowControl) + " " + std::to_string(xon) + " " +
        std::to_string(xoff));
    return known(handle);
}

STANDIN_EXPORT FT_STATUS RTW_FTAPI FT_SetTimeouts(FT_HANDLE handle, std::uint32_t readTimeout,
                                                  std::uint32_t writeTimeout) {
    log("FT_SetTimeouts " + std::to_string(readTimeout) + " " + std::to_string(writeTimeout));
    return known(handle);
}

// The time-out runs out at once: what is queued is all that arrives.
STANDIN_EXPORT FT_STATUS RTW_FTAPI FT_Read(FT_HANDLE handle, void* buffer,
                                           std::uint32_t bytesToRead,
                                           std::uint32_t* bytesReturned) {
    log("FT_Read " + std::to_string(bytesToRead));
    return chip().sessions.with(handle, [&](Session&) {
        auto& queue = chip().toPc;
        const auto count = std::min<std::size_t>(bytesToRead, queue.size());
        std::copy_n(queue.begin(), count, static_cast<std::uint8_t*>(buffer));
        queue.erase(queue.begin(), queue.begin() + static_cast<std::ptrdiff_t>(count));
        *bytesReturned = static_cast<std::uint32_t>(count);
        return rtw::ftdi::FT_OK;
    });
}

STANDIN_EXPORT FT_STATUS RTW_FTAPI FT_Write(FT_HANDLE handle, void* buffer,
                                            std::uint32_t bytesToWrite,
                                            std::uint32_t* bytesWritten) {
    log("FT_Write " + std::to_string(bytesToWrite));
    return chip().sessions.with(handle, [&](Session&) {
        const auto* bytes = static_cast<const std::uint8_t*>(buffer);
        chip().fromPc.insert(chip().fromPc.end(), bytes, bytes + bytesToWrite);
        *bytesWritten = bytesToWrite;
        return rtw::ftdi::FT_OK;
    });
}

#ifndef STANDIN_WITHOUT_LATENCY
STANDIN_EXPORT FT_STATUS RTW_FTAPI FT_SetLatencyTimer(FT_HANDLE handle, std::uint8_t milliseconds) {
    log("FT_SetLatencyTimer " + std::to_string(milliseconds));
    return known(handle);
}
#endif

STANDIN_EXPORT void standinReset() {
    chip() = Chip{};
}

STANDIN_EXPORT void standinDeliver(const std::uint8_t* bytes, std::uint32_t count) {
    chip().toPc.insert(chip().toPc.end(), bytes, bytes + count);
}

STANDIN_EXPORT std::uint32_t standinTake(std::uint8_t* bytes, std::uint32_t count) {
    auto& written = chip().fromPc;
    const auto taken = std::min<std::size_t>(count, written.size());
    std::copy_n(written.begin(), taken, bytes);
    written.erase(written.begin(), written.begin() + static_cast<std::ptrdiff_t>(taken));
    return static_cast<std::uint32_t>(taken);
}

STANDIN_EXPORT const char* standinCalls() {
    return chip().calls.c_str();
}

STANDIN_EXPORT void standinSetType(std::uint32_t type) {
    chip().type = type;
}
