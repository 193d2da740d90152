#include "core/Reconnect.h"

#include "core/CoreContext.h"
#include "core/Leave.h"
#include "core/ServerConnection.h"
#include "core/TableReset.h"
#include "core/services/ReconnectView.h"
#include "wire/SentFrames.h"

namespace tessaroc::core {

namespace {

const QString kReconnecting = QStringLiteral("正在重新连接服务器...");
const QString kCountdownSuffix = QStringLiteral(" 秒后自动重连");
const QString kGivenUp = QStringLiteral("网络已断开,请退出大厅重新登陆游戏");

// How often the program looks at the two timers, in real milliseconds.
constexpr int kPumpIntervalMs = 10;

} // namespace

void ReconnectServer(CoreContext &c, wire::MessageFrame &frame)
{
    c.window.SetSystemLine(1, QString());
    c.window.SetSystemLine(0, kReconnecting);

    wire::LoginFrame::stampReconnect(frame, c.rings.EchoBytes, c.state.commands.ResumeValue);

    c.rings.RingMode = true;
    c.socket.Close();
    // Both ways empty both rings: a frame half received from the broken
    // connection must not shift the new connection's frames, and nothing
    // queued for the old one is sent on the new. The frames held back for
    // the hand stay, as the hand does.
    ConnectToServer(c, ConnectReason::HallReconnect);
}

Reconnection::Reconnection(CoreContext &c, services::ReconnectView &view, QObject *parent)
    : QObject(parent)
    , c_(c)
    , view_(view)
{
    pump_.setInterval(kPumpIntervalMs);
    connect(&pump_, &QTimer::timeout, this, &Reconnection::poll);
}

void Reconnection::Form_Load()
{
    view_.Load();
    loaded_ = true;
    // The hand goes on after the reconnection: the result frames collected
    // so far, the held frames and the hold stay, since the server sends
    // again only what the client had not yet read.
    c_.state.core.ReconnectTries = 0;
    c_.state.core.ReconnectCountdown = 0;
    showCountdown();
    reconnectDue_ = c_.clock.nowMs() + kCountdownStepMs;
    stopCount();
    updatePump();
}

void Reconnection::poll()
{
    const std::int64_t now = c_.clock.nowMs();
    if (reconnectDue_ && now >= *reconnectDue_) {
        reconnectDue_ = now + kCountdownStepMs;
        TimerReconnect_Timer();
    }
    if (countDue_ && now >= *countDue_) {
        countDue_ = now + kAttemptSpacingMs;
        TimerCount_Timer();
    }
    updatePump();
}

void Reconnection::TimerReconnect_Timer()
{
    std::int16_t &countdown = c_.state.core.ReconnectCountdown;
    --countdown;
    showCountdown();
    if (countdown >= 1)
        return;
    reconnectDue_.reset();
    countdown = 0;
    showCountdown();
    startCount();
    view_.Hide();
}

void Reconnection::TimerCount_Timer()
{
    CoreState &core = c_.state.core;
    if (c_.socket.State() == services::ServerSocket::sckConnected) {
        stopCount();
        unload();
        return;
    }
    if (core.ReconnectTries >= kMostTries) {
        if (c_.state.gamedllstate > 0)
            c_.items.ExitGameDll(0);
        stopCount();
        if (!leaveToHall())
            return;
        c_.window.SetOtherExitText(kGivenUp);
        c_.window.ShowOtherExit();
        return;
    }
    if (!c_.state.rules.InGame) {
        // No hand to go back to: the hall's reconnect request still can.
        stopCount();
        return;
    }
    ++core.ReconnectTries;
    ReconnectServer(c_, c_.loop().LoginFrame);
}

void Reconnection::pbReconnect_Click()
{
    reconnectDue_.reset();
    c_.state.core.ReconnectCountdown = 0;
    showCountdown();
    startCount();
    view_.Hide();
    updatePump();
}

void Reconnection::pbCancel_Click()
{
    if (c_.socket.State() != services::ServerSocket::sckConnected && !leaveToHall())
        return;
    unload();
}

void Reconnection::startCount()
{
    countDue_ = c_.clock.nowMs() + kAttemptSpacingMs;
}

void Reconnection::showCountdown()
{
    view_.SetCountdownText(QString::number(c_.state.core.ReconnectCountdown) + kCountdownSuffix);
}

bool Reconnection::leaveToHall()
{
    // Another way out already runs and ends at the hall.
    const LeaveScope leave(c_);
    if (!leave.entered())
        return true;
    c_.window.Minimise();
    if (!c_.hall.RestoreHall())
        return false;
    c_.loop().TableCleared = false;
    ResetTable(c_);
    rules::ClearHands(c_.state.rules);
    c_.window.ClearTable();
    return true;
}

void Reconnection::unload()
{
    reconnectDue_.reset();
    countDue_.reset();
    loaded_ = false;
    view_.Unload();
    updatePump();
}

void Reconnection::updatePump()
{
    if (reconnectDue_ || countDue_) {
        if (!pump_.isActive())
            pump_.start();
    } else {
        pump_.stop();
    }
}

} // namespace tessaroc::core
