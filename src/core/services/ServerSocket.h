#pragma once

#include "wire/CommandLine.h"
#include "wire/MessageFrame.h"

#include <QString>

namespace tessaroc::core::services {

// The socket Winsock1 as the client core uses it. State() numbers as the
// socket control's: 0 closed, 6 connecting, 7 connected.
class ServerSocket
{
public:
    static constexpr int sckClosed = 0;
    static constexpr int sckConnecting = 6;
    static constexpr int sckConnected = 7;

    virtual ~ServerSocket() = default;

    virtual int State() const = 0;
    // Sends the 272 bytes; false, and nothing sent, when not connected.
    virtual bool SendData(const wire::MessageFrame &frame) = 0;
    virtual void Close() = 0;
    // Starts connecting to the game server directly; returns at once.
    virtual void Connect(const QString &host, quint16 port) = 0;
    // Connects through the SOCKS5 proxy of the line and starts its
    // handshake; waits, serving events, until the proxy is reached (true)
    // or the attempt failed or was replaced (false).
    virtual bool ConnectToSock5Server(const wire::CommandLine &line) = 0;
};

} // namespace tessaroc::core::services
