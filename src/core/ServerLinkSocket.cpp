#include "core/ServerLinkSocket.h"

#include "core/CoreContext.h"
#include "core/ServerConnection.h"
#include "platform/ServerLink.h"

namespace tessaroc::core {

ServerLinkSocket::ServerLinkSocket(platform::ServerLink &link, CoreContext &context,
                                   QObject *parent)
    : QObject(parent)
    , link_(link)
    , c_(context)
{
    connect(&link_, &platform::ServerLink::received, this, [this] { OnReceived(c_); });
    connect(&link_, &platform::ServerLink::proxyConnected, this, [this] { OnProxyConnected(c_); });
    connect(&link_, &platform::ServerLink::proxyFailed, this,
            [this](const QString &message) { OnProxyFailed(c_, message); });
    connect(&link_, &platform::ServerLink::receiveOverflow, this,
            [this] { OnReceiveOverflow(c_); });
}

int ServerLinkSocket::State() const
{
    return link_.Winsock1().State();
}

bool ServerLinkSocket::SendData(const wire::MessageFrame &frame)
{
    return link_.Winsock1().SendData(std::span<const std::uint8_t>(frame.bytes()));
}

void ServerLinkSocket::Close()
{
    link_.Winsock1().Close();
}

void ServerLinkSocket::Connect(const QString &host, quint16 port)
{
    platform::WinsockControl &socket = link_.Winsock1();
    socket.setRemoteHost(host);
    socket.setRemotePort(port);
    socket.Connect();
}

bool ServerLinkSocket::ConnectToSock5Server(const wire::CommandLine &line)
{
    const wire::Socks5Target target{line.ProxyUser, line.ProxyPassword, line.ServerHost,
                                    line.ServerPort};
    return link_.ConnectToSock5Server(QString::fromStdString(line.ProxyHost), line.ProxyPort,
                                      target);
}

} // namespace tessaroc::core
