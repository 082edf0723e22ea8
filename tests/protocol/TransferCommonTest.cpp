// What Send and Read share: Connect, the greeting wait, the handshake and Cancel.
#include "TransferFakes.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

namespace rtw::test {
namespace {

enum class Kind { Send, Read };

void PrintTo(Kind kind, std::ostream* out) {
    *out << (kind == Kind::Send ? "Send" : "Read");
}

struct KindRig : TransferRig {
    explicit KindRig(Kind k) : kind(k) {
        target.setText("editPOV1_1", "777");
        target.addObserver([this](const FieldChange&) { ++targetChanges; });
    }
    TransferResult run() { return kind == Kind::Send ? send(sendable) : read(target); }
    [[nodiscard]] std::string noAnswerText() const {
        return kind == Kind::Send ? cp("Das Wählgerät antwortet nicht. Die Konfiguration "
                                       "wurde nicht vollständig gesendet!")
                                  : cp("Das Wählgerät antwortet nicht. Die Konfiguration "
                                       "wurde nicht gelesen!");
    }
    // A Read that did not complete must not have touched the configuration at all.
    void expectTargetUntouched() const {
        EXPECT_EQ(targetChanges, 0);
        EXPECT_EQ(target.text("editPOV1_1"), "777");
    }

    Kind kind;
    DeviceConfig sendable = sampleConfig();
    DeviceConfig target;
    int targetChanges = 0;
};

class BothTransfers : public ::testing::TestWithParam<Kind> {
protected:
    KindRig rig{GetParam()};
};

std::string kindName(const ::testing::TestParamInfo<Kind>& info) {
    return info.param == Kind::Send ? "Send" : "Read";
}

INSTANTIATE_TEST_SUITE_P(Transfers, BothTransfers, ::testing::Values(Kind::Send, Kind::Read),
                         kindName);

struct ConnectCase {
    const char* name;
    std::function<void(sim::Faults&)> fault;
    const char* message; // UTF-8
};

TEST_P(BothTransfers, ConnectFailureShowsOnlyConnectsMessage) {
    const ConnectCase cases[] = {
        {"no unit", [](sim::Faults& f) { f.noDevice = true; }, "Nicht verbunden Wählgerät!"},
        {"other chip", [](sim::Faults& f) { f.deviceType = ftdi::FT_DEVICE_BM; },
         "Falsche USB-Gerät !"},
        {"no device info", [](sim::Faults& f) { f.deviceInfoFails = true; },
         "Beschädigt Schaltungen !"},
        // The presence test is the first open, so the second is the one that fails.
        {"cannot open", [](sim::Faults& f) { f.openFailsFrom = 2; }, "Verbindung vergeblich !"},
    };
    for (const ConnectCase& c : cases) {
        SCOPED_TRACE(c.name);
        KindRig r(GetParam());
        c.fault(r.backend.faults());
        EXPECT_EQ(r.run(), TransferResult::NotConnected);
        // Neither the dialog nor the window was touched: the message is all that happened.
        EXPECT_EQ(r.log, EventLog{"message " + std::string(c.message)});
        EXPECT_TRUE(r.endedClean());
        r.expectTargetUntouched();
    }
}

TEST_P(BothTransfers, FailedResetIsReportedAndTheTransferGoesOn) {
    rig.backend.faults().resetFails = true;
    EXPECT_EQ(rig.run(), TransferResult::Done);
    ASSERT_FALSE(rig.log.empty());
    EXPECT_EQ(rig.log.front(), "message reset error?"); // before the dialog opens
    EXPECT_EQ(rig.messages.shown.size(), 1U);
    EXPECT_TRUE(rig.endedClean());
}

struct GreetingCase {
    const char* name;
    std::function<void(sim::Faults&)> fault;
};

TEST_P(BothTransfers, MissingWrongOrSplitGreetingIsTheWrongDevice) {
    const GreetingCase cases[] = {
        {"none", [](sim::Faults& f) { f.noGreeting = true; }},
        {"seven bytes then silence", [](sim::Faults& f) { f.greeting = "RTW53ze"; }},
        {"wrong text", [](sim::Faults& f) { f.greeting = "RTW53zeX"; }},
        {"split over two reads", [](sim::Faults& f) { f.splitGreeting = true; }},
        {"after the wait", [](sim::Faults& f) { f.lateGreeting = 2600ms; }},
    };
    for (const GreetingCase& c : cases) {
        SCOPED_TRACE(c.name);
        KindRig r(GetParam());
        c.fault(r.backend.faults());
        EXPECT_EQ(r.run(), TransferResult::WrongDevice);
        ASSERT_EQ(r.messages.shown.size(), 1U);
        const ShownMessage& m = r.messages.shown[0];
        EXPECT_EQ(m.text, cp("Falsche USB-Gerät !"));
        // The dialog's Cancel action ran (dialog hidden, window enabled), then the end of the
        // transfer closed the port and did both again, then the message came.
        EXPECT_FALSE(m.portHeld);
        EXPECT_FALSE(m.dialogVisible);
        EXPECT_TRUE(m.mainEnabled);
        const EventLog ending = {"timer stopped", "hide",           "window enabled",
                                 "hide",          "window enabled", "message Falsche USB-Gerät !"};
        ASSERT_GE(r.log.size(), ending.size());
        EXPECT_EQ(EventLog(r.log.end() - static_cast<std::ptrdiff_t>(ending.size()), r.log.end()),
                  ending);
        EXPECT_FALSE(r.link.connected);
        EXPECT_TRUE(r.flags.stepDone) << "set by Cancel; nothing clears it afterwards";
        EXPECT_TRUE(r.endedClean());
        EXPECT_EQ(r.unit.stats().handshakeAnswers, 0);
        // Bounded by Timer1 and one more read time-out.
        EXPECT_LE(r.elapsed(), 2000ms + 2 * 500ms);
        r.expectTargetUntouched();
    }
}

TEST_P(BothTransfers, GreetingLateButWithinTheWaitIsAccepted) {
    rig.backend.faults().lateGreeting = 1900ms;
    EXPECT_EQ(rig.run(), TransferResult::Done);
    EXPECT_TRUE(rig.messages.shown.empty());
}

TEST_P(BothTransfers, EachTransferWaitsTheFullTimeForItsGreeting) {
    rig.backend.faults().noGreeting = true;
    ASSERT_EQ(rig.run(), TransferResult::WrongDevice);
    EXPECT_FALSE(rig.host.timerRunning);

    rig.backend.faults() = {};
    rig.backend.faults().lateGreeting = 1900ms;
    EXPECT_EQ(rig.run(), TransferResult::Done);
    EXPECT_EQ(rig.host.timerStarts, 2);
    EXPECT_EQ(rig.messages.shown.size(), 1U);
}

TEST(CancelAction, ClearsConnectedSetsStepDoneHidesAndEnablesInThatOrder) {
    TransferRig rig;
    Connect(rig.link, rig.messages);
    ASSERT_TRUE(rig.link.connected);
    rig.flags.stepDone = false;
    rig.view.show();
    rig.host.setMainWindowEnabled(false);
    EXPECT_FALSE(rig.view.FormCloseQuery()) << "no closing while connected";
    rig.log.clear();
    rig.flags.currentAddress = 0x0120;

    rig.view.btnCancelClick();
    EXPECT_FALSE(rig.link.connected);
    EXPECT_TRUE(rig.flags.stepDone);
    EXPECT_FALSE(rig.view.visible);
    EXPECT_TRUE(rig.host.mainEnabled);
    EXPECT_EQ(rig.log, (EventLog{"hide", "window enabled"}));
    EXPECT_EQ(rig.flags.currentAddress, 0x0120) << "nothing else is touched";
    EXPECT_FALSE(rig.flags.waitExpired);
    EXPECT_TRUE(rig.view.FormCloseQuery());
    EXPECT_TRUE(rig.link.devicePort && rig.backend.isOpen()) << "the port is the transfer's";
    Disconnect(rig.link);
    EXPECT_FALSE(rig.backend.isOpen());
}

TEST_P(BothTransfers, CancelWhileWaitingForTheGreetingIsTheWrongDevice) {
    rig.backend.faults().lateGreeting = 1500ms;
    rig.host.onPump = [this] {
        if (rig.host.pumps == 2) {
            rig.view.clickCancel();
        }
    };
    EXPECT_EQ(rig.run(), TransferResult::WrongDevice);
    ASSERT_EQ(rig.messages.shown.size(), 1U);
    EXPECT_EQ(rig.messages.shown[0].text, cp("Falsche USB-Gerät !"));
    EXPECT_FALSE(rig.messages.shown[0].portHeld);
    EXPECT_TRUE(rig.endedClean());
    EXPECT_LT(rig.elapsed(), 1500ms);
    rig.expectTargetUntouched();
}

TEST_P(BothTransfers, CancelDuringTheHandshakeEndsWithoutAMessage) {
    rig.backend.faults().wrongHandshakeAnswers = 1'000'000;
    rig.host.onPump = [this] {
        if (rig.unit.stats().handshakeAnswers == 3) {
            rig.view.clickCancel();
        }
    };
    EXPECT_EQ(rig.run(), TransferResult::Cancelled);
    EXPECT_TRUE(rig.messages.shown.empty());
    EXPECT_TRUE(rig.endedClean());
    // The attempt under way when Cancel came is finished, then the loop sees it.
    EXPECT_EQ(rig.unit.stats().handshakeAnswers, 4);
    EXPECT_EQ(rig.unit.stats().framesReceived, 0);
    EXPECT_EQ(rig.unit.stats().acksReceived, 0);
    rig.expectTargetUntouched();
}

TEST_P(BothTransfers, WrongOrShortHandshakeAnswersAreAskedAgain) {
    rig.backend.faults().wrongHandshakeAnswers = 2;
    rig.backend.faults().shortHandshakeAnswers = 2;
    EXPECT_EQ(rig.run(), TransferResult::Done);
    EXPECT_EQ(rig.unit.stats().handshakeAnswers, 5);
    EXPECT_TRUE(rig.messages.shown.empty());
}

struct UnplugCase {
    const char* name;
    int atPump; // 1: the greeting wait, 2: the handshake, later: moving blocks
    TransferResult result;
};

TEST_P(BothTransfers, UnpluggedPortEndsAtOnce) {
    const UnplugCase cases[] = {
        {"greeting", 1, TransferResult::WrongDevice},
        {"handshake", 2, TransferResult::NoAnswer},
        {"blocks", 60, TransferResult::NoAnswer},
    };
    for (const UnplugCase& c : cases) {
        SCOPED_TRACE(c.name);
        KindRig r(GetParam());
        int operationsAtUnplug = 0;
        sim::Micros timeAtUnplug{0};
        r.host.onPump = [&] {
            if (r.host.pumps == c.atPump) {
                operationsAtUnplug = r.backend.operationCount();
                timeAtUnplug = r.clock.now();
                r.backend.faults().unplugAfterOperations = operationsAtUnplug;
            }
        };
        EXPECT_EQ(r.run(), c.result);
        ASSERT_EQ(r.messages.shown.size(), 1U);
        EXPECT_EQ(r.messages.shown[0].text, c.result == TransferResult::WrongDevice
                                                ? cp("Falsche USB-Gerät !")
                                                : r.noAnswerText());
        EXPECT_FALSE(r.messages.shown[0].portHeld);
        EXPECT_TRUE(r.endedClean());
        // One failing call and the close: no attempt is waited out.
        EXPECT_LE(r.backend.operationCount() - operationsAtUnplug, 3);
        EXPECT_EQ(r.clock.now(), timeAtUnplug);
        r.expectTargetUntouched();
    }
}

} // namespace
} // namespace rtw::test
