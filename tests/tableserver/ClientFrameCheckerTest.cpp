#include "TableTestSupport.h"

#include "wire/GbkText.h"

#include <ostream>

using namespace tessaroc;
using namespace tessaroc::tableserver;
using namespace tessaroc::tableserver::testing;
using wire::MessageFrame;

namespace {

EngineOptions checkingOptions(int bots)
{
    EngineOptions options = testOptions(bots);
    options.checkClientFrames = true;
    return options;
}

// A table of four people with the checker on, where ann has just been given
// her first lead; what the engine refused is collected.
struct CheckedTable
{
    CheckedTable()
        : table(checkingOptions(0))
        , people(table)
    {
        table.engine.setClientFrameReport(
                [this](const std::string &line) { refused.push_back(line); });
        ids = people.joinFour();
        people.playUntilLeads(ids[0]);
    }

    ClientModel &ann() { return people.model(ids[0]); }

    EngineHarness table;
    People people;
    std::vector<ConnectionId> ids;
    std::vector<std::string> refused;
};

TEST(ClientFrames, EveryFrameTheClientsBuildPassesThroughAWholeHandAndTheNext)
{
    EngineHarness table(checkingOptions(0));
    std::vector<std::string> refused;
    table.engine.setClientFrameReport([&](const std::string &line) { refused.push_back(line); });
    People people(table);
    const auto ids = people.joinFour();
    for (const auto id : ids) {
        table.send(id, people.model(id).stamped(keepAliveFrame(people.model(id).seat())));
        table.send(
                id,
                people.model(id).stamped(chatFrame(people.model(id).seat(),
                                                   people.model(id).account() + "说道： 你好 hi")));
    }
    people.playOn([&](ConnectionId id) { return id == ids[2]; });
    ASSERT_EQ(table.engine.handsPlayed(), 1);
    for (const auto id : ids)
        table.send(id, people.model(id).stamped(readyFrame(people.model(id).seat())));
    people.playOn();
    EXPECT_EQ(table.engine.handsPlayed(), 2);
    EXPECT_TRUE(refused.empty()) << refused.front();
    EXPECT_EQ(table.engine.refusedClientFrames(), 0);
    people.expectNoViolations();
}

// One way a frame can break what the client sends, built at ann's open lead.
struct BrokenFrame
{
    const char *name;
    std::function<MessageFrame(ClientModel &)> build;
    const char *reason; // part of the report
};

void PrintTo(const BrokenFrame &broken, std::ostream *os)
{
    *os << broken.name;
}

class BrokenClientFrames : public ::testing::TestWithParam<BrokenFrame>
{
};

TEST_P(BrokenClientFrames, AreRefusedAndReportedAndTheTurnStaysOpen)
{
    CheckedTable checked;
    const MessageFrame frame = GetParam().build(checked.ann());
    checked.table.send(checked.ids[0], frame);
    const auto fresh = checked.people.deliver();

    ASSERT_EQ(checked.refused.size(), 1u);
    EXPECT_NE(checked.refused[0].find(GetParam().reason), std::string::npos) << checked.refused[0];
    EXPECT_NE(checked.refused[0].find("ann"), std::string::npos) << checked.refused[0];
    EXPECT_EQ(checked.table.engine.refusedClientFrames(), 1);
    // Nothing happened at the table: ann still has her lead and may use it.
    for (const auto &[id, frames] : fresh)
        EXPECT_TRUE(frames.empty()) << commandList(frames);
    ASSERT_TRUE(checked.ann().playTurn());
    const auto answer = checked.ann().answerTurn();
    ASSERT_TRUE(answer);
    checked.table.send(checked.ids[0], *answer);
    EXPECT_EQ(checked.refused.size(), 1u) << checked.refused.back();
    EXPECT_EQ(countOf(checked.people.deliver()[checked.ids[1]], wire::CmdPlayed), 1);
}

MessageFrame leadFrame(ClientModel ann)
{
    return *ann.answerTurn();
}

const BrokenFrame kBrokenFrames[] = {
        {"StrayByte",
         [](ClientModel &ann) {
             auto frame = ann.stamped(keepAliveFrame(ann.seat()));
             frame.setByte(100, 7);
             return frame;
         },
         "[100] expected 00 got 07"},
        {"UnknownCommand",
         [](ClientModel &ann) {
             auto frame = ann.stamped(keepAliveFrame(ann.seat()));
             frame.setCmd(wire::CmdChoice);
             return frame;
         },
         "command 5 is never sent"},
        {"SecondLogin", [](ClientModel &ann) { return ann.login(); }, "a second login"},
        {"WrongSeat",
         [](ClientModel &ann) {
             auto frame = leadFrame(ann);
             frame.setSeatBit(static_cast<std::uint8_t>(ann.seat() == 1 ? 2 : 1));
             return frame;
         },
         "not the own seat"},
        {"PassOnALead", [](ClientModel &ann) { return ann.stamped(passFrame(ann.seat())); },
         "a pass on a lead"},
        {"CardNotHeld",
         [](ClientModel &ann) {
             // An id the deal gave her cannot also be elsewhere; take one she
             // does not hold.
             std::uint8_t id = 0;
             while (std::any_of(ann.hand().begin(), ann.hand().end(),
                                [id](CardCode c) { return cardId(c) == id; }))
                 ++id;
             const std::uint8_t ids[] = {id};
             return ann.stamped(playFrame(ann.seat(), ids, rules::KindSingle));
         },
         "is not in the client's hand"},
        {"WrongKind",
         [](ClientModel &ann) {
             auto frame = leadFrame(ann);
             frame.setByte(18,
                           frame.byteAt(18) == rules::KindSingle ? rules::KindPair
                                                                 : rules::KindSingle);
             return frame;
         },
         "named, but"},
        {"EchoOfAFrameNotSent",
         [](ClientModel &ann) {
             auto frame = leadFrame(ann);
             frame.setU16le(wire::offset::kEcho, static_cast<std::uint16_t>(ann.echo() + 5));
             return frame;
         },
         "but the seat was sent only"},
        {"PlayBeforeTheTurnOpened",
         [](ClientModel &ann) {
             auto frame = leadFrame(ann);
             frame.setU16le(wire::offset::kEcho, static_cast<std::uint16_t>(ann.echo() - 1));
             return frame;
         },
         "no play turn open"},
        {"BidInThePlay", [](ClientModel &ann) { return ann.stamped(bidFrame(ann.seat(), true)); },
         "no bid turn open"},
        {"LeaveWithEchoBytes", [](ClientModel &ann) { return ann.stamped(leaveFrame(ann.seat())); },
         "not as the client builds it: [260]"},
        {"BrokenPhraseBytes",
         [](ClientModel &ann) {
             auto frame = ann.stamped(chatFrame(ann.seat(), "hi"));
             frame.setByte(9, 2);
             frame.setByte(10, 1);
             return frame;
         },
         "[13] expected 61 got 00"},
        {"HalfACharacterInChat",
         [](ClientModel &ann) {
             auto frame = ann.stamped(chatFrame(ann.seat(), "hi"));
             frame.setByte(18, 0xB0);
             return frame;
         },
         "not as the client builds it: [18]"},
};

INSTANTIATE_TEST_SUITE_P(ClientFrames, BrokenClientFrames, ::testing::ValuesIn(kBrokenFrames),
                         [](const auto &param) { return std::string(param.param.name); });

TEST(ClientFrames, ASecondAnswerInOneTurnAndAnEchoGoingBackAreRefused)
{
    CheckedTable checked;
    const MessageFrame lead = *checked.ann().answerTurn();
    checked.table.send(checked.ids[0], lead);
    EXPECT_TRUE(checked.refused.empty());
    // The same frame again: its turn is answered already.
    checked.table.send(checked.ids[0], lead);
    ASSERT_EQ(checked.refused.size(), 1u);
    EXPECT_NE(checked.refused[0].find("a second answer"), std::string::npos) << checked.refused[0];

    checked.people.deliver();
    auto later = checked.ann().stamped(keepAliveFrame(checked.ann().seat()));
    later.setU16le(wire::offset::kEcho,
                   static_cast<std::uint16_t>(lead.u16le(wire::offset::kEcho) - 1));
    checked.table.send(checked.ids[0], later);
    ASSERT_EQ(checked.refused.size(), 2u);
    EXPECT_NE(checked.refused[1].find("after echo"), std::string::npos) << checked.refused[1];
}

TEST(ClientFrames, ABrokenFirstFrameClosesTheConnectionUnanswered)
{
    EngineHarness table(checkingOptions(3));
    std::vector<std::string> refused;
    table.engine.setClientFrameReport([&](const std::string &line) { refused.push_back(line); });
    table.connect(1);
    auto login = loginFrame("alice", "secret");
    login.setByte(14, 0);
    table.send(1, login);
    EXPECT_TRUE(table.take(1).empty());
    EXPECT_TRUE(table.closed.contains(1));
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_NE(refused[0].find("[14] expected 01 got 00"), std::string::npos) << refused[0];
}

} // namespace
