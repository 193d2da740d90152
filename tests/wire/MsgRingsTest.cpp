#include "wire/MsgRings.h"
#include "wire/SentFrames.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tessaroc::wire;

namespace {

// A frame whose every byte tells it apart from its neighbours; its command
// is no chat line, so the send path queues it as it is.
MessageFrame numberedFrame(unsigned n)
{
    MessageFrame frame;
    for (std::size_t i = 0; i < kFrameSize; ++i)
        frame.bytes()[i] = static_cast<std::uint8_t>(n * 7 + i);
    frame.setCmd(CmdKeepAlive);
    return frame;
}

std::vector<std::uint8_t> bytesOf(std::initializer_list<MessageFrame> frames)
{
    std::vector<std::uint8_t> out;
    for (const auto &f : frames)
        out.insert(out.end(), f.bytes().begin(), f.bytes().end());
    return out;
}

// Moves both indexes of a ring to `frames` whole frames from its start by
// passing frames through it.
void advanceRing(MsgRings &rings, unsigned frames)
{
    MessageFrame scratch;
    for (unsigned i = 0; i < frames; ++i) {
        const auto bytes = bytesOf({numberedFrame(1000 + i)});
        ASSERT_EQ(ReceiveIntoRing(rings, bytes), ReceiveResult::Stored);
        ASSERT_TRUE(rings.RecvRing.takeFrame(scratch));
    }
}

std::string frameText(const MessageFrame &frame, std::size_t from, std::size_t to)
{
    return std::string(reinterpret_cast<const char *>(frame.data() + from), to - from);
}

} // namespace

TEST(RecvRing, FramesComeOutWholeAndInOrderAcrossTheWrap)
{
    MsgRings rings;
    MessageFrame out;
    unsigned next = 0;
    // 300 frames in bursts of 100 pass the end of the ring twice.
    for (unsigned burst = 0; burst < 3; ++burst) {
        for (unsigned i = 0; i < 100; ++i) {
            const auto bytes = bytesOf({numberedFrame(burst * 100 + i)});
            ASSERT_EQ(ReceiveIntoRing(rings, bytes), ReceiveResult::Stored);
        }
        while (rings.RecvRing.takeFrame(out))
            ASSERT_EQ(out, numberedFrame(next++));
    }
    EXPECT_EQ(next, 300u);
    EXPECT_EQ(rings.RecvRing.readIndex() % kFrameSize, 0u);
}

class SplitArrival : public testing::TestWithParam<unsigned>
{
};

TEST_P(SplitArrival, OneAndTwoFramesSplitAtEveryOffsetArriveWhole)
{
    const unsigned startFrames = GetParam();
    for (std::size_t split = 1; split < kFrameSize; ++split) {
        SCOPED_TRACE(split);
        MsgRings rings;
        advanceRing(rings, startFrames);
        MessageFrame out;

        const auto one = bytesOf({numberedFrame(1)});
        ReceiveIntoRing(rings, std::span(one).first(split));
        EXPECT_FALSE(rings.RecvRing.takeFrame(out)) << "nothing before 272 bytes wait";
        ReceiveIntoRing(rings, std::span(one).subspan(split));
        ASSERT_TRUE(rings.RecvRing.takeFrame(out));
        EXPECT_EQ(out, numberedFrame(1));

        const auto two = bytesOf({numberedFrame(2), numberedFrame(3)});
        ReceiveIntoRing(rings, std::span(two).first(split));
        EXPECT_FALSE(rings.RecvRing.hasFrame());
        ReceiveIntoRing(rings, std::span(two).subspan(split));
        ASSERT_TRUE(rings.RecvRing.takeFrame(out));
        EXPECT_EQ(out, numberedFrame(2));
        ASSERT_TRUE(rings.RecvRing.takeFrame(out));
        EXPECT_EQ(out, numberedFrame(3));
        EXPECT_EQ(rings.RecvRing.waiting(), 0u);
    }
}

// At the ring's start, and with the glued frames crossing its end.
INSTANTIATE_TEST_SUITE_P(RecvRing, SplitArrival, testing::Values(0u, 127u));

TEST(RecvRing, TheByteThatWouldFillTheRingIsReportedAndNothingIsOverwritten)
{
    MsgRings rings;
    std::vector<std::uint8_t> almostFull(kRingSize - 1);
    for (std::size_t i = 0; i < almostFull.size(); ++i)
        almostFull[i] = static_cast<std::uint8_t>(i);
    ASSERT_EQ(ReceiveIntoRing(rings, almostFull), ReceiveResult::Stored);
    EXPECT_EQ(rings.RecvRing.waiting(), kRingSize - 1);

    const std::vector<std::uint8_t> more{0xEE, 0xEF};
    EXPECT_EQ(ReceiveIntoRing(rings, more), ReceiveResult::Overflow);
    EXPECT_EQ(rings.RecvRing.waiting(), kRingSize - 1);
    MessageFrame first;
    ASSERT_TRUE(rings.RecvRing.peekFrame(first));
    EXPECT_EQ(first.byteAt(0), 0);
    EXPECT_EQ(first.byteAt(271), static_cast<std::uint8_t>(271));
}

