#pragma once
// Opening, checking, configuring and closing the one connection to the unit.
#include "config/MessageSink.h"
#include "link/tftdichip.h"

#include <memory>

namespace rtw {

// The shared state of the running system: `connected` is true while a connection is open;
// `devicePort` exists from a successful Connect until Disconnect.
struct DeviceLink {
    explicit DeviceLink(ftdi::D2xxApi& backend) : library(backend) {}
    ftdi::D2xxApi& library; // the backend chosen for this run
    std::unique_ptr<tftdichip> devicePort;
    bool connected = false;
};

// Every failure ends in a fixed German message through the sink and no connection;
// callers test link.connected. A port still held from before is disconnected first.
void Connect(DeviceLink& link, MessageSink& messages);
// Closes and drops devicePort (which is open whenever it exists); afterwards it is gone and
// connected is false. Without a devicePort it only clears connected.
void Disconnect(DeviceLink& link);

} // namespace rtw
