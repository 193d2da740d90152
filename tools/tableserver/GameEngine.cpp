#include "GameEngine.h"

#include "FrameSpec.h"

namespace tessaroc::tableserver {

using wire::MessageFrame;

namespace {

// Shown to a player whose client sent a play the rules refuse.
constexpr std::string_view kBadPlayText = "出牌数据错误，请重新进入游戏";
// Shown to a player the tests' switch makes leave.
constexpr std::string_view kTestLeaveText = "服务器请你离开本桌";

} // namespace

GameEngine::GameEngine(EngineOptions options, LogSink log)
    : context_(std::move(options), std::move(log))
    , seating_(
              context_,
              Seating::Table{
                      [this] { return referee_.inProgress(); },
                      [this] { return referee_.resumeValue(); },
                      [this](const std::string &why) { referee_.abandon(why); },
                      [this] { tryStartHand(); },
                      [this](int seat, std::size_t replayed) { referee_.returned(seat, replayed); },
              })
    , referee_(context_, seating_,
               HandReferee::Table{
                       [this](bool settled) { handOver(settled); },
                       [this](int seat) { seating_.forceLeave(seat, kBadPlayText); },
                       [this](int seat) { seating_.forceLeave(seat, kTestLeaveText); },
               })
{
    if (context_.options.checkClientFrames) {
        checker_ = std::make_unique<ClientFrameChecker>();
        context_.delivery.setSentObserver(
                [this](int seat, const MessageFrame &frame) { checker_->sent(seat, frame); });
        context_.seatReset = [this](int seat) {
            checker_->seatReset(seat);
        };
    }
}

void GameEngine::open(std::int64_t nowMs)
{
    context_.now = nowMs;
    tryStartHand();
}

void GameEngine::connected(ConnectionId id, std::int64_t nowMs)
{
    context_.now = nowMs;
    seating_.connected(id);
}

void GameEngine::received(ConnectionId id, const MessageFrame &frame, std::int64_t nowMs)
{
    context_.now = nowMs;
    const auto state = seating_.stateOf(id);
    if (!state)
        return;
    const std::optional<int> seat = seating_.seatOf(id);
    if (checker_) {
        if (const auto why = checker_->check(id, seat, frame)) {
            refuseClientFrame(id, seat, frame, *why);
            return;
        }
    }
    switch (*state) {
    case Seating::ConnectionState::AwaitingLogin:
        seating_.firstFrame(id, frame);
        break;
    case Seating::ConnectionState::Seated:
        seated(*seat, frame);
        break;
    case Seating::ConnectionState::Detached:
        seating_.detachedFrame(id, frame);
        break;
    }
}

void GameEngine::disconnected(ConnectionId id, std::int64_t nowMs)
{
    context_.now = nowMs;
    seating_.disconnected(id);
    if (checker_)
        checker_->connectionClosed(id);
}

void GameEngine::seated(int seat, const MessageFrame &frame)
{
    switch (frame.cmd()) {
    case wire::CmdLogin:
    case wire::CmdReconnect:
        context_.logFrame(seating_.seatName(seat)
                          + " sent another login on its connection; ignored");
        break;
    case wire::CmdKeepAlive:
        break;
    case wire::CmdReadyOrLeave:
        seating_.readyOrLeave(seat, frame);
        break;
    case wire::CmdChat:
        seating_.chat(seat, frame);
        break;
    case wire::CmdBid:
        referee_.bidFrame(seat, frame);
        break;
    case wire::CmdPlay:
        referee_.playFrame(seat, frame);
        break;
    default:
        context_.logFrame(seating_.seatName(seat) + " sent command " + std::to_string(frame.cmd())
                          + "; ignored");
        break;
    }
}

bool GameEngine::runDue(std::int64_t nowMs)
{
    context_.now = nowMs;
    if (context_.delivery.releaseDue(nowMs))
        return true;
    // The earliest step of any part; on a tie the turn goes first, then the
    // seats' waits, then the start of a hand.
    enum class Due { None, Turn, Seats, HandStart };
    Due due = Due::None;
    std::int64_t at = nowMs;
    const auto consider = [&](const std::optional<std::int64_t> &when, Due what) {
        if (when && *when <= nowMs && (due == Due::None || *when < at)) {
            due = what;
            at = *when;
        }
    };
    consider(referee_.nextDeadline(), Due::Turn);
    consider(seating_.nextDeadline(), Due::Seats);
    consider(handStartAt_, Due::HandStart);

    switch (due) {
    case Due::None:
        return false;
    case Due::Turn:
        return referee_.runDue();
    case Due::Seats:
        return seating_.runDue();
    case Due::HandStart:
        handStartAt_.reset();
        startWaitOver_ = true;
        tryStartHand();
        return true;
    }
    return false;
}

std::optional<std::int64_t> GameEngine::nextDeadline() const
{
    std::optional<std::int64_t> next;
    for (const auto &when : {referee_.nextDeadline(), seating_.nextDeadline(), handStartAt_,
                             context_.delivery.nextDeadline()}) {
        if (when && (!next || *when < *next))
            next = when;
    }
    return next;
}

std::vector<Delivery> GameEngine::takeDeliveries()
{
    return context_.delivery.take();
}

void GameEngine::forceLeave(int seat, std::string_view textUtf8, std::int64_t nowMs)
{
    context_.now = nowMs;
    seating_.forceLeave(seat, textUtf8);
}

void GameEngine::setHandListener(std::function<void(const HandHistory &)> listener)
{
    referee_.setHandListener(std::move(listener));
}

void GameEngine::setClientFrameReport(LogSink report)
{
    clientFrameReport_ = std::move(report);
}

void GameEngine::refuseClientFrame(ConnectionId id, std::optional<int> seat,
                                   const MessageFrame &frame, const std::string &why)
{
    ++refusedClientFrames_;
    const std::string who = seat ? seating_.seatName(*seat) : "connection #" + std::to_string(id);
    const std::string line = "refused a " + commandName(frame.cmd()) + " frame from " + who + ": "
            + why + " [" + wire::describe(frame) + "]";
    context_.logFrame(line);
    if (clientFrameReport_)
        clientFrameReport_(line);
    // A connection whose first frame is no login is not a client.
    seating_.turnAway(id);
}

SeatView GameEngine::seat(int index) const
{
    SeatView view;
    if (index < 0 || index >= kSeats)
        return view;
    view.occupied = seating_.occupied(index);
    view.bot = seating_.isBot(index);
    view.connected = seating_.isConnected(index);
    view.ready = seating_.isReady(index);
    view.account = seating_.user(index).account;
    view.coins = seating_.user(index).coins;
    view.cardsHeld = referee_.cardsHeld(index);
    return view;
}

void GameEngine::tryStartHand()
{
    if (referee_.inProgress())
        return;
    if (!seating_.tableFull()) {
        handStartAt_.reset();
        startWaitOver_ = false;
        return;
    }
    const bool unreadyStarts = context_.options.startWithoutReady;
    if (unreadyStarts && !handStartAt_ && !startWaitOver_)
        handStartAt_ = context_.now + context_.options.firstHandWaitMs;
    if (!seating_.tableReady())
        return;
    // A person who has not said ready holds the hand up: a newcomer sees the
    // table before the cards come, and the client's ready clock says ready
    // for the player after a hand. Computer players are always ready.
    if (seating_.allReady() || (unreadyStarts && startWaitOver_)) {
        handStartAt_.reset();
        startWaitOver_ = false;
        referee_.start();
    }
}

void GameEngine::handOver(bool settled)
{
    handStartAt_ = context_.now + context_.options.nextHandWaitMs;
    startWaitOver_ = false;
    seating_.handOver();
    if (settled)
        seating_.settleShortCoins();
}

} // namespace tessaroc::tableserver
