#include "platform/WinsockControl.h"

namespace tessaroc::platform {

namespace {

int errorNumber(QAbstractSocket::SocketError error)
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return WinsockControl::sckConnectionRefused;
    case QAbstractSocket::SocketTimeoutError:
        return WinsockControl::sckTimedOut;
    case QAbstractSocket::HostNotFoundError:
        return WinsockControl::sckHostNotFound;
    default:
        return WinsockControl::sckConnectAborted;
    }
}

} // namespace

WinsockControl::WinsockControl(QObject *parent)
    : QObject(parent)
{
    connect(&socket_, &QTcpSocket::readyRead, this,
            [this] { Q_EMIT DataArrival(socket_.bytesAvailable()); });
    connect(&socket_, &QTcpSocket::connected, this, [this] {
        // Frames are small and every one is awaited by the other side.
        socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
        Q_EMIT Connected();
    });
    connect(&socket_, &QTcpSocket::stateChanged, this, &WinsockControl::onStateChanged);
    connect(&socket_, &QTcpSocket::errorOccurred, this, &WinsockControl::onErrorOccurred);
}

void WinsockControl::Connect()
{
    if (socket_.state() != QAbstractSocket::UnconnectedState)
        Close();
    failed_ = false;
    peerClosed_ = false;
    socket_.connectToHost(remoteHost_, remotePort_);
}

void WinsockControl::Close()
{
    closing_ = true;
    socket_.abort();
    closing_ = false;
    failed_ = false;
    peerClosed_ = false;
}

int WinsockControl::State() const
{
    if (failed_)
        return sckError;
    switch (socket_.state()) {
    case QAbstractSocket::HostLookupState:
    case QAbstractSocket::ConnectingState:
        return sckConnecting;
    case QAbstractSocket::ConnectedState:
        return sckConnected;
    case QAbstractSocket::ClosingState:
        return sckClosing;
    default:
        return peerClosed_ ? sckClosing : sckClosed;
    }
}

bool WinsockControl::SendData(std::span<const std::uint8_t> bytes)
{
    if (State() != sckConnected)
        return false;
    const auto size = static_cast<qint64>(bytes.size());
    return socket_.write(reinterpret_cast<const char *>(bytes.data()), size) == size;
}

bool WinsockControl::SendData(const QByteArray &bytes)
{
    return SendData(std::span(reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                              static_cast<std::size_t>(bytes.size())));
}

QByteArray WinsockControl::GetData()
{
    return socket_.readAll();
}

void WinsockControl::onStateChanged(QAbstractSocket::SocketState state)
{
    if (state != QAbstractSocket::UnconnectedState || closing_ || failed_)
        return;
    // Only a connection that stood can be closed by the other side; a
    // connection attempt that fails reports an error instead.
    if (socket_.error() == QAbstractSocket::RemoteHostClosedError) {
        peerClosed_ = true;
        Q_EMIT Closed();
    }
}

void WinsockControl::onErrorOccurred(QAbstractSocket::SocketError error)
{
    if (closing_ || error == QAbstractSocket::RemoteHostClosedError)
        return;
    failed_ = true;
    Q_EMIT Error(errorNumber(error), socket_.errorString());
}

} // namespace tessaroc::platform
