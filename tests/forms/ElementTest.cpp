#include "forms/Image.h"
#include "forms/Label.h"
#include "forms/Surface.h"
#include "forms/Units.h"

#include <gtest/gtest.h>

#include <limits>

using namespace tessaroc::forms;

namespace {

QPixmap solid(int w, int h, QColor color)
{
    QPixmap pixmap(w, h);
    pixmap.fill(color);
    return pixmap;
}

} // namespace

TEST(LayoutScale, ReducedLayoutKeepsFractions)
{
    const LayoutScale reduced = LayoutScale::reduced();
    EXPECT_TRUE(reduced.isReduced());
    EXPECT_FALSE(LayoutScale::full().isReduced());
    // The own avatar of the reduced layout, and the offset of the clock's
    // seconds label: both fractional, both kept.
    EXPECT_EQ(reduced.y(668), 521.875);
    EXPECT_EQ(reduced.x(10), 7.8125);
    EXPECT_EQ(reduced.x(31), 24.21875);
    EXPECT_EQ(LayoutScale::full().x(858), 858.0);
}

TEST(Units, TwipsAreFifteenToAPixel)
{
    EXPECT_EQ(twipsToPixels(11940), 796);
    EXPECT_EQ(pixelsToTwips(1040), 15600);
    EXPECT_EQ(twipsToPixels(2670), 178);
}

TEST(Element, GeometryIsStoredUnrounded)
{
    Surface surface;
    Image image(&surface);
    const LayoutScale s = LayoutScale::reduced();
    image.Move(s.x(10), s.y(668), s.x(85), s.y(90));
    EXPECT_EQ(image.Left(), 7.8125);
    EXPECT_EQ(image.Top(), 521.875);
    EXPECT_EQ(image.Width(), 66.40625);
    EXPECT_EQ(image.Height(), 70.3125);
    image.setTop(image.Top() - image.Height() / 5);
    EXPECT_EQ(image.Top(), 521.875 - 14.0625);
}

struct PaintRectCase
{
    double left, top, width, height;
    QRect expected;
};

void PrintTo(const PaintRectCase &c, std::ostream *os)
{
    *os << c.left << ", " << c.top << ", " << c.width << " x " << c.height;
}

class PaintRect : public ::testing::TestWithParam<PaintRectCase>
{
};

// Edges are rounded, not the size: two elements that meet in the model meet
// on the screen.
TEST_P(PaintRect, RoundsEdges)
{
    const PaintRectCase &c = GetParam();
    Image image;
    image.Move(c.left, c.top, c.width, c.height);
    EXPECT_EQ(image.paintRect(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Element, PaintRect,
                         ::testing::Values(PaintRectCase{0, 0, 10, 10, QRect(0, 0, 10, 10)},
                                           PaintRectCase{7.8125, 521.875, 66.40625, 70.3125,
                                                         QRect(8, 522, 66, 70)},
                                           PaintRectCase{0.4, 0.6, 0.4, 0.4, QRect(0, 1, 1, 0)},
                                           PaintRectCase{-2.5, 3.5, 5, 5, QRect(-3, 4, 6, 5)}),
                         [](const auto &param) { return std::to_string(param.index); });

TEST(Element, RefusesValuesThatAreNotSizes)
{
    Image image;
    image.Move(1, 2, 3, 4);
    image.setWidth(-5);
    image.setHeight(std::numeric_limits<double>::quiet_NaN());
    image.setLeft(std::numeric_limits<double>::infinity());
    EXPECT_EQ(image.rect(), QRectF(1, 2, 3, 4));
}

TEST(Element, ZOrderBringsToFrontOrSendsToBack)
{
    Surface surface;
    Image a(&surface), b(&surface), c(&surface);
    EXPECT_EQ(a.zSequence(), 0);
    EXPECT_EQ(c.zSequence(), 2);
    a.ZOrder(0);
    EXPECT_EQ(a.zSequence(), 2);
    EXPECT_EQ(b.zSequence(), 0);
    c.ZOrder(1);
    EXPECT_EQ(c.zSequence(), 0);
    b.ZOrder(7);
    EXPECT_EQ(b.zSequence(), 1);

    Image alone;
    alone.ZOrder(0);
    EXPECT_EQ(alone.zSequence(), -1);
}

TEST(Element, DestroyedElementLeavesItsSurface)
{
    Surface surface;
    Image kept(&surface);
    {
        Image gone(&surface);
        EXPECT_EQ(surface.elements().size(), 2u);
    }
    EXPECT_EQ(surface.elements().size(), 1u);
    auto *lateSurface = new Surface;
    Image outliving(lateSurface);
    delete lateSurface;
    EXPECT_EQ(outliving.container(), nullptr);
}

TEST(Image, WithoutStretchTakesThePictureSize)
{
    Image image;
    image.Move(5, 6, 90, 120);
    image.setPicture(solid(92, 122, Qt::red), 3);
    EXPECT_EQ(image.rect(), QRectF(5, 6, 92, 122));
    EXPECT_EQ(image.Picture(), 3);

    image.setStretch(true);
    image.Move(5, 6, 90, 120);
    image.setPicture(solid(72, 95, Qt::red), 303);
    EXPECT_EQ(image.rect(), QRectF(5, 6, 90, 120));

    image.clearPicture();
    EXPECT_EQ(image.Picture(), 0);
    EXPECT_EQ(image.rect(), QRectF(5, 6, 90, 120));
}

TEST(Label, FollowsTheContainersFontUntilGivenItsOwn)
{
    Surface surface;
    QFont tableFont = surface.font();
    tableFont.setPointSizeF(7.8125);
    surface.setFont(tableFont);
    Label label(&surface);
    EXPECT_FALSE(label.hasOwnFont());
    EXPECT_EQ(label.Font().pointSizeF(), 7.8125);
    QFont own;
    own.setPointSizeF(10.5);
    label.setFont(own);
    EXPECT_EQ(label.Font().pointSizeF(), 10.5);
}
