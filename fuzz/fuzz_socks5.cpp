// Arbitrary proxy behaviour through the SOCKS5 handshake: replies of any
// bytes in pieces of any size, sockets that connect late or drop, and a clock
// that jumps. The handshake must never read or write outside its buffers, a
// failure must leave it stopped with a message, and once the proxy has joined
// the client to the server every arrival goes whole into the receive ring.
#include "FuzzCheck.h"
#include "wire/Socks5.h"

#include <string>
#include <vector>

using namespace tessaroc::wire;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::size_t pos = 0;
    auto byte = [&]() -> std::uint8_t {
        return pos < size ? data[pos++] : 0;
    };
    auto text = [&](std::size_t n) {
        std::string out;
        while (n-- > 0 && pos < size)
            out += static_cast<char>(data[pos++]);
        return out;
    };

    Socks5Target target;
    target.user = text(byte() % 8);
    target.password = text(byte() % 8);
    target.serverHost = text(byte() % 16);
    target.serverPort = static_cast<std::uint16_t>(byte() << 8 | byte());

    MsgRings rings;
    Socks5Handshake hs;
    std::int64_t now = 0;
    BeginSock5Connection(rings, hs, target, now);

    while (pos < size) {
        const std::uint8_t op = byte();
        Socks5Event event;
        switch (op % 5) {
        case 0:
            event = hs.onSocketConnected();
            break;
        case 1:
        case 2: {
            const std::size_t n = std::min<std::size_t>(1 + (op >> 3), size - pos);
            const bool wasRingMode = rings.RingMode;
            const std::size_t before = rings.RecvRing.waiting();
            const ArrivalResult r = Winsock1_DataArrival(rings, hs, std::span(data + pos, n));
            pos += n;
            if (r.overflow)
                return 0;
            event = r.proxy;
            if (wasRingMode)
                fuzzCheck(rings.RecvRing.waiting() == before + n);
            if (event.kind == Socks5Event::Connected) {
                fuzzCheck(rings.RingMode && hs.succeeded() && hs.Sock5Step == 6);
                fuzzCheck(event.bytes.empty());
            }
            break;
        }
        case 3:
            event = hs.onSocketLost();
            break;
        case 4:
            now += static_cast<std::int64_t>(byte()) * 100;
            event = hs.onClock(now);
            break;
        }
        if (event.kind == Socks5Event::Failed)
            fuzzCheck(!hs.running() && !socks5FailureText(event.failure).empty()
                      && !rings.RingMode);
        if (event.kind == Socks5Event::Send)
            fuzzCheck(!event.bytes.empty() && event.bytes.size() <= 3 + 2 * 255);
        fuzzCheck(hs.Sock5Step <= 6);
    }
    return 0;
}
