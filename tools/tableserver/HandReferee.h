#pragma once

#include "Referee.h"
#include "Scoring.h"
#include "Seating.h"
#include "ServerFrames.h"
#include "TableContext.h"

#include "wire/MessageFrame.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tessaroc::tableserver {

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

// Referees one hand at a time: the deal with its turned-up card, the single
// round of bidding, the bottom cards, the tricks with every play judged by
// the client's own rules, the settlement and the four result frames. Each
// turn has a clock; when it runs out the referee acts for the seat (a
// computer player's move, or for a person no call, a pass or the first lead
// the rules offer), connected or not.
class HandReferee
{
public:
    // AwaitingReturn: the results are out, but a person the tests' switch
    // cut off between them has not had them all; the hand stays open for
    // its return.
    enum class Phase { BetweenHands, Bidding, Playing, AwaitingReturn };

    // What the referee needs of the table around it.
    struct Table
    {
        // After the result frames; settled is false for an abandoned hand.
        std::function<void(bool settled)> handOver;
        // A person's play the rules refuse: it is made to leave.
        std::function<void(int seat)> playRefused;
        // The tests' switch: a person is made to leave with no fault of its
        // own.
        std::function<void(int seat)> madeToLeaveForTests;
    };

    HandReferee(TableContext &context, Seating &seating, Table table);

    // Deals a hand to the four seats and opens the bidding.
    void start();
    void bidFrame(int seat, const wire::MessageFrame &frame);
    void playFrame(int seat, const wire::MessageFrame &frame);
    // Ends the hand in progress for everyone, with no winner; a hand whose
    // results are out and only await a player's return is just closed.
    void abandon(const std::string &why);
    // A player is back in the hand; its turn, if it is its turn, gets time
    // for the frames sent again and a whole clock, once per turn. The player
    // a settled hand awaits closes it.
    void returned(int seat, std::size_t replayed);

    std::optional<std::int64_t> nextDeadline() const;
    // Acts for the seat whose clock ran out at the context's time (or makes
    // a person leave, as the tests asked); false when nothing is due.
    bool runDue();

    Phase phase() const { return phase_; }
    bool inProgress() const { return phase_ != Phase::BetweenHands; }
    int handNumber() const { return handNumber_; }
    std::int32_t resumeValue() const { return resumeValue_; }
    int cardsHeld(int seat) const
    {
        return static_cast<int>(hands_[static_cast<std::size_t>(seat)].size());
    }
    // Plays by computer players that the rules refused: always 0 unless the
    // players and the judge disagree.
    int ruleViolations() const { return violations_; }
    void setHandListener(std::function<void(const HandHistory &)> listener);

private:
    int turnSeat() const;
    void bid(int seat, bool call);
    void announceLandlord(int seat);
    void pass(int seat);
    // Validates and applies a play; on failure returns the reason.
    std::optional<std::string> play(int seat, std::span<const std::uint8_t> ids, int claimedKind);
    void armTurn();
    std::int64_t turnLength() const;
    void turnTimeUp();
    void leadFor(int seat);
    void botMove();
    // After a play is announced: the tests' switches that count plays.
    void afterPlayForTests();
    void dropSeatForTests();
    void forceLeaveForTests();
    // The person the tests' switch cuts off between the first hand's
    // result frames, if any.
    std::optional<int> seatToCutAmidResults() const;
    void endHand(bool landlordWon);
    void closeAwaitedHand(const std::string &why);
    void finish(bool settled);
    // The four result frames to every seat, then the end of the hand; the
    // connection of cutSeat is closed amid them.
    void sendResults(const std::array<frames::SeatResult, kSeats> &results,
                     std::string_view winnersLine, std::optional<int> cutSeat = std::nullopt);

    TableContext &context_;
    Seating &seating_;
    Table table_;
    SeededRandom random_;
    std::function<void(const HandHistory &)> handListener_;

    Phase phase_ = Phase::BetweenHands;
    int handNumber_ = 0;
    std::optional<std::int64_t> turnAt_;
    bool turnExtended_ = false; // for a player's return, once per turn
    int leadReopens_ = 0;
    int violations_ = 0;
    int playsAnnounced_ = 0; // in the first hand, for the tests' switches
    // The forced leave the tests asked for, due right after the play that
    // armed it: as an event of its own, never inside the play's handling.
    std::optional<std::int64_t> forceLeaveAt_;
    // The person a settled hand stays open for (AwaitingReturn).
    std::optional<int> awaitedSeat_;

    // The hand in progress.
    std::array<std::vector<CardCode>, kSeats> hands_;
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
