#include "forms/Label.h"
#include "UnclippedCanvas.h"
#include "forms/ControlArray.h"
#include "forms/FittedText.h"
#include "forms/Fonts.h"
#include "forms/Surface.h"

#include <QFontMetricsF>
#include <QPainter>

#include <gtest/gtest.h>

using namespace tessaroc::forms;

namespace {

struct AutoSizeCase
{
    const char16_t *caption;
    const char16_t *family;
    double points;
};

void PrintTo(const AutoSizeCase &c, std::ostream *os)
{
    *os << QString::fromUtf16(c.caption).toStdString() << " in "
        << QString::fromUtf16(c.family).toStdString() << ' ' << c.points;
}

// The label alone on a black surface, its text in white.
QImage drawn(Label &label)
{
    Surface surface;
    surface.resize(600, 120);
    surface.setPalette(QPalette(Qt::black));
    surface.setAutoFillBackground(true);
    label.setContainer(&surface);
    label.setForeColor(Qt::white);
    QImage shot = surface.grab().toImage();
    label.setContainer(nullptr);
    return shot;
}

class LabelAutoSize : public ::testing::TestWithParam<AutoSizeCase>
{
protected:
    LabelAutoSize() { installFontSubstitutions(); }
};

} // namespace

// A self-sizing label is exactly one line of its caption: the left and top
// stay, and it shows the same ink as a label far larger than its text, so
// nothing is cut at its edges and nothing wraps.
TEST_P(LabelAutoSize, FitsOneLineOfItsCaption)
{
    const AutoSizeCase &c = GetParam();
    const QFont font = designFont(QString::fromUtf16(c.family), c.points);
    const QString caption = QString::fromUtf16(c.caption);

    Label fitted;
    fitted.Move(10, 7, 30, 5);
    fitted.setFont(font);
    fitted.setAutoSize(true);
    fitted.setCaption(caption);
    EXPECT_EQ(fitted.Left(), 10);
    EXPECT_EQ(fitted.Top(), 7);
    const QFontMetricsF metrics(font);
    EXPECT_GE(fitted.Height(), metrics.height());
    EXPECT_LT(fitted.Height(), metrics.height() + metrics.lineSpacing() / 2) << "one line only";
    EXPECT_GE(fitted.Width(), metrics.horizontalAdvance(caption));
    EXPECT_LT(fitted.Width(), metrics.horizontalAdvance(caption) + 1);

    Label roomy;
    roomy.Move(10, 7, 580, 110);
    roomy.setFont(font);
    roomy.setCaption(caption);
    EXPECT_EQ(drawn(fitted), drawn(roomy));
}

INSTANTIATE_TEST_SUITE_P(Captions, LabelAutoSize,
                         ::testing::Values(AutoSizeCase{u"13", u"DejaVu Sans", 20},
                                           AutoSizeCase{u"老船长的小号", u"宋体", 12},
                                           AutoSizeCase{u"性    别", u"隶书", 14.25},
                                           AutoSizeCase{u"a nickname with spaces in it",
                                                        u"DejaVu Sans", 9},
                                           AutoSizeCase{u"Wy", u"DejaVu Serif", 30}),
                         [](const auto &param) { return std::to_string(param.index); });

// The size follows every later change of the caption or the font; turning
// the switch off keeps the size it had; a label loaded into a control array
// sizes itself like the one it copies.
TEST(LabelAutoSizeSwitch, FollowsCaptionAndFontWhileOn)
{
    installFontSubstitutions();
    Surface surface;
    ControlArray<Label> values(&surface);
    Label &label = values(0);
    label.Move(20, 30, 50, 12);
    label.setCaption(QStringLiteral("12"));
    EXPECT_EQ(label.rect(), QRectF(20, 30, 50, 12)) << "off by default";

    label.setFont(designFont(QStringLiteral("宋体"), 12));
    label.setAutoSize(true);
    const QSizeF shortSize = label.rect().size();
    EXPECT_LT(shortSize.width(), 50);
    label.setCaption(QStringLiteral("一个很长很长的昵称"));
    const QSizeF longSize = label.rect().size();
    EXPECT_GT(longSize.width(), 4 * shortSize.width());
    EXPECT_EQ(longSize.height(), shortSize.height());
    setFontSize(label, 24);
    EXPECT_GT(label.Width(), 1.8 * longSize.width());
    EXPECT_GT(label.Height(), 1.8 * longSize.height());
    EXPECT_EQ(label.Left(), 20);
    EXPECT_EQ(label.Top(), 30);

    Label &copy = values.Load(1);
    copy.setCaption(QStringLiteral("12"));
    EXPECT_TRUE(copy.AutoSize());
    EXPECT_LT(copy.Width(), label.Width() / 4);

    label.setAutoSize(false);
    const QRectF kept = label.rect();
    label.setCaption(QStringLiteral("1"));
    EXPECT_EQ(label.rect(), kept);
}

