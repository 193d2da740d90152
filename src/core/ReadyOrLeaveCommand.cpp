#include "core/ConnectionLoss.h"
#include "core/CoreContext.h"
#include "core/Dispatcher.h"
#include "core/Leave.h"
#include "wire/ReceivedFrames.h"

namespace tessaroc::core {

namespace {

const QString kShortOfCoinsBefore = QStringLiteral("玩家");
const QString kShortOfCoinsAfter = QStringLiteral("金币不够，退出游戏！");
const QString kChangeRoom = QStringLiteral("您的金币不够，请更换房间或充值后继续游戏！");
const QString kCollectAllowance = QStringLiteral("您的金币不够，请领取低保或充值后继续游戏！");
const QString kSpectatorEnds = QStringLiteral("有用户退出，旁观结束！");

} // namespace

void Dispatcher::CmdReadyOrLeave(const wire::MessageFrame &message)
{
    const wire::ReadyOrLeaveNoticeFrame notice = wire::ReadyOrLeaveNoticeFrame::decode(message);
    if (notice.isCoinsShort()) {
        CoinsShort(notice);
        return;
    }
    if (!notice.isEndOfHand())
        return;

    MainLoopState &loop = c_.loop();
    ShuffleState &shuffle = loop.shuffle;
    // Once per hand: the ready clock and the shuffle notice are laid out for
    // the next hand.
    if (loop.DealArmed) {
        loop.DealArmed = false;
        if (!loop.line.Spectator) {
            if (notice.flags == 1)
                shuffle.ShuffleNoticeArmed = true;
            c_.window.PlaceReadyClockAndShuffle();
            shuffle.ShuffleWanted = true;
            if (notice.shufflingNow == 1) {
                c_.window.ShowSeatShuffle(QString::fromStdString(shuffle.ShuffleCaptions[0]),
                                          QString::fromStdString(loop.AdUrl));
                shuffle.ShuffleOn = true;
                shuffle.ShuffleIndex = 0;
            }
        }
    }
    c_.state.core.WealthDouble = notice.wealthMultiplier;
    if (notice.wealthMultiplier == 0)
        c_.window.HideWealth();
    else
        c_.window.ShowWealth(notice.wealthMultiplier);
}

void Dispatcher::CoinsShort(const wire::ReadyOrLeaveNoticeFrame &notice)
{
    MainLoopState &loop = c_.loop();
    c_.window.HideShuffleNotice(false);
    loop.shuffle.ShuffleWanted = false;
    loop.shuffle.ShuffleOn = false;
    c_.window.HideAdPanel();

    for (const std::uint8_t bit : {1, 2, 4, 8}) {
        if ((notice.shortSeats & bit) == 0)
            continue;
        const int p = DisplayPos(c_, wire::SeatByte{bit});
        const std::string &nickname
                = c_.state.commands.custom[static_cast<std::size_t>(p)].nickname;
        c_.window.SetSystemLine(
                0, kShortOfCoinsBefore + QString::fromStdString(nickname) + kShortOfCoinsAfter);
        loop.TableCleared = false;
        c_.state.rules.InGame = false;
        if (p == 0)
            OwnCoinsShort(notice);
    }

    if (loop.line.Spectator) {
        c_.process.MessageBox(kSpectatorEnds, QString());
        c_.process.End(ExitCode::SpectatorEnd);
    }
}

void Dispatcher::OwnCoinsShort(const wire::ReadyOrLeaveNoticeFrame &notice)
{
    MainLoopState &loop = c_.loop();
    CoreState &core = c_.state.core;

    c_.settlement.ShowScoreWindow();
    const bool changeRoom = (notice.flags & c_.ownSeatBit()) != 0;
    c_.window.SetOtherExitText(changeRoom ? kChangeRoom : kCollectAllowance);
    if (!c_.window.IsMinimised())
        c_.window.ShowOtherExit();

    for (int i = 1; i <= 3; ++i) {
        rules::HandRecord &hand = c_.state.rules.HandRecords[static_cast<std::size_t>(i)];
        if (hand.name.empty())
            continue;
        PlayerRecord &record = c_.state.commands.custom[static_cast<std::size_t>(i)];
        record.extraText2.clear();
        loop.TableCleared = false;
        c_.window.EmptySeat(i);
        c_.settlement.EmptySeat(i);
        c_.window.SetSystemLine(0, QString());
        hand.name.clear();
        EmptySeatRecord(record);
        if (c_.state.gamedllstate > 0)
            c_.items.ClearUser(i);
    }

    if (c_.timers.KeepAliveEnabled())
        c_.timers.StopKeepAlive();
    loop.slots.disarm(LoopSlot::ReadyClock);
    loop.slots.disarm(LoopSlot::ConnWatch);
    c_.state.rules.InGame = false;
    loop.TableCleared = false;

    // The socket is closed first, so no leave frame goes out.
    ConnectionLost(c_);
    CloseVideoAndLeave(c_);
    if (core.ResultPhase == 1)
        core.LeaveAfterSettlement = true;
    else if (c_.state.gamedllstate > 0)
        c_.items.ExitGameDll(0);
}

} // namespace tessaroc::core
