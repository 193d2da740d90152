#include "RecordingServices.h"
#include "TableFixture.h"

#include "core/CoreContext.h"
#include "core/Leave.h"
#include "core/TableReset.h"
#include "table/ExitDialog.h"
#include "table/LeavePaths.h"
#include "table/OtherExitDialog.h"
#include "table/TableWindowService.h"
#include "wire/MsgRings.h"
#include "wire/SentFrames.h"

#include <QTimer>

namespace tessaroc::table::test {
namespace {

// A clock that moves on by a step at every reading, so the waits of the leave
// paths end at once in real time while still serving events.
class StepClock final : public platform::Clock
{
public:
    std::int64_t nowMs() const override { return now_ += step; }
    std::int64_t step = 1000;

private:
    mutable std::int64_t now_ = 1'000'000;
};

void click(forms::PopupWindow &dialog, forms::Element &button)
{
    mouse::press(dialog, mouse::centre(button));
    mouse::release(dialog, mouse::centre(button));
}

// The real table window and its service over a client core whose services
// write every call into one log, seated at a table during a hand.
class Leave : public ::testing::Test, public fakes::RecordingServices
{
protected:
    Leave()
    {
        fakes::joinLog(log, socket, hall, items, settlement, process);
        timers.keepAlive = true;
        table.state.rules.HandRecords[0].name = "own";
        table.state.rules.HandRecords[0].seatBit = 4;
        table.state.rules.HandRecords[2].name = "other";
        table.state.rules.HandRecords[2].seatBit = 1;
        table.state.commands.custom[1].nickname = "nick";
        table.state.commands.custom[1].accountName = "acc";
        table.state.commands.custom[1].wins = 7;
        table.state.rules.InGame = true;
        table.state.loop.LoginSent = true;
        table.state.loop.slots.arm(core::LoopSlot::ConnWatch);
        table.state.settlement.JuNum = 3;
        table.state.core.Wealth = {1, 2, 3, 4};
        table.state.core.AutoMode = true;
        form().seats.Nid(1).setCaption(QStringLiteral("nick"));
        form().messages.Chat->setText(QStringLiteral("half a line"));
        form().bid.lbwealth.setVisible(true);
    }

    MainForm &form() { return table.form(); }
    void processDeferred() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    std::vector<std::string> calls() const { return log.calls; }

