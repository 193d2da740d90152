#include "FrameDelivery.h"

#include <algorithm>

namespace tessaroc::tableserver {

using wire::MessageFrame;

FrameDelivery::FrameDelivery(ReplayPace pace)
    : pace_(pace)
{
    pace_.burst = std::max(pace_.burst, 1);
    pace_.intervalMs = std::max<std::int64_t>(pace_.intervalMs, 0);
}

void FrameDelivery::opened(ConnectionId id)
{
    open_.insert(id);
}

void FrameDelivery::closed(ConnectionId id)
{
    open_.erase(id);
    closing_.erase(id);
    pending_.erase(id);
    std::erase(pendingOrder_, id);
    paced_.erase(id);
    for (auto &seat : seats_) {
        if (seat.connection == id)
            seat.connection.reset();
    }
}

void FrameDelivery::seatPerson(int seat)
{
    SeatLine &line = seats_[static_cast<std::size_t>(seat)];
    line = SeatLine{};
    line.person = true;
}

void FrameDelivery::freeSeat(int seat)
{
    seats_[static_cast<std::size_t>(seat)] = SeatLine{};
}

void FrameDelivery::bind(int seat, ConnectionId id)
{
    seats_[static_cast<std::size_t>(seat)].connection = id;
}

void FrameDelivery::unbind(int seat)
{
    seats_[static_cast<std::size_t>(seat)].connection.reset();
}

std::optional<ConnectionId> FrameDelivery::connectionOf(int seat) const
{
    return seats_[static_cast<std::size_t>(seat)].connection;
}

std::uint16_t FrameDelivery::lastSequence(int seat) const
{
    return seats_[static_cast<std::size_t>(seat)].lastSequence;
}

void FrameDelivery::toSeat(int seat, MessageFrame frame)
{
    SeatLine &line = seats_[static_cast<std::size_t>(seat)];
    if (!line.person)
        return;
    // The echo bytes number the frames a seat was sent, 1 to 65535 and
    // round again, across its connections: the client echoes the number of
    // the last frame it read, which bounds what it has not read yet and says
    // where to resume after a reconnection.
    line.lastSequence
            = line.lastSequence >= 0xFFFF ? 1 : static_cast<std::uint16_t>(line.lastSequence + 1);
    frame.setU16le(wire::offset::kEcho, line.lastSequence);
    if (logging_)
        line.log.push_back(frame);
    if (observer_)
        observer_(seat, frame);
    if (!line.connection || !accepts(*line.connection))
        return;
    const auto paced = paced_.find(*line.connection);
    if (paced != paced_.end())
        paced->second.waiting.push_back(frame);
    else
        collected(*line.connection).frames.push_back(frame);
}

void FrameDelivery::toAll(const MessageFrame &frame)
{
    for (int seat = 0; seat < kSeats; ++seat)
        toSeat(seat, frame);
}

void FrameDelivery::toConnection(ConnectionId id, const MessageFrame &frame)
{
    if (accepts(id))
        collected(id).frames.push_back(frame);
}

void FrameDelivery::close(ConnectionId id)
{
    if (!accepts(id))
        return;
    paced_.erase(id);
    closing_.insert(id);
    collected(id).close = true;
}

void FrameDelivery::startHandLog()
{
    logging_ = true;
    for (auto &seat : seats_)
        seat.log.clear();
}

void FrameDelivery::stopHandLog()
{
    logging_ = false;
}

std::size_t FrameDelivery::replay(int seat, ConnectionId id, const MessageFrame &answer,
                                  std::uint16_t echo, std::int64_t nowMs)
{
    if (!accepts(id))
        return 0;
    toConnection(id, answer);
    const auto &log = seats_[static_cast<std::size_t>(seat)].log;
    const auto echoed = std::find_if(log.begin(), log.end(), [echo](const MessageFrame &f) {
        return f.u16le(wire::offset::kEcho) == echo;
    });
    const auto from = echoed == log.end() ? log.begin() : echoed + 1;
    Paced &paced = paced_[id];
    paced.waiting.assign(from, log.end());
    const auto count = paced.waiting.size();
    // The first burst goes with the answer.
    releaseBurst(id, paced, nowMs);
    return count;
}

bool FrameDelivery::pacing(ConnectionId id) const
{
    return paced_.contains(id);
}

void FrameDelivery::releaseBurst(ConnectionId id, Paced &paced, std::int64_t nowMs)
{
    auto &frames = collected(id).frames;
    for (int i = 0; i < pace_.burst && !paced.waiting.empty(); ++i) {
        frames.push_back(paced.waiting.front());
        paced.waiting.pop_front();
    }
    paced.nextAt = nowMs + pace_.intervalMs;
    if (paced.waiting.empty())
        paced_.erase(id);
}

bool FrameDelivery::releaseDue(std::int64_t nowMs)
{
    std::vector<ConnectionId> due;
    for (const auto &[id, paced] : paced_) {
        if (paced.nextAt <= nowMs)
            due.push_back(id);
    }
    for (const ConnectionId id : due)
        releaseBurst(id, paced_.at(id), nowMs);
    return !due.empty();
}

std::optional<std::int64_t> FrameDelivery::nextDeadline() const
{
    std::optional<std::int64_t> next;
    for (const auto &entry : paced_) {
        if (!next || entry.second.nextAt < *next)
            next = entry.second.nextAt;
    }
    return next;
}

std::vector<Delivery> FrameDelivery::take()
{
    std::vector<Delivery> out;
    out.reserve(pendingOrder_.size());
    for (const ConnectionId id : pendingOrder_) {
        const auto it = pending_.find(id);
        if (it != pending_.end())
            out.push_back(std::move(it->second));
    }
    pending_.clear();
    pendingOrder_.clear();
    return out;
}

bool FrameDelivery::accepts(ConnectionId id) const
{
    return open_.contains(id) && !closing_.contains(id);
}

Delivery &FrameDelivery::collected(ConnectionId id)
{
    auto [it, inserted] = pending_.try_emplace(id);
    if (inserted) {
        it->second.connection = id;
        pendingOrder_.push_back(id);
    }
    return it->second;
}

} // namespace tessaroc::tableserver
