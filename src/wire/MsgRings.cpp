#include "wire/MsgRings.h"

#include "wire/GbkText.h"

namespace tessaroc::wire {

bool FrameRing::pushFrame(const MessageFrame &frame)
{
    // One more frame must not bring the write index onto the read index.
    if (waiting() + kFrameSize >= kRingSize)
        return false;
    for (std::uint8_t b : frame.bytes()) {
        bytes_[write_] = b;
        write_ = (write_ + 1) % kRingSize;
    }
    return true;
}

bool FrameRing::peekFrame(MessageFrame &frame) const
{
    if (!hasFrame())
        return false;
    auto &out = frame.bytes();
    for (std::size_t i = 0; i < kFrameSize; ++i)
        out[i] = bytes_[(read_ + i) % kRingSize];
    return true;
}

void FrameRing::dropFrame()
{
    if (hasFrame())
        read_ = (read_ + kFrameSize) % kRingSize;
}

bool FrameRing::takeFrame(MessageFrame &frame)
{
    if (!peekFrame(frame))
        return false;
    dropFrame();
    return true;
}

void ResetMsgRings(MsgRings &rings)
{
    rings.RecvRing.reset();
    rings.SendRing.reset();
}

SendResult SendMsg(MsgRings &rings, MessageFrame &frame)
{
    if (isChatLine(frame)) {
        if (rings.PendingChat.empty())
            return SendResult::EmptyChat;
        packChatText(frame, rings.PendingChat);
        rings.PendingChat.clear();
    }
    frame.setByte(offset::kEcho, rings.EchoBytes[0]);
    frame.setByte(offset::kEcho + 1, rings.EchoBytes[1]);

    if (!rings.SendRing.pushFrame(frame)) {
        ++rings.refusedFrames;
        return SendResult::RingFull;
    }
    return SendResult::Queued;
}

ReceiveResult ReceiveIntoRing(MsgRings &rings, std::span<const std::uint8_t> bytes)
{
    // At most kRingSize - 1 bytes may wait unread, in the ring or held.
    const std::size_t held = rings.HeldRecv.size() * kFrameSize;
    const std::size_t unread = rings.RecvRing.waiting() + held;
    const std::size_t room = unread < kRingSize - 1 ? kRingSize - 1 - unread : 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i >= room || !rings.RecvRing.pushByte(bytes[i]))
            return ReceiveResult::Overflow;
    }
    return ReceiveResult::Stored;
}

void KeepEchoBytes(MsgRings &rings, const MessageFrame &received)
{
    if (received.cmd() == CmdReconnectAnswer)
        return;
    rings.EchoBytes = {received.byteAt(offset::kEcho), received.byteAt(offset::kEcho + 1)};
}

} // namespace tessaroc::wire
