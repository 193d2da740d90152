#include "core/ServerConnection.h"

#include "core/CoreContext.h"
#include "wire/Socks5.h"

namespace tessaroc::core {

void ConnectToServer(CoreContext &c, ConnectReason reason)
{
    MainLoopState &loop = c.loop();
    loop.LoginAnswered = false;
    switch (loop.line.ProxyType) {
    case wire::kProxyDirect:
        if (reason == ConnectReason::HallReconnect) {
            wire::ResetMsgRings(c.rings);
            if (c.socket.State() != services::ServerSocket::sckClosed)
                c.socket.Close();
        }
        c.socket.Connect(QString::fromStdString(loop.line.ServerHost), loop.line.ServerPort);
        c.timers.StartTimerBong();
        loop.slots.arm(LoopSlot::Login);
        break;
    case wire::kProxySocks5:
        loop.slots.disarm(LoopSlot::Login);
        if (c.socket.ConnectToSock5Server(loop.line)) {
            loop.LoginSent = true;
            loop.slots.arm(LoopSlot::ConnWatch);
        }
        break;
    default:
        break;
    }
}

void OnReceived(CoreContext &c)
{
    c.loop().slots.arm(LoopSlot::Receive);
}

void OnProxyConnected(CoreContext &c)
{
    c.hall.PostToHall(wire::kTableMsgConnected);
    c.window.SetSystemLine(
            0,
            QString::fromUtf8(wire::kSocks5ConnectedText.data(),
                              static_cast<qsizetype>(wire::kSocks5ConnectedText.size())));
    c.socket.SendData(c.loop().LoginFrame);
    c.timers.StartTimerBong();
}

void OnProxyFailed(CoreContext &c, const QString &message)
{
    c.process.MessageBox(message, QString());
}

void OnReceiveOverflow(CoreContext &c)
{
    if (c.hall.RestoreHall())
        c.process.End(ExitCode::ReceiveOverflow);
}

} // namespace tessaroc::core
