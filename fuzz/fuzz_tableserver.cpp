// The table server's engine fed by hostile clients: connections open and
// close at random, frames arrive whole but with any bytes (and, to reach the
// hands, logins and short frames of plays, bids and chat), and time moves in
// jumps. The engine must never fault, must only write to connections that
// are open, and must only send commands a client knows.

#include "FuzzCheck.h"
#include "GameEngine.h"

#include "wire/CommandLine.h"
#include "wire/SentFrames.h"

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

using namespace tessaroc;
using namespace tessaroc::tableserver;

namespace {

bool clientKnows(std::uint8_t cmd)
{
    switch (cmd) {
    case wire::CmdDeal:
    case wire::CmdBidTurn:
    case wire::CmdPlayed:
    case wire::CmdHandResult:
    case wire::CmdReadyOrLeave:
    case wire::CmdLogin:
    case wire::CmdChat:
    case wire::CmdUserInfo:
    case wire::CmdUserLeft:
    case wire::CmdForcedLeave:
    case wire::CmdReady:
    case wire::CmdReconnectAnswer:
        return true;
    default:
        return false;
    }
}

class Input
{
public:
    Input(const std::uint8_t *data, std::size_t size)
        : data_(data)
        , size_(size)
    { }
    bool more() const { return at_ < size_; }
    std::uint8_t next() { return at_ < size_ ? data_[at_++] : 0; }

private:
    const std::uint8_t *data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    EngineOptions options;
    options.bots = 2;
    options.botDelayMinMs = 0;
    options.botDelayMaxMs = 0;
    // Hands start at once whether the fuzzed people said ready or not.
    options.startWithoutReady = true;
    options.firstHandWaitMs = 0;
    options.nextHandWaitMs = 0;
    options.chat.refillMs = 50;
    GameEngine engine(options);
    std::set<ConnectionId> open;
    std::int64_t now = 0;

    const auto drain = [&] {
        for (int round = 0; round < 8; ++round) {
            auto deliveries = engine.takeDeliveries();
            if (deliveries.empty())
                return;
            for (const Delivery &delivery : deliveries) {
                fuzzCheck(open.contains(delivery.connection));
                for (const auto &frame : delivery.frames)
                    fuzzCheck(clientKnows(frame.cmd()));
                if (delivery.close) {
                    open.erase(delivery.connection);
                    engine.disconnected(delivery.connection, now);
                }
            }
        }
    };

    Input input(data, size);
    while (input.more()) {
        const std::uint8_t op = input.next();
        const ConnectionId id = 1 + input.next() % 4;
        const bool isOpen = open.contains(id);
        switch (op % 6) {
        case 0:
            if (!isOpen) {
                open.insert(id);
                engine.connected(id, now);
            }
            break;
        case 1:
            if (isOpen) {
                wire::MessageFrame frame;
                for (std::size_t i = 0; i < wire::kFrameSize; ++i)
                    frame.setByte(i, input.next());
                engine.received(id, frame, now);
            }
            break;
        case 2:
            if (isOpen) {
                open.erase(id);
                engine.disconnected(id, now);
            }
            break;
        case 3:
            now += input.next() * 250;
            for (int step = 0; step < 2000 && engine.runDue(now); ++step)
                drain();
            break;
        case 4:
            if (isOpen)
                engine.received(
                        id,
                        wire::LoginFrame{.account = "p" + std::to_string(id), .password = "pw"}
                                .encode(),
                        now);
            break;
        case 5:
            if (isOpen) {
                // A short frame: command, seat, bytes 11, 15, 17, 18 and a
                // few card ids, the rest zero.
                wire::MessageFrame frame;
                frame.setCmd(input.next());
                frame.setSeatBit(input.next());
                for (const std::size_t pos : {11u, 15u, 17u, 18u, 20u, 21u, 22u, 23u, 24u})
                    frame.setByte(pos, input.next());
                frame.setU32le(wire::offset::kResumeValue, 65537);
                engine.received(id, frame, now);
            }
            break;
        }
        drain();
    }
    return 0;
}
