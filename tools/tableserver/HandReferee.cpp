#include "HandReferee.h"

#include "ComputerPlayer.h"

#include "wire/SentFrames.h"

#include <algorithm>
#include <bitset>

namespace tessaroc::tableserver {

using wire::MessageFrame;

namespace {

// A client never passes on a lead opened with code 1; one that does is
// shown its lead again a few times a turn, not once per frame it sends.
constexpr int kLeadReopensPerTurn = 4;

const char *kindName(int kind)
{
    static constexpr std::array<const char *, 15> kNames{
            "no play",          "single",           "pair",
            "triple",           "pair chain",       "triple chain",
            "triple with pair", "plane with pairs", "plane with pairs",
            "bomb of four",     "bomb of five",     "bomb of six",
            "bomb of seven",    "bomb of eight",    "four jokers"};
    return kind >= 0 && kind < static_cast<int>(kNames.size())
            ? kNames[static_cast<std::size_t>(kind)]
            : "unknown kind";
}

std::string sortedFaces(std::vector<CardCode> cards)
{
    std::stable_sort(cards.begin(), cards.end(),
                     [](CardCode a, CardCode b) { return cardFace(a) < cardFace(b); });
    return describeCards(cards);
}

} // namespace

HandReferee::HandReferee(TableContext &context, Seating &seating, Table table)
    : context_(context)
    , seating_(seating)
    , table_(std::move(table))
    , random_(context_.options.seed)
{ }

void HandReferee::setHandListener(std::function<void(const HandHistory &)> listener)
{
    handListener_ = std::move(listener);
}

int HandReferee::turnSeat() const
{
    switch (phase_) {
    case Phase::Bidding:
        return bidder_;
    case Phase::Playing:
        return turn_;
    case Phase::BetweenHands:
    case Phase::AwaitingReturn:
        break;
    }
    return -1;
}

std::optional<std::int64_t> HandReferee::nextDeadline() const
{
    if (forceLeaveAt_ && (!turnAt_ || *forceLeaveAt_ <= *turnAt_))
        return forceLeaveAt_;
    return turnAt_;
}

bool HandReferee::runDue()
{
    if (forceLeaveAt_ && *forceLeaveAt_ <= context_.now) {
        forceLeaveAt_.reset();
        forceLeaveForTests();
        return true;
    }
    if (!turnAt_ || *turnAt_ > context_.now)
        return false;
    turnAt_.reset();
    turnTimeUp();
    return true;
}

void HandReferee::returned(int seat, std::size_t replayed)
{
    if (phase_ == Phase::AwaitingReturn) {
        if (seat == awaitedSeat_)
            closeAwaitedHand(seating_.seatName(seat) + " is back and was sent the rest");
        return;
    }
    if (turnSeat() != seat || !turnAt_ || turnExtended_)
        return;
    // The clock ran on while it was away. A returning player gets the time
    // to take what it missed and a whole clock, once per turn, so that
    // coming and going cannot hold the turn open.
    const auto &pace = context_.options.replay;
    const auto bursts = static_cast<std::int64_t>(replayed) / std::max(pace.burst, 1) + 1;
    turnAt_ = std::max(*turnAt_, context_.now + bursts * pace.intervalMs + turnLength());
    turnExtended_ = true;
}

void HandReferee::bidFrame(int seat, const MessageFrame &frame)
{
    if (phase_ != Phase::Bidding || seat != bidder_) {
        context_.logFrame(seating_.seatName(seat) + " bid out of turn; dropped");
        return;
    }
    const auto answer = frames::readExact<wire::BidFrame>(frame);
    if (!answer) {
        context_.logFrame(seating_.seatName(seat) + " sent a bid the client never builds; dropped");
        return;
    }
    bid(seat, answer->call);
}

void HandReferee::playFrame(int seat, const MessageFrame &frame)
{
    if (phase_ != Phase::Playing || seat != turn_) {
        context_.logFrame(seating_.seatName(seat) + " played out of turn; dropped");
        return;
    }
    const wire::PlayFrame answer = wire::PlayFrame::decode(frame);
    switch (answer.mode) {
    case wire::PlayMode::Pass:
        if (mustLead_) {
            if (leadReopens_ >= kLeadReopensPerTurn) {
                context_.logFrame(seating_.seatName(seat)
                                  + " passed on its own lead again; dropped");
                return;
            }
            ++leadReopens_;
            // Only a lead opened with another trick code lets a client pass;
            // a fresh opening puts the lead back in front of it.
            context_.logFrame(seating_.seatName(seat)
                              + " passed on its own lead; the lead is opened again");
            const int before = (seat + 1) % kSeats;
            // The lead's clock keeps running: passing cannot hold it open.
            context_.delivery.toSeat(seat,
                                     frames::played(seatBit(before), seatBit(seat),
                                                    frames::kTrickLead, {}, 0,
                                                    context_.options.playSeconds));
            return;
        }
        pass(seat);
        return;
    case wire::PlayMode::Cards: {
        const auto ids = answer.cardCount >= 1 && answer.cardCount <= kMaxHand
                ? answer.ids()
                : std::span<const std::uint8_t>{};
        if (const auto error = play(seat, ids, answer.kind)) {
            context_.log(seating_.seatName(seat) + " sent a play the rules refuse: " + *error);
            table_.playRefused(seat);
        }
        return;
    }
    default:
        context_.log(seating_.seatName(seat) + " sent a play frame of mode "
                     + std::to_string(static_cast<int>(answer.mode)));
        table_.playRefused(seat);
        return;
    }
}

void HandReferee::start()
{
    ++handNumber_;
    resumeValue_ = context_.options.tableNumber * 65536 + (handNumber_ & 0xFFFF);
    std::array<CardCode, kDeckSize> deck = kDeck;
    random_.shuffle(std::span<CardCode>(deck));
    const auto turnedUp = static_cast<int>(random_.below(kSeats * kHandSize));

    history_ = HandHistory{};
    history_.number = handNumber_;
    history_.resumeValue = resumeValue_;
    for (int seat = 0; seat < kSeats; ++seat) {
        auto &hand = hands_[static_cast<std::size_t>(seat)];
        const auto first = deck.begin() + seat * kHandSize;
        hand.assign(first, first + kHandSize);
        history_.dealt[static_cast<std::size_t>(seat)] = hand;
    }
    seating_.handStarted();
    bottom_.assign(deck.begin() + kSeats * kHandSize, deck.end());
    firstBidder_ = turnedUp / kHandSize;
    history_.bottom = bottom_;
    history_.turnedUp = deck[static_cast<std::size_t>(turnedUp)];
    history_.firstBidder = firstBidder_;

    phase_ = Phase::Bidding;
    context_.delivery.startHandLog();
    bidder_ = firstBidder_;
    declined_ = 0;
    landlord_ = -1;
    toBeat_ = Play{};
    passes_ = 0;
    bombs_ = {};

    context_.log("hand " + std::to_string(handNumber_) + " (resume value "
                 + std::to_string(resumeValue_) + ") dealt; "
                 + faceText(cardFace(history_.turnedUp)) + " turned up for "
                 + seating_.seatName(firstBidder_) + ", who bids first");
    for (int seat = 0; seat < kSeats; ++seat)
        context_.log("  " + seating_.seatName(seat) + ": "
                     + sortedFaces(hands_[static_cast<std::size_t>(seat)]));
    context_.log("  bottom: " + sortedFaces(bottom_));

    for (int seat = 0; seat < kSeats; ++seat)
        context_.delivery.toSeat(
                seat,
                frames::handStartDeal(seatBit(seat), hands_[static_cast<std::size_t>(seat)],
                                      seatBit(firstBidder_), history_.turnedUp, resumeValue_));
    context_.delivery.toAll(frames::bidTurn(seatBit(firstBidder_), 0, 0));
    armTurn();
}

void HandReferee::bid(int seat, bool call)
{
    turnAt_.reset();
    history_.bids.emplace_back(seat, call);
    context_.log(seating_.seatName(seat) + (call ? " calls" : " does not call"));
    if (call) {
        announceLandlord(seat);
        return;
    }
    if (++declined_ == kSeats) {
        context_.log("nobody called; the first bidder takes the bottom cards");
        announceLandlord(firstBidder_);
        return;
    }
    bidder_ = nextSeat(seat);
    context_.delivery.toAll(frames::bidTurn(seatBit(bidder_), 0, seatBit(seat)));
    armTurn();
}

void HandReferee::announceLandlord(int seat)
{
    landlord_ = seat;
    history_.landlord = seat;
    context_.delivery.toAll(frames::bidTurn(seatBit(seat), 1, seatBit(seat)));
    auto &hand = hands_[static_cast<std::size_t>(seat)];
    hand.insert(hand.end(), bottom_.begin(), bottom_.end());
    context_.delivery.toAll(frames::bottomDeal(seatBit(seat), bottom_));
    context_.log(seating_.seatName(seat) + " is the landlord and takes " + sortedFaces(bottom_));

    phase_ = Phase::Playing;
    turn_ = seat;
    mustLead_ = true;
    toBeat_ = Play{};
    lastPlayer_ = seat;
    passes_ = 0;
    // The opening pass shows no bubble and opens the landlord's lead.
    context_.delivery.toAll(frames::played(seatBit(seat), seatBit(seat), frames::kTrickLead, {}, 0,
                                           context_.options.playSeconds));
    armTurn();
}

void HandReferee::pass(int seat)
{
    turnAt_.reset();
    history_.moves.push_back({seat, true, {}, rules::KindNone});
    ++passes_;
    if (passes_ >= kSeats - 1) {
        // The third pass ends the trick: the tables are cleared and the last
        // player leads.
        turn_ = lastPlayer_;
        mustLead_ = true;
        passes_ = 0;
        toBeat_ = Play{};
        context_.log(seating_.seatName(seat) + " passes; the trick goes to "
                     + seating_.seatName(turn_));
        context_.delivery.toAll(frames::played(seatBit(seat), seatBit(turn_), frames::kTrickLead,
                                               {}, 0, context_.options.playSeconds));
    } else {
        turn_ = nextSeat(seat);
        context_.log(seating_.seatName(seat) + " passes");
        context_.delivery.toAll(frames::played(seatBit(seat), seatBit(turn_), frames::kTrickFollow,
                                               {}, 0, context_.options.playSeconds));
    }
    armTurn();
}

std::optional<std::string> HandReferee::play(int seat, std::span<const std::uint8_t> ids,
                                             int claimedKind)
{
    auto &hand = hands_[static_cast<std::size_t>(seat)];
    if (ids.empty())
        return "the card count is not 1 to 33";
    if (ids.size() > hand.size())
        return std::to_string(ids.size()) + " cards played, " + std::to_string(hand.size())
                + " held";

    std::vector<CardCode> cards;
    std::bitset<256> seen;
    for (const std::uint8_t id : ids) {
        if (seen.test(id))
            return "card id " + std::to_string(id) + " given twice";
        seen.set(id);
        const auto held = std::find_if(hand.begin(), hand.end(),
                                       [id](CardCode card) { return cardId(card) == id; });
        if (held == hand.end())
            return "card id " + std::to_string(id) + " is not in the hand";
        cards.push_back(*held);
    }

    const Play judged = judgePlay(cards);
    if (judged.kind == rules::KindNone)
        return describeCards(cards) + " is no play";
    if (judged.kind != claimedKind)
        return "kind " + std::to_string(claimedKind) + " claimed, but " + describeCards(cards)
                + " is a " + kindName(judged.kind);
    if (!mustLead_ && !beats(judged, toBeat_))
        return describeCards(cards) + " does not beat " + describeCards(toBeat_.view());

    turnAt_.reset();
    std::erase_if(hand, [&seen](CardCode card) {
        return seen.test(static_cast<std::size_t>(cardId(card)));
    });
    history_.moves.push_back({seat, false, cards, judged.kind});
    if (judged.kind == rules::KindBomb6)
        ++bombs_.sixCard;
    else if (judged.kind >= rules::KindBomb7)
        ++bombs_.bigOnes;
    toBeat_ = judged;
    lastPlayer_ = seat;
    passes_ = 0;
    mustLead_ = false;
    context_.log(seating_.seatName(seat) + " plays " + kindName(judged.kind) + " "
                 + describeCards(judged.view()) + " (" + std::to_string(hand.size()) + " left)");

    // Ids are announced in the order the client sent them: its judged order.
    if (hand.empty()) {
        context_.delivery.toAll(frames::played(seatBit(seat), 0, frames::kTrickFollow, cards,
                                               static_cast<std::uint8_t>(judged.kind),
                                               context_.options.playSeconds));
        afterPlayForTests();
        endHand(seat == landlord_);
        return std::nullopt;
    }
    turn_ = nextSeat(seat);
    context_.delivery.toAll(frames::played(seatBit(seat), seatBit(turn_), frames::kTrickFollow,
                                           cards, static_cast<std::uint8_t>(judged.kind),
                                           context_.options.playSeconds));
    armTurn();
    afterPlayForTests();
    return std::nullopt;
}

void HandReferee::afterPlayForTests()
{
    const EngineOptions &options = context_.options;
    if (handNumber_ != 1 || (options.dropSeatAfterPlays <= 0 && options.forceLeaveAfterPlays <= 0))
        return;
    ++playsAnnounced_;
    if (playsAnnounced_ == options.dropSeatAfterPlays)
        dropSeatForTests();
    if (playsAnnounced_ == options.forceLeaveAfterPlays)
        forceLeaveAt_ = context_.now;
}

void HandReferee::forceLeaveForTests()
{
    for (int seat = 0; seat < kSeats; ++seat) {
        if (seating_.occupied(seat) && !seating_.isBot(seat) && seating_.isConnected(seat)) {
            context_.log("making " + seating_.seatName(seat) + " leave after "
                         + std::to_string(playsAnnounced_) + " plays, as asked");
            if (table_.madeToLeaveForTests)
                table_.madeToLeaveForTests(seat);
            return;
        }
    }
}

void HandReferee::dropSeatForTests()
{
    for (int seat = 0; seat < kSeats; ++seat) {
        const auto connection = seating_.connectionOf(seat);
        if (seating_.occupied(seat) && !seating_.isBot(seat) && connection) {
            context_.log("closing the connection of " + seating_.seatName(seat) + " after "
                         + std::to_string(playsAnnounced_) + " plays, as asked");
            context_.delivery.close(*connection);
            return;
        }
    }
}

std::optional<int> HandReferee::seatToCutAmidResults() const
{
    if (handNumber_ != 1 || context_.options.dropSeatAfterResults <= 0)
        return std::nullopt;
    for (int seat = 0; seat < kSeats; ++seat) {
        if (seating_.occupied(seat) && !seating_.isBot(seat) && seating_.connectionOf(seat))
            return seat;
    }
    return std::nullopt;
}

void HandReferee::armTurn()
{
    turnAt_.reset();
    turnExtended_ = false;
    leadReopens_ = 0;
    const int seat = turnSeat();
    if (seat < 0)
        return;
    if (seating_.isBot(seat)) {
        turnAt_ = context_.now
                + random_.between(context_.options.botDelayMinMs, context_.options.botDelayMaxMs);
    } else {
        // A client's own clock answers first; the server acts only for a
        // client that has stopped answering or is away.
        turnAt_ = context_.now + turnLength();
    }
}

std::int64_t HandReferee::turnLength() const
{
    const int clockSeconds = context_.options.playSeconds < 2 ? 20 : context_.options.playSeconds;
    return phase_ == Phase::Bidding ? context_.options.bidWaitMs
                                    : clockSeconds * 1000 + context_.options.playGraceMs;
}

void HandReferee::turnTimeUp()
{
    const int seat = turnSeat();
    if (seat < 0)
        return;
    if (seating_.isBot(seat)) {
        botMove();
        return;
    }
    if (phase_ == Phase::Bidding) {
        context_.log(seating_.seatName(seat) + " did not bid in time");
        bid(seat, false);
    } else if (mustLead_) {
        // The lead is played for the seat, the first one the rules offer
        // (its lowest card alone, what the client's own clock would play),
        // so that one seat cannot end every hand by never leading.
        context_.log(seating_.seatName(seat)
                     + " did not lead in time; its first lead is played for it");
        leadFor(seat);
    } else {
        context_.log(seating_.seatName(seat) + " did not play in time");
        pass(seat);
    }
}

void HandReferee::leadFor(int seat)
{
    const std::vector<CardCode> &hand = hands_[static_cast<std::size_t>(seat)];
    if (hand.empty())
        return;
    const std::optional<Play> lead = bot::lead(hand);
    std::vector<std::uint8_t> ids;
    int kind = rules::KindSingle;
    if (lead) {
        for (const CardCode card : lead->view())
            ids.push_back(static_cast<std::uint8_t>(cardId(card)));
        kind = lead->kind;
    } else {
        ids.push_back(static_cast<std::uint8_t>(cardId(hand.front())));
    }
    if (play(seat, ids, kind)) {
        ++violations_;
        const std::uint8_t single[] = {static_cast<std::uint8_t>(cardId(hand.front()))};
        play(seat, single, rules::KindSingle);
    }
}

void HandReferee::botMove()
{
    const int seat = turnSeat();
    const std::vector<CardCode> &hand = hands_[static_cast<std::size_t>(seat)];
    if (phase_ == Phase::Bidding) {
        bid(seat, bot::wantsToCall(hand));
        return;
    }
    const bool partners = seat != landlord_ && lastPlayer_ != landlord_;
    const std::optional<Play> choice
            = mustLead_ ? bot::lead(hand) : bot::follow(hand, toBeat_, partners);
    if (!choice) {
        pass(seat);
        return;
    }
    std::vector<std::uint8_t> ids;
    for (const CardCode card : choice->view())
        ids.push_back(static_cast<std::uint8_t>(cardId(card)));
    const auto error = play(seat, ids, choice->kind);
    if (!error)
        return;
    ++violations_;
    context_.log("rules violation by " + seating_.seatName(seat) + ": " + *error);
    if (!mustLead_) {
        pass(seat);
        return;
    }
    const std::uint8_t single[] = {static_cast<std::uint8_t>(cardId(hand.front()))};
    play(seat, single, rules::KindSingle);
}

void HandReferee::sendResults(const std::array<frames::SeatResult, kSeats> &results,
                              std::string_view winnersLine, std::optional<int> cutSeat)
{
    const std::string line(winnersLine);
    for (int seat = 0; seat < kSeats; ++seat) {
        int sent = 0;
        for (const auto &result : results) {
            context_.delivery.toSeat(seat, frames::handResult(result, scoring::kStake, line));
            if (seat != cutSeat || ++sent != context_.options.dropSeatAfterResults)
                continue;
            // The frames after these are logged for the seat and sent again
            // when it comes back.
            context_.log("closing the connection of " + seating_.seatName(seat) + " after "
                         + std::to_string(sent) + " result frames, as asked");
            if (const auto connection = seating_.connectionOf(seat))
                context_.delivery.close(*connection);
        }
    }
    context_.delivery.toAll(frames::endOfHand());
}

void HandReferee::endHand(bool landlordWon)
{
    turnAt_.reset();
    std::array<std::uint64_t, kSeats> coins{};
    for (int seat = 0; seat < kSeats; ++seat)
        coins[static_cast<std::size_t>(seat)] = seating_.user(seat).coins;
    const auto settled = scoring::settle(landlord_, landlordWon, coins, scoring::kStake, bombs_);

    std::array<frames::SeatResult, kSeats> results{};
    std::string summary;
    for (int seat = 0; seat < kSeats; ++seat) {
        frames::UserInfo &user = seating_.user(seat);
        const auto &settlement = settled[static_cast<std::size_t>(seat)];
        auto &result = results[static_cast<std::size_t>(seat)];
        result.seat = seatBit(seat);
        result.landlord = seat == landlord_;
        result.outcome = settlement.won ? frames::kOutcomeWin : frames::kOutcomeLoss;
        result.sign = settlement.won ? 1 : 2;
        result.subtotal = settlement.subtotal;
        result.total = settlement.total;
        result.capped = settlement.capped;
        result.cardsLeft = hands_[static_cast<std::size_t>(seat)];
        if (settlement.won) {
            user.coins += settlement.total;
            ++user.wins;
        } else {
            user.coins -= std::min(user.coins, settlement.total);
            ++user.losses;
        }
        result.level = scoring::levelForWins(user.wins);
        summary += " " + user.account + (settlement.won ? " +" : " -")
                + std::to_string(settlement.total);
    }
    history_.outcome
            = landlordWon ? HandHistory::Outcome::LandlordWon : HandHistory::Outcome::FarmersWon;
    history_.results = results;
    context_.log("hand " + std::to_string(handNumber_) + ": "
                 + (landlordWon ? "the landlord" : "the farmers") + " win, unit "
                 + std::to_string(scoring::handUnit(scoring::kStake, bombs_)) + ";" + summary);
    const std::optional<int> cut = seatToCutAmidResults();
    sendResults(results, landlordWon ? "地主获胜" : "农民获胜", cut);
    if (cut) {
        // The hand is settled, but the person cut off has not had all its
        // results: its reconnection resumes this hand, not a fresh login.
        phase_ = Phase::AwaitingReturn;
        awaitedSeat_ = cut;
        context_.log("hand " + std::to_string(handNumber_) + " stays open for "
                     + seating_.seatName(*cut) + " to come back for its results");
        return;
    }
    finish(true);
}

void HandReferee::closeAwaitedHand(const std::string &why)
{
    awaitedSeat_.reset();
    context_.log("hand " + std::to_string(handNumber_) + " is over: " + why);
    finish(true);
}

void HandReferee::abandon(const std::string &why)
{
    if (phase_ == Phase::AwaitingReturn) {
        closeAwaitedHand(why);
        return;
    }
    turnAt_.reset();
    context_.log("hand " + std::to_string(handNumber_) + " abandoned: " + why);
    std::array<frames::SeatResult, kSeats> results{};
    for (int seat = 0; seat < kSeats; ++seat) {
        auto &result = results[static_cast<std::size_t>(seat)];
        result.seat = seatBit(seat);
        result.landlord = seat == landlord_;
        result.outcome = frames::kOutcomeAbandoned;
        result.cardsLeft = hands_[static_cast<std::size_t>(seat)];
    }
    history_.outcome = HandHistory::Outcome::Abandoned;
    history_.results = results;
    sendResults(results, {});
    finish(false);
}

void HandReferee::finish(bool settled)
{
    phase_ = Phase::BetweenHands;
    context_.delivery.stopHandLog();
    turnAt_.reset();
    for (auto &hand : hands_)
        hand.clear();
    if (handListener_)
        handListener_(history_);
    if (table_.handOver)
        table_.handOver(settled);
}

} // namespace tessaroc::tableserver
