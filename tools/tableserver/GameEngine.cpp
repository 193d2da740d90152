#include "GameEngine.h"

#include "ComputerPlayer.h"

#include "wire/GbkText.h"

#include <algorithm>
#include <bitset>

namespace tessaroc::tableserver {

using wire::MessageFrame;

namespace {

constexpr std::int64_t kDetachedCloseMs = 10000;
// A client sends its login as soon as its socket connects; a connection that
// stays silent longer is not a client.
constexpr std::int64_t kLoginWaitMs = 30000;
constexpr std::uint8_t kUserLeftClock10s = 1;

struct BotProfile
{
    const char *account;
    const char *nickname;
    const char *face;
    std::uint8_t sex;
};

constexpr std::array<BotProfile, kSeats> kBotProfiles{{
        {"bot1", "电脑一号", "m3", 1},
        {"bot2", "电脑二号", "w2", 0},
        {"bot3", "电脑三号", "m6", 1},
        {"bot4", "电脑四号", "w5", 0},
}};

const char *kindName(int kind)
{
    static constexpr std::array<const char *, 15> names{
            "no play",          "single",           "pair",
            "triple",           "pair chain",       "triple chain",
            "triple with pair", "plane with pairs", "plane with pairs",
            "bomb of four",     "bomb of five",     "bomb of six",
            "bomb of seven",    "bomb of eight",    "four jokers"};
    return kind >= 0 && kind < static_cast<int>(names.size())
            ? names[static_cast<std::size_t>(kind)]
            : "unknown kind";
}

std::string gbk(std::string_view utf8)
{
    return wire::utf8ToGbk(utf8);
}

bool validAccount(const std::string &account)
{
    if (account.empty() || account.size() > 16)
        return false;
    return std::all_of(account.begin(), account.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte > 0x20 && byte < 0x7F;
    });
}

frames::UserInfo playerProfile(const std::string &account, std::uint64_t coins)
{
    frames::UserInfo user;
    user.nickname = account;
    user.face = "m1";
    user.sex = 1;
    user.location = gbk("本机");
    user.coins = coins;
    user.title = gbk("新手");
    user.account = account;
    user.tag = gbk("玩家");
    return user;
}

frames::UserInfo botProfile(int seat, std::uint64_t coins)
{
    const BotProfile &profile = kBotProfiles[static_cast<std::size_t>(seat)];
    frames::UserInfo user;
    user.nickname = gbk(profile.nickname);
    user.face = profile.face;
    user.sex = profile.sex;
    user.location = gbk("本机");
    user.coins = coins;
    user.title = gbk("电脑");
    user.account = profile.account;
    user.tag = gbk("电脑");
    return user;
}

std::string sortedFaces(std::vector<CardCode> cards)
{
    std::stable_sort(cards.begin(), cards.end(),
                     [](CardCode a, CardCode b) { return cardFace(a) < cardFace(b); });
    return describeCards(cards);
}

} // namespace

GameEngine::GameEngine(EngineOptions options, LogSink log)
    : options_(std::move(options))
    , logSink_(std::move(log))
    , random_(options_.seed)
    , delivery_(options_.replay)
{
    options_.bots = std::clamp(options_.bots, 0, kSeats);
    options_.tableNumber = std::clamp(options_.tableNumber, 0, 0x7FFF);
    for (auto &seat : seats_)
        seat.chat = ChatGate(options_.chat);
    seatBots();
}

void GameEngine::open(std::int64_t nowMs)
{
    now_ = nowMs;
    tryStartHand();
}

// ---------------------------------------------------------------- events

void GameEngine::connected(ConnectionId id, std::int64_t nowMs)
{
    now_ = nowMs;
    Connection &connection = connections_[id];
    connection = Connection{};
    delivery_.opened(id);
    connection.closeAt = now_ + kLoginWaitMs;
    log("connection #" + std::to_string(id) + " opened");
}

void GameEngine::received(ConnectionId id, const MessageFrame &frame, std::int64_t nowMs)
{
    now_ = nowMs;
    const auto it = connections_.find(id);
    if (it == connections_.end())
        return;
    switch (it->second.state) {
    case ConnectionState::AwaitingLogin:
        if (frame.cmd() == wire::CmdLogin) {
            handleLogin(id, frame);
        } else if (frame.cmd() == wire::CmdReconnect) {
            handleReconnect(id, frame);
        } else {
            log("connection #" + std::to_string(id) + " sent command " + std::to_string(frame.cmd())
                + " before logging in; closing it");
            it->second.state = ConnectionState::Detached;
            closeConnection(id);
        }
        break;
    case ConnectionState::Seated:
        handleSeated(it->second.seat, frame);
        break;
    case ConnectionState::Detached:
        break;
    }
}