// Frames the main loop holds out of the ring are unread all the same: with
// n held, the ring takes 127 - n whole frames and part of one more, and the
// next byte is the overflow. Emptying the rings keeps the held frames.
class HeldFrames : public testing::TestWithParam<std::size_t>
{
};

TEST_P(HeldFrames, TakeTheirRoomInTheReceiveBound)
{
    MsgRings rings;
    rings.RecvRing.pushByte(0x07); // half a frame of a broken connection
    rings.HeldRecv.assign(GetParam(), numberedFrame(1));
    ResetMsgRings(rings);
    ASSERT_EQ(rings.HeldRecv.size(), GetParam());

    const std::size_t room = (kMaxWaitingFrames - GetParam()) * kFrameSize + kFrameSize - 1;
    ASSERT_EQ(ReceiveIntoRing(rings, std::vector<std::uint8_t>(room, 1)), ReceiveResult::Stored);
    EXPECT_EQ(rings.RecvRing.waiting(), room);
    EXPECT_EQ(ReceiveIntoRing(rings, std::vector<std::uint8_t>{2}), ReceiveResult::Overflow);
    EXPECT_EQ(rings.RecvRing.waiting(), room);
}

INSTANTIATE_TEST_SUITE_P(RecvRing, HeldFrames, testing::Values(0u, 1u, 64u, 127u));

TEST(RecvRing, AFrameHeldAtTheHeadStaysFirst)
{
    MsgRings rings;
    const auto bytes = bytesOf({numberedFrame(1), numberedFrame(2)});
    ReceiveIntoRing(rings, bytes);
    MessageFrame out;
    ASSERT_TRUE(rings.RecvRing.peekFrame(out));
    ASSERT_TRUE(rings.RecvRing.peekFrame(out));
    EXPECT_EQ(out, numberedFrame(1));
    rings.RecvRing.dropFrame();
    ASSERT_TRUE(rings.RecvRing.takeFrame(out));
    EXPECT_EQ(out, numberedFrame(2));
    rings.RecvRing.dropFrame();
    EXPECT_EQ(rings.RecvRing.waiting(), 0u);
}

TEST(SendRing, At127WaitingFramesAFurtherOneIsRefusedAndCounted)
{
    MsgRings rings;
    for (unsigned i = 0; i < kMaxWaitingFrames; ++i) {
        MessageFrame frame = numberedFrame(i);
        ASSERT_EQ(SendMsg(rings, frame), SendResult::Queued) << i;
    }
    MessageFrame extra = numberedFrame(500);
    EXPECT_EQ(SendMsg(rings, extra), SendResult::RingFull);
    EXPECT_EQ(rings.refusedFrames, 1u);
    EXPECT_EQ(rings.SendRing.waiting(), kMaxWaitingFrames * kFrameSize);

    MessageFrame out;
    ASSERT_TRUE(rings.SendRing.takeFrame(out));
    MessageFrame expected = numberedFrame(0);
    expected.setByte(260, 0);
    expected.setByte(261, 0);
    EXPECT_EQ(out, expected) << "the oldest frame was not written over";

    MessageFrame again = numberedFrame(501);
    EXPECT_EQ(SendMsg(rings, again), SendResult::Queued);
}

TEST(SendRing, FramesLeaveInOrderWithTheEchoBytesOfQueueingTime)
{
    MsgRings rings;
    rings.EchoBytes = {0x11, 0x22};
    MessageFrame bid = BidFrame{4, true}.encode();
    SendMsg(rings, bid);
    rings.EchoBytes = {0x33, 0x44};
    MessageFrame keepAlive = KeepAliveFrame{4}.encode();
    SendMsg(rings, keepAlive);

    EXPECT_EQ(rings.SendRing.waiting(), 2 * kFrameSize);
    MessageFrame out;
    ASSERT_TRUE(rings.SendRing.takeFrame(out));
    EXPECT_EQ(describe(out), "[3]=03 [6]=04 [11]=01 [260]=11 [261]=22");
    EXPECT_EQ(out, bid) << "the caller's frame carries the echo bytes too";
    ASSERT_TRUE(rings.SendRing.takeFrame(out));
    EXPECT_EQ(describe(out), "[3]=18 [6]=04 [260]=33 [261]=44");
    EXPECT_FALSE(rings.SendRing.takeFrame(out));
}

