// The toolbar and the keys on the table's real pop-up windows: the chat
// history, the board, the hall of fame, the sound settings, the leave dialog,
// the notice, the player card and the task window.
#include "Grab.h"
#include "PlayFixture.h"

#include "chat/ChatWindows.h"
#include "settlement/HeroWindow.h"
#include "settlement/ScoreWindow.h"
#include "sound/SoundSettings.h"
#include "table/ExitDialog.h"
#include "table/HoverPictures.h"
#include "table/Information.h"
#include "table/OtherExitDialog.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace tessaroc::play::test {
namespace {

using Play = PlayFlowService;

// Windows are placed in twips and land on whole pixels.
constexpr double kPixel = 15;

class TableWindows : public ::testing::Test
{
protected:
    TableWindows()
    {
        t.useTableWindows();
        t.play->tableWindows().setOtherExit(&otherExit);
    }

    table::MainForm &form() { return *t.form; }
    PlaySubsystems services() { return t.subsystems(); }
    void expectCentred(const forms::PopupWindow &window)
    {
        EXPECT_NEAR(window.LeftTwips(), form().Left() + (form().Width() - window.WidthTwips()) / 2,
                    kPixel);
        EXPECT_NEAR(window.TopTwips(), form().Top() + (form().Height() - window.HeightTwips()) / 2,
                    kPixel);
    }

    PlayTable t;
    table::OtherExitDialog otherExit;
};

TEST_F(TableWindows, TheToolbarShowsEachWindowInItsPlaceAndHidesItAgain)
{
    settlement::SettlementService &settlement = services().settlement;
    std::vector<int> opened;
    settlement.openHand = [&](int hand) {
        opened.push_back(hand);
        settlement.Score().show();
    };
    t.state.settlement.JuNum = 3;
    t.play->AnNiu_Click(Play::BtnScore);
    EXPECT_EQ(opened, std::vector<int>{3}) << "the board is filled from the last hand's record";
    EXPECT_TRUE(settlement.ScoreVisible());
    t.play->AnNiu_Click(Play::BtnScore);
    EXPECT_FALSE(settlement.ScoreVisible());

    // Without a records file behind it the board shows as it stands, centred.
    settlement.openHand = nullptr;
    t.play->AnNiu_Click(Play::BtnScore);
    EXPECT_TRUE(settlement.ScoreVisible());
    expectCentred(settlement.Score());
    t.play->AnNiu_Click(Play::BtnScore);

    settlement.Hero().MoveTwips(0, 0);
    t.play->AnNiu_Click(Play::BtnHero);
    EXPECT_TRUE(settlement.HeroVisible());
    expectCentred(settlement.Hero());
    settlement.Hero().MoveTwips(0, 0);
    t.play->AnNiu_Click(Play::BtnHero);
    EXPECT_FALSE(settlement.HeroVisible());
    expectCentred(settlement.Hero());

    chat::ChatService &chat = services().chat;
    t.play->AnNiu_Click(Play::BtnTalk);
    ASSERT_TRUE(chat.TalkVisible());
    EXPECT_NEAR(chat.Talk().LeftTwips(), form().Left() + 0.3 * form().Width(), kPixel);
    EXPECT_NEAR(chat.Talk().TopTwips(), form().Top() + 0.66 * form().Height(), kPixel);
    t.play->AnNiu_Click(Play::BtnTalk);
    EXPECT_FALSE(chat.TalkVisible());

    // The sound settings stand against the right edge of the table area,
    // 1700 twips above its foot.
    sound::SoundSettings &sound = t.play->tableWindows().soundSettings();
    t.play->AnNiu_Click(Play::BtnSound);
    ASSERT_NE(sound.window(), nullptr);
    const sound::VosSet &vosSet = *sound.window();
    EXPECT_TRUE(vosSet.isVisible());
    const table::TableArea &area = form().area;
    EXPECT_NEAR(vosSet.LeftTwips() + vosSet.WidthTwips(),
                form().Left() + area.Pic1.Left() + area.Pic1.Width(), kPixel);
    EXPECT_NEAR(vosSet.TopTwips() + vosSet.HeightTwips(),
                form().Top() + area.Pic1.Top() + area.Pic1.Height()
                        - 1700 * t.state.table.scale.ScaleX,
                kPixel);
    // Kept for a person to look at: grabs/sound_settings.png.
    EXPECT_FALSE(
            tessaroc::test::grabToPng(*sound.window(), QStringLiteral("sound_settings")).isEmpty());
    t.play->AnNiu_Click(Play::BtnSound);
    EXPECT_FALSE(vosSet.isVisible());

    t.state.rules.InGame = true;
    settlement.Score().show();
    t.play->AnNiu_Click(Play::BtnExit);
    ASSERT_TRUE(form().frmExitLoaded());
    EXPECT_TRUE(form().frmExit().isVisible());
    EXPECT_FALSE(settlement.ScoreVisible());
    expectCentred(form().frmExit());
    t.play->AnNiu_Click(Play::BtnExit);
    EXPECT_FALSE(form().frmExit().isVisible());
}

// The whisper a portrait click began is what the send button reads.
TEST_F(TableWindows, TheSendButtonReadsTheChatsWhisper)
{
    chat::ChatService &chat = services().chat;
    t.state.commands.custom[0].nickname = "阿明";
    chat.WhisperPrefix = QStringLiteral("你对小红说 ：");
    chat.ChatTarget = 4;
    form().messages.Chat->setText(QStringLiteral("你对小红说 ：hi"));
    t.play->AnNiu_Click(Play::BtnChat);
    const std::vector<wire::MessageFrame> sent = t.sent();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].bytes()[11], 4);
    EXPECT_TRUE(chat.WhisperPrefix.isEmpty());
}

