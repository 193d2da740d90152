#include "wire/OutgoingFrames.h"
#include "wire/CommandLine.h"

#include <gtest/gtest.h>

#include <array>

using namespace tessaroc::wire;

namespace {

struct BuilderCase
{
    const char *name;
    MessageFrame frame;
    // Every byte that is not zero, as describe() prints it.
    const char *bytes;
};

const std::array<std::uint8_t, 3> ThreeCards{0x10, 0x2a, 0x6b};

std::vector<std::uint8_t> manyCards(std::size_t n)
{
    std::vector<std::uint8_t> ids(n);
    for (std::size_t i = 0; i < n; ++i)
        ids[i] = static_cast<std::uint8_t>(i + 1);
    return ids;
}

} // namespace

class Builder : public testing::TestWithParam<BuilderCase>
{
};

TEST_P(Builder, SetsExactlyItsBytes)
{
    EXPECT_EQ(describe(GetParam().frame), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(
        OutgoingFrames, Builder,
        testing::Values(
                BuilderCase{"bidCall", bidFrame(4, true), "[3]=03 [6]=04 [11]=01"},
                BuilderCase{"bidNoCall", bidFrame(4, false), "[3]=03 [6]=04"},
                BuilderCase{"choiceFirst", choiceFrame(1, 1), "[3]=05 [6]=01 [15]=01"},
                BuilderCase{"choiceSecond", choiceFrame(1, 2), "[3]=05 [6]=01 [15]=02"},
                BuilderCase{"pass", passFrame(8), "[3]=07 [6]=08 [15]=01"},
                BuilderCase{"playThreeCards", playFrame(2, 4, ThreeCards),
                            "[3]=07 [6]=02 [15]=02 [17]=03 [18]=04 [20]=10 [21]=2a [22]=6b"},
                BuilderCase{"ready", readyFrame(2), "[3]=10 [6]=02 [15]=01"},
                BuilderCase{"leave", leaveFrame(2), "[3]=10 [6]=02"},
                BuilderCase{"chatTyped", chatFrame(1, {}), "[3]=13 [6]=01"},
                BuilderCase{"chatWhisper", chatFrame(1, {0, 0, 4}), "[3]=13 [6]=01 [11]=04"},
                BuilderCase{"chatFirstList", chatFrame(1, {1, 3, 0}),
                            "[3]=13 [6]=01 [9]=01 [10]=03"},
                BuilderCase{"chatSecondList", chatFrame(1, {2, 5, 8}),
                            "[3]=13 [6]=01 [9]=02 [10]=05 [11]=08 [13]=61"},
                BuilderCase{"keepAlive", keepAliveFrame(8), "[3]=18 [6]=08"},
                BuilderCase{"keepAliveBeforeSeat", keepAliveFrame(0), "[3]=18"},
                BuilderCase{"loginAliceSecret", LoginFrame("alice", "secret"),
                            "[3]=12 [14]=01 [16]=61 [17]=6c [18]=69 [19]=63 [20]=65 [32]=73 "
                            "[33]=65 [34]=63 [35]=72 [36]=65 [37]=74"},
                BuilderCase{"loginEuroIsOneByte", LoginFrame("€", ""), "[3]=12 [14]=01 [16]=80"}),
        [](const testing::TestParamInfo<BuilderCase> &p) { return std::string(p.param.name); });

TEST(Builder, PlayCarriesAtMostAWholeHand)
{
    const auto ids = manyCards(40);
    const MessageFrame frame = playFrame(1, 9, ids);
    EXPECT_EQ(frame.byteAt(offset::Arg17), MaxPlayCards);
    EXPECT_EQ(frame.byteAt(20 + MaxPlayCards - 1), MaxPlayCards);
    EXPECT_EQ(frame.byteAt(20 + MaxPlayCards), 0);
}

TEST(LoginFrame, SixteenCharacterNameFillsItsBytesAndPasswordStartsAt32)
{
    const MessageFrame frame = LoginFrame("abcdefghijklmnop", "pw");
    for (std::size_t i = 0; i < 16; ++i)
        EXPECT_EQ(frame.byteAt(16 + i), 'a' + i) << i;
    EXPECT_EQ(frame.byteAt(32), 'p');
    EXPECT_EQ(frame.byteAt(33), 'w');
    EXPECT_EQ(frame.byteAt(34), 0);
}

TEST(LoginFrame, LongNameIsOverwrittenByThePasswordAsFarAsItReaches)
{
    const MessageFrame frame = LoginFrame("abcdefghijklmnopqrs", "XY");
    EXPECT_EQ(frame.byteAt(32), 'X');
    EXPECT_EQ(frame.byteAt(33), 'Y');
    EXPECT_EQ(frame.byteAt(34), 's');
}

TEST(LoginFrame, NothingLandsOutsideTheFrame)
{
    const std::string longPassword(300, 'z');
    const MessageFrame frame = LoginFrame("a", longPassword);
    EXPECT_EQ(frame.byteAt(271), 'z');
    EXPECT_EQ(frame.byteAt(31), 0);
}

TEST(ReconnectRequest, IsTheLoginFrameWithEchoAndResumeValue)
{
    MessageFrame frame = LoginFrame("alice", "secret");
    MakeReconnectRequest(frame, {0x34, 0x12}, 448);
    EXPECT_EQ(describe(frame),
              "[3]=1c [14]=01 [16]=61 [17]=6c [18]=69 [19]=63 [20]=65 [32]=73 [33]=65 [34]=63 "
              "[35]=72 [36]=65 [37]=74 [260]=34 [261]=12 [268]=c0 [269]=01");

    // A second loss rewrites the same frame with the values of that moment.
    MakeReconnectRequest(frame, {0, 0}, -2);
    EXPECT_EQ(frame.cmd(), CmdReconnect);
    EXPECT_EQ(frame.byteAt(260), 0);
    EXPECT_EQ(frame.u32le(offset::ResumeValue), 0xFFFFFFFEu);
}

TEST(KindWord, ItemLibraryWordsAreBigEndian)
{
    struct Case
    {
        std::array<std::uint8_t, 4> bytes;
        std::uint32_t kind;
    };
    for (const Case &c : {Case{{0, 0, 1, 16}, 272}, Case{{0, 0, 1, 4}, 260},
                          Case{{16, 1, 0, 0}, 0x10010000}, Case{{0, 0, 0, 0}, 0}}) {
        MessageFrame frame;
        for (std::size_t i = 0; i < 4; ++i)
            frame.setByte(offset::KindWord + i, c.bytes[i]);
        EXPECT_EQ(frame.kindWord(), c.kind);
    }
}
