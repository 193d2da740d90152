#include "TableFixture.h"

#include "table/TableWindowService.h"
#include "table/WebPanels.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <string>
#include <vector>

namespace tessaroc::table::test {
namespace {

// The events of one panel, in order: E a navigation error, D a document
// complete.
struct PanelCase
{
    const char *name;
    int panel; // 1 the panel in the ad frame, 2 the seat shuffle's
    const char *events;
    bool visible;
    bool failed;
};

const PanelCase kPanelCases[] = {
        {"FirstPanelShowsOnItsDocument", 1, "D", true, false},
        {"FirstPanelHidesOnAnError", 1, "E", false, true},
        {"FirstPanelStaysHiddenAfterAnError", 1, "ED", false, true},
        {"FirstPanelFailureOutlivesLaterPages", 1, "DEDD", false, true},
        {"SecondPanelShowsOnItsDocument", 2, "D", true, false},
        {"SecondPanelHidesOnAnError", 2, "DE", false, true},
        {"SecondPanelStaysHiddenAfterAnError", 2, "EDD", false, true},
};

class AdPanels : public ::testing::TestWithParam<std::tuple<PanelCase, bool>>
{
};

TEST_P(AdPanels, FailureMarksAreForGood)
{
    const auto &[c, reduced] = GetParam();
    Table t(reduced ? kSmallScreen[0] : kFullScreen[0], reduced ? kSmallScreen[1] : kFullScreen[1]);
    MainForm &f = t.form();
    WebPanels &panels = f.webPanels();
    auto &panel = c.panel == 1 ? f.area.WebBrowser1 : f.area.WebBrowser2;
    // Placed somewhere else first, as a starter may have placed it.
    panel.Move(10, 20);
    for (const char *e = c.events; *e; ++e) {
        const bool error = *e == 'E';
        if (c.panel == 1)
            error ? panels.WebBrowser1_NavigateError({}, 404)
                  : panels.WebBrowser1_DocumentComplete({});
        else
            error ? panels.WebBrowser2_NavigateError({}, 404)
                  : panels.WebBrowser2_DocumentComplete({});
    }
    EXPECT_EQ(panel.Visible(), c.visible);
    EXPECT_EQ(c.panel == 1 ? t.state.table.AdPanel1Failed : t.state.table.AdPanel2Failed, c.failed);
    if (c.panel == 1 && c.visible) {
        // In the ad frame, 2 unscaled pixels inside it.
        EXPECT_DOUBLE_EQ(panel.Left(), f.area.Bird.Left() + 2);
        EXPECT_DOUBLE_EQ(panel.Top(), f.area.Bird.Top() + 2);
    } else if (c.panel == 2) {
        EXPECT_DOUBLE_EQ(panel.Left(), 10) << "the second panel stays where its starter put it";
        EXPECT_DOUBLE_EQ(panel.Top(), 20);
    }
}

INSTANTIATE_TEST_SUITE_P(Events, AdPanels,
                         ::testing::Combine(::testing::ValuesIn(kPanelCases), ::testing::Bool()),
                         [](const auto &param) {
                             return std::string(std::get<0>(param.param).name)
                                     + (std::get<1>(param.param) ? "Reduced" : "Full");
                         });

// An address that is no web page (a local file here) is refused: the panel
// the table showed for it is hidden again and stays so, as after any
// navigation error.
TEST(AdPanels, ARefusedAddressHidesThePanelForGood)
{
    for (const int which : {1, 2}) {
        SCOPED_TRACE(which);
        Table t(kFullScreen[0], kFullScreen[1]);
        TableWindowService window(t.form(), t.state);
        const QString address = QStringLiteral("file:///etc/hostname");
        which == 1 ? window.ShowWebPanel(address) : window.ShowSeatShuffle(QString(), address);
        bool &failed = which == 1 ? t.state.table.AdPanel1Failed : t.state.table.AdPanel2Failed;
        QDeadlineTimer deadline(5000);
        while (!failed && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        EXPECT_TRUE(failed);
        EXPECT_FALSE(
                (which == 1 ? t.form().area.WebBrowser1 : t.form().area.WebBrowser2).Visible());
    }
}

TEST(ShuffleCaption, CyclesTwoToFiveDotsFromTheStartersCaption)
{
    Table t(kFullScreen[0], kFullScreen[1]);
    MainForm &f = t.form();
    core::ShuffleState &shuffle = t.state.loop.shuffle;
    shuffle.ShuffleCaptions = {"正在随机换座中..", "正在随机换座中...", "正在随机换座中....",
                               "正在随机换座中....."};
    // The starter shows the first caption and starts the timer at index 0.
    f.effects.LblShuffle.setCaption(QString::fromStdString(shuffle.ShuffleCaptions[0]));
    shuffle.ShuffleIndex = 0;
    std::vector<int> dots{static_cast<int>(f.effects.LblShuffle.Caption().count(u'.'))};
    for (int tick = 0; tick < 6; ++tick) {
        f.webPanels().TimerShuffle_Timer();
        dots.push_back(static_cast<int>(f.effects.LblShuffle.Caption().count(u'.')));
    }
    EXPECT_EQ(dots, (std::vector<int>{2, 2, 3, 4, 5, 2, 3}));
}

TEST(ShuffleCaption, AnIndexOutOfRangeStartsAgainAtTwoDots)
{
    Table t(kFullScreen[0], kFullScreen[1]);
    core::ShuffleState &shuffle = t.state.loop.shuffle;
    shuffle.ShuffleCaptions = {"a..", "a...", "a....", "a....."};
    shuffle.ShuffleIndex = 9;
    t.form().webPanels().TimerShuffle_Timer();
    EXPECT_EQ(t.form().effects.LblShuffle.Caption(), QStringLiteral("a.."));
    EXPECT_EQ(shuffle.ShuffleIndex, 1);
}

} // namespace
} // namespace tessaroc::table::test
