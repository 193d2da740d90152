#pragma once

#include "Seats.h"

#include "wire/MessageFrame.h"

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <vector>

namespace tessaroc::tableserver {

using ConnectionId = std::uint32_t;

// The frames for one connection that one event produced, to be written in one
// write; close asks for the connection to be closed after them.
struct Delivery
{
    ConnectionId connection = 0;
    std::vector<wire::MessageFrame> frames;
    bool close = false;
};

// How frames sent again after a reconnection are paced. A client takes at
// most one frame per 50 ms tick into a ring of 128 and stops taking them
// while it animates (the deal alone holds it 1.3 s); a whole hand sent at
// once could fill the ring and end it. Bursts of a few frames with a pause
// longer than the client's 100 ms settling time between them let it take
// each burst before the next arrives.
struct ReplayPace
{
    int burst = 6;
    std::int64_t intervalMs = 500;
};

// Delivers the table's frames: numbers every frame a seat is sent (the echo
// bytes), keeps the seats' logs of the hand in progress, collects what each
// connection is to be sent after an event, and sends a returning seat the
// frames it missed at a pace its client can take.
class FrameDelivery
{
public:
    // Called with every numbered frame as it is sent to a seat.
    using SentObserver = std::function<void(int seat, const wire::MessageFrame &)>;

    explicit FrameDelivery(ReplayPace pace = {});

    // Connections as the transport reports them.
    void opened(ConnectionId id);
    // The connection is gone: nothing more is collected for it.
    void closed(ConnectionId id);
    bool isOpen(ConnectionId id) const { return open_.contains(id); }

    // A person sits at a seat: its numbering and its log start afresh. Frames
    // to a seat without a person are not sent.
    void seatPerson(int seat);
    void freeSeat(int seat);
    // Where a seat's frames go; without a connection they are numbered and
    // logged but not sent.
    void bind(int seat, ConnectionId id);
    void unbind(int seat);
    std::optional<ConnectionId> connectionOf(int seat) const;

    // A numbered frame for a seat, logged while a hand is in progress.
    void toSeat(int seat, wire::MessageFrame frame);
    void toAll(const wire::MessageFrame &frame);
    // An unnumbered frame straight to a connection (answers to a login or a
    // reconnect request, the notice that ends an older client).
    void toConnection(ConnectionId id, const wire::MessageFrame &frame);
    // Closes the connection after what was collected for it; frames still
    // waiting to be paced out, and any given to it later, are dropped.
    void close(ConnectionId id);

    // The hand log: every numbered frame from the hand-start deal on.
    void startHandLog();
    void stopHandLog();

    // After an accepted reconnection: the answer goes at once, then every
    // logged frame of the seat numbered after echo (the whole log when echo
    // names none of them), paced; frames for the seat sent meanwhile queue
    // behind them. Returns how many frames are sent again.
    std::size_t replay(int seat, ConnectionId id, const wire::MessageFrame &answer,
                       std::uint16_t echo, std::int64_t nowMs);
    // Whether frames are still waiting to be paced out to the connection.
    bool pacing(ConnectionId id) const;

    // Moves the next burst of every paced connection due at nowMs into what
    // is collected; false when none was due.
    bool releaseDue(std::int64_t nowMs);
    std::optional<std::int64_t> nextDeadline() const;

    // What was collected since the last call, connections in the order they
    // were first given something.
    std::vector<Delivery> take();

    std::uint16_t lastSequence(int seat) const;
    void setSentObserver(SentObserver observer) { observer_ = std::move(observer); }

private:
    struct SeatLine
    {
        bool person = false;
        std::optional<ConnectionId> connection;
        std::uint16_t lastSequence = 0;
        std::vector<wire::MessageFrame> log;
    };
    struct Paced
    {
        std::deque<wire::MessageFrame> waiting;
        std::int64_t nextAt = 0;
    };

    bool accepts(ConnectionId id) const;
    Delivery &collected(ConnectionId id);
    void releaseBurst(ConnectionId id, Paced &paced, std::int64_t nowMs);

    ReplayPace pace_;
    SentObserver observer_;
    std::array<SeatLine, kSeats> seats_;
    std::set<ConnectionId> open_;
    std::set<ConnectionId> closing_;
    std::map<ConnectionId, Delivery> pending_;
    std::vector<ConnectionId> pendingOrder_;
    std::map<ConnectionId, Paced> paced_;
    bool logging_ = false;
};

} // namespace tessaroc::tableserver
