#include "ItemFixture.h"

namespace tessaroc::test {
namespace {

struct ItemTexts : ItemFixture
{
};

TEST(GetTextWidth, CountsDoubleByteCharactersTwice)
{
    EXPECT_EQ(items::GetTextWidth(QStringLiteral("请选择一个宝箱打开")), 18);
    EXPECT_EQ(items::GetTextWidth(QStringLiteral("ab1")), 3);
    EXPECT_EQ(items::GetTextWidth(QString()), 0);
    EXPECT_EQ(items::GetTextWidth(QStringLiteral("金币x")), 5);
}

TEST_F(ItemTexts, ALineGoesWholeToTheHistoryAndCutToTheSystemLines)
{
    const QString line = QString(60, QLatin1Char('x'));
    bridge.ShowPropMsg(line);
    EXPECT_EQ(host.history, std::vector<QString>{line});
    EXPECT_EQ(host.systemLines, std::vector<QString>{line.left(45)});
}

TEST_F(ItemTexts, AFloatingTextIsPlacedStyledAndExpiresAfterItsTicks)
{
    bridge.ShowPropText(QStringLiteral("+1 flower"), {120, 30, 40, 50}, {80, 3, 12, 0xFF00, 1});
    const items::NoticeLabel &label = bridge.controls().LbProp;
    EXPECT_TRUE(label.visible);
    EXPECT_EQ(label.caption, QStringLiteral("+1 flower"));
    EXPECT_EQ(QRectF(label.left, label.top, label.width, label.height), QRectF(40, 50, 120, 30));
    EXPECT_EQ(label.fontSize, 12);
    EXPECT_EQ(label.colour, 0xFF00u);
    EXPECT_EQ(label.alignment, items::NoticeLabel::Right);
    EXPECT_TRUE(bridge.timerProp().isActive());
    EXPECT_EQ(bridge.timerProp().interval(), 80);

    bridge.TimerProp_Timer();
    bridge.TimerProp_Timer();
    EXPECT_TRUE(label.visible);
    EXPECT_TRUE(bridge.timerProp().isActive());
    bridge.TimerProp_Timer();
    EXPECT_FALSE(label.visible);
    EXPECT_TRUE(label.caption.isEmpty());
    EXPECT_FALSE(bridge.FloatTextOn);
    EXPECT_FALSE(bridge.timerProp().isActive());
}

TEST_F(ItemTexts, ATextWithoutTicksOrIntervalStays)
{
    for (const std::vector<int> &style :
         {std::vector<int>{80, 0, 9, 0, 0}, std::vector<int>{0, 5, 9, 0, 0}, std::vector<int>{}}) {
        bridge.ShowPropText(QStringLiteral("stays"), {10, 10, 0, 0}, style);
        EXPECT_FALSE(bridge.FloatTextOn);
        EXPECT_FALSE(bridge.timerProp().isActive());
        EXPECT_TRUE(bridge.controls().LbProp.visible);
    }
}

TEST_F(ItemTexts, TheOwnSeatIsAimedAtOnceUntilThePointerCrossesTheTable)
{
    start(false);
    // Outside the label (100 x 115 pixels) nothing happens.
    bridge.Proponeself_MouseMove(0, 0, 1500, 30);
    bridge.Proponeself_MouseMove(0, 0, 0, 30);
    EXPECT_TRUE(library->calls.empty());
    bridge.Proponeself_MouseMove(0, 0, 1485, 30);
    bridge.Proponeself_MouseMove(0, 0, 300, 300);
    EXPECT_EQ(library->calls, std::vector<std::string>{"ShowQnVideo 0 1"});
    EXPECT_EQ(bridge.PropTargetSeat, 1);

    bridge.ReleaseAim();
    EXPECT_EQ(library->calls.back(), "ShowQnVideo 0 0") << "the own seat is released too";
    EXPECT_EQ(bridge.PropTargetSeat, 0);
    EXPECT_FALSE(bridge.PropTargetBusy);
}

TEST_F(ItemTexts, ReleasingTheAimCoversEverySeat)
{
    start(false);
    for (int pos = 0; pos < 4; ++pos) {
        library->calls.clear();
        bridge.AimAtView(pos, 30, 30, 116, 95);
        ASSERT_EQ(bridge.PropTargetSeat, pos + 1);
        bridge.ReleaseAim();
        EXPECT_EQ(library->calls,
                  (std::vector<std::string>{"ShowQnVideo " + std::to_string(pos) + " 1",
                                            "ShowQnVideo " + std::to_string(pos) + " 0"}));
    }
    // A refused aim leaves no target seat, but the aim stays under way until
    // the pointer crosses the table.
    library->showQnVideoAnswer = false;
    bridge.AimAtView(2, 30, 30, 116, 95);
    bridge.AimAtView(2, 30, 30, 116, 95);
    EXPECT_EQ(bridge.PropTargetSeat, 0);
    EXPECT_EQ(std::count(library->calls.begin(), library->calls.end(), "ShowQnVideo 2 1"), 1);
}

TEST_F(ItemTexts, NothingIsAimedWhileTheLibraryIsOff)
{
    state.gamedllstate = -1;
    bridge.PropDll = library;
    bridge.Proponeself_MouseMove(0, 0, 30, 30);
    bridge.AimAtView(1, 30, 30, 116, 95);
    EXPECT_TRUE(library->calls.empty());
    EXPECT_FALSE(bridge.PropTargetBusy);
}

} // namespace
} // namespace tessaroc::test
