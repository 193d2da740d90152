#pragma once

#include "ChatGate.h"
#include "ServerFrames.h"
#include "TableContext.h"

#include "wire/MessageFrame.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace tessaroc::tableserver {

// The seats of the table and the connections of their players: logins and
// their refusals, computer players in the seats nobody takes, the ready
// marks, chat, leaving and being made to leave, drops and reconnections (a
// returning player is sent what it missed), and the waits that free a seat
// whose player does not come back or close a connection without a player.
class Seating
{
public:
    enum class ConnectionState { AwaitingLogin, Seated, Detached };

    // What seating needs of the table around it.
    struct Table
    {
        std::function<bool()> handInProgress;
        std::function<std::int32_t()> resumeValue;
        std::function<void(const std::string &why)> abandonHand;
        // The seats or their ready marks changed: a hand may start.
        std::function<void()> changed;
        // A player is back in the hand in progress; replayed frames follow.
        std::function<void(int seat, std::size_t replayed)> returned;
    };

    Seating(TableContext &context, Table table);

    void connected(ConnectionId id);
    // The connection is gone; its player, if any, has a while to come back.
    void disconnected(ConnectionId id);
    std::optional<ConnectionState> stateOf(ConnectionId id) const;
    std::optional<int> seatOf(ConnectionId id) const;
    // Closes a connection that has not logged in, without an answer.
    void turnAway(ConnectionId id);

    // The first frame of a connection: a login or a reconnect request.
    void firstFrame(ConnectionId id, const wire::MessageFrame &frame);
    void readyOrLeave(int seat, const wire::MessageFrame &frame);
    void chat(int seat, const wire::MessageFrame &frame);

    // Makes a seat's player leave with a text shown to it; the hand in
    // progress, if any, is abandoned for the others.
    void forceLeave(int seat, std::string_view textUtf8);
    // A frame on a connection whose player has left: only recorded, for the
    // leave frame a client made to leave still sends.
    void detachedFrame(ConnectionId id, const wire::MessageFrame &frame);

    // The hand cycle: at the deal nobody but the computer players is ready;
    // after the result frames those who dropped have the shorter wait, the
    // computer players say ready, and players short of coins leave.
    void handStarted();
    void handOver();
    void settleShortCoins();

    std::optional<std::int64_t> nextDeadline() const;
    // Runs the earliest wait that has run out at the context's time; false
    // when none has.
    bool runDue();

    bool occupied(int seat) const { return at(seat).occupied; }
    bool isBot(int seat) const { return at(seat).bot; }
    bool isConnected(int seat) const { return at(seat).connection.has_value(); }
    bool isReady(int seat) const { return at(seat).ready; }
    frames::UserInfo &user(int seat) { return seats_[static_cast<std::size_t>(seat)].user; }
    const frames::UserInfo &user(int seat) const { return at(seat).user; }
    std::optional<ConnectionId> connectionOf(int seat) const { return at(seat).connection; }
    // "alice (seat 1)", for the record.
    std::string seatName(int seat) const;
    bool tableFull() const;
    // Every seat taken, and every person connected.
    bool tableReady() const;
    bool allReady() const;

private:
    struct Connection
    {
        ConnectionState state = ConnectionState::AwaitingLogin;
        int seat = -1;
        // A connection whose player has left is closed by the server after a
        // grace time, should the client not close it itself.
        std::optional<std::int64_t> closeAt;
        // Its player was made to leave: who, and when. The client still
        // sends its leave frame and closes the connection itself, which the
        // record notes.
        struct Departure
        {
            std::string who;
            std::int64_t at = 0;
        };
        std::optional<Departure> madeToLeave;
    };
    struct Seat
    {
        bool occupied = false;
        bool bot = false;
        frames::UserInfo user;
        std::string password;
        bool ready = false;
        std::optional<ConnectionId> connection;
        std::optional<std::int64_t> dropAt;
        bool sawHandEnd = false; // since its login
        ChatGate chat;
    };

    const Seat &at(int seat) const { return seats_[static_cast<std::size_t>(seat)]; }
    bool inHand() const { return table_.handInProgress && table_.handInProgress(); }

    void login(ConnectionId id, const wire::MessageFrame &frame);
    void reconnect(ConnectionId id, const wire::MessageFrame &frame);
    void refuse(ConnectionId id, std::uint8_t result, const std::string &why);
    void seatNewPlayer(int seat, ConnectionId id, const frames::LoginRequest &request);
    void dropOldConnection(int seat);
    void bindConnection(int seat, ConnectionId id);
    void detachConnection(int seat);
    void welcome(int seat);
    void announceNewcomer(int seat);
    void removeSeat(int seat, const std::string &why);
    // Frees a seat without telling anyone; the account that sat there.
    std::string vacate(int seat, const std::string &why);
    void seatBots();
    int seatOfAccount(const std::string &account) const;
    void changed();

    TableContext &context_;
    Table table_;
    std::map<ConnectionId, Connection> connections_;
    std::array<Seat, kSeats> seats_;
};

} // namespace tessaroc::tableserver
