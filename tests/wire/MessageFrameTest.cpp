#include "wire/MessageFrame.h"

#include <gtest/gtest.h>

using namespace tessaroc::wire;

TEST(MessageFrame, NumbersReadInTheirByteOrder)
{
    MessageFrame frame;
    frame.setU32be(offset::kKindWord, 272);
    EXPECT_EQ(frame.byteAt(236), 0);
    EXPECT_EQ(frame.byteAt(237), 0);
    EXPECT_EQ(frame.byteAt(238), 1);
    EXPECT_EQ(frame.byteAt(239), 16);
    EXPECT_EQ(frame.kindWord(), 272u);
    EXPECT_NE(frame.u32le(offset::kKindWord), 272u);

    frame.setU32le(offset::kResumeValue, 0x01020304);
    EXPECT_EQ(frame.byteAt(268), 4);
    EXPECT_EQ(frame.byteAt(271), 1);
    EXPECT_EQ(frame.resumeValue(), 0x01020304);
}

TEST(MessageFrame, AccessOutsideTheFrameIsHarmless)
{
    MessageFrame frame;
    frame.bytes().fill(0xAB);
    const MessageFrame before = frame;

    EXPECT_EQ(frame.byteAt(kFrameSize), 0);
    EXPECT_EQ(frame.u16le(kFrameSize - 1), 0);
    EXPECT_EQ(frame.u32le(kFrameSize - 3), 0u);
    EXPECT_EQ(frame.u64le(kFrameSize - 7), 0u);
    EXPECT_EQ(frame.u32be(static_cast<std::size_t>(-2)), 0u);
    frame.setByte(kFrameSize, 1);
    frame.setU32le(kFrameSize - 2, 0);
    frame.setU16le(static_cast<std::size_t>(-1), 0);
    EXPECT_EQ(frame, before) << describeDifference(before, frame);

    EXPECT_EQ(frame.u32le(kFrameSize - 4), 0xABABABABu);
}