// F1 on the table destroys the player card, the sound settings and the leave
// dialog and hides the others; the hide button only hides.
TEST_F(TableWindows, F1DestroysOrHidesTheRealWindows)
{
    for (const bool full : {true, false}) {
        SCOPED_TRACE(full ? "F1 on the table" : "hide button");
        PlayTable table;
        table.play->setWindows(table.play->tableWindows());
        const PlaySubsystems s = table.subsystems();
        table.state.commands.custom[1].nickname = "小红";
        table.play->Tou_MouseMove(1);
        ASSERT_TRUE(table.form->hover().informationLoaded());
        ASSERT_TRUE(table.form->hover().information().isVisible()) << "the card of the seat";
        table.play->AnNiu_Click(Play::BtnSound);
        table.play->AnNiu_Click(Play::BtnHero);
        table.play->AnNiu_Click(Play::BtnTalk);
        s.settlement.Score().show();
        table.form->frmMingXi().show();
        table.form->frmExit().show();

        if (full)
            table.play->Pic1_KeyDown(Play::kF1, 0);
        else
            table.play->AnNiu_Click(Play::BtnHide);

        sound::SoundSettings &sound = table.play->tableWindows().soundSettings();
        EXPECT_EQ(table.form->hover().informationLoaded(), !full);
        EXPECT_EQ(sound.window() != nullptr, !full);
        EXPECT_EQ(table.form->frmExitLoaded(), !full);
        if (!full) {
            EXPECT_FALSE(table.form->hover().information().isVisible());
            EXPECT_FALSE(sound.window()->isVisible());
            EXPECT_FALSE(table.form->frmExit().isVisible());
        }
        EXPECT_FALSE(s.chat.TalkVisible());
        EXPECT_FALSE(s.settlement.HeroVisible());
        EXPECT_FALSE(s.settlement.ScoreVisible());
        EXPECT_FALSE(table.form->frmMingXi().isVisible());
    }
}

TEST_F(TableWindows, ReadyAfterALostConnectionClosesTheNotice)
{
    t.state.core.ButtonDown[2] = false;
    t.state.commands.ConnectionLostFlag = true;
    otherExit.show();
    t.services->hall.present = true;
    t.play->AnNiu_Click(Play::BtnReady);
    EXPECT_FALSE(otherExit.isVisible());
    EXPECT_EQ(t.services->hall.restores, 1);

    // A way out of the table already running (the hall's leave request
    // served during one of its waits) keeps the table to itself.
    PlayTable leaving;
    leaving.state.core.ButtonDown[2] = false;
    leaving.state.commands.ConnectionLostFlag = true;
    leaving.state.loop.LeaveRunning = true;
    leaving.services->hall.present = true;
    leaving.play->AnNiu_Click(Play::BtnReady);
    EXPECT_EQ(leaving.services->hall.restores, 0);
    EXPECT_TRUE(leaving.sent().empty());
}

