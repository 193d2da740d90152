#include "forms/PopupWindow.h"
#include "forms/Fonts.h"
#include "forms/Image.h"

#include "MouseInput.h"

#include <QFontInfo>

#include <gtest/gtest.h>

using namespace tessaroc::forms;

TEST(PopupWindow, IsFramelessAndTranslucentByDefault)
{
    PopupWindow popup;
    EXPECT_TRUE(popup.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(popup.isWindow());
    EXPECT_DOUBLE_EQ(popup.windowOpacity(), 200 / 255.0);
    popup.setTranslucent(false);
    EXPECT_DOUBLE_EQ(popup.windowOpacity(), 1.0);

    PopupWindow opaque({.translucent = false, .draggable = false});
    EXPECT_DOUBLE_EQ(opaque.windowOpacity(), 1.0);
    EXPECT_FALSE(opaque.isDraggable());
}

TEST(PopupWindow, GeometryInTwips)
{
    PopupWindow popup;
    popup.MoveTwips(1500, 3000, 2670, 945);
    EXPECT_EQ(popup.geometry(), QRect(100, 200, 178, 63));
    EXPECT_EQ(popup.WidthTwips(), 2670);
    EXPECT_EQ(popup.HeightTwips(), 945);
    EXPECT_EQ(popup.LeftTwips(), 1500);
    // 7 twips is less than half a pixel; 8 is more.
    popup.MoveTwips(7, 8);
    EXPECT_EQ(popup.pos(), QPoint(0, 1));
}

TEST(PopupWindow, CentresOnTheTableWindow)
{
    QWidget table;
    table.setGeometry(100, 50, 1024, 768);
    PopupWindow popup;
    popup.resize(320, 180);
    popup.centreOn(table);
    EXPECT_EQ(popup.frameGeometry().center(), table.frameGeometry().center());
}

TEST(PopupWindow, DraggedByItsClientAreaOnly)
{
    PopupWindow popup;
    popup.setGeometry(100, 100, 320, 180);
    Image button(&popup);
    button.Move(56, 112, 70, 29);
    mouse_input::press(popup, Qt::LeftButton, QPoint(10, 10));
    mouse_input::move(popup, QPoint(40, 30), Qt::LeftButton);
    mouse_input::release(popup, Qt::LeftButton, QPoint(40, 30));
    EXPECT_EQ(popup.pos(), QPoint(130, 120));

    mouse_input::press(popup, Qt::LeftButton, QPoint(60, 120));
    mouse_input::move(popup, QPoint(90, 140), Qt::LeftButton);
    mouse_input::release(popup, Qt::LeftButton, QPoint(90, 140));
    EXPECT_EQ(popup.pos(), QPoint(130, 120));

    popup.setDraggable(false);
    mouse_input::press(popup, Qt::LeftButton, QPoint(10, 10));
    mouse_input::move(popup, QPoint(40, 30), Qt::LeftButton);
    mouse_input::release(popup, Qt::LeftButton, QPoint(40, 30));
    EXPECT_EQ(popup.pos(), QPoint(130, 120));
}

struct FontCase
{
    const char16_t *family;
    const char *resolvedPrefix;
};

void PrintTo(const FontCase &c, std::ostream *os)
{
    *os << QString::fromUtf16(c.family).toStdString();
}

class DesignFonts : public ::testing::TestWithParam<FontCase>
{
};

// The design's font names resolve to installed faces that carry the Chinese
// glyphs (or, for the Latin sans face, the Latin ones).
TEST_P(DesignFonts, MapOntoInstalledFaces)
{
    installFontSubstitutions();
    const QFont font = designFont(QString::fromUtf16(GetParam().family), 14.25, true);
    EXPECT_EQ(font.pointSizeF(), 14.25);
    EXPECT_TRUE(font.bold());
    EXPECT_TRUE(QFontInfo(font).family().startsWith(QLatin1String(GetParam().resolvedPrefix)))
            << QFontInfo(font).family().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Fonts, DesignFonts,
                         ::testing::Values(FontCase{u"宋体", "Noto Serif CJK"},
                                           FontCase{u"黑体", "Noto Sans CJK"},
                                           FontCase{u"楷体_GB2312", "Noto Serif CJK"},
                                           FontCase{u"隶书", "Noto Serif CJK"},
                                           FontCase{u"MS Sans Serif", "DejaVu Sans"}),
                         [](const auto &param) { return std::to_string(param.index); });