    Table table{kFullScreen[0], kFullScreen[1]};
    ::tessaroc::test::CallRecord log;
    StepClock clock;
    wire::MsgRings rings;
    TableWindowService window{form(), table.state};
    core::CoreContext c = makeContext(table.state, rings, clock, window);
    int soundSettingsUnloaded = 0;
    LeavePaths paths{c, form(), window.otherExit(),
                     LeavePaths::Hooks{[this] { ++soundSettingsUnloaded; }, {}}};
};

TEST_F(Leave, LeaveButtonTellsTheServerResetsTheTableAndRestoresTheHall)
{
    form().ShowLeaveDialog();
    ExitDialog &dialog = form().frmExit();
    EXPECT_TRUE(dialog.Label2.Visible());
    click(dialog, dialog.pbCloseMe);

    EXPECT_EQ(calls(),
              (std::vector<std::string>{"socket.SendData 16", "socket.Close",
                                        "settlement.DeleteHandRecords", "hall.FindHall",
                                        "hall.RestoreHall"}));
    EXPECT_EQ(socket.sent[0], (wire::ReadyOrLeaveFrame{4, false}.encode()));
    EXPECT_EQ(soundSettingsUnloaded, 1);
    const core::TableState &s = table.state;
    EXPECT_FALSE(s.rules.InGame);
    EXPECT_TRUE(s.core.ButtonDown[2]);
    EXPECT_TRUE(s.loop.FirstStartPending);
    EXPECT_FALSE(s.loop.LoginSent);
    EXPECT_FALSE(s.loop.slots.armed(core::LoopSlot::ConnWatch));
    EXPECT_FALSE(timers.bong);
    EXPECT_FALSE(timers.keepAlive);
    EXPECT_EQ(s.settlement.JuNum, 0);
    EXPECT_EQ(s.core.Wealth, (std::array<std::int32_t, 4>{}));
    EXPECT_FALSE(s.core.AutoMode);
    EXPECT_TRUE(s.table.BidButtonHover);
    for (const rules::HandRecord &hand : s.rules.HandRecords) {
        EXPECT_TRUE(hand.name.empty());
        EXPECT_EQ(hand.seatBit, 0);
    }
    // A seat record loses what the card shows and keeps the rest.
    EXPECT_TRUE(s.commands.custom[1].nickname.empty());
    EXPECT_EQ(s.commands.custom[1].wins, 0);
    EXPECT_EQ(s.commands.custom[1].accountName, "acc");

    EXPECT_TRUE(window.IsMinimised());
    EXPECT_EQ(form().seats.Nid(1).Caption(), QString());
    EXPECT_TRUE(form().messages.Chat->text().isEmpty());
    EXPECT_FALSE(form().bid.lbwealth.Visible());
    EXPECT_EQ(form().toolbar.AnNiu(2).Picture(), 154);
    processDeferred();
    EXPECT_FALSE(form().frmExitLoaded());
}

TEST_F(Leave, LeaveButtonWithTheSocketClosedSendsNothingAndStillReturns)
{
    socket.state = core::services::ServerSocket::sckClosed;
    paths.pbCloseMe_Click();
    EXPECT_EQ(calls(),
              (std::vector<std::string>{"socket.Close", "settlement.DeleteHandRecords",
                                        "hall.FindHall", "hall.RestoreHall"}));
}

TEST_F(Leave, StayButtonOnlyClosesTheDialog)
{
    form().ShowLeaveDialog();
    click(form().frmExit(), form().frmExit().pbCancel);
    processDeferred();
    EXPECT_FALSE(form().frmExitLoaded());
    EXPECT_TRUE(calls().empty());
    EXPECT_TRUE(table.state.rules.InGame);
}

TEST_F(Leave, NoticeOkResetsWithoutAWordToTheServer)
{
    OtherExitDialog &notice = window.otherExit();
    window.SetOtherExitText(QStringLiteral("网络已断开,请退出大厅重新登陆游戏"));
    window.ShowOtherExit();
    click(notice, notice.imgOK);
    EXPECT_EQ(calls(),
              (std::vector<std::string>{"socket.Close", "settlement.DeleteHandRecords",
                                        "hall.FindHall", "hall.RestoreHall"}));
    EXPECT_FALSE(notice.isVisible());
    EXPECT_TRUE(notice.Label1.Caption().isEmpty());
    EXPECT_TRUE(window.IsMinimised());
    EXPECT_FALSE(table.state.commands.ConnectionLostFlag);
}

TEST_F(Leave, NoticeCancelKeepsTheTableAndArmsTheReadyButtonsWayBack)
{
    OtherExitDialog &notice = window.otherExit();
    window.ShowOtherExit();
    click(notice, notice.imgCancel);
    EXPECT_TRUE(calls().empty());
    EXPECT_FALSE(notice.isVisible());
    EXPECT_TRUE(table.state.commands.ConnectionLostFlag);
    EXPECT_TRUE(table.state.rules.InGame);
}

TEST_F(Leave, WithoutAHallBothLeaveButtonsEndTheProgramAfterTheReset)
{
    hall.present = false;
    paths.pbCloseMe_Click();
    EXPECT_EQ(calls(),
              (std::vector<std::string>{"socket.SendData 16", "socket.Close",
                                        "settlement.DeleteHandRecords", "hall.FindHall",
                                        "process.End"}));
    EXPECT_EQ(process.ended, core::ExitCode::HallMissing);

    log.calls.clear();
    socket.state = core::services::ServerSocket::sckClosed;
    paths.imgOK_Click();
    EXPECT_EQ(calls(),
              (std::vector<std::string>{"socket.Close", "settlement.DeleteHandRecords",
                                        "hall.FindHall", "process.End"}));
}

// The leave frame's wait serves events: a second press of the leave button,
// the notice's OK and the hall's own leave request all arrive during it and
// do nothing; the running leave finishes in its own order.
TEST_F(Leave, ASecondLeaveDuringTheWaitDoesNothing)
{
    clock.step = 300; // the wait serves events at least once
    int attempts = 0;
    QTimer::singleShot(0, &form(), [&] {
        ++attempts;
        paths.pbCloseMe_Click();
        paths.imgOK_Click();
        const core::LeaveScope hallLeave(c);
        EXPECT_FALSE(hallLeave.entered());
    });
    paths.pbCloseMe_Click();
    EXPECT_EQ(attempts, 1);
    EXPECT_EQ(calls(),
              (std::vector<std::string>{"socket.SendData 16", "socket.Close",
                                        "settlement.DeleteHandRecords", "hall.FindHall",
                                        "hall.RestoreHall"}));
    // Once it is over, the next way out runs again.
    const core::LeaveScope after(c);
    EXPECT_TRUE(after.entered());
}

// A socket that keeps reporting itself connected after it was closed holds
// the reset for a bounded time only.
TEST_F(Leave, ResetWaitsABoundedTimeForASocketThatStaysConnected)
{
    socket.closeDisconnects = false;
    clock.step = 10;
    const std::int64_t before = clock.nowMs();
    core::ResetTable(c);
    const std::int64_t waited = clock.nowMs() - before;
    EXPECT_LE(waited, 2000);
    EXPECT_GE(waited, 1000);
    EXPECT_EQ(log.count("socket.Close"), 1);
    EXPECT_TRUE(table.state.rules.HandRecords[0].name.empty());
    // The reset's own part of the wealth display; the clearing after it puts
    // the next hand's start value there.
    EXPECT_EQ(form().bid.lbwealth.Caption(), QStringLiteral("0"));
    EXPECT_FALSE(form().bid.lbwealth.Visible());
}

TEST_F(Leave, ResetWithTheItemLibraryRunningShutsItDown)
{
    core::ResetTable(c);
    EXPECT_EQ(log.count("items.ExitGameDll 0"), 0);
    table.state.gamedllstate = 1;
    core::ResetTable(c);
    EXPECT_EQ(log.count("items.ExitGameDll 0"), 1);
}

struct WarningCase
{
    bool inGame;
    bool spectator;
    bool shown;
};

TEST(LeaveDialog, WarningLineOnlyDuringAHandAndNeverForASpectator)
{
    const WarningCase cases[] = {
            {true, false, true}, {true, true, false}, {false, false, false}, {false, true, false}};
    for (const WarningCase &c : cases) {
        ExitDialog dialog(platform::GetVersionEx(), c.inGame, c.spectator);
        EXPECT_EQ(dialog.Label2.Visible(), c.shown) << c.inGame << c.spectator;
        EXPECT_EQ(dialog.Label1.Caption(), QStringLiteral("您真的要退出吗？"));
        EXPECT_EQ(dialog.size(), QSize(320, 180));
        // The buttons take the size of their pictures.
        EXPECT_EQ(dialog.pbCloseMe.Width(), 70);
        EXPECT_EQ(dialog.pbCloseMe.Height(), 29);
    }
}

struct VersionCase
{
    platform::SystemVersion version;
    bool translucent;
};

TEST(LeaveDialog, TranslucentOnTheNtFamilyAtVersionsFiveAndSixOnly)
{
    const VersionCase cases[] = {{{2, 5}, true},   {{2, 6}, true},  {{2, 4}, false},
                                 {{2, 10}, false}, {{1, 5}, false}, {{0, 6}, false}};
    for (const VersionCase &c : cases) {
        ExitDialog leave(c.version, false, false);
        OtherExitDialog notice(c.version);
        EXPECT_EQ(leave.isTranslucent(), c.translucent) << c.version.majorVersion;
        EXPECT_EQ(notice.isTranslucent(), c.translucent) << c.version.majorVersion;
        EXPECT_DOUBLE_EQ(notice.windowOpacity(), c.translucent ? 200 / 255.0 : 1.0);
    }
}

} // namespace
} // namespace tessaroc::table::test
