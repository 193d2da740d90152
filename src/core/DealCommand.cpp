#include "core/CoreContext.h"
#include "core/Dispatcher.h"
#include "core/HandEvents.h"
#include "rules/BitIndex.h"
#include "wire/ReceivedFrames.h"

namespace tessaroc::core {

void Dispatcher::CmdDeal(const wire::MessageFrame &message)
{
    c_.video.LoginVideoServer();
    c_.video.OpenLocalVideo();
    c_.video.ShowLocalVideo(c_.state.VideoOn, false);
    const wire::DealFrame deal = wire::DealFrame::decode(message);
    if (deal.isBottomCards())
        BottomCards(deal);
    else
        HandStart(deal);
}

void Dispatcher::HandStart(const wire::DealFrame &deal)
{
    MainLoopState &loop = c_.loop();
    CoreState &core = c_.state.core;
    CommandState &commands = c_.state.commands;

    // The item frames kept back after the last hand go out now.
    for (HeldFrame &held : loop.HeldFrames) {
        if (held.frame.cmd() != 0 && !held.armed) {
            wire::MessageFrame frame = held.frame;
            c_.SendMsg(frame);
            held.frame = {};
        }
    }
    loop.HoldCommand21 = false;
    loop.HandStarted = true;
    loop.shuffle.ShuffleNoticeArmed = false;
    loop.HeldFrames[1].armed = false;
    loop.clocks.HandActive = false;

    // Whatever its form, a hand start ends the last hand: results of it that
    // never made a whole set must not join this hand's.
    c_.settlement.DropResultFrames();
    const bool dealing = deal.form == wire::kDealHandStart;
    if (dealing)
        c_.window.ClearTable();

    loop.HallWnd = c_.hall.FindHall();
    if (loop.HallWnd)
        c_.hall.PostToHall(wire::kTableMsgHandStart);
    // A table minimised or maximised comes back to its normal size for the
    // new hand, unless the player hid it (F1).
    if (!c_.window.IsNormal() && !core.TableHidden) {
        c_.window.RestoreAndFocus();
        if (!c_.hall.MinimiseHall())
            return;
    }

    loop.DealArmed = true;
    commands.ResumeValue = deal.resumeValue;
    // No video link in this configuration: g_iChangeNum never rises.
    loop.g_iChangeNum = 0;

    loop.slots.disarm(LoopSlot::Stopwatch);
    c_.timers.StopKeepAlive();
    c_.window.CloseLeaveDialog();

    loop.slots.disarm(LoopSlot::ReadyClock);
    loop.slots.armKeepingCount(LoopSlot::ConnWatch);
    loop.slots.disarm(LoopSlot::PlayClock);
    core.ButtonDown[2] = true;
    commands.SortMode = -1;
    c_.state.rules.InGame = true;
    c_.window.HideReadyMarks();

    if (!dealing)
        return;

    if (c_.state.gamedllstate != 0)
        c_.items.ClearProps();
    const int landlord = DisplayPos(c_, deal.shownCardSeat);
    if (landlord >= 0)
        core.LandlordPos = static_cast<std::int16_t>(landlord);
    if (rules::isValidFace(deal.shownFace))
        commands.ShownCard = static_cast<std::int16_t>(
                16 * rules::BitIndex(static_cast<std::int16_t>(deal.shownSuitBit & 15))
                + deal.shownFace);

    commands.ShowCardDouble = deal.showCardDouble;
    c_.window.ShowShowCardDouble(deal.showCardDouble);
    if (core.WealthDouble != 0) {
        commands.WealthDoubleText = c_.window.WealthCaption().toStdString();
        c_.window.SetWealthShown(true);
    } else {
        c_.window.SetWealthShown(false);
    }

    c_.play.FaPai(ApplyDeal(c_.state, deal));
    c_.window.ShowSortButton();
}

void Dispatcher::BottomCards(const wire::DealFrame &deal)
{
    const int p = DisplayPos(c_, deal.seat);
    if (p < 0)
        return;
    c_.play.DiPaiAnimation(p);
    if (p != 0) {
        // The landlord's count and backs grow with its bid turn, not here.
        c_.loop().clocks.HandActive = false;
        c_.state.rules.InGame = true;
        c_.state.commands.LastTrickReady = true;
    } else {
        AddOwnBottomCards(deal);
    }
    c_.window.BringRoomStripToFront();
}

void Dispatcher::AddOwnBottomCards(const wire::DealFrame &deal)
{
    for (const rules::HandSlot &card : ApplyOwnBottomCards(c_.state, deal)) {
        c_.window.PlaceOwnBottomCard(card.picIndex);
        c_.play.ShowCardFace(0, card.picIndex, card.code);
    }
    c_.play.SortHandByFace(0, rules::kMaxHandCards);
}

} // namespace tessaroc::core