// While the item library runs, the buttons that open pop-ups and Esc tell it
// the bank's state, and the function keys reach it; with the library off
// nothing is passed on.
TEST_F(TableWindows, TheRunningItemLibraryHearsTheButtonsAndKeys)
{
    struct Case
    {
        const char *name;
        std::function<void(Play &)> act;
        std::vector<std::string> calls;
    };
    const auto click = [](int index) {
        return [index](Play &play) {
            play.AnNiu_Click(index);
        };
    };
    const Case cases[] = {
            {"sound", click(Play::BtnSound), {"setbankstate 2"}},
            {"board", click(Play::BtnScore), {"setbankstate 2"}},
            {"hall of fame", click(Play::BtnHero), {"setbankstate 2"}},
            {"leave", click(Play::BtnExit), {"setbankstate 2"}},
            {"chat window", click(Play::BtnTalk), {}},
            {"Esc", [](Play &play) { play.Pic1_KeyDown(Play::kEsc, 0); }, {"setbankstate 2"}},
            {"F1 on the table",
             [](Play &play) { play.Pic1_KeyDown(Play::kF1, 0); },
             {"SetKeyDown 112"}},
            {"F1 on the window",
             [](Play &play) { play.Form_KeyDown(Play::kF1, 0); },
             {"SetKeyDown 112"}},
            {"F3 on the window",
             [](Play &play) { play.Form_KeyDown(Play::kF1 + 2, 0); },
             {"SetKeyDown 114"}},
            {"F7 on the window", [](Play &play) { play.Form_KeyDown(Play::kF6 + 1, 0); }, {}},
            {"F1 on the sound holder",
             [](Play &play) { play.pic3_KeyDown(Play::kF1, 0); },
             {"SetKeyDown 112"}},
    };
    for (const Case &c : cases) {
        for (const std::int16_t state : {std::int16_t{0}, std::int16_t{1}}) {
            SCOPED_TRACE(std::string(c.name) + (state ? ", library running" : ", library off"));
            PlayTable table;
            table.play->setWindows(table.play->tableWindows());
            table.state.gamedllstate = state;
            c.act(*table.play);
            EXPECT_EQ(table.tableItems.calls, state ? c.calls : std::vector<std::string>{});
        }
    }

    // While the chat box holds the keyboard, it passes F2 to F6 on itself.
    t.state.gamedllstate = 1;
    services().chat.ChatHasFocus = true;
    t.play->Form_KeyDown(Play::kF1 + 2, 0);
    t.play->Form_KeyDown(Play::kF1, 0);
    EXPECT_EQ(t.tableItems.calls, std::vector<std::string>{"SetKeyDown 112"});
}

// The table and the chat history count one Alt and C chord.
TEST_F(TableWindows, TheChordIsSharedWithTheChatHistory)
{
    chat::ChatService &chat = services().chat;
    t.play->Pic1_KeyDown(Play::kAlt, 0);
    EXPECT_TRUE(chat.KeyChord[0]);
    t.play->Pic1_KeyDown(Play::kKeyC, 0);
    EXPECT_TRUE(chat.TalkVisible());
    EXPECT_NEAR(chat.Talk().LeftTwips(), 0.3 * form().Width(), kPixel);
    EXPECT_NEAR(chat.Talk().TopTwips(), 0.66 * form().Height(), kPixel);
}

// Esc opens the leave dialog and Esc closes it again, each typed wherever the
// keyboard is. A window manager gives the shown dialog the focus, so the
// second Esc lands on the dialog rather than on the table; it is still the
// table's Esc (the running item library hears of both). Real key presses.
TEST_F(TableWindows, EscTwiceOpensAndClosesTheLeaveDialogWhereverTheFocusWent)
{
    t.state.gamedllstate = 1;
    form().show();
    form().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
    form().area.Pic1->setFocus();
    const auto escWhereTheKeyboardIs = [] {
        QWidget *target = QApplication::focusWidget();
        if (target == nullptr)
            target = QApplication::activeWindow();
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target, Qt::Key_Escape);
    };

    escWhereTheKeyboardIs();
    ASSERT_TRUE(form().frmExitLoaded());
    table::ExitDialog &dialog = form().frmExit();
    ASSERT_TRUE(dialog.isVisible()) << "the first Esc opens the dialog";
    expectCentred(dialog);

    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    escWhereTheKeyboardIs();
    EXPECT_FALSE(dialog.isVisible()) << "the second Esc closes it";
    EXPECT_EQ(t.tableItems.calls, (std::vector<std::string>{"setbankstate 2", "setbankstate 2"}));
}

