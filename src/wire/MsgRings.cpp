#include "wire/MsgRings.h"

#include "wire/GbkText.h"

namespace tessaroc::wire {

bool FrameRing::pushByte(std::uint8_t b)
{
    const std::size_t next = (write_ + 1) % RingSize;
    if (next == read_)
        return false;
    bytes_[write_] = b;
    write_ = next;
    return true;
}

bool FrameRing::pushFrame(const MessageFrame &frame)
{
    // One more frame must not bring the write index onto the read index.
    if (waiting() + FrameSize >= RingSize)
        return false;
    for (std::uint8_t b : frame.bytes()) {
        bytes_[write_] = b;
        write_ = (write_ + 1) % RingSize;
    }
    return true;
}

bool FrameRing::peekFrame(MessageFrame &frame) const
{
    if (!hasFrame())
        return false;
    auto &out = frame.bytes();
    for (std::size_t i = 0; i < FrameSize; ++i)
        out[i] = bytes_[(read_ + i) % RingSize];
    return true;
}

void FrameRing::dropFrame()
{
    if (hasFrame())
        read_ = (read_ + FrameSize) % RingSize;
}

bool FrameRing::takeFrame(MessageFrame &frame)
{
    if (!peekFrame(frame))
        return false;
    dropFrame();
    return true;
}

bool ProxyReplyBuffer::pushByte(std::uint8_t b)
{
    const std::size_t next = (write_ + 1) % Size;
    if (next == read_)
        return false;
    bytes_[write_] = b;
    write_ = next;
    return true;
}

void ProxyReplyBuffer::consume(std::size_t n)
{
    if (n > waiting())
        n = waiting();
    read_ = (read_ + n) % Size;
}

void ResetMsgRings(MsgRings &rings)
{
    rings.RecvRing.reset();
    rings.SendRing.reset();
}

namespace {

constexpr std::uint32_t ItemKindWords[] = {272, 260};

bool isChatLine(const MessageFrame &frame)
{
    if (frame.cmd() != CmdChat)
        return false;
    const std::uint32_t kind = frame.kindWord();
    for (std::uint32_t item : ItemKindWords) {
        if (kind == item)
            return false;
    }
    return true;
}

void packChat(MessageFrame &frame, std::string &pendingChat)
{
    std::u32string chars = utf8ToChars(pendingChat);
    if (chars.size() > MaxChatChars)
        chars.resize(MaxChatChars);
    // 100 characters of at most two bytes end by byte 215, inside the body.
    const std::size_t written = writeFieldText(frame, offset::Body, offset::BodyEnd - 1, chars);
    for (std::size_t pos = offset::Body + written; pos < FrameSize; ++pos)
        frame.setByte(pos, 0);
    pendingChat.clear();
}

} // namespace

SendResult SendMsg(MsgRings &rings, MessageFrame &frame, RingSlots &slots)
{
    if (isChatLine(frame)) {
        if (rings.PendingChat.empty())
            return SendResult::EmptyChat;
        packChat(frame, rings.PendingChat);
    }
    frame.setByte(offset::Echo, rings.EchoBytes[0]);
    frame.setByte(offset::Echo + 1, rings.EchoBytes[1]);

    SendResult result = SendResult::Queued;
    if (!rings.SendRing.pushFrame(frame)) {
        ++rings.refusedFrames;
        result = SendResult::RingFull;
    }
    // Frames wait either way: the send slot drains one per tick from the next.
    slots.SlotFlag0 = true;
    slots.SlotTicks0 = 0;
    return result;
}

ReceiveResult ReceiveIntoRing(MsgRings &rings, std::span<const std::uint8_t> bytes,
                              RingSlots &slots)
{
    for (std::uint8_t b : bytes) {
        if (!rings.RecvRing.pushByte(b))
            return ReceiveResult::Overflow;
    }
    slots.SlotFlag1 = true;
    slots.SlotTicks1 = 0;
    return ReceiveResult::Stored;
}

void KeepEchoBytes(MsgRings &rings, const MessageFrame &received)
{
    if (received.cmd() == CmdReconnectAnswer)
        return;
    rings.EchoBytes = {received.byteAt(offset::Echo), received.byteAt(offset::Echo + 1)};
}

} // namespace tessaroc::wire
