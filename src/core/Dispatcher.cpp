#include "core/Dispatcher.h"

#include "core/CoreContext.h"

namespace tessaroc::core {

Dispatcher::Dispatcher(CoreContext &context)
    : c_(context)
{ }

void Dispatcher::ProcessMessage(const wire::MessageFrame &message)
{
    if (message.cmd() != wire::CmdReconnectAnswer)
        wire::KeepEchoBytes(c_.rings, message);
    for (int pos = 0; pos < 4; ++pos)
        c_.window.HideBubble(pos);

    switch (message.cmd()) {
    case wire::CmdLogin:
        LoginAnswer(message);
        break;
    case wire::CmdDeal:
        if (message.byteAt(wire::offset::kArg11) != 8)
            HandStart(message);
        break;
    case wire::CmdUserLeft:
        UserLeft(message);
        break;
    default:
        break;
    }
}

void Dispatcher::LoginAnswer(const wire::MessageFrame &message)
{
    MainLoopState &loop = c_.loop();
    c_.window.ClearTable();
    c_.timers.StartKeepAlive();
    loop.HeldFrames = {};
    loop.HoldCommand21 = false;
    loop.HandStarted = false;
    loop.DealArmed = true;
    c_.state.core.TableHidden = false;
    loop.LoginSent = false;

    if (message.byteAt(wire::offset::kArg15) != 1) {
        c_.hall.PostToHall(wire::kTableMsgConnecting);
        c_.window.SetSystemLine(
                0,
                message.byteAt(wire::offset::kArg15) == 2
                        ? QStringLiteral("启动游戏失败，请重新在大厅就座后进入游戏！")
                        : QStringLiteral("验证错误，请重新在大厅就座后进入游戏！"));
        if (c_.hall.RestoreHall())
            c_.process.End(ExitCode::LoginRefused);
        return;
    }
    loop.LoggedIn = true;
    c_.hall.PostToHall(wire::kTableMsgConnected);
    loop.clocks.TimeoutLimit = 2;
    c_.window.SetSystemLine(0, QStringLiteral("连接服务器成功！"));
    c_.window.SetSystemLine(1, QString());
    loop.ReconnectAllowed = true;
    c_.state.core.TurnSeconds = c_.state.core.AutoModeKey
            ? std::int16_t{2}
            : static_cast<std::int16_t>(message.byteAt(wire::offset::kArg11));
}

void Dispatcher::HandStart(const wire::MessageFrame &)
{
    MainLoopState &loop = c_.loop();
    c_.timers.StopKeepAlive();
    c_.state.rules.InGame = true;
    loop.HandStarted = true;
    loop.HoldCommand21 = false;
    c_.hall.PostToHall(wire::kTableMsgHandStart);
}

void Dispatcher::UserLeft(const wire::MessageFrame &)
{
    if (!c_.timers.KeepAliveEnabled())
        c_.timers.StartKeepAlive();
    c_.loop().DealArmed = true;
}

} // namespace tessaroc::core
