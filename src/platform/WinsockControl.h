#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTcpSocket>

#include <cstdint>
#include <span>

namespace tessaroc::platform {

// The client's TCP socket to the game server or the proxy, with the members
// and numbers the table's code was written against: State() is 0 closed,
// 6 connecting, 7 connected, 8 closing (the other side has closed and Close()
// was not called yet) and 9 error (until Close() or the next Connect()).
//
// The events are signals: DataArrival when bytes wait (GetData takes them
// all), Closed when the other side closed the connection, Connected when a
// connection stands, Error when connecting or the connection failed. Close()
// raises no event of its own.
class WinsockControl : public QObject
{
    Q_OBJECT

public:
    static constexpr int sckClosed = 0;
    static constexpr int sckConnecting = 6;
    static constexpr int sckConnected = 7;
    static constexpr int sckClosing = 8;
    static constexpr int sckError = 9;

    // Error numbers of the Error event.
    static constexpr int sckConnectionRefused = 10061;
    static constexpr int sckTimedOut = 10060;
    static constexpr int sckHostNotFound = 11001;
    static constexpr int sckConnectAborted = 10053;

    explicit WinsockControl(QObject *parent = nullptr);

    QString RemoteHost() const { return remoteHost_; }
    void setRemoteHost(const QString &host) { remoteHost_ = host; }
    quint16 RemotePort() const { return remotePort_; }
    void setRemotePort(quint16 port) { remotePort_ = port; }

    // Starts connecting to RemoteHost:RemotePort (a name or a dotted address);
    // a connection that still stands is dropped first.
    void Connect();
    // Drops the connection at once, unsent bytes included.
    void Close();
    int State() const;
    // Queues bytes for sending; false, and nothing sent, when not connected.
    bool SendData(std::span<const std::uint8_t> bytes);
    bool SendData(const QByteArray &bytes);
    // Every byte that has arrived and not been taken yet.
    QByteArray GetData();

Q_SIGNALS:
    void DataArrival(qint64 bytesTotal);
    void Closed();
    void Connected();
    void Error(int number, const QString &description);

private:
    void onStateChanged(QAbstractSocket::SocketState state);
    void onErrorOccurred(QAbstractSocket::SocketError error);

    QTcpSocket socket_;
    QString remoteHost_;
    quint16 remotePort_ = 0;
    bool failed_ = false;
    bool peerClosed_ = false;
    bool closing_ = false;
};

} // namespace tessaroc::platform