void GameEngine::disconnected(ConnectionId id, std::int64_t nowMs)
{
    now_ = nowMs;
    const auto it = connections_.find(id);
    if (it == connections_.end())
        return;
    const Connection connection = it->second;
    connections_.erase(it);
    delivery_.closed(id);
    if (connection.state != ConnectionState::Seated)
        return;

    Seat &seat = seats_[static_cast<std::size_t>(connection.seat)];
    if (seat.connection != id)
        return;
    seat.connection.reset();
    ++seat.user.disconnects;
    if (phase_ == Phase::BetweenHands) {
        seat.dropAt = now_ + options_.dropBetweenHandsMs;
        log(seatName(connection.seat) + " dropped between hands");
    } else {
        seat.dropAt = now_ + options_.reconnectWaitMs;
        if (turnSeat() == connection.seat)
            turnAt_.reset();
        log(seatName(connection.seat) + " dropped during hand " + std::to_string(handNumber_)
            + "; the hand waits for its return");
    }
}

bool GameEngine::runDue(std::int64_t nowMs)
{
    now_ = nowMs;
    if (delivery_.releaseDue(nowMs))
        return true;
    enum class Due { None, Turn, Drop, Close, HandStart };
    Due due = Due::None;
    std::int64_t at = nowMs;
    int dueSeat = -1;
    ConnectionId dueConnection = 0;
    const auto consider = [&](const std::optional<std::int64_t> &when, Due what) {
        if (when && *when <= nowMs && (due == Due::None || *when < at)) {
            due = what;
            at = *when;
            return true;
        }
        return false;
    };

    consider(turnAt_, Due::Turn);
    for (int i = 0; i < kSeats; ++i) {
        if (consider(seats_[static_cast<std::size_t>(i)].dropAt, Due::Drop))
            dueSeat = i;
    }
    for (const auto &[id, connection] : connections_) {
        if (consider(connection.closeAt, Due::Close))
            dueConnection = id;
    }
    consider(handStartAt_, Due::HandStart);

    switch (due) {
    case Due::None:
        return false;
    case Due::Turn:
        turnAt_.reset();
        turnTimeUp();
        break;
    case Due::Drop: {
        seats_[static_cast<std::size_t>(dueSeat)].dropAt.reset();
        const std::string who = seatName(dueSeat);
        if (phase_ != Phase::BetweenHands)
            abandonHand(who + " did not come back");
        removeSeat(dueSeat, "did not come back");
        tryStartHand();
        break;
    }
    case Due::Close:
        connections_[dueConnection].closeAt.reset();
        log("connection #" + std::to_string(dueConnection) + " closed: no player on it");
        closeConnection(dueConnection);
        break;
    case Due::HandStart:
        handStartAt_.reset();
        startWaitOver_ = true;
        tryStartHand();
        break;
    }
    return true;
}

std::optional<std::int64_t> GameEngine::nextDeadline() const
{
    std::optional<std::int64_t> next;
    const auto consider = [&next](const std::optional<std::int64_t> &when) {
        if (when && (!next || *when < *next))
            next = when;
    };
    consider(turnAt_);
    consider(handStartAt_);
    consider(delivery_.nextDeadline());
    for (const auto &seat : seats_)
        consider(seat.dropAt);
    for (const auto &entry : connections_)
        consider(entry.second.closeAt);
    return next;
}

std::vector<Delivery> GameEngine::takeDeliveries()
{
    return delivery_.take();
}

void GameEngine::forceLeave(int seat, std::string_view textUtf8, std::int64_t nowMs)
{
    now_ = nowMs;
    if (seat < 0 || seat >= kSeats)
        return;
    Seat &s = seats_[static_cast<std::size_t>(seat)];
    if (!s.occupied || s.bot)
        return;
    const std::string who = seatName(seat);
    log(who + " is made to leave: " + std::string(textUtf8));
    if (s.connection) {
        sendTo(seat, frames::forcedLeave(gbk(textUtf8)));
        detachConnection(seat);
    }
    if (phase_ != Phase::BetweenHands)
        abandonHand(who + " was made to leave");
    removeSeat(seat, "was made to leave");
}

void GameEngine::setHandListener(std::function<void(const HandHistory &)> listener)
{
    handListener_ = std::move(listener);
}

SeatView GameEngine::seat(int index) const
{
    SeatView view;
    if (index < 0 || index >= kSeats)
        return view;
    const Seat &s = seats_[static_cast<std::size_t>(index)];
    view.occupied = s.occupied;
    view.bot = s.bot;
    view.connected = s.connection.has_value();
    view.ready = s.ready;
    view.account = s.user.account;
    view.coins = s.user.coins;
    view.cardsHeld = static_cast<int>(s.hand.size());
    return view;
}

std::optional<int> GameEngine::seatOf(ConnectionId id) const
{
    const auto it = connections_.find(id);
    if (it == connections_.end() || it->second.state != ConnectionState::Seated)
        return std::nullopt;
    return it->second.seat;
}

// ---------------------------------------------------------------- delivery

