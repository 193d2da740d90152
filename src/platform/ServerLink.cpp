#include "platform/ServerLink.h"

namespace tessaroc::platform {

namespace {

// How often the proxy handshake looks at the clock.
constexpr int kProxyClockIntervalMs = 100;

} // namespace

ServerLink::ServerLink(wire::MsgRings &rings, const Clock &clock, QObject *parent)
    : QObject(parent)
    , rings_(rings)
    , clock_(clock)
{
    connect(&socket_, &WinsockControl::DataArrival, this, &ServerLink::Winsock1_DataArrival);
    connect(&socket_, &WinsockControl::Closed, this, &ServerLink::Winsock1_Close);
    connect(&socket_, &WinsockControl::Connected, this, &ServerLink::Winsock1_Connect);
    connect(&socket_, &WinsockControl::Error, this, &ServerLink::Winsock1_Error);
    proxyClock_.setInterval(kProxyClockIntervalMs);
    connect(&proxyClock_, &QTimer::timeout, this, &ServerLink::checkClock);
}

bool ServerLink::ConnectToSock5Server(const QString &proxyHost, quint16 proxyPort,
                                      const wire::Socks5Target &target)
{
    const unsigned attempt = ++proxyAttempt_;
    wire::BeginSock5Connection(rings_, handshake_, target, clock_.nowMs());
    socket_.setRemoteHost(proxyHost);
    socket_.setRemotePort(proxyPort);
    socket_.Connect();
    proxyClock_.start();

    QEventLoop loop;
    connect(&socket_, &WinsockControl::Connected, &loop, &QEventLoop::quit);
    connect(this, &ServerLink::proxyFailed, &loop, &QEventLoop::quit);
    if (proxyWait_)
        proxyWait_->quit();
    if (handshake_.running() && handshake_.Sock5Step == 0) {
        proxyWait_ = &loop;
        loop.exec();
        if (proxyWait_ == &loop)
            proxyWait_ = nullptr;
    }

    return attempt == proxyAttempt_ && (handshake_.running() || handshake_.succeeded());
}

void ServerLink::Winsock1_DataArrival()
{
    const QByteArray data = socket_.GetData();
    const std::span bytes(reinterpret_cast<const std::uint8_t *>(data.constData()),
                          static_cast<std::size_t>(data.size()));
    const wire::ArrivalResult result = wire::Winsock1_DataArrival(rings_, handshake_, bytes);
    if (result.stored)
        Q_EMIT received();
    handle(result.proxy);
    if (result.overflow)
        Q_EMIT receiveOverflow();
}

void ServerLink::Winsock1_Close()
{
    if (handshake_.running())
        handle(handshake_.onSocketLost());
    else
        socket_.Close();
}

void ServerLink::Winsock1_Connect()
{
    if (!rings_.RingMode)
        handle(handshake_.onSocketConnected());
}

void ServerLink::Winsock1_Error()
{
    if (!rings_.RingMode)
        handle(handshake_.onSocketLost());
}

void ServerLink::checkClock()
{
    if (!handshake_.running()) {
        proxyClock_.stop();
        return;
    }
    handle(handshake_.onClock(clock_.nowMs()));
}

void ServerLink::handle(const wire::Socks5Event &event)
{
    switch (event.kind) {
    case wire::Socks5Event::Send:
        socket_.SendData(event.bytes);
        break;
    case wire::Socks5Event::Connected:
        proxyClock_.stop();
        Q_EMIT proxyConnected();
        break;
    case wire::Socks5Event::Failed: {
        proxyClock_.stop();
        const unsigned attempt = proxyAttempt_;
        const std::string_view text = wire::socks5FailureText(event.failure);
        Q_EMIT proxyFailed(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
        // While the player read the message the hall may have asked for a new
        // connection on the same socket; that one is not this failure's to end.
        if (attempt == proxyAttempt_)
            socket_.Close();
        break;
    }
    case wire::Socks5Event::Overflow:
    case wire::Socks5Event::None:
        break;
    }
}

} // namespace tessaroc::platform
