#pragma once
// A transfer's surroundings for tests: a dialog and a window that record every call, a
// message sink that notes what was still held when a message came, and the emulated unit
// on a fake clock, so a whole transfer runs in fake time.
#include "config/Cp1252.h"
#include "link/Connection.h"
#include "link/ForwardingApi.h"
#include "protocol/Transfers.h"
#include "sim/Clock.h"
#include "sim/EmulatedBackend.h"
#include "sim/EmulatedUnit.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace rtw::test {

using namespace std::chrono_literals;

// What happened, in order, across the dialog, the window and the message sink.
using EventLog = std::vector<std::string>;

class FakeHost final : public TransferHost {
public:
    FakeHost(sim::Clock& clock, TransferFlags& flags, EventLog& log)
        : m_clock(clock), m_flags(flags), m_log(log) {}

    void setMainWindowEnabled(bool enabled) override {
        mainEnabled = enabled;
        m_log.push_back(enabled ? "window enabled" : "window disabled");
    }
    // Advances nothing: time moves only while the port waits. Timer1 ticks here, as a
    // window's timer does, once its interval has passed.
    void processEvents() override {
        ++pumps;
        if (onPump) {
            onPump();
        }
        if (timerRunning && m_clock.now() - m_timerStart >= kInterval) {
            m_timerStart += kInterval;
            m_flags.waitExpired = true;
        }
    }
    void startTimer1() override {
        timerRunning = true;
        m_timerStart = m_clock.now();
        ++timerStarts;
        m_log.push_back("timer started");
    }
    void stopTimer1() override {
        timerRunning = false;
        m_log.push_back("timer stopped");
    }

    static constexpr sim::Micros kInterval{2'000'000};
    bool mainEnabled = true;
    bool timerRunning = false;
    int timerStarts = 0;
    int pumps = 0;
    std::function<void()> onPump; // runs inside processEvents, like a click would

private:
    sim::Clock& m_clock;
    TransferFlags& m_flags;
    EventLog& m_log;
    sim::Micros m_timerStart{0};
};

class FakeView final : public ProgressView {
public:
    FakeView(DeviceLink& link, TransferFlags& flags, TransferHost& host, EventLog& log)
        : ProgressView(link, flags, host), m_log(log) {}

    void show() override {
        visible = true;
        m_log.push_back("show");
    }
    void hide() override {
        visible = false;
        m_log.push_back("hide");
    }
    void setCaption(std::string_view text) override {
        caption = text;
        m_log.push_back("caption " + std::string(text));
    }
    void setLabel(std::string_view text) override {
        label = text;
        m_log.push_back("label " + std::string(text));
    }
    void setGaugeVisible(bool shown) override {
        gaugeVisible = shown;
        m_log.push_back(shown ? "gauge shown" : "gauge hidden");
    }
    void setGaugeValue(int value) override {
        if (gaugeValues.empty() || gaugeValues.back() != value) {
            m_log.push_back("gauge " + std::to_string(value));
        }
        gaugeValues.push_back(value);
    }
    void setCancelVisible(bool shown) override {
        cancelVisible = shown;
        m_log.push_back(shown ? "cancel shown" : "cancel hidden");
    }
    // The user's click: only possible while the button is there.
    void clickCancel() {
        if (cancelVisible && visible) {
            btnCancelClick();
        }
    }

    bool visible = false;
    bool gaugeVisible = false;
    bool cancelVisible = false;
    std::string caption;
    std::string label;
    std::vector<int> gaugeValues;

private:
    EventLog& m_log;
};

// A message and what the user could see of the transfer while it was up.
struct ShownMessage {
    std::string text; // CP1252
    bool portHeld = false;
    bool dialogVisible = false;
    bool mainEnabled = false;
};

class RecordingSink final : public MessageSink {
public:
    RecordingSink(const DeviceLink& link, const FakeView& view, const FakeHost& host, EventLog& log)
        : m_link(link), m_view(view), m_host(host), m_log(log) {}
    void showMessage(std::string_view text) override {
        shown.push_back(
            {std::string(text), m_link.devicePort != nullptr, m_view.visible, m_host.mainEnabled});
        m_log.push_back("message " + utf8FromCp1252(text));
    }
    std::vector<ShownMessage> shown;

private:
    const DeviceLink& m_link;
    const FakeView& m_view;
    const FakeHost& m_host;
    EventLog& m_log;
};