void GameEngine::sendTo(int seat, const MessageFrame &frame)
{
    delivery_.toSeat(seat, frame);
}

void GameEngine::broadcast(const MessageFrame &frame)
{
    delivery_.toAll(frame);
}

void GameEngine::queue(ConnectionId id, const MessageFrame &frame)
{
    delivery_.toConnection(id, frame);
}

void GameEngine::closeConnection(ConnectionId id)
{
    delivery_.close(id);
}

void GameEngine::log(const std::string &line) const
{
    if (logSink_)
        logSink_(line);
}

std::string GameEngine::seatName(int seat) const
{
    const Seat &s = seats_[static_cast<std::size_t>(seat)];
    return s.user.account + " (seat " + std::to_string(seatBit(seat)) + ")";
}

// ---------------------------------------------------------------- seating

void GameEngine::seatBots()
{
    for (int i = kSeats - options_.bots; i < kSeats; ++i) {
        Seat &s = seats_[static_cast<std::size_t>(i)];
        s.occupied = true;
        s.bot = true;
        s.ready = true;
        s.user = botProfile(i, options_.botCoins);
    }
}

int GameEngine::seatOfAccount(const std::string &account) const
{
    for (int i = 0; i < kSeats; ++i) {
        const Seat &s = seats_[static_cast<std::size_t>(i)];
        if (s.occupied && s.user.account == account)
            return i;
    }
    return -1;
}

bool GameEngine::tableFull() const
{
    return std::all_of(seats_.begin(), seats_.end(), [](const Seat &s) { return s.occupied; });
}

bool GameEngine::tableReady() const
{
    return std::all_of(seats_.begin(), seats_.end(), [](const Seat &s) {
        return s.occupied && (s.bot || s.connection.has_value());
    });
}

int GameEngine::turnSeat() const
{
    switch (phase_) {
    case Phase::Bidding:
        return bidder_;
    case Phase::Playing:
        return turn_;
    case Phase::BetweenHands:
        break;
    }
    return -1;
}

void GameEngine::refuse(ConnectionId id, std::uint8_t result, const std::string &why)
{
    log("connection #" + std::to_string(id) + " refused: " + why);
    queue(id, frames::loginAnswer(result, options_.roomSeconds));
    connections_[id].state = ConnectionState::Detached;
    closeConnection(id);
}

void GameEngine::handleLogin(ConnectionId id, const MessageFrame &frame)
{
    const frames::LoginRequest request = frames::readLogin(frame);
    if (!validAccount(request.account))
        return refuse(id, frames::kLoginVerificationFailed,
                      "the account name is not 1 to 16 printable ASCII characters");
    if (!options_.password.empty() && request.password != options_.password)
        return refuse(id, frames::kLoginVerificationFailed,
                      "wrong password for " + request.account);

    const int seat = seatOfAccount(request.account);
    if (seat >= 0) {
        Seat &s = seats_[static_cast<std::size_t>(seat)];
        if (s.bot)
            return refuse(id, frames::kLoginVerificationFailed,
                          request.account + " is a computer player's name");
        if (request.password != s.password)
            return refuse(id, frames::kLoginVerificationFailed,
                          "wrong password for " + request.account);
        log(seatName(seat) + " logs in again on connection #" + std::to_string(id));
        dropOldConnection(seat);
        // A fresh login cannot resume a hand: the client starts over.
        if (phase_ != Phase::BetweenHands)
            abandonHand(seatName(seat) + " logged in afresh");
        bindConnection(seat, id);
        s.sawHandEnd = false;
        ++s.user.logins;
        welcome(seat);
        tryStartHand();
        return;
    }

    const auto free
            = std::find_if(seats_.begin(), seats_.end(), [](const Seat &s) { return !s.occupied; });
    if (free == seats_.end())
        return refuse(id, frames::kLoginFailedToStart, "the table is full");
    seatNewPlayer(static_cast<int>(free - seats_.begin()), id, request);
}

void GameEngine::handleReconnect(ConnectionId id, const MessageFrame &frame)
{
    const frames::LoginRequest request = frames::readLogin(frame);
    const int seat = seatOfAccount(request.account);
    if (seat < 0 || seats_[static_cast<std::size_t>(seat)].bot) {
        log("reconnect request of " + request.account + " matches no seat; taken as a login");
        handleLogin(id, frame);
        return;
    }
    Seat &s = seats_[static_cast<std::size_t>(seat)];
    if (request.password != s.password) {
        log("connection #" + std::to_string(id) + " refused: wrong password for " + request.account
            + " on reconnecting");
        queue(id, frames::reconnectAnswer(0));
        connections_[id].state = ConnectionState::Detached;
        closeConnection(id);
        return;
    }
    const bool resumable = phase_ != Phase::BetweenHands && request.resumeValue == resumeValue_;
    if (!resumable) {
        // The hand the client asks for is over (or another one runs): it
        // starts over as after a fresh login.
        log("reconnect request of " + seatName(seat) + " (resume "
            + std::to_string(request.resumeValue) + ") matches no hand in progress; starting over");
        dropOldConnection(seat);
        if (phase_ != Phase::BetweenHands)
            abandonHand(seatName(seat) + " came back from another hand");
        bindConnection(seat, id);
        s.sawHandEnd = false;
        welcome(seat);
        tryStartHand();
        return;
    }

    dropOldConnection(seat);
    bindConnection(seat, id);
    // The answer carries no number; then every frame of the hand the client
    // had not read goes again, with its own number, at a pace it can take.
    const auto replayed
            = delivery_.replay(seat, id, frames::reconnectAnswer(1), request.echo, now_);
    log(seatName(seat) + " reconnected to hand " + std::to_string(handNumber_) + "; "
        + std::to_string(replayed) + " frames sent again");
    if (turnSeat() == seat)
        armTurn();
}

