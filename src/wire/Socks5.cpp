#include "wire/Socks5.h"

#include "wire/GbkText.h"

#include <array>
#include <charconv>

namespace tessaroc::wire {

namespace {

constexpr std::uint8_t kSocksVersion = 5;
constexpr std::uint8_t kAuthVersion = 1;
constexpr std::uint8_t kMethodNone = 0;
constexpr std::uint8_t kMethodUserPassword = 2;
constexpr std::uint8_t kCommandConnect = 1;
constexpr std::uint8_t kAddressIPv4 = 1;
constexpr std::uint8_t kAddressDomain = 3;
constexpr std::uint8_t kAddressIPv6 = 4;
constexpr std::uint8_t kSucceeded = 0;
constexpr std::size_t kMaxCredentialBytes = 255;

// One byte per character: its code when that is a single byte, else 0.
void appendCredential(std::vector<std::uint8_t> &out, std::string_view text)
{
    std::u32string chars = utf8ToChars(text);
    if (chars.size() > kMaxCredentialBytes)
        chars.resize(kMaxCredentialBytes);
    out.push_back(static_cast<std::uint8_t>(chars.size()));
    for (char32_t ch : chars) {
        const std::uint16_t code = gbkCode(ch);
        out.push_back(gbkByteLength(code) == 1 ? static_cast<std::uint8_t>(code) : 0);
    }
}

// A dotted part as a number 0..255; anything else is 0.
std::uint8_t addressPart(std::string_view part)
{
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(part.data(), part.data() + part.size(), value);
    if (part.empty() || ec != std::errc() || end != part.data() + part.size() || value > 255)
        return 0;
    return static_cast<std::uint8_t>(value);
}

std::array<std::uint8_t, 4> dottedAddress(std::string_view host)
{
    std::array<std::uint8_t, 4> address{};
    for (std::uint8_t &part : address) {
        const std::size_t dot = host.find('.');
        part = addressPart(host.substr(0, dot));
        host = dot == std::string_view::npos ? std::string_view() : host.substr(dot + 1);
    }
    return address;
}

} // namespace

std::string_view socks5FailureText(Socks5Failure failure)
{
    switch (failure) {
    case Socks5Failure::MethodRefused:
        return "请求代理失败！";
    case Socks5Failure::AuthRefused:
        return "代理服务器用户验证失败！";
    case Socks5Failure::ConnectRefused:
        return "通过代理连接主站失败！";
    case Socks5Failure::None:
        break;
    }
    return {};
}

std::vector<std::uint8_t> Socks5Greeting()
{
    return {kSocksVersion, 2, kMethodNone, kMethodUserPassword};
}

std::vector<std::uint8_t> Socks5AuthRequest(std::string_view user, std::string_view password)
{
    std::vector<std::uint8_t> request{kAuthVersion};
    appendCredential(request, user);
    appendCredential(request, password);
    return request;
}

std::vector<std::uint8_t> Socks5ConnectRequest(std::string_view serverHost,
                                               std::uint16_t serverPort)
{
    const auto address = dottedAddress(serverHost);
    return {kSocksVersion,
            kCommandConnect,
            0,
            kAddressIPv4,
            address[0],
            address[1],
            address[2],
            address[3],
            static_cast<std::uint8_t>(serverPort >> 8),
            static_cast<std::uint8_t>(serverPort & 0xFF)};
}

void Socks5Handshake::begin(const Socks5Target &target, std::int64_t nowMs)
{
    target_ = target;
    phase_ = Phase::Connecting;
    failure_ = Socks5Failure::None;
    deadlineMs_ = nowMs + kSocks5TimeLimitMs;
    Sock5Step = 0;
    ProxyReplyBuf.reset();
}

Socks5Event Socks5Handshake::onSocketConnected()
{
    if (phase_ != Phase::Connecting)
        return {};
    Sock5Step = 0;
    ProxyReplyBuf.reset();
    Sock5Step = 1;
    return sendStep();
}

Socks5Event Socks5Handshake::sendStep()
{
    Socks5Event event;
    event.kind = Socks5Event::Send;
    switch (Sock5Step) {
    case 1:
        event.bytes = Socks5Greeting();
        break;
    case 3:
        event.bytes = Socks5AuthRequest(target_.user, target_.password);
        break;
    case 5:
        event.bytes = Socks5ConnectRequest(target_.serverHost, target_.serverPort);
        break;
    default:
        ProxyReplyBuf.reset();
        return {};
    }
    ++Sock5Step;
    // Each reply is read from the start of the buffer; anything the proxy
    // sent beyond the previous reply is not part of the next one.
    ProxyReplyBuf.reset();
    phase_ = Phase::Waiting;
    return event;
}

Socks5Event Socks5Handshake::fail(Socks5Failure failure)
{
    phase_ = Phase::Failed;
    failure_ = failure;
    Socks5Event event;
    event.kind = Socks5Event::Failed;
    event.failure = failure;
    return event;
}

Socks5Failure Socks5Handshake::failureOfStep() const
{
    if (Sock5Step <= 2)
        return Socks5Failure::MethodRefused;
    if (Sock5Step <= 4)
        return Socks5Failure::AuthRefused;
    return Socks5Failure::ConnectRefused;
}

std::size_t Socks5Handshake::replyLength() const
{
    if (Sock5Step != 6)
        return 2;
    const std::size_t have = ProxyReplyBuf.waiting();
    if (have < 4)
        return 0;
    switch (ProxyReplyBuf.at(3)) {
    case kAddressIPv4:
        return 4 + 4 + 2;
    case kAddressIPv6:
        return 4 + 16 + 2;
    case kAddressDomain:
        return have < 5 ? 0 : 4 + 1 + ProxyReplyBuf.at(4) + 2;
    default:
        // An address type the client does not know: the reply's length, and
        // so where the server's bytes begin, cannot be told. Judged as it is.
        return 4;
    }
}

Socks5Event Socks5Handshake::judge(std::span<const std::uint8_t> after)
{
    const std::uint8_t first = ProxyReplyBuf.at(0);
    const std::uint8_t second = ProxyReplyBuf.at(1);
    switch (Sock5Step) {
    case 2:
        if (first != kSocksVersion || (second != kMethodNone && second != kMethodUserPassword))
            return fail(Socks5Failure::MethodRefused);
        Sock5Step = second == kMethodUserPassword ? 3 : 5;
        return sendStep();
    case 4:
        if (first != kAuthVersion || second != kSucceeded)
            return fail(Socks5Failure::AuthRefused);
        Sock5Step = 5;
        return sendStep();
    default: {
        const std::uint8_t type = ProxyReplyBuf.at(3);
        const bool knownType
                = type == kAddressIPv4 || type == kAddressIPv6 || type == kAddressDomain;
        if (first != kSocksVersion || second != kSucceeded || !knownType)
            return fail(Socks5Failure::ConnectRefused);
        phase_ = Phase::Done;
        ProxyReplyBuf.reset();
        Socks5Event event;
        event.kind = Socks5Event::Connected;
        event.bytes.assign(after.begin(), after.end());
        return event;
    }
    }
}

Socks5Event Socks5Handshake::onBytes(std::span<const std::uint8_t> bytes)
{
    // Once the handshake is over nothing more belongs to it: after success
    // the bytes are the server's, after a failure the socket is being closed.
    if (!running())
        return {};
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (!ProxyReplyBuf.pushByte(bytes[i])) {
            Socks5Event event;
            event.kind = Socks5Event::Overflow;
            return event;
        }
        if (phase_ != Phase::Waiting)
            continue;
        const std::size_t need = replyLength();
        if (need != 0 && ProxyReplyBuf.waiting() >= need)
            return judge(bytes.subspan(i + 1));
    }
    return {};
}

