#include "TableFixture.h"

#include "forms/Label.h"

#include <QSignalSpy>

namespace tessaroc::table::test {

namespace {

constexpr double px(double twips)
{
    return twips / 15;
}

bool shows(const forms::Image &button, const forms::Image &holder)
{
    return button.picture().cacheKey() == holder.picture().cacheKey();
}

QColor pixel(const QImage &image, int x, int y)
{
    return image.pixelColor(x, y);
}

} // namespace

// With the 16-pixel buttons of the design the close button stands 310 twips
// and the minimise button 580 twips left of the window's right edge; the drag
// strip runs from 290 twips to the minimise button and is 290 twips high.
TEST(SkinFrame, PlacesTheCaptionButtonsStripAndCaption)
{
    Table t(1280, 1024);
    MainForm &f = t.form();
    EXPECT_DOUBLE_EQ(f.frame.ImgClose(0).Left(), px(15600 - 310));
    EXPECT_DOUBLE_EQ(f.frame.ImgClose(0).Top(), px(25));
    EXPECT_DOUBLE_EQ(f.frame.ImgMin(0).Left(), px(15600 - 580));
    EXPECT_DOUBLE_EQ(f.frame.ImgMin(0).Top(), px(25));
    EXPECT_DOUBLE_EQ(f.frame.LbMove.Left(), px(290));
    EXPECT_DOUBLE_EQ(f.frame.LbMove.Top(), 0);
    EXPECT_DOUBLE_EQ(f.frame.LbMove.Width(), px(15600 - 580 - 290));
    EXPECT_DOUBLE_EQ(f.frame.LbMove.Height(), px(290));
    EXPECT_DOUBLE_EQ(f.frame.lcaption.Left(), px(300));
    EXPECT_DOUBLE_EQ(f.frame.lcaption.Top(), px(25));
    EXPECT_EQ(f.frame.lcaption.ForeColor(), QColor(Qt::white));
    EXPECT_EQ(f.frame.lcaption.Caption(), QStringLiteral("Tessaroc"));
    EXPECT_TRUE(shows(f.frame.ImgClose(0), f.frame.ImgClose(1)));
    EXPECT_TRUE(shows(f.frame.ImgMin(0), f.frame.ImgMin(1)));
    EXPECT_EQ(f.frame.ImgClose(0).ToolTipText(), QStringLiteral("关闭"));
    EXPECT_EQ(f.frame.ImgMin(0).ToolTipText(), QStringLiteral("最小化"));
    for (int i = 1; i <= 3; ++i) {
        EXPECT_FALSE(f.frame.ImgClose(i).Visible());
        EXPECT_FALSE(f.frame.ImgMin(i).Visible());
    }
}

// The corners of the template are copied pixel for pixel, the edges stretched
// along the border; the middle is left to the table area.
TEST(SkinFrame, PaintsTheTemplateOntoTheWindow)
{
    Table t(1280, 1024);
    MainForm &f = t.form();
    const QImage canvas = f.frameCanvas().toImage();
    const QImage skin = f.frame.Skin.picture().toImage();
    ASSERT_EQ(canvas.size(), QSize(1040, 796));
    ASSERT_EQ(skin.size(), QSize(46, 220));
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 8; ++x) {
            EXPECT_EQ(pixel(canvas, x, y), pixel(skin, x, y)) << x << ", " << y;
            EXPECT_EQ(pixel(canvas, 1032 + x, y), pixel(skin, 38 + x, y)) << x << ", " << y;
        }
    }
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            EXPECT_EQ(pixel(canvas, x, 788 + y), pixel(skin, x, 212 + y));
            EXPECT_EQ(pixel(canvas, 1032 + x, 788 + y), pixel(skin, 38 + x, 212 + y));
        }
    }
    EXPECT_EQ(pixel(canvas, 520, 400), f.palette().color(QPalette::Window));
}

// On a screen of the table's size there is no frame: the table area covers
// the whole window and with it the caption buttons, the strip and the caption.
TEST(SkinFrame, NoFrameOnAScreenOfTheTablesSize)
{
    Table t(1024, 768);
    MainForm &f = t.form();
    EXPECT_TRUE(f.frameCanvas().isNull());
    EXPECT_EQ(f.area.Pic1->geometry(), f.rect());
    for (const forms::Element *e : std::initializer_list<const forms::Element *>{
                 &f.frame.ImgClose(0), &f.frame.ImgMin(0), &f.frame.LbMove, &f.frame.lcaption})
        EXPECT_EQ(f.childAt(e->paintRect().center()), &f.area.Pic1.widget());
}

// On a screen wider than the table but not taller, only the width gets the
// frame: the table area covers the caption band, so the caption buttons lie
// beneath it whatever order they are brought forward in; the side edges show.
TEST(SkinFrame, TableAreaCoversTheCaptionButtonsOnAWideLowScreen)
{
    Table t(1280, 720);
    MainForm &f = t.form();
    f.frame.ImgClose(0).ZOrder(0);
    f.frame.ImgMin(0).ZOrder(0);
    const QImage window = f.grab().toImage();
    const QImage table = f.area.Pic1->grab().toImage();
    const QPoint close = f.frame.ImgClose(0).paintRect().center();
    EXPECT_EQ(f.childAt(close), &f.area.Pic1.widget());
    EXPECT_EQ(pixel(window, close.x(), close.y()),
              pixel(table, close.x() - f.area.Pic1->x(), close.y() - f.area.Pic1->y()));
    // The left edge of the frame shows beside the table area.
    const QImage canvas = f.frameCanvas().toImage();
    EXPECT_EQ(pixel(window, 3, 300), pixel(canvas, 3, 300));
    EXPECT_NE(pixel(canvas, 3, 300), f.palette().color(QPalette::Window));
}

