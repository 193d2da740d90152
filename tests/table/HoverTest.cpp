#include "TableFixture.h"

#include "table/HoverPictures.h"
#include "table/Information.h"
#include "table/TablePictures.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QTimer>

#include <string>
#include <vector>

namespace tessaroc::table::test {
namespace {

// A pointer move over an element, as the window routes it: through the table
// area at the element's centre.
void moveOver(MainForm &form, const forms::Element &element)
{
    mouse::move(form.area.Pic1.widget(), mouse::centre(element));
}

// A move over the table area where no element lies (just under the top bar).
void moveOverTable(MainForm &form)
{
    const QPointF free(500 * form.area.Pic1->width() / 1024.0,
                       200 * form.area.Pic1->height() / 768.0);
    ASSERT_EQ(form.area.Pic1->elementAt(free), nullptr);
    mouse::move(form.area.Pic1.widget(), free);
}

// One step of a hover walk: where the pointer goes.
enum class Over {
    Table,
    BottomBar,
    TopBar,
    RoomStrip,
    AnNiu3,
    AnNiu4,
    AnNiu2,
    Operation0,
    Operation3,
    Bid0,
    Bid1,
    Choice0,
    Word1,
    Word2,
    Bank,
};

void go(Table &t, Over over)
{
    MainForm &f = t.form();
    HoverPictures &hover = f.hover();
    switch (over) {
    case Over::Table:
        moveOverTable(f);
        break;
    case Over::BottomBar:
        hover.imgDilan_MouseMove();
        break;
    case Over::TopBar:
        hover.imgDinglan_MouseMove();
        break;
    case Over::RoomStrip:
        hover.imgLocation_MouseMove();
        break;
    case Over::AnNiu3:
        moveOver(f, f.toolbar.AnNiu(3));
        break;
    case Over::AnNiu4:
        moveOver(f, f.toolbar.AnNiu(4));
        break;
    case Over::AnNiu2:
        moveOver(f, f.toolbar.AnNiu(2));
        break;
    case Over::Operation0:
        moveOver(f, f.actions.Operation(0));
        break;
    case Over::Operation3:
        moveOver(f, f.actions.Operation(3));
        break;
    case Over::Bid0:
        moveOver(f, f.bid.btnJiaofen(0));
        break;
    case Over::Bid1:
        moveOver(f, f.bid.btnJiaofen(1));
        break;
    case Over::Choice0:
        hover.tanOperation_MouseMove(0);
        break;
    case Over::Word1:
        moveOver(f, f.area.imgword1);
        break;
    case Over::Word2:
        moveOver(f, f.area.imgword2);
        break;
    case Over::Bank:
        moveOver(f, f.toolbar.Bank);
        break;
    }
}

// What a control shows after the walk: its picture at each scale.
struct Shown
{
    const char *control;
    int full;
    int reduced;
};

struct HoverCase
{
    const char *name;
    std::vector<Over> walk;
    std::vector<Shown> shown;
};

int pictureOf(MainForm &f, const std::string &control)
{
    if (control == "AnNiu2")
        return f.toolbar.AnNiu(2).Picture();
    if (control == "AnNiu3")
        return f.toolbar.AnNiu(3).Picture();
    if (control == "AnNiu4")
        return f.toolbar.AnNiu(4).Picture();
    if (control == "Operation0")
        return f.actions.Operation(0).Picture();
    if (control == "Operation3")
        return f.actions.Operation(3).Picture();
    if (control == "Bid0")
        return f.bid.btnJiaofen(0).Picture();
    if (control == "Bid1")
        return f.bid.btnJiaofen(1).Picture();
    if (control == "Choice0")
        return f.actions.tanOperation(0).Picture();
    if (control == "Word1")
        return f.area.imgword1.Picture();
    if (control == "Word2")
        return f.area.imgword2.Picture();
    if (control == "Bank")
        return f.toolbar.Bank.Picture();
    ADD_FAILURE() << "no control " << control;
    return -1;
}

const HoverCase kHoverCases[] = {
        {"ToolbarButtonsStayLitUntilTheTableIsCrossed",
         {Over::AnNiu3, Over::AnNiu4},
         {{"AnNiu3", 159, 290}, {"AnNiu4", 161, 292}}},
        {"TheTableTakesBothBack",
         {Over::AnNiu3, Over::AnNiu4, Over::Table},
         {{"AnNiu3", 158, 289}, {"AnNiu4", 160, 291}}},
        {"TheBottomBarTakesThemBack", {Over::AnNiu3, Over::BottomBar}, {{"AnNiu3", 158, 289}}},
        {"TheTopBarLeavesThemLit", {Over::AnNiu3, Over::TopBar}, {{"AnNiu3", 159, 290}}},
        {"ReadyButtonFirstStartPair", {Over::AnNiu2}, {{"AnNiu2", 155, 286}}},
        {"ActionButtons",
         {Over::Operation0, Over::Operation3},
         {{"Operation0", 179, 179}, {"Operation3", 188, 188}}},
        {"ActionButtonsBackFromTheBottomBar",
         {Over::Operation0, Over::Operation3, Over::BottomBar},
         {{"Operation0", 178, 178}, {"Operation3", 187, 187}}},
        {"BidButtonsWaitForTheFirstCrossing", {Over::Bid0}, {{"Bid0", 202, 202}}},
        {"OneBidButtonAtATime",
         {Over::Table, Over::Bid0, Over::Bid1},
         {{"Bid0", 207, 207}, {"Bid1", 184, 184}}},
        {"CrossingTheTableReArmsTheBidButtons",
         {Over::Table, Over::Bid0, Over::Table, Over::Bid1},
         {{"Bid0", 202, 202}, {"Bid1", 185, 185}}},
        {"ChoiceButtonBackFromTheTableOnly",
         {Over::Choice0, Over::BottomBar},
         {{"Choice0", 206, 206}}},
        {"ChoiceButtonBack", {Over::Choice0, Over::Table}, {{"Choice0", 201, 201}}},
        {"PhraseButtonsBackFromTheRoomStrip",
         {Over::Word1, Over::Word2, Over::Table},
         {{"Word1", 518, 518}, {"Word2", 519, 519}}},
        {"RoomStripTakesThemBack",
         {Over::Word1, Over::Word2, Over::RoomStrip},
         {{"Word1", 516, 516}, {"Word2", 517, 517}}},
        {"BankBackFromTheTable", {Over::Bank, Over::Table}, {{"Bank", 600, 600}}},
        {"BankLit", {Over::Bank, Over::BottomBar}, {{"Bank", 601, 601}}},
};

class Hover : public ::testing::TestWithParam<std::tuple<HoverCase, bool>>
{
};

TEST_P(Hover, Walk)
{
    const auto &[c, reduced] = GetParam();
    Table t(reduced ? kSmallScreen[0] : kFullScreen[0], reduced ? kSmallScreen[1] : kFullScreen[1]);
    MainForm &f = t.form();
    // What a hand start shows: the first-start ready button, the action and
    // bid buttons in their normal pictures.
    t.state.loop.FirstStartPending = true;
    for (int b : {0, 3}) {
        f.actions.Operation(b).setVisible(true);
        f.actions.Operation(b).setEnabled(true);
        f.actions.Operation(b).ZOrder(0);
    }
    loadPicture(f.actions.Operation(0), 178);
    loadPicture(f.actions.Operation(3), 187);
    f.bid.btnJiaofen(0).Move(300, 480);
    for (int i : {0, 1}) {
        loadPicture(f.bid.btnJiaofen(i), i == 0 ? 202 : 184);
        f.bid.btnJiaofen(i).setVisible(true);
        f.bid.btnJiaofen(i).setEnabled(true);
        f.bid.btnJiaofen(i).ZOrder(0);
    }
    loadPicture(f.actions.tanOperation(0), 201);
    for (Over over : c.walk)
        go(t, over);
    for (const Shown &shown : c.shown)
        EXPECT_EQ(pictureOf(f, shown.control), reduced ? shown.reduced : shown.full)
                << shown.control;
}

INSTANTIATE_TEST_SUITE_P(Walks, Hover,
                         ::testing::Combine(::testing::ValuesIn(kHoverCases), ::testing::Bool()),
                         [](const auto &param) {
                             return std::string(std::get<0>(param.param).name)
                                     + (std::get<1>(param.param) ? "Reduced" : "Full");
                         });

TEST(HoverReady, AfterTheFirstHandTheReadyButtonUsesItsUsualPair)
{
    Table t(kFullScreen[0], kFullScreen[1]);
    t.state.settlement.JuNum = 1;
    t.state.loop.FirstStartPending = true;
    t.form().hover().AnNiu_MouseMove(2);
    EXPECT_EQ(t.form().toolbar.AnNiu(2).Picture(), 157);
    t.form().hover().Pic1_MouseMove();
    EXPECT_EQ(t.form().toolbar.AnNiu(2).Picture(), 156);
}

TEST(HoverTooltips, MultipliersNameTheirValueWhileTheyAreInForce)
{
    Table t(kFullScreen[0], kFullScreen[1]);
    MainForm &f = t.form();
    HoverPictures &hover = f.hover();
    f.bid.lblDifen.setCaption(QStringLiteral("3"));
    f.bid.lbwealth.setCaption(QStringLiteral("8"));
    hover.imgBeishu1_MouseMove();
    hover.Imgwealth_MouseMove();
    EXPECT_TRUE(f.bid.imgBeishu1.ToolTipText().isEmpty()) << "no multiplier, no tooltip";
    EXPECT_TRUE(f.bid.Imgwealth.ToolTipText().isEmpty());

    t.state.commands.ShowCardDouble = 1;
    t.state.core.WealthDouble = 1;
    hover.imgBeishu1_MouseMove();
    hover.Imgwealth_MouseMove();
    for (const forms::Element *e : {static_cast<forms::Element *>(&f.bid.imgBeishu1),
                                    static_cast<forms::Element *>(&f.bid.lblDifen)})
        EXPECT_EQ(e->ToolTipText(), QStringLiteral("亮牌加倍 ×3"));
    for (const forms::Element *e : {static_cast<forms::Element *>(&f.bid.Imgwealth),
                                    static_cast<forms::Element *>(&f.bid.lbwealth)})
        EXPECT_EQ(e->ToolTipText(), QStringLiteral("财富加倍 ×8"));
    // The text follows the label's caption at the next move.
    f.bid.lblDifen.setCaption(QStringLiteral("6"));
    hover.imgBeishu1_MouseMove();
    EXPECT_EQ(f.bid.lblDifen.ToolTipText(), QStringLiteral("亮牌加倍 ×6"));
    // With the multiplier gone the tooltip stays as it was.
    t.state.commands.ShowCardDouble = 0;
    f.bid.lblDifen.setCaption(QStringLiteral("9"));
    hover.imgBeishu1_MouseMove();
    EXPECT_EQ(f.bid.lblDifen.ToolTipText(), QStringLiteral("亮牌加倍 ×6"));
}

// --- The player card --------------------------------------------------------------

void seatRecord(core::PlayerRecord &r, const char *nickname, std::uint8_t sex)
{
    r.nickname = nickname;
    r.sex = sex;
    r.location = "湖州";
    r.points = 1250;
    r.credit = 99.5;
    r.logins = 31;
    r.disconnects = 2;
    r.wins = 17;
    r.losses = 12;
}

class PlayerCard : public ::testing::TestWithParam<bool>
{
protected:
    PlayerCard()
        : t(GetParam() ? kSmallScreen[0] : kFullScreen[0],
            GetParam() ? kSmallScreen[1] : kFullScreen[1])
    {
        const char *names[] = {"晨风", "小桃红", "老船长", "云朵"};
        for (int p = 0; p <= 3; ++p)
            seatRecord(t.state.commands.custom[static_cast<std::size_t>(p)], names[p],
                       static_cast<std::uint8_t>(p));
    }
    Table t;
};

TEST_P(PlayerCard, PlacedBesideEverySeatAndFilledFromItsRecord)
{
    MainForm &f = t.form();
    HoverPictures &hover = f.hover();
    const bool reduced = GetParam();
    f.setLeft(3000);
    f.setTop(1500);
    const double left = f.area.Pic1.Left() + f.Left();
    const double top = f.area.Pic1.Top() + f.Top();
    for (int p = 0; p <= 3; ++p) {
        moveOverTable(f);
        ASSERT_FALSE(hover.information().isVisible());
        hover.Tou_MouseMove(p);
        Information &card = hover.information();
        ASSERT_TRUE(card.isVisible()) << p;
        double wantLeft = left;
        double wantTop = top + 0.11 * f.Height();
        if (p == 0)
            wantTop = reduced ? 0.3 * f.Height() : top + 0.42 * f.Height();
        else
            wantLeft = left + static_cast<std::int32_t>(std::nearbyint((p - 1) * f.Width())) / 3;
        EXPECT_NEAR(card.LeftTwips(), wantLeft, 7.5) << p;
        EXPECT_NEAR(card.TopTwips(), wantTop, 7.5) << p;
        const core::PlayerRecord &r = t.state.commands.custom[static_cast<std::size_t>(p)];
        EXPECT_EQ(card.Inf(0).Caption(), QString::fromStdString(r.nickname));
        EXPECT_EQ(card.Inf(1).Caption(), p == 0 ? QStringLiteral("女") : QStringLiteral("男"));
        EXPECT_EQ(card.Inf(2).Caption(), QStringLiteral("湖州"));
        EXPECT_EQ(card.Inf(3).Caption(), QStringLiteral("1250"));
        EXPECT_EQ(card.Inf(4).Caption(), QStringLiteral("99.5"));
        EXPECT_EQ(card.Inf(5).Caption(), QStringLiteral("31"));
        EXPECT_EQ(card.Inf(6).Caption(), QStringLiteral("2"));
        EXPECT_EQ(card.Inf(7).Caption(), QStringLiteral("17"));
        EXPECT_EQ(card.Inf(8).Caption(), QStringLiteral("12"));
    }
}

TEST_P(PlayerCard, TheSeatLabelsOpenItAndTheFirstSeatKeepsIt)
{
    MainForm &f = t.form();
    HoverPictures &hover = f.hover();
    moveOver(f, f.seats.Nid(0));
    ASSERT_TRUE(hover.information().isVisible());
    EXPECT_EQ(hover.information().Inf(0).Caption(), QStringLiteral("晨风"));
    // Straight onto another seat: the first seat's card stays.
    hover.Tou_MouseMove(2);
    EXPECT_EQ(hover.information().Inf(0).Caption(), QStringLiteral("晨风"));
    // The top bar hides it too.
    hover.imgDinglan_MouseMove();
    EXPECT_FALSE(hover.information().isVisible());
    // A seat without a nickname has no card.
    t.state.commands.custom[3].nickname.clear();
    hover.Tou_MouseMove(3);
    EXPECT_FALSE(hover.information().isVisible());
}

// The card's rows in twips as designed; the card keeps them at every table
// scale.
struct CardRow
{
    const char16_t *caption;
    double titleLeft;
    double titleWidth;
};
constexpr CardRow kCardRows[Information::kRows] = {
        {u"玩家昵称", 330, 1305}, {u"性    别", 360, 1260}, {u"所 在 地", 360, 1260},
        {u"积    分", 360, 1260}, {u"信 用 度", 360, 1260}, {u"登录次数", 360, 1275},
        {u"掉线次数", 360, 1275}, {u"胜场次数", 360, 1275}, {u"败场次数", 360, 1275},
};

TEST_P(PlayerCard, RowsAsDesignedAtEveryScale)
{
    Information &card = t.form().hover().information();
    EXPECT_EQ(card.objectName(), QStringLiteral("Information"));
    EXPECT_TRUE(card.isTranslucent());
    EXPECT_EQ(card.size(), QSize(3300 / 15, 4965 / 15));
    for (int i = 0; i < Information::kRows; ++i) {
        const CardRow &row = kCardRows[i];
        const double top = (600 + 480 * i) / 15.0;
        const forms::Label &title = card.Title(i);
        EXPECT_EQ(title.Caption(), QString::fromUtf16(row.caption)) << i;
        EXPECT_EQ(title.rect(), QRectF(row.titleLeft / 15, top, row.titleWidth / 15, 285.0 / 15))
                << i;
        EXPECT_EQ(title.Font().family(), QStringLiteral("隶书")) << i;
        EXPECT_EQ(title.Font().pointSizeF(), 14.25) << i;
        EXPECT_TRUE(QFontInfo(title.Font()).family().contains(QLatin1String("CJK")))
                << QFontInfo(title.Font()).family().toStdString();
        EXPECT_LE(QFontMetricsF(title.Font(), &card).horizontalAdvance(title.Caption()),
                  title.Width())
                << "the title of row " << i << " fits";

        const forms::Label &value = card.Inf(i);
        EXPECT_EQ(value.Left(), 1920 / 15) << i;
        EXPECT_EQ(value.Top(), top) << i;
        EXPECT_TRUE(value.AutoSize()) << i;
        EXPECT_EQ(value.Font().pointSizeF(), 12) << i;
        EXPECT_EQ(value.backStyle(), forms::Label::BackStyle::Transparent) << i;
        EXPECT_TRUE(title.Visible() && value.Visible()) << i;
    }
}

// The values size themselves to what the hover fills in: a long nickname
// widens its row rather than being cut at the design width.
TEST_P(PlayerCard, ValuesFollowTheirTexts)
{
    HoverPictures &hover = t.form().hover();
    const std::string longName = "一位名字非常非常长的老玩家";
    t.state.commands.custom[1].nickname = longName;
    hover.Tou_MouseMove(0);
    Information &card = hover.information();
    const double shortWidth = card.Inf(0).Width();
    QFontMetricsF metrics(card.Inf(0).Font(), &card);
    for (int i = 0; i < Information::kRows; ++i) {
        const forms::Label &value = card.Inf(i);
        EXPECT_GE(value.Width(), metrics.horizontalAdvance(value.Caption())) << i;
        EXPECT_LT(value.Width(), metrics.horizontalAdvance(value.Caption()) + 1) << i;
        EXPECT_GE(value.Height(), metrics.height()) << i;
    }
    hover.imgDilan_MouseMove();
    hover.Tou_MouseMove(1);
    ASSERT_EQ(card.Inf(0).Caption(), QString::fromStdString(longName));
    EXPECT_GT(card.Inf(0).Width(), 1020 / 15) << "wider than the design width";
    EXPECT_GT(card.Inf(0).Width(), 3 * shortWidth);
    EXPECT_EQ(card.Inf(0).Left(), 1920 / 15);
    EXPECT_EQ(card.Inf(0).Top(), 600 / 15);
}

INSTANTIATE_TEST_SUITE_P(Scales, PlayerCard, ::testing::Bool(),
                         [](const auto &param) { return param.param ? "Reduced" : "Full"; });

TEST(PlayerCardNumbers, GeneralFormat)
{
    EXPECT_EQ(GeneralNumber(0), QStringLiteral("0"));
    EXPECT_EQ(GeneralNumber(-42), QStringLiteral("-42"));
    EXPECT_EQ(GeneralNumber(1234567), QStringLiteral("1234567"));
    EXPECT_EQ(GeneralNumber(0.25), QStringLiteral("0.25"));
    EXPECT_EQ(GeneralNumber(123456789012345.0), QStringLiteral("123456789012345"));
    EXPECT_EQ(GeneralNumber(1e20), QStringLiteral("1E+20"));
}

// --- The task window --------------------------------------------------------------

// A table window on a second screen far to the right: every twips value of
// the fly-away is beyond 16 bits and still lands where it should.
TEST(TaskWindow, FliesToTheTaskIconFromFarOutOnTheDesktop)
{
    Table t(kFullScreen[0], kFullScreen[1]);
    MainForm &f = t.form();
    f.setLeft(50000);
    f.setTop(2000);
    HoverPictures &hover = f.hover();
    const TwipsPoint target = hover.MingXiFlyTarget();
    EXPECT_EQ(target.x, static_cast<std::int32_t>(50000 + 15 * f.area.imgRenWu.Left()));
    EXPECT_EQ(target.y, static_cast<std::int32_t>(2000 + f.Height() - 2000));
    MingXiWindow &task = f.frmMingXi();
    task.MoveTwips(60000, 4000, 4860, 2610);
    task.show();
    // The animation's pauses are on the table's clock; here it moves while
    // the pauses serve events.
    QTimer clockTick;
    QObject::connect(&clockTick, &QTimer::timeout, [&] { t.clock.advance(1); });
    clockTick.start(0);
    hover.MingXiFlyAnimation({60000, 4000}, target);
    EXPECT_FALSE(task.isVisible());
    EXPECT_NEAR(task.LeftTwips(), target.x, 7.5);
    EXPECT_NEAR(task.TopTwips(), target.y, 7.5);
    EXPECT_EQ(task.width(), 0);
}

TEST(TaskWindow, HoverOfTheTaskIconCentresItAndTheTableHidesItWhenDocked)
{
    for (bool reduced : {false, true}) {
        Table t(reduced ? kSmallScreen[0] : kFullScreen[0],
                reduced ? kSmallScreen[1] : kFullScreen[1]);
        MainForm &f = t.form();
        HoverPictures &hover = f.hover();
        hover.imgRenWu_MouseMove();
        EXPECT_EQ(f.area.imgRenWu.Picture(), reduced ? 200 : 195);
        MingXiWindow &task = f.frmMingXi();
        EXPECT_TRUE(task.isVisible());
        EXPECT_NEAR(task.LeftTwips(), (f.Width() - 4860) / 2 + f.Left(), 7.5);
        EXPECT_NEAR(task.TopTwips(),
                    (f.Height() - 2610) / 2 + f.Top() - (reduced ? 600 * 0.78125 : 0), 7.5);
        // Held by the dispatcher's presentation: the icon is put back, the
        // window stays.
        t.state.core.MingXiDocked = false;
        hover.Pic1_MouseMove();
        EXPECT_EQ(f.area.imgRenWu.Picture(), reduced ? 199 : 194);
        EXPECT_TRUE(task.isVisible());
        hover.imgRenWu_MouseMove();
        t.state.core.MingXiDocked = true;
        hover.imgDilan_MouseMove();
        EXPECT_FALSE(task.isVisible());
    }
}

} // namespace
} // namespace tessaroc::table::test
