#include "protocol/Transfers.h"

#include "config/Cp1252.h"
#include "config/Validation.h"
#include "protocol/TransferSteps.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

namespace rtw {
namespace {

constexpr std::string_view kSendCaption = "Sende Daten";
constexpr std::string_view kReadCaption = "Laden Daten";
constexpr std::string_view kWaitingLabel = "Enwarte ich Antwort...";
constexpr std::string_view kSendingLabel = "Sende Daten.Bitte warten...";
constexpr std::string_view kReadingLabel = "Laden Daten.Bitte warten...";

std::string wrongDeviceText() {
    return cp1252FromUtf8("Falsche USB-Gerät !");
}
std::string cannotSendText() {
    return cp1252FromUtf8("Die Konfiguration kann nicht gesendet werden:");
}
std::string sendNoAnswerText() {
    return cp1252FromUtf8("Das Wählgerät antwortet nicht. Die Konfiguration wurde nicht "
                          "vollständig gesendet!");
}
std::string readNoAnswerText() {
    return cp1252FromUtf8("Das Wählgerät antwortet nicht. Die Konfiguration wurde nicht gelesen!");
}

// Everything a transfer holds after a successful Connect, given back on every way out:
// the connection closed, the dialog hidden, the window enabled. Also when an exception
// escapes, so a throwing observer or view cannot leave the window disabled.
class OpenTransfer {
public:
    explicit OpenTransfer(TransferContext& context) : m_context(context) {}
    OpenTransfer(const OpenTransfer&) = delete;
    OpenTransfer& operator=(const OpenTransfer&) = delete;
    ~OpenTransfer() {
        if (!m_ended) {
            try {
                m_context.host.stopTimer1();
                end();
            } catch (...) { // already unwinding: the first exception is the one to report
            }
        }
    }

    void end() {
        m_ended = true;
        if (m_context.link.devicePort) {
            Disconnect(m_context.link);
        }
        m_context.dialog.hide();
        m_context.host.setMainWindowEnabled(true);
    }

