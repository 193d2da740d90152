#include "Seating.h"

#include "Scoring.h"

#include "wire/SentFrames.h"

#include <algorithm>

namespace tessaroc::tableserver {

using wire::MessageFrame;

namespace {

constexpr std::int64_t kDetachedCloseMs = 10000;
// A client sends its login as soon as its socket connects; a connection that
// stays silent longer is not a client.
constexpr std::int64_t kLoginWaitMs = 30000;
constexpr std::uint8_t kUserLeftClock10s = 1;
// A player whose coins fall below three stakes cannot cover a lost hand.
constexpr std::uint64_t kShortBelowStakes = 3;

struct BotProfile
{
    const char *account;
    const char *nickname;
    const char *face;
    std::uint8_t sex;
};

// The client's boards show the first two characters of a name: the number
// comes first, so the computer players differ there.
constexpr std::array<BotProfile, kSeats> kBotProfiles{{
        {"bot1", "一号电脑", "m3", 1},
        {"bot2", "二号电脑", "w2", 0},
        {"bot3", "三号电脑", "m6", 1},
        {"bot4", "四号电脑", "w5", 0},
}};

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
    user.location = "本机";
    user.coins = coins;
    user.title = "新手";
    user.account = account;
    user.tag = "玩家";
    return user;
}

frames::UserInfo botProfile(int seat, std::uint64_t coins)
{
    const BotProfile &profile = kBotProfiles[static_cast<std::size_t>(seat)];
    frames::UserInfo user;
    user.nickname = profile.nickname;
    user.face = profile.face;
    user.sex = profile.sex;
    user.location = "本机";
    user.coins = coins;
    user.title = "电脑";
    user.account = profile.account;
    user.tag = "电脑";
    return user;
}

// Receivers show a public line as it stands, the speaker's name included,
// so a line is relayed only when it starts as the client's composer starts
// it, with its sender's own name: "<name>说道： " before a typed line or a
// quick phrase, or "<name>对<addressee>说 ：" before a whisper whose
// addressee's seat the sender did not know. A whisper to a seat carries the
// bare text, and the receivers write both names in front of it themselves.
bool speaksInOwnName(std::string_view text, std::string_view name)
{
    constexpr std::string_view kSaid = "说道： ";
    constexpr std::string_view kTo = "对";
    constexpr std::string_view kWhisperSaid = "说 ：";
    if (name.empty() || !text.starts_with(name))
        return false;
    const std::string_view rest = text.substr(name.size());
    if (rest.starts_with(kSaid))
        return true;
    if (!rest.starts_with(kTo))
        return false;
    const std::size_t said = rest.find(kWhisperSaid, kTo.size());
    return said != std::string_view::npos && said > kTo.size();
}

} // namespace

Seating::Seating(TableContext &context, Table table)
    : context_(context)
    , table_(std::move(table))
{
    for (auto &seat : seats_)
        seat.chat = ChatGate(context_.options.chat);
    seatBots();
}

// ---------------------------------------------------------------- connections

void Seating::connected(ConnectionId id)
{
    Connection &connection = connections_[id];
    connection = Connection{};
    context_.delivery.opened(id);
    connection.closeAt = context_.now + kLoginWaitMs;
    context_.logFrame("connection #" + std::to_string(id) + " opened");
}

void Seating::disconnected(ConnectionId id)
{
    const auto it = connections_.find(id);
    if (it == connections_.end())
        return;
    const Connection connection = it->second;
    connections_.erase(it);
    context_.delivery.closed(id);
    if (connection.madeToLeave)
        context_.log(connection.madeToLeave->who + " closes its connection "
                     + std::to_string(context_.now - connection.madeToLeave->at)
                     + " ms after being made to leave");
    if (connection.state != ConnectionState::Seated)
        return;

    Seat &seat = seats_[static_cast<std::size_t>(connection.seat)];
    if (seat.connection != id)
        return;
    seat.connection.reset();
    ++seat.user.disconnects;
    if (!inHand()) {
        seat.dropAt = context_.now + context_.options.dropBetweenHandsMs;
        context_.log(seatName(connection.seat) + " dropped between hands");
    } else {
        // Its turn clock runs on: a player who drops on its turn holds the
        // table up no longer than one who stays and does not answer.
        seat.dropAt = context_.now + context_.options.reconnectWaitMs;
        context_.log(seatName(connection.seat)
                     + " dropped during the hand; its seat waits for its return");
    }
}

