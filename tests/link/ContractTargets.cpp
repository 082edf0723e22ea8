#include "FakeFtdi.h"
#include "LinkUnderTest.h"
#include "PseudoTerminal.h"
#include "RecordingD2xx.h"
#include "Standin.h"
#include "link/LibFtdi.h"
#include "link/PosixSerial.h"
#include "link/VendorLibrary.h"
#include "sim/Clock.h"
#include "sim/EmulatedBackend.h"
#include "sim/EmulatedUnit.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace rtw::test {
namespace {

class FakeTarget final : public LinkUnderTest {
public:
    ftdi::D2xxApi& api() override { return m_chip; }
    void unitSends(const std::vector<std::uint8_t>& bytes) override {
        m_chip.toPc.insert(m_chip.toPc.end(), bytes.begin(), bytes.end());
    }
    std::vector<std::uint8_t> unitReceived() override { return std::exchange(m_chip.fromPc, {}); }

private:
    RecordingD2xx m_chip;
};

class PtyTarget final : public LinkUnderTest {
public:
    ftdi::D2xxApi& api() override { return m_serial; }
    void unitSends(const std::vector<std::uint8_t>& bytes) override { m_unit.send(bytes); }
    std::vector<std::uint8_t> unitReceived() override { return m_unit.receive(1 << 16); }

private:
    PseudoTerminal m_unit;
    link::PosixSerial m_serial{link::SerialOptions{m_unit.slavePath()}};
};

class StandinTarget final : public LinkUnderTest {
public:
    StandinTarget() : m_library(link::VendorLibrary::load(RTW_STANDIN_PATH)) {
        if (!m_library || !m_standin.ready()) {
            throw std::runtime_error("stand-in library missing");
        }
        m_standin.reset();
    }
    ftdi::D2xxApi& api() override { return *m_library; }
    void unitSends(const std::vector<std::uint8_t>& bytes) override {
        m_standin.deliver(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    }
    std::vector<std::uint8_t> unitReceived() override {
        std::vector<std::uint8_t> bytes(1 << 16);
        bytes.resize(m_standin.take(bytes.data(), static_cast<std::uint32_t>(bytes.size())));
        return bytes;
    }

private:
    Standin m_standin{RTW_STANDIN_PATH};
    std::unique_ptr<link::VendorLibrary> m_library;
};

class LibFtdiTarget final : public LinkUnderTest {
public:
    ftdi::D2xxApi& api() override { return m_library; }
    // The chip hands bytes over in USB packets of at most 62 data bytes.
    void unitSends(const std::vector<std::uint8_t>& bytes) override {
        for (std::size_t at = 0; at < bytes.size(); at += 62) {
            const auto end =
                bytes.begin() + static_cast<std::ptrdiff_t>(std::min(at + 62, bytes.size()));
            m_bus.arrive(
                std::vector<std::uint8_t>(bytes.begin() + static_cast<std::ptrdiff_t>(at), end));
        }
    }
    std::vector<std::uint8_t> unitReceived() override { return std::exchange(m_bus.written, {}); }

private:
    FakeUsbBus m_bus;
    link::LibFtdi m_library{m_bus.factory(), m_bus.clock()};
};

// Instant pacing keeps every byte the unit sends waiting at once, while the machine's clock
// lets the read time-out run in real milliseconds, as on the other backends. The unit
// neither greets nor answers, so nothing the suite writes starts a transfer.
class EmulatedTarget final : public LinkUnderTest {
public:
    EmulatedTarget() {
        m_unit.faults().noGreeting = true;
        m_unit.faults().stopAnsweringAfter = 0;
    }
    ftdi::D2xxApi& api() override { return m_backend; }
    void unitSends(const std::vector<std::uint8_t>& bytes) override {
        m_unit.sendRaw(bytes, sim::Nanos{m_clock.now()});
    }
    std::vector<std::uint8_t> unitReceived() override {
        m_backend.runLineToNow();
        return m_unit.takeReceivedBytes();
    }

private:
    sim::SteadyClock m_clock;
    sim::EmulatedUnit m_unit;
    sim::EmulatedBackend m_backend{m_unit, m_clock, sim::Pacing::Instant};
};

template <typename Target> ContractTarget target(const char* name) {
    return ContractTarget{name, [] { return std::make_unique<Target>(); }};
}

} // namespace

std::vector<ContractTarget> contractTargets() {
    return {
        target<FakeTarget>("RecordingFake"),           target<PtyTarget>("PosixSerialOnPty"),
        target<StandinTarget>("VendorLibraryStandin"), target<LibFtdiTarget>("LibFtdiOverFake"),
        target<EmulatedTarget>("EmulatedUnit"),
    };
}

} // namespace rtw::test
