#include "forms/Label.h"
#include "forms/ControlArray.h"
#include "forms/Fonts.h"
#include "forms/Surface.h"

#include <QFontMetricsF>

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

// The rows of a picture that carry any ink, as [first, last].
std::pair<int, int> inkRows(const QImage &shot)
{
    int first = -1;
    int last = -1;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (shot.pixelColor(x, y) != QColor(Qt::black)) {
                if (first < 0)
                    first = y;
                last = y;
                break;
            }
    return {first, last};
}

} // namespace

// A title one design line high in a substituted Chinese face, whose line is
// far taller than its size: its glyphs show whole rather than their upper
// part only.
TEST(LabelShorterThanItsLine, ShowsWholeGlyphs)
{
    installFontSubstitutions();
    const QFont font = designFont(QStringLiteral("隶书"), 14.25);
    Label title;
    title.setFont(font);
    title.setCaption(QStringLiteral("玩家昵称"));
    title.Move(10, 20, 90, 19);
    ASSERT_GT(QFontMetricsF(font).height(), title.Height()) << "the case this is about";
    Label roomy;
    roomy.setFont(font);
    roomy.setCaption(title.Caption());
    roomy.Move(10, 20, 90, 60);
    const auto [top, bottom] = inkRows(drawn(title));
    const auto [roomyTop, roomyBottom] = inkRows(drawn(roomy));
    EXPECT_GE(top, 20);
    EXPECT_LE(bottom, 20 + 18);
    EXPECT_EQ(bottom - top, roomyBottom - roomyTop);
}
