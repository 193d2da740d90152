#pragma once

#include "wire/MsgRings.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The SOCKS5 handshake (RFC 1928 with the user name and password method of
// RFC 1929) that connects the client to the game server through a proxy, as a
// machine of bytes in and bytes out. The socket layer feeds it what the proxy
// sends, sends what it asks for, and tells it about the clock and about a
// socket that dropped; the machine never touches a socket itself.
//
// Each reply is gathered to its full length before it is judged: 2 bytes for
// the method choice and for the authentication status, 4 + address + 2 for
// the CONNECT reply (the address length follows from its type). Bytes that
// follow the CONNECT reply already belong to the game server and come back
// with the Connected event, in order. A handshake that does not end within
// kSocks5TimeLimitMs of its start, or whose socket drops, fails with the
// message of the step it was waiting for.
namespace tessaroc::wire {

inline constexpr std::int64_t kSocks5TimeLimitMs = 10000;

// Why a handshake failed; each has the message the player sees.
enum class Socks5Failure : std::uint8_t {
    None,
    MethodRefused, // "请求代理失败！" (also: the proxy could not be reached)
    AuthRefused, // "代理服务器用户验证失败！"
    ConnectRefused, // "通过代理连接主站失败！"
};
std::string_view socks5FailureText(Socks5Failure failure);
// The system message once the proxy has joined the client to the server.
inline constexpr std::string_view kSocks5ConnectedText = "连接代理服务器成功！";

// What the handshake needs from the command line.
struct Socks5Target
{
    std::string user; // UTF-8; one byte per character, 0 for a double-byte one
    std::string password;
    std::string serverHost; // a dotted IPv4 address
    std::uint16_t serverPort = 0;
};

struct Socks5Event
{
    enum Kind {
        None, // nothing to do yet
        Send, // send `bytes` to the proxy
        Connected, // the proxy joined the client to the server; `bytes` are
                   // the server's first bytes
        Failed, // show socks5FailureText(failure), then close the socket
        Overflow, // more than 1023 unjudged bytes: fatal, as a receive overflow
    };
    Kind kind = None;
    std::vector<std::uint8_t> bytes;
    Socks5Failure failure = Socks5Failure::None;
};

// The requests, exactly as sent.
std::vector<std::uint8_t> Socks5Greeting();
std::vector<std::uint8_t> Socks5AuthRequest(std::string_view user, std::string_view password);
std::vector<std::uint8_t> Socks5ConnectRequest(std::string_view serverHost,
                                               std::uint16_t serverPort);

class Socks5Handshake
{
public:
    // The step, as the client numbers it: 0 not started, 1 send the greeting,
    // 2 waiting for the method choice, 3 send user name and password, 4
    // waiting for their answer, 5 send CONNECT, 6 waiting for the CONNECT
    // answer (and after success). It keeps its value after a failure.
    std::uint8_t Sock5Step = 0;
    ProxyReplyBuffer ProxyReplyBuf;

    // The socket starts connecting to the proxy now; the time limit runs from
    // here.
    void begin(const Socks5Target &target, std::int64_t nowMs);
    // The socket has reached the proxy: returns the greeting to send.
    Socks5Event onSocketConnected();
    // Bytes from the proxy; ignored once the handshake has ended.
    Socks5Event onBytes(std::span<const std::uint8_t> bytes);
    // The socket closed or failed before the handshake ended.
    Socks5Event onSocketLost();
    // Fails the handshake once its time is up.
    Socks5Event onClock(std::int64_t nowMs);

    // Between begin() and success or failure.
    bool running() const { return phase_ == Phase::Connecting || phase_ == Phase::Waiting; }
    bool succeeded() const { return phase_ == Phase::Done; }
    Socks5Failure failure() const { return failure_; }

private:
    enum class Phase : std::uint8_t { Idle, Connecting, Waiting, Done, Failed };

    Socks5Event sendStep();
    Socks5Event fail(Socks5Failure failure);
    Socks5Failure failureOfStep() const;
    // The full length of the reply awaited, or 0 while it cannot be known yet.
    std::size_t replyLength() const;
    Socks5Event judge(std::span<const std::uint8_t> after);

    Socks5Target target_;
    Phase phase_ = Phase::Idle;
    Socks5Failure failure_ = Socks5Failure::None;
    std::int64_t deadlineMs_ = 0;
};

// ConnectToSock5Server, the part without the socket: both message rings are
// emptied, received bytes go to the handshake from now on, and the handshake
// starts its clock.
void BeginSock5Connection(MsgRings &rings, Socks5Handshake &handshake, const Socks5Target &target,
                          std::int64_t nowMs);

// What the socket's data event asks of its caller.
struct ArrivalResult
{
    // The receive ring or the proxy buffer overflowed: restore the hall and
    // end the program.
    bool overflow = false;
    // Bytes went into RecvRing: the receive slot is to run.
    bool stored = false;
    // While the proxy handshake runs: its event (send a request, connected,
    // failed). After Connected, RingMode is true again and the server's first
    // bytes are already in RecvRing.
    Socks5Event proxy;
};

// Winsock1_DataArrival: all bytes the socket delivered, in order.
ArrivalResult Winsock1_DataArrival(MsgRings &rings, Socks5Handshake &handshake,
                                   std::span<const std::uint8_t> bytes);

} // namespace tessaroc::wire