namespace {

constexpr int kMargin = 40;

// The label on a surface of the given size, drawn with no clip at all on a
// canvas with room around the surface: its glyphs' ink wherever they put it.
// The canvas is in surface pixels moved by kMargin.
QImage unclipped(Label &label, QSize surfaceSize)
{
    Surface surface;
    surface.resize(surfaceSize);
    label.setContainer(&surface);
    tessaroc::test::UnclippedCanvas canvas(surfaceSize + QSize(2 * kMargin, 2 * kMargin));
    {
        QPainter painter(&canvas);
        painter.translate(kMargin, kMargin);
        label.paint(painter, label.paintRect());
    }
    label.setContainer(nullptr);
    return canvas.image();
}

// The smallest rectangle (in surface pixels) that holds the canvas's ink.
QRect inkBox(const QImage &canvas)
{
    QRect box;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if (qAlpha(canvas.pixel(x, y)) >= FittedText::kInkAlpha)
                box |= QRect(x - kMargin, y - kMargin, 1, 1);
    return box;
}

Label &text(Label &label, const QFont &font, const QString &caption, QRectF rect)
{
    label.setFont(font);
    label.setCaption(caption);
    label.Move(rect.left(), rect.top(), rect.width(), rect.height());
    return label;
}

struct ShortLabelCase
{
    const char16_t *family;
    double points;
    const char16_t *caption;
    int height;
    bool keepsItsSize;
};

void PrintTo(const ShortLabelCase &c, std::ostream *os)
{
    *os << QString::fromUtf16(c.caption).toStdString() << " in "
        << QString::fromUtf16(c.family).toStdString() << ' ' << c.points << " in " << c.height
        << " pixels";
}

class LabelShorterThanItsLine : public ::testing::TestWithParam<ShortLabelCase>
{
protected:
    LabelShorterThanItsLine() { installFontSubstitutions(); }
};

} // namespace

// Labels one design line high in a substituted Chinese face, whose line is
// far taller than its size: the glyphs show whole inside the label, in the
// design's size where their ink fits the label's height (the player card's
// titles, the leave dialog's question), else in the largest size that fits
// (the score board's headings, the system lines).
TEST_P(LabelShorterThanItsLine, ShowsItsGlyphsWhole)
{
    const ShortLabelCase &c = GetParam();
    const QFont font = designFont(QString::fromUtf16(c.family), c.points);
    const QString caption = QString::fromUtf16(c.caption);
    Label label;
    text(label, font, caption, QRectF(10, 20, 400, c.height));
    ASSERT_GT(QFontMetricsF(font).height(), label.Height()) << "the case this is about";
    Label roomy;
    text(roomy, font, caption, QRectF(10, 20, 400, 80));

    const QRect ink = inkBox(unclipped(label, QSize(600, 120)));
    const QRect roomyInk = inkBox(unclipped(roomy, QSize(600, 120)));
    EXPECT_TRUE(label.paintRect().contains(ink)) << "ink at " << ink.top() << ".." << ink.bottom();
    if (c.keepsItsSize) {
        EXPECT_EQ(ink.size(), roomyInk.size());
    } else {
        EXPECT_LT(ink.width(), roomyInk.width());
        EXPECT_GE(ink.height(), c.height * 8 / 10) << "no smaller than it needs to be";
    }
}

INSTANTIATE_TEST_SUITE_P(
        Captions, LabelShorterThanItsLine,
        ::testing::Values(ShortLabelCase{u"隶书", 14.25, u"玩家昵称", 19, true},
                          ShortLabelCase{u"宋体", 14.25, u"您真的要退出吗？", 22, true},
                          ShortLabelCase{u"宋体", 10.5, u"玩家0", 14, false},
                          ShortLabelCase{u"宋体", 9, u"欢迎来到新手场，祝您游戏愉快！", 13, false},
                          ShortLabelCase{u"宋体", 8, u"老船长 叫了地主。jpgy", 10, false},
                          ShortLabelCase{u"宋体", 10.5, u"player0", 14, false}),
        [](const auto &param) { return std::to_string(param.index); });