std::optional<Seating::ConnectionState> Seating::stateOf(ConnectionId id) const
{
    const auto it = connections_.find(id);
    if (it == connections_.end())
        return std::nullopt;
    return it->second.state;
}

std::optional<int> Seating::seatOf(ConnectionId id) const
{
    const auto it = connections_.find(id);
    if (it == connections_.end() || it->second.state != ConnectionState::Seated)
        return std::nullopt;
    return it->second.seat;
}

void Seating::turnAway(ConnectionId id)
{
    const auto it = connections_.find(id);
    if (it == connections_.end() || it->second.state != ConnectionState::AwaitingLogin)
        return;
    it->second.state = ConnectionState::Detached;
    context_.delivery.close(id);
}

std::optional<std::int64_t> Seating::nextDeadline() const
{
    std::optional<std::int64_t> next;
    const auto consider = [&next](const std::optional<std::int64_t> &when) {
        if (when && (!next || *when < *next))
            next = when;
    };
    for (const auto &seat : seats_)
        consider(seat.dropAt);
    for (const auto &entry : connections_)
        consider(entry.second.closeAt);
    return next;
}

bool Seating::runDue()
{
    const std::int64_t now = context_.now;
    int dueSeat = -1;
    std::optional<ConnectionId> dueConnection;
    std::optional<std::int64_t> at;
    for (int i = 0; i < kSeats; ++i) {
        const auto &when = seats_[static_cast<std::size_t>(i)].dropAt;
        if (when && *when <= now && (!at || *when < *at)) {
            at = when;
            dueSeat = i;
        }
    }
    for (const auto &[id, connection] : connections_) {
        const auto &when = connection.closeAt;
        if (when && *when <= now && (!at || *when < *at)) {
            at = when;
            dueSeat = -1;
            dueConnection = id;
        }
    }
    if (!at)
        return false;
    if (dueSeat >= 0) {
        seats_[static_cast<std::size_t>(dueSeat)].dropAt.reset();
        if (inHand())
            table_.abandonHand(seatName(dueSeat) + " did not come back");
        removeSeat(dueSeat, "did not come back");
        return true;
    }
    connections_[*dueConnection].closeAt.reset();
    connections_[*dueConnection].madeToLeave.reset(); // the server closes it, not its client
    context_.logFrame("connection #" + std::to_string(*dueConnection) + " closed: no player on it");
    context_.delivery.close(*dueConnection);
    return true;
}

// ---------------------------------------------------------------- seats

std::string Seating::seatName(int seat) const
{
    return at(seat).user.account + " (seat " + std::to_string(seatBit(seat)) + ")";
}

void Seating::seatBots()
{
    for (int i = kSeats - context_.options.bots; i < kSeats; ++i) {
        Seat &s = seats_[static_cast<std::size_t>(i)];
        s.occupied = true;
        s.bot = true;
        s.ready = true;
        s.user = botProfile(i, context_.options.botCoins);
    }
}

int Seating::seatOfAccount(const std::string &account) const
{
    for (int i = 0; i < kSeats; ++i) {
        const Seat &s = at(i);
        if (s.occupied && s.user.account == account)
            return i;
    }
    return -1;
}

bool Seating::tableFull() const
{
    return std::all_of(seats_.begin(), seats_.end(), [](const Seat &s) { return s.occupied; });
}

bool Seating::tableReady() const
{
    return std::all_of(seats_.begin(), seats_.end(), [](const Seat &s) {
        return s.occupied && (s.bot || s.connection.has_value());
    });
}

bool Seating::allReady() const
{
    return std::all_of(seats_.begin(), seats_.end(), [](const Seat &s) { return s.ready; });
}

void Seating::changed()
{
    if (table_.changed)
        table_.changed();
}

// ---------------------------------------------------------------- logins

void Seating::firstFrame(ConnectionId id, const MessageFrame &frame)
{
    if (frame.cmd() == wire::CmdLogin) {
        login(id, frame);
    } else if (frame.cmd() == wire::CmdReconnect) {
        reconnect(id, frame);
    } else {
        context_.logFrame("connection #" + std::to_string(id) + " sent command "
                          + std::to_string(frame.cmd()) + " before logging in; closing it");
        turnAway(id);
    }
}

