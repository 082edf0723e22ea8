// The block steps of a Send: one attempt, and a block repeated until echoed.
#include "protocol/TransferSteps.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace rtw {

PortState SendTxString(TransferContext& context, std::span<const std::uint8_t> data) {
    if (data.size() > wire::kBlockSize) {
        throw std::invalid_argument("SendTxString: a block holds at most 16 bytes");
    }
    ImageBlock block;
    std::copy(data.begin(), data.end(), block.data.begin());

    context.host.processEvents();
    block.address = context.flags.currentAddress;
    const Frame frame = encodeFrame(block);

    tftdichip& port = *context.link.devicePort;
    std::uint32_t written = 0;
    if (!port.write(frame.data(), static_cast<std::uint32_t>(frame.size()), written)) {
        return PortState::Failed;
    }
    std::array<std::uint8_t, wire::kBlockSize> echo{};
    echo.fill(wire::kFillByte);
    std::uint32_t count = 0;
    if (!port.read(echo.data(), static_cast<std::uint32_t>(echo.size()), count)) {
        return PortState::Failed;
    }
    if (written == frame.size() && count == echo.size() && echo == block.data) {
        context.flags.stepDone = true;
    }
    // Good or bad, the gauge shows the block tried last; the clock block leaves it full.
    if (block.address <= wire::kLastImageBlock) {
        context.dialog.setGaugeValue(block.address);
    }
    return PortState::Working;
}

StepEnd sendBlock(TransferContext& context, std::span<const std::uint8_t> data) {
    context.flags.stepDone = false;
    for (int attempt = 0; attempt < wire::kMaxBlockAttempts; ++attempt) {
        if (SendTxString(context, data) == PortState::Failed) {
            return StepEnd::Failed;
        }
        context.host.processEvents();
        if (context.flags.stepDone) {
            return StepEnd::Done;
        }
    }
    return StepEnd::Failed;
}

StepEnd sendImageBlock(TransferContext& context, const ImageBlock& block) {
    context.flags.currentAddress = block.address;
    return sendBlock(context, block.data);
}

} // namespace rtw
