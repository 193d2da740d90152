#include "LayoutExpect.h"

#include "table/TableWindowService.h"

namespace tessaroc::table::test {
namespace {

using ClockKind = core::services::TableWindow::ClockKind;

// Where the table window draws what the server's commands ask for: the turn
// clock at each seat, the own buttons, the landlord badge, the ready clock
// and the wealth label, at both scales.
class CommandPlaces : public BothScales
{
protected:
    Table table{screen()[0], screen()[1]};
    TableWindowService window{table.form(), table.state};
    MainForm &form() { return table.form(); }
    forms::LayoutScale s() const { return table.state.table.scale; }
};

// The clock's place by seat; the other seats' places hang on the clock's own
// width or on the seat's strip, so each case works out its own.
TEST_P(CommandPlaces, TheTurnClockStandsAtTheSeatWithItsSeconds)
{
    struct Case
    {
        ClockKind kind;
        int pos;
        std::function<QPointF(MainForm &, forms::LayoutScale)> place;
    };
    const auto width = [](MainForm &f) {
        return f.turn.Time_Img.Width();
    };
    const auto leftSide = [width](double top) {
        return [width, top](MainForm &f, forms::LayoutScale s) {
            return QPointF(0.2 * width(f), s.y(top));
        };
    };
    const auto rightSide = [width](double top) {
        return [width, top](MainForm &f, forms::LayoutScale s) {
            return QPointF(s.x(1024) - 1.2 * width(f), s.y(top));
        };
    };
    const auto ownSeat = [](double left, double top) {
        return [left, top](MainForm &, forms::LayoutScale s) {
            return QPointF(s.x(left), s.y(top));
        };
    };
    const auto acrossSeat = [](MainForm &f, forms::LayoutScale s) {
        const auto &strip = f.seats.PicLocal(2);
        return QPointF(strip.Left() + strip.Width() - s.x(5), f.hands.ImgLPai(2).Top() + s.y(40));
    };
    const Case cases[] = {
            {ClockKind::Bid, 0, ownSeat(825, 525)},  {ClockKind::Bid, 1, leftSide(220)},
            {ClockKind::Bid, 2, acrossSeat},         {ClockKind::Bid, 3, rightSide(235)},
            {ClockKind::Play, 0, ownSeat(875, 530)}, {ClockKind::Play, 1, leftSide(210)},
            {ClockKind::Play, 2, acrossSeat},        {ClockKind::Play, 3, rightSide(210)},
    };
    const double offset = s().isReduced() ? 31 : 26;
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.kind == ClockKind::Bid ? "bid " : "play ")
                     + std::to_string(c.pos));
        window.ShowTurnClock(c.kind, c.pos, 15);
        const auto &clock = form().turn.Time_Img;
        const auto &number = form().turn.Number;
        const QPointF place = c.place(form(), s());
        EXPECT_DOUBLE_EQ(clock.Left(), place.x());
        EXPECT_DOUBLE_EQ(clock.Top(), place.y());
        EXPECT_DOUBLE_EQ(number.Left(), clock.Left() + s().x(offset));
        EXPECT_DOUBLE_EQ(number.Top(), clock.Top() + s().y(offset));
        EXPECT_EQ(number.Caption(), QStringLiteral("15"));
        EXPECT_TRUE(clock.Visible());
        EXPECT_TRUE(number.Visible());
    }
}

TEST_P(CommandPlaces, TheOwnButtonsToLeadAndToFollow)
{
    const auto &op = form().actions.Operation;
    window.ShowOwnTurnButtons(true);
    EXPECT_DOUBLE_EQ(op(0).Left(), s().x(448));
    EXPECT_DOUBLE_EQ(op(1).Left(), s().x(544));
    EXPECT_FALSE(op(2).Visible());

    // Pass, hint and play from the right, 1.3 button widths apart.
    window.ShowOwnTurnButtons(false);
    EXPECT_DOUBLE_EQ(op(2).Left(), s().x(556));
    EXPECT_DOUBLE_EQ(op(1).Left(), op(2).Left() - 1.3 * op(2).Width());
    EXPECT_DOUBLE_EQ(op(0).Left(), op(1).Left() - 1.3 * op(1).Width());
    for (int i = 0; i <= 2; ++i)
        EXPECT_TRUE(op(i).Visible()) << i;
}