void Seating::refuse(ConnectionId id, std::uint8_t result, const std::string &why)
{
    context_.log("connection #" + std::to_string(id) + " refused: " + why);
    context_.delivery.toConnection(id, frames::loginAnswer(result, context_.options.roomSeconds));
    connections_[id].state = ConnectionState::Detached;
    context_.delivery.close(id);
}

void Seating::login(ConnectionId id, const MessageFrame &frame)
{
    const frames::LoginRequest request = frames::readLogin(frame);
    if (!request.accountReadable || !validAccount(request.account))
        return refuse(id, frames::kLoginVerificationFailed,
                      "the account name is not 1 to 16 printable ASCII characters");
    if (!context_.options.password.empty() && request.password != context_.options.password)
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
        context_.log(seatName(seat) + " logs in again on connection #" + std::to_string(id));
        dropOldConnection(seat);
        // A fresh login cannot resume a hand: the client starts over.
        if (inHand())
            table_.abandonHand(seatName(seat) + " logged in afresh");
        bindConnection(seat, id);
        s.sawHandEnd = false;
        ++s.user.logins;
        welcome(seat);
        changed();
        return;
    }

    const auto free
            = std::find_if(seats_.begin(), seats_.end(), [](const Seat &s) { return !s.occupied; });
    if (free == seats_.end())
        return refuse(id, frames::kLoginFailedToStart, "the table is full");
    seatNewPlayer(static_cast<int>(free - seats_.begin()), id, request);
}

void Seating::reconnect(ConnectionId id, const MessageFrame &frame)
{
    const frames::LoginRequest request = frames::readLogin(frame);
    const int seat = seatOfAccount(request.account);
    if (seat < 0 || at(seat).bot) {
        context_.log("reconnect request of " + request.account
                     + " matches no seat; taken as a login");
        login(id, frame);
        return;
    }
    Seat &s = seats_[static_cast<std::size_t>(seat)];
    if (request.password != s.password) {
        context_.log("connection #" + std::to_string(id) + " refused: wrong password for "
                     + request.account + " on reconnecting");
        context_.delivery.toConnection(id, frames::reconnectAnswer(0));
        connections_[id].state = ConnectionState::Detached;
        context_.delivery.close(id);
        return;
    }
    const bool resumable = inHand() && request.resumeValue == table_.resumeValue();
    if (!resumable) {
        // The hand the client asks for is over (or another one runs): it
        // starts over as after a fresh login.
        context_.log("reconnect request of " + seatName(seat) + " (resume "
                     + std::to_string(request.resumeValue)
                     + ") matches no hand in progress; starting over");
        dropOldConnection(seat);
        if (inHand())
            table_.abandonHand(seatName(seat) + " came back from another hand");
        bindConnection(seat, id);
        s.sawHandEnd = false;
        welcome(seat);
        changed();
        return;
    }

    dropOldConnection(seat);
    bindConnection(seat, id);
    // The answer carries no number; then every frame of the hand the client
    // had not read goes again, with its own number, at a pace it can take.
    const auto replayed = context_.delivery.replay(seat, id, frames::reconnectAnswer(1),
                                                   request.echo, context_.now);
    context_.log(seatName(seat) + " reconnected to the hand in progress; "
                 + std::to_string(replayed) + " frames sent again");
    if (table_.returned)
        table_.returned(seat, replayed);
}

void Seating::dropOldConnection(int seat)
{
    Seat &s = seats_[static_cast<std::size_t>(seat)];
    if (!s.connection)
        return;
    // A user-left frame with its own name ends the older client at once.
    const ConnectionId old = *s.connection;
    context_.delivery.toConnection(old, frames::userLeft(s.user.account, kUserLeftClock10s));
    detachConnection(seat);
    context_.delivery.close(old);
}

void Seating::bindConnection(int seat, ConnectionId id)
{
    Seat &s = seats_[static_cast<std::size_t>(seat)];
    s.connection = id;
    s.dropAt.reset();
    context_.delivery.bind(seat, id);
    Connection &connection = connections_[id];
    connection.state = ConnectionState::Seated;
    connection.seat = seat;
    connection.closeAt.reset();
}

void Seating::detachConnection(int seat)
{
    Seat &s = seats_[static_cast<std::size_t>(seat)];
    if (!s.connection)
        return;
    const auto it = connections_.find(*s.connection);
    if (it != connections_.end()) {
        it->second.state = ConnectionState::Detached;
        it->second.seat = -1;
        it->second.closeAt = context_.now + kDetachedCloseMs;
    }
    s.connection.reset();
    context_.delivery.unbind(seat);
}

