#include "link/TermiosSettings.h"

#include <array>
#include <utility>

namespace rtw::link {
namespace {

constexpr tcflag_t flags(tcflag_t value) {
    return value;
}

const std::array<std::pair<std::uint32_t, speed_t>, 13> kSpeeds = {{
    {300, B300},
    {600, B600},
    {1200, B1200},
    {2400, B2400},
    {4800, B4800},
    {9600, B9600},
    {19200, B19200},
    {38400, B38400},
    {57600, B57600},
    {115200, B115200},
    {230400, B230400},
#ifdef B460800
    {460800, B460800},
#else
    {460800, B0},
#endif
#ifdef B921600
    {921600, B921600},
#else
    {921600, B0},
#endif
}};

} // namespace

void makeRawLine(termios& settings) {
    ::cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD;
    static_cast<void>(setCharacterFormat(settings, 8, 1, 0));
    setLineFlow(settings, LineFlow::None);
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    ::cfsetispeed(&settings, B9600);
    ::cfsetospeed(&settings, B9600);
}

std::optional<speed_t> speedOf(std::uint32_t baudRate) {
    for (const auto& [rate, speed] : kSpeeds) {
        if (rate == baudRate && speed != B0) {
            return speed;
        }
    }
    return std::nullopt;
}

bool setCharacterFormat(termios& settings, int bits, int stopBits, int parity) {
    if ((bits != 7 && bits != 8) || (stopBits != 1 && stopBits != 2)) {
        return false;
    }
    tcflag_t cflag = settings.c_cflag & ~flags(CSIZE | CSTOPB | PARENB | PARODD);
#ifdef CMSPAR
    cflag &= ~flags(CMSPAR);
#endif
    cflag |= bits == 7 ? CS7 : CS8;
    if (stopBits == 2) {
        cflag |= CSTOPB;
    }
    switch (parity) {
    case 0:
        break;
    case 1:
        cflag |= PARENB | PARODD;
        break;
    case 2:
        cflag |= PARENB;
        break;
#ifdef CMSPAR
    case 3: // mark: the parity bit always 1
        cflag |= PARENB | CMSPAR | PARODD;
        break;
    case 4: // space: always 0
        cflag |= PARENB | CMSPAR;
        break;
#endif
    default:
        return false;
    }
    settings.c_cflag = cflag;
    return true;
}

void setLineFlow(termios& settings, LineFlow flow, std::uint8_t xon, std::uint8_t xoff) {
    settings.c_cflag &= ~flags(CRTSCTS);
    settings.c_iflag &= ~flags(IXON | IXOFF | IXANY);
    switch (flow) {
    case LineFlow::None:
        break;
    case LineFlow::RtsCts:
        settings.c_cflag |= CRTSCTS;
        break;
    case LineFlow::XonXoff:
        settings.c_iflag |= IXON | IXOFF;
        settings.c_cc[VSTART] = static_cast<cc_t>(xon);
        settings.c_cc[VSTOP] = static_cast<cc_t>(xoff);
        break;
    }
}

} // namespace rtw::link
