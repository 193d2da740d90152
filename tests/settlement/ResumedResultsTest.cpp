// A connection lost between a hand's result frames, through the dispatcher
// and the reconnection as the main loop drives them, with the real collector:
// a server that resumes the hand sends again only the frames the client had
// not read, so what was collected before the loss must still be there; a
// server that answers with a fresh login has ended the hand, and what was
// collected or held of it goes.

#include "SettlementFixture.h"

#include "core/Reconnect.h"
#include "core/TableState.h"
#include "wire/SentFrames.h"

#include <QFile>

namespace tessaroc::settlement::testing {
namespace {

enum class Answer { Resumed, FreshLogin };

struct ResumeCase
{
    const char *name;
    int before; // result frames read before the connection went
    Answer answer;
};

class ResumedResults : public SettlementFixture, public ::testing::WithParamInterface<ResumeCase>
{
protected:
    ResumedResults()
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

} // namespace
} // namespace tessaroc::settlement::testing