void Seating::seatNewPlayer(int seat, ConnectionId id, const frames::LoginRequest &request)
{
    Seat &s = seats_[static_cast<std::size_t>(seat)];
    s = Seat{};
    s.chat = ChatGate(context_.options.chat);
    s.occupied = true;
    s.password = request.password;
    context_.delivery.seatPerson(seat);
    if (context_.seatReset)
        context_.seatReset(seat);
    s.user = playerProfile(request.account, context_.options.playerCoins);
    s.user.logins = 1;
    bindConnection(seat, id);
    context_.log(seatName(seat) + " sits down");
    welcome(seat);
    announceNewcomer(seat);
    changed();
}

void Seating::welcome(int seat)
{
    const std::uint8_t own = seatBit(seat);
    context_.delivery.toSeat(
            seat, frames::loginAnswer(frames::kLoginAccepted, context_.options.roomSeconds));
    for (int offset = 0; offset < kSeats; ++offset) {
        const int other = (seat + offset) % kSeats;
        const Seat &s = at(other);
        if (s.occupied)
            context_.delivery.toSeat(seat, frames::userInfo(own, seatBit(other), s.user, s.ready));
    }
    for (int other = 0; other < kSeats; ++other) {
        const Seat &s = at(other);
        if (s.occupied && s.ready)
            context_.delivery.toSeat(seat, frames::ready(s.user.account));
    }
}

void Seating::announceNewcomer(int seat)
{
    const Seat &newcomer = at(seat);
    for (int other = 0; other < kSeats; ++other) {
        const Seat &s = at(other);
        if (other == seat || !s.occupied || s.bot)
            continue;
        // A client counts user-information frames and a result frame resets
        // the count; after a hand the whole table is described again.
        if (s.sawHandEnd) {
            for (int j = 0; j < kSeats; ++j) {
                const Seat &described = at(j);
                if (described.occupied)
                    context_.delivery.toSeat(other,
                                             frames::userInfo(seatBit(other), seatBit(j),
                                                              described.user, described.ready));
            }
        } else {
            context_.delivery.toSeat(
                    other,
                    frames::userInfo(seatBit(other), seatBit(seat), newcomer.user, newcomer.ready));
        }
    }
}

void Seating::removeSeat(int seat, const std::string &why)
{
    const std::string account = vacate(seat, why);
    if (account.empty())
        return;
    context_.delivery.toAll(frames::userLeft(account, kUserLeftClock10s));
    changed();
}

std::string Seating::vacate(int seat, const std::string &why)
{
    Seat &s = seats_[static_cast<std::size_t>(seat)];
    if (!s.occupied)
        return {};
    std::string account = s.user.account;
    context_.log(seatName(seat) + " leaves the table: " + why);
    detachConnection(seat);
    s = Seat{};
    s.chat = ChatGate(context_.options.chat);
    context_.delivery.freeSeat(seat);
    if (context_.seatReset)
        context_.seatReset(seat);
    return account;
}

void Seating::forceLeave(int seat, std::string_view textUtf8)
{
    if (seat < 0 || seat >= kSeats)
        return;
    const Seat &s = at(seat);
    if (!s.occupied || s.bot)
        return;
    const std::string who = seatName(seat);
    context_.log(who + " is made to leave: " + std::string(textUtf8));
    if (s.connection) {
        context_.delivery.toSeat(seat, frames::forcedLeave(textUtf8));
        connections_[*s.connection].madeToLeave = Connection::Departure{who, context_.now};
        detachConnection(seat);
    }
    if (inHand())
        table_.abandonHand(who + " was made to leave");
    removeSeat(seat, "was made to leave");
}

void Seating::detachedFrame(ConnectionId id, const MessageFrame &frame)
{
    const auto it = connections_.find(id);
    if (it == connections_.end() || !it->second.madeToLeave)
        return;
    const auto readyOrLeave = frames::readExact<wire::ReadyOrLeaveFrame>(frame);
    if (frame.cmd() != wire::CmdReadyOrLeave || !readyOrLeave || readyOrLeave->ready)
        return;
    const Connection::Departure &departure = *it->second.madeToLeave;
    context_.log(departure.who + " sends its leave frame "
                 + std::to_string(context_.now - departure.at) + " ms after being made to leave");
}

// ---------------------------------------------------------------- seated frames