void GameEngine::dropOldConnection(int seat)
{
    Seat &s = seats_[static_cast<std::size_t>(seat)];
    if (!s.connection)
        return;
    // A user-left frame with its own name ends the older client at once.
    const ConnectionId old = *s.connection;
    queue(old, frames::userLeft(s.user.account, kUserLeftClock10s));
    detachConnection(seat);
    closeConnection(old);
}

void GameEngine::bindConnection(int seat, ConnectionId id)
{
    Seat &s = seats_[static_cast<std::size_t>(seat)];
    s.connection = id;
    s.dropAt.reset();
    delivery_.bind(seat, id);
    Connection &connection = connections_[id];
    connection.state = ConnectionState::Seated;
    connection.seat = seat;
    connection.closeAt.reset();
}

void GameEngine::detachConnection(int seat)
{
    Seat &s = seats_[static_cast<std::size_t>(seat)];
    if (!s.connection)
        return;
    const auto it = connections_.find(*s.connection);
    if (it != connections_.end()) {
        it->second.state = ConnectionState::Detached;
        it->second.seat = -1;
        it->second.closeAt = now_ + kDetachedCloseMs;
    }
    s.connection.reset();
    delivery_.unbind(seat);
}

void GameEngine::seatNewPlayer(int seat, ConnectionId id, const frames::LoginRequest &request)
{
    Seat &s = seats_[static_cast<std::size_t>(seat)];
    s = Seat{};
    s.chat = ChatGate(options_.chat);
    s.occupied = true;
    s.password = request.password;
    delivery_.seatPerson(seat);
    s.user = playerProfile(request.account, options_.playerCoins);
    s.user.logins = 1;
    bindConnection(seat, id);
    log(seatName(seat) + " sits down");
    welcome(seat);
    announceNewcomer(seat);
    tryStartHand();
}

void GameEngine::welcome(int seat)
{
    const std::uint8_t own = seatBit(seat);
    sendTo(seat, frames::loginAnswer(frames::kLoginAccepted, options_.roomSeconds));
    for (int offset = 0; offset < kSeats; ++offset) {
        const int other = (seat + offset) % kSeats;
        const Seat &s = seats_[static_cast<std::size_t>(other)];
        if (s.occupied)
            sendTo(seat, frames::userInfo(own, seatBit(other), s.user, s.ready));
    }
    for (int other = 0; other < kSeats; ++other) {
        const Seat &s = seats_[static_cast<std::size_t>(other)];
        if (s.occupied && s.ready)
            sendTo(seat, frames::ready(s.user.account));
    }
}

void GameEngine::announceNewcomer(int seat)
{
    const Seat &newcomer = seats_[static_cast<std::size_t>(seat)];
    for (int other = 0; other < kSeats; ++other) {
        const Seat &s = seats_[static_cast<std::size_t>(other)];
        if (other == seat || !s.occupied || s.bot)
            continue;
        // A client counts user-information frames and a result frame resets
        // the count; after a hand the whole table is described again.
        if (s.sawHandEnd) {
            for (int j = 0; j < kSeats; ++j) {
                const Seat &described = seats_[static_cast<std::size_t>(j)];
                if (described.occupied)
                    sendTo(other,
                           frames::userInfo(seatBit(other), seatBit(j), described.user,
                                            described.ready));
            }
        } else {
            sendTo(other,
                   frames::userInfo(seatBit(other), seatBit(seat), newcomer.user, newcomer.ready));
        }
    }
}

void GameEngine::removeSeat(int seat, const std::string &why)
{
    const std::string account = vacate(seat, why);
    if (account.empty())
        return;
    for (int other = 0; other < kSeats; ++other)
        sendTo(other, frames::userLeft(account, kUserLeftClock10s));
    tryStartHand();
}

