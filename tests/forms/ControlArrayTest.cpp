#include "forms/ControlArray.h"
#include "forms/Image.h"
#include "forms/Label.h"
#include "forms/Surface.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace tessaroc::forms;

TEST(ControlArray, LoadMakesAHiddenCopyOfTheDesignedElement)
{
    Surface surface;
    ControlArray<Image> cards(&surface);
    Image &design = cards(0);
    QPixmap back(78, 103);
    back.fill(Qt::blue);
    design.setPicture(back, 18);
    design.setStretch(true);
    design.Move(1.5, 2.25, 90, 120);
    design.setMousePointer(MousePointer::Custom);
    design.setToolTipText(QStringLiteral("牌"));

    Image &copy = cards.Load(7);
    EXPECT_FALSE(copy.Visible());
    EXPECT_TRUE(design.Visible());
    EXPECT_EQ(copy.Index(), 7);
    EXPECT_EQ(copy.rect(), design.rect());
    EXPECT_EQ(copy.Picture(), 18);
    EXPECT_TRUE(copy.Stretch());
    EXPECT_EQ(copy.mousePointer(), MousePointer::Custom);
    EXPECT_EQ(copy.ToolTipText(), QStringLiteral("牌"));
    EXPECT_EQ(copy.container(), &surface);
    EXPECT_EQ(copy.zSequence(), 1);
}

TEST(ControlArray, LabelsCopyTheirFontAndColours)
{
    Surface surface;
    ControlArray<Label> rest(&surface, 1);
    rest(1).setCaption(QStringLiteral("10张"));
    rest(1).setForeColor(Qt::yellow);
    QFont font;
    font.setPointSizeF(12);
    font.setBold(true);
    rest(1).setFont(font);
    Label &two = rest.Load(2);
    EXPECT_EQ(two.Caption(), QStringLiteral("10张"));
    EXPECT_EQ(two.ForeColor(), QColor(Qt::yellow));
    EXPECT_TRUE(two.Font().bold());
    EXPECT_EQ(rest.LBound(), 1);
    EXPECT_EQ(rest.UBound(), 2);
}

TEST(ControlArray, LoadingTwiceKeepsTheFirstElement)
{
    Surface surface;
    ControlArray<Image> buttons(&surface);
    Image &first = buttons.Load(3);
    first.setVisible(true);
    first.setLeft(70);
    Image &again = buttons.Load(3);
    EXPECT_EQ(&first, &again);
    EXPECT_TRUE(again.Visible());
    EXPECT_EQ(again.Left(), 70);
    EXPECT_EQ(buttons.Count(), 2);
}

TEST(ControlArray, UnloadDestroysLoadedElementsOnly)
{
    Surface surface;
    ControlArray<Image> images(&surface);
    images.Load(1);
    images.Load(2);
    EXPECT_EQ(surface.elements().size(), 3u);
    images.Unload(1);
    images.Unload(0);
    images.Unload(9);
    EXPECT_FALSE(images.isLoaded(1));
    EXPECT_TRUE(images.isLoaded(0));
    EXPECT_EQ(images.find(1), nullptr);
    EXPECT_EQ(surface.elements().size(), 2u);
}

TEST(ControlArray, OnLoadWiresTheNewElementWithItsIndex)
{
    Surface surface;
    ControlArray<Image> buttons(&surface);
    std::vector<int> pressed;
    auto wire = [&](Image &button) {
        QObject::connect(&button, &Element::Click,
                         [&pressed, index = button.Index()] { pressed.push_back(index); });
    };
    wire(buttons(0));
    buttons.setOnLoad(wire);
    buttons.Load(1);
    buttons.Load(2);
    buttons.forEach([](Image &b) { Q_EMIT b.Click(); });
    EXPECT_EQ(pressed, (std::vector<int>{0, 1, 2}));
}
