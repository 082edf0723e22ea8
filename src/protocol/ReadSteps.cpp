// The packet steps of a Read: receiving, acknowledging and applying one packet.
#include "protocol/TransferSteps.h"

#include <algorithm>
#include <array>

namespace rtw {

std::optional<ImageBlock> ReadPacket(TransferContext& context) {
    tftdichip& port = *context.link.devicePort;
    std::array<std::uint8_t, wire::kFrameSize> buffer{};
    for (int read = 0; read < wire::kMaxPacketReads; ++read) {
        context.host.processEvents();
        buffer.fill(wire::kFillByte);
        std::uint32_t count = 0;
        if (!port.read(buffer.data(), static_cast<std::uint32_t>(buffer.size()), count)) {
            return std::nullopt;
        }
        if (count == buffer.size()) {
            ImageBlock packet;
            packet.address = static_cast<std::uint16_t>(buffer[0] << 8 | buffer[1]);
            std::copy(buffer.begin() + 2, buffer.end(), packet.data.begin());
            context.flags.currentAddress = packet.address;
            return packet;
        }
        // A short read is dropped whole; the next read starts a new packet.
    }
    return std::nullopt;
}

StepEnd ACK(TransferContext& context) {
    tftdichip& port = *context.link.devicePort;
    const std::uint8_t ack = wire::kAck;
    for (int attempt = 0; attempt < wire::kMaxAckAttempts; ++attempt) {
        context.host.processEvents();
        std::uint32_t written = 0;
        if (!port.write(&ack, 1, written)) {
            return StepEnd::Failed;
        }
        if (written == 1) {
            context.dialog.setGaugeValue(context.flags.currentAddress);
            return StepEnd::Done;
        }
    }
    return StepEnd::Failed;
}

StepEnd FirstPacketSMS(TransferContext& context, DeviceConfig& config, const ImageBlock& packet,
                       SmsAssembly& sms) {
    ApplyImageBlock(config, packet, sms);
    return ACK(context);
}

StepEnd MiddlePacketSMS(TransferContext& context, DeviceConfig& config, const ImageBlock& packet,
                        SmsAssembly& sms) {
    ApplyImageBlock(config, packet, sms);
    return ACK(context);
}

StepEnd applyPacket(TransferContext& context, DeviceConfig& config, const ImageBlock& packet,
                    SmsAssembly& sms) {
    const std::uint16_t address = packet.address;
    if (address >= wire::kSmsBase && address < wire::kMemorySize) {
        const auto place = static_cast<std::uint8_t>(address & 0xFF);
        if (place == wire::kSmsFirstBlockText1 || place == wire::kSmsFirstBlockText2) {
            return FirstPacketSMS(context, config, packet, sms);
        }
        if (place != wire::kSmsLastBlockText1 && place != wire::kSmsLastBlockText2) {
            return MiddlePacketSMS(context, config, packet, sms);
        }
    }
    // Every other packet, an area's last block and the ones that change nothing included.
    ApplyImageBlock(config, packet, sms);
    return ACK(context);
}

} // namespace rtw