// Between the port and the emulated backend. While nextPacket is set and gives a packet,
// an 18-byte read returns that packet instead of what the unit sends, so a Read can be
// fed any order of packets; every other call passes through. Counts the acknowledges.
class PacketScript final : public link::ForwardingApi {
public:
    using ForwardingApi::ForwardingApi;

    ftdi::FT_STATUS FT_Read(ftdi::FT_HANDLE handle, void* buffer, std::uint32_t bytesToRead,
                            std::uint32_t* bytesReturned) override {
        if (bytesToRead == wire::kFrameSize && nextPacket) {
            if (const std::optional<ImageBlock> packet = nextPacket()) {
                const Frame frame = encodeFrame(*packet);
                std::copy(frame.begin(), frame.end(), static_cast<std::uint8_t*>(buffer));
                *bytesReturned = wire::kFrameSize;
                return ftdi::FT_OK;
            }
        }
        return inner().FT_Read(handle, buffer, bytesToRead, bytesReturned);
    }
    ftdi::FT_STATUS FT_Write(ftdi::FT_HANDLE handle, const void* buffer, std::uint32_t bytesToWrite,
                             std::uint32_t* bytesWritten) override {
        const ftdi::FT_STATUS status = inner().FT_Write(handle, buffer, bytesToWrite, bytesWritten);
        if (status == ftdi::FT_OK && bytesToWrite == 1 && *bytesWritten == 1 &&
            *static_cast<const std::uint8_t*>(buffer) == wire::kAck) {
            ++acks;
        }
        return status;
    }

    std::function<std::optional<ImageBlock>()> nextPacket; // unset: the unit's own packets
    int acks = 0;
};

// The emulated unit, unpaced, on a fake clock, and a transfer context around it.
struct TransferRig {
    TransferRig() {
        context.clock = [this] { return localTime; };
    }

    [[nodiscard]] TransferResult send(const DeviceConfig& config) {
        return btnSendClick(context, config);
    }
    [[nodiscard]] TransferResult read(DeviceConfig& config) {
        return btnReadClick(context, config);
    }
    // Nothing held, nothing shown, the window usable again.
    [[nodiscard]] bool endedClean() const {
        return !link.connected && !link.devicePort && !backend.isOpen() && !view.visible &&
               host.mainEnabled && !host.timerRunning;
    }
    [[nodiscard]] sim::Micros elapsed() const { return clock.now(); }

    EventLog log;
    sim::FakeClock clock;
    sim::EmulatedUnit unit;
    sim::EmulatedBackend backend{unit, clock};
    PacketScript script{backend};
    DeviceLink link{script};
    TransferFlags flags;
    FakeHost host{clock, flags, log};
    FakeView view{link, flags, host, log};
    RecordingSink messages{link, view, host, log};
    LocalDateTime localTime{2024, 3, 5, 7, 9};
    TransferContext context{link, flags, view, host, messages};
};

inline std::string cp(std::string_view utf8) {
    return cp1252FromUtf8(utf8);
}

// A configuration that touches every kind of block: long and full lists, texts at their
// limits, line breaks, numbers at their edges and an NC input.
inline DeviceConfig sampleConfig() {
    DeviceConfig config;
    for (int k = 1; k <= 5; ++k) {
        config.setText(entryField(ListId::POV1, k), "+42190" + std::to_string(k));
    }
    for (int k = 1; k <= 64; ++k) {
        config.setText(entryField(ListId::POV2, k), std::to_string(10'000'000'000'000LL + k));
    }
    for (int k = 1; k <= 8; ++k) {
        config.setText(entryField(ListId::POO2, k), "0905" + std::to_string(k));
    }
    config.setText(entryField(ListId::TCZSSMS, 1), "112");
    config.setText("MemoDTMFZAP1", "1234");
    config.setText("MemoDTMFVYP2", "99");
    config.setText("memoSMSV1", std::string(127, 'a'));
    config.setText("memoSMSNV2", cp("Eingang 2 zurück\r\nalles OK"));
    config.setText("memoSMSZAP1", "sixteen chars!!!");
    config.setText("spinINTERVAL", "180");
    config.setText("spinCAS", "23");
    config.setText("SpinCASRELE1", "7");
    config.setText("spinDELAY1", "255");
    config.setText("spinKREDIT", "9");
    config.setSelected("rbVST2_2", true);
    return config;
}

} // namespace rtw::test