// Keys typed into the chat box are the box's. Those it leaves unused travel
// up through the table area but reach none of the table's handlers; the box's
// own keys still work, and so do the table's while the table area itself
// holds the focus. Real key presses on the real chat, attached as the program
// attaches it.
TEST_F(TableWindows, KeysTypedIntoTheChatBoxStayWithTheBox)
{
    chat::ChatService &chat = services().chat;
    chat.attach(form(), *t.context, services().sound);
    std::vector<int> boxKeys;
    chat.SetKeyDown = [&boxKeys](int key) {
        boxKeys.push_back(key);
    };
    t.state.gamedllstate = 1; // the item library runs: every key passed on shows
    t.state.rules.InGame = true;
    QLineEdit &box = form().messages.Chat.widget();
    QWidget &tableArea = form().area.Pic1.widget();
    form().show();
    form().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
    const auto focus = [](QWidget &widget) {
        widget.setFocus();
        ASSERT_TRUE(widget.hasFocus());
    };
    const auto leaveDialogShown = [this] {
        return form().frmExitLoaded() && form().frmExit().isVisible();
    };

    focus(box);
    QTest::keyClick(&box, Qt::Key_Escape);
    QTest::keyClick(&box, Qt::Key_Alt);
    EXPECT_FALSE(leaveDialogShown()) << "Esc in the box";
    EXPECT_FALSE(chat.KeyChord[0]) << "Alt in the box";
    EXPECT_EQ(t.tableItems.calls, std::vector<std::string>{});

    focus(tableArea);
    QTest::keyClick(&tableArea, Qt::Key_Escape);
    EXPECT_TRUE(leaveDialogShown()) << "Esc on the table area";
    QTest::keyClick(&tableArea, Qt::Key_Alt);
    EXPECT_TRUE(chat.KeyChord[0]) << "Alt on the table area";
    t.tableItems.calls.clear();

    // F1 in the box hands the table to the automatic player and hides the
    // pop-ups; the table's own F1 would destroy the player card, the sound
    // settings, the leave dialog and the notice, and tell the library again.
    t.state.commands.custom[1].nickname = "小红";
    t.play->Tou_MouseMove(1);
    t.play->AnNiu_Click(Play::BtnSound);
    t.play->ChuPai().Show(form().Left(), form().Top(), form().Width(), form().Height(), false);
    form().frmExit().show();
    t.tableItems.calls.clear();
    focus(box);
    QTest::keyClick(&box, Qt::Key_F1);
    EXPECT_TRUE(t.state.core.AutoMode);
    EXPECT_TRUE(t.state.core.TableHidden);
    EXPECT_EQ(boxKeys, std::vector<int>{Play::kF1});
    EXPECT_EQ(t.tableItems.calls, std::vector<std::string>{});
    ASSERT_TRUE(form().hover().informationLoaded());
    EXPECT_FALSE(form().hover().information().isVisible());
    const sound::VosSet *vosSet = t.play->tableWindows().soundSettings().window();
    ASSERT_NE(vosSet, nullptr);
    EXPECT_FALSE(vosSet->isVisible());
    ASSERT_TRUE(form().frmExitLoaded());
    EXPECT_FALSE(form().frmExit().isVisible());
    ASSERT_TRUE(t.play->ChuPai().Loaded());
    EXPECT_FALSE(t.play->ChuPai().Visible());

    // F3 goes to the library once, from the box.
    QTest::keyClick(&box, Qt::Key_F3);
    EXPECT_EQ(boxKeys, (std::vector<int>{Play::kF1, Play::kF1 + 2}));
    EXPECT_EQ(t.tableItems.calls, std::vector<std::string>{});
}

} // namespace
} // namespace tessaroc::play::test
