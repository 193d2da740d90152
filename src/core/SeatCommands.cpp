#include "core/ConnectionLoss.h"
#include "core/CoreContext.h"
#include "core/Dispatcher.h"
#include "core/Leave.h"
#include "core/Sleep.h"
#include "support/MinPositiveWealth.h"
#include "wire/ReceivedFrames.h"

#include <QTime>

namespace tessaroc::core {

namespace {

const QString kLeftTheGame = QStringLiteral("退出了游戏 ");
const QString kSpectatorEnds = QStringLiteral("有用户退出，旁观结束！");

constexpr float kForcedLeavePauseSeconds = 2.0f;

// "9:5:7": the time of day without leading zeros.
QString timeOfDay()
{
    const QTime now = QTime::currentTime();
    return QStringLiteral("%1:%2:%3").arg(now.hour()).arg(now.minute()).arg(now.second());
}

} // namespace

void Dispatcher::CmdUserLeft(const wire::MessageFrame &message)
{
    MainLoopState &loop = c_.loop();
    CoreState &core = c_.state.core;
    rules::CardRulesState &rules = c_.state.rules;
    const wire::UserLeftFrame left = wire::UserLeftFrame::decode(message);
    const std::string &name = left.account;

    c_.window.HideShuffleNotice(false);
    loop.shuffle.ShuffleWanted = false;
    loop.shuffle.ShuffleOn = false;
    c_.window.HideAdPanel();

    // An empty name is nobody's, not even the own seat's before it is set.
    if (!name.empty() && name == rules.ownHand().name) {
        c_.process.End(ExitCode::OwnAccountLeft);
        return;
    }

    for (int i = 1; i <= 3 && !name.empty(); ++i) {
        const auto at = static_cast<std::size_t>(i);
        if (rules.HandRecords[at].name != name)
            continue;
        loop.TableCleared = false;
        if (loop.PlayersPresent > 0)
            --loop.PlayersPresent;
        c_.window.EmptySeat(i);
        PlayerRecord &record = c_.state.commands.custom[at];
        c_.window.SetSystemLine(
                0, QString::fromStdString(record.nickname) + kLeftTheGame + timeOfDay());
        c_.window.SetSystemLine(1, QString());
        rules.HandRecords[at].name.clear();
        EmptySeatRecord(record);
        if (c_.state.gamedllstate > 0)
            c_.items.ClearUser(i);
        if (core.WealthDouble != 0)
            core.Wealth[at] = 0;
        ShowWealthOfSeats();
        c_.window.HideSeatVideo(i);
        c_.video.SeatLeft(i);
    }
    if (!name.empty())
        c_.video.DropPeer(QString::fromStdString(name));

    if (loop.DealArmed) {
        loop.DealArmed = false;
        core.ButtonDown[2] = false;
        rules.InGame = false;
        loop.TableCleared = false;
        if (!loop.line.Spectator) {
            loop.slots.arm(LoopSlot::ReadyClock);
            ClockState &clocks = loop.clocks;
            clocks.ClockSeconds = left.clockKind == 1 ? std::int16_t{10} : std::int16_t{12};
            if (core.TableHidden)
                clocks.ClockSeconds = 1;
            c_.window.ShowClockHere(clocks.ClockSeconds);
        }
    }
    if (!c_.timers.KeepAliveEnabled())
        c_.timers.StartKeepAlive();
    loop.DealArmed = true;

    if (loop.line.Spectator) {
        c_.process.MessageBox(kSpectatorEnds, QString());
        c_.process.End(ExitCode::SpectatorEnd);
    }
}

void Dispatcher::CmdForcedLeave(const wire::MessageFrame &message)
{
    MainLoopState &loop = c_.loop();
    CoreState &core = c_.state.core;
    const wire::ForcedLeaveFrame forced = wire::ForcedLeaveFrame::decode(message);

    c_.state.rules.InGame = false;
    if (!core.TableHidden)
        c_.settlement.ShowHero();
    SleepSeconds(c_.clock, kForcedLeavePauseSeconds);
    if (core.ResultPhase == 1)
        core.LeaveAfterSettlement = true;
    else if (c_.state.gamedllstate > 0)
        c_.items.ExitGameDll(0);
    c_.window.SetOtherExitText(QString::fromStdString(forced.text));
    c_.window.ShowOtherExit();
    loop.slots.disarm(LoopSlot::ReadyClock);
    loop.slots.disarm(LoopSlot::ConnWatch);
    c_.state.rules.InGame = false;
    loop.TableCleared = false;

    // The leave frame goes out while the socket still stands; then the table
    // is left as after a lost connection.
    CloseVideoAndLeave(c_);
    ConnectionLost(c_);
}

void Dispatcher::CmdReady(const wire::MessageFrame &message)
{
    const wire::ReadyFrame ready = wire::ReadyFrame::decode(message);
    if (ready.ready == 1 && !ready.account.empty()) {
        for (int i = 0; i < 4; ++i) {
            if (c_.state.rules.HandRecords[static_cast<std::size_t>(i)].name == ready.account
                && c_.window.NameShown(i))
                c_.window.ShowReadyMark(i);
        }
    }
    ClearWhenAllReady();
}

} // namespace tessaroc::core
