// Sequences of server frames through the dispatcher of a whole table: the
// real play flow, settlement, chat and sound behind it, the table window laid
// out offscreen. The frames are built from the input but lean toward the ones
// a server sends: known commands, seat bits, cards of the real two packs,
// counts in range, and now and then a whole hand (four users, a deal, the
// bids, the plays, four result frames and the end of the hand). Any frame may
// then have a few of its bytes overwritten. Whatever comes, nothing faults or
// hangs, the tables keep their bounds, and an ending is followed by a client
// put back at the table.
#include "Cards.h"
#include "FuzzCheck.h"
#include "WholeTableClient.h"

#include "wire/ChatFrame.h"
#include "wire/ReceivedFrames.h"

#include <QApplication>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace tessaroc;
using rules::CardCode;
using wire::MessageFrame;

namespace {

// Both live until the process ends: the client's windows must never outlive
// the application object in the exit handlers.
QApplication *app = nullptr;
offscreen::WholeTableClient *client = nullptr;

// A whole run of hands fills the records file one section per hand; after
// this many the client starts afresh on an empty file, as a new session would.
constexpr int kHandsPerSession = 64;

class Input
{
public:
    Input(const std::uint8_t *data, std::size_t size)
        : data_(data)
        , size_(size)
    { }
    bool more() const { return at_ < size_; }
    std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    int below(int n) { return byte() % n; }
    std::uint32_t u32()
    {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v = v << 8 | byte();
        return v;
    }
    // Up to n bytes of the input as text (any bytes at all).
    std::string text(std::size_t n)
    {
        n = std::min<std::size_t>(n, size_ - std::min(at_, size_));
        std::string s(reinterpret_cast<const char *>(data_ + at_), n);
        at_ += n;
        return s;
    }

private:
    const std::uint8_t *data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

constexpr std::array<std::uint8_t, 4> kSeatBits = {1, 2, 4, 8};

std::uint8_t seatBit(int index)
{
    return kSeatBits[static_cast<std::size_t>(index & 3)];
}

int seatIndex(std::uint8_t bit)
{
    return bit == 1 ? 0 : bit == 2 ? 1 : bit == 4 ? 2 : 3;
}

// Mostly one seat bit; now and then a byte with other bits set, or none.
std::uint8_t seat(Input &in)
{
    const std::uint8_t b = in.byte();
    if (b < 0xF0)
        return seatBit(b);
    return b & 1 ? in.byte() : 0;
}

// Mostly a card of the two packs; now and then any four bytes.
CardCode card(Input &in)
{
    const std::uint8_t b = in.byte();
    if (b < 216)
        return tableserver::kDeck[b % tableserver::kDeckSize];
    return static_cast<CardCode>(in.u32());
}

std::uint8_t count(Input &in)
{
    const std::uint8_t b = in.byte();
    return b < 0xF8 ? static_cast<std::uint8_t>(b % (rules::kMaxHandCards + 1)) : in.byte();
}

const char *const kAccounts[] = {"a", "b", "c", "d"};

std::string account(Input &in)
{
    const int i = in.below(6);
    if (i < 4)
        return kAccounts[i];
    return i == 4 ? std::string() : in.text(in.below(20));
}

// Chat texts: plain, with whisper and filtered words, long, and any bytes.
std::string chatText(Input &in)
{
    static const char *const kLines[]
            = {"你好",
               "快点吧，我等到花儿也谢了",
               "/a 悄悄话",
               "操你",
               "TMD 法轮功",
               "123456789012345678901234567890123456789012345678901234567890",
               "",
               ":)",
               "哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈"
               "哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈哈"};
    const int i = in.below(12);
    if (i < 9)
        return kLines[i];
    return in.text(in.below(220));
}

// A few bytes overwritten at any place of the frame.
void mutate(MessageFrame &frame, Input &in)
{
    const int n = in.below(4);
    for (int i = 0; i < n; ++i) {
        const std::size_t pos
                = (static_cast<std::size_t>(in.byte()) << 8 | in.byte()) % wire::kFrameSize;
        frame.setByte(pos, in.byte());
    }
}

void checkRow(const core::PlayState::CardPictureRow &row)
{
    const int n = row[core::PlayState::kCountColumn];
    fuzzCheck(n >= 0 && n <= rules::kMaxHandCards);
}

void checkBounds(const offscreen::WholeTableClient &c)
{
    const core::TableState &state = c.state;
    for (const auto &hand : state.rules.HandRecords)
        fuzzCheck(hand.cardCount >= 0 && hand.cardCount <= rules::kMaxHandCards);
    fuzzCheck(state.loop.PlayersPresent >= 0);
    fuzzCheck(state.core.LandlordPos >= -1 && state.core.LandlordPos <= 3);
    fuzzCheck(state.core.BubbleSeat >= 0 && state.core.BubbleSeat <= 3);
    for (const auto &row : state.play.TableCards)
        checkRow(row);
    for (const auto &row : state.play.PrevTableCards)
        checkRow(row);
    fuzzCheck(c.settlement.collector().count() >= 0
              && c.settlement.collector().count() <= settlement::ResultCollector::kFrames);
    fuzzCheck(state.settlement.JuNum >= 0);
}

void deliver(const MessageFrame &frame)
{
    client->dispatch(frame);
    checkBounds(*client);
    client->runEvents();
    if (client->ended() || !client->mainLoopRunning())
        client->revive();
    if (client->state.settlement.JuNum > kHandsPerSession) {
        client->settlement.DeleteHandRecords();
        client->state.settlement.JuNum = 0;
    }
}

// The server answers one login per connection. Every login answer built here
// comes on a connection of its own; a raw frame under the login command meets
// a connection that has had its answer.
void newConnection()
{
    client->state.loop.LoginAnswered = false;
}

// Every built frame goes out through here: one in eight has bytes changed.
void send(MessageFrame frame, Input &in)
{
    if (in.below(8) == 0)
        mutate(frame, in);
    deliver(frame);
}

MessageFrame userInfo(Input &in, std::uint8_t recipient, std::uint8_t described)
{
    static const char *const kFaces[] = {"m1", "m10", "w3", "w10", "", "x9"};
    wire::UserInfoFrame info;
    info.recipientSeat = recipient;
    const int who = seatIndex(described & 0x0F);
    info.account = in.below(8) ? kAccounts[who] : account(in);
    info.nickname = in.below(4) ? info.account + "的昵称" : in.text(in.below(40));
    info.face = kFaces[in.below(6)];
    info.sex = in.byte();
    info.location = "北京";
    info.points = in.u32();
    info.coins = in.below(4) ? 30000 : (std::uint64_t{in.u32()} << 32 | in.u32());
    info.title = "新手";
    info.tag = in.below(2) ? "会员" : "";
    info.wins = static_cast<std::int32_t>(in.u32());
    info.losses = static_cast<std::int32_t>(in.u32());
    info.ready = in.below(2);
    info.extraNumber5 = described;
    info.wealth = in.below(4) ? 0 : static_cast<std::int32_t>(in.u32());
    info.showCardNote = in.below(4) == 0;
    info.itemSwitch = in.byte();
    return info.encode();
}

MessageFrame deal(Input &in, std::uint8_t recipient, const std::vector<CardCode> &cards,
                  std::uint8_t form)
{
    wire::DealFrame d;
    d.seat = recipient;
    d.form = form;
    d.rowCount = in.below(4) ? static_cast<std::uint8_t>(cards.size()) : count(in);
    d.shownCardSeat = seat(in);
    std::copy_n(cards.begin(), std::min<std::size_t>(cards.size(), d.codes.size()),
                d.codes.begin());
    const CardCode shown = card(in);
    d.shownFace = static_cast<std::uint8_t>(rules::cardFace(shown));
    d.shownSuitBit = static_cast<std::uint8_t>(rules::cardSuitBits(shown));
    d.showCardDouble = in.below(4) ? 0 : in.byte();
    d.resumeValue = static_cast<std::int32_t>(in.u32());
    MessageFrame frame = d.encode();
    frame.setSeatBit(recipient);
    return frame;
}

MessageFrame played(std::uint8_t mover, std::uint8_t next, std::uint8_t trick,
                    const std::vector<CardCode> &cards, std::uint8_t kind, std::uint8_t seconds)
{
    wire::PlayedFrame p;
    p.mover = mover;
    p.next = next;
    p.trickCode = trick;
    p.cardCount = static_cast<std::uint8_t>(std::min<std::size_t>(cards.size(), 255));
    std::copy_n(cards.begin(), std::min<std::size_t>(cards.size(), p.codes.size()),
                p.codes.begin());
    p.kind = kind;
    p.seconds = seconds;
    return p.encode();
}

// The kind a server names for n cards of one face.
std::uint8_t kindOfGroup(std::size_t n)
{
    switch (n) {
    case 1:
        return rules::KindSingle;
    case 2:
        return rules::KindPair;
    case 3:
        return rules::KindTriple;
    default:
        return static_cast<std::uint8_t>(
                rules::bombKind(static_cast<int>(std::min<std::size_t>(n, 8))));
    }
}

wire::HandResultFrame resultOf(Input &in, std::uint8_t seatByte, bool landlord,
                               const std::vector<CardCode> &left)
{
    wire::HandResultFrame r;
    r.seat = seatByte;
    r.stake = in.below(4) ? 100 : static_cast<std::int32_t>(in.u32());
    r.cashUnit = static_cast<std::uint8_t>(in.below(3));
    r.cardsLeft = static_cast<std::uint8_t>(std::min<std::size_t>(left.size(), 255));
    std::copy_n(left.begin(), std::min<std::size_t>(left.size(), r.codes.size()), r.codes.begin());
    r.bidKind = static_cast<std::uint8_t>(in.below(4));
    r.landlord = landlord;
    r.outcome = static_cast<std::uint8_t>(in.below(4));
    const bool wild = in.below(4) == 0;
    r.total = wild ? (std::uint64_t{in.u32()} << 32 | in.u32()) : in.below(200) * 100;
    r.finalAmount = wild ? (std::uint64_t{in.u32()} << 32 | in.u32()) : r.total;
    r.level = in.byte() % 48;
    r.bidMultiplier = in.byte();
    r.multiplierSide = in.byte();
    r.dealer = in.byte();
    r.amount1Sign = static_cast<std::uint8_t>(in.below(3));
    r.amount1 = wild ? in.u32() : r.total;
    r.amount2Sign = static_cast<std::uint8_t>(in.below(3));
    r.amount2 = wild ? in.u32() : r.total;
    r.baseSign = static_cast<std::uint8_t>(in.below(3));
    r.base = in.below(1000);
    r.capped = in.below(4) == 0;
    r.winnersLine = in.below(4) ? "地主胜" : in.text(in.below(24));
    return r;
}

// Four result frames: mostly one per seat, now and then a seat twice.
void resultSet(Input &in, int landlord, const std::array<std::vector<CardCode>, 4> &hands)
{
    const bool distinct = in.below(4) != 0;
    for (int i = 0; i < 4; ++i) {
        const int s = distinct ? i : in.below(4);
        send(resultOf(in, seatBit(s), s == landlord, hands[static_cast<std::size_t>(s)]).encode(),
             in);
    }
}

// A whole hand as a server plays it, its choices taken from the input.
void wholeHand(Input &in)
{
    const int own = in.below(4);
    const std::uint8_t ownBit = seatBit(own);
    wire::LoginAnswerFrame login;
    login.result = wire::kLoginAccepted;
    login.turnSeconds = static_cast<std::uint8_t>(10 + in.below(30));
    newConnection();
    send(login.encode(), in);
    for (int i = 0; i < 4; ++i)
        send(userInfo(in, ownBit, seatBit((own + i) & 3)), in);
    for (int i = 0; i < 4; ++i) {
        wire::ReadyFrame ready;
        ready.ready = 1;
        ready.account = kAccounts[(own + i) & 3];
        send(ready.encode(), in);
    }

    std::array<CardCode, tableserver::kDeckSize> deck = tableserver::kDeck;
    for (std::size_t i = deck.size() - 1; i > 0; --i)
        std::swap(deck[i], deck[in.byte() % (i + 1)]);
    std::array<std::vector<CardCode>, 4> hands;
    for (int s = 0; s < 4; ++s)
        hands[static_cast<std::size_t>(s)].assign(deck.begin() + s * tableserver::kHandSize,
                                                  deck.begin() + (s + 1) * tableserver::kHandSize);
    const std::vector<CardCode> bottom(deck.end() - tableserver::kBottomSize, deck.end());
    send(deal(in, ownBit, hands[static_cast<std::size_t>(own)], wire::kDealHandStart), in);

    // The bids: the first bidder opens, some pass, one calls.
    const int first = in.below(4);
    wire::BidTurnFrame bid;
    bid.nextBidder = seatBit(first);
    send(bid.encode(), in);
    int bidder = first;
    for (int passes = in.below(4); passes > 0; --passes) {
        bid.bidder = seatBit(bidder);
        bidder = (bidder + 1) & 3;
        bid.nextBidder = seatBit(bidder);
        bid.bid = 0;
        send(bid.encode(), in);
    }
    const int landlord = bidder;
    bid.bidder = bid.nextBidder = seatBit(landlord);
    bid.bid = 1;
    send(bid.encode(), in);
    auto &landlordHand = hands[static_cast<std::size_t>(landlord)];
    landlordHand.insert(landlordHand.end(), bottom.begin(), bottom.end());
    send(deal(in, seatBit(landlord), bottom, wire::kDealBottomCards), in);
    const std::uint8_t seconds = static_cast<std::uint8_t>(in.below(40));
    send(played(seatBit(landlord), seatBit(landlord), 1, {}, 0, seconds), in);

    // The plays: each seat plays a group of one face or passes; three passes
    // in a row end the trick.
    int turn = landlord;
    int passes = 0;
    for (int moves = 0; moves < 200 && in.more(); ++moves) {
        auto &hand = hands[static_cast<std::size_t>(turn)];
        const bool pass = passes < 3 && in.below(3) == 0;
        const int next = (turn + 1) & 3;
        if (pass) {
            ++passes;
            const bool trickEnds = passes == 3;
            send(played(seatBit(turn), seatBit(next), trickEnds ? 1 : 0, {}, 0, seconds), in);
            turn = next;
            if (trickEnds)
                passes = 0;
            continue;
        }
        passes = 0;
        const CardCode lead = hand[static_cast<std::size_t>(in.byte()) % hand.size()];
        std::vector<CardCode> group;
        std::vector<CardCode> rest;
        const std::size_t most = 1 + in.below(8);
        for (const CardCode c : hand)
            (rules::cardFace(c) == rules::cardFace(lead) && group.size() < most ? group : rest)
                    .push_back(c);
        hand = rest;
        const bool last = hand.empty();
        send(played(seatBit(turn), last ? 0 : seatBit(next), 0, group, kindOfGroup(group.size()),
                    seconds),
             in);
        if (last)
            break;
        turn = next;
    }
    resultSet(in, landlord, hands);
    send(wire::ReadyOrLeaveNoticeFrame{}.encode(), in);
}

constexpr std::array<std::uint8_t, 15> kCommands
        = {wire::CmdDeal,         wire::CmdBidTurn,     wire::CmdPlayed, wire::CmdHandResult,
           wire::CmdReadyOrLeave, wire::CmdLogin,       wire::CmdChat,   wire::CmdUserInfo,
           wire::CmdUserLeft,     wire::CmdForcedLeave, wire::CmdReady,  wire::CmdReconnectAnswer,
           wire::CmdProp44,       wire::CmdProp45,      wire::CmdProp46};

// One frame of any command, its fields from the input.
void oneFrame(Input &in)
{
    switch (in.below(14)) {
    case 0: {
        // Raw bytes under a known command (now and then any command).
        MessageFrame frame;
        const std::string bytes = in.text(wire::kFrameSize);
        std::memcpy(frame.data(), bytes.data(), bytes.size());
        const std::uint8_t b = in.byte();
        frame.setCmd(b < 0xF0 ? kCommands[b % kCommands.size()] : in.byte());
        deliver(frame);
        break;
    }
    case 1: {
        const std::uint8_t recipient = seat(in);
        send(userInfo(in, recipient, seat(in)), in);
        break;
    }
    case 2: {
        std::vector<CardCode> cards(count(in));
        for (auto &c : cards)
            c = card(in);
        const std::uint8_t b = in.byte();
        const std::uint8_t form = b < 0x80 ? wire::kDealHandStart
                : b < 0xF0                 ? wire::kDealBottomCards
                                           : in.byte();
        send(deal(in, seat(in), cards, form), in);
        break;
    }
    case 3: {
        wire::BidTurnFrame bid;
        bid.nextBidder = seat(in);
        bid.bid = static_cast<std::uint8_t>(in.below(3));
        bid.bidder = seat(in);
        send(bid.encode(), in);
        break;
    }
    case 4:
    case 5: {
        std::vector<CardCode> cards(count(in));
        for (auto &c : cards)
            c = card(in);
        const std::uint8_t mover = seat(in);
        const std::uint8_t next = in.below(8) ? seat(in) : 0;
        const std::uint8_t kind = in.below(8) ? static_cast<std::uint8_t>(in.below(15)) : in.byte();
        MessageFrame frame = played(mover, next, static_cast<std::uint8_t>(in.below(3)), cards,
                                    kind, in.byte());
        if (in.below(8) == 0)
            frame.setByte(wire::offset::kArg17, in.byte()); // a count that is not the cards'
        send(frame, in);
        break;
    }
    case 6: {
        std::vector<CardCode> left(count(in));
        for (auto &c : left)
            c = card(in);
        send(resultOf(in, seat(in), in.below(4) == 0, left).encode(), in);
        break;
    }
    case 7: {
        std::array<std::vector<CardCode>, 4> hands;
        for (auto &hand : hands) {
            hand.resize(in.below(6) ? count(in) % 4 : count(in));
            for (auto &c : hand)
                c = card(in);
        }
        resultSet(in, in.below(4), hands);
        break;
    }
    case 8: {
        wire::ChatFrame chat;
        chat.sender = in.below(6) ? seat(in) : 0;
        chat.phraseList = static_cast<std::uint8_t>(in.below(4) ? 0 : in.below(4));
        chat.phraseNo = chat.phraseList ? in.byte() % 40 : 0;
        chat.whisperTo = in.below(4) ? 0 : seat(in);
        chat.text = chatText(in);
        chat.kindWord = in.below(16) ? 0 : in.u32();
        MessageFrame frame = chat.encode();
        if (in.below(16) == 0) {
            // Text bytes straight into the frame: any GBK at all, unended.
            const std::string raw = in.text(200);
            std::memcpy(frame.data() + 16, raw.data(), raw.size());
        }
        send(frame, in);
        break;
    }
    case 9: {
        wire::ReadyOrLeaveNoticeFrame notice;
        notice.mode = static_cast<std::uint8_t>(in.below(5));
        notice.shortSeats = in.byte() & 0x0F;
        notice.flags = in.byte();
        notice.shufflingNow = static_cast<std::uint8_t>(in.below(2));
        notice.wealthMultiplier = in.below(2) ? 0 : static_cast<std::int32_t>(in.u32());
        send(notice.encode(), in);
        break;
    }
    case 10: {
        wire::ReadyFrame ready;
        ready.ready = static_cast<std::uint8_t>(in.below(3));
        ready.account = account(in);
        send(ready.encode(), in);
        break;
    }
    case 11: {
        wire::UserLeftFrame left;
        left.firstLetterRaised = in.below(4) == 0;
        left.clockKind = static_cast<std::uint8_t>(in.below(3));
        left.account = account(in);
        send(left.encode(), in);
        break;
    }
    case 12: {
        wire::LoginAnswerFrame login;
        login.result = static_cast<std::uint8_t>(in.below(4));
        login.turnSeconds = in.byte();
        login.advertAddress = in.below(2) ? "" : in.text(in.below(100));
        newConnection();
        send(login.encode(), in);
        break;
    }
    case 13: {
        // The rarer ones: a reconnect answer, an item frame, a forced leave.
        const int which = in.below(16);
        if (which < 7) {
            wire::ReconnectAnswerFrame answer;
            answer.result = static_cast<std::uint8_t>(in.below(3));
            send(answer.encode(), in);
        } else if (which < 15) {
            wire::ItemFrame item;
            item.command = static_cast<std::uint8_t>(wire::CmdProp44 + in.below(3));
            item.subKind = static_cast<std::uint16_t>(in.byte());
            send(item.encode(), in);
        } else {
            wire::ForcedLeaveFrame leave;
            leave.text = chatText(in);
            send(leave.encode(), in);
        }
        break;
    }
    }
}

} // namespace

// What the system libraries keep for the life of the process is no leak of
// ours: the font configuration behind the table's fonts, and Qt WebEngine
// (the web panels a login answer or a hand's end opens), with the udev monitor
// it starts; likewise Qt Multimedia's sample cache. The same list as the
// asan preset's tests/lsan.supp.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n"
           "leak:libQt6WebEngineCore.so\n"
           "leak:libudev.so\n"
           "leak:QSample::load\n"
           "leak:QSampleCache::QSampleCache\n";
}

// Qt WebEngine frees objects of its own through a pointer of another type
// when a web panel's page goes (inside libQt6WebEngineCore only). The check
// has no suppression by library, so it is off here as it is for the asan
// preset's tests. Every input paints a whole table and frees its pictures
// again, so the default quarantine of freed memory (256 MB) would hold the
// process at some 800 MB and halve its speed; 64 MB still catches a use of
// what the last few inputs freed.
extern "C" const char *__asan_default_options()
{
    return "new_delete_type_mismatch=0:quarantine_size_mb=64";
}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("TESSAROC_NONINTERACTIVE", "1", 1);
    app = new QApplication(*argc, *argv);
    client = new offscreen::WholeTableClient;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Input in(data, size);
    while (in.more()) {
        if (in.below(16) == 0)
            wholeHand(in);
        else
            oneFrame(in);
    }
    return 0;
}
