#pragma once
// The steps the two transfers are built from. Each step lets pending events run where the
// window expects it and reports whether the transfer can go on; only the transfers and
// their tests call these.
#include "protocol/Transfers.h"

#include <cstdint>
#include <optional>
#include <span>

namespace rtw {

// A port call that returns a status other than OK means the device is gone (unplugged):
// repeating the step would only spin, so the transfer ends instead.
enum class PortState : std::uint8_t { Working, Failed };

enum class StepEnd : std::uint8_t {
    Done,
    Cancelled, // the dialog's Cancel cleared `connected`
    Failed,    // the unit stopped answering or the port failed
};

// The greeting wait under Timer1: true when one read brought all 8 bytes and they are
// "RTW53zem". Stops Timer1 before it returns.
[[nodiscard]] bool awaitGreeting(TransferContext& context);

// Writes the request byte until the unit answers 16 bytes beginning with answer, the user
// cancels, or the port fails. Cancel is offered, so a unit that answers wrongly is not
// given up on here.
[[nodiscard]] StepEnd handshake(TransferContext& context, std::uint8_t request,
                                std::uint8_t answer);

// Send: one attempt at writing up to 16 data bytes (padded with 0x00) at currentAddress;
// sets stepDone when the unit echoed them unchanged.
[[nodiscard]] PortState SendTxString(TransferContext& context, std::span<const std::uint8_t> data);
// Send: repeats SendTxString on one block until it is echoed, at most
// wire::kMaxBlockAttempts times.
[[nodiscard]] StepEnd sendBlock(TransferContext& context, std::span<const std::uint8_t> data);
// Send: sets currentAddress to the block's address and sends it with sendBlock.
[[nodiscard]] StepEnd sendImageBlock(TransferContext& context, const ImageBlock& block);

// Read: receives one 18-byte packet and sets currentAddress from it. Incomplete reads are
// dropped; wire::kMaxPacketReads of them in a row end the Read.
[[nodiscard]] std::optional<ImageBlock> ReadPacket(TransferContext& context);
// Read: writes one acknowledge (at most wire::kMaxAckAttempts tries) and moves the gauge.
[[nodiscard]] StepEnd ACK(TransferContext& context);
// Read: apply the first or a middle block of an SMS area, then acknowledge it.
[[nodiscard]] StepEnd FirstPacketSMS(TransferContext& context, DeviceConfig& config,
                                     const ImageBlock& packet, SmsAssembly& sms);
[[nodiscard]] StepEnd MiddlePacketSMS(TransferContext& context, DeviceConfig& config,
                                      const ImageBlock& packet, SmsAssembly& sms);
// Read: applies any packet by the kind its address names, then acknowledges it once.
[[nodiscard]] StepEnd applyPacket(TransferContext& context, DeviceConfig& config,
                                  const ImageBlock& packet, SmsAssembly& sms);

} // namespace rtw
