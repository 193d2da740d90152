#pragma once

#include "Cards.h"
#include "Seats.h"

#include "wire/MessageFrame.h"

#include <array>
#include <optional>
#include <set>
#include <string>
#include <vector>

// Checks every frame one client receives against what a well-behaved server
// owes it: whole commands the client knows, clean seat fields, real cards
// with unique ids, card counts that match the client's own counting, the
// order of a hand (deal, bidding, bottom cards, the opening, tricks, four
// results, end of hand), top bytes below 128, and the echo numbering.
namespace tessaroc::tableserver::testing {

class PeerChecker
{
public:
    void check(const wire::MessageFrame &frame);

    const std::vector<std::string> &violations() const { return violations_; }
    int handsFinished() const { return handsFinished_; }
    // The result frames of every finished hand, in arrival order.
    const std::vector<std::vector<wire::MessageFrame>> &resultSets() const { return resultSets_; }

private:
    void fail(const wire::MessageFrame &frame, const std::string &what);
    void checkCard(const wire::MessageFrame &frame, CardCode card, const char *where);
    void checkEcho(const wire::MessageFrame &frame);
    void checkUserInfo(const wire::MessageFrame &frame);
    void checkDeal(const wire::MessageFrame &frame);
    void checkBidTurn(const wire::MessageFrame &frame);
    void checkPlayed(const wire::MessageFrame &frame);
    void checkResult(const wire::MessageFrame &frame);
    void checkReadyOrLeave(const wire::MessageFrame &frame);

    std::vector<std::string> violations_;
    std::uint8_t own_ = 0;
    std::optional<std::uint16_t> lastSequence_;
    bool inHand_ = false;
    int bidFrames_ = 0;
    int landlord_ = -1;
    bool bottomDealt_ = false;
    int playedFrames_ = 0;
    bool handEnded_ = false; // the hand-ending play was announced
    std::array<int, kSeats> counts_{};
    std::set<int> dealtIds_;
    std::vector<wire::MessageFrame> results_;
    std::vector<std::vector<wire::MessageFrame>> resultSets_;
    int handsFinished_ = 0;
    std::uint64_t frames_ = 0;
};

} // namespace tessaroc::tableserver::testing
