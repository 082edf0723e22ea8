#include "link/Connection.h"

#include "config/Cp1252.h"
#include "wire/ProtocolConstants.h"

#include <string_view>

namespace rtw {
namespace {

constexpr std::string_view kNotConnected = "Nicht verbunden Wählgerät!";
constexpr std::string_view kOpenFailed = "Verbindung vergeblich !";
constexpr std::string_view kInfoFailed = "Beschädigt Schaltungen !";
constexpr std::string_view kWrongDevice = "Falsche USB-Gerät !";
constexpr std::string_view kResetFailed = "reset error?";

void tell(MessageSink& messages, std::string_view utf8) {
    messages.showMessage(cp1252FromUtf8(utf8));
}

} // namespace

void Connect(DeviceLink& link, MessageSink& messages) {
    // A port left open without `connected` (a cancelled transfer that did not disconnect)
    // would otherwise be dropped with its device still open, and every later open fails.
    if (link.connected || link.devicePort) {
        Disconnect(link);
    }
    link.devicePort = std::make_unique<tftdichip>(link.library);
    tftdichip& port = *link.devicePort;

    // In every failing branch the user dismisses the message before the chip is let go.
    if (!port.isDevicePresent(wire::kUsbDescription)) {
        tell(messages, kNotConnected);
        link.devicePort.reset();
        return;
    }
    if (!port.openDeviceByDescription(wire::kUsbDescription)) {
        tell(messages, kOpenFailed);
        link.devicePort.reset();
        return;
    }
    DeviceType type{};
    std::uint16_t productId = 0;
    std::uint16_t vendorId = 0;
    std::string serialNumber;
    std::string description;
    if (!port.getDeviceInfo(type, productId, vendorId, serialNumber, description)) {
        tell(messages, kInfoFailed);
        port.closeDevice();
        link.devicePort.reset();
        return;
    }
    if (type != kDevice232R) {
        tell(messages, kWrongDevice);
        port.closeDevice();
        link.devicePort.reset();
        return;
    }
    if (!port.resetDevice()) {
        tell(messages, kResetFailed);
    }
    static_cast<void>(port.setBaudRate(kBaud9600));
    static_cast<void>(port.setDataCharacteristics(kEightDataBits, kOneStopBit, kNoParity));
    static_cast<void>(port.setFlowControl(kNoFlowControl, 0, 0));
    static_cast<void>(port.setTimeouts(wire::kReadTimeoutMs, wire::kWriteTimeoutMs));
    // The chip holds a short reply back until this timer runs out; 16 ms by default would
    // add seconds to every transfer. Where the backend cannot set it, nothing is lost.
    static_cast<void>(port.setLatencyTimer(wire::kLatencyTimerMs));
    link.connected = true;
}

void Disconnect(DeviceLink& link) {
    if (link.devicePort) {
        link.devicePort->closeDevice();
        link.devicePort.reset();
    }
    link.connected = false;
}

} // namespace rtw
