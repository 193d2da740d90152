#pragma once

#include "ClientFrameChecker.h"
#include "EngineOptions.h"
#include "FrameDelivery.h"
#include "HandReferee.h"
#include "Seating.h"
#include "TableContext.h"

#include "wire/MessageFrame.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaroc::tableserver {

// What tests and the log can see of a seat.
struct SeatView
{
    bool occupied = false;
    bool bot = false;
    bool connected = false;
    bool ready = false;
    std::string account;
    std::uint64_t coins = 0;
    int cardsHeld = 0;
};

// The table of the local game server, the way a table client expects it. It
// is pure logic driven by events (connections, received frames,
// disconnections and the passing of time) and made of three parts: the
// seating (logins, ready marks, chat, drops and returns), the referee of the
// hand in progress, and the delivery of frames. The engine routes each frame
// to its part, starts a hand when the table is ready, and runs the earliest
// timed step of any part; what it sends is collected per connection and
// taken by the transport after each event.
class GameEngine
{
public:
    using LogSink = TableContext::LogSink;
    using Phase = HandReferee::Phase;

    explicit GameEngine(EngineOptions options, LogSink log = {});

    // Opens the table: a table of four computer players starts playing.
    void open(std::int64_t nowMs);

    void connected(ConnectionId id, std::int64_t nowMs);
    void received(ConnectionId id, const wire::MessageFrame &frame, std::int64_t nowMs);
    void disconnected(ConnectionId id, std::int64_t nowMs);

    // Runs the earliest timed step due at nowMs (a burst of frames sent
    // again, a computer player's move, a clock or a wait running out, the
    // next hand); false when none is due.
    bool runDue(std::int64_t nowMs);
    std::optional<std::int64_t> nextDeadline() const;

    std::vector<Delivery> takeDeliveries();

    // Makes a seat's player leave with a text shown to it; the hand in
    // progress, if any, is abandoned for the others.
    void forceLeave(int seat, std::string_view textUtf8, std::int64_t nowMs);

    void setHandListener(std::function<void(const HandHistory &)> listener);
    // Where refused client frames are reported, one line each.
    void setClientFrameReport(LogSink report);
    int refusedClientFrames() const { return refusedClientFrames_; }

    Phase phase() const { return referee_.phase(); }
    SeatView seat(int index) const;
    std::optional<int> seatOf(ConnectionId id) const { return seating_.seatOf(id); }
    int handsPlayed() const { return referee_.handNumber(); }
    // Plays by computer players that the rules refused: always 0 unless the
    // players and the judge disagree.
    int ruleViolations() const { return referee_.ruleViolations(); }

private:
    void seated(int seat, const wire::MessageFrame &frame);
    void refuseClientFrame(ConnectionId id, std::optional<int> seat,
                           const wire::MessageFrame &frame, const std::string &why);
    void tryStartHand();
    void handOver(bool settled);

    TableContext context_;
    Seating seating_;
    HandReferee referee_;
    std::unique_ptr<ClientFrameChecker> checker_;
    LogSink clientFrameReport_;
    int refusedClientFrames_ = 0;
    std::optional<std::int64_t> handStartAt_;
    bool startWaitOver_ = false;
};

} // namespace tessaroc::tableserver
