#include "core/CoreContext.h"
#include "core/Dispatcher.h"
#include "wire/ReceivedFrames.h"

#include <cstdio>

namespace tessaroc::core {

namespace {

const QString kConnected = QStringLiteral("连接服务器成功！");
const QString kWelcome = QStringLiteral("欢迎进入");
// The operator's site the welcome line names.
const QString kOperatorSite = QStringLiteral("play.tessaroc.example");
const QString kStartFailed = QStringLiteral("启动游戏失败，请重新在大厅就座后进入游戏！");
const QString kVerifyFailed = QStringLiteral("验证错误，请重新在大厅就座后进入游戏！");
const QString kReconnected = QStringLiteral("正在重连服务器，请等待...！");
const QString kReconnectRefused = QStringLiteral("重连服务器失败，退出后请重新入座！");

// The page the second web panel shows during a seat shuffle.
constexpr const char *kAdvertSuffix = ".gamead";
// Play time-outs before the client plays by itself.
constexpr std::int16_t kTimeoutLimit = 2;
// The turn length while the player let the table play automatically (F1).
constexpr std::int16_t kAutoTurnSeconds = 2;
constexpr int kRecStateServer = 3;

} // namespace

void Dispatcher::CmdLogin(const wire::MessageFrame &message)
{
    MainLoopState &loop = c_.loop();
    CoreState &core = c_.state.core;
    // A second answer on the same connection is no login: the table, the turn
    // length and the ad panel stay those of the first.
    if (loop.LoginAnswered) {
        std::fprintf(stderr, "tessaroc: a second login answer on this connection is ignored\n");
        return;
    }
    loop.LoginAnswered = true;
    const wire::LoginAnswerFrame answer = wire::LoginAnswerFrame::decode(message);

    c_.window.ClearTable();
    c_.timers.StartKeepAlive();
    // A login answer starts the table over, also when it answers a
    // reconnection whose hand the server has ended: what was collected or
    // held of that hand never completes.
    c_.settlement.DropResultFrames();
    c_.rings.HeldRecv.clear();
    loop.HeldFrames = {};
    loop.HoldCommand21 = false;
    loop.HandStarted = false;
    loop.DealArmed = true;
    core.TableHidden = false;
    loop.LoginSent = false;

    if (answer.result != wire::kLoginAccepted) {
        c_.hall.PostToHall(wire::kTableMsgConnecting);
        c_.window.SetSystemLine(
                0, answer.result == wire::kLoginFailedToStart ? kStartFailed : kVerifyFailed);
        if (c_.hall.RestoreHall())
            c_.process.End(ExitCode::LoginRefused);
        return;
    }

    loop.LoggedIn = true;
    c_.hall.PostToHall(wire::kTableMsgConnected);
    loop.clocks.TimeoutLimit = kTimeoutLimit;
    c_.window.SetSystemLine(0, kConnected);
    c_.window.SetSystemLine(1, kWelcome + kOperatorSite);
    loop.ReconnectAllowed = true;
    core.TurnSeconds
            = core.AutoModeKey ? kAutoTurnSeconds : static_cast<std::int16_t>(answer.turnSeconds);
    if (!answer.advertAddress.empty()) {
        c_.window.ShowWebPanel(QString::fromStdString(answer.advertAddress));
        loop.AdUrl = answer.advertAddress + kAdvertSuffix;
    }
}

void Dispatcher::CmdReconnectAnswer(const wire::MessageFrame &message)
{
    MainLoopState &loop = c_.loop();
    const wire::ReconnectAnswerFrame answer = wire::ReconnectAnswerFrame::decode(message);
    if (answer.result == 1) {
        loop.LoggedIn = true;
        loop.Reconnected = true;
        // The server sends again only the frames after the echoed one: the
        // result frames already collected are not among them and stay.
        // The request went out as the login frame does; it is answered now,
        // so the hall's close request must no longer hear "login under way".
        loop.LoginSent = false;
        c_.window.SetSystemLine(0, kReconnected);
        c_.window.SetSystemLine(1, QString());
        if (c_.state.gamedllstate > 0)
            c_.items.rec_state(kRecStateServer, true);
        return;
    }
    if (c_.state.gamedllstate > 0)
        c_.items.ExitGameDll(0);
    c_.process.MessageBox(kReconnectRefused, QString());
    if (c_.hall.RestoreHall())
        c_.process.End(ExitCode::ReconnectRefused);
}

} // namespace tessaroc::core
