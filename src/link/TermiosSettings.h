#pragma once
// The line settings of a serial terminal as termios values, computed apart from any
// terminal so they can be checked where no real line exists (pseudo-terminals force 8
// bits and no parity).
#include <cstdint>
#include <optional>

#include <termios.h>

namespace rtw::link {

// Raw bytes both ways, 9600 baud, 8N1, no flow control, the modem lines ignored, and reads
// that never wait by themselves (the caller waits with poll()).
void makeRawLine(termios& settings);

// The termios speed of a baud rate, or none where termios has no constant for it.
[[nodiscard]] std::optional<speed_t> speedOf(std::uint32_t baudRate);

// Bits 7 or 8, stop bits 1 or 2, parity 0 none, 1 odd, 2 even, 3 mark, 4 space; false
// (and settings unchanged) for anything else or where the system lacks mark and space.
[[nodiscard]] bool setCharacterFormat(termios& settings, int bits, int stopBits, int parity);

enum class LineFlow { None, RtsCts, XonXoff };
void setLineFlow(termios& settings, LineFlow flow, std::uint8_t xon = 0, std::uint8_t xoff = 0);

} // namespace rtw::link
