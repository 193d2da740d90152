#pragma once

#include "FrameDelivery.h"
#include "Referee.h"
#include "Seats.h"

#include "wire/MessageFrame.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>

namespace tessaroc::tableserver {

// Checks every frame a person's client sends against what the table client
// sends and when: the bytes each command lists and zeros elsewhere, the echo
// bytes (a number the seat was sent, never going back), and whether the
// client could have sent the frame at the point its echo names. The echo
// tells which of the seat's frames the client had taken when it built the
// frame, so the checker follows the seat's frames as the client does and
// keeps what the client knew after each: its own seat, its hand, an open bid
// or play turn, whether it leads, the play to beat. A bid then must answer
// an open bid turn, a play an open play turn (once per turn), with cards the
// client holds, of the kind it names, beating the table unless it leads.
class ClientFrameChecker
{
public:
    // Every numbered frame the server sends a seat, in order.
    void sent(int seat, const wire::MessageFrame &frame);
    // A new person sits at the seat, or it is freed: its record starts over.
    void seatReset(int seat);
    void connectionClosed(ConnectionId id);

    // A frame a connection sent; seat is the connection's seat, or nothing
    // before its login is taken or after its player left. Returns why the
    // frame is not one the client sends, or nothing.
    std::optional<std::string> check(ConnectionId id, std::optional<int> seat,
                                     const wire::MessageFrame &frame);

private:
    // What the client knew after taking one of the seat's frames.
    struct View
    {
        std::uint8_t own = 0; // own seat bit, 0 before the first user information
        std::bitset<128> held; // the ids of its hand
        bool firstBidTurn = false; // the next bid turn is the hand's first
        bool bidTurn = false;
        bool playTurn = false;
        bool mustLead = false;
        std::uint16_t turn = 0; // number of the frame that opened the turn
        Play toBeat;
    };
    struct SeatRecord
    {
        View now;
        std::deque<std::pair<std::uint16_t, View>> history; // the last frames' views
        std::uint16_t last = 0;
        bool wrapped = false;
        std::array<CardCode, 128> codes{}; // codes of the ids dealt to it
        std::optional<std::uint16_t> answeredTurn;
    };
    struct ConnectionRecord
    {
        int frames = 0;
        std::optional<std::uint16_t> lastEcho;
    };

    std::optional<std::string> checkLayout(const wire::MessageFrame &frame, bool first) const;
    std::optional<std::string> checkEcho(ConnectionRecord &connection, const SeatRecord *record,
                                         const wire::MessageFrame &frame) const;
    std::optional<std::string> checkTurn(SeatRecord &record, const View &view,
                                         const wire::MessageFrame &frame);
    std::optional<std::string> judgeTurn(const SeatRecord &record, const View &view,
                                         const wire::MessageFrame &frame) const;
    static View freshView(std::uint8_t own);
    const View *viewAt(const SeatRecord &record, std::uint16_t echo) const;

    std::array<SeatRecord, kSeats> seats_;
    std::map<ConnectionId, ConnectionRecord> connections_;
};

} // namespace tessaroc::tableserver
