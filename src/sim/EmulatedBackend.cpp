#include "sim/EmulatedBackend.h"

#include "link/ArgumentChecks.h"
#include "link/DeviceText.h"

#include <algorithm>
#include <stdexcept>
#include <string_view>

namespace rtw::sim {
namespace {

constexpr std::uint8_t kMinLatencyMs = 2;

[[nodiscard]] Micros roundUp(Nanos time) {
    return std::chrono::ceil<Micros>(time);
}

} // namespace

EmulatedBackend::EmulatedBackend(EmulatedUnit& unit, Clock& clock, Pacing pacing)
    : m_unit(unit), m_clock(clock), m_link(unit, pacing) {}

bool EmulatedBackend::unplugged() const {
    const auto& limit = m_unit.faults().unplugAfterOperations;
    return limit && m_operations > *limit;
}

template <typename Call> ftdi::FT_STATUS EmulatedBackend::enter(ftdi::FT_HANDLE handle, Call call) {
    ++m_operations;
    if (unplugged()) {
        return ftdi::FT_IO_ERROR;
    }
    return m_sessions.with(handle, call);
}

Nanos EmulatedBackend::now() const {
    return std::chrono::duration_cast<Nanos>(m_clock.now());
}

void EmulatedBackend::updateLineMatch() {
    m_link.setLineMatches(link::isUnitLine(m_settings.baudRate, m_settings.wordLength,
                                           m_settings.stopBits, m_settings.parity));
}

ftdi::FT_STATUS EmulatedBackend::FT_OpenEx(void* arg, std::uint32_t flags,
                                           ftdi::FT_HANDLE* handle) {
    ++m_operations;
    ++m_opens;
    const Faults& faults = m_unit.faults();
    if (unplugged() || faults.noDevice) {
        return ftdi::FT_DEVICE_NOT_FOUND;
    }
    if (!link::isOpenRequest(arg, handle)) {
        return ftdi::FT_INVALID_PARAMETER;
    }
    const std::string_view name(static_cast<const char*>(arg));
    const bool matches = (flags == ftdi::FT_OPEN_BY_DESCRIPTION && name == wire::kUsbDescription) ||
                         (flags == ftdi::FT_OPEN_BY_SERIAL_NUMBER && name == kSerialNumber);
    if (!matches) {
        return ftdi::FT_DEVICE_NOT_FOUND;
    }
    // The library hands out one handle per device at a time.
    if (!m_sessions.empty() || (faults.openFailsFrom && m_opens >= *faults.openFailsFrom)) {
        return ftdi::FT_DEVICE_NOT_OPENED;
    }
    m_settings = PortSettings{};
    updateLineMatch();
    const Nanos at = now();
    m_link.setLatencyTimer(at, std::chrono::milliseconds{m_settings.latencyTimerMs});
    m_link.open(at);
    *handle = m_sessions.add(std::make_unique<Session>());
    return ftdi::FT_OK;
}

ftdi::FT_STATUS EmulatedBackend::FT_Close(ftdi::FT_HANDLE handle) {
    ++m_operations;
    // Even an unplugged device gives its handle back.
    const bool wasOpen = m_sessions.remove(handle) != nullptr;
    if (wasOpen) {
        m_link.close();
    }
    if (unplugged()) {
        return ftdi::FT_IO_ERROR;
    }
    return wasOpen ? ftdi::FT_OK : ftdi::FT_INVALID_HANDLE;
}

ftdi::FT_STATUS EmulatedBackend::FT_GetDeviceInfo(ftdi::FT_HANDLE handle, std::uint32_t* type,
                                                  std::uint32_t* id, char* serialNumber,
                                                  char* description, void* /*reserved*/) {
    return enter(handle, [&](Session&) {
        if (m_unit.faults().deviceInfoFails) {
            return ftdi::FT_IO_ERROR;
        }
        link::writeDeviceInfo(m_unit.faults().deviceType, kDeviceId, kSerialNumber,
                              wire::kUsbDescription, type, id, serialNumber, description);
        return ftdi::FT_OK;
    });
}

ftdi::FT_STATUS EmulatedBackend::FT_ResetDevice(ftdi::FT_HANDLE handle) {
    return enter(handle, [&](Session& session) {
        if (m_unit.faults().resetFails) {
            return ftdi::FT_IO_ERROR;
        }
        ++m_resets;
        const Nanos at = now();
        m_link.advanceTo(at);
        m_link.reset(at);
        session.writes = 0;
        m_settings.flowControl = 0; // the reset turns flow control off, the rest stays
        return ftdi::FT_OK;
    });
}

ftdi::FT_STATUS EmulatedBackend::FT_SetBaudRate(ftdi::FT_HANDLE handle, std::uint32_t baudRate) {
    return enter(handle, [&](Session&) {
        if (baudRate == 0) {
            return ftdi::FT_INVALID_PARAMETER;
        }
        m_link.advanceTo(now());
        m_settings.baudRate = baudRate;
        updateLineMatch();
        return ftdi::FT_OK;
    });
}

ftdi::FT_STATUS EmulatedBackend::FT_SetDataCharacteristics(ftdi::FT_HANDLE handle,
                                                           std::uint8_t wordLength,
                                                           std::uint8_t stopBits,
                                                           std::uint8_t parity) {
    return enter(handle, [&](Session&) {
        if (!link::isLineFormat(wordLength, stopBits, parity)) {
            return ftdi::FT_INVALID_PARAMETER;
        }
        m_link.advanceTo(now());
        m_settings.wordLength = wordLength;
        m_settings.stopBits = stopBits;
        m_settings.parity = parity;
        updateLineMatch();
        return ftdi::FT_OK;
    });
}

ftdi::FT_STATUS EmulatedBackend::FT_SetFlowControl(ftdi::FT_HANDLE handle,
                                                   std::uint16_t flowControl, std::uint8_t xon,
                                                   std::uint8_t xoff) {
    return enter(handle, [&](Session&) {
        m_settings.flowControl = flowControl;
        m_settings.xon = xon;
        m_settings.xoff = xoff;
        return ftdi::FT_OK;
    });
}

ftdi::FT_STATUS EmulatedBackend::FT_SetTimeouts(ftdi::FT_HANDLE handle, std::uint32_t readTimeout,
                                                std::uint32_t writeTimeout) {
    return enter(handle, [&](Session&) {
        m_settings.readTimeoutMs = readTimeout;
        m_settings.writeTimeoutMs = writeTimeout;
        return ftdi::FT_OK;
    });
}

ftdi::FT_STATUS EmulatedBackend::FT_Read(ftdi::FT_HANDLE handle, void* buffer,
                                         std::uint32_t bytesToRead, std::uint32_t* bytesReturned) {
    // The library leaves the count undefined on failure; 0 keeps careless callers safe.
    if (bytesReturned != nullptr) {
        *bytesReturned = 0;
    }
    return enter(handle, [&](Session&) {
        if (!link::isTransfer(buffer, bytesToRead, bytesReturned)) {
            return ftdi::FT_INVALID_PARAMETER;
        }
        *bytesReturned = static_cast<std::uint32_t>(
            readArrived({static_cast<std::uint8_t*>(buffer), bytesToRead}));
        return ftdi::FT_OK;
    });
}

std::size_t EmulatedBackend::readArrived(std::span<std::uint8_t> into) {
    const Nanos start = now();
    const bool endless = m_settings.readTimeoutMs == 0;
    const Nanos deadline = start + std::chrono::milliseconds{m_settings.readTimeoutMs};
    m_link.advanceTo(start);
    // Nothing the PC does can change the line while it waits here, so the model runs ahead
    // and the clock sleeps once, to the moment the read really ends.
    Nanos end = start;
    while (m_link.available() < into.size()) {
        const auto next = m_link.nextEvent();
        if (!next && endless) {
            throw std::logic_error(
                "EmulatedBackend.FT_Read: no read time-out and nothing more will arrive");
        }
        if (!next || (!endless && *next > deadline)) {
            m_link.advanceTo(deadline);
            end = deadline;
            break;
        }
        m_link.advanceTo(*next);
        end = *next;
    }
    m_clock.sleepUntil(roundUp(end));
    return m_link.take(into);
}

std::uint32_t EmulatedBackend::partialWriteTaken(int writes, std::uint32_t bytesToWrite) const {
    for (const auto& partial : m_unit.faults().partialWrites) {
        if (writes >= partial.firstCall && writes < partial.firstCall + partial.calls) {
            return std::min(partial.taken, bytesToWrite);
        }
    }
    return bytesToWrite;
}

ftdi::FT_STATUS EmulatedBackend::FT_Write(ftdi::FT_HANDLE handle, const void* buffer,
                                          std::uint32_t bytesToWrite, std::uint32_t* bytesWritten) {
    if (bytesWritten != nullptr) {
        *bytesWritten = 0;
    }
    return enter(handle, [&](Session& session) {
        if (!link::isTransfer(buffer, bytesToWrite, bytesWritten)) {
            return ftdi::FT_INVALID_PARAMETER;
        }
        ++session.writes;
        const Nanos start = now();
        m_link.advanceTo(start);
        const std::uint32_t taken = partialWriteTaken(session.writes, bytesToWrite);
        m_link.write(start, {static_cast<const std::uint8_t*>(buffer), taken});
        if (taken < bytesToWrite) {
            // The chip did not take the rest: the library gives up when the write time-out
            // ends.
            if (m_settings.writeTimeoutMs == 0) {
                throw std::logic_error(
                    "EmulatedBackend.FT_Write: no write time-out and the port takes no more");
            }
            m_clock.sleepUntil(
                roundUp(start + std::chrono::milliseconds{m_settings.writeTimeoutMs}));
        }
        *bytesWritten = taken;
        return ftdi::FT_OK;
    });
}

ftdi::FT_STATUS EmulatedBackend::FT_SetLatencyTimer(ftdi::FT_HANDLE handle,
                                                    std::uint8_t milliseconds) {
    return enter(handle, [&](Session&) {
        if (milliseconds < kMinLatencyMs) {
            return ftdi::FT_INVALID_PARAMETER;
        }
        const Nanos at = now();
        m_link.advanceTo(at);
        m_settings.latencyTimerMs = milliseconds;
        m_link.setLatencyTimer(at, std::chrono::milliseconds{milliseconds});
        return ftdi::FT_OK;
    });
}

} // namespace rtw::sim
