#pragma once

#include "core/TableState.h"
#include "wire/MessageFrame.h"
#include "wire/ReceivedFrames.h"

namespace tessaroc::core {

struct CoreContext;
struct HiddenPictures;
struct TrickCode;

// ProcessMessage: the single entry of every frame the game server sends. The
// main loop's receive slot calls it once per frame, in arrival order, never
// re-entered. Every frame first gives up its echo bytes (the reconnect
// answer's mean nothing) and puts the play bubbles away; then the handler of
// its command runs, and only that one.
//
// Frames are untrusted: the handlers read them through the wire's decoders,
// which never fault, ignore seat bytes that name no seat and clamp every
// count to the tables it fills, so a hostile frame changes at most what a
// valid frame of its command may change.
class Dispatcher
{
public:
    explicit Dispatcher(CoreContext &context);
    virtual ~Dispatcher() = default;

    virtual void ProcessMessage(const wire::MessageFrame &message);

private:
    // One file per group of commands.
    void CmdDeal(const wire::MessageFrame &message); // DealCommand.cpp
    void CmdBidTurn(const wire::MessageFrame &message); // BidTurnCommand.cpp
    void CmdHandResult(const wire::MessageFrame &message); // HandResultCommand.cpp
    void CmdPlayed(const wire::MessageFrame &message); // PlayedCommand.cpp
    void CmdReadyOrLeave(const wire::MessageFrame &message); // ReadyOrLeaveCommand.cpp
    void CmdLogin(const wire::MessageFrame &message); // LoginAnswers.cpp
    void CmdReconnectAnswer(const wire::MessageFrame &message);
    void CmdUserInfo(const wire::MessageFrame &message); // UserInfoCommand.cpp
    void CmdUserLeft(const wire::MessageFrame &message); // SeatCommands.cpp
    void CmdForcedLeave(const wire::MessageFrame &message);
    void CmdReady(const wire::MessageFrame &message);
    void CmdChat(const wire::MessageFrame &message); // ItemRouting.cpp
    void ItemFrame(const wire::MessageFrame &message);

    void HandStart(const wire::DealFrame &deal);
    void BottomCards(const wire::DealFrame &deal);
    void AddOwnBottomCards(const wire::DealFrame &deal);
    void BecomesLandlord(int pos);
    // Hides card pictures of a seat's row through the table window.
    void HidePictures(int pos, const HiddenPictures &hidden);
    void OpenOwnTurn(const TrickCode &trick);
    void CoinsShort(const wire::ReadyOrLeaveNoticeFrame &notice);
    void OwnCoinsShort(const wire::ReadyOrLeaveNoticeFrame &notice);
    // The wealth label shows the smallest wealth of the seats, or goes.
    void ShowWealthOfSeats();
    // Ready marks of the three other seats all up before a hand started: the
    // table is cleared for the coming deal.
    void ClearWhenAllReady();

    CoreContext &c_;
};

// The display position of a seat byte: 0 the own seat, then 1 left, 2 top,
// 3 right; -1 when the byte names no seat.
int DisplayPos(const CoreContext &c, wire::SeatByte seat);

// Fills a player record from a user-information frame; extraByte keeps its
// value.
void ReadUserInfo(PlayerRecord &record, const wire::UserInfoFrame &info);

} // namespace tessaroc::core
