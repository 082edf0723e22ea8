#pragma once
// The emulated unit behind the D2XX-shaped seam, in-process, with the library's semantics:
// FT_Read returns once n bytes have arrived or the read time-out ran out, with FT_OK and
// the count; waiting sleeps on the Clock, so a FakeClock jumps. One device, one handle at
// a time; the unit and its memory outlive every open.
#include "link/FTDIdll.h"
#include "link/HandleTable.h"
#include "sim/Clock.h"
#include "sim/EmulatedUnit.h"
#include "sim/LinkModel.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace rtw::sim {

// What the PC last configured (the chip's defaults until then).
struct PortSettings {
    std::uint32_t baudRate = wire::kBaudRate;
    std::uint8_t wordLength = ftdi::FT_BITS_8;
    std::uint8_t stopBits = ftdi::FT_STOP_BITS_1; // library value: 0 one, 2 two
    std::uint8_t parity = ftdi::FT_PARITY_NONE;
    std::uint16_t flowControl = 0;
    std::uint8_t xon = 0;
    std::uint8_t xoff = 0;
    std::uint32_t readTimeoutMs = 0; // 0: no time-out
    std::uint32_t writeTimeoutMs = 0;
    std::uint8_t latencyTimerMs = 16;
};

class EmulatedBackend final : public ftdi::D2xxApi {
public:
    static constexpr std::uint32_t kDeviceId = 0x04036001; // 0403:6001
    static constexpr const char* kSerialNumber = "RTW00001";

    EmulatedBackend(EmulatedUnit& unit, Clock& clock, Pacing pacing = Pacing::Instant);

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
    // Throws std::logic_error when no read time-out is set and nothing more can arrive: a
    // real library would block for ever.
    ftdi::FT_STATUS FT_Read(ftdi::FT_HANDLE handle, void* buffer, std::uint32_t bytesToRead,
                            std::uint32_t* bytesReturned) override;
    ftdi::FT_STATUS FT_Write(ftdi::FT_HANDLE handle, const void* buffer, std::uint32_t bytesToWrite,
                             std::uint32_t* bytesWritten) override;
    ftdi::FT_STATUS FT_SetLatencyTimer(ftdi::FT_HANDLE handle, std::uint8_t milliseconds) override;

    // Runs the line and the unit up to the clock's present. Every D2XX call does so first;
    // a look at the unit between calls needs it to see what has reached it since.
    void runLineToNow() { m_link.advanceTo(now()); }

    [[nodiscard]] EmulatedUnit& unit() { return m_unit; }
    [[nodiscard]] Faults& faults() { return m_unit.faults(); }
    [[nodiscard]] bool isOpen() const { return !m_sessions.empty(); }
    [[nodiscard]] const PortSettings& portSettings() const { return m_settings; }
    // D2XX calls made so far (the count unplugAfterOperations compares with).
    [[nodiscard]] int operationCount() const { return m_operations; }
    [[nodiscard]] int resetCount() const { return m_resets; }

private:
    // One open of the device.
    struct Session {
        int writes = 0; // since the open or the last reset
    };

    [[nodiscard]] bool unplugged() const;
    // Every call with a handle: counted, refused once unplugged, then the handle looked up.
    template <typename Call> [[nodiscard]] ftdi::FT_STATUS enter(ftdi::FT_HANDLE handle, Call call);
    [[nodiscard]] Nanos now() const;
    void updateLineMatch();
    // Waits as the read time-out allows for the bytes to arrive and takes what came.
    [[nodiscard]] std::size_t readArrived(std::span<std::uint8_t> into);
    [[nodiscard]] std::uint32_t partialWriteTaken(int writes, std::uint32_t bytesToWrite) const;

    EmulatedUnit& m_unit;
    Clock& m_clock;
    LinkModel m_link;
    PortSettings m_settings;
    link::HandleTable<Session> m_sessions;
    int m_operations = 0;
    int m_opens = 0;
    int m_resets = 0;
};

} // namespace rtw::sim
