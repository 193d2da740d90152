#include "TableFixture.h"

#include "table/TableWindowService.h"

namespace tessaroc::table::test {
namespace {

// What the client core's calls do to the real table window.
class CoreWindow : public ::testing::Test
{
protected:
    Table table{kFullScreen[0], kFullScreen[1]};
    TableWindowService window{table.form(), table.state};
    MainForm &form() { return table.form(); }
};

TEST_F(CoreWindow, SmallScreenShowsTheReducedTaskIconAndItStaysHidden)
{
    window.PrepareStartUp();
    window.FitToScreen(1024 * 15, 600 * 15);
    EXPECT_TRUE(table.state.table.scale.isReduced());
    EXPECT_EQ(form().area.imgRenWu.Picture(), 199);
    EXPECT_FALSE(form().area.imgRenWu.Visible());
    EXPECT_FALSE(form().area.imgRenWu.Enabled());
    window.FitToScreen(1280 * 15, 1024 * 15);
    EXPECT_FALSE(table.state.table.scale.isReduced());
}

TEST_F(CoreWindow, SystemLineIsReplacedNotScrolled)
{
    window.SetSystemLine(0, QStringLiteral("one"));
    window.SetSystemLine(0, QStringLiteral("two"));
    QListWidget *line = form().messages.Sysmsg(0).operator->();
    ASSERT_EQ(line->count(), 1);
    EXPECT_EQ(line->item(0)->text(), QStringLiteral("two"));
    window.SetSystemLine(0, {});
    EXPECT_EQ(line->count(), 0);
    window.SetSystemLine(2, QStringLiteral("no such line")); // ignored
}

TEST_F(CoreWindow, ClockSecondsAndTheTimeOutsControls)
{
    window.ShowClockSeconds(5, true);
    EXPECT_EQ(form().turn.Number.Caption(), QStringLiteral("5"));
    EXPECT_EQ(form().turn.Number.ForeColor(), QColor(255, 0, 0));
    window.ShowClockSeconds(6, false);
    EXPECT_EQ(form().turn.Number.ForeColor(), QColor(0, 0, 0));

    form().turn.Time_Img.setVisible(true);
    form().turn.Number.setVisible(true);
    window.HideTurnClock();
    EXPECT_FALSE(form().turn.Time_Img.Visible());
    EXPECT_FALSE(form().turn.Number.Visible());

    window.HideBidButtons();
    for (int i = 0; i <= 3; ++i) {
        if (const forms::Image *button = form().bid.btnJiaofen.find(i)) {
            EXPECT_FALSE(button->Visible()) << i;
            EXPECT_FALSE(button->Enabled()) << i;
        }
    }
}

TEST_F(CoreWindow, MinimiseIsSeenByTheClocks)
{
    EXPECT_FALSE(window.IsMinimised());
    window.Minimise();
    EXPECT_TRUE(window.IsMinimised());
}

// The hand start asks whether the table is in its normal state: neither
// minimised nor maximised; restoring brings it back from either.
TEST_F(CoreWindow, NormalIsNeitherMinimisedNorMaximised)
{
    EXPECT_TRUE(window.IsNormal());
    for (const int state : {MainForm::Minimized, MainForm::Maximized}) {
        form().setWindowStateCode(state);
        EXPECT_FALSE(window.IsNormal()) << state;
        window.RestoreAndFocus();
        EXPECT_TRUE(window.IsNormal()) << state;
    }
}

} // namespace
} // namespace tessaroc::table::test
