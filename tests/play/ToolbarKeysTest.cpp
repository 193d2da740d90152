// The toolbar buttons, the keys and the auto mode.
#include "PlayFixture.h"

#include "wire/ChatFrame.h"
#include "wire/GbkText.h"
#include "wire/SentFrames.h"

#include <gtest/gtest.h>

namespace tessaroc::play::test {
namespace {

using Play = PlayFlowService;

TEST(ChatButton, SendsTheLineWithTheNicknameOrAsAWhisper)
{
    struct Case
    {
        const char *typed;
        const char *prefix;
        std::uint8_t target;
        const char *text; // "" when nothing is sent
        std::uint8_t whisperByte;
    };
    const Case cases[] = {
            {"", "", 0, "", 0},
            {"  你对小红说 ：  ", "你对小红说 ：", 4, "", 0},
            {"hello", "", 0, "阿明说道： hello", 0},
            {"你对小红说 ：hi", "你对小红说 ：", 4, "hi", 4},
            {"你对小红说 ：hi", "你对小红说 ：", 0, "阿明对小红说 ：hi", 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        PlayTable t;
        chat::ChatService &chat = t.useTableWindows();
        t.state.commands.custom[0].nickname = "阿明";
        chat.WhisperPrefix = QString::fromUtf8(c.prefix);
        chat.ChatTarget = c.target;
        t.form->messages.Chat->setText(QString::fromUtf8(c.typed));
        t.play->AnNiu_Click(Play::BtnChat);
        EXPECT_TRUE(t.form->messages.Chat->text().isEmpty());
        const auto frames = t.sent();
        if (!*c.text) {
            EXPECT_TRUE(frames.empty());
            continue;
        }
        ASSERT_EQ(frames.size(), 1u);
        const wire::ChatFrame line = wire::ChatFrame::decode(frames[0]);
        EXPECT_EQ(line.sender.raw, 2);
        EXPECT_EQ(line.whisperTo.raw, c.whisperByte);
        EXPECT_EQ(line.text, c.text);
        EXPECT_TRUE(chat.WhisperPrefix.isEmpty());
    }
    // Two lines in a row both leave: the button has no flood gate.
    PlayTable t;
    t.useTableWindows();
    for (const char *line : {"a", "b"}) {
        t.form->messages.Chat->setText(QString::fromUtf8(line));
        t.play->AnNiu_Click(Play::BtnChat);
    }
    EXPECT_EQ(t.sent().size(), 2u);
}

// The clearing for the coming hand ends the hand in the rules' eyes, so a
// press that clears the table also sends; a press on a table already
// cleared while a hand runs sends nothing.
TEST(ReadyButton, LatchesClearsTheTableOnceAndSendsWhileNoHandRuns)
{
    struct Case
    {
        bool inGame;
        bool tableCleared;
        bool sends;
    };
    for (const Case c :
         {Case{false, false, true}, Case{true, true, false}, Case{true, false, true}}) {
        SCOPED_TRACE(testing::Message() << "in game " << c.inGame << " cleared " << c.tableCleared);
        PlayTable t;
        t.state.core.ButtonDown[2] = false;
        t.state.rules.InGame = c.inGame;
        t.state.loop.TableCleared = c.tableCleared;
        t.state.loop.slots.arm(core::LoopSlot::ReadyClock);
        t.state.loop.FirstStartPending = true;
        t.windows.score = t.windows.hero = true;
        t.state.rules.ownHand().setCardCount(5);
        t.play->AnNiu_Click(Play::BtnReady);
        const auto frames = t.sent();
        ASSERT_EQ(frames.size(), c.sends ? 1u : 0u);
        if (c.sends) {
            EXPECT_EQ(wire::ReadyOrLeaveFrame::decode(frames[0]),
                      (wire::ReadyOrLeaveFrame{2, true}));
        }
        EXPECT_TRUE(t.state.core.ButtonDown[2]);
        EXPECT_TRUE(t.state.loop.TableCleared);
        EXPECT_EQ(t.state.rules.ownHand().cardCount, c.tableCleared ? 5 : 0);
        EXPECT_FALSE(t.state.loop.slots.armed(core::LoopSlot::ReadyClock));
        EXPECT_FALSE(t.state.loop.FirstStartPending);
        EXPECT_TRUE(t.form->seats.OK(0).Visible());
        EXPECT_FALSE(t.windows.score || t.windows.hero);

        // Held: the second press changes nothing.
        t.state.loop.TableCleared = false;
        t.play->AnNiu_Click(Play::BtnReady);
        EXPECT_TRUE(t.sent().empty());
        EXPECT_FALSE(t.state.loop.TableCleared);
    }
}

TEST(ReadyButton, AfterALostConnectionGoesBackToTheHall)
{
    for (const bool hall : {true, false}) {
        SCOPED_TRACE(hall);
        PlayTable t;
        t.state.core.ButtonDown[2] = false;
        t.state.commands.ConnectionLostFlag = true;
        t.state.loop.TableCleared = true;
        t.services->hall.present = hall;
        t.play->AnNiu_Click(Play::BtnReady);
        EXPECT_FALSE(t.state.commands.ConnectionLostFlag);
        EXPECT_FALSE(t.services->timers.bong);
        if (hall) {
            EXPECT_FALSE(t.services->process.ended);
            EXPECT_EQ(t.form->WindowState(), table::MainForm::Minimized);
            EXPECT_EQ(t.services->hall.restores, 1);
            EXPECT_TRUE(t.state.loop.TableCleared);
            EXPECT_EQ(t.sent().size(), 1u) << "the ready frame follows";
        } else {
            EXPECT_EQ(t.services->process.ended, core::ExitCode::HallMissing);
            EXPECT_TRUE(t.sent().empty());
        }
    }
}

TEST(ToolbarWindows, EachButtonTogglesItsWindow)
{
    PlayTable t;
    t.state.settlement.JuNum = 4;
    t.play->AnNiu_Click(Play::BtnScore);
    EXPECT_TRUE(t.windows.score);
    EXPECT_EQ(t.windows.scoreHand, 4);
    t.play->AnNiu_Click(Play::BtnScore);
    EXPECT_FALSE(t.windows.score);

    t.play->AnNiu_Click(Play::BtnHero);
    t.play->AnNiu_Click(Play::BtnHero);
    EXPECT_FALSE(t.windows.hero);
    EXPECT_EQ(std::count(t.windows.log.begin(), t.windows.log.end(), "CentreHero"), 2)
            << "centred on every press";

    t.play->AnNiu_Click(Play::BtnTalk);
    EXPECT_TRUE(t.windows.talk);
    EXPECT_DOUBLE_EQ(t.windows.talkLeft, t.form->Left() + 0.3 * t.form->Width());
    EXPECT_DOUBLE_EQ(t.windows.talkTop, t.form->Top() + 0.66 * t.form->Height());
    t.play->AnNiu_Click(Play::BtnTalk);
    EXPECT_FALSE(t.windows.talk);

    t.play->AnNiu_Click(Play::BtnSound);
    EXPECT_TRUE(t.windows.vosSet);
    EXPECT_DOUBLE_EQ(t.windows.vosRight,
                     t.form->Left() + t.form->area.Pic1.Left() + t.form->area.Pic1.Width());
    t.play->AnNiu_Click(Play::BtnSound);
    EXPECT_FALSE(t.windows.vosSet);

    t.state.rules.InGame = true;
    t.windows.score = true;
    t.play->AnNiu_Click(Play::BtnExit);
    EXPECT_TRUE(t.windows.exit);
    EXPECT_TRUE(t.windows.exitNotice);
    EXPECT_TRUE(t.windows.exitTopMost);
    EXPECT_FALSE(t.windows.score);
    t.play->AnNiu_Click(Play::BtnExit);
    EXPECT_FALSE(t.windows.exit);

    t.play->AnNiu_Click(Play::BtnWeb);
    ASSERT_EQ(t.windows.pages.size(), 1u);
    EXPECT_TRUE(t.windows.pages[0].endsWith(QStringLiteral("/gameinfo/tsroc/index.php")));

    // The frame's close button is the leave button.
    Q_EMIT t.form->leaveRequested();
    EXPECT_TRUE(t.windows.exit);
}

TEST(ToolbarWindows, TheChatWindowStandsLowerLeftOnTheReducedTable)
{
    PlayTable t(true);
    t.play->AnNiu_Click(Play::BtnTalk);
    EXPECT_DOUBLE_EQ(t.windows.talkLeft, 0.22 * t.form->Width());
    EXPECT_DOUBLE_EQ(t.windows.talkTop, 0.6 * t.form->Height());
}

// Alt and C in either order, nothing between them, open the chat window.
TEST(Keys, TheAltCChord)
{
    struct Case
    {
        std::vector<int> keys;
        bool opens;
    };
    const Case cases[] = {
            {{Play::kAlt, Play::kKeyC}, true},
            {{Play::kKeyC, Play::kAlt}, true},
            {{Play::kAlt, Play::kAlt, Play::kAlt, Play::kKeyC}, true},
            {{Play::kAlt, 88, Play::kKeyC}, false},
            {{Play::kKeyC, Play::kKeyC}, false},
            {{Play::kAlt, Play::kF1 + 1, Play::kKeyC}, false},
    };
    for (const Case &c : cases) {
        PlayTable t;
        for (int key : c.keys)
            t.play->Pic1_KeyDown(key, 0);
        EXPECT_EQ(t.windows.talk, c.opens);
        if (c.opens) {
            EXPECT_DOUBLE_EQ(t.windows.talkLeft, 0.3 * t.form->Width());
            EXPECT_DOUBLE_EQ(t.windows.talkTop, 0.66 * t.form->Height());
            EXPECT_EQ(t.form->services().chat.KeyChord, (std::array<bool, 2>{false, false}));
        }
    }
}

TEST(Keys, EscOpensAndClosesTheLeaveDialog)
{
    for (const bool spectator : {false, true}) {
        PlayTable t;
        t.state.rules.InGame = true;
        t.state.loop.line.Spectator = spectator;
        t.play->Pic1_KeyDown(Play::kEsc, 0);
        EXPECT_TRUE(t.windows.exit);
        EXPECT_EQ(t.windows.exitNotice, !spectator);
        EXPECT_FALSE(t.windows.exitTopMost);
        t.play->Pic1_KeyDown(Play::kEsc, 0);
        EXPECT_FALSE(t.windows.exit);
    }
}

// The F1 variants: which flags they set and which windows they hide or
// destroy, in order; only the full variant is ended by restoring the window.
TEST(Keys, TheF1Variants)
{
    struct Case
    {
        const char *name;
        void (Play::*handler)(int, int);
        bool full;
        std::vector<std::string> windows;
    };
    const Case cases[] = {
            {"table",
             &Play::Pic1_KeyDown,
             true,
             {"unload Information", "hide Talk", "hide frmMingXi", "hide huifu", "unload VosSet",
              "unload frmExit", "hide Hero", "hide Score"}},
            {"hidden holder",
             &Play::Pic2_KeyDown,
             true,
             {"unload Information", "hide Talk", "hide huifu", "hide VosSet", "unload frmExit",
              "hide Hero"}},
            {"window",
             &Play::Form_KeyDown,
             false,
             {"hide Information", "hide Talk", "hide VosSet", "hide frmExit", "hide Hero",
              "hide Score", "hide huifu"}},
            {"sound holder",
             &Play::pic3_KeyDown,
             false,
             {"hide Information", "hide Talk", "hide huifu", "hide VosSet", "hide frmExit",
              "hide Hero", "hide Score"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        PlayTable t;
        t.play->ChuPai().Show(0, 0, 15360, 11520, true);
        ((*t.play).*c.handler)(Play::kF1, 0);
        const core::CoreState &core = t.state.core;
        EXPECT_TRUE(core.AutoModeKey);
        EXPECT_EQ(core.TurnSeconds, 0);
        EXPECT_EQ(core.AutoMode, c.full);
        EXPECT_EQ(core.TableHidden, c.full);
        EXPECT_EQ(t.windows.log, c.windows);
        EXPECT_EQ(t.play->ChuPai().Loaded(), !c.full);
        EXPECT_EQ(t.form->WindowState(), table::MainForm::Minimized);
        EXPECT_EQ(t.services->hall.minimises, 1);

        // Restoring the window ends the full variant only.
        t.form->setWindowStateCode(table::MainForm::Normal);
        t.form->Form_Resize();
        EXPECT_EQ(core.TurnSeconds, c.full ? 15 : 0);
        EXPECT_EQ(core.AutoModeKey, !c.full);
        EXPECT_FALSE(core.AutoMode);
        EXPECT_FALSE(core.TableHidden);
    }
}

TEST(Keys, TheHideButtonRunsTheShortVariantAndHidesThePopUps)
{
    PlayTable t;
    t.windows.mingXi = t.windows.talk = true;
    t.play->AnNiu_Click(Play::BtnHide);
    EXPECT_TRUE(t.state.core.AutoModeKey);
    EXPECT_EQ(t.state.core.TurnSeconds, 0);
    EXPECT_FALSE(t.state.core.AutoMode);
    EXPECT_FALSE(t.state.core.TableHidden);
    EXPECT_FALSE(t.windows.mingXi || t.windows.talk);
    EXPECT_EQ(t.form->WindowState(), table::MainForm::Minimized);
}

TEST(Keys, KeysReachTheHandlersThroughTheTableWindow)
{
    PlayTable t;
    QKeyEvent alt(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
    QKeyEvent c(QEvent::KeyPress, Qt::Key_C, Qt::AltModifier);
    QApplication::sendEvent(&t.form->area.Pic1.widget(), &alt);
    QApplication::sendEvent(&t.form->area.Pic1.widget(), &c);
    EXPECT_TRUE(t.windows.talk);
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(t.form.get(), &f1);
    EXPECT_TRUE(t.state.core.AutoModeKey);
    EXPECT_FALSE(t.state.core.AutoMode) << "the window's own F1 is the short variant";
}

} // namespace
} // namespace tessaroc::play::test
