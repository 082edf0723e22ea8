#pragma once
// The unit's protocol in numbers: memory layout, frames, handshake bytes and time-outs.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace rtw::wire {

// Memory image
inline constexpr std::size_t kBlockSize = 16;
inline constexpr std::size_t kFrameSize = 18; // address high, address low, 16 data bytes
inline constexpr std::size_t kMemorySize = 4096;
inline constexpr std::size_t kImageBlockCount = 254;
inline constexpr std::size_t kTextBlockCapacity = 15;
inline constexpr std::size_t kSmsAreaSize = 128;
inline constexpr std::size_t kSmsCapacity = 127;

inline constexpr std::uint16_t kPovBase = 0;
inline constexpr std::uint16_t kPovListStride = 1024;
inline constexpr std::uint16_t kPooBase = 2048;
inline constexpr std::uint16_t kPzsBase = 2304;
inline constexpr std::uint16_t kTcvBase = 2560;
inline constexpr std::uint16_t kShortListStride = 128;
inline constexpr std::uint16_t kTczssmsBase = 2816;
inline constexpr std::uint16_t kDtmfZap1 = 2944;
inline constexpr std::uint16_t kDtmfVyp1 = 2960;
inline constexpr std::uint16_t kDtmfZap2 = 2976;
inline constexpr std::uint16_t kDtmfVyp2 = 2992;
inline constexpr std::uint16_t kCountsBlock = 3008;
inline constexpr std::uint16_t kSettingsBlock = 3024;
inline constexpr std::uint16_t kSmsBase = 3072; // first SMS group; below it only unused blocks
inline constexpr std::uint16_t kSmsvBase = 3072;
inline constexpr std::uint16_t kSmsnvBase = 3328;
inline constexpr std::uint16_t kSmszapBase = 3584;
inline constexpr std::uint16_t kSmsvypBase = 3840;
inline constexpr std::uint16_t kUnusedBlock1 = 3040; // never sent, ignored when received
inline constexpr std::uint16_t kUnusedBlock2 = 3056;
inline constexpr std::uint16_t kLastImageBlock = 4080; // a Read ends at or above it
inline constexpr std::uint16_t kClockBlock = 0x8080;

// SMS areas: each group holds its two texts in consecutive 128-byte areas.
inline constexpr std::uint16_t kSmsAreaStride = 128;
inline constexpr std::size_t kSmsBlocksPerArea = 8;

// Settings block: byte positions and bits.
inline constexpr std::size_t kSetContactTypes = 0;
inline constexpr std::size_t kSetInterval = 1;
inline constexpr std::size_t kSetCas = 2; // packed BCD
inline constexpr std::size_t kSetCasRele1 = 3;
inline constexpr std::size_t kSetCasRele2 = 4;
inline constexpr std::size_t kSetKredit = 5;
inline constexpr std::size_t kSetDelay1 = 6; // the value - 1
inline constexpr std::size_t kSetDelay2 = 7;
inline constexpr std::size_t kSetResetTexts = 15;
inline constexpr std::uint8_t kInput1NcBit = 0x01;
inline constexpr std::uint8_t kInput2NcBit = 0x02;
inline constexpr std::uint8_t kContactTypesMax = 3; // above it a received byte is ignored
inline constexpr std::uint8_t kResetText1Bit = 0x01;
inline constexpr std::uint8_t kResetText2Bit = 0x02;
inline constexpr int kDelayOffset = 1;

// Link bytes
inline constexpr std::string_view kGreeting = "RTW53zem";
inline constexpr std::uint8_t kSendHandshake = 0xAA;
inline constexpr std::uint8_t kSendHandshakeAnswer = 0x06;
inline constexpr std::uint8_t kReadHandshake = 0x60;
inline constexpr std::uint8_t kReadHandshakeAnswer = 0x60;
inline constexpr std::uint8_t kAck = 0x1F;
inline constexpr std::uint8_t kFillByte = 0x20; // receive buffers start as spaces
inline constexpr std::size_t kHandshakeAnswerSize = 16;

// The unit's chip and line
inline constexpr std::string_view kUsbDescription = "FT232R USB UART";
inline constexpr std::uint32_t kReadTimeoutMs = 500;
inline constexpr std::uint32_t kWriteTimeoutMs = 1000;
inline constexpr std::uint8_t kLatencyTimerMs = 2;
inline constexpr int kBaudRate = 9600;

// Transfers
inline constexpr int kGreetingWaitMs = 2000;
inline constexpr int kMaxBlockAttempts = 10; // a block not echoed after these ends a Send
inline constexpr int kMaxPacketReads = 10;   // incomplete packet reads in a row end a Read
inline constexpr int kMaxAckAttempts = 10;   // refused acknowledges end a Read
// Packets a Read takes without meeting one at 4080 or above: four times a whole memory,
// so a unit that repeats itself cannot hold the window for ever.
inline constexpr int kMaxReadPackets = 4 * static_cast<int>(kMemorySize / kBlockSize);

} // namespace rtw::wire
