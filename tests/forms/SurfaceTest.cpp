#include "forms/Surface.h"
#include "forms/Image.h"
#include "forms/Label.h"

#include "Grab.h"

#include "MouseInput.h"

#include <QHelpEvent>
#include <QSignalSpy>
#include <QToolTip>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>

using namespace tessaroc::forms;

namespace {

QPixmap solid(int w, int h, QColor color)
{
    QPixmap pixmap(w, h);
    pixmap.fill(color);
    return pixmap;
}

QColor pixelAt(QWidget &widget, int x, int y)
{
    return widget.grab().toImage().pixelColor(x, y);
}

class SurfaceTest : public ::testing::Test
{
protected:
    SurfaceTest()
    {
        surface.resize(200, 100);
        surface.setPicture(solid(200, 100, Qt::darkGreen), 0);
        back.setPicture(solid(60, 60, Qt::red), 1);
        back.Move(10, 10);
        front.setPicture(solid(60, 60, Qt::blue), 2);
        front.Move(40, 20);
    }

    Surface surface;
    Image back{&surface};
    Image front{&surface};
};

} // namespace

TEST_F(SurfaceTest, PaintsElementsFromBackToFront)
{
    EXPECT_EQ(pixelAt(surface, 50, 30), QColor(Qt::blue));
    EXPECT_EQ(pixelAt(surface, 20, 20), QColor(Qt::red));
    EXPECT_EQ(pixelAt(surface, 150, 50), QColor(Qt::darkGreen));

    back.ZOrder(0);
    EXPECT_EQ(pixelAt(surface, 50, 30), QColor(Qt::red));

    back.setVisible(false);
    EXPECT_EQ(pixelAt(surface, 20, 20), QColor(Qt::darkGreen));
    EXPECT_EQ(pixelAt(surface, 50, 30), QColor(Qt::blue));
}

// A background made on first use is made once, when it is painted or read,
// and never when another picture takes its place first.
TEST_F(SurfaceTest, BackgroundMadeOnFirstUseIsMadeOnceAndOnlyWhenNeeded)
{
    int made = 0;
    const auto maker = [&made] {
        ++made;
        return solid(200, 100, Qt::darkCyan);
    };

    surface.setPictureOnFirstUse(maker, 7);
    EXPECT_EQ(made, 0);
    EXPECT_EQ(surface.Picture(), 7);
    EXPECT_EQ(pixelAt(surface, 150, 50), QColor(Qt::darkCyan));
    EXPECT_EQ(surface.picture().size(), QSize(200, 100));
    EXPECT_EQ(made, 1);

    Surface other;
    other.setPictureOnFirstUse(maker, 3);
    EXPECT_EQ(other.picture().size(), QSize(200, 100));
    EXPECT_EQ(other.picture().size(), QSize(200, 100));
    EXPECT_EQ(made, 2);

    Surface replaced;
    replaced.resize(200, 100);
    replaced.setPictureOnFirstUse(maker, 3);
    replaced.setPicture(solid(200, 100, Qt::yellow), 4);
    EXPECT_EQ(pixelAt(replaced, 10, 10), QColor(Qt::yellow));
    EXPECT_EQ(made, 2);

    // A maker that gives nothing leaves no picture and no id.
    Surface empty;
    empty.setPictureOnFirstUse([] { return QPixmap(); }, 5);
    EXPECT_TRUE(empty.picture().isNull());
    EXPECT_EQ(empty.Picture(), 0);
}

TEST_F(SurfaceTest, RoundsFractionalPlacesOnlyWhenPainting)
{
    front.Move(99.6, 20.4);
    EXPECT_EQ(front.Left(), 99.6);
    EXPECT_EQ(pixelAt(surface, 99, 30), QColor(Qt::darkGreen));
    EXPECT_EQ(pixelAt(surface, 100, 20), QColor(Qt::blue));
    EXPECT_EQ(pixelAt(surface, 159, 79), QColor(Qt::blue));
    EXPECT_EQ(pixelAt(surface, 160, 30), QColor(Qt::darkGreen));
}

TEST_F(SurfaceTest, StretchedPictureFillsTheElement)
{
    Image stretched(&surface);
    stretched.setStretch(true);
    stretched.Move(100, 0, 100, 100);
    stretched.setPicture(solid(10, 10, Qt::yellow), 3);
    EXPECT_EQ(pixelAt(surface, 199, 99), QColor(Qt::yellow));
    EXPECT_EQ(pixelAt(surface, 100, 0), QColor(Qt::yellow));
}

