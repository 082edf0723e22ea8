// The packet steps of a Read: receiving, acknowledging and applying one packet.
#include "protocol/TransferSteps.h"

#include <array>

namespace rtw {

std::optional<ImageBlock> ReadPacket(TransferContext& context) {
    tftdichip& port = *context.link.devicePort;
    Frame buffer{};
    for (int read = 0; read < wire::kMaxPacketReads; ++read) {
        context.host.processEvents();
        buffer.fill(wire::kFillByte);
        std::uint32_t count = 0;
        if (!port.read(buffer.data(), static_cast<std::uint32_t>(buffer.size()), count)) {
            return std::nullopt;
        }
        if (count == buffer.size()) {
            const ImageBlock packet = decodeFrame(buffer);
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
    if (const Location at = locate(packet.address); at.kind == BlockKind::SmsArea) {
        const bool aligned = at.byte == 0;
        if (aligned && at.index == 0) {
            return FirstPacketSMS(context, config, packet, sms);
        }
        if (!aligned || at.index + 1 != at.region->blocks) {
            return MiddlePacketSMS(context, config, packet, sms);
        }
    }
    // Every other packet, an area's last block and the ones that change nothing included.
    ApplyImageBlock(config, packet, sms);
    return ACK(context);
}

} // namespace rtw
