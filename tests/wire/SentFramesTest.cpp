#include "wire/SentFrames.h"
#include "wire/ChatFrame.h"

#include "CodecCase.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

using namespace tessaroc::wire;

namespace {

using SentCase = test::CodecCase<BidFrame, ChoiceFrame, PlayFrame, ReadyOrLeaveFrame,
                                 KeepAliveFrame, LoginFrame, ChatFrame>;

const std::array<std::uint8_t, 3> kThreeCards{0x10, 0x2a, 0x6b};

} // namespace

class SentFrame : public testing::TestWithParam<SentCase>
{
};

TEST_P(SentFrame, SetsExactlyItsBytes)
{
    test::expectBytes(GetParam());
}

TEST_P(SentFrame, ReadsBackAsTheSameValue)
{
    test::expectRoundTrip(GetParam());
}

INSTANTIATE_TEST_SUITE_P(
        Codecs, SentFrame,
        testing::Values(
                SentCase{"bidCall", BidFrame{4, true}, "[3]=03 [6]=04 [11]=01"},
                SentCase{"bidNoCall", BidFrame{4, false}, "[3]=03 [6]=04"},
                SentCase{"choiceFirst", ChoiceFrame{1, 1}, "[3]=05 [6]=01 [15]=01"},
                SentCase{"choiceSecond", ChoiceFrame{1, 2}, "[3]=05 [6]=01 [15]=02"},
                SentCase{"pass", PlayFrame::pass(8), "[3]=07 [6]=08 [15]=01"},
                SentCase{"playThreeCards", PlayFrame::cards(2, 4, kThreeCards),
                         "[3]=07 [6]=02 [15]=02 [17]=03 [18]=04 [20]=10 [21]=2a [22]=6b"},
                SentCase{"ready", ReadyOrLeaveFrame{2, true}, "[3]=10 [6]=02 [15]=01"},
                SentCase{"leave", ReadyOrLeaveFrame{2, false}, "[3]=10 [6]=02"},
                SentCase{"chatTyped", ChatFrame{.sender = 1}, "[3]=13 [6]=01"},
                SentCase{"chatWhisper", ChatFrame{.sender = 1, .whisperTo = 4},
                         "[3]=13 [6]=01 [11]=04"},
                SentCase{"chatFirstList", ChatFrame{.sender = 1, .phraseList = 1, .phraseNo = 3},
                         "[3]=13 [6]=01 [9]=01 [10]=03"},
                SentCase{"chatSecondList",
                         ChatFrame{.sender = 1, .phraseList = 2, .phraseNo = 5, .whisperTo = 8},
                         "[3]=13 [6]=01 [9]=02 [10]=05 [11]=08 [13]=61"},
                SentCase{"keepAlive", KeepAliveFrame{8}, "[3]=18 [6]=08"},
                SentCase{"keepAliveBeforeSeat", KeepAliveFrame{0}, "[3]=18"},
                SentCase{"loginAliceSecret", LoginFrame{.account = "alice", .password = "secret"},
                         "[3]=12 [14]=01 [16]=61 [17]=6c [18]=69 [19]=63 [20]=65 [32]=73 "
                         "[33]=65 [34]=63 [35]=72 [36]=65 [37]=74"},
                SentCase{"loginEuroIsOneByte", LoginFrame{.account = "€"},
                         "[3]=12 [14]=01 [16]=80"},
                SentCase{"reconnectRequest", LoginFrame{true, "alice", "secret", {0x34, 0x12}, 448},
                         "[3]=1c [14]=01 [16]=61 [17]=6c [18]=69 [19]=63 [20]=65 [32]=73 "
                         "[33]=65 [34]=63 [35]=72 [36]=65 [37]=74 [260]=34 [261]=12 [268]=c0 "
                         "[269]=01"},
                SentCase{"reconnectNegativeResume", LoginFrame{true, "a", "", {0, 0}, -2},
                         "[3]=1c [14]=01 [16]=61 [268]=fe [269]=ff [270]=ff [271]=ff"}),
        test::kCaseName);

