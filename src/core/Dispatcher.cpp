#include "core/Dispatcher.h"

#include "core/CoreContext.h"
#include "rules/DisplayPos.h"

namespace tessaroc::core {

int DisplayPos(const CoreContext &c, wire::SeatByte seat)
{
    return seat.valid() ? rules::DisplayPos(seat.bit(), c.ownSeatBit()) : -1;
}

Dispatcher::Dispatcher(CoreContext &context)
    : c_(context)
{ }

void Dispatcher::ProcessMessage(const wire::MessageFrame &message)
{
    wire::KeepEchoBytes(c_.rings, message);
    for (int pos = 0; pos < 4; ++pos)
        c_.window.HideBubble(pos);

    switch (message.cmd()) {
    case wire::CmdDeal:
        CmdDeal(message);
        break;
    case wire::CmdBidTurn:
        CmdBidTurn(message);
        break;
    case wire::CmdPlayed:
        CmdPlayed(message);
        break;
    case wire::CmdHandResult:
        CmdHandResult(message);
        break;
    case wire::CmdReadyOrLeave:
        CmdReadyOrLeave(message);
        break;
    case wire::CmdLogin:
        CmdLogin(message);
        break;
    case wire::CmdChat:
        CmdChat(message);
        break;
    case wire::CmdUserInfo:
        CmdUserInfo(message);
        break;
    case wire::CmdUserLeft:
        CmdUserLeft(message);
        break;
    case wire::CmdForcedLeave:
        CmdForcedLeave(message);
        break;
    case wire::CmdReady:
        CmdReady(message);
        break;
    case wire::CmdReconnectAnswer:
        CmdReconnectAnswer(message);
        break;
    default:
        ItemFrame(message);
        break;
    }
}

} // namespace tessaroc::core
