#pragma once

#include "ChatGate.h"
#include "FrameDelivery.h"
#include "Referee.h"
#include "Scoring.h"
#include "Seats.h"
#include "ServerFrames.h"

#include "wire/MessageFrame.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessaroc::tableserver {

struct EngineOptions
{
    int bots = 3; // seats taken by computer players: the last ones (8, 4, 2, 1)
    std::uint64_t seed = 1;
    int tableNumber = 1; // the resume value is table x 65536 + hand number
    std::uint8_t playSeconds = 20; // byte 255 of every CmdPlayed
    std::uint8_t roomSeconds = 15; // byte 11 of the login answer
    std::string password; // empty: any password is accepted
    std::uint64_t playerCoins = 10000; // a player's purse when it sits down
    std::uint64_t botCoins = 100000; // a computer player's purse, refilled when short

    // Waits in milliseconds.
    std::int64_t firstHandWaitMs = 15000; // after the fourth seat is filled
    std::int64_t nextHandWaitMs = 20000; // after the result frames
    std::int64_t bidWaitMs = 25000; // before a no call is taken for a player
    std::int64_t playGraceMs = 10000; // after the play seconds, before a pass is taken
    std::int64_t botDelayMinMs = 800;
    std::int64_t botDelayMaxMs = 1500;
    std::int64_t reconnectWaitMs = 90000; // a seat dropped during a hand
    std::int64_t dropBetweenHandsMs = 10000; // a seat dropped between hands
    ChatGate::Limits chat;
    ReplayPace replay;
    // For the client's tests: after this many plays of the first hand (plays
    // that put cards on the table, any seat's), the connection of the person
    // in the lowest seat is closed, once. 0 never.
    int dropSeatAfterPlays = 0;
};

// The record of one hand, for the log and for tests.
struct HandHistory
{
    struct Move
    {
        int seat = 0;
        bool pass = false;
        std::vector<CardCode> cards; // as announced
        rules::PlayKind kind = rules::KindNone;
    };
    enum class Outcome { LandlordWon, FarmersWon, Abandoned };

    int number = 0;
    std::int32_t resumeValue = 0;
    std::array<std::vector<CardCode>, kSeats> dealt;
    std::vector<CardCode> bottom;
    CardCode turnedUp = 0;
    int firstBidder = 0;
    std::vector<std::pair<int, bool>> bids; // seat, called
    int landlord = -1;
    std::vector<Move> moves;
    Outcome outcome = Outcome::Abandoned;
    std::array<frames::SeatResult, kSeats> results{};
};

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

// The table of the local game server: four seats, the ready cycle, the deal,
// the bidding, the tricks and the settlement, the way a table client expects
// them. It is pure logic driven by events: connections, received frames,
// disconnections and the passing of time; what it sends is collected per
// connection and taken by the transport after each event.
class GameEngine
{
public:
    using LogSink = std::function<void(const std::string &)>;
    enum class Phase { BetweenHands, Bidding, Playing };

    explicit GameEngine(EngineOptions options, LogSink log = {});

    // Opens the table: a table of four computer players starts playing.
    void open(std::int64_t nowMs);

    void connected(ConnectionId id, std::int64_t nowMs);
    void received(ConnectionId id, const wire::MessageFrame &frame, std::int64_t nowMs);
    void disconnected(ConnectionId id, std::int64_t nowMs);

    // Runs the earliest timed step due at nowMs (a computer player's move, a
    // waiting time running out, the next hand); false when none is due.
    bool runDue(std::int64_t nowMs);
    std::optional<std::int64_t> nextDeadline() const;

    std::vector<Delivery> takeDeliveries();

    // Makes a seat's player leave with a text shown to it; the hand in
    // progress, if any, is abandoned for the others.
    void forceLeave(int seat, std::string_view textUtf8, std::int64_t nowMs);

    void setHandListener(std::function<void(const HandHistory &)> listener);

    Phase phase() const { return phase_; }
    SeatView seat(int index) const;
    std::optional<int> seatOf(ConnectionId id) const;
    int handsPlayed() const { return handNumber_; }
    // Plays by computer players that the rules refused: always 0 unless the
    // players and the judge disagree.
    int ruleViolations() const { return violations_; }

private:
    enum class ConnectionState { AwaitingLogin, Seated, Detached };
    struct Connection
    {
        ConnectionState state = ConnectionState::AwaitingLogin;
        int seat = -1;
        // A connection whose player has left is closed by the server after a
        // grace time, should the client not close it itself.
        std::optional<std::int64_t> closeAt;
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
        std::vector<CardCode> hand;
        ChatGate chat;
    };

    // Delivery.
    void sendTo(int seat, const wire::MessageFrame &frame);
    void broadcast(const wire::MessageFrame &frame);
    void queue(ConnectionId id, const wire::MessageFrame &frame);
    void closeConnection(ConnectionId id);
    void log(const std::string &line) const;
    std::string seatName(int seat) const;

    // Seating.
    void handleLogin(ConnectionId id, const wire::MessageFrame &frame);
    void handleReconnect(ConnectionId id, const wire::MessageFrame &frame);
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
    bool tableFull() const;
    bool tableReady() const;
    int turnSeat() const;

    // Frames from a seated player.
    void handleSeated(int seat, const wire::MessageFrame &frame);
    void handleReadyOrLeave(int seat, const wire::MessageFrame &frame);
    void handleChat(int seat, const wire::MessageFrame &frame);
    void handleBid(int seat, const wire::MessageFrame &frame);
    void handlePlay(int seat, const wire::MessageFrame &frame);

    // The hand.
    void tryStartHand();
    void startHand();
    void bid(int seat, bool call);
    void announceLandlord(int seat);
    void pass(int seat);
    // Validates and applies a play; on failure returns the reason.
    std::optional<std::string> play(int seat, std::span<const std::uint8_t> ids, int claimedKind);
    void armTurn();
    void turnTimeUp();
    void dropSeatForTests();
    void botMove();
    void endHand(bool landlordWon);
    void abandonHand(const std::string &why);
    void finishHand();
    void refillAndSendShort();
    void sendResults(const std::array<frames::SeatResult, kSeats> &results,
                     std::string_view winnersLine);

    EngineOptions options_;
    LogSink logSink_;
    std::function<void(const HandHistory &)> handListener_;
    SeededRandom random_;
    std::int64_t now_ = 0;

    std::map<ConnectionId, Connection> connections_;
    FrameDelivery delivery_;
    std::array<Seat, kSeats> seats_;

    Phase phase_ = Phase::BetweenHands;
    int handNumber_ = 0;
    std::optional<std::int64_t> handStartAt_;
    bool startWaitOver_ = false;
    std::optional<std::int64_t> turnAt_;
    int violations_ = 0;
    int playsAnnounced_ = 0; // in the first hand, for dropSeatAfterPlays

    // The hand in progress.
    std::int32_t resumeValue_ = 0;
    std::vector<CardCode> bottom_;
    int firstBidder_ = 0;
    int bidder_ = 0;
    int declined_ = 0;
    int landlord_ = -1;
    int turn_ = 0;
    bool mustLead_ = false;
    Play toBeat_;
    int lastPlayer_ = 0;
    int passes_ = 0;
    scoring::Bombs bombs_;
    HandHistory history_;
};

} // namespace tessaroc::tableserver