TEST_P(CommandPlaces, TheLandlordBadgeAtTheLandlordsSeat)
{
    struct Case
    {
        int pos;
        double left, fullTop, reducedTop;
    };
    for (const Case c : {Case{0, 80, 540, 520}, Case{2, 325, 100, 100}}) {
        window.ShowLandlord(c.pos);
        const auto &badge = form().effects.UcDiZhu;
        EXPECT_TRUE(badge.Visible()) << c.pos;
        EXPECT_DOUBLE_EQ(badge.Left(), s().x(c.left)) << c.pos;
        EXPECT_DOUBLE_EQ(badge.Top(), s().y(s().isReduced() ? c.reducedTop : c.fullTop)) << c.pos;
    }
}

TEST_P(CommandPlaces, TheReadyClockAndTheShuffleNoticeBesideTheWealth)
{
    window.PlaceReadyClockAndShuffle();
    const auto &wealth = form().bid.Imgwealth;
    const auto &clock = form().turn.Time_Img;
    EXPECT_DOUBLE_EQ(clock.Left(), wealth.Left() + wealth.Width() - s().y(50));
    EXPECT_DOUBLE_EQ(clock.Top(), wealth.Top() - s().y(120));
    EXPECT_DOUBLE_EQ(form().effects.ImgShuffle.Left(), clock.Left() + clock.Width() + s().y(6));
}

TEST_P(CommandPlaces, TheWealthLabelTakesItsPlaceBySize)
{
    struct Case
    {
        std::int32_t wealth;
        double font;
        double fullLeft, fullTop, reducedLeft, reducedTop;
    };
    for (const Case c : {Case{50, 18, 62, 502, 74, 491}, Case{99, 18, 62, 502, 74, 491},
                         Case{100, 13, 58, 504, 72, 497}}) {
        window.ShowWealth(c.wealth);
        const auto &label = form().bid.lbwealth;
        EXPECT_EQ(label.Caption(), QString::number(c.wealth));
        EXPECT_EQ(label.Font().pointSizeF(), c.font) << c.wealth;
        EXPECT_DOUBLE_EQ(label.Left(), s().x(s().isReduced() ? c.reducedLeft : c.fullLeft))
                << c.wealth;
        EXPECT_DOUBLE_EQ(label.Top(), s().y(s().isReduced() ? c.reducedTop : c.fullTop))
                << c.wealth;
        EXPECT_TRUE(label.Visible());
        EXPECT_TRUE(form().bid.Imgwealth.Visible());
    }
}

// The landlord's bottom cards join the end of the own row, stretched.
TEST_P(CommandPlaces, TheOwnBottomCardsAtTheEndOfTheRow)
{
    for (int slot = 25; slot <= 32; ++slot) {
        window.PlaceOwnBottomCard(slot);
        const forms::Image &card = form().hands.cardImage0(slot);
        const double left
                = s().isReduced() ? slot * 0.19 * 90 + s().x(125) : slot * 0.22 * 90 + s().x(150);
        EXPECT_DOUBLE_EQ(card.Left(), left) << slot;
        EXPECT_EQ(card.Top(), table.state.table.HandLine) << slot;
        EXPECT_TRUE(card.Visible()) << slot;
        EXPECT_TRUE(card.Stretch()) << slot;
    }
}

INSTANTIATE_TEST_SUITE_P(BothScales, CommandPlaces, kBothLayouts, scaleName);

} // namespace
} // namespace tessaroc::table::test
