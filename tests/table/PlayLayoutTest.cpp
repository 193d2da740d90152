#include "LayoutExpect.h"

namespace tessaroc::table::test {

namespace {

class PlayLayoutTest : public BothScales
{
};

#define EL(expr)                                                                                   \
    [](MainForm &f) {                                                                              \
        return placed(f.expr);                                                                     \
    }

} // namespace

// The play elements as the play layout leaves them, before any clearing.
TEST_P(PlayLayoutTest, PlacesThePlayElements)
{
    Table t(screen()[0], screen()[1], Table::Stage::PlayLayout);
    const forms::LayoutScale s = t.state.table.scale;
    const bool r = reduced();
    // The previous-trick and lower-all buttons stand 112 window pixels left
    // of the window's right edge (62 wide plus 50), 80 and 105 above the room
    // strip.
    const double windowPixels = screen()[0];
    const double rightButtons = windowPixels - expected({62}, s.ScaleX) - expected({50}, s.ScaleX);
    const std::vector<LayoutRow> rows = {
            {"Operation(0)", EL(actions.Operation(0)), {400}, {480}, {60}, {40}, false},
            {"Operation(1)", EL(actions.Operation(1)), {478}, {480}, {60}, {40}, false},
            {"Operation(2)", EL(actions.Operation(2)), {556}, {480}, {60}, {40}, false},
            {"Operation(3)", EL(actions.Operation(3)), {900}, {590}, {62}, {25}, false},
            {"Operation(4)",
             EL(actions.Operation(4)),
             unscaled(rightButtons),
             {656 - 50 - 30},
             {62},
             {25},
             false},
            {"Operation(5)",
             EL(actions.Operation(5)),
             unscaled(rightButtons),
             {656 - 75 - 30},
             {62},
             {25},
             false},
            {"tanOperation(0)", EL(actions.tanOperation(0)), {448}, {470}, {66}, {38}, false},
            {"tanOperation(1)", EL(actions.tanOperation(1)), {544}, {470}, {66}, {38}, false},
            {"btnJiaofen(0)", EL(bid.btnJiaofen(0)), {440}, {480}, {66}, {38}, false},
            {"btnJiaofen(1)", EL(bid.btnJiaofen(1)), {560}, {480}, {66}, {38}, false},
            {"shanImage(0)",
             EL(hands.shanImage(0)),
             unscaled(21),
             {240},
             {r ? 150.0 : 200},
             {r ? 150.0 : 200},
             false},
            {"shanImage(1)",
             EL(hands.shanImage(1)),
             {400},
             {95},
             {r ? 150.0 : 200},
             {r ? 150.0 : 200},
             false},
            {"shanImage(2)",
             EL(hands.shanImage(2)),
             {880},
             {240},
             {r ? 150.0 : 180},
             {r ? 150.0 : 180},
             false},
            {"Labrest(2)",
             EL(hands.Labrest(2)),
             {400 + 200 + 30},
             {95 + 30},
             unscaled(60),
             unscaled(20),
             false},
            {"Labrest(3)",
             EL(hands.Labrest(3)),
             {925},
             {240 + 180 + 10},
             unscaled(60),
             unscaled(20),
             false},
            {"Speak(0)", EL(messages.Speak(0)), {94}, {513}, unscaled(151), unscaled(112), false},
            {"Speak(1)", EL(messages.Speak(1)), {8}, {280}, unscaled(151), unscaled(112), false},
            {"Speak(3)",
             EL(messages.Speak(3)),
             {r ? 780.0 : 800},
             {280},
             unscaled(151),
             unscaled(112),
             false},
            {"Sysmsg(0)", EL(messages.Sysmsg(0)), {312}, {r ? 693.0 : 696}, {281}, {13}, true},
            {"Lbchat", EL(messages.Lbchat), {594}, {r ? 685.0 : 695}, {25}, {r ? 20.0 : 33}, true},
            {"Chat", EL(messages.Chat), {312}, {732}, {250}, {33}, true},
            {"Bird", EL(area.Bird), {936}, {680}, {82}, {80}, true},
            {"imgBeishu1",
             EL(bid.imgBeishu1),
             {10},
             {r ? 451.0 : 470},
             unscaled(48),
             unscaled(28),
             false},
            {"lblDifen",
             EL(bid.lblDifen),
             {r ? 74.0 : 62},
             {r ? 452.0 : 471},
             unscaled(48),
             unscaled(28),
             false},
            {"Imgwealth",
             EL(bid.Imgwealth),
             {10},
             {r ? 490.0 : 500},
             unscaled(48),
             unscaled(28),
             false},
            {"lbwealth",
             EL(bid.lbwealth),
             {r ? 56.0 : 62},
             {282},
             unscaled(96),
             unscaled(28),
             false},
    };
    expectRows(t.form(), rows, s);

    MainForm &f = t.form();
    // The remaining-card count of the left seat is placed from the fan as
    // step 9 sized it, 200 high, not from the reduced 150.
    EXPECT_DOUBLE_EQ(f.hands.Labrest(1).Left(), 21 + expected({50}, s.ScaleX));
    EXPECT_DOUBLE_EQ(f.hands.Labrest(1).Top(), r ? 328.125 : 448);
    // The second system line lies directly below the first.
    EXPECT_DOUBLE_EQ(f.messages.Sysmsg(1).Top(),
                     f.messages.Sysmsg(0).Top() + f.messages.Sysmsg(0).Height());
    EXPECT_DOUBLE_EQ(f.messages.Sysmsg(1).Height(), r ? 10.15625 : 13);
    EXPECT_EQ(f.messages.Sysmsg(1).Left(), f.messages.Sysmsg(0).Left());
    EXPECT_EQ(f.messages.Sysmsg(1).Width(), f.messages.Sysmsg(0).Width());
    // The top seat's bubble hangs below its avatar.
    EXPECT_DOUBLE_EQ(f.messages.Speak(2).Left(), f.seats.Tou(2).Left());
    EXPECT_DOUBLE_EQ(f.messages.Speak(2).Top(),
                     static_cast<float>(f.seats.Tou(2).Top() + 0.8 * f.seats.Tou(2).Height()
                                        + expected({45}, s.ScaleY)));
    // The first web panel lies 2 unscaled pixels inside its frame, as large as
    // the frame.
    EXPECT_DOUBLE_EQ(f.area.WebBrowser1.Left(), f.area.Bird.Left() + 2);
    EXPECT_DOUBLE_EQ(f.area.WebBrowser1.Top(), f.area.Bird.Top() + 2);
    EXPECT_DOUBLE_EQ(f.area.WebBrowser1.Width(), f.area.Bird.Width());
    EXPECT_FALSE(f.area.WebBrowser1.Visible());
    // The room notes move 10 unscaled pixels further left on the reduced
    // table.
    for (int i = 0; i <= 2; ++i) {
        EXPECT_DOUBLE_EQ(f.bid.lbfont(i).Top(), expected({280.0 + 32 * i}, s.ScaleY));
        EXPECT_DOUBLE_EQ(f.bid.lbfont(i).Left(), expected({424}, s.ScaleX) - (r ? 10 : 0));
        EXPECT_FALSE(f.bid.lbfont(i).Visible());
    }
    EXPECT_TRUE(f.actions.Operation(0).Stretch());
    EXPECT_EQ(f.hands.shanImage(0).Stretch(), r);
}

TEST_P(PlayLayoutTest, ActionButtonPicturesAndStates)
{
    Table t(screen()[0], screen()[1], Table::Stage::PlayLayout);
    MainForm &f = t.form();
    const int pictures[] = {178, 181, 184, 187, 189, 191};
    for (int b = 0; b <= 5; ++b) {
        SCOPED_TRACE(b);
        EXPECT_EQ(f.actions.Operation(b).Picture(), pictures[b]);
        EXPECT_FALSE(f.actions.Operation(b).Enabled());
        EXPECT_FALSE(f.actions.Operation(b).Visible());
        EXPECT_FALSE(t.state.table.OperationFlag[static_cast<std::size_t>(b)]);
    }
    for (int i = 0; i <= 1; ++i) {
        EXPECT_FALSE(f.actions.tanOperation(i).Enabled());
        EXPECT_TRUE(f.actions.tanOperation(i).Stretch());
        EXPECT_FALSE(f.bid.btnJiaofen(i).Enabled());
        EXPECT_EQ(f.bid.btnJiaofen(i).mousePointer(), forms::MousePointer::Custom);
    }
    // The last two bid buttons exist but are neither placed nor given the
    // pointing hand.
    for (int i = 2; i <= 3; ++i) {
        ASSERT_TRUE(f.bid.btnJiaofen.isLoaded(i));
        EXPECT_EQ(f.bid.btnJiaofen(i).mousePointer(), forms::MousePointer::Default);
        EXPECT_EQ(f.bid.btnJiaofen(i).rect(), QRectF(440, 480, 66, 38)) << "the design place";
    }
}

TEST_P(PlayLayoutTest, GroupsAreCreatedAndHidden)
{
    Table t(screen()[0], screen()[1], Table::Stage::PlayLayout);
    MainForm &f = t.form();
    const forms::LayoutScale s = t.state.table.scale;
    for (auto *group :
         {&f.hands.cardImage0, &f.hands.cardImage1, &f.hands.cardImage2, &f.hands.cardImage3}) {
        EXPECT_EQ(group->LBound(), 0);
        EXPECT_EQ(group->UBound(), 32);
    }
    for (int i = 0; i <= 32; ++i) {
        for (auto *group : {&f.hands.cardImage1, &f.hands.cardImage2, &f.hands.cardImage3}) {
            EXPECT_DOUBLE_EQ((*group)(i).Width(), expected({80}, s.ScaleX));
            EXPECT_DOUBLE_EQ((*group)(i).Height(), expected({108}, s.ScaleY));
            EXPECT_FALSE((*group)(i).Visible());
        }
    }
    for (int i = 0; i <= 10; ++i) {
        EXPECT_DOUBLE_EQ(f.hands.imgCardMove(i).Width(), expected({80}, s.ScaleX));
        EXPECT_TRUE(f.hands.imgCardMove(i).Stretch());
        EXPECT_FALSE(f.hands.imgCardMove(i).Visible());
        EXPECT_EQ(f.hands.imgCardMove(i).Picture(), 18);
    }
    for (int i = 0; i <= 7; ++i) {
        EXPECT_EQ(f.hands.imgDiPai(i).Picture(), 18);
        EXPECT_FALSE(f.hands.imgDiPai(i).Visible());
    }
    EXPECT_EQ(f.hands.Labrest.LBound(), 1);
    EXPECT_EQ(f.hands.Labrest.UBound(), 3);
    for (int p = 0; p <= 3; ++p)
        EXPECT_EQ(t.state.table.VoiceSet[static_cast<std::size_t>(p)], p + 1);
    for (std::int32_t w : t.state.core.Wealth)
        EXPECT_EQ(w, 0);
    EXPECT_FALSE(t.state.core.HandOver);
}

// The turn clock waits below the design height until the play flow moves it,
// with its seconds beside it; on the reduced table the seconds are 12 point.
TEST_P(PlayLayoutTest, TurnClockBelowTheTable)
{
    Table t(screen()[0], screen()[1], Table::Stage::PlayLayout);
    MainForm &f = t.form();
    const forms::LayoutScale s = t.state.table.scale;
    EXPECT_DOUBLE_EQ(f.turn.Time_Img.Left(), expected({920}, s.ScaleX));
    EXPECT_DOUBLE_EQ(f.turn.Time_Img.Top(), expected({778}, s.ScaleY));
    // The control fits its area to whole pixels once it holds its animation.
    EXPECT_NEAR(f.turn.Time_Img.Width(), expected({62}, s.ScaleX), 0.5);
    EXPECT_NEAR(f.turn.Time_Img.Height(), expected({58}, s.ScaleY), 0.5);
    EXPECT_FALSE(f.turn.Time_Img.Visible());
    const double offset = reduced() ? 31 : 26;
    EXPECT_DOUBLE_EQ(f.turn.Number.Left(), f.turn.Time_Img.Left() + expected({offset}, s.ScaleX));
    EXPECT_DOUBLE_EQ(f.turn.Number.Top(), f.turn.Time_Img.Top() + expected({offset}, s.ScaleY));
    EXPECT_DOUBLE_EQ(f.turn.Number.Width(), expected({27}, s.ScaleX));
    EXPECT_DOUBLE_EQ(f.turn.Number.Font().pointSizeF(), reduced() ? 12 : 18);
    EXPECT_EQ(f.turn.Number.ForeColor(), QColor(Qt::black));
    EXPECT_GT(f.turn.Number.zSequence(), f.turn.Time_Img.zSequence());
}

// The card turned up at the deal stands beside each seat: above the own
// avatar, below the others; the top one two thirds of a card to the left.
TEST_P(PlayLayoutTest, ShownCardPlaces)
{
    Table t(screen()[0], screen()[1], Table::Stage::PlayLayout);
    MainForm &f = t.form();
    const forms::LayoutScale s = t.state.table.scale;
    const double down = reduced() ? expected({3}, s.ScaleY) : 0;
    EXPECT_DOUBLE_EQ(f.hands.ImgLPai(0).Left(), f.seats.Tou(0).Left());
    EXPECT_DOUBLE_EQ(f.hands.ImgLPai(0).Top(),
                     f.area.imgRenWu.Top() - expected({81}, s.ScaleY) - expected({15}, s.ScaleY));
    EXPECT_DOUBLE_EQ(f.hands.ImgLPai(1).Top(),
                     f.seats.Tou(1).Top() + f.seats.Tou(1).Height() + expected({40}, s.ScaleY)
                             + down);
    // d = 2 x 60 = 120 / 3 = 40 on the full table; 2 x 46.875 = 93.75, held
    // as 94, / 3 = 31 on the reduced one.
    EXPECT_DOUBLE_EQ(f.hands.ImgLPai(2).Left(), f.seats.Tou(2).Left() - (reduced() ? 31 : 40));
    EXPECT_DOUBLE_EQ(f.hands.ImgLPai(3).Left(),
                     f.seats.Tou(3).Left() + 2 * expected({60}, s.ScaleX));
    for (int p = 0; p <= 3; ++p) {
        EXPECT_FALSE(f.hands.ImgLPai(p).Visible());
        EXPECT_DOUBLE_EQ(f.hands.ImgLPai(p).Width(), expected({60}, s.ScaleX));
    }
    // The task icon stands on the bottom bar.
    EXPECT_DOUBLE_EQ(f.area.imgRenWu.Top(), f.area.imgDilan.Top() - f.area.imgRenWu.Height());
    EXPECT_EQ(f.area.imgRenWu.Left(), f.area.imgDilan.Left());
}

// The own camera view covers the own avatar and stays hidden: the start-up
// skips the camera. The item notice lies over it with unscaled margins.
TEST_P(PlayLayoutTest, OwnCameraViewAndItemNotice)
{
    Table t(screen()[0], screen()[1], Table::Stage::PlayLayout);
    MainForm &f = t.form();
    const forms::LayoutScale s = t.state.table.scale;
    EXPECT_FALSE(f.seats.vcap1.Visible());
    EXPECT_DOUBLE_EQ(f.seats.vcap1.Left(), f.seats.Tou(0).Left());
    EXPECT_DOUBLE_EQ(f.seats.vcap1.Height(), f.seats.Tou(0).Height() - expected({7}, s.ScaleY));
    EXPECT_EQ(f.seats.vcap1->CaptureRate, 0);
    EXPECT_EQ(f.messages.Proponeself.rect(),
              QRectF(f.seats.vcap1.Left() - 10, f.seats.vcap1.Top() - 10,
                     f.seats.vcap1.Width() + 15, f.seats.vcap1.Height() + 35));
    EXPECT_TRUE(f.messages.Proponeself.Enabled());
    EXPECT_TRUE(f.messages.Proponeself.Visible());
    EXPECT_EQ(f.messages.Sysmsg(0)->count(), 0);
}

TEST_P(PlayLayoutTest, WindowFontAndSystemLineFonts)
{
    Table t(screen()[0], screen()[1], Table::Stage::PlayLayout);
    MainForm &f = t.form();
    EXPECT_DOUBLE_EQ(f.font().pointSizeF(), reduced() ? 7.8125 : 10);
    if (reduced()) {
        EXPECT_DOUBLE_EQ(f.messages.Sysmsg(0)->font().pointSizeF(), 8);
        EXPECT_DOUBLE_EQ(f.messages.Lbchat.Font().pointSizeF(), 8);
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, PlayLayoutTest, kBothLayouts, scaleName);

// The full layout's worked values, written out.
TEST(PlayLayoutFull, WorkedValues)
{
    Table t(kFullScreen[0], kFullScreen[1], Table::Stage::PlayLayout);
    MainForm &f = t.form();
    EXPECT_EQ(f.actions.Operation(0).rect(), QRectF(400, 480, 60, 40));
    EXPECT_EQ(f.actions.Operation(1).rect(), QRectF(478, 480, 60, 40));
    EXPECT_EQ(f.actions.Operation(2).rect(), QRectF(556, 480, 60, 40));
    EXPECT_EQ(QPointF(f.actions.Operation(3).Left(), f.actions.Operation(3).Top()),
              QPointF(900, 590));
    EXPECT_EQ(f.actions.Operation(4).Left(), 1024 - 112);
    EXPECT_EQ(f.hands.shanImage(0).Left(), 21);
    EXPECT_EQ(f.turn.Time_Img.Top(), 778);
}

// The own camera path, with its gates open: no camera is there, so the view
// stays hidden and the system line says so.
TEST(PlayLayoutCamera, MissingCameraIsReportedOnTheSystemLine)
{
    Table t(kFullScreen[0], kFullScreen[1], Table::Stage::SeatLayout);
    t.state.core.CameraSkipped = false;
    t.state.core.VideoAllowed = true;
    t.state.VideoOn = true;
    MainForm &f = t.form();
    f.show();
    f.InitPlayLayout();
    EXPECT_FALSE(t.state.VideoOn);
    EXPECT_FALSE(f.seats.vcap1.Visible());
    EXPECT_EQ(f.seats.vcap1->CaptureRate, 2);
    EXPECT_TRUE(f.seats.vcap1->Option2);
    EXPECT_TRUE(f.seats.vcap1->Option4);
    EXPECT_FALSE(f.seats.vcap1->Option1);
    ASSERT_EQ(f.messages.Sysmsg(0)->count(), 1);
    EXPECT_EQ(f.messages.Sysmsg(0)->item(0)->text(),
              QStringLiteral("您没有视频设备或您的视频源正在使用。"));
}

// Each system line holds one entry: a free line takes a new one, else the
// second line's entry moves up.
TEST(SystemMessageArea, TwoLinesScrollUp)
{
    Table t(kFullScreen[0], kFullScreen[1], Table::Stage::PlayLayout);
    MainForm &f = t.form();
    const auto lines = [&f] {
        const auto text = [](QListWidget &l) {
            return l.count() == 0 ? QString() : l.item(0)->text();
        };
        return std::pair{text(f.messages.Sysmsg(0).widget()), text(f.messages.Sysmsg(1).widget())};
    };
    f.AddSystemMessage(QStringLiteral("a"));
    EXPECT_EQ(lines(), std::pair(QStringLiteral("a"), QString()));
    f.AddSystemMessage(QStringLiteral("b"));
    EXPECT_EQ(lines(), std::pair(QStringLiteral("a"), QStringLiteral("b")));
    f.AddSystemMessage(QStringLiteral("c"));
    EXPECT_EQ(lines(), std::pair(QStringLiteral("b"), QStringLiteral("c")));
    EXPECT_EQ(f.messages.Sysmsg(0)->count(), 1);
    EXPECT_EQ(f.messages.Sysmsg(1)->count(), 1);
}

} // namespace tessaroc::table::test
