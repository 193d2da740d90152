// Arbitrary byte streams through the receive path: arrivals of any size into
// the receive ring, frames cut out of it (some held at the head as the main
// loop holds a user-left frame), their echo bytes kept, their text fields read
// under every rule, each frame read by its command's codec and dispatched to
// a whole client with its table window laid out offscreen, and frames queued
// back through the send path. Whatever the bytes, every frame must come out
// whole and in the order it went in.
#include "FuzzCheck.h"
#include "ReceiveDispatch.h"
#include "wire/ChatFrame.h"
#include "wire/GbkText.h"
#include "wire/MsgRings.h"
#include "wire/ReceivedFrames.h"

#include <algorithm>
#include <cstring>
#include <vector>

using namespace tessaroc::wire;

namespace {

struct Reader
{
    const std::uint8_t *data;
    std::size_t size;
    std::size_t pos = 0;

    bool done() const { return pos >= size; }
    std::uint8_t byte() { return pos < size ? data[pos++] : 0; }
    std::size_t take(std::size_t n, const std::uint8_t *&out)
    {
        n = std::min(n, size - pos);
        out = data + pos;
        pos += n;
        return n;
    }
};

void readFields(const MessageFrame &frame, std::uint8_t a, std::uint8_t b)
{
    const FieldText rules[] = {FieldText::Mixed, FieldText::MixedInField, FieldText::TwoByte,
                               FieldText::SingleByte};
    const std::size_t first = a + (b & 0x1F);
    const std::size_t last = first + b;
    for (FieldText rule : rules) {
        const std::string text = readFieldText(frame, first, last, rule);
        fuzzCheck(text.size() <= 4 * kFrameSize);
    }
    readFieldText(frame, 16, 215);
}

// The cards a codec reads stay within a whole hand, and written back they
// read the same.
template<typename Frame> void checkCards(const Frame &value)
{
    fuzzCheck(value.cards().size() <= kMaxFrameCards);
    const Frame back = Frame::decode(value.encode());
    fuzzCheck(std::equal(back.cards().begin(), back.cards().end(), value.cards().begin(),
                         value.cards().end()));
}

void decodeByCommand(const MessageFrame &frame)
{
    switch (frame.cmd()) {
    case CmdDeal:
        checkCards(DealFrame::decode(frame));
        break;
    case CmdBidTurn:
        BidTurnFrame::decode(frame);
        break;
    case CmdPlayed:
        checkCards(PlayedFrame::decode(frame));
        break;
    case CmdHandResult:
        checkCards(HandResultFrame::decode(frame));
        break;
    case CmdReadyOrLeave:
        ReadyOrLeaveNoticeFrame::decode(frame);
        break;
    case CmdLogin:
        LoginAnswerFrame::decode(frame);
        break;
    case CmdChat:
        ChatFrame::decode(frame);
        break;
    case CmdUserInfo:
        UserInfoFrame::decode(frame);
        break;
    case CmdUserLeft:
        UserLeftFrame::decode(frame);
        break;
    case CmdForcedLeave:
        ForcedLeaveFrame::decode(frame);
        break;
    case CmdReady:
        ReadyFrame::decode(frame);
        break;
    case CmdReconnectAnswer:
        ReconnectAnswerFrame::decode(frame);
        break;
    default:
        ItemFrame::decode(frame);
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Reader in{data, size};
    MsgRings rings;
    std::vector<std::uint8_t> fed;
    std::size_t taken = 0; // bytes of `fed` already cut into frames

    while (!in.done()) {
        const std::uint8_t op = in.byte();
        switch (op % 4) {
        case 0:
        case 1: {
            // An arrival of 1 to 1024 bytes (large ones now and then).
            std::size_t n = 1 + (static_cast<std::size_t>(in.byte()) << (op & 0x0C ? 2 : 0));
            const std::uint8_t *bytes = nullptr;
            n = in.take(n, bytes);
            if (ReceiveIntoRing(rings, std::span(bytes, n)) == ReceiveResult::Overflow)
                return 0; // the client ends here
            fed.insert(fed.end(), bytes, bytes + n);
            fuzzCheck(rings.RecvRing.waiting() == fed.size() - taken);
            break;
        }
        case 2: {
            MessageFrame frame;
            const bool whole = rings.RecvRing.peekFrame(frame);
            fuzzCheck(whole == (fed.size() - taken >= kFrameSize));
            if (!whole)
                break;
            fuzzCheck(std::memcmp(frame.data(), fed.data() + taken, kFrameSize) == 0);
            if (frame.cmd() == CmdUserLeft && (op & 0x80))
                break; // held at the head
            rings.RecvRing.dropFrame();
            taken += kFrameSize;
            KeepEchoBytes(rings, frame);
            readFields(frame, in.byte(), in.byte());
            decodeByCommand(frame);
            dispatchToClient(frame);
            break;
        }
        case 3: {
            // Queue a frame made of the stream, with a chat line from it.
            MessageFrame frame;
            const std::uint8_t *bytes = nullptr;
            const std::size_t n = in.take(kFrameSize, bytes);
            std::memcpy(frame.data(), bytes, n);
            const std::size_t chatLength = in.byte();
            const std::uint8_t *chat = nullptr;
            const std::size_t c = in.take(chatLength, chat);
            rings.PendingChat.assign(reinterpret_cast<const char *>(chat), c);
            const std::size_t before = rings.SendRing.waiting();
            const SendResult result = SendMsg(rings, frame);
            fuzzCheck(rings.SendRing.waiting()
                      == before + (result == SendResult::Queued ? kFrameSize : 0));
            fuzzCheck(rings.SendRing.waiting() <= kMaxWaitingFrames * kFrameSize);
            if (op & 0x40) {
                MessageFrame out;
                rings.SendRing.takeFrame(out);
            }
            break;
        }
        }
    }
    return 0;
}
