#pragma once
// The Send and Read transfers: polling loops on the one thread that let pending events
// run between port calls. They know no toolkit: the window hands them its dialog, its
// event pump and its greeting timer through the interfaces below.
#include "config/DeviceConfig.h"
#include "config/MessageSink.h"
#include "link/Connection.h"
#include "protocol/ConfigImage.h"

#include <cstdint>
#include <functional>
#include <string_view>

namespace rtw {

// The shared flags of a transfer (`connected` lives in DeviceLink).
struct TransferFlags {
    bool stepDone = false;
    bool waitExpired = false;
    std::uint16_t currentAddress = 0;
};

// What a transfer needs of the window around it.
class TransferHost {
public:
    virtual ~TransferHost() = default;
    virtual void setMainWindowEnabled(bool enabled) = 0;
    // Lets pending events run (the dialog's Cancel, Timer1's tick, painting) and returns.
    virtual void processEvents() = 0;
    // Timer1: started for the greeting wait; after 2000 ms its tick sets waitExpired.
    virtual void startTimer1() = 0;
    virtual void stopTimer1() = 0;
};

// A progress dialog as a transfer drives it. Texts are CP1252. A dialog only shows; what
// its Cancel does and when it may close is the transfer's affair and the same for every
// dialog, so it is said here once.
class ProgressView {
public:
    // The shared state Cancel acts on and the window it enables again.
    ProgressView(DeviceLink& link, TransferFlags& flags, TransferHost& host)
        : m_link(link), m_flags(flags), m_host(host) {}
    virtual ~ProgressView() = default;
    ProgressView(const ProgressView&) = delete;
    ProgressView& operator=(const ProgressView&) = delete;

    virtual void show() = 0; // not modal
    virtual void hide() = 0;
    virtual void setCaption(std::string_view caption) = 0;
    virtual void setLabel(std::string_view text) = 0;
    virtual void setGaugeVisible(bool visible) = 0;
    virtual void setGaugeValue(int value) = 0; // the dialog clamps to 0..4080
    virtual void setCancelVisible(bool visible) = 0;

    // The Cancel action: clears connected, sets stepDone, hides the dialog and enables
    // the main window. It leaves the port alone: the waiting loop ends on stepDone and the
    // transfer disconnects itself.
    void btnCancelClick();
    // The close guard: a close request is refused while a connection is open.
    [[nodiscard]] bool FormCloseQuery() const;

private:
    DeviceLink& m_link;
    TransferFlags& m_flags;
    TransferHost& m_host;
};

struct TransferContext {
    DeviceLink& link;
    TransferFlags& flags;
    ProgressView& dialog;
    TransferHost& host;
    MessageSink& messages;
    // The PC's local date and time, read for each clock-block attempt.
    std::function<LocalDateTime()> clock = currentLocalDateTime;
};

enum class TransferResult {
    Invalid,      // the configuration cannot be sent; nothing was connected
    NotConnected, // Connect failed and said why
    WrongDevice,  // greeting missing, split or wrong ("Falsche USB-Gerät !")
    Cancelled,    // Cancel while waiting for the unit
    NoAnswer,     // the unit stopped answering or never reached the end, or the port failed
    Done,
};

// `btnSendClick`'s transfer: validates, connects, writes the 254 image blocks and the clock.
TransferResult btnSendClick(TransferContext& context, const DeviceConfig& config);
// `btnReadClick`'s transfer: reads the unit's memory into config. A failed or cancelled
// Read leaves config exactly as it was.
TransferResult btnReadClick(TransferContext& context, DeviceConfig& config);

} // namespace rtw