Socks5Event Socks5Handshake::onSocketLost()
{
    if (!running())
        return {};
    return fail(failureOfStep());
}

Socks5Event Socks5Handshake::onClock(std::int64_t nowMs)
{
    if (!running() || nowMs < deadlineMs_)
        return {};
    return fail(failureOfStep());
}

void BeginSock5Connection(MsgRings &rings, Socks5Handshake &handshake, const Socks5Target &target,
                          std::int64_t nowMs)
{
    ResetMsgRings(rings);
    rings.RingMode = false;
    handshake.begin(target, nowMs);
}

ArrivalResult Winsock1_DataArrival(MsgRings &rings, Socks5Handshake &handshake,
                                   std::span<const std::uint8_t> bytes)
{
    ArrivalResult result;
    const auto store = [&](std::span<const std::uint8_t> received) {
        result.overflow = ReceiveIntoRing(rings, received) == ReceiveResult::Overflow;
        result.stored = !result.overflow;
    };
    if (rings.RingMode) {
        store(bytes);
        return result;
    }
    result.proxy = handshake.onBytes(bytes);
    if (result.proxy.kind == Socks5Event::Overflow) {
        result.overflow = true;
    } else if (result.proxy.kind == Socks5Event::Connected) {
        rings.RingMode = true;
        if (!result.proxy.bytes.empty()) {
            store(result.proxy.bytes);
            result.proxy.bytes.clear();
        }
    }
    return result;
}

} // namespace tessaroc::wire