TEST(PlayFrame, CarriesAtMostAWholeHand)
{
    std::vector<std::uint8_t> ids(40);
    for (std::size_t i = 0; i < ids.size(); ++i)
        ids[i] = static_cast<std::uint8_t>(i + 1);
    const MessageFrame frame = PlayFrame::cards(1, 9, ids).encode();
    EXPECT_EQ(frame.byteAt(17), kMaxFrameCards);
    EXPECT_EQ(frame.byteAt(20 + kMaxFrameCards - 1), kMaxFrameCards);
    EXPECT_EQ(frame.byteAt(20 + kMaxFrameCards), 0);
}

TEST(PlayFrame, HostileCountKeepsItsByteButReadsAWholeHandAtMost)
{
    MessageFrame frame = PlayFrame::cards(2, 1, std::array<std::uint8_t, 1>{7}).encode();
    frame.setByte(17, 255);
    for (std::size_t pos = 21; pos < kFrameSize; ++pos)
        frame.setByte(pos, 0xEE);
    const PlayFrame play = PlayFrame::decode(frame);
    EXPECT_EQ(play.cardCount, 255);
    ASSERT_EQ(play.ids().size(), kMaxFrameCards);
    EXPECT_EQ(play.ids()[0], 7);
    EXPECT_EQ(play.ids()[kMaxFrameCards - 1], 0xEE);
}

TEST(LoginFrame, SixteenCharacterNameFillsItsBytesAndPasswordStartsAt32)
{
    const MessageFrame frame = LoginFrame{.account = "abcdefghijklmnop", .password = "pw"}.encode();
    for (std::size_t i = 0; i < 16; ++i)
        EXPECT_EQ(frame.byteAt(16 + i), 'a' + i) << i;
    EXPECT_EQ(frame.byteAt(32), 'p');
    EXPECT_EQ(frame.byteAt(33), 'w');
    EXPECT_EQ(frame.byteAt(34), 0);
}

TEST(LoginFrame, LongNameIsOverwrittenByThePasswordAsFarAsItReaches)
{
    const MessageFrame frame
            = LoginFrame{.account = "abcdefghijklmnopqrs", .password = "XY"}.encode();
    EXPECT_EQ(frame.byteAt(32), 'X');
    EXPECT_EQ(frame.byteAt(33), 'Y');
    EXPECT_EQ(frame.byteAt(34), 's');
    // Read back, the account is its first sixteen characters.
    EXPECT_EQ(LoginFrame::decode(frame).account, "abcdefghijklmnop");
}

TEST(LoginFrame, NothingLandsOutsideTheFrame)
{
    const std::string longPassword(300, 'z');
    const MessageFrame frame = LoginFrame{.account = "a", .password = longPassword}.encode();
    EXPECT_EQ(frame.byteAt(271), 'z');
    EXPECT_EQ(frame.byteAt(31), 0);
    // The server reads the password no further than the echo pair.
    EXPECT_EQ(LoginFrame::decode(frame).password, std::string(260 - 32, 'z'));
}

namespace {

// A reconnection attempt stamps the login frame that the start-up encoded;
// what the login form left in the frame stays, however often it is stamped.
struct ReconnectStampCase
{
    const char *name;
    std::string password;
    std::array<std::uint8_t, 2> echo;
    std::int32_t resumeValue;
    const char *stampBytes; // bytes 3, 260, 261 and 268-271 after the stamp
};

class ReconnectStamp : public testing::TestWithParam<ReconnectStampCase>
{
};

std::string stampedBytes(const MessageFrame &frame)
{
    MessageFrame only;
    for (const std::size_t pos : {3, 260, 261, 268, 269, 270, 271})
        only.setByte(pos, frame.byteAt(pos));
    return describe(only);
}

} // namespace

