// The block steps of a Send: one attempt, a block repeated until echoed, an SMS area.
#include "protocol/TransferSteps.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace rtw {

PortState SendTxString(TransferContext& context, std::span<const std::uint8_t> data) {
    if (data.size() > wire::kBlockSize) {
        throw std::invalid_argument("SendTxString: a block holds at most 16 bytes");
    }
    std::array<std::uint8_t, wire::kBlockSize> block{};
    std::copy(data.begin(), data.end(), block.begin());

    context.host.processEvents();
    const std::uint16_t address = context.flags.currentAddress;
    std::array<std::uint8_t, wire::kFrameSize> frame{};
    frame[0] = static_cast<std::uint8_t>(address >> 8);
    frame[1] = static_cast<std::uint8_t>(address & 0xFF);
    std::copy(block.begin(), block.end(), frame.begin() + 2);

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
    if (written == frame.size() && count == echo.size() && echo == block) {
        context.flags.stepDone = true;
    }
    // Good or bad, the gauge shows the block tried last; the clock block leaves it full.
    if (address <= wire::kLastImageBlock) {
        context.dialog.setGaugeValue(address);
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

StepEnd SendTextSMS(TransferContext& context, std::string_view text) {
    const auto area = encodeSmsArea(text);
    for (std::size_t offset = 0; offset < area.size(); offset += wire::kBlockSize) {
        if (sendBlock(context, std::span(area).subspan(offset, wire::kBlockSize)) !=
            StepEnd::Done) {
            return StepEnd::Failed;
        }
        context.flags.currentAddress =
            static_cast<std::uint16_t>(context.flags.currentAddress + wire::kBlockSize);
    }
    return StepEnd::Done;
}

} // namespace rtw