void Seating::readyOrLeave(int seat, const MessageFrame &frame)
{
    Seat &s = seats_[static_cast<std::size_t>(seat)];
    const auto readyOrLeave = frames::readExact<wire::ReadyOrLeaveFrame>(frame);
    if (!readyOrLeave) {
        context_.logFrame(seatName(seat)
                          + " sent a ready-or-leave frame the client never builds; "
                            "ignored");
        return;
    }
    if (!readyOrLeave->ready) {
        const std::string who = seatName(seat);
        detachConnection(seat);
        if (inHand())
            table_.abandonHand(who + " left during the hand");
        removeSeat(seat, "left");
        return;
    }
    if (inHand()) {
        context_.logFrame(seatName(seat) + " said ready during a hand; ignored");
        return;
    }
    if (!s.ready) {
        s.ready = true;
        context_.log(seatName(seat) + " is ready");
        context_.delivery.toAll(frames::ready(s.user.account));
    }
    changed();
}

void Seating::chat(int seat, const MessageFrame &frame)
{
    const wire::ChatFrame line = wire::ChatFrame::decode(frame);
    if (line.isItemTraffic()) {
        context_.logFrame(seatName(seat) + " sent an item-library frame; dropped");
        return;
    }
    int to = -1;
    if (line.whisperTo.raw != 0) {
        to = seatIndex(line.whisperTo.raw);
        if (to < 0 || !at(to).occupied) {
            context_.logFrame(seatName(seat) + " whispered to seat bits "
                              + std::to_string(line.whisperTo.raw)
                              + ", where nobody sits; dropped");
            return;
        }
    }
    if (to < 0 && !speaksInOwnName(line.text, user(seat).nickname)) {
        context_.logFrame(seatName(seat)
                          + " sent a line not in its own name; dropped: " + line.text);
        return;
    }
    if (!seats_[static_cast<std::size_t>(seat)].chat.allow(context_.now)) {
        context_.logFrame(seatName(seat) + " chats faster than the table can read; line dropped");
        return;
    }
    const MessageFrame relay = frames::chatRelay(line, seatBit(seat));
    if (to < 0) {
        context_.log("chat " + seatName(seat) + ": " + line.text);
        context_.delivery.toAll(relay);
        return;
    }
    context_.log("whisper " + seatName(seat) + " to " + seatName(to) + ": " + line.text);
    context_.delivery.toSeat(seat, relay);
    if (to != seat)
        context_.delivery.toSeat(to, relay);
}

// ---------------------------------------------------------------- the hand cycle

void Seating::handStarted()
{
    for (auto &seat : seats_)
        seat.ready = seat.bot;
}

void Seating::handOver()
{
    for (auto &seat : seats_) {
        seat.sawHandEnd = true;
        // A player who dropped during the hand has the shorter between-hands
        // wait from now on.
        if (seat.dropAt)
            seat.dropAt
                    = std::min(*seat.dropAt, context_.now + context_.options.dropBetweenHandsMs);
    }
    for (auto &seat : seats_) {
        if (seat.occupied && seat.bot) {
            seat.ready = true;
            context_.delivery.toAll(frames::ready(seat.user.account));
        }
    }
}

void Seating::settleShortCoins()
{
    const auto minimum = kShortBelowStakes * static_cast<std::uint64_t>(scoring::kStake);
    std::uint8_t shortSeats = 0;
    for (int seat = 0; seat < kSeats; ++seat) {
        Seat &s = seats_[static_cast<std::size_t>(seat)];
        if (!s.occupied || s.user.coins >= minimum)
            continue;
        if (s.bot) {
            s.user.coins = context_.options.botCoins;
            context_.log(seatName(seat) + " is short of coins and refilled");
        } else {
            shortSeats = static_cast<std::uint8_t>(shortSeats | seatBit(seat));
        }
    }
    if (shortSeats == 0)
        return;
    // The short players are told to collect their allowance; their clients
    // close the connection themselves. The others then see them leave.
    context_.delivery.toAll(frames::coinsShort(shortSeats, 0));
    std::vector<std::string> gone;
    for (int seat = 0; seat < kSeats; ++seat) {
        if (shortSeats & seatBit(seat))
            gone.push_back(vacate(seat, "short of coins"));
    }
    for (const std::string &account : gone)
        context_.delivery.toAll(frames::userLeft(account, kUserLeftClock10s));
    changed();
}

} // namespace tessaroc::tableserver
