// A connection lost between a hand's result frames, through the dispatcher
// and the reconnection as the main loop drives them, with the real collector:
// a server that resumes the hand sends again the frames the client had not
// read (and perhaps some it had), so what was collected before the loss must
// still be there; a server that answers with a fresh login has ended the
// hand, and what was collected or held of it goes. And a hand start of any
// form between an unfinished set and the next hand's results.

#include "FrameBuilders.h"
#include "SettlementFixture.h"

#include "core/Reconnect.h"
#include "core/TableState.h"
#include "rules/CardCode.h"
#include "settlement/ListBoxes.h"
#include "wire/SentFrames.h"

#include <QFile>

#include <initializer_list>

namespace tessaroc::settlement::testing {
namespace {

enum class Answer { Resumed, FreshLogin };

struct ResumeCase
{
    const char *name;
    int before; // result frames read before the connection went
    Answer answer;
};

// The settlement as the dispatcher and the reconnection reach it.
class RoutedResults : public SettlementFixture
{
protected:
    RoutedResults()
    {
        seatPlayers();
        state().rules.InGame = true;
        state().commands.ResumeValue = 65537;
        state().loop.LoginFrame = wire::LoginFrame{false, "player0", "pw", {}, 0}.encode();
    }

    // The hand's four result frames, the own seat's first.
    static std::vector<wire::MessageFrame> results()
    {
        return {resultFrame({.seat = 1, .outcome = 1, .finalAmount = 60}),
                resultFrame({.seat = 2, .outcome = 2, .finalAmount = 10}),
                resultFrame({.seat = 4, .outcome = 2, .finalAmount = 20}),
                resultFrame({.seat = 8, .outcome = 2, .finalAmount = 30})};
    }

    bool recorded() const
    {
        QFile file(settlement->records().path());
        return file.open(QIODevice::ReadOnly) && file.readAll().contains("[juNum:1]");
    }

    core::CoreContext routed{context->state,   context->rings,  context->clock,  context->socket,
                             context->hall,    context->timers, context->window, context->play,
                             context->sound,   context->items,  context->video,  *settlement,
                             context->process, context->chat};
    core::Dispatcher dispatcher{routed};
    fakes::RecordingReconnectView view;
    core::Reconnection reconnection{routed, view};

    // The connection lost and resumed, as the connection watch, the attempt
    // and the server's answer drive it.
    void loseAndResume()
    {
        reconnection.Form_Load();
        core::ReconnectServer(routed, state().loop.LoginFrame);
        ASSERT_EQ(state().loop.LoginFrame.cmd(), wire::CmdReconnect);
        dispatcher.ProcessMessage(wire::ReconnectAnswerFrame{1}.encode());
    }