std::string GameEngine::vacate(int seat, const std::string &why)
{
    Seat &s = seats_[static_cast<std::size_t>(seat)];
    if (!s.occupied)
        return {};
    std::string account = s.user.account;
    log(seatName(seat) + " leaves the table: " + why);
    detachConnection(seat);
    s = Seat{};
    s.chat = ChatGate(options_.chat);
    delivery_.freeSeat(seat);
    return account;
}

// ---------------------------------------------------------------- seated frames

void GameEngine::handleSeated(int seat, const MessageFrame &frame)
{
    switch (frame.cmd()) {
    case wire::CmdLogin:
    case wire::CmdReconnect:
        log(seatName(seat) + " sent another login on its connection; ignored");
        break;
    case wire::CmdKeepAlive:
        break;
    case wire::CmdReadyOrLeave:
        handleReadyOrLeave(seat, frame);
        break;
    case wire::CmdChat:
        handleChat(seat, frame);
        break;
    case wire::CmdBid:
        handleBid(seat, frame);
        break;
    case wire::CmdPlay:
        handlePlay(seat, frame);
        break;
    default:
        log(seatName(seat) + " sent command " + std::to_string(frame.cmd()) + "; ignored");
        break;
    }
}

void GameEngine::handleReadyOrLeave(int seat, const MessageFrame &frame)
{
    Seat &s = seats_[static_cast<std::size_t>(seat)];
    switch (frame.byteAt(wire::offset::kArg15)) {
    case 0: {
        const std::string who = seatName(seat);
        detachConnection(seat);
        if (phase_ != Phase::BetweenHands)
            abandonHand(who + " left during the hand");
        removeSeat(seat, "left");
        break;
    }
    case 1:
        if (phase_ != Phase::BetweenHands) {
            log(seatName(seat) + " said ready during a hand; ignored");
            break;
        }
        if (!s.ready) {
            s.ready = true;
            log(seatName(seat) + " is ready");
            broadcast(frames::ready(s.user.account));
        }
        tryStartHand();
        break;
    default:
        log(seatName(seat) + " sent ready-or-leave with byte 15 = "
            + std::to_string(frame.byteAt(wire::offset::kArg15)) + "; ignored");
        break;
    }
}

void GameEngine::handleChat(int seat, const MessageFrame &frame)
{
    const std::uint32_t kind = frame.kindWord();
    if (kind == 272 || kind == 260) {
        log(seatName(seat) + " sent an item-library frame; dropped");
        return;
    }
    const std::uint8_t addressee = frame.byteAt(wire::offset::kArg11);
    int to = -1;
    if (addressee != 0) {
        to = seatIndex(addressee);
        if (to < 0 || !seats_[static_cast<std::size_t>(to)].occupied) {
            log(seatName(seat) + " whispered to seat bit " + std::to_string(addressee)
                + ", where nobody sits; dropped");
            return;
        }
    }
    if (!seats_[static_cast<std::size_t>(seat)].chat.allow(now_)) {
        log(seatName(seat) + " chats faster than the table can read; line dropped");
        return;
    }
    const std::string text = wire::readFieldText(frame, 16, 215);
    const MessageFrame relay = frames::chatRelay(frame, seatBit(seat));
    if (to < 0) {
        log("chat " + seatName(seat) + ": " + text);
        broadcast(relay);
        return;
    }
    log("whisper " + seatName(seat) + " to " + seatName(to) + ": " + text);
    sendTo(seat, relay);
    if (to != seat)
        sendTo(to, relay);
}

void GameEngine::handleBid(int seat, const MessageFrame &frame)
{
    if (phase_ != Phase::Bidding || seat != bidder_) {
        log(seatName(seat) + " bid out of turn; dropped");
        return;
    }
    const std::uint8_t value = frame.byteAt(wire::offset::kArg11);
    if (value > 1) {
        log(seatName(seat) + " bid with byte 11 = " + std::to_string(value) + "; dropped");
        return;
    }
    bid(seat, value == 1);
}

void GameEngine::handlePlay(int seat, const MessageFrame &frame)
{
    if (phase_ != Phase::Playing || seat != turn_) {
        log(seatName(seat) + " played out of turn; dropped");
        return;
    }
    switch (frame.byteAt(wire::offset::kArg15)) {
    case 1:
        if (mustLead_) {
            // Only a lead opened with another trick code lets a client pass;
            // a fresh opening puts the lead back in front of it.
            log(seatName(seat) + " passed on its own lead; the lead is opened again");
            const int before = (seat + 1) % kSeats;
            sendTo(seat,
                   frames::played(seatBit(before), seatBit(seat), frames::kTrickLead, {}, 0,
                                  options_.playSeconds));
            armTurn();
            return;
        }
        pass(seat);
        return;
    case 2:
        if (const auto error = play(seat, frames::playIds(frame), frame.byteAt(18))) {
            log(seatName(seat) + " sent a play the rules refuse: " + *error);
            forceLeave(seat, "出牌数据错误，请重新进入游戏", now_);
        }
        return;
    default:
        log(seatName(seat) + " sent a play frame with byte 15 = "
            + std::to_string(frame.byteAt(wire::offset::kArg15)));
        forceLeave(seat, "出牌数据错误，请重新进入游戏", now_);
        return;
    }
}

