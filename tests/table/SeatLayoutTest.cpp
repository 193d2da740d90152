#include "LayoutExpect.h"

namespace tessaroc::table::test {

namespace {

class SeatLayoutTest : public BothScales
{
};

#define EL(expr)                                                                                   \
    [](MainForm &f) {                                                                              \
        return placed(f.expr);                                                                     \
    }

} // namespace

// Every seat element, the toolbar and the other elements of the seat layout,
// in design pixels; the own avatar is larger than the other three, the video
// frames keep their unscaled Top of 3 and the left frame its Left of 0, and
// labels and marks keep their design or picture size.
TEST_P(SeatLayoutTest, PlacesTheSeatsToolbarAndRoomStrip)
{
    Table t(screen()[0], screen()[1], Table::Stage::SeatLayout);
    const forms::LayoutScale s = t.state.table.scale;
    const bool r = reduced();
    const std::vector<LayoutRow> rows = {
            {"Tou(0)", EL(seats.Tou(0)), {10}, {668}, {85}, {90}, true},
            {"Tou(1)", EL(seats.Tou(1)), {7}, {15}, {70}, {62}, true},
            {"Tou(2)", EL(seats.Tou(2)), {350}, {15}, {70}, {62}, true},
            {"Tou(3)", EL(seats.Tou(3)), {693}, {15}, {70}, {62}, true},
            {"Nid(0)", EL(seats.Nid(0)), {181}, {701}, unscaled(161), unscaled(25), true},
            {"Nid(1)", EL(seats.Nid(1)), {165}, {15}, unscaled(161), unscaled(25), true},
            {"Nid(2)", EL(seats.Nid(2)), {509}, {15}, unscaled(161), unscaled(25), true},
            {"Nid(3)", EL(seats.Nid(3)), {852}, {15}, unscaled(161), unscaled(25), true},
            {"Cash(0)", EL(seats.Cash(0)), {181}, {725}, unscaled(161), unscaled(17), true},
            {"Cash(1)", EL(seats.Cash(1)), {165}, {40}, unscaled(161), unscaled(17), true},
            {"Cash(2)", EL(seats.Cash(2)), {509}, {40}, unscaled(161), unscaled(17), true},
            {"Cash(3)", EL(seats.Cash(3)), {852}, {40}, unscaled(161), unscaled(17), true},
            {"Level(0)", EL(seats.Level(0)), {181}, {745}, unscaled(161), unscaled(17), true},
            {"Level(1)", EL(seats.Level(1)), {165}, {64}, unscaled(161), unscaled(17), true},
            {"Level(2)", EL(seats.Level(2)), {509}, {64}, unscaled(161), unscaled(17), true},
            {"Level(3)", EL(seats.Level(3)), {852}, {64}, unscaled(161), unscaled(17), true},
            {"OK(0)", EL(seats.OK(0)), {460}, {630}, unscaled(70), unscaled(29), false},
            {"OK(1)", EL(seats.OK(1)), {60}, {280}, unscaled(70), unscaled(29), false},
            {"OK(2)", EL(seats.OK(2)), {460}, {115}, unscaled(70), unscaled(29), false},
            {"OK(3)", EL(seats.OK(3)), {900}, {280}, unscaled(70), unscaled(29), false},
            {"first(0)", EL(seats.first(0)), {460}, {630}, unscaled(70), unscaled(29), false},
            {"first(1)", EL(seats.first(1)), {60}, {280}, unscaled(70), unscaled(29), false},
            {"first(2)", EL(seats.first(2)), {460}, {88}, unscaled(70), unscaled(29), false},
            {"first(3)", EL(seats.first(3)), {900}, {280}, unscaled(70), unscaled(29), false},
            {"ImgKuang(1)", EL(seats.ImgKuang(1)), unscaled(0), unscaled(3), {126}, {105}, false},
            {"ImgKuang(2)", EL(seats.ImgKuang(2)), {342}, unscaled(3), {126}, {105}, false},
            {"ImgKuang(3)", EL(seats.ImgKuang(3)), {685}, unscaled(3), {126}, {105}, false},
            {"PicLocal(0)", EL(seats.PicLocal(0)), {9}, {742}, {87}, {17}, false},
            {"PicLocal(1)", EL(seats.PicLocal(1)), {126}, {88}, {145}, {17}, false},
            {"PicLocal(2)", EL(seats.PicLocal(2)), {468}, {88}, {145}, {17}, false},
            {"PicLocal(3)", EL(seats.PicLocal(3)), {811}, {88}, {145}, {17}, false},
            {"ImgShow(1)", EL(seats.ImgShow(1)), {32}, {80}, {16}, {14}, false},
            {"ImgShow(2)", EL(seats.ImgShow(2)), {390}, {80}, {16}, {14}, false},
            {"ImgShow(3)", EL(seats.ImgShow(3)), {720}, {80}, {16}, {14}, false},
            {"AnNiu(0)", EL(toolbar.AnNiu(0)), {575}, {730}, {50}, {30}, true},
            {"AnNiu(1)", EL(toolbar.AnNiu(1)), {648}, {700}, {60}, {30}, true},
            {"AnNiu(2)", EL(toolbar.AnNiu(2)), {718}, {700}, {60}, {30}, true},
            {"AnNiu(3)", EL(toolbar.AnNiu(3)), {788}, {700}, {60}, {30}, true},
            {"AnNiu(4)", EL(toolbar.AnNiu(4)), {858}, {700}, {60}, {30}, true},
            {"AnNiu(5)", EL(toolbar.AnNiu(5)), {648}, {733}, {60}, {30}, true},
            {"AnNiu(6)", EL(toolbar.AnNiu(6)), {718}, {733}, {60}, {30}, true},
            {"AnNiu(7)", EL(toolbar.AnNiu(7)), {788}, {733}, {60}, {30}, true},
            {"AnNiu(8)", EL(toolbar.AnNiu(8)), {858}, {733}, {60}, {30}, true},
            {"Location", EL(area.Location), {760}, {668}, unscaled(161), unscaled(25), true},
            {"imgword1", EL(area.imgword1), {640}, {662}, {57}, {13}, true},
            {"imgword2", EL(area.imgword2), {640}, {676}, {57}, {13}, true},
            {"imgLocation", EL(area.imgLocation), {632}, {656}, {394}, {39}, true},
            {"Time_Img", EL(turn.Time_Img), {875}, {550}, unscaled(57), unscaled(41), false},
            {"Bank",
             EL(toolbar.Bank),
             {698},
             {662},
             r ? Value{55} : unscaled(55),
             r ? Value{31} : unscaled(31),
             true},
    };
    expectRows(t.form(), rows, s);

    // The clock's seconds sit 26 design pixels right of and below its corner,
    // 31 on the reduced table.
    MainForm &f = t.form();
    const double offset = r ? 31 : 26;
    EXPECT_DOUBLE_EQ(f.turn.Number.Left(), f.turn.Time_Img.Left() + expected({offset}, s.ScaleX));
    EXPECT_DOUBLE_EQ(f.turn.Number.Top(), f.turn.Time_Img.Top() + expected({offset}, s.ScaleY));
    EXPECT_FALSE(f.turn.Number.Visible());
    EXPECT_DOUBLE_EQ(f.area.imgRenWu.Width(), expected({60}, s.ScaleX));
    EXPECT_DOUBLE_EQ(f.area.imgRenWu.Height(), expected({30}, s.ScaleY));
    EXPECT_FALSE(f.area.imgRenWu.Stretch());
    EXPECT_EQ(f.hands.imgFaPai8.Stretch(), r);
    EXPECT_TRUE(f.area.imgLocation.Stretch());
}

TEST_P(SeatLayoutTest, VideoViewsAreInsetInTheirFrames)
{
    Table t(screen()[0], screen()[1], Table::Stage::SeatLayout);
    MainForm &f = t.form();
    for (int p = 1; p <= 3; ++p) {
        SCOPED_TRACE(p);
        EXPECT_TRUE(f.seats.vshow(p)->Option1);
        EXPECT_FALSE(f.seats.vshow(p).Visible());
        EXPECT_DOUBLE_EQ(f.seats.vshow(p).Width(), reduced() ? 90.625 : 116);
        EXPECT_DOUBLE_EQ(f.seats.vshow(p).Height(), reduced() ? 74.21875 : 95);
    }
    if (!reduced()) {
        EXPECT_EQ(QPointF(f.seats.vshow(1).Left(), f.seats.vshow(1).Top()), QPointF(5, 8));
        EXPECT_EQ(QPointF(f.seats.vshow(2).Left(), f.seats.vshow(2).Top()), QPointF(347, 8));
        EXPECT_EQ(QPointF(f.seats.vshow(3).Left(), f.seats.vshow(3).Top()), QPointF(690, 8));
    }
}

// The video panel buttons keep their design places inside the strips, and
// shrink with them on the reduced table; all take the first one's pointer.
TEST_P(SeatLayoutTest, VideoPanelButtons)
{
    Table t(screen()[0], screen()[1], Table::Stage::SeatLayout);
    MainForm &f = t.form();
    const double scale = reduced() ? 0.78125 : 1.0;
    const double ownLefts[] = {50.0 / 15, 24, 680.0 / 15, 64};
    const double otherLefts[] = {8, 40, 72, 104};
    for (int i = 0; i <= 15; ++i) {
        SCOPED_TRACE(i);
        const forms::Image &button = f.seats.ImCmd(i);
        const double left = i < 4 ? ownLefts[i] : otherLefts[i % 4];
        EXPECT_NEAR(button.Left(), left * scale, 1e-4);
        EXPECT_EQ(button.Top(), 0);
        EXPECT_DOUBLE_EQ(button.Width(), 16 * scale);
        EXPECT_DOUBLE_EQ(button.Height(), 14 * scale);
        EXPECT_EQ(button.Stretch(), reduced());
        EXPECT_EQ(button.container(), &f.seats.PicLocal(i / 4).widget());
        EXPECT_EQ(button.mousePointer(), forms::MousePointer::Custom);
    }
    const char16_t *const tips[] = {u"屏蔽", u"放大", u"照相", u"加为好友"};
    for (int i = 4; i <= 15; ++i)
        EXPECT_EQ(f.seats.ImCmd(i).ToolTipText(), QString::fromUtf16(tips[i % 4]));
}

TEST_P(SeatLayoutTest, ToolbarPicturesAndState)
{
    Table t(screen()[0], screen()[1], Table::Stage::SeatLayout);
    MainForm &f = t.form();
    const int full[] = {150, 152, 154, 158, 160, 162, 164, 166, 168};
    const int small[] = {150, 283, 285, 289, 291, 293, 295, 297, 299};
    for (int i = 0; i <= 8; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(f.toolbar.AnNiu(i).Picture(), reduced() ? small[i] : full[i]);
        EXPECT_TRUE(f.toolbar.AnNiu(i).Stretch());
        EXPECT_EQ(t.state.core.ButtonDown[static_cast<std::size_t>(i)], i == 2);
        EXPECT_FALSE(t.state.table.ButtonFlag[static_cast<std::size_t>(i)]);
    }
    EXPECT_FALSE(t.state.core.LeaveAfterSettlement);
    EXPECT_EQ(t.state.core.ResultPhase, 0);
    EXPECT_EQ(f.toolbar.Bank.Picture(), 600);
    EXPECT_EQ(f.toolbar.Bank.ToolTipText(), QStringLiteral("单击打开您的道具仓库"));
}

// On the reduced table only the coins of the other seats and every level
// change font; the names and the own coins keep the design font.
TEST_P(SeatLayoutTest, SeatLabelFonts)
{
    Table t(screen()[0], screen()[1], Table::Stage::SeatLayout);
    MainForm &f = t.form();
    const double design = f.area.Pic1->font().pointSizeF();
    for (int p = 0; p <= 3; ++p) {
        SCOPED_TRACE(p);
        EXPECT_DOUBLE_EQ(f.seats.Nid(p).Font().pointSizeF(), design);
        EXPECT_DOUBLE_EQ(f.seats.Cash(p).Font().pointSizeF(), reduced() && p > 0 ? 8 : design);
        EXPECT_DOUBLE_EQ(f.seats.Level(p).Font().pointSizeF(), reduced() ? 8 : 10.5);
        EXPECT_EQ(f.seats.Nid(p).ForeColor(), QColor(128, 255, 255));
    }
}

// The turn clock is loaded with its endless animation and stays hidden.
TEST_P(SeatLayoutTest, TurnClockIsLoadedAndHidden)
{
    Table t(screen()[0], screen()[1], Table::Stage::SeatLayout);
    MainForm &f = t.form();
    EXPECT_FALSE(f.turn.Time_Img.Visible());
    EXPECT_EQ(f.turn.Time_Img.loops(), 0);
    EXPECT_EQ(f.turn.Time_Img.ActualWidth(), 62);
    EXPECT_EQ(f.turn.Time_Img.ActualHeight(), 58);
}

// The elements brought to the front come in this order, so the last one named
// lies on top: the avatars, the toolbar but its send button, the room text,
// the clock, its seconds and the bank icon.
TEST_P(SeatLayoutTest, StackingOrderOfTheElementsBroughtToTheFront)
{
    Table t(screen()[0], screen()[1], Table::Stage::SeatLayout);
    MainForm &f = t.form();
    std::vector<const forms::Element *> order;
    for (int p = 0; p <= 3; ++p)
        order.push_back(&f.seats.Tou(p));
    for (int i = 1; i <= 8; ++i)
        order.push_back(&f.toolbar.AnNiu(i));
    for (const forms::Element *e : std::initializer_list<const forms::Element *>{
                 &f.area.Location, &f.turn.Time_Img, &f.turn.Number, &f.toolbar.Bank})
        order.push_back(e);
    for (std::size_t i = 1; i < order.size(); ++i)
        EXPECT_LT(order[i - 1]->zSequence(), order[i]->zSequence()) << "element " << i;
    EXPECT_EQ(f.toolbar.Bank.zSequence(), static_cast<int>(f.area.Pic1->elements().size()) - 1);
    EXPECT_LT(f.toolbar.AnNiu(0).zSequence(), f.seats.Tou(0).zSequence());
}

TEST_P(SeatLayoutTest, TaskWindowIsCreatedHiddenAtItsFixedSize)
{
    Table t(screen()[0], screen()[1], Table::Stage::SeatLayout);
    MainForm &f = t.form();
    ASSERT_TRUE(f.frmMingXiLoaded());
    MingXiWindow &task = f.frmMingXi();
    EXPECT_FALSE(task.isVisible());
    EXPECT_EQ(task.size(), QSize(324, 174));
    EXPECT_EQ(task.Labxianshi1.rect(), QRectF(32, 48, 265, 41));
    EXPECT_EQ(task.Labxianshi2.rect(), QRectF(32, 96, 265, 57));
}

// The worked values of the reduced table, written out.
TEST(SeatLayoutReduced, WorkedValues)
{
    Table t(kSmallScreen[0], kSmallScreen[1], Table::Stage::SeatLayout);
    MainForm &f = t.form();
    EXPECT_EQ(f.seats.Tou(0).rect(), QRectF(7.8125, 521.875, 66.40625, 70.3125));
    EXPECT_EQ(QPointF(f.toolbar.AnNiu(8).Left(), f.toolbar.AnNiu(8).Top()),
              QPointF(670.3125, 572.65625));
    EXPECT_EQ(f.turn.Number.Left() - f.turn.Time_Img.Left(), 24.21875);
    EXPECT_EQ(f.turn.Number.Top() - f.turn.Time_Img.Top(), 24.21875);
    EXPECT_EQ(f.seats.ImgKuang(1).Left(), 0);
    EXPECT_EQ(f.seats.ImgKuang(2).Top(), 3);
}

INSTANTIATE_TEST_SUITE_P(Layouts, SeatLayoutTest, kBothLayouts, scaleName);

} // namespace tessaroc::table::test
