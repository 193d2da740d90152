#include "TableFixture.h"

#include "chat/SpeakBox.h"
#include "forms/PopupWindow.h"

#include <QTimer>

namespace tessaroc::table::test {

namespace {

// A window of the program: a seat's speech bubble is captioned "speakbox".
std::unique_ptr<forms::PopupWindow> window(const QString &caption, bool fading = false)
{
    auto w = std::make_unique<forms::PopupWindow>();
    w->setWindowTitle(caption);
    w->show();
    if (fading) {
        auto *fade = new QTimer(w.get());
        fade->setObjectName(QLatin1String(chat::kFadeTimerName));
        fade->start(40);
    }
    return w;
}

class WindowEvents : public ::testing::Test
{
protected:
    Table t{1024, 768};
    MainForm &f = t.form();
};

} // namespace

// Showing the table window runs the restore handling: the hall goes down.
TEST_F(WindowEvents, ShowingTheTableMinimisesTheHall)
{
    EXPECT_EQ(t.hall.minimised, 1);
}

TEST_F(WindowEvents, MinimisingHidesBubblesAndBombAndStopsTheSound)
{
    auto bubble = window(QStringLiteral("speakbox"));
    auto other = window(QStringLiteral("speakbox2"));
    f.effects.bombPlayer.setVisible(true);
    f.setWindowStateCode(MainForm::Minimized);
    EXPECT_FALSE(bubble->isVisible());
    EXPECT_TRUE(other->isVisible());
    EXPECT_FALSE(f.effects.bombPlayer.Visible());
    EXPECT_EQ(t.sound.stops, 1);
    EXPECT_EQ(t.sound.mp3Stops, (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(t.hall.minimised, 1);
}

// Restoring ends the auto mode only when it hid the table (the full F1).
TEST_F(WindowEvents, RestoringEndsTheFullAutoMode)
{
    core::CoreState &core = t.state.core;
    f.setWindowStateCode(MainForm::Minimized);
    core.TableHidden = true;
    core.AutoModeKey = true;
    core.AutoMode = true;
    core.TurnSeconds = 0;
    core.TimeoutCount = 3;
    f.setWindowStateCode(MainForm::Normal);
    EXPECT_EQ(t.hall.minimised, 2);
    EXPECT_FALSE(core.TableHidden);
    EXPECT_FALSE(core.AutoModeKey);
    EXPECT_FALSE(core.AutoMode);
    EXPECT_EQ(core.TurnSeconds, 15);
    EXPECT_EQ(core.TimeoutCount, 0);
}

TEST_F(WindowEvents, RestoringKeepsTheShortAutoMode)
{
    core::CoreState &core = t.state.core;
    f.setWindowStateCode(MainForm::Minimized);
    core.AutoModeKey = true;
    core.TurnSeconds = 2;
    f.setWindowStateCode(MainForm::Normal);
    EXPECT_TRUE(core.AutoModeKey);
    EXPECT_EQ(core.TurnSeconds, 2);
}

TEST_F(WindowEvents, MaximisingRunsTheRestoreHandling)
{
    t.state.core.TimeoutCount = 2;
    f.setWindowStateCode(MainForm::Maximized);
    EXPECT_EQ(t.hall.minimised, 2);
    EXPECT_EQ(t.state.core.TimeoutCount, 0);
}

// Without a hall window the program ends there: nothing after the hall's
// minimise runs.
TEST_F(WindowEvents, RestoringWithoutAHallStopsThere)
{
    auto bubble = window(QStringLiteral("speakbox"), true);
    t.hall.hallPresent = false;
    t.state.core.TimeoutCount = 3;
    f.Form_Resize();
    EXPECT_EQ(t.state.core.TimeoutCount, 3);
    EXPECT_TRUE(bubble->isVisible());
}

TEST_F(WindowEvents, TheItemLibraryIsAskedOnlyWhileItRuns)
{
    f.Form_Resize();
    EXPECT_EQ(t.items.fixes, 0);
    t.state.gamedllstate = 1;
    f.Form_Resize();
    EXPECT_EQ(t.items.fixes, 1);
}

// A bubble that was fading in when the window went down stays hidden,
// transparent, top-most and without its fade after the window comes back.
TEST_F(WindowEvents, RestoringSettlesTheBubbles)
{
    auto bubble = window(QStringLiteral("speakbox"), true);
    f.setWindowStateCode(MainForm::Minimized);
    f.setWindowStateCode(MainForm::Normal);
    auto *fade = bubble->findChild<QTimer *>(QLatin1String(chat::kFadeTimerName));
    ASSERT_NE(fade, nullptr);
    EXPECT_FALSE(fade->isActive());
    EXPECT_FALSE(bubble->isVisible());
    EXPECT_EQ(bubble->windowOpacity(), 0.0);
    EXPECT_TRUE(bubble->windowFlags() & Qt::WindowStaysOnTopHint);
}

TEST_F(WindowEvents, ActivationPutsTheFocusIntoTheChatBox)
{
    f.area.Pic1->setFocus();
    f.Form_Activate();
    EXPECT_EQ(f.focusWidget(), &f.messages.Chat.widget());
}

} // namespace tessaroc::table::test