// ---------------------------------------------------------------- the hand

void GameEngine::tryStartHand()
{
    if (phase_ != Phase::BetweenHands)
        return;
    if (!tableFull()) {
        handStartAt_.reset();
        startWaitOver_ = false;
        return;
    }
    if (!handStartAt_ && !startWaitOver_)
        handStartAt_ = now_ + options_.firstHandWaitMs;
    if (!tableReady())
        return;
    const bool allReady
            = std::all_of(seats_.begin(), seats_.end(), [](const Seat &s) { return s.ready; });
    if (allReady || startWaitOver_)
        startHand();
}

void GameEngine::startHand()
{
    ++handNumber_;
    resumeValue_ = options_.tableNumber * 65536 + (handNumber_ & 0xFFFF);
    std::array<CardCode, kDeckSize> deck = kDeck;
    random_.shuffle(std::span<CardCode>(deck));
    const auto turnedUp = static_cast<int>(random_.below(kSeats * kHandSize));

    history_ = HandHistory{};
    history_.number = handNumber_;
    history_.resumeValue = resumeValue_;
    for (int seat = 0; seat < kSeats; ++seat) {
        Seat &s = seats_[static_cast<std::size_t>(seat)];
        const auto first = deck.begin() + seat * kHandSize;
        s.hand.assign(first, first + kHandSize);
        s.ready = s.bot;
        history_.dealt[static_cast<std::size_t>(seat)] = s.hand;
    }
    bottom_.assign(deck.begin() + kSeats * kHandSize, deck.end());
    firstBidder_ = turnedUp / kHandSize;
    history_.bottom = bottom_;
    history_.turnedUp = deck[static_cast<std::size_t>(turnedUp)];
    history_.firstBidder = firstBidder_;

    phase_ = Phase::Bidding;
    delivery_.startHandLog();
    handStartAt_.reset();
    startWaitOver_ = false;
    bidder_ = firstBidder_;
    declined_ = 0;
    landlord_ = -1;
    toBeat_ = Play{};
    passes_ = 0;
    bombs_ = {};

    log("hand " + std::to_string(handNumber_) + " (resume value " + std::to_string(resumeValue_)
        + ") dealt; " + faceName(cardFace(history_.turnedUp)) + " turned up for "
        + seatName(firstBidder_) + ", who bids first");
    for (int seat = 0; seat < kSeats; ++seat)
        log("  " + seatName(seat) + ": "
            + sortedFaces(seats_[static_cast<std::size_t>(seat)].hand));
    log("  bottom: " + sortedFaces(bottom_));

    for (int seat = 0; seat < kSeats; ++seat)
        sendTo(seat,
               frames::handStartDeal(seatBit(seat), seats_[static_cast<std::size_t>(seat)].hand,
                                     seatBit(firstBidder_), history_.turnedUp, resumeValue_));
    broadcast(frames::bidTurn(seatBit(firstBidder_), 0, 0));
    armTurn();
}

void GameEngine::bid(int seat, bool call)
{
    turnAt_.reset();
    history_.bids.emplace_back(seat, call);
    log(seatName(seat) + (call ? " calls" : " does not call"));
    if (call) {
        announceLandlord(seat);
        return;
    }
    if (++declined_ == kSeats) {
        log("nobody called; the first bidder takes the bottom cards");
        announceLandlord(firstBidder_);
        return;
    }
    bidder_ = nextSeat(seat);
    broadcast(frames::bidTurn(seatBit(bidder_), 0, seatBit(seat)));
    armTurn();
}

void GameEngine::announceLandlord(int seat)
{
    landlord_ = seat;
    history_.landlord = seat;
    broadcast(frames::bidTurn(seatBit(seat), 1, seatBit(seat)));
    auto &hand = seats_[static_cast<std::size_t>(seat)].hand;
    hand.insert(hand.end(), bottom_.begin(), bottom_.end());
    broadcast(frames::bottomDeal(seatBit(seat), bottom_));
    log(seatName(seat) + " is the landlord and takes " + sortedFaces(bottom_));

    phase_ = Phase::Playing;
    turn_ = seat;
    mustLead_ = true;
    toBeat_ = Play{};
    lastPlayer_ = seat;
    passes_ = 0;
    // The opening pass shows no bubble and opens the landlord's lead.
    broadcast(frames::played(seatBit(seat), seatBit(seat), frames::kTrickLead, {}, 0,
                             options_.playSeconds));
    armTurn();
}

