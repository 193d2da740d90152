#pragma once

#include "wire/MessageFrame.h"

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <optional>

namespace tessaroc::core {

struct CoreContext;
namespace services {
class ReconnectView;
}

// One reconnection attempt: LoginFrame turned into the reconnection request
// (with the echo bytes and the resume value of this moment), both rings
// emptied, and a new connection, direct or through the proxy. The request
// goes out as the login frame always does once the socket stands.
void ReconnectServer(CoreContext &c, wire::MessageFrame &frame);

// The reconnection that follows a socket lost after an accepted login. The
// connection watch loads it; from then on it runs by itself: every 3 seconds
// of a hand in progress one attempt, until the socket stands again, and after
// 21 attempts it gives up, resets the table and tells the player to go back
// through the hall. Its two timers run on the injected clock; poll() fires
// those that are due (the program polls every few milliseconds, tests after
// moving the clock).
class Reconnection : public QObject
{
    Q_OBJECT

public:
    static constexpr std::int64_t kCountdownStepMs = 1;
    static constexpr std::int64_t kAttemptSpacingMs = 3000;
    static constexpr std::int16_t kMostTries = 21;

    Reconnection(CoreContext &c, services::ReconnectView &view, QObject *parent = nullptr);

    // The dialog loads: tries and countdown start afresh, whatever an earlier
    // loss left behind.
    void Form_Load();
    bool Loaded() const { return loaded_; }

    void poll();
    void TimerReconnect_Timer();
    void TimerCount_Timer();
    void pbReconnect_Click();
    void pbCancel_Click();

    bool TimerReconnectEnabled() const { return reconnectDue_.has_value(); }
    bool TimerCountEnabled() const { return countDue_.has_value(); }

private:
    void startCount();
    void stopCount() { countDue_.reset(); }
    void showCountdown();
    // The table reset and the hall restored; false when the hall is gone
    // and the program ends.
    bool leaveToHall();
    void unload();
    void updatePump();

    CoreContext &c_;
    services::ReconnectView &view_;
    bool loaded_ = false;
    // When each timer fires next on the clock; none while it is off.
    std::optional<std::int64_t> reconnectDue_;
    std::optional<std::int64_t> countDue_;
    QTimer pump_;
};

} // namespace tessaroc::core