TEST_F(SurfaceTest, WindowedChildrenLieAboveEveryElement)
{
    QWidget child(&surface);
    child.setAutoFillBackground(true);
    QPalette palette = child.palette();
    palette.setColor(QPalette::Window, Qt::white);
    child.setPalette(palette);
    child.setGeometry(45, 25, 10, 10);
    front.ZOrder(0);
    EXPECT_EQ(pixelAt(surface, 50, 30), QColor(Qt::white));
}

TEST_F(SurfaceTest, LabelDrawsItsCaption)
{
    Label label(&surface);
    label.Move(100, 40, 90, 40);
    label.setForeColor(Qt::white);
    label.setFont(QFont(QStringLiteral("DejaVu Sans"), 20));
    label.setCaption(QStringLiteral("13"));
    const QImage shot = surface.grab().toImage();
    int lit = 0;
    for (int y = 40; y < 80; ++y)
        for (int x = 100; x < 190; ++x)
            lit += shot.pixelColor(x, y) != QColor(Qt::darkGreen);
    EXPECT_GT(lit, 20);

    label.setBackStyle(Label::BackStyle::Opaque);
    label.setBackColor(Qt::black);
    EXPECT_EQ(pixelAt(surface, 188, 78), QColor(Qt::black));
}

TEST_F(SurfaceTest, PressGoesToTheTopmostVisibleElement)
{
    QSignalSpy backDown(&back, &Element::MouseDown);
    QSignalSpy frontDown(&front, &Element::MouseDown);
    QSignalSpy surfaceDown(&surface, &Surface::MouseDown);

    mouse_input::press(surface, Qt::RightButton, QPoint(50, 30));
    mouse_input::release(surface, Qt::RightButton, QPoint(50, 30));
    ASSERT_EQ(frontDown.count(), 1);
    EXPECT_EQ(frontDown[0][0].toInt(), mouse::kRight);
    EXPECT_EQ(frontDown[0][2].toDouble(), 10.0);
    EXPECT_EQ(frontDown[0][3].toDouble(), 10.0);
    EXPECT_EQ(backDown.count(), 0);

    front.setVisible(false);
    mouse_input::click(surface, Qt::LeftButton, QPoint(50, 30), Qt::ShiftModifier);
    ASSERT_EQ(backDown.count(), 1);
    EXPECT_EQ(backDown[0][1].toInt(), shift::kShift);

    mouse_input::click(surface, Qt::LeftButton, QPoint(150, 80));
    ASSERT_EQ(surfaceDown.count(), 1);
    EXPECT_EQ(surfaceDown[0][2].toDouble(), 150.0);
}

TEST_F(SurfaceTest, PressOnAnElementWithoutHandlerIsSwallowed)
{
    QSignalSpy surfaceDown(&surface, &Surface::MouseDown);
    mouse_input::click(surface, Qt::RightButton, QPoint(20, 20));
    EXPECT_EQ(surfaceDown.count(), 0);
}

TEST_F(SurfaceTest, DisabledElementPassesInputToTheSurface)
{
    QSignalSpy frontDown(&front, &Element::MouseDown);
    QSignalSpy backDown(&back, &Element::MouseDown);
    QSignalSpy surfaceDown(&surface, &Surface::MouseDown);
    front.setEnabled(false);
    mouse_input::click(surface, Qt::LeftButton, QPoint(50, 30));
    EXPECT_EQ(frontDown.count(), 0);
    EXPECT_EQ(backDown.count(), 0);
    EXPECT_EQ(surfaceDown.count(), 1);
}

TEST_F(SurfaceTest, ClickNeedsPressAndReleaseOnTheElement)
{
    QSignalSpy clicks(&front, &Element::Click);
    QSignalSpy ups(&front, &Element::MouseUp);
    mouse_input::click(surface, Qt::LeftButton, QPoint(50, 30));
    EXPECT_EQ(clicks.count(), 1);

    mouse_input::click(surface, Qt::RightButton, QPoint(50, 30));
    EXPECT_EQ(clicks.count(), 1);

    // Pressed on the element and released outside it: the element still gets
    // the release (it holds the mouse), but no click.
    mouse_input::press(surface, Qt::LeftButton, QPoint(50, 30));
    mouse_input::move(surface, QPoint(180, 90), Qt::LeftButton);
    mouse_input::release(surface, Qt::LeftButton, QPoint(180, 90));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(ups.count(), 3);
    EXPECT_EQ(ups.last()[2].toDouble(), 140.0);
}

