#pragma once

#include <QString>

namespace tessaroc::core {

struct CoreContext;

enum class ConnectReason {
    StartUp,
    // The hall's reconnect request and the reconnection attempts: the rings
    // are emptied and a socket that is not closed is closed first.
    HallReconnect,
};

// Connects by the line's ProxyType: 0 directly (the main loop starts and its
// login slot sends the login frame once the socket stands), 5 through the
// SOCKS5 proxy (the login frame leaves when the proxy has joined the client to
// the server), any other value not at all.
void ConnectToServer(CoreContext &c, ConnectReason reason);

// Bytes from the server, the proxy's outcomes and the receive ring's
// overflow, as the server link reports them. Stored bytes arm the receive
// slot: it runs two ticks later.
void OnReceived(CoreContext &c);
void OnProxyConnected(CoreContext &c);
void OnProxyFailed(CoreContext &c, const QString &message);
void OnReceiveOverflow(CoreContext &c);

} // namespace tessaroc::core
