// Every text of the table window and its pop-ups shows whole, at either
// scale: no glyph of it is cut at the edge of the element that shows it, and
// the characters drawn are the text's own, up to where the element's lines
// end. A text with a line that does not show is a fault, except in the few
// labels whose sizes on the table leave no room for their longest text
// (listed per window below, with the room they have).
#include "Grab.h"
#include "UnclippedCanvas.h"
#include "WholeTableClient.h"

#include "core/services/TableWindow.h"
#include "forms/FittedText.h"
#include "forms/Label.h"
#include "forms/Surface.h"
#include "settlement/HeroWindow.h"
#include "settlement/ScoreWindow.h"
#include "table/HoverPictures.h"
#include "table/Information.h"
#include "table/MingXiWindow.h"
#include "table/OtherExitDialog.h"
#include "table/ReconnectWindow.h"
#include "table/SystemMessageLine.h"
#include "wire/ReceivedFrames.h"

#include <QAbstractItemDelegate>
#include <QPainter>
#include <QRegularExpression>
#include <QStyleOptionViewItem>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace tessaroc::table::test {
namespace {

// Room around a surface on the canvases, for ink that would fall outside.
constexpr int kMargin = 48;

// The pixels outside an element that a glyph covers enough to be seen.
int inkOutside(const QImage &canvas, const QRect &element)
{
    int pixels = 0;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if (!element.contains(x, y)
                && qAlpha(canvas.pixel(x, y)) >= forms::FittedText::kInkAlpha)
                ++pixels;
    return pixels;
}

bool showsOnly(const QImage &canvas, const QRect &element, QRgb background)
{
    for (int y = element.top(); y <= element.bottom(); ++y)
        for (int x = element.left(); x <= element.right(); ++x)
            if (canvas.pixel(x, y) != background)
                return false;
    return true;
}

// A text drawn by an element: the ink the unclipped drawing puts outside the
// element's rectangle is glyphs cut at its edge; a drawing into the element
// (clipped, as the window shows it) with nothing but the background shows
// nothing of the text.
struct Drawn
{
    int cutPixels = 0;
    bool blank = false;
};

template<typename Paint>
Drawn drawBothWays(QSize area, const QRect &element, QRgb background, Paint paint)
{
    const QSize canvasSize = area + QSize(2 * kMargin, 2 * kMargin);
    // What the window shows of the element: the part on the window.
    const QRect shown = element & QRect(QPoint(0, 0), area);
    const QRect onCanvas = shown.translated(kMargin, kMargin);
    QImage into(canvasSize, QImage::Format_ARGB32_Premultiplied);
    into.fill(Qt::transparent);
    {
        QPainter painter(&into);
        painter.translate(kMargin, kMargin);
        painter.setClipRect(shown);
        paint(painter);
    }
    tessaroc::test::UnclippedCanvas unclipped(canvasSize);
    {
        QPainter painter(&unclipped);
        painter.translate(kMargin, kMargin);
        paint(painter);
    }
    return {inkOutside(unclipped.image(), onCanvas), showsOnly(into, onCanvas, background)};
}

// The longest texts the table shows: a nickname as long as the user block
// holds, amounts of fifteen digits, and every kind of glyph the faces set
// tallest or deepest (ideographs, capitals with accents, descenders,
// full-width punctuation).
const QString kNickname = QStringLiteral("电脑一号的老船长小桃红云朵晨风");
const QString kLongest = QStringLiteral("电脑一号Ågjy的小号：-999999999999999金币，胜230败181！");

QString describe(const forms::Label &label)
{
    const QRectF r = label.rect();
    const QString kind = label.Index() >= 0 ? QStringLiteral("label(%1)").arg(label.Index())
                                            : QStringLiteral("label");
    return QStringLiteral("%1 on %2 at %3,%4 %5x%6")
            .arg(kind, label.container()->objectName())
            .arg(r.left())
            .arg(r.top())
            .arg(r.width())
            .arg(r.height());
}

// What went wrong with one text of one element, for the table of failures.
void report(QStringList &faults, const QString &where, const QString &text, const Drawn &drawn)
{
    if (drawn.cutPixels > 0)
        faults << QStringLiteral("%1 \"%2\": %3 pixels of ink cut off")
                          .arg(where, text)
                          .arg(drawn.cutPixels);
    if (drawn.blank)
        faults << QStringLiteral("%1 \"%2\": shows nothing").arg(where, text);
}

QString withoutSpaces(QString text)
{
    text.remove(QRegularExpression(QStringLiteral("\\s")));
    return text;
}

// Labels whose text the element's own sizes leave no room for: what shows
// of it is the text up to where the element's lines end.
struct NoRoom
{
    const forms::Label *label;
    const char *why;
};
using NoRoomList = std::vector<NoRoom>;

bool hasNoRoom(const NoRoomList &noRoom, const forms::Label &label)
{
    return std::any_of(noRoom.begin(), noRoom.end(),
                       [&](const NoRoom &n) { return n.label == &label; });
}

enum class Whole { Required, UpToItsLines };

// The label drawn with a text, both ways: no glyph of it cut at the edge;
// the characters drawn are the text's own in its order, none skipped, up to
// where the element's lines end; and, where it has to show whole, all of
// them.
void checkLabel(forms::Label &label, const QString &text, Whole whole, QStringList &faults)
{
    const QString caption = label.Caption();
    label.setCaption(text);
    const QRgb background = label.backStyle() == forms::Label::BackStyle::Opaque
            ? label.BackColor().rgba()
            : qRgba(0, 0, 0, 0);
    const QRect r = label.paintRect();
    const Drawn drawn = drawBothWays(label.container()->size(), r, background,
                                     [&](QPainter &painter) { label.paint(painter, r); });
    report(faults, describe(label), text, drawn);
    const QString shown = label.fitted() ? label.fitted()->shownLines().join(u'|') : QString();
    const QString shownCharacters = withoutSpaces(shown).remove(u'|');
    const QString characters = withoutSpaces(text);
    if (!characters.startsWith(shownCharacters))
        faults << QStringLiteral("%1 \"%2\": shows \"%3\", not the text up to where its lines end")
                          .arg(describe(label), text, shown);
    else if (whole == Whole::Required && shownCharacters != characters)
        faults << QStringLiteral("%1 \"%2\": shows only \"%3\"").arg(describe(label), text, shown);
    label.setCaption(caption);
}

void checkLine(SystemMessageLine &line, const QString &text, QStringList &faults)
{
    QListWidgetItem *item = line.item(0);
    const QString entry = item->text();
    item->setText(text);
    QStyleOptionViewItem option;
    option.initFrom(&line);
    option.widget = &line;
    option.font = line.font();
    option.rect = line.visualItemRect(item);
    option.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    const QModelIndex index = line.model()->index(0, 0);
    const Drawn drawn = drawBothWays(
            line.viewport()->size(), option.rect, qRgba(0, 0, 0, 0),
            [&](QPainter &painter) { line.itemDelegate()->paint(&painter, option, index); });
    report(faults, QStringLiteral("system line at %1,%2").arg(line.x()).arg(line.y()), text, drawn);
    item->setText(entry);
}

// Every text-bearing element of a window, each with the text it shows and
// with the longest text: the labels on the window and on every surface in
// it, and the system message lines.
QStringList checkWindow(QWidget &window, const NoRoomList &noRoom, int &checked)
{
    QStringList faults;
    QList<forms::Surface *> surfaces = window.findChildren<forms::Surface *>();
    if (auto *surface = qobject_cast<forms::Surface *>(&window))
        surfaces.prepend(surface);
    for (forms::Surface *surface : surfaces) {
        for (forms::Element *element : surface->elements()) {
            // A label wholly off its surface (a clock parked below the
            // table) shows nothing to check.
            auto *label = qobject_cast<forms::Label *>(element);
            if (!label || !label->paintRect().intersects(surface->rect()))
                continue;
            ++checked;
            if (!label->Caption().trimmed().isEmpty())
                checkLabel(*label, label->Caption(),
                           hasNoRoom(noRoom, *label) ? Whole::UpToItsLines : Whole::Required,
                           faults);
            checkLabel(*label, kLongest, Whole::UpToItsLines, faults);
        }
    }
    for (SystemMessageLine *line : window.findChildren<SystemMessageLine *>()) {
        if (line->count() == 0)
            continue;
        ++checked;
        checkLine(*line, line->item(0)->text(), faults);
        checkLine(*line, kLongest, faults);
    }
    return faults;
}

// --- The windows, opened as the table opens them, with their longest texts --

wire::MessageFrame resultFrame(std::uint8_t seat, std::uint8_t outcome, std::uint64_t amount,
                               bool landlord)
{
    wire::HandResultFrame f;
    f.seat = wire::SeatByte{seat};
    f.stake = 999999;
    f.cashUnit = 1;
    f.outcome = outcome;
    f.finalAmount = amount;
    f.amount1Sign = outcome;
    f.amount1 = amount;
    f.amount2Sign = outcome;
    f.amount2 = amount;
    f.baseSign = outcome;
    f.base = amount;
    f.total = amount;
    f.level = 39;
    f.capped = outcome == 2;
    wire::MessageFrame frame = f.encode();
    frame.setByte(153, landlord ? 1 : 0);
    return frame;
}

// A hand settled with the longest amounts, the own seat the landlord who
// won, on the usual board or the rule variant's.
void settleHand(offscreen::WholeTableClient &c, bool variant)
{
    c.state.core.RuleSetFlag = variant;
    constexpr std::uint64_t kAmount = 999999999999999;
    for (std::uint8_t seat : {1, 2, 4, 8}) {
        const bool own = seat == 1;
        const wire::MessageFrame frame = resultFrame(seat, own ? 1 : 2, kAmount, own);
        c.settlement.ClearScoreLists();
        if (variant)
            c.settlement.ShowScoreXi(frame);
        else
            c.settlement.ShowScore(frame);
    }
}

void seatLongestNames(offscreen::WholeTableClient &c)
{
    for (int p = 0; p < 4; ++p) {
        core::PlayerRecord &r = c.state.commands.custom[static_cast<std::size_t>(p)];
        r.nickname = (kNickname + QString::number(p)).toStdString();
        r.coins = 999999999999999;
        c.state.commands.ScoreNames[static_cast<std::size_t>(p)] = {r.nickname, "39"};
        c.settlement.SetSeat(p, QString::fromStdString(r.nickname), p);
    }
}

QWidget &openTable(offscreen::WholeTableClient &c)
{
    MainForm &f = c.form;
    c.window.SetCaption(QStringLiteral("Tessaroc - 高级场 188号桌 - ") + kNickname);
    f.area.Location.setCaption(QStringLiteral("高级场 188号桌"));
    for (int p = 0; p < 4; ++p) {
        f.seats.Nid(p).setCaption(kNickname);
        f.seats.Cash(p).setCaption(QStringLiteral("金币: 999999999999999"));
        f.seats.Level(p).setCaption(QStringLiteral("等级: 第三十九级"));
    }
    for (int p = 1; p <= 3; ++p)
        f.hands.Labrest(p).setCaption(QStringLiteral("33"));
    f.bid.lblDifen.setCaption(QStringLiteral("×64"));
    f.bid.lbwealth.setCaption(QStringLiteral("×64"));
    f.bid.lblBeishu.setCaption(QStringLiteral("本局倍数：×4096"));
    f.turn.Number.setCaption(QStringLiteral("25"));
    f.effects.LblShuffle.setCaption(QStringLiteral("正在随机换座中....."));
    f.messages.LbProp.setCaption(kNickname + QStringLiteral("对你使用了道具：鸡蛋"));
    f.messages.Proponeself.setCaption(QStringLiteral("你被扔了一个鸡蛋"));
    c.window.SetSystemLine(0, QStringLiteral("欢迎来到高级场，祝您游戏愉快！"));
    c.window.SetSystemLine(1, kNickname + QStringLiteral(" 叫了地主，jpgy。"));
    return f;
}

QWidget &openEmptyScoreBoard(offscreen::WholeTableClient &c)
{
    return c.tableSettlement.Score();
}

QWidget &openSettlementBoard(offscreen::WholeTableClient &c)
{
    seatLongestNames(c);
    settleHand(c, false);
    return c.tableSettlement.Score();
}

QWidget &openVariantBoard(offscreen::WholeTableClient &c)
{
    seatLongestNames(c);
    settleHand(c, true);
    return c.tableSettlement.Score();
}

QWidget &openHallOfFame(offscreen::WholeTableClient &c)
{
    seatLongestNames(c);
    settleHand(c, false);
    settleHand(c, false);
    c.settlement.ShowHero();
    return c.tableSettlement.Hero();
}

QWidget &openPlayerCard(offscreen::WholeTableClient &c)
{
    core::PlayerRecord &r = c.state.commands.custom[2];
    r.nickname = kNickname.toStdString();
    r.sex = 1;
    r.location = "黑龙江省齐齐哈尔市";
    r.points = 999999999;
    r.credit = 999999999;
    r.logins = 999999999;
    r.disconnects = 999999999;
    r.wins = 999999999;
    r.losses = 999999999;
    c.form.hover().Tou_MouseMove(2);
    return c.form.hover().information();
}

QWidget &openLeaveDialog(offscreen::WholeTableClient &c)
{
    c.state.rules.InGame = true;
    c.form.ShowLeaveDialog();
    return c.form.frmExit();
}

QWidget &openLeaveNotice(offscreen::WholeTableClient &c)
{
    OtherExitDialog &notice = c.window.otherExit();
    notice.Label1.setCaption(QStringLiteral("您的金币不足，不能继续游戏，请到银行取款后再来！"));
    notice.showOver(c.form);
    return notice;
}

QWidget &openReconnect(offscreen::WholeTableClient &c)
{
    // The program keeps it beside the table; here the table owns it.
    auto *window = new ReconnectWindow(&c.form);
    window->Load();
    window->SetCountdownText(QStringLiteral("30 秒后自动重连"));
    return *window;
}

// The labels of a window whose sizes, as the table is laid out, leave no
// room for all of the longest text they can be given.
using NoRoomOf = std::function<NoRoomList(offscreen::WholeTableClient &)>;

NoRoomList roomForAll(offscreen::WholeTableClient &)
{
    return {};
}

// A nickname is up to 32 bytes, sixteen ideographs. The seats' name labels
// share one size; the top right one, at Left 852 of the 1024-pixel table,
// has 172 pixels before the table's edge, fewer than sixteen ideographs take
// even at the smallest legible size.
NoRoomList seatNames(offscreen::WholeTableClient &c)
{
    NoRoomList noRoom;
    for (int p = 0; p < 4; ++p)
        noRoom.push_back({&c.form.seats.Nid(p), "a seat's name: 16 ideographs, 172 pixels"});
    return noRoom;
}

// The boards' and the hall of fame's names are 570 x 210 twips in 宋体
// 10.5 pt: two ideographs.
template<typename Board>
NoRoomList boardNames(Board &board)
{
    NoRoomList noRoom;
    for (int p = 0; p < 4; ++p)
        noRoom.push_back({&board.ID(p), "a board's name: 570 x 210 twips, two ideographs"});
    return noRoom;
}

NoRoomList scoreBoardNames(offscreen::WholeTableClient &c)
{
    return boardNames(c.tableSettlement.Score());
}

NoRoomList hallOfFameNames(offscreen::WholeTableClient &c)
{
    return boardNames(c.tableSettlement.Hero());
}

// The player card is 3300 twips wide and its values start at 1920: 92
// pixels, five ideographs of 12 pt for the nickname and the place.
NoRoomList playerCardTexts(offscreen::WholeTableClient &c)
{
    Information &card = c.form.hover().information();
    return {{&card.Inf(0), "the card's nickname: 92 pixels, five ideographs"},
            {&card.Inf(2), "the card's place: 92 pixels, five ideographs"}};
}

QWidget &openTaskWindow(offscreen::WholeTableClient &c)
{
    MingXiWindow &task = c.form.frmMingXi();
    task.Labxianshi1.setCaption(QStringLiteral("本局喜金任务：打出一个八张的炸弹"));
    task.Labxianshi2.setCaption(QStringLiteral("完成任务奖励：999999金币，已完成 3 次"));
    task.resizeToDesign();
    task.show();
    return task;
}

struct WindowCase
{
    const char *name;
    const char *grab;
    std::function<QWidget &(offscreen::WholeTableClient &)> open;
    NoRoomOf noRoom = roomForAll;
};

const WindowCase kWindows[] = {
        {"Table", "table", openTable, seatNames},
        {"EmptyScoreBoard", "empty_score_board", openEmptyScoreBoard, scoreBoardNames},
        {"SettlementBoard", "settlement_board", openSettlementBoard, scoreBoardNames},
        {"VariantBoard", "variant_board", openVariantBoard, scoreBoardNames},
        {"HallOfFame", "hall_of_fame", openHallOfFame, hallOfFameNames},
        {"PlayerCard", "player_card", openPlayerCard, playerCardTexts},
        {"LeaveDialog", "leave_dialog", openLeaveDialog},
        {"LeaveNotice", "leave_notice", openLeaveNotice},
        {"Reconnect", "reconnect", openReconnect},
        {"TaskWindow", "task_window", openTaskWindow},
};

struct Case
{
    const WindowCase *window;
    bool reduced;
};

void PrintTo(const Case &c, std::ostream *os)
{
    *os << c.window->name << (c.reduced ? " reduced" : " full");
}

std::vector<Case> allCases()
{
    std::vector<Case> cases;
    for (const WindowCase &window : kWindows)
        for (bool reduced : {false, true})
            cases.push_back({&window, reduced});
    return cases;
}

class WholeText : public ::testing::TestWithParam<Case>
{
};

// Each window with its longest texts: every label and system line shows its
// glyphs whole, at the full scale on a framed screen and on the reduced
// table. The windows stay as pictures for a person to look at:
// grabs/whole_text_<window>_{full,reduced}.png.
TEST_P(WholeText, NoGlyphIsCutAtTheEdgeOfItsElement)
{
    const Case &c = GetParam();
    offscreen::WholeTableClient client(offscreen::WholeTableClient::Items::None,
                                       c.reduced ? QSize(800, 600) : QSize(1280, 1024));
    ASSERT_EQ(client.state.table.scale.isReduced(), c.reduced);
    QWidget &window = c.window->open(client);
    client.runEvents();

    int checked = 0;
    const QStringList faults = checkWindow(window, c.window->noRoom(client), checked);
    EXPECT_GT(checked, 0) << "no text-bearing element found";
    EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();

    tessaroc::test::grabToPng(
            window,
            QStringLiteral("whole_text_%1_%2")
                    .arg(QString::fromLatin1(c.window->grab),
                         c.reduced ? QStringLiteral("reduced") : QStringLiteral("full")));
}

INSTANTIATE_TEST_SUITE_P(Windows, WholeText, ::testing::ValuesIn(allCases()),
                         [](const auto &param) {
                             return std::string(param.param.window->name)
                                     + (param.param.reduced ? "Reduced" : "Full");
                         });

// --- The turn and ready clocks, whose seconds are one word of two digits ----

struct ClockPlace
{
    const char *name;
    std::function<void(offscreen::WholeTableClient &, int seconds)> show;
};

using ClockKind = core::services::TableWindow::ClockKind;

const ClockPlace kClockPlaces[] = {
        {"own play", [](auto &c, int s) { c.window.ShowTurnClock(ClockKind::Play, 0, s); }},
        {"left play", [](auto &c, int s) { c.window.ShowTurnClock(ClockKind::Play, 1, s); }},
        {"top play", [](auto &c, int s) { c.window.ShowTurnClock(ClockKind::Play, 2, s); }},
        {"right play", [](auto &c, int s) { c.window.ShowTurnClock(ClockKind::Play, 3, s); }},
        {"own bid", [](auto &c, int s) { c.window.ShowTurnClock(ClockKind::Bid, 0, s); }},
        {"ready",
         [](auto &c, int s) {
             c.window.PlaceReadyClockAndShuffle();
             c.window.ShowClockHere(s);
         }},
};

class ClockSeconds : public ::testing::TestWithParam<bool>
{
};

// Every clock, at every count it shows, shows both digits whole in its
// seconds label at either scale: 19 seconds never reads as 1.
TEST_P(ClockSeconds, ShowBothDigitsWhole)
{
    const bool reduced = GetParam();
    offscreen::WholeTableClient c(offscreen::WholeTableClient::Items::None,
                                  reduced ? QSize(800, 600) : QSize(1280, 1024));
    forms::Label &number = c.form.turn.Number;
    QStringList faults;
    for (const ClockPlace &place : kClockPlaces) {
        for (int seconds : {9, 10, 15, 19, 20, 99}) {
            place.show(c, seconds);
            const QString where = QStringLiteral("%1 clock").arg(QString::fromLatin1(place.name));
            QStringList found;
            checkLabel(number, number.Caption(), Whole::Required, found);
            for (const QString &fault : found)
                faults << where + QStringLiteral(": ") + fault;
        }
    }
    EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Scales, ClockSeconds, ::testing::Values(false, true),
                         [](const auto &param) { return param.param ? "Reduced" : "Full"; });

// The wealth multiplier is the smallest positive wealth at the table, any
// 32-bit value: every size of it shows whole, at either scale, in the font
// and place its size picks.
TEST(WealthNumber, ShowsEveryDigitAtEitherScale)
{
    for (bool reduced : {false, true}) {
        offscreen::WholeTableClient c(offscreen::WholeTableClient::Items::None,
                                      reduced ? QSize(800, 600) : QSize(1280, 1024));
        QStringList faults;
        for (std::int32_t value : {1, 99, 100, 99999, 2147483647}) {
            c.window.ShowWealth(value);
            checkLabel(c.form.bid.lbwealth, QString::number(value), Whole::Required, faults);
        }
        c.runEvents();
        tessaroc::test::grabToPng(c.form, reduced ? QStringLiteral("wealth_reduced")
                                                  : QStringLiteral("wealth_full"));
        EXPECT_TRUE(faults.isEmpty())
                << (reduced ? "reduced: " : "full: ") << faults.join(QLatin1Char('\n')).toStdString();
    }
}

} // namespace
} // namespace tessaroc::table::test
