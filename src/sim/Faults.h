#pragma once
// Misbehaviour the emulated unit and its port can be told to show. A default Faults is a
// healthy unit on a healthy port. Counters named "session" restart whenever the port is
// opened or reset.
#include "link/FTDItypes.h"
#include "wire/ProtocolConstants.h"
#include "sim/Clock.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rtw::sim {

enum class EchoFaultKind : std::uint8_t {
    Corrupt, // 16 bytes, the first one inverted
    Short,   // only the first `length` bytes
};

struct EchoFault {
    std::uint16_t address = 0;
    int attempt = 0; // 1: the first frame with this address in the session; 0: every one
    EchoFaultKind kind = EchoFaultKind::Corrupt;
    std::size_t length = 10; // for Short
};

enum class PacketFaultKind : std::uint8_t {
    Short, // only the first `firstPart` bytes, the rest never comes
    Split, // `firstPart` bytes, then the rest after Faults::splitGap
};

struct PacketFault {
    std::uint16_t address = 0;
    PacketFaultKind kind = PacketFaultKind::Short;
    std::size_t firstPart = 10;
};

// FT_Write calls firstCall .. firstCall + calls - 1 of the session (counted from 1)
// hand only `taken` bytes to the line and return after the write time-out.
struct PartialWrite {
    int firstCall = 1;
    int calls = 1;
    std::uint32_t taken = 0;
};

struct Faults {
    // The greeting after open or reset.
    bool noGreeting = false;
    std::string greeting{wire::kGreeting}; // another text (or a shorter one) is a wrong greeting
    bool splitGreeting = false;            // the first 5 bytes, the other 3 after splitGap
    std::optional<Micros> lateGreeting;    // greet this long after open/reset instead

    // Handshake answers of the session: the first wrongHandshakeAnswers begin with 0x15,
    // the next shortHandshakeAnswers carry only 10 bytes; the unit keeps waiting for a
    // handshake after either.
    int wrongHandshakeAnswers = 0;
    int shortHandshakeAnswers = 0;

    std::vector<EchoFault> echoFaults;
    std::vector<PacketFault> packetFaults;
    // After this many echoes and packets in a session the unit ignores everything until
    // the port is opened or reset again.
    std::optional<int> stopAnsweringAfter;
    // The gap of a split greeting or packet; longer than the 500 ms read time-out, so one
    // read cannot collect both parts.
    Micros splitGap{600'000};

    // The port (in-process backend only).
    std::vector<PartialWrite> partialWrites;
    // Unplugged after this many D2XX calls of the backend's life: FT_OpenEx then finds no
    // device and every other call returns FT_IO_ERROR.
    std::optional<int> unplugAfterOperations;
    bool noDevice = false;                           // FT_OpenEx finds nothing
    std::optional<int> openFailsFrom;                // FT_OpenEx calls from this one on fail
    std::uint32_t deviceType = ftdi::FT_DEVICE_232R; // the chip family reported
    bool deviceInfoFails = false;
    bool resetFails = false; // FT_ResetDevice fails and changes nothing
};

} // namespace rtw::sim