namespace {

// Where each band of ink rows starts and ends, from the top.
std::vector<std::pair<int, int>> inkBands(const QImage &canvas)
{
    std::vector<std::pair<int, int>> bands;
    bool inBand = false;
    for (int y = 0; y < canvas.height(); ++y) {
        bool ink = false;
        for (int x = 0; x < canvas.width() && !ink; ++x)
            ink = qAlpha(canvas.pixel(x, y)) != 0;
        if (ink && !inBand)
            bands.emplace_back(y, y);
        if (ink)
            bands.back().second = y;
        inBand = ink;
    }
    return bands;
}

} // namespace

// A caption that wraps to more lines than the label holds: the lines that fit
// show exactly as in a label tall enough for all, and of the next line
// nothing shows, not even its top.
TEST(LabelLines, ShowTheLinesThatFitAndNothingOfTheNext)
{
    installFontSubstitutions();
    const QFont font = designFont(QStringLiteral("宋体"), 14.25);
    const QString caption = QStringLiteral("您的金币不足，不能继续游戏，请到银行取款后再来！");
    const double lineHeight = QFontMetricsF(font).lineSpacing();
    Label label;
    text(label, font, caption, QRectF(32, 40, 150, 2.6 * lineHeight));
    Label roomy;
    text(roomy, font, caption, QRectF(32, 40, 150, 8 * lineHeight));

    const QImage shown = unclipped(label, QSize(320, 240));
    QImage all = unclipped(roomy, QSize(320, 240));
    const auto bands = inkBands(all);
    ASSERT_GE(bands.size(), 3u) << "three lines at least";
    EXPECT_EQ(inkBands(shown).size(), 2u);
    QPainter painter(&all);
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.fillRect(QRect(0, bands[1].second + 1, all.width(), all.height()), Qt::transparent);
    painter.end();
    EXPECT_EQ(shown, all);
}

struct OverflowCase
{
    const char *what;
    QRectF rect;
    const char16_t *caption;
    bool autoSize;
    Label::Alignment alignment;
};

void PrintTo(const OverflowCase &c, std::ostream *os)
{
    *os << c.what;
}

class LabelWiderThanItsRoom : public ::testing::TestWithParam<OverflowCase>
{
protected:
    LabelWiderThanItsRoom() { installFontSubstitutions(); }
};

// A caption wider than the room the label has for it shows the letters that
// fit, whole, up to the edge: a word longer than the label's width, and a
// label running past its surface's edge (a self-sizing one on the player
// card with a long nickname).
TEST_P(LabelWiderThanItsRoom, ShowsWholeLettersUpToTheEdge)
{
    const OverflowCase &c = GetParam();
    const QSize surface(200, 100);
    Label label;
    label.setAlignment(c.alignment);
    text(label, designFont(QStringLiteral("宋体"), 12), QString::fromUtf16(c.caption), c.rect);
    label.setAutoSize(c.autoSize);
    const QRect room = label.paintRect() & QRect(QPoint(0, 0), surface);
    const QRect ink = inkBox(unclipped(label, surface));
    EXPECT_FALSE(ink.isEmpty());
    EXPECT_TRUE(room.contains(ink)) << "ink from " << ink.left() << " to " << ink.right()
                                    << ", room from " << room.left() << " to " << room.right();
}

INSTANTIATE_TEST_SUITE_P(
        Captions, LabelWiderThanItsRoom,
        ::testing::Values(OverflowCase{"long word", QRectF(20, 10, 45, 40), u"Jiggly_pygmy_99",
                                       false, Label::Alignment::Left},
                          OverflowCase{"long word centred", QRectF(20, 10, 45, 40),
                                       u"Jiggly_pygmy_99", false, Label::Alignment::Center},
                          OverflowCase{"past the right edge", QRectF(128, 40, 50, 20),
                                       u"电脑一号的老船长小桃红云朵晨风", true,
                                       Label::Alignment::Left},
                          OverflowCase{"past the left edge", QRectF(-3, 40, 120, 60),
                                       u"你被扔了一个鸡蛋", false, Label::Alignment::Left}),
        [](const auto &param) { return std::to_string(param.index); });