TEST_P(ReconnectStamp, WritesTheEchoPairAndTheResumeValueOverTheLoginFrame)
{
    const ReconnectStampCase &c = GetParam();
    const MessageFrame login = LoginFrame{.account = "alice", .password = c.password}.encode();
    MessageFrame frame = login;
    LoginFrame::stampReconnect(frame, {0x77, 0x66}, 0x01020304);
    LoginFrame::stampReconnect(frame, c.echo, c.resumeValue);

    EXPECT_EQ(stampedBytes(frame), c.stampBytes);
    for (std::size_t pos = 0; pos < kFrameSize; ++pos) {
        if (pos != 3 && pos != 260 && pos != 261 && (pos < 268 || pos > 271)) {
            EXPECT_EQ(frame.byteAt(pos), login.byteAt(pos)) << pos;
        }
    }
    const LoginFrame back = LoginFrame::decode(frame);
    EXPECT_TRUE(back.reconnect);
    EXPECT_EQ(back.echo, c.echo);
    EXPECT_EQ(back.resumeValue, c.resumeValue);
}

INSTANTIATE_TEST_SUITE_P(
        LoginFrame, ReconnectStamp,
        testing::Values(ReconnectStampCase{"shortPassword",
                                           "secret",
                                           {0x34, 0x12},
                                           448,
                                           "[3]=1c [260]=34 [261]=12 [268]=c0 [269]=01"},
                        ReconnectStampCase{"negativeResume",
                                           "",
                                           {0, 0},
                                           -2,
                                           "[3]=1c [268]=fe [269]=ff [270]=ff [271]=ff"},
                        ReconnectStampCase{"passwordReachingTheEnd",
                                           std::string(250, 'z'),
                                           {1, 2},
                                           0,
                                           "[3]=1c [260]=01 [261]=02"}),
        test::kCaseName);

TEST(ReconnectStamp, OfAFreshLoginFrameIsTheEncodedRequest)
{
    MessageFrame frame = LoginFrame{.account = "alice", .password = "secret"}.encode();
    LoginFrame::stampReconnect(frame, {0x34, 0x12}, 448);
    EXPECT_EQ(frame, (LoginFrame{true, "alice", "secret", {0x34, 0x12}, 448}.encode()));
}

TEST(ReadyOrLeaveFrame, OnlyAZeroReadyByteLeaves)
{
    struct Case
    {
        const char *name;
        MessageFrame frame;
        bool leaves;
    };
    MessageFrame readyTwo = ReadyOrLeaveFrame{2, true}.encode();
    readyTwo.setByte(15, 2);
    const Case cases[] = {
            {"leave", ReadyOrLeaveFrame{2, false}.encode(), true},
            {"ready", ReadyOrLeaveFrame{2, true}.encode(), false},
            {"readyByteTwo", readyTwo, false},
            {"otherCommand", KeepAliveFrame{2}.encode(), false},
            {"emptyFrame", MessageFrame{}, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(isLeaveFrame(c.frame), c.leaves) << c.name;
}

TEST(KindWord, ItemLibraryWordsAreBigEndian)
{
    struct Case
    {
        std::array<std::uint8_t, 4> bytes;
        std::uint32_t kind;
        bool chatLine;
    };
    for (const Case &c : {Case{{0, 0, 1, 16}, 272, false}, Case{{0, 0, 1, 4}, 260, false},
                          Case{{0, 0, 1, 17}, 273, true}, Case{{16, 1, 0, 0}, 0x10010000, true},
                          Case{{0, 0, 0, 0}, 0, true}}) {
        MessageFrame frame = ChatFrame{}.encode();
        for (std::size_t i = 0; i < 4; ++i)
            frame.setByte(offset::kKindWord + i, c.bytes[i]);
        EXPECT_EQ(frame.kindWord(), c.kind);
        EXPECT_EQ(ChatFrame::decode(frame).kindWord, c.kind);
        EXPECT_EQ(isChatLine(frame), c.chatLine) << c.kind;
        EXPECT_EQ(ChatFrame::decode(frame).isItemTraffic(), !c.chatLine) << c.kind;
    }
}
