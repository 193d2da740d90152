#include "TableTestSupport.h"

#include "ServerFrames.h"

#include "wire/ChatFrame.h"
#include "wire/ReceivedFrames.h"
#include "wire/SentFrames.h"

#include "wire/GbkText.h"

using namespace tessaroc;
using namespace tessaroc::tableserver;
using namespace tessaroc::tableserver::testing;
using wire::MessageFrame;

namespace {

struct Layout
{
    const char *name;
    MessageFrame frame;
    // Every byte the frame may hold; all others must be 0.
    const char *bytes;
};

// The frame as the bytes that are not 0, in hexadecimal.
void PrintTo(const Layout &layout, std::ostream *os)
{
    *os << layout.name << ": " << wire::describe(layout.frame);
}

class ServerFrameLayouts : public ::testing::TestWithParam<Layout>
{
};

const CardCode kAceOfSuit2 = makeCard(14, 2, 37);
const CardCode kBigJoker = makeCard(17, 1, 107);

} // namespace

TEST_P(ServerFrameLayouts, HoldExactlyTheirBytes)
{
    const FrameSpec expected = parseFrameSpec(GetParam().bytes);
    EXPECT_EQ(GetParam().frame, expected.frame)
            << wire::describeDifference(expected.frame, GetParam().frame);
}

INSTANTIATE_TEST_SUITE_P(
        Frames, ServerFrameLayouts,
        ::testing::Values(
                Layout{"LoginAccepted", frames::loginAnswer(1, 15, "http://a/b"),
                       "cmd=18 b11=15 b15=1 text@16=\"http://a/b\""},
                Layout{"ReconnectAnswer", frames::reconnectAnswer(1), "cmd=29 b15=1"},
                Layout{"Ready", frames::ready("bob"), "cmd=23 b15=1 text@16=\"bob\""},
                Layout{"BidTurnNamingTheLandlord", frames::bidTurn(4, 1, 4),
                       "cmd=2 seat=4 b11=1 b15=4"},
                Layout{"BottomCards",
                       frames::bottomDeal(2, std::vector<CardCode>{kAceOfSuit2, kBigJoker}),
                       "cmd=1 seat=2 b11=8 cards@16=14/2/37,17/1/107"},
                Layout{"Played", frames::played(1, 8, 0, std::vector<CardCode>{kAceOfSuit2}, 1, 20),
                       "cmd=6 seat=1 b11=8 b15=0 b17=1 b18=1 cards@20=14/2/37 b255=20"},
                Layout{"OpeningPass", frames::played(1, 1, 1, {}, 9, 20),
                       "cmd=6 seat=1 b11=1 b15=1 b255=20"},
                Layout{"EndOfHand", frames::endOfHand(), "cmd=16"},
                Layout{"CoinsShort", frames::coinsShort(5, 4), "cmd=16 seat=5 b11=4 b15=3"},
                Layout{"UserLeft", frames::userLeft("bob", 1), "cmd=21 b11=1 text@16=\"bob\""},
                Layout{"ForcedLeave", frames::forcedLeave("走"), "cmd=22 text@16=\"走\""}),
        [](const auto &p) { return std::string(p.param.name); });

TEST(Frames, HandStartDealCarriesTheCardsTheTurnedUpCardAndTheResumeValue)
{
    std::vector<CardCode> cards(kDeck.begin(), kDeck.begin() + kHandSize);
    const MessageFrame frame = frames::handStartDeal(4, cards, 8, kAceOfSuit2, 448);
    EXPECT_TRUE(matches(frame, "cmd=1 seat=4 b8=25 b11=25 b15=8 b249=2 b250=14 [268]=c0,01,00,00"));
    for (int i = 0; i < kHandSize; ++i)
        EXPECT_EQ(static_cast<CardCode>(frame.u32le(16 + 4 * static_cast<std::size_t>(i))),
                  cards[static_cast<std::size_t>(i)]);
    EXPECT_EQ(frame.byteAt(116), 0);
    EXPECT_EQ(frame.byteAt(253), 0); // no show-card multiplier
}

