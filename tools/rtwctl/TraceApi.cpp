#include "rtwctl/TraceApi.h"

#include <algorithm>
#include <cinttypes>
#include <ctime>

namespace rtw::cli {
namespace {

std::string number(std::uint64_t value) {
    return std::to_string(value);
}

std::string counted(std::uint32_t done, std::uint32_t asked) {
    return number(done) + "/" + number(asked);
}

} // namespace

TraceApi::TraceApi(ftdi::D2xxApi& inner, std::FILE* log)
    : ForwardingApi(inner), m_log(log), m_start(std::chrono::steady_clock::now()) {
    const std::time_t now = std::time(nullptr);
    char stamp[32] = "";
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", std::localtime(&now));
    std::fprintf(m_log, "# rtwctl trace, started %s local time; seconds since then\n", stamp);
}

std::string TraceApi::hex(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 3);
    for (std::uint8_t b : bytes) {
        if (!out.empty()) {
            out += ' ';
        }
        out += kDigits[b >> 4];
        out += kDigits[b & 0x0F];
    }
    return out;
}

ftdi::FT_STATUS TraceApi::line(ftdi::FT_STATUS status, const std::string& what) {
    const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(
                            std::chrono::steady_clock::now() - m_start)
                            .count();
    std::fprintf(m_log, "%4" PRId64 ".%06" PRId64 " %s",
                 static_cast<std::int64_t>(micros / 1'000'000),
                 static_cast<std::int64_t>(micros % 1'000'000), what.c_str());
    if (status != ftdi::FT_OK) {
        std::fprintf(m_log, " -> status %" PRIu32, status);
    }
    std::fputc('\n', m_log);
    // A trace is read after something went wrong, possibly a crash: keep it on disk.
    std::fflush(m_log);
    return status;
}

ftdi::FT_STATUS TraceApi::FT_OpenEx(void* arg, std::uint32_t flags, ftdi::FT_HANDLE* handle) {
    const ftdi::FT_STATUS status = inner().FT_OpenEx(arg, flags, handle);
    std::string what = "open flags " + number(flags);
    if (flags == ftdi::FT_OPEN_BY_DESCRIPTION && arg != nullptr) {
        what += " \"" + std::string(static_cast<const char*>(arg)) + "\"";
    }
    return line(status, what);
}

ftdi::FT_STATUS TraceApi::FT_Close(ftdi::FT_HANDLE handle) {
    return line(inner().FT_Close(handle), "close");
}

ftdi::FT_STATUS TraceApi::FT_GetDeviceInfo(ftdi::FT_HANDLE handle, std::uint32_t* type,
                                           std::uint32_t* id, char* serialNumber, char* description,
                                           void* reserved) {
    const ftdi::FT_STATUS status =
        inner().FT_GetDeviceInfo(handle, type, id, serialNumber, description, reserved);
    std::string what = "device info";
    if (status == ftdi::FT_OK && type && id && serialNumber && description) {
        char ids[32];
        std::snprintf(ids, sizeof ids, " id %08" PRIX32, *id);
        what += " type " + number(*type) + ids + " serial \"" + serialNumber + "\" description \"" +
                description + "\"";
    }
    return line(status, what);
}

ftdi::FT_STATUS TraceApi::FT_ResetDevice(ftdi::FT_HANDLE handle) {
    return line(inner().FT_ResetDevice(handle), "reset");
}

ftdi::FT_STATUS TraceApi::FT_SetBaudRate(ftdi::FT_HANDLE handle, std::uint32_t baudRate) {
    return line(inner().FT_SetBaudRate(handle, baudRate), "baud rate " + number(baudRate));
}

ftdi::FT_STATUS TraceApi::FT_SetDataCharacteristics(ftdi::FT_HANDLE handle, std::uint8_t wordLength,
                                                    std::uint8_t stopBits, std::uint8_t parity) {
    return line(inner().FT_SetDataCharacteristics(handle, wordLength, stopBits, parity),
                "data bits " + number(wordLength) + " stop bits " + number(stopBits) + " parity " +
                    number(parity));
}

ftdi::FT_STATUS TraceApi::FT_SetFlowControl(ftdi::FT_HANDLE handle, std::uint16_t flowControl,
                                            std::uint8_t xon, std::uint8_t xoff) {
    char flow[64];
    std::snprintf(flow, sizeof flow, "flow control %04X xon %02X xoff %02X", flowControl, xon,
                  xoff);
    return line(inner().FT_SetFlowControl(handle, flowControl, xon, xoff), flow);
}

ftdi::FT_STATUS TraceApi::FT_SetTimeouts(ftdi::FT_HANDLE handle, std::uint32_t readTimeout,
                                         std::uint32_t writeTimeout) {
    return line(inner().FT_SetTimeouts(handle, readTimeout, writeTimeout),
                "time-outs read " + number(readTimeout) + " ms write " + number(writeTimeout) +
                    " ms");
}

ftdi::FT_STATUS TraceApi::FT_Read(ftdi::FT_HANDLE handle, void* buffer, std::uint32_t bytesToRead,
                                  std::uint32_t* bytesReturned) {
    const ftdi::FT_STATUS status = inner().FT_Read(handle, buffer, bytesToRead, bytesReturned);
    const std::uint32_t got = std::min(*bytesReturned, bytesToRead);
    std::string what = "read  " + counted(got, bytesToRead);
    if (got > 0) {
        what += "  " + hex({static_cast<const std::uint8_t*>(buffer), got});
    }
    return line(status, what);
}

ftdi::FT_STATUS TraceApi::FT_Write(ftdi::FT_HANDLE handle, const void* buffer,
                                   std::uint32_t bytesToWrite, std::uint32_t* bytesWritten) {
    const ftdi::FT_STATUS status = inner().FT_Write(handle, buffer, bytesToWrite, bytesWritten);
    return line(status, "write " + counted(*bytesWritten, bytesToWrite) + "  " +
                            hex({static_cast<const std::uint8_t*>(buffer), bytesToWrite}));
}

ftdi::FT_STATUS TraceApi::FT_SetLatencyTimer(ftdi::FT_HANDLE handle, std::uint8_t milliseconds) {
    return line(inner().FT_SetLatencyTimer(handle, milliseconds),
                "latency timer " + number(milliseconds) + " ms");
}

} // namespace rtw::cli
