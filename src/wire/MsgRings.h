#pragma once

#include "wire/ChatFrame.h"
#include "wire/MessageFrame.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>
#include <string>

// The two message rings between the socket and the main loop. Socket events
// and button handlers never send or dispatch a frame themselves: received
// bytes are only appended to RecvRing, frames to send only to SendRing, and
// the main loop's tick is the single consumer of both (one frame each way per
// tick at most).
namespace tessaroc::wire {

// 128 frames of 272 bytes.
inline constexpr std::size_t kRingSize = 0x8800;
// A ring can never hold kRingSize bytes: the write index landing on the read
// index would read as empty. So 127 whole frames is the most that may wait.
inline constexpr std::size_t kMaxWaitingFrames = kRingSize / kFrameSize - 1;

// A ring of Size bytes with a read and a write index. Both indexes always
// stay inside the ring, and every access is taken modulo its size, so no count
// or index from the wire can reach outside it. The ring can never hold Size
// bytes: the write index landing on the read index would read as empty.
template<std::size_t Size> class ByteRing
{
public:
    static constexpr std::size_t kSize = Size;

    std::size_t readIndex() const { return read_; }
    std::size_t writeIndex() const { return write_; }
    std::size_t waiting() const { return (write_ + Size - read_) % Size; }
    // The byte `i` places after the read index (i < waiting()).
    std::uint8_t at(std::size_t i) const { return bytes_[(read_ + i) % Size]; }
    // Both indexes to 0; the bytes stay, but read as gone.
    void reset() { read_ = write_ = 0; }

    // Appends one byte unless it would bring the write index onto the read
    // index (the ring would read as empty and lose everything in it); then
    // nothing is written and false comes back.
    bool pushByte(std::uint8_t b)
    {
        const std::size_t next = (write_ + 1) % Size;
        if (next == read_)
            return false;
        bytes_[write_] = b;
        write_ = next;
        return true;
    }
    // Moves the read index past n waiting bytes (at most all of them).
    void consume(std::size_t n) { read_ = (read_ + std::min(n, waiting())) % Size; }

protected:
    std::array<std::uint8_t, Size> bytes_{};
    std::size_t read_ = 0;
    std::size_t write_ = 0;
};

// The receive and send rings: bytes in, whole frames out.
class FrameRing : public ByteRing<kRingSize>
{
public:
    bool hasFrame() const { return waiting() >= kFrameSize; }
    // Appends a whole frame when there is room for it (at most
    // kMaxWaitingFrames frames waiting); false leaves the ring untouched.
    bool pushFrame(const MessageFrame &frame);
    // Copies the frame at the read index without moving it; false when fewer
    // than kFrameSize bytes wait.
    bool peekFrame(MessageFrame &frame) const;
    // Moves the read index past one frame; only when a whole frame waits.
    void dropFrame();
    bool takeFrame(MessageFrame &frame);
};

// The buffer of the proxy handshake's replies, used only while RingMode is
// false; the handshake resets it before every request.
using ProxyReplyBuffer = ByteRing<1024>;

// The state the rings share with the send path and the socket events.
struct MsgRings
{
    FrameRing RecvRing;
    // Whole frames the main loop took out of RecvRing to dispatch later, in
    // arrival order (the user-left frames held back while a hand's results
    // come in). They are still unread: they take their room in the receive
    // bound as if they had stayed in the ring, so holding frames never lets
    // more wait than the ring holds. Emptying the rings leaves them: they came
    // whole from the server and belong to the hand, not to the connection.
    std::deque<MessageFrame> HeldRecv;
    FrameRing SendRing;
    // True: received bytes go to RecvRing. False: the proxy handshake runs and
    // they go to the handshake's reply buffer.
    bool RingMode = true;
    // The chat line waiting to be packed into the next chat frame (UTF-8).
    std::string PendingChat;
    // Bytes 260 and 261 of the last dispatched frame, written into every frame
    // queued.
    std::array<std::uint8_t, 2> EchoBytes{};
    // Frames SendMsg refused because 127 frames were already waiting.
    std::uint32_t refusedFrames = 0;
};

// Empties both message rings: frames still queued or half received are gone.
// The held received frames stay.
void ResetMsgRings(MsgRings &rings);

enum class SendResult {
    Queued,
    EmptyChat, // a chat line with no pending text: nothing queued
    RingFull, // 127 frames already wait: refused and counted
};

// Queues one frame for the send slot. A chat line (isChatLine) gets
// PendingChat packed into it (packChatText) and PendingChat is emptied. Every queued frame gets
// EchoBytes in bytes 260 and 261. The caller's frame is changed in place, as senders expect.
// Unless the chat line was empty the caller arms the send slot, a refused frame too: the
// frames that wait still go.
SendResult SendMsg(MsgRings &rings, MessageFrame &frame);

enum class ReceiveResult {
    Stored,
    // The byte that would fill the receive ring was refused: more than
    // 34815 bytes unread, the held frames counted with the ring's. The caller
    // restores the hall and ends; nothing more of this arrival is stored.
    Overflow,
};

// The socket's data event in ring mode: appends the bytes to RecvRing in
// order; once they are stored the caller arms the receive slot. The held
// frames leave that much less room.
ReceiveResult ReceiveIntoRing(MsgRings &rings, std::span<const std::uint8_t> bytes);

// The dispatcher keeps the echo bytes of every received frame except the
// reconnect answer, whose echo bytes mean nothing.
void KeepEchoBytes(MsgRings &rings, const MessageFrame &received);

} // namespace tessaroc::wire
