// A whole Send and a whole Read against the emulated unit paced like the real line
// (9600 baud 8N1, the USB chip's latency timer) on the real clock, compared with the time
// the bytes alone need on the wire. What is left over is the latency timer's share and
// our own overhead.
#include "config/DeviceConfig.h"
#include "link/Connection.h"
#include "link/ForwardingApi.h"
#include "protocol/Transfers.h"
#include "sim/Clock.h"
#include "sim/EmulatedBackend.h"
#include "sim/EmulatedUnit.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using namespace rtw;
using SteadyTime = std::chrono::steady_clock;

constexpr double kBitsPerByte = 10.0; // start, 8 data, stop
constexpr double kSendWireBytes = 255.0 * (wire::kFrameSize + wire::kBlockSize);
constexpr double kReadWireBytes = 256.0 * (wire::kFrameSize + 1);

double wireSeconds(double bytes) {
    return bytes * kBitsPerByte / wire::kBaudRate;
}

class NullView final : public ProgressView {
public:
    using ProgressView::ProgressView;
    void show() override {}
    void hide() override {}
    void setCaption(std::string_view) override {}
    void setLabel(std::string_view) override {}
    void setGaugeVisible(bool) override {}
    void setGaugeValue(int) override {}
    void setCancelVisible(bool) override {}
};

class BenchHost final : public TransferHost {
public:
    explicit BenchHost(TransferFlags& flags) : m_flags(flags) {}
    void setMainWindowEnabled(bool) override {}
    void processEvents() override {
        if (m_running &&
            SteadyTime::now() - m_start >= std::chrono::milliseconds(wire::kGreetingWaitMs)) {
            m_flags.waitExpired = true;
        }
    }
    void startTimer1() override {
        m_running = true;
        m_start = SteadyTime::now();
    }
    void stopTimer1() override { m_running = false; }

private:
    TransferFlags& m_flags;
    bool m_running = false;
    SteadyTime::time_point m_start;
};

class StderrSink final : public MessageSink {
public:
    void showMessage(std::string_view text) override {
        std::fprintf(stderr, "message: %.*s\n", static_cast<int>(text.size()), text.data());
        failed = true;
    }
    bool failed = false;
};

// The chip keeps its factory latency timer: the PC's request to shorten it is not passed
// on, as with a driver that does not allow it.
class FixedLatency final : public link::ForwardingApi {
public:
    using ForwardingApi::ForwardingApi;
    ftdi::FT_STATUS FT_SetLatencyTimer(ftdi::FT_HANDLE, std::uint8_t) override {
        return ftdi::FT_OK;
    }
};

DeviceConfig benchConfig() {
    DeviceConfig config;
    for (int k = 1; k <= 64; ++k) {
        config.setText(entryField(ListId::POV1, k), "+42190500" + std::to_string(k));
    }
    config.setText(field::memoSMSV(1), std::string(127, 'x'));
    config.setText(field::spinCAS, "12");
    return config;
}

struct Figures {
    double seconds = 0;
    bool ok = false;
};

// Times a run on the clock the unit sleeps on: the real one, or a fake one whose time is
// what the line model alone takes (wire time, latency timer, the unit's greeting delay).
template <typename Run> Figures timed(const sim::Clock& clock, Run run) {
    const sim::Micros start = clock.now();
    const bool ok = run();
    return {std::chrono::duration<double>(clock.now() - start).count(), ok};
}

struct Pair {
    Figures send;
    Figures read;
    bool same = false;
};

Pair runBoth(sim::Clock& clock, int latencyMs) {
    sim::EmulatedUnit unit;
    sim::EmulatedBackend emulated(unit, clock, sim::Pacing::Paced);
    FixedLatency fixed(emulated);
    // Connect asks for 2 ms; the 16 ms case keeps the chip's default.
    ftdi::D2xxApi& api = latencyMs == wire::kLatencyTimerMs ? static_cast<ftdi::D2xxApi&>(emulated)
                                                            : static_cast<ftdi::D2xxApi&>(fixed);
    DeviceLink link(api);
    TransferFlags flags;
    BenchHost host(flags);
    NullView view(link, flags, host);
    StderrSink sink;
    TransferContext context{link, flags, view, host, sink};

    Pair result;
    const DeviceConfig sent = benchConfig();
    result.send = timed(clock, [&] { return btnSendClick(context, sent) == TransferResult::Done; });
    DeviceConfig received;
    result.read =
        timed(clock, [&] { return btnReadClick(context, received) == TransferResult::Done; });
    result.same = received.sameValues(sent) && !sink.failed;
    return result;
}

void report(const char* what, int latencyMs, const Figures& real, const Figures& model,
            double wire) {
    std::printf("%-4s latency %2d ms: %6.3f s  wire %5.2f s  ratio %.4f  model %6.3f s  "
                "ours %+.2f%%%s\n",
                what, latencyMs, real.seconds, wire, real.seconds / wire, model.seconds,
                (real.seconds / model.seconds - 1.0) * 100.0,
                real.ok && model.ok ? "" : "  FAILED");
}

} // namespace

int main() {
    std::printf("Whole transfers against the emulated unit at %d baud on the real clock.\n"
                "ratio: time / wire time; model: the line model's own time (wire, latency\n"
                "timer, greeting delay), from a fake clock; ours: time over the model.\n",
                wire::kBaudRate);
    bool ok = true;
    for (const int latency : {16, static_cast<int>(wire::kLatencyTimerMs)}) {
        sim::FakeClock fake;
        const Pair model = runBoth(fake, latency);
        sim::SteadyClock steady;
        const Pair real = runBoth(steady, latency);
        report("Send", latency, real.send, model.send, wireSeconds(kSendWireBytes));
        report("Read", latency, real.read, model.read, wireSeconds(kReadWireBytes));
        ok = ok && model.same && real.same;
    }
    return ok ? EXIT_SUCCESS : EXIT_FAILURE;
}