    // Ends, then tells the user: the message comes once nothing is held any more.
    void endWith(const std::string& message) {
        end();
        m_context.messages.showMessage(message);
    }

private:
    TransferContext& m_context;
    bool m_ended = false;
};

void openDialog(TransferContext& context, std::string_view caption) {
    context.dialog.show();
    context.host.setMainWindowEnabled(false);
    context.flags.waitExpired = false;
    context.host.startTimer1();
    context.dialog.setCaption(caption);
    context.dialog.setGaugeVisible(false);
    context.dialog.setCancelVisible(true);
    context.dialog.setLabel(kWaitingLabel);
}

// Greeting and handshake, shared by both transfers. Returns the result that ends the
// transfer, or nothing when the blocks may flow.
std::optional<TransferResult> waitForUnit(TransferContext& context, OpenTransfer& transfer,
                                          std::uint8_t request, std::uint8_t answer,
                                          const std::string& noAnswerText) {
    if (!awaitGreeting(context)) {
        context.dialog.btnCancelClick();
        transfer.endWith(wrongDeviceText());
        return TransferResult::WrongDevice;
    }
    switch (handshake(context, request, answer)) {
    case StepEnd::Done:
        return std::nullopt;
    case StepEnd::Cancelled:
        transfer.end();
        return TransferResult::Cancelled;
    case StepEnd::Failed:
        break;
    }
    transfer.endWith(noAnswerText);
    return TransferResult::NoAnswer;
}

std::string invalidConfigText(const std::vector<std::string>& problems) {
    std::string text = cannotSendText();
    for (const std::string& p : problems) {
        text += '\n';
        text += p;
    }
    return text;
}

} // namespace

bool awaitGreeting(TransferContext& context) {
    tftdichip& port = *context.link.devicePort;
    std::array<std::uint8_t, wire::kGreeting.size()> buffer{};
    bool portWorks = true;
    context.flags.stepDone = false;
    do {
        context.host.processEvents();
        buffer.fill(wire::kFillByte);
        std::uint32_t count = 0;
        // An unplugged port would answer at once, every time: it has no greeting to give.
        portWorks = port.read(buffer.data(), static_cast<std::uint32_t>(buffer.size()), count);
        if (portWorks && count == buffer.size()) {
            context.flags.stepDone = true;
        }
    } while (portWorks && !context.flags.stepDone && !context.flags.waitExpired);
    context.host.stopTimer1();
    return portWorks &&
           std::equal(buffer.begin(), buffer.end(), wire::kGreeting.begin(), wire::kGreeting.end(),
                      [](std::uint8_t b, char c) { return b == static_cast<std::uint8_t>(c); });
}

StepEnd handshake(TransferContext& context, std::uint8_t request, std::uint8_t answer) {
    tftdichip& port = *context.link.devicePort;
    std::array<std::uint8_t, wire::kHandshakeAnswerSize> reply{};
    context.flags.stepDone = false;
    do {
        context.host.processEvents();
        std::uint32_t written = 0;
        if (!port.write(&request, 1, written)) {
            return context.link.connected ? StepEnd::Failed : StepEnd::Cancelled;
        }
        reply.fill(wire::kFillByte);
        std::uint32_t count = 0;
        if (!port.read(reply.data(), static_cast<std::uint32_t>(reply.size()), count)) {
            return context.link.connected ? StepEnd::Failed : StepEnd::Cancelled;
        }
        if (written == 1 && count == reply.size() && reply[0] == answer) {
            context.flags.stepDone = true;
        }
    } while (!context.flags.stepDone && context.link.connected);
    return context.link.connected ? StepEnd::Done : StepEnd::Cancelled;
}

TransferResult btnSendClick(TransferContext& context, const DeviceConfig& config) {
    if (const auto problems = validateForSend(config); !problems.empty()) {
        context.messages.showMessage(invalidConfigText(problems));
        return TransferResult::Invalid;
    }
    // Encoded before connecting: nothing can change the configuration while the window is
    // disabled, and nothing is open yet should encoding refuse it.
    const std::vector<ImageBlock> image = EncodeImage(config);

    Connect(context.link, context.messages);
    if (!context.link.connected) {
        return TransferResult::NotConnected;
    }
    OpenTransfer transfer(context);
    openDialog(context, kSendCaption);
    if (auto end = waitForUnit(context, transfer, wire::kSendHandshake, wire::kSendHandshakeAnswer,
                               sendNoAnswerText())) {
        return *end;
    }

    context.dialog.setCancelVisible(false);
    context.dialog.setGaugeVisible(true);
    context.dialog.setGaugeValue(0);
    context.dialog.setLabel(kSendingLabel);

    auto noAnswer = [&] {
        transfer.endWith(sendNoAnswerText());
        return TransferResult::NoAnswer;
    };
    for (const ImageBlock& block : image) {
        if (sendImageBlock(context, block) != StepEnd::Done) {
            return noAnswer();
        }
    }

    // The clock is read afresh for every attempt, so a repeat across a minute carries the
    // new minute.
    context.flags.stepDone = false;
    for (int attempt = 0; !context.flags.stepDone; ++attempt) {
        if (attempt == wire::kMaxBlockAttempts) {
            return noAnswer();
        }
        const ImageBlock clock = EncodeClockBlock(context.clock());
        context.flags.currentAddress = wire::kClockBlock;
        if (SendTxString(context, clock.data) == PortState::Failed) {
            return noAnswer();
        }
        context.host.processEvents();
    }
    transfer.end();
    return TransferResult::Done;
}

TransferResult btnReadClick(TransferContext& context, DeviceConfig& config) {
    Connect(context.link, context.messages);
    if (!context.link.connected) {
        return TransferResult::NotConnected;
    }
    OpenTransfer transfer(context);
    openDialog(context, kReadCaption);
    context.flags.currentAddress = 0;
    if (auto end = waitForUnit(context, transfer, wire::kReadHandshake, wire::kReadHandshakeAnswer,
                               readNoAnswerText())) {
        return *end;
    }

    context.dialog.setCancelVisible(false);
    context.dialog.setGaugeValue(0);
    context.dialog.setGaugeVisible(true);
    context.dialog.setLabel(kReadingLabel);

    // The packets go into a copy, taken over only once the last one is in: an interrupted
    // Read must not leave a mix of old and new settings that a Send would pass on as whole.
    DeviceConfig received(config);
    SmsAssembly sms;
    auto noAnswer = [&] {
        transfer.endWith(readNoAnswerText());
        return TransferResult::NoAnswer;
    };
    if (ACK(context) != StepEnd::Done) {
        return noAnswer();
    }
    int packets = 0;
    do {
        if (packets++ == wire::kMaxReadPackets) {
            return noAnswer();
        }
        const std::optional<ImageBlock> packet = ReadPacket(context);
        if (!packet || applyPacket(context, received, *packet, sms) != StepEnd::Done) {
            return noAnswer();
        }
    } while (context.flags.currentAddress < wire::kLastImageBlock);
    config.assign(received);
    transfer.end();
    return TransferResult::Done;
}

} // namespace rtw