// Inside the table area too, a windowed control stays above every element,
// even one brought to the front after it.
TEST(SkinFrame, WindowedControlsStayAboveElements)
{
    Table t(1024, 768);
    MainForm &f = t.form();
    forms::Label cover(&f.area.Pic1.widget());
    cover.setBackStyle(forms::Label::BackStyle::Opaque);
    cover.setBackColor(Qt::red);
    cover.Move(f.messages.Chat.Left(), f.messages.Chat.Top(), f.messages.Chat.Width(),
               f.messages.Chat.Height());
    cover.ZOrder(0);
    const QImage table = f.area.Pic1->grab().toImage();
    const QPoint centre = f.messages.Chat.pixelRect().center();
    EXPECT_EQ(pixel(table, centre.x(), centre.y()), QColor(Qt::black));
}

class CaptionButtons : public ::testing::Test
{
protected:
    Table t{1280, 1024};
    MainForm &f = t.form();
    QPointF closeAt = mouse::centre(f.frame.ImgClose(0));
    QPointF minAt = mouse::centre(f.frame.ImgMin(0));
    QPointF frameAt{3, 400}; // the window's own surface: the frame's left edge
};

// One flag serves both buttons: once one shows its hover picture the other
// stays plain until the pointer crosses the strip or the window.
TEST_F(CaptionButtons, HoverPicturesShareOneFlag)
{
    mouse::move(f, closeAt);
    EXPECT_TRUE(shows(f.frame.ImgClose(0), f.frame.ImgClose(2)));
    EXPECT_FALSE(t.state.table.CaptionButtonsIdle);
    mouse::move(f, minAt);
    EXPECT_TRUE(shows(f.frame.ImgMin(0), f.frame.ImgMin(1)));
    EXPECT_TRUE(shows(f.frame.ImgClose(0), f.frame.ImgClose(2)));

    mouse::move(f, frameAt);
    EXPECT_TRUE(t.state.table.CaptionButtonsIdle);
    EXPECT_TRUE(shows(f.frame.ImgClose(0), f.frame.ImgClose(1)));
    EXPECT_TRUE(shows(f.frame.ImgMin(0), f.frame.ImgMin(1)));

    mouse::move(f, minAt);
    EXPECT_TRUE(shows(f.frame.ImgMin(0), f.frame.ImgMin(2)));
    mouse::move(f, mouse::centre(f.frame.LbMove));
    EXPECT_TRUE(shows(f.frame.ImgMin(0), f.frame.ImgMin(1)));
    EXPECT_TRUE(t.state.table.CaptionButtonsIdle);
}

// Pressed with any button the button shows its pressed picture, released its
// hover picture, which stays when the release happens outside it.
TEST_F(CaptionButtons, PressAndRelease)
{
    QSignalSpy leave(&f, &MainForm::leaveRequested);
    mouse::press(f, closeAt, Qt::RightButton);
    EXPECT_TRUE(shows(f.frame.ImgClose(0), f.frame.ImgClose(3)));
    mouse::release(f, closeAt, Qt::RightButton);
    EXPECT_TRUE(shows(f.frame.ImgClose(0), f.frame.ImgClose(2)));
    EXPECT_EQ(leave.count(), 0);

    mouse::press(f, closeAt);
    mouse::release(f, QPointF(500, 300));
    EXPECT_TRUE(shows(f.frame.ImgClose(0), f.frame.ImgClose(2)));
    EXPECT_EQ(leave.count(), 0);

    mouse::press(f, closeAt);
    mouse::release(f, closeAt);
    EXPECT_EQ(leave.count(), 1);
}

TEST_F(CaptionButtons, TheHeldPicturesDoNothing)
{
    f.ImgClose_MouseMove(1, 0, 0, 0, 0);
    f.ImgMin_MouseDown(2, 1, 0, 0, 0);
    f.ImgMin_Click(3);
    EXPECT_TRUE(t.state.table.CaptionButtonsIdle);
    EXPECT_TRUE(shows(f.frame.ImgMin(0), f.frame.ImgMin(1)));
    EXPECT_EQ(f.WindowState(), MainForm::Normal);
}

TEST_F(CaptionButtons, MinimiseButtonMinimisesTheWindow)
{
    mouse::press(f, minAt);
    mouse::release(f, minAt);
    EXPECT_EQ(f.WindowState(), MainForm::Minimized);
    EXPECT_EQ(t.sound.stops, 1) << "the minimise handling ran";
}

// Only the left button on the strip starts a drag: it hides the chat windows
// and shows the move pointer; moving over the strip puts the arrow back.
TEST_F(CaptionButtons, DragStrip)
{
    const QPointF strip = mouse::centre(f.frame.LbMove);
    mouse::press(f, strip, Qt::RightButton);
    mouse::release(f, strip, Qt::RightButton);
    EXPECT_EQ(t.chat.talkHidden + t.chat.huifuHidden, 1) << "only by the table clearing";
    mouse::press(f, strip);
    EXPECT_EQ(t.chat.talkHidden, 2);
    EXPECT_EQ(t.chat.huifuHidden, 1);
    EXPECT_EQ(f.frame.LbMove.mousePointer(), forms::MousePointer::SizeAll);
    mouse::release(f, strip);
    mouse::move(f, strip);
    EXPECT_EQ(f.frame.LbMove.mousePointer(), forms::MousePointer::Default);
}

} // namespace tessaroc::table::test