    // The hand's board stands, saved, with the ready clock running.
    void expectSettled(const QStringList &ownFinal)
    {
        EXPECT_EQ(state().settlement.JuNum, 1);
        EXPECT_EQ(lines(4), ownFinal);
        EXPECT_TRUE(score().isVisible());
        EXPECT_TRUE(recorded());
        EXPECT_TRUE(state().loop.slots.armed(core::LoopSlot::ReadyClock)) << "the ready clock runs";
        EXPECT_FALSE(state().loop.HoldCommand21) << "the held frames go now";
        EXPECT_FALSE(state().rules.InGame);
        EXPECT_EQ(settlement->collector().count(), 0);
        const QStringList sys = ListLines(client.form->messages.Sysmsg(0).widget())
                + ListLines(client.form->messages.Sysmsg(1).widget());
        EXPECT_FALSE(sys.contains(CoreSettlement::kUnusableResults));
    }
};

class ResumedResults : public RoutedResults, public ::testing::WithParamInterface<ResumeCase>
{
};

TEST_P(ResumedResults, WhatWasCollectedSurvivesAResumedConnectionOnly)
{
    const ResumeCase c = GetParam();
    const auto frames = results();
    for (int i = 0; i < c.before; ++i)
        dispatcher.ProcessMessage(frames[static_cast<std::size_t>(i)]);
    // A user-left frame the main loop held back behind the results.
    wire::MessageFrame userLeft;
    userLeft.setCmd(wire::CmdUserLeft);
    client.rings.HeldRecv.push_back(userLeft);
    ASSERT_TRUE(state().loop.HoldCommand21);

    // The loss, as the connection watch sees it; the attempt with its
    // request; the server's answer.
    reconnection.Form_Load();
    core::ReconnectServer(routed, state().loop.LoginFrame);
    ASSERT_EQ(state().loop.LoginFrame.cmd(), wire::CmdReconnect);
    if (c.answer == Answer::FreshLogin) {
        dispatcher.ProcessMessage(wire::LoginAnswerFrame{15, 1, {}}.encode());
        EXPECT_EQ(settlement->collector().count(), 0);
        EXPECT_TRUE(client.rings.HeldRecv.empty());
        EXPECT_FALSE(state().loop.HoldCommand21);
        return;
    }
    dispatcher.ProcessMessage(wire::ReconnectAnswerFrame{1}.encode());
    EXPECT_EQ(settlement->collector().count(), c.before);
    EXPECT_TRUE(state().loop.HoldCommand21);
    EXPECT_EQ(client.rings.HeldRecv.size(), 1u);
    EXPECT_TRUE(state().rules.InGame);

    // The frames after the echoed one complete the set.
    for (std::size_t i = static_cast<std::size_t>(c.before); i < frames.size(); ++i)
        dispatcher.ProcessMessage(frames[i]);
    EXPECT_EQ(state().settlement.JuNum, 1);
    EXPECT_EQ(lines(4), QStringList{QStringLiteral("最终分：60金币")});
    EXPECT_TRUE(score().isVisible());
    EXPECT_TRUE(recorded());
    EXPECT_TRUE(state().loop.slots.armed(core::LoopSlot::ReadyClock)) << "the ready clock runs";
    EXPECT_FALSE(state().loop.HoldCommand21) << "the held frames go now";
    EXPECT_FALSE(state().rules.InGame);
}

INSTANTIATE_TEST_SUITE_P(
        Lost, ResumedResults,
        ::testing::Values(ResumeCase{"AfterOneResumed", 1, Answer::Resumed},
                          ResumeCase{"AfterTwoResumed", 2, Answer::Resumed},
                          ResumeCase{"AfterThreeResumed", 3, Answer::Resumed},
                          ResumeCase{"AfterTwoAnsweredAsAFreshLogin", 2, Answer::FreshLogin}),
        [](const ::testing::TestParamInfo<ResumeCase> &p) { return std::string(p.param.name); });

// Frames the server sends again after resuming the hand: a seat's result
// that the client already holds takes that seat's place, and the set is
// whole when the fourth seat is in.
struct RepeatCase
{
    const char *name;
    std::vector<int> before; // frames read before the connection went
    std::vector<int> after; // frames the resumed server sends
    const char *ownFinal;
};

void PrintTo(const RepeatCase &c, std::ostream *os)
{
    *os << c.name;
}

class RepeatedResults : public RoutedResults, public ::testing::WithParamInterface<RepeatCase>
{
protected:
    // Frames 0..3: seats 1, 8, 2, 4; frame 4: the own seat's result once more,
    // with another amount.
    static std::vector<wire::MessageFrame> frames()
    {
        return {resultFrame({.seat = 1, .outcome = 1, .finalAmount = 60}),
                resultFrame({.seat = 8, .outcome = 2, .finalAmount = 30}),
                resultFrame({.seat = 2, .outcome = 2, .finalAmount = 10}),
                resultFrame({.seat = 4, .outcome = 2, .finalAmount = 20}),
                resultFrame({.seat = 1, .outcome = 1, .finalAmount = 70})};
    }
};

TEST_P(RepeatedResults, ASeatSentAgainTakesItsPlaceAndTheSetCompletes)
{
    const RepeatCase c = GetParam();
    const auto all = frames();
    for (int i : c.before)
        dispatcher.ProcessMessage(all[static_cast<std::size_t>(i)]);
    loseAndResume();
    for (int i : c.after)
        dispatcher.ProcessMessage(all[static_cast<std::size_t>(i)]);
    expectSettled({QString::fromUtf8(c.ownFinal)});
    EXPECT_EQ(lines(7), QStringList{QStringLiteral("最终分：- 30金币")}) << "seat 8 at the right";
}

INSTANTIATE_TEST_SUITE_P(
        Resent, RepeatedResults,
        ::testing::Values(
                RepeatCase{"TheWholeSetAgain", {0, 1}, {0, 1, 2, 3}, "最终分：60金币"},
                RepeatCase{"TheLastReadFrameAgain", {0, 1}, {1, 2, 3}, "最终分：60金币"},
                RepeatCase{"ThreeReadThenTheWholeSet", {0, 1, 2}, {0, 1, 2, 3}, "最终分：60金币"},
                RepeatCase{
                        "ANewerFrameOfTheSeatIsTheOneShown", {0, 1}, {4, 2, 3}, "最终分：70金币"}),
        [](const ::testing::TestParamInfo<RepeatCase> &p) { return std::string(p.param.name); });

// Two results of a hand whose set never completed, then a hand start that
// deals nothing (neither the deal nor the bottom cards), then the next hand's
// four results: the board is the next hand's alone.
TEST_F(RoutedResults, AHandStartOfAnyFormEndsTheLastHandsResults)
{
    dispatcher.ProcessMessage(resultFrame({.seat = 1, .outcome = 2, .finalAmount = 900}));
    dispatcher.ProcessMessage(resultFrame({.seat = 8, .outcome = 1, .finalAmount = 999}));
    wire::DealFrame start = tessaroc::frames::handStart(
            [](int i) { return rules::makeCard(3 + i % 13, 1, i + 1); });
    start.form = 0;
    dispatcher.ProcessMessage(start.encode());
    EXPECT_EQ(settlement->collector().count(), 0);
    EXPECT_TRUE(state().rules.InGame);

    for (const std::uint8_t seat : {std::uint8_t{1}, std::uint8_t{2}, std::uint8_t{4}}) {
        dispatcher.ProcessMessage(
                resultFrame({.seat = seat, .outcome = 1, .finalAmount = 60u + seat}));
    }
    EXPECT_EQ(state().settlement.JuNum, 0) << "three seats of this hand are not a set";
    dispatcher.ProcessMessage(resultFrame({.seat = 8, .outcome = 2, .finalAmount = 30}));
    expectSettled({QStringLiteral("最终分：61金币")});
    EXPECT_EQ(lines(7), QStringList{QStringLiteral("最终分：- 30金币")});
}

} // namespace
} // namespace tessaroc::settlement::testing