namespace {

struct WordsCase
{
    const char *what;
    const char16_t *family;
    double points;
    QSizeF size;
    const char16_t *caption;
    // The lines that show, from the top; a line ending in '~' shows the
    // beginning of the text before the '~', cut at the label's edge.
    std::vector<const char16_t *> lines;
    bool shrunk;
};

void PrintTo(const WordsCase &c, std::ostream *os)
{
    *os << c.what;
}

class LabelWords : public ::testing::TestWithParam<WordsCase>
{
protected:
    LabelWords() { installFontSubstitutions(); }
};

} // namespace

// A caption breaks only where a label breaks it: at spaces and between
// ideographs, never inside a number or a word. A word too wide for the label
// stays whole on its line and the caption is set smaller until it fits; only
// below a legible size is the word cut at the edge. The clock's seconds, two
// digits, show both at either scale.
TEST_P(LabelWords, BreakAtSpacesAndIdeographsOnly)
{
    const WordsCase &c = GetParam();
    const QFont font = designFont(QString::fromUtf16(c.family), c.points);
    Label label;
    text(label, font, QString::fromUtf16(c.caption), QRectF(QPointF(10, 10), c.size));
    const QRect ink = inkBox(unclipped(label, QSize(200, 120)));
    ASSERT_NE(label.fitted(), nullptr);
    const FittedText &fitted = *label.fitted();

    ASSERT_EQ(fitted.shownLines().size(), static_cast<qsizetype>(c.lines.size()))
            << fitted.shownLines().join(u'|').toStdString();
    for (std::size_t i = 0; i < c.lines.size(); ++i) {
        const QString expected = QString::fromUtf16(c.lines[i]);
        const QString shown = fitted.shownLines()[static_cast<qsizetype>(i)];
        if (expected.endsWith(u'~')) {
            EXPECT_TRUE(expected.startsWith(shown) && !shown.isEmpty())
                    << "line " << i << ": " << shown.toStdString();
        } else {
            EXPECT_EQ(shown, expected) << "line " << i;
        }
    }
    const int given = qRound(c.points * 96 / 72);
    if (c.shrunk)
        EXPECT_LT(fitted.pixelSize(), given);
    else
        EXPECT_EQ(fitted.pixelSize(), given);
    EXPECT_GE(fitted.pixelSize(), std::min(given, FittedText::kLegiblePixels));
    EXPECT_TRUE(label.paintRect().contains(ink)) << "no glyph cut at the edge";
}

constexpr double kReduced = 0.78125;

INSTANTIATE_TEST_SUITE_P(
        Captions, LabelWords,
        ::testing::Values(
                WordsCase{"clock 19", u"黑体", 18, {27, 24}, u"19", {u"19"}, false},
                WordsCase{"clock 10", u"黑体", 18, {27, 24}, u"10", {u"10"}, false},
                WordsCase{"clock 9", u"黑体", 18, {27, 24}, u"9", {u"9"}, false},
                // A screen of more dots per inch sets 18 points in more
                // pixels: the two digits are wider than the label.
                WordsCase{"clock 19 on a denser screen", u"黑体", 21, {27, 24}, u"19", {u"19"},
                          true},
                WordsCase{"clock 19 reduced", u"黑体", 12, {27 * kReduced, 24 * kReduced}, u"19",
                          {u"19"}, false},
                WordsCase{"clock 99 reduced", u"黑体", 12, {27 * kReduced, 24 * kReduced}, u"99",
                          {u"99"}, false},
                WordsCase{"at a space", u"宋体", 12, {60, 60}, u"abc defg", {u"abc ", u"defg"},
                          false},
                WordsCase{"between ideographs", u"宋体", 10.5, {38, 14}, u"二号电脑", {u"二号"},
                          true},
                WordsCase{"a number stays whole", u"宋体", 12, {60, 60}, u"12345678 9",
                          {u"12345678 ", u"9"}, true},
                WordsCase{"too wide even when small", u"宋体", 12, {45, 40}, u"Jiggly_pygmy_99",
                          {u"Jiggly_pygmy_99~"}, true}),
        [](const auto &param) { return std::to_string(param.index); });
