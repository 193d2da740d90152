#include "LayoutExpect.h"

#include "chat/SpeakBox.h"
#include "forms/PopupWindow.h"
#include "support/PictureStore.h"
#include "table/Rounding.h"

#include <QPointer>
#include <QTimer>

namespace tessaroc::table::test {

namespace {

// A card row's home origin, per display position.
struct RowOrigin
{
    int x, y;
    bool operator==(const RowOrigin &) const = default;
};

void PrintTo(const RowOrigin &o, std::ostream *os)
{
    *os << "(" << o.x << ", " << o.y << ")";
}

// Leaves a hand on the table: every per-hand value set, every play element
// shown, the animations loaded, the task window open.
void leaveAHandOnTheTable(Table &t)
{
    core::TableState &st = t.state;
    MainForm &f = t.form();
    st.core.LandlordPos = 2;
    st.core.BidClockOn = true;
    st.core.TickPhase = 7;
    st.core.BidFrameCount = 3;
    st.core.PlayFrameCount = 4;
    st.core.PlayCounter = 5;
    st.core.HandOver = true;
    st.core.BubbleSeat = 3;
    st.core.ReconnectTries = 2;
    st.core.ReconnectCountdown = 9;
    st.core.MingXiDocked = false;
    st.core.LeaveAfterSettlement = true;
    st.core.ResultPhase = 2;
    for (rules::HandRecord &hand : st.rules.HandRecords) {
        hand.cardCount = 25;
        hand.rowX = 17;
        hand.rowY = 19;
    }
    st.rules.PromptLeadState = true;
    st.rules.prevPlay.count = 4;
    for (auto &row : st.play.TableCards)
        row.fill(7);
    for (auto &row : st.play.PrevTableCards)
        row.fill(8);
    for (auto &seat : st.play.BombCount) {
        for (auto &face : seat)
            face.fill(1);
    }
    st.play.SeatBombCount.fill(1);
    st.play.BackCount.fill(5);
    st.play.BackFanCount.fill(2);
    st.play.BidRowOn = true;
    st.play.BidRowPos = 3;
    st.table.HandLine = 1;
    st.table.RenWuHover = true;
    st.table.TanHover = true;
    for (auto &seat : st.settlement.TaskCount)
        seat.fill(1);
    st.settlement.TaskType = 2;

    const auto show = [](forms::Element &e) {
        e.setVisible(true);
        e.Move(e.Left() + 3, e.Top() + 3);
    };
    for (auto *group :
         {&f.hands.cardImage0, &f.hands.cardImage1, &f.hands.cardImage2, &f.hands.cardImage3}) {
        for (int i = 0; i <= 32; ++i)
            show((*group)(i));
    }
    for (int i = 0; i <= 32; ++i) {
        f.hands.cardImage0(i).setEnabled(false);
        f.hands.cardImage0(i).Move(0, 0, 20, 20);
    }
    for (int i = 0; i <= 2; ++i) {
        show(f.hands.shanImage(i));
        f.hands.shanImage(i).setStretch(true);
        show(f.bid.lbfont(i));
    }
    for (int i = 0; i <= 5; ++i)
        show(f.actions.Operation(i));
    for (int i = 0; i <= 3; ++i) {
        show(f.seats.first(i));
        show(f.bid.btnJiaofen(i));
        show(f.hands.ImgLPai(i));
        show(f.messages.Speak(i));
    }
    for (int i = 0; i <= 1; ++i)
        show(f.actions.tanOperation(i));
    for (int i = 0; i <= 7; ++i)
        show(f.hands.imgDiPai(i));
    for (int i = 0; i <= 10; ++i)
        show(f.hands.imgCardMove(i));
    for (int p = 1; p <= 3; ++p)
        show(f.hands.Labrest(p));
    for (forms::Element *e : std::initializer_list<forms::Element *>{
                 &f.turn.Time_Img, &f.turn.Number, &f.hands.imgFaPai, &f.hands.imgFaPai8,
                 &f.bid.lblDifen, &f.bid.lbwealth, &f.bid.Imgwealth})
        show(*e);
    f.bid.lblDifen.setCaption(QStringLiteral("3"));
    f.bid.lbwealth.setCaption(QStringLiteral("5"));
    f.effects.bombPlayer.LoadAnimatedGIF_Array(support::PictureStore::resourceBytes(930));
    f.effects.bombPlayer.setVisible(true);
    f.effects.UcDiZhu.LoadAnimatedGIF_Array(support::PictureStore::resourceBytes(933));
    f.effects.UcDiZhu.setStretch(4);
    f.effects.UcDiZhu.setVisible(true);
    f.frmMingXi().Labxianshi1.setCaption(QStringLiteral("任务"));
    f.frmMingXi().Labxianshi2.setCaption(QStringLiteral("奖励"));
    f.frmMingXi().resize(10, 10);
    f.frmMingXi().show();
    f.toolbar.Bank.setVisible(false);
    f.toolbar.Bank.ZOrder(1);
}

class ClearTableTest : public BothScales
{
};

} // namespace

TEST_P(ClearTableTest, PerHandStateGoesBackToTheStartOfAHand)
{
    Table t(screen()[0], screen()[1]);
    leaveAHandOnTheTable(t);
    t.form().ClearTable();
    const core::TableState &st = t.state;
    EXPECT_EQ(st.core.LandlordPos, -1);
    EXPECT_FALSE(st.core.BidClockOn);
    EXPECT_EQ(st.core.TickPhase, 0);
    EXPECT_EQ(st.core.BidFrameCount, 0);
    EXPECT_EQ(st.core.PlayFrameCount, 0);
    EXPECT_EQ(st.core.PlayCounter, 0);
    EXPECT_FALSE(st.core.HandOver);
    EXPECT_EQ(st.core.BubbleSeat, 0);
    EXPECT_EQ(st.core.ReconnectTries, 0);
    EXPECT_EQ(st.core.ReconnectCountdown, 0);
    EXPECT_TRUE(st.core.MingXiDocked);
    EXPECT_FALSE(st.core.LeaveAfterSettlement);
    EXPECT_EQ(st.core.ResultPhase, 0);
    for (const rules::HandRecord &hand : st.rules.HandRecords)
        EXPECT_EQ(hand.cardCount, 0);
    EXPECT_FALSE(st.rules.PromptLeadState);
    EXPECT_EQ(st.rules.prevPlay.count, 0);
    for (int p = 0; p <= 3; ++p) {
        for (int c = 0; c <= 33; ++c) {
            EXPECT_EQ(st.play.TableCards[static_cast<std::size_t>(p)][static_cast<std::size_t>(c)],
                      0);
            EXPECT_EQ(st.play.PrevTableCards[static_cast<std::size_t>(p)]
                                            [static_cast<std::size_t>(c)],
                      0);
        }
    }
    for (const auto &seat : st.play.BombCount) {
        for (const auto &face : seat) {
            for (std::int16_t n : face)
                EXPECT_EQ(n, 0);
        }
    }
    for (std::int16_t n : st.play.SeatBombCount)
        EXPECT_EQ(n, 0);
    for (std::int16_t n : st.play.BackCount)
        EXPECT_EQ(n, 0);
    for (std::int16_t n : st.play.BackFanCount)
        EXPECT_EQ(n, 0);
    EXPECT_FALSE(st.play.BidRowOn);
    EXPECT_EQ(st.play.BidRowPos, 0);
    EXPECT_FALSE(st.table.RenWuHover);
    EXPECT_FALSE(st.table.TanHover);
    for (const auto &seat : st.settlement.TaskCount) {
        for (std::int16_t n : seat)
            EXPECT_EQ(n, 0);
    }
    EXPECT_EQ(st.settlement.TaskType, 0);
}

// The card rows go home; the origins and the hand line are held as 16-bit
// values, rounded halves to even.
TEST_P(ClearTableTest, RowOriginsAndHandLine)
{
    Table t(screen()[0], screen()[1]);
    leaveAHandOnTheTable(t);
    t.form().ClearTable();
    using Origins = std::array<RowOrigin, 4>;
    const Origins full = {{{500, 430}, {170, 321}, {300, 230}, {550, 321}}};
    // 500, 430 -> 390.625, 335.9375; 170, 321 -> 132.8125, 250.78125;
    // 300, 230 -> 234.375, 179.6875; 550 -> 429.6875.
    const Origins small = {{{391, 336}, {133, 251}, {234, 180}, {430, 251}}};
    Origins actual;
    for (std::size_t p = 0; p < actual.size(); ++p) {
        const rules::HandRecord &hand = t.state.rules.HandRecords[p];
        actual[p] = {hand.rowX, hand.rowY};
    }
    EXPECT_EQ(actual, reduced() ? small : full);
    EXPECT_EQ(t.state.table.HandLine, reduced() ? 441 : 565);
}

TEST_P(ClearTableTest, NothingOfAHandShows)
{
    Table t(screen()[0], screen()[1]);
    leaveAHandOnTheTable(t);
    MainForm &f = t.form();
    f.ClearTable();
    const forms::LayoutScale s = t.state.table.scale;
    const bool r = reduced();

    for (auto *group :
         {&f.hands.cardImage0, &f.hands.cardImage1, &f.hands.cardImage2, &f.hands.cardImage3}) {
        for (int i = 0; i <= 32; ++i)
            EXPECT_FALSE((*group)(i).Visible());
    }
    for (int i = 0; i <= 32; ++i) {
        EXPECT_TRUE(f.hands.cardImage0(i).Enabled());
        EXPECT_DOUBLE_EQ(f.hands.cardImage0(i).Width(), expected({90}, s.ScaleX));
        EXPECT_DOUBLE_EQ(f.hands.cardImage0(i).Height(), expected({120}, s.ScaleY));
    }
    const std::vector<LayoutRow> rows = {
            // Emptied, not hidden: it draws nothing.
            {"bombPlayer",
             [](MainForm &m) { return placed(m.effects.bombPlayer); },
             {400},
             {280},
             {225},
             {225},
             true},
            {"shanImage(0)",
             [](MainForm &m) { return placed(m.hands.shanImage(0)); },
             unscaled(21),
             {240},
             {r ? 150.0 : 200},
             {r ? 150.0 : 200},
             false},
            {"imgFaPai",
             [](MainForm &m) { return placed(m.hands.imgFaPai); },
             {462},
             {280},
             {100},
             {140},
             false},
            {"imgFaPai8",
             [](MainForm &m) { return placed(m.hands.imgFaPai8); },
             {472},
             {270},
             {100},
             {140},
             false},
    };
    expectRows(f, rows, s);
    EXPECT_DOUBLE_EQ(f.hands.shanImage(1).Left(), expected({400}, s.ScaleX));
    EXPECT_DOUBLE_EQ(f.hands.shanImage(1).Top(), expected({95}, s.ScaleY));
    EXPECT_DOUBLE_EQ(f.hands.shanImage(2).Left(), expected({880}, s.ScaleX));
    EXPECT_DOUBLE_EQ(f.hands.shanImage(2).Top(), expected({240}, s.ScaleY));
    for (int i = 0; i <= 2; ++i) {
        EXPECT_FALSE(f.hands.shanImage(i).Stretch());
        EXPECT_FALSE(f.hands.shanImage(i).Visible());
        EXPECT_FALSE(f.bid.lbfont(i).Visible());
    }
    for (int i = 0; i <= 5; ++i)
        EXPECT_FALSE(f.actions.Operation(i).Visible());
    for (int i = 0; i <= 3; ++i) {
        EXPECT_FALSE(f.seats.first(i).Visible());
        EXPECT_FALSE(f.bid.btnJiaofen(i).Visible());
        EXPECT_FALSE(f.hands.ImgLPai(i).Visible());
        EXPECT_FALSE(f.messages.Speak(i).Visible());
    }
    for (int i = 0; i <= 1; ++i)
        EXPECT_FALSE(f.actions.tanOperation(i).Visible());
    for (int i = 0; i <= 10; ++i)
        EXPECT_FALSE(f.hands.imgCardMove(i).Visible());
    for (int p = 1; p <= 3; ++p)
        EXPECT_FALSE(f.hands.Labrest(p).Visible());
    // The bottom cards lie face down from 420 in steps of 20, the reduced
    // table showing its reduced card back.
    for (int i = 0; i <= 7; ++i) {
        SCOPED_TRACE(i);
        EXPECT_FALSE(f.hands.imgDiPai(i).Visible());
        EXPECT_EQ(f.hands.imgDiPai(i).Picture(), r ? 520 : 18);
        EXPECT_DOUBLE_EQ(f.hands.imgDiPai(i).Left(), expected({420.0 + 20 * i}, s.ScaleX));
        EXPECT_DOUBLE_EQ(f.hands.imgDiPai(i).Top(), expected({270}, s.ScaleY));
    }
    EXPECT_FALSE(f.turn.Time_Img.Visible());
    EXPECT_FALSE(f.turn.Number.Visible());
    EXPECT_FALSE(f.effects.UcDiZhu.Visible());
    EXPECT_FALSE(f.effects.bombPlayer.AnimatedGIF().has_value());
    EXPECT_FALSE(f.effects.UcDiZhu.AnimatedGIF().has_value());
    EXPECT_EQ(f.effects.UcDiZhu.Stretch(), 1);
    EXPECT_DOUBLE_EQ(f.effects.UcDiZhu.Width(), expected({70}, s.ScaleX));
    EXPECT_DOUBLE_EQ(f.effects.UcDiZhu.Height(), expected({90}, s.ScaleY));
    EXPECT_FALSE(f.hands.imgFaPai.Visible());
    EXPECT_FALSE(f.hands.imgFaPai8.Visible());
    EXPECT_EQ(f.bid.lblDifen.Caption(), QStringLiteral("1"));
    EXPECT_FALSE(f.bid.lblDifen.Visible());
    EXPECT_EQ(f.bid.lbwealth.Caption(), QStringLiteral("1"));
    EXPECT_FALSE(f.bid.lbwealth.Visible());
    EXPECT_FALSE(f.bid.Imgwealth.Visible());
    // The task window is emptied, sized and hidden.
    EXPECT_FALSE(f.frmMingXi().isVisible());
    EXPECT_EQ(f.frmMingXi().size(), QSize(324, 174));
    EXPECT_TRUE(f.frmMingXi().Labxianshi1.Caption().isEmpty());
    EXPECT_TRUE(f.frmMingXi().Labxianshi2.Caption().isEmpty());
    // The bank icon shows, in front of everything else.
    EXPECT_TRUE(f.toolbar.Bank.Visible());
    EXPECT_EQ(f.toolbar.Bank.zSequence(), static_cast<int>(f.area.Pic1->elements().size()) - 1);
    // The settlement's windows and the chat history.
    EXPECT_EQ(t.settlement.scoreHidden, 2);
    EXPECT_EQ(t.settlement.scoreColoursReset, 2);
    EXPECT_EQ(t.chat.talkHidden, 2);
}

// On the full table the deal pile keeps the stretch it has; on the reduced
// one it is stretched.
TEST_P(ClearTableTest, DealPileStretch)
{
    Table t(screen()[0], screen()[1]);
    MainForm &f = t.form();
    f.hands.imgFaPai.setStretch(false);
    f.ClearTable();
    EXPECT_EQ(f.hands.imgFaPai.Stretch(), reduced());
}

// The seat panels, the ready marks, the toolbar and what the hand records
// hold besides their counts are not the clearing's business.
TEST_P(ClearTableTest, LeavesSeatsMarksAndCardsInTheRecordsAlone)
{
    Table t(screen()[0], screen()[1]);
    MainForm &f = t.form();
    f.seats.OK(1).setVisible(true);
    f.seats.Nid(2).setCaption(QStringLiteral("老船长"));
    t.state.rules.HandRecords[0].slots[3].code = rules::makeCard(14, 2, 9);
    t.state.rules.HandRecords[1].name = "captain";
    t.state.rules.prevPlay.kind = rules::PlayKind(2);
    t.state.rules.InGame = true;
    t.state.core.ButtonDown[2] = true;
    f.ClearTable();
    EXPECT_TRUE(f.seats.OK(1).Visible());
    EXPECT_EQ(f.seats.Nid(2).Caption(), QStringLiteral("老船长"));
    EXPECT_TRUE(f.seats.Tou(3).Visible());
    EXPECT_TRUE(f.toolbar.AnNiu(8).Visible());
    EXPECT_TRUE(f.messages.Chat.Visible());
    EXPECT_EQ(t.state.rules.HandRecords[0].slots[3].code, rules::makeCard(14, 2, 9));
    EXPECT_EQ(t.state.rules.HandRecords[1].name, "captain");
    EXPECT_EQ(t.state.rules.prevPlay.kind, rules::PlayKind(2));
    EXPECT_TRUE(t.state.rules.InGame);
    EXPECT_TRUE(t.state.core.ButtonDown[2]);
}

// A second clearing changes nothing the first left: no element moves, shows,
// changes picture or place in the stacking order, and no value changes.
TEST_P(ClearTableTest, ClearingTwiceEqualsClearingOnce)
{
    Table t(screen()[0], screen()[1]);
    leaveAHandOnTheTable(t);
    MainForm &f = t.form();
    struct Look
    {
        QRectF rect;
        bool visible, enabled;
        int picture, z;
        QString caption;
        bool operator==(const Look &) const = default;
    };
    const auto look = [&f] {
        std::vector<Look> looks;
        for (const forms::Element *e : f.area.Pic1->elements()) {
            const auto *picture = dynamic_cast<const support::PictureTarget *>(e);
            looks.push_back({e->rect(), e->Visible(), e->Enabled(),
                             picture ? picture->Picture() : -1, e->zSequence(), e->Caption()});
        }
        return looks;
    };
    const auto values = [&t] {
        const core::TableState &st = t.state;
        std::vector<long> v = {
                st.core.LandlordPos,        st.core.BidClockOn,       st.core.TickPhase,
                st.core.BidFrameCount,      st.core.PlayFrameCount,   st.core.PlayCounter,
                st.core.HandOver,           st.core.BubbleSeat,       st.core.ReconnectTries,
                st.core.ReconnectCountdown, st.core.MingXiDocked,     st.core.LeaveAfterSettlement,
                st.core.ResultPhase,        st.rules.PromptLeadState, st.rules.prevPlay.count,
                st.play.BidRowPos,          st.table.HandLine,        st.table.RenWuHover,
                st.table.TanHover,          st.settlement.TaskType};
        for (const rules::HandRecord &h : st.rules.HandRecords)
            v.insert(v.end(), {h.cardCount, h.rowX, h.rowY});
        for (const auto &row : st.play.TableCards)
            v.insert(v.end(), row.begin(), row.end());
        v.insert(v.end(), st.play.BackCount.begin(), st.play.BackCount.end());
        v.insert(v.end(), st.play.SeatBombCount.begin(), st.play.SeatBombCount.end());
        return v;
    };
    f.ClearTable();
    const auto onceLook = look();
    const auto onceValues = values();
    f.ClearTable();
    EXPECT_TRUE(look() == onceLook);
    EXPECT_EQ(values(), onceValues);
}

// The running totals of the hall of fame are emptied only before the first
// finished hand at the table.
TEST(ClearTable, HallOfFameTotalsOnlyBeforeTheFirstFinishedHand)
{
    Table t(kFullScreen[0], kFullScreen[1]);
    const int before = t.settlement.heroTotalsCleared;
    t.form().ClearTable();
    EXPECT_EQ(t.settlement.heroTotalsCleared, before + 1);
    t.state.settlement.JuNum = 3;
    t.form().ClearTable();
    EXPECT_EQ(t.settlement.heroTotalsCleared, before + 1);
}

// In a room with wealth doubling the wealth note keeps its caption and
// visibility.
TEST(ClearTable, WealthDoublingKeepsTheWealthNote)
{
    Table t(kFullScreen[0], kFullScreen[1]);
    MainForm &f = t.form();
    t.state.core.WealthDouble = 2;
    f.bid.lbwealth.setCaption(QStringLiteral("2"));
    f.bid.lbwealth.setVisible(true);
    f.bid.Imgwealth.setVisible(true);
    f.ClearTable();
    EXPECT_EQ(f.bid.lbwealth.Caption(), QStringLiteral("2"));
    EXPECT_TRUE(f.bid.lbwealth.Visible());
    EXPECT_TRUE(f.bid.Imgwealth.Visible());
}

// The hand line is 0 until the table is first cleared.
TEST(ClearTable, HandLineIsUnsetBeforeTheFirstClearing)
{
    Table t(kSmallScreen[0], kSmallScreen[1], Table::Stage::PlayLayout);
    EXPECT_EQ(t.state.table.HandLine, 0);
    t.form().ClearTable();
    EXPECT_EQ(t.state.table.HandLine, 441);
}

// Every seat's speech bubble is closed, even while it fades in; a window
// whose tag only starts like a bubble's is left open.
TEST(ClearTable, ClosesTheSpeechBubblesByTheirTags)
{
    Table t(kFullScreen[0], kFullScreen[1]);
    struct Window
    {
        QString tag;
        bool closes;
    };
    const Window windows[] = {{QStringLiteral("speak0"), true},  {QStringLiteral("speak1"), true},
                              {QStringLiteral("speak2"), true},  {QStringLiteral("speak3"), true},
                              {QStringLiteral("speak4"), false}, {QStringLiteral("speakx"), false},
                              {QStringLiteral("speak"), false},  {QString(), false}};
    std::vector<QPointer<forms::PopupWindow>> open;
    QTimer *fading = nullptr;
    for (const Window &w : windows) {
        auto *window = new forms::PopupWindow();
        chat::setWindowTag(*window, w.tag);
        window->show();
        open.emplace_back(window);
    }
    fading = new QTimer(open[1]);
    fading->setObjectName(QLatin1String(chat::kFadeTimerName));
    fading->start(50);

    t.form().ClearTable();
    EXPECT_FALSE(fading->isActive());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (std::size_t i = 0; i < std::size(windows); ++i) {
        SCOPED_TRACE(windows[i].tag.toStdString());
        EXPECT_EQ(open[i].isNull(), windows[i].closes);
        if (!open[i].isNull()) {
            EXPECT_TRUE(open[i]->isVisible());
            delete open[i];
        }
    }
}

// A clearing that comes before the play layout has created the further
// elements of the groups clears what exists and leaves the rest to the
// layout.
TEST(ClearTable, BeforeThePlayLayoutClearsWhatExists)
{
    Table t(kFullScreen[0], kFullScreen[1], Table::Stage::SeatLayout);
    MainForm &f = t.form();
    f.hands.cardImage0(0).setVisible(true);
    f.ClearTable();
    EXPECT_FALSE(f.hands.cardImage0(0).Visible());
    EXPECT_FALSE(f.hands.cardImage0.isLoaded(1));
    EXPECT_EQ(t.state.table.HandLine, 565);
    EXPECT_EQ(t.state.core.LandlordPos, -1);
}

TEST(Rounding, SixteenBitValuesRoundHalvesToEven)
{
    struct Case
    {
        double in;
        std::int16_t out;
    };
    const Case cases[]
            = {{441.40625, 441}, {390.625, 391}, {335.9375, 336}, {92.5, 92},    {93.5, 94},
               {93.75, 94},      {-2.5, -2},     {1e9, 32767},    {-1e9, -32768}};
    for (const Case &c : cases)
        EXPECT_EQ(roundToInt16(c.in), c.out) << c.in;
}

INSTANTIATE_TEST_SUITE_P(Layouts, ClearTableTest, kBothLayouts, scaleName);

} // namespace tessaroc::table::test