TEST_F(SurfaceTest, DoubleClickRaisesBothPressesAndTheDoubleClick)
{
    QSignalSpy downs(&front, &Element::MouseDown);
    QSignalSpy doubles(&front, &Element::DblClick);
    mouse_input::doubleClick(surface, Qt::LeftButton, QPoint(50, 30));
    EXPECT_EQ(downs.count(), 2);
    EXPECT_EQ(doubles.count(), 1);
}

TEST_F(SurfaceTest, MovesReachTheElementUnderThePointer)
{
    QSignalSpy frontMoves(&front, &Element::MouseMove);
    QSignalSpy surfaceMoves(&surface, &Surface::MouseMove);
    mouse_input::move(surface, QPoint(50, 30));
    mouse_input::move(surface, QPoint(150, 90));
    EXPECT_EQ(frontMoves.count(), 1);
    EXPECT_EQ(surfaceMoves.count(), 1);
}

TEST_F(SurfaceTest, PointerFollowsTheElementUnderIt)
{
    front.setMousePointer(MousePointer::Custom);
    front.setMouseIcon(QCursor(solid(32, 32, Qt::black), 12, 4));
    mouse_input::move(surface, QPoint(50, 30));
    EXPECT_EQ(surface.cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(surface.cursor().hotSpot(), QPoint(12, 4));
    mouse_input::move(surface, QPoint(150, 90));
    EXPECT_EQ(surface.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(SurfaceTest, TooltipComesFromTheElementUnderThePointer)
{
    surface.show();
    front.setToolTipText(QStringLiteral("单击打开您的道具仓库"));
    QHelpEvent overFront(QEvent::ToolTip, QPoint(50, 30), surface.mapToGlobal(QPoint(50, 30)));
    QApplication::sendEvent(&surface, &overFront);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("单击打开您的道具仓库"));
    QHelpEvent overBack(QEvent::ToolTip, QPoint(15, 15), surface.mapToGlobal(QPoint(15, 15)));
    QApplication::sendEvent(&surface, &overBack);
    EXPECT_FALSE(overBack.isAccepted());
}

TEST_F(SurfaceTest, ElementDestroyedInItsOwnHandlerIsSafe)
{
    auto *doomed = new Image(&surface);
    doomed->Move(0, 0, 200, 100);
    QObject::connect(doomed, &Element::MouseDown, [&] { delete doomed; });
    mouse_input::click(surface, Qt::LeftButton, QPoint(50, 30));
    EXPECT_EQ(surface.elements().size(), 2u);
}

TEST_F(SurfaceTest, GrabHelperWritesAPicture)
{
    const QString path = tessaroc::test::grabToPng(surface, QStringLiteral("forms_surface"));
    ASSERT_FALSE(path.isEmpty());
    QImage written(path);
    EXPECT_EQ(written.size(), QSize(200, 100));
}

namespace {

// An element that runs a handler when it is painted, as the animated picture
// raises its frame report from its paint.
class ReportingImage : public Image
{
public:
    using Image::Image;
    std::function<void()> onPaint;

    void paint(QPainter &painter, const QRect &r) override
    {
        Image::paint(painter, r);
        if (auto handler = std::exchange(onPaint, nullptr))
            handler();
    }
};

} // namespace

// A handler run from a paint may create and destroy elements of the same
// surface; the painting goes on over what the surface holds then.
TEST_F(SurfaceTest, HandlerRunFromAPaintMayChangeTheElements)
{
    ReportingImage reporter(&surface);
    reporter.setPicture(solid(20, 20, Qt::yellow), 4);
    reporter.Move(150, 10);
    front.ZOrder(0);
    std::vector<std::unique_ptr<Image>> made;
    auto *doomed = new Image(&surface);
    doomed->setPicture(solid(20, 20, Qt::black), 5);
    doomed->Move(150, 60);
    reporter.onPaint = [&] {
        for (int i = 0; i < 64; ++i)
            made.push_back(std::make_unique<Image>(&surface));
        made.back()->setPicture(solid(10, 10, Qt::magenta), 6);
        made.back()->Move(180, 80);
        delete doomed;
    };
    const QImage shot = surface.grab().toImage();
    EXPECT_EQ(shot.pixelColor(155, 15), QColor(Qt::yellow));
    EXPECT_EQ(shot.pixelColor(50, 30), QColor(Qt::blue));
    EXPECT_EQ(surface.elements().size(), 3u + 64u);
    EXPECT_EQ(pixelAt(surface, 185, 85), QColor(Qt::magenta));
    EXPECT_EQ(pixelAt(surface, 155, 65), QColor(Qt::darkGreen));
}