TEST(SendRing, ResetDropsWhatWaits)
{
    MsgRings rings;
    MessageFrame frame = KeepAliveFrame{1}.encode();
    SendMsg(rings, frame);
    ReceiveIntoRing(rings, bytesOf({numberedFrame(1)}));
    ResetMsgRings(rings);
    EXPECT_EQ(rings.SendRing.waiting(), 0u);
    EXPECT_EQ(rings.RecvRing.waiting(), 0u);
}

TEST(ChatPacking, EmptyPendingTextQueuesNothing)
{
    MsgRings rings;
    MessageFrame frame = ChatFrame{.sender = 1}.encode();
    EXPECT_EQ(SendMsg(rings, frame), SendResult::EmptyChat);
    EXPECT_EQ(rings.SendRing.writeIndex(), 0u);
    EXPECT_EQ(rings.SendRing.readIndex(), 0u);
}

TEST(ChatPacking, LongLineIsCutTo100CharactersAndTheRestZeroed)
{
    MsgRings rings;
    rings.EchoBytes = {7, 9};
    rings.PendingChat.assign(100, 'x');
    rings.PendingChat.push_back('y');
    MessageFrame frame = ChatFrame{.sender = 2}.encode();
    frame.setU32be(offset::kKindWord, 5); // a stray kind word is not item traffic
    for (std::size_t i = 120; i < kFrameSize; ++i)
        frame.setByte(i, 0xAA);
    ASSERT_EQ(SendMsg(rings, frame), SendResult::Queued);

    EXPECT_EQ(frameText(frame, 16, 116), std::string(100, 'x'));
    for (std::size_t i = 116; i < 260; ++i)
        ASSERT_EQ(frame.byteAt(i), 0) << i;
    EXPECT_EQ(frame.byteAt(260), 7);
    EXPECT_EQ(frame.byteAt(261), 9);
    for (std::size_t i = 262; i < kFrameSize; ++i)
        ASSERT_EQ(frame.byteAt(i), 0) << i;
    EXPECT_TRUE(rings.PendingChat.empty());
}

TEST(ChatPacking, HundredDoubleByteCharactersFillBytes16To215)
{
    MsgRings rings;
    for (int i = 0; i < 100; ++i)
        rings.PendingChat += "中";
    rings.PendingChat += "文";
    MessageFrame frame = ChatFrame{.sender = 1}.encode();
    SendMsg(rings, frame);
    for (std::size_t i = 16; i < 216; i += 2) {
        ASSERT_EQ(frame.byteAt(i), 0xd6) << i;
        ASSERT_EQ(frame.byteAt(i + 1), 0xd0) << i;
    }
    EXPECT_EQ(frame.byteAt(216), 0);
}

TEST(ChatPacking, MixedTextAndCharactersWithoutCode)
{
    MsgRings rings;
    rings.PendingChat = "a中😀";
    MessageFrame frame = ChatFrame{.sender = 1}.encode();
    SendMsg(rings, frame);
    EXPECT_EQ(frameText(frame, 16, 21), std::string("a\xd6\xd0?\0", 5));
}

TEST(ChatPacking, ItemLibraryFramesAreQueuedUnchangedAndKeepThePendingText)
{
    for (std::uint32_t kind : {272u, 260u}) {
        MsgRings rings;
        rings.PendingChat = "hello";
        rings.EchoBytes = {1, 2};
        MessageFrame frame = ChatFrame{.sender = 1}.encode();
        frame.setU32be(offset::kKindWord, kind);
        frame.setByte(16, 0x55);
        frame.setByte(250, 0x66);
        MessageFrame expected = frame;
        expected.setByte(260, 1);
        expected.setByte(261, 2);

        ASSERT_EQ(SendMsg(rings, frame), SendResult::Queued);
        EXPECT_EQ(frame, expected) << describeDifference(expected, frame);
        EXPECT_EQ(rings.PendingChat, "hello");
    }
}

TEST(EchoBytes, TakenFromEveryFrameButTheReconnectAnswer)
{
    MsgRings rings;
    MessageFrame unknown;
    unknown.setCmd(99);
    unknown.setByte(260, 5);
    unknown.setByte(261, 6);
    KeepEchoBytes(rings, unknown);
    EXPECT_EQ(rings.EchoBytes, (std::array<std::uint8_t, 2>{5, 6}));

    MessageFrame answer;
    answer.setCmd(CmdReconnectAnswer);
    answer.setByte(260, 9);
    KeepEchoBytes(rings, answer);
    EXPECT_EQ(rings.EchoBytes, (std::array<std::uint8_t, 2>{5, 6}));
}