void GameEngine::pass(int seat)
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
        log(seatName(seat) + " passes; the trick goes to " + seatName(turn_));
        broadcast(frames::played(seatBit(seat), seatBit(turn_), frames::kTrickLead, {}, 0,
                                 options_.playSeconds));
    } else {
        turn_ = nextSeat(seat);
        log(seatName(seat) + " passes");
        broadcast(frames::played(seatBit(seat), seatBit(turn_), frames::kTrickFollow, {}, 0,
                                 options_.playSeconds));
    }
    armTurn();
}

std::optional<std::string> GameEngine::play(int seat, std::span<const std::uint8_t> ids,
                                            int claimedKind)
{
    Seat &s = seats_[static_cast<std::size_t>(seat)];
    if (ids.empty())
        return "the card count is not 1 to 33";
    if (ids.size() > s.hand.size())
        return std::to_string(ids.size()) + " cards played, " + std::to_string(s.hand.size())
                + " held";

    std::vector<CardCode> cards;
    std::bitset<256> seen;
    for (const std::uint8_t id : ids) {
        if (seen.test(id))
            return "card id " + std::to_string(id) + " given twice";
        seen.set(id);
        const auto held = std::find_if(s.hand.begin(), s.hand.end(),
                                       [id](CardCode card) { return cardId(card) == id; });
        if (held == s.hand.end())
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
    std::erase_if(s.hand, [&seen](CardCode card) {
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
    log(seatName(seat) + " plays " + kindName(judged.kind) + " " + describeCards(judged.view())
        + " (" + std::to_string(s.hand.size()) + " left)");

    // Ids are announced in the order the client sent them: its judged order.
    if (s.hand.empty()) {
        broadcast(frames::played(seatBit(seat), 0, frames::kTrickFollow, cards,
                                 static_cast<std::uint8_t>(judged.kind), options_.playSeconds));
        dropSeatForTests();
        endHand(seat == landlord_);
        return std::nullopt;
    }
    turn_ = nextSeat(seat);
    broadcast(frames::played(seatBit(seat), seatBit(turn_), frames::kTrickFollow, cards,
                             static_cast<std::uint8_t>(judged.kind), options_.playSeconds));
    armTurn();
    dropSeatForTests();
    return std::nullopt;
}

void GameEngine::dropSeatForTests()
{
    if (options_.dropSeatAfterPlays <= 0 || handNumber_ != 1
        || ++playsAnnounced_ != options_.dropSeatAfterPlays)
        return;
    for (int seat = 0; seat < kSeats; ++seat) {
        const Seat &s = seats_[static_cast<std::size_t>(seat)];
        if (s.occupied && !s.bot && s.connection) {
            log("closing the connection of " + seatName(seat) + " after "
                + std::to_string(playsAnnounced_) + " plays, as asked");
            closeConnection(*s.connection);
            return;
        }
    }
}

void GameEngine::armTurn()
{
    turnAt_.reset();
    const int seat = turnSeat();
    if (seat < 0)
        return;
    const Seat &s = seats_[static_cast<std::size_t>(seat)];
    if (s.bot) {
        turnAt_ = now_ + random_.between(options_.botDelayMinMs, options_.botDelayMaxMs);
    } else if (s.connection) {
        // A client's own clock answers first; the server acts only for a
        // client that has stopped answering.
        const int clockSeconds = options_.playSeconds < 2 ? 20 : options_.playSeconds;
        turnAt_ = now_
                + (phase_ == Phase::Bidding ? options_.bidWaitMs
                                            : clockSeconds * 1000 + options_.playGraceMs);
    }
    // A dropped player's turn waits for its return.
}

void GameEngine::turnTimeUp()
{
    const int seat = turnSeat();
    if (seat < 0)
        return;
    const Seat &s = seats_[static_cast<std::size_t>(seat)];
    if (s.bot) {
        botMove();
        return;
    }
    if (!s.connection)
        return;
    if (phase_ == Phase::Bidding) {
        log(seatName(seat) + " did not bid in time");
        bid(seat, false);
    } else if (mustLead_) {
        // Playing for a connected client would leave the cards in its hand.
        abandonHand(seatName(seat) + " did not lead in time");
    } else {
        log(seatName(seat) + " did not play in time");
        pass(seat);
    }
}

void GameEngine::botMove()
{
    const int seat = turnSeat();
    const std::vector<CardCode> &hand = seats_[static_cast<std::size_t>(seat)].hand;
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
    log("rules violation by " + seatName(seat) + ": " + *error);
    if (!mustLead_) {
        pass(seat);
        return;
    }
    const std::uint8_t single[] = {static_cast<std::uint8_t>(cardId(hand.front()))};
    play(seat, single, rules::KindSingle);
}

void GameEngine::sendResults(const std::array<frames::SeatResult, kSeats> &results,
                             std::string_view winnersLine)
{
    const std::string line = gbk(winnersLine);
    for (int seat = 0; seat < kSeats; ++seat) {
        for (const auto &result : results)
            sendTo(seat, frames::handResult(result, scoring::kStake, line));
        seats_[static_cast<std::size_t>(seat)].sawHandEnd = true;
    }
    broadcast(frames::endOfHand());
}

void GameEngine::endHand(bool landlordWon)
{
    turnAt_.reset();
    std::array<std::uint64_t, kSeats> coins{};
    for (int seat = 0; seat < kSeats; ++seat)
        coins[static_cast<std::size_t>(seat)] = seats_[static_cast<std::size_t>(seat)].user.coins;
    const auto settled = scoring::settle(landlord_, landlordWon, coins, scoring::kStake, bombs_);

    std::array<frames::SeatResult, kSeats> results{};
    std::string summary;
    for (int seat = 0; seat < kSeats; ++seat) {
        Seat &s = seats_[static_cast<std::size_t>(seat)];
        const auto &settlement = settled[static_cast<std::size_t>(seat)];
        auto &result = results[static_cast<std::size_t>(seat)];
        result.seat = seatBit(seat);
        result.landlord = seat == landlord_;
        result.outcome = settlement.won ? frames::kOutcomeWin : frames::kOutcomeLoss;
        result.sign = settlement.won ? 1 : 2;
        result.subtotal = settlement.subtotal;
        result.total = settlement.total;
        result.capped = settlement.capped;
        result.cardsLeft = s.hand;
        if (settlement.won) {
            s.user.coins += settlement.total;
            ++s.user.wins;
        } else {
            s.user.coins -= std::min(s.user.coins, settlement.total);
            ++s.user.losses;
        }
        result.level = scoring::levelForWins(s.user.wins);
        summary += " " + s.user.account + (settlement.won ? " +" : " -")
                + std::to_string(settlement.total);
    }
    history_.outcome
            = landlordWon ? HandHistory::Outcome::LandlordWon : HandHistory::Outcome::FarmersWon;
    history_.results = results;
    log("hand " + std::to_string(handNumber_) + ": "
        + (landlordWon ? "the landlord" : "the farmers") + " win, unit "
        + std::to_string(scoring::handUnit(scoring::kStake, bombs_)) + ";" + summary);
    sendResults(results, landlordWon ? "地主获胜" : "农民获胜");
    finishHand();
    refillAndSendShort();
}

void GameEngine::abandonHand(const std::string &why)
{
    turnAt_.reset();
    log("hand " + std::to_string(handNumber_) + " abandoned: " + why);
    std::array<frames::SeatResult, kSeats> results{};
    for (int seat = 0; seat < kSeats; ++seat) {
        auto &result = results[static_cast<std::size_t>(seat)];
        result.seat = seatBit(seat);
        result.landlord = seat == landlord_;
        result.outcome = frames::kOutcomeAbandoned;
        result.cardsLeft = seats_[static_cast<std::size_t>(seat)].hand;
    }
    history_.outcome = HandHistory::Outcome::Abandoned;
    history_.results = results;
    sendResults(results, {});
    finishHand();
}

void GameEngine::finishHand()
{
    phase_ = Phase::BetweenHands;
    delivery_.stopHandLog();
    turnAt_.reset();
    handStartAt_ = now_ + options_.nextHandWaitMs;
    startWaitOver_ = false;
    for (auto &seat : seats_) {
        seat.hand.clear();
        // A player who dropped during the hand has the shorter between-hands
        // wait from now on.
        if (seat.dropAt)
            seat.dropAt = std::min(*seat.dropAt, now_ + options_.dropBetweenHandsMs);
    }
    if (handListener_)
        handListener_(history_);
    for (auto &seat : seats_) {
        if (seat.occupied && seat.bot) {
            seat.ready = true;
            broadcast(frames::ready(seat.user.account));
        }
    }
}

void GameEngine::refillAndSendShort()
{
    const auto minimum = static_cast<std::uint64_t>(3 * scoring::kStake);
    std::uint8_t shortSeats = 0;
    for (int seat = 0; seat < kSeats; ++seat) {
        Seat &s = seats_[static_cast<std::size_t>(seat)];
        if (!s.occupied || s.user.coins >= minimum)
            continue;
        if (s.bot) {
            s.user.coins = options_.botCoins;
            log(seatName(seat) + " is short of coins and refilled");
        } else {
            shortSeats = static_cast<std::uint8_t>(shortSeats | seatBit(seat));
        }
    }
    if (shortSeats == 0)
        return;
    // The short players are told to collect their allowance; their clients
    // close the connection themselves. The others then see them leave.
    broadcast(frames::coinsShort(shortSeats, 0));
    std::vector<std::string> gone;
    for (int seat = 0; seat < kSeats; ++seat) {
        if (shortSeats & seatBit(seat))
            gone.push_back(vacate(seat, "short of coins"));
    }
    for (const std::string &account : gone) {
        for (int other = 0; other < kSeats; ++other)
            sendTo(other, frames::userLeft(account, kUserLeftClock10s));
    }
    tryStartHand();
}

} // namespace tessaroc::tableserver
