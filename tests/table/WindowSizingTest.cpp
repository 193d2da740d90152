#include "TableFixture.h"

#include "table/SkinFrame.h"
#include "table/WindowSizing.h"

namespace tessaroc::table {

// Rectangles print readably when a comparison fails.
void PrintTo(const TwipsRect &r, std::ostream *os)
{
    *os << "(" << r.Left << ", " << r.Top << ", " << r.Width << " x " << r.Height << ")";
}

} // namespace tessaroc::table

namespace tessaroc::table::test {

namespace {

struct ScreenCase
{
    const char *name;
    int width, height; // pixels
    TwipsRect window;
    TwipsRect pic1;
    bool reduced;
    std::vector<TwipsRect> framePaints;
};

void PrintTo(const ScreenCase &c, std::ostream *os)
{
    *os << c.name;
}

class WindowSizingTest : public ::testing::TestWithParam<ScreenCase>
{
};

std::string screenName(const ::testing::TestParamInfo<ScreenCase> &param)
{
    std::string name = param.param.name;
    std::replace(name.begin(), name.end(), 'x', '_');
    return "Screen" + name;
}

} // namespace

TEST_P(WindowSizingTest, WindowTableAreaScaleAndFramePaints)
{
    const ScreenCase &c = GetParam();
    const WindowSizing s = SizeWindowToScreen(c.width * 15.0, c.height * 15.0);
    EXPECT_EQ(s.window, c.window);
    EXPECT_EQ(s.Pic1, c.pic1);
    EXPECT_EQ(s.scale.isReduced(), c.reduced);
    EXPECT_EQ(s.scale.ScaleX, c.reduced ? 0.78125f : 1.0f);
    EXPECT_EQ(s.scale.ScaleY, c.reduced ? 0.78125f : 1.0f);
    ASSERT_EQ(s.framePaintCount, static_cast<int>(c.framePaints.size()));
    for (std::size_t i = 0; i < c.framePaints.size(); ++i)
        EXPECT_EQ(s.framePaints[i], c.framePaints[i]) << "painting " << i;
}

// The table window on the window and the table area of the form it fits:
// whole pixels from the twips.
TEST_P(WindowSizingTest, TheWindowTakesTheSizing)
{
    const ScreenCase &c = GetParam();
    Table t(c.width, c.height, Table::Stage::SeatLayout);
    MainForm &f = t.form();
    EXPECT_EQ(f.Width(), c.window.Width);
    EXPECT_EQ(f.Height(), c.window.Height);
    EXPECT_EQ(f.geometry(),
              QRect(0, 0, static_cast<int>(c.window.Width / 15),
                    static_cast<int>(c.window.Height / 15)));
    EXPECT_EQ((TwipsRect{f.area.Pic1.Left(), f.area.Pic1.Top(), f.area.Pic1.Width(),
                         f.area.Pic1.Height()}),
              c.pic1);
    EXPECT_EQ(f.area.Pic1->geometry(),
              QRect(static_cast<int>(c.pic1.Left / 15), static_cast<int>(c.pic1.Top / 15),
                    static_cast<int>(c.pic1.Width / 15), static_cast<int>(c.pic1.Height / 15)));
    EXPECT_EQ(t.state.table.scale.isReduced(), c.reduced);
    EXPECT_EQ(f.frameCanvas().isNull(), c.framePaints.empty());
    // The reduced table shows the small table picture; the bottom bar stands
    // at the bottom of the table area in both.
    EXPECT_EQ(f.area.Pic1->picture().width(), c.reduced ? 800 : 1024);
    const double scaleY = c.reduced ? 0.78125 : 1.0;
    EXPECT_DOUBLE_EQ(f.area.imgDilan.Top(), c.pic1.Height / 15 - 117 * scaleY + 2 * scaleY);
    EXPECT_EQ(f.area.imgDilan.Width(), c.reduced ? 800 : 1024);
}

INSTANTIATE_TEST_SUITE_P(
        Screens, WindowSizingTest,
        ::testing::Values(
                // The table's own size: full screen, no frame.
                ScreenCase{"1024x768",
                           1024,
                           768,
                           {0, 0, 15360, 11520},
                           {0, 0, 15360, 11520},
                           false,
                           {}},
                // Larger both ways: framed twice, the second time at the final
                // size.
                ScreenCase{"1280x1024",
                           1280,
                           1024,
                           {0, 0, 15600, 11940},
                           {120, 300, 15360, 11520},
                           false,
                           {{0, 0, 15360, 11940}, {0, 0, 15600, 11940}}},
                ScreenCase{
                        "1024x600", 1024, 600, {0, 0, 15360, 9000}, {0, 0, 15360, 9000}, true, {}},
                // Wider only: the frame's sides show, the table area covers the
                // caption band; the height below 768 reduces the scale.
                ScreenCase{"1280x720",
                           1280,
                           720,
                           {0, 0, 15600, 10800},
                           {120, 0, 15360, 10800},
                           true,
                           {{0, 0, 15600, 10800}}},
                // Taller only: painted at the design width, then narrowed to
                // the screen without painting again.
                ScreenCase{"1024x900",
                           1024,
                           900,
                           {0, 0, 15360, 11940},
                           {0, 300, 15360, 11520},
                           false,
                           {{0, 0, 15360, 11940}}},
                ScreenCase{"800x600", 800, 600, {0, 0, 12000, 9000}, {0, 0, 12000, 9000}, true, {}},
                ScreenCase{"1025x769",
                           1025,
                           769,
                           {0, 0, 15600, 11940},
                           {120, 300, 15360, 11520},
                           false,
                           {{0, 0, 15360, 11940}, {0, 0, 15600, 11940}}}),
        screenName);

TEST(WindowSizing, ScreenSizesAreTakenInWholePixelsForTheFrameButNotForTheScale)
{
    // 15374 twips is 1024.9 pixels: not wider than 1024 (no frame), and at
    // least 1024 for the scale.
    const WindowSizing s = SizeWindowToScreen(15374, 11520);
    EXPECT_EQ(s.window.Width, 15374);
    EXPECT_EQ(s.framePaintCount, 0);
    EXPECT_FALSE(s.scale.isReduced());
    // 11519 twips is just under 768 pixels: the scale is reduced.
    EXPECT_TRUE(SizeWindowToScreen(15360, 11519).scale.isReduced());
    // A screen that reports no size gives an empty window, not a negative one.
    const WindowSizing none = SizeWindowToScreen(-15, -15);
    EXPECT_EQ(none.window, (TwipsRect{0, 0, 0, 0}));
    EXPECT_TRUE(none.scale.isReduced());
}

TEST(SkinFramePieces, CornersAreCopiedAndEdgesStretched)
{
    const auto pieces = SkinFramePieces(15600, 11940);
    const SkinPiece expected[] = {
            {{0, 0, 120, 300}, {0, 0, 120, 300}},
            {{120, 0, 15360, 300}, {120, 0, 120, 300}},
            {{15480, 0, 120, 300}, {570, 0, 120, 300}},
            {{0, 300, 120, 11520}, {0, 300, 120, 2880}},
            {{15480, 300, 120, 11520}, {570, 300, 120, 2880}},
            {{0, 11820, 120, 120}, {0, 3180, 120, 120}},
            {{120, 11820, 15360, 120}, {120, 3180, 120, 120}},
            {{15480, 11820, 120, 120}, {570, 3180, 120, 120}},
    };
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        EXPECT_EQ(pieces[i].destination, expected[i].destination) << "piece " << i;
        EXPECT_EQ(pieces[i].source, expected[i].source) << "piece " << i;
        // Every source lies inside the 690 x 3300 twips template.
        EXPECT_LE(pieces[i].source.Left + pieces[i].source.Width, 690);
        EXPECT_LE(pieces[i].source.Top + pieces[i].source.Height, 3300);
    }
}

} // namespace tessaroc::table::test