TEST(Frames, UserInformationFillsTheUserBlock)
{
    frames::UserInfo user;
    user.nickname = "小明";
    user.face = "w3";
    user.sex = 0;
    user.location = "北京A"; // a single-byte character is left out
    user.coins = 60000;
    user.title = "新手";
    user.wins = 7;
    user.account = "ming";
    user.tag = "玩家";
    const MessageFrame frame = frames::userInfo(2, 8, user, true);
    EXPECT_TRUE(matches(frame,
                        "cmd=20 seat=2 b64=0 le64@96=60000 le32@160=7 b208=1 b226=8 b255=1 "
                        "text@48=\"w3\" text@168=\"ming\""));
    EXPECT_EQ(wire::readFieldText(frame, 16, 47, wire::FieldText::MixedInField), "小明");
    EXPECT_EQ(wire::readFieldText(frame, 72, 79, wire::FieldText::TwoByte), "北京");
    EXPECT_EQ(wire::readFieldText(frame, 112, 127, wire::FieldText::TwoByte), "新手");
    EXPECT_EQ(wire::readFieldText(frame, 184, 207, wire::FieldText::TwoByte), "玩家");
    EXPECT_EQ(frame.byteAt(76), 0);
}

TEST(Frames, HandResultLaysOutTheSettlement)
{
    frames::SeatResult result;
    result.seat = 4;
    result.landlord = true;
    result.outcome = frames::kOutcomeLoss;
    result.sign = 2;
    result.subtotal = 300;
    result.total = 249;
    result.capped = true;
    result.level = 3;
    result.cardsLeft = {kAceOfSuit2, kBigJoker};
    const std::string line = "农民获胜";
    const MessageFrame frame = frames::handResult(result, 100, line);
    EXPECT_TRUE(matches(frame,
                        "cmd=9 seat=4 be32@8=100 b15=1 b16=2 cards@20=14/2/37,17/1/107 "
                        "b153=1 b154=2 le64@163=249 b171=3 b177=2 le64@178=300 "
                        "le64@187=249 b204=1 text@205=\"农民获胜\""));
}

TEST(Frames, ChatIsRelayedWithTheSendersSeatAndNoKindWord)
{
    MessageFrame line = chatFrame(0, "hi", 4);
    line.setByte(9, 2);
    line.setByte(10, 5);
    line.setByte(13, 97);
    line.setU32be(wire::offset::kKindWord, 0x111);
    line.setU16le(wire::offset::kEcho, 77);
    line.setByte(250, 9);
    EXPECT_EQ(frames::chatRelay(wire::ChatFrame::decode(line), 2),
              frameFrom("cmd=19 seat=2 b9=2 b10=5 b11=4 b13=97 text@16=\"hi\""));
}

TEST(Frames, LoginAndReconnectRequestsAreRead)
{
    const auto request = frames::readLogin(reconnectFrame("alice", "secret", 0x1234, 448));
    EXPECT_EQ(request.account, "alice");
    EXPECT_EQ(request.password, "secret");
    EXPECT_EQ(request.echo, 0x1234);
    EXPECT_EQ(request.resumeValue, 448);

    // A 16-character name runs up to the password; the password never
    // reaches into the echo bytes.
    MessageFrame full = loginFrame("abcdefghijklmnop", std::string(240, 'x'));
    const auto longOne = frames::readLogin(full);
    EXPECT_EQ(longOne.account, "abcdefghijklmnop");
    EXPECT_EQ(longOne.password.size(), 228u);
}

TEST(Frames, ClientFramesAreTakenOnlyAsTheClientBuildsThem)
{
    MessageFrame bid = bidFrame(2, true);
    bid.setU16le(wire::offset::kEcho, 41); // the echo bytes never matter
    ASSERT_TRUE(frames::readExact<wire::BidFrame>(bid));
    EXPECT_TRUE(frames::readExact<wire::BidFrame>(bid)->call);
    MessageFrame odd = bid;
    odd.setByte(wire::offset::kArg11, 2); // neither a call nor a pass
    EXPECT_FALSE(frames::readExact<wire::BidFrame>(odd));
    odd = bid;
    odd.setByte(100, 1);
    EXPECT_FALSE(frames::readExact<wire::BidFrame>(odd));

    MessageFrame leave = leaveFrame(4);
    ASSERT_TRUE(frames::readExact<wire::ReadyOrLeaveFrame>(leave));
    EXPECT_FALSE(frames::readExact<wire::ReadyOrLeaveFrame>(leave)->ready);
    leave.setByte(wire::offset::kArg15, 2);
    EXPECT_FALSE(frames::readExact<wire::ReadyOrLeaveFrame>(leave));
}

