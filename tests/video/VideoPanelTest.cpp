#include "video/VideoPanel.h"
#include "support/LayoutScale.h"

#include <gtest/gtest.h>

namespace tessaroc::test {
namespace {

using video::VideoPanel;
using Size = VideoPanel::PanelSize;

// A panel beside a table window of 15360 x 11520 twips at the screen origin,
// recording its redraw requests and its unload.
struct PanelRig
{
    explicit PanelRig(int number, support::LayoutScale scale = {})
        : panel(number, scale, hooks())
    { }
    VideoPanel::Hooks hooks()
    {
        VideoPanel::Hooks h;
        h.tableWindow = [this] {
            return table;
        };
        h.zoom = [this](int n) {
            zooms.push_back(n);
        };
        h.unload = [this](int n) {
            unloads.push_back(n);
        };
        return h;
    }
    QRectF table{0, 0, 15360, 11520};
    std::vector<int> zooms;
    std::vector<int> unloads;
    VideoPanel panel;
};

QPointF placeOf(const VideoPanel &p)
{
    return {p.window().Left, p.window().Top};
}

TEST(VideoPanel, LoadsHiddenTopMostAtTheOriginAtNormalSize)
{
    PanelRig rig(0);
    const VideoPanel &p = rig.panel;
    EXPECT_FALSE(p.isVisible());
    EXPECT_TRUE(p.TopMost());
    EXPECT_EQ(p.panelSize(), Size::Normal);
    EXPECT_EQ(p.window(), (VideoPanel::Rect{0, 0, 4140, 3225}));
    EXPECT_EQ(p.view(), (VideoPanel::Rect{150, 240, 3840, 2880}));
    EXPECT_EQ(p.ImgCmd()[0].Left, 3765);
    EXPECT_EQ(p.ImgCmd()[1].Left, 3427.5);
    EXPECT_EQ(p.ImgCmd()[2].Left, 3090);
    EXPECT_EQ(p.BackPicOffset(), 0);
    EXPECT_EQ(p.BackgroundRequested(), 871);
    EXPECT_TRUE(rig.zooms.empty());
}

// Where every panel stands after a size change, beside the table window of
// the worked example.
TEST(VideoPanel, EachSizeStandsAtItsPlaceBesideTheTable)
{
    struct Case
    {
        int panel;
        std::vector<int> clicks;
        Size size;
        QPointF place;
    };
    const Case cases[] = {
            {0, {2, 1}, Size::Normal, {2538, 6451.5}}, {1, {2, 1}, Size::Normal, {2538, 1843.5}},
            {3, {2, 1}, Size::Normal, {2538, 1843.5}}, {2, {2, 1}, Size::Normal, {8682, 1843.5}},
            {0, {2}, Size::Small, {3295.5, 7029}},     {1, {2}, Size::Small, {3295.5, 2421}},
            {2, {2}, Size::Small, {9439.5, 2421}},     {0, {1}, Size::Large, {768, 5598.6}},
            {3, {1}, Size::Large, {768, 806.4}},       {2, {1}, Size::Large, {8082, 806.4}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.panel);
        PanelRig rig(c.panel);
        for (int click : c.clicks)
            rig.panel.ImgCmd_Click(click);
        EXPECT_EQ(rig.panel.panelSize(), c.size);
        EXPECT_NEAR(placeOf(rig.panel).x(), c.place.x(), 1e-6);
        EXPECT_NEAR(placeOf(rig.panel).y(), c.place.y(), 1e-6);
        EXPECT_EQ(rig.zooms, std::vector<int>(c.clicks.size(), c.panel));
    }
}

TEST(VideoPanel, SizesStepThroughNormalAndStopAtTheEnds)
{
    PanelRig rig(1);
    VideoPanel &p = rig.panel;
    p.ImgCmd_Click(1);
    EXPECT_EQ(p.panelSize(), Size::Large);
    EXPECT_EQ(p.BackgroundRequested(), 872);
    EXPECT_EQ(p.view(), (VideoPanel::Rect{240, 480, 6000, 4500}));
    EXPECT_NEAR(p.ImgCmd()[0].Left, 6022.5, 1e-9);
    EXPECT_NEAR(p.ImgCmd()[2].Width, 337.5, 1e-9);
    const QPointF large = placeOf(p);
    p.ImgCmd_Click(1);
    for (int nothing : {3, -1})
        p.ImgCmd_Click(nothing);
    EXPECT_EQ(placeOf(p), large);
    EXPECT_EQ(rig.zooms.size(), 1u) << "no step beyond large, no other command";

    p.ImgCmd_Click(2);
    p.ImgCmd_Click(2);
    EXPECT_EQ(p.panelSize(), Size::Small);
    EXPECT_NEAR(p.ImgCmd()[1].Left, 2185, 1e-9);
    p.ImgCmd_Click(2);
    EXPECT_EQ(rig.zooms.size(), 3u);
    p.ImgCmd_Click(1);
    EXPECT_EQ(p.panelSize(), Size::Normal);
    EXPECT_EQ(p.BackgroundRequested(), 871);
    EXPECT_EQ(p.ImgCmd()[0].Left, 3750);
    EXPECT_EQ(p.ImgCmd()[0].Top, 0);
    EXPECT_NEAR(p.ImgCmd()[0].Width, 225, 1e-9);
    EXPECT_NEAR(p.ImgCmd()[0].Height, 240, 1e-9);
    EXPECT_EQ(p.ImgCmd()[1].Left, 3380);
    EXPECT_EQ(p.ImgCmd()[2].Left, 3000);
}

// At the reduced scale the panel widths are no whole twips; the panel knows
// its size all the same, so both steps work.
TEST(VideoPanel, EnlargeAndShrinkWorkAtTheReducedScale)
{
    PanelRig rig(0, support::LayoutScale::reduced());
    VideoPanel &p = rig.panel;
    EXPECT_EQ(p.BackPicOffset(), 3);
    EXPECT_DOUBLE_EQ(p.window().Width, 4140 * 0.78125);
    p.ImgCmd_Click(1);
    EXPECT_EQ(p.panelSize(), Size::Large);
    EXPECT_EQ(p.BackgroundRequested(), 875);
    p.ImgCmd_Click(2);
    p.ImgCmd_Click(2);
    EXPECT_EQ(p.panelSize(), Size::Small);
    EXPECT_DOUBLE_EQ(p.window().Width, 2625 * 0.78125);
    p.ImgCmd_Click(1);
    EXPECT_EQ(p.panelSize(), Size::Normal);
    EXPECT_EQ(rig.zooms.size(), 4u);
}

TEST(VideoPanel, OnlyTheLeftButtonDragsAndTheCloseImageUnloads)
{
    PanelRig rig(2);
    rig.panel.Form_MouseDown(2, 0, 10, 10);
    rig.panel.Form_MouseDown(4, 0, 10, 10);
    EXPECT_EQ(rig.panel.dragsStarted(), 0);
    rig.panel.Form_MouseDown(1, 1, 10, 10);
    rig.panel.Form_MouseDown(1, 2, 10, 10);
    EXPECT_EQ(rig.panel.dragsStarted(), 2);
    rig.panel.ImgCmd_Click(0);
    EXPECT_EQ(rig.unloads, std::vector<int>{2});
    EXPECT_TRUE(rig.zooms.empty());
}

TEST(VideoPanel, TheOwnLargePanelKeepsItsTopWhenTheTableMoved)
{
    PanelRig own(0);
    PanelRig mate(1);
    own.table = mate.table = QRectF(300, 1500, 15360, 11520);
    own.panel.ImgCmd_Click(1);
    mate.panel.ImgCmd_Click(1);
    EXPECT_NEAR(own.panel.window().Top, 5598.6, 1e-6);
    EXPECT_NEAR(mate.panel.window().Top, 1500 + 806.4, 1e-6);
    EXPECT_NEAR(own.panel.window().Left, 300 + 768, 1e-6);
}

} // namespace
} // namespace tessaroc::test