TEST(Frames, TheDeckHoldsTwoPacksWithUniqueIds)
{
    std::array<int, 18> faces{};
    for (int id = 0; id < kDeckSize; ++id) {
        const CardCode card = kDeck[static_cast<std::size_t>(id)];
        EXPECT_EQ(cardId(card), id);
        ++faces[static_cast<std::size_t>(cardFace(card))];
        if (cardFace(card) >= 16) {
            EXPECT_EQ(cardSuitBits(card), 1);
        }
    }
    for (int face = 3; face <= 15; ++face)
        EXPECT_EQ(faces[static_cast<std::size_t>(face)], 8);
    EXPECT_EQ(faces[16], 2);
    EXPECT_EQ(faces[17], 2);
}

TEST(FrameDescriptions, ReadEveryItemAndReadBackWhatDescribePrints)
{
    const MessageFrame frame = frameFrom(
            "cmd=CmdPlay seat=0x2 b15=2 [17]=02,09 ids@20=7,8 le16@260=513 be32@236=272 "
            "le32@268=448 le64@80=4294967296 text@100=\"a \\\"b\\\" 字\"");
    EXPECT_TRUE(matches(frame,
                        "cmd=7 seat=2 b15=2 b17=2 b18=9 b20=7 b21=8 [260]=01,02 "
                        "[236]=00,00,01,10 [268]=c0,01 b84=1"));
    EXPECT_EQ(wire::readFieldText(frame, 100, 120), "a \"b\" 字");
    EXPECT_EQ(frameFrom(wire::describe(frame)), frame);
}

TEST(FrameDescriptions, NamedBytesMustMatchOthersMayBeAnything)
{
    const MessageFrame frame = frameFrom("cmd=6 b11=8 b200=1");
    std::string why;
    EXPECT_TRUE(matchesSpec(frame, parseFrameSpec("cmd=6 b11=8"), &why));
    EXPECT_FALSE(matchesSpec(frame, parseFrameSpec("b11=4 b12=0"), &why));
    EXPECT_EQ(why, "[11] expected 04 got 08");
    // A text names its closing zero byte too.
    EXPECT_FALSE(matchesSpec(frameFrom("text@16=\"alice\""), parseFrameSpec("text@16=\"ali\"")));
}

TEST(FrameDescriptions, MalformedItemsAreReportedNotGuessed)
{
    for (const char *bad : {"cmd", "cmd=CmdNothing", "b272=1", "b11=256", "[10]=zz", "le32@270=1",
                            "text@16=bare", "text@16=\"open", "cards@20=14/2", "frobnicate=1"}) {
        EXPECT_THROW(parseFrameSpec(bad), FrameSpecError) << bad;
    }
}

// The checker of what a server sends catches what a client would stumble on.
TEST(PeerChecking, FlagsFramesAClientWouldStumbleOn)
{
    const auto numbered = [](MessageFrame frame, std::uint16_t number) {
        frame.setU16le(wire::offset::kEcho, number);
        return frame;
    };
    struct Case
    {
        const char *name;
        std::vector<MessageFrame> frames;
        const char *violation;
    };
    wire::UserInfoFrame asciiLocation;
    asciiLocation.recipientSeat = 1;
    asciiLocation.face = "m1";
    asciiLocation.account = "alice";
    asciiLocation.location = "A";
    asciiLocation.extraNumber5 = 1;
    wire::ChatFrame itemLine;
    itemLine.sender = 2;
    itemLine.text = "x";
    itemLine.kindWord = wire::kItemKindWord272;
    const Case cases[] = {
            {"EchoGap",
             {numbered(frames::ready("bob"), 1), numbered(frames::ready("bob"), 3)},
             "echo number 3 after 1"},
            {"SingleByteLocation", {numbered(asciiLocation.encode(), 1)}, "two-byte field"},
            {"ChatWithKindWord", {numbered(itemLine.encode(), 1)}, "kind word"},
            {"ResultOutsideAHand",
             {numbered(frames::handResult(frames::SeatResult{}, 100, {}), 1)},
             "outside a hand"},
    };
    for (const Case &c : cases) {
        PeerChecker checker;
        for (const auto &frame : c.frames)
            checker.check(frame);
        const auto &violations = checker.violations();
        EXPECT_TRUE(std::any_of(
                violations.begin(), violations.end(),
                [&c](const std::string &v) { return v.find(c.violation) != std::string::npos; }))
                << c.name << ": " << ::testing::PrintToString(violations);
    }
    // A well-formed login answer and ready frame pass.
    PeerChecker clean;
    clean.check(numbered(frames::loginAnswer(frames::kLoginAccepted, 15), 1));
    clean.check(numbered(frames::ready("bob"), 2));
    EXPECT_TRUE(clean.violations().empty()) << ::testing::PrintToString(clean.violations());
}
