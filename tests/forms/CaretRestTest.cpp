#include "forms/CaretRest.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyleHints>
#include <QTest>

#include <gtest/gtest.h>

using tessaroc::forms::CaretRest;

namespace {

// Counts the blinks of the text boxes' carets.
class BlinkCounter final : public QObject
{
public:
    BlinkCounter() { QCoreApplication::instance()->installEventFilter(this); }
    ~BlinkCounter() override { QCoreApplication::instance()->removeEventFilter(this); }
    int blinks = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Timer && watched->inherits("QWidgetLineControl"))
            ++blinks;
        return false;
    }
};

int blinksOver(BlinkCounter &counter, int ms)
{
    counter.blinks = 0;
    QTest::qWait(ms);
    return counter.blinks;
}

} // namespace

TEST(CaretRest, TheCaretRestsAfterAQuietSpellAndBlinksAgainAtAKey)
{
    QStyleHints *hints = QGuiApplication::styleHints();
    const int desktopFlash = hints->cursorFlashTime();
    hints->setCursorFlashTime(100);
    {
        QLineEdit box;
        box.show();
        QApplication::setActiveWindow(&box);
        box.setFocus();
        BlinkCounter counter;
        CaretRest rest(300);
        EXPECT_GT(blinksOver(counter, 200), 0) << "the caret blinks while the player works";
        EXPECT_TRUE(QTest::qWaitFor([&rest] { return rest.resting(); }, 1000));
        EXPECT_EQ(hints->cursorFlashTime(), 0);
        EXPECT_EQ(blinksOver(counter, 200), 0) << "a resting caret wakes nobody";

        QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QCoreApplication::sendEvent(&box, &key);
        EXPECT_FALSE(rest.resting());
        EXPECT_EQ(hints->cursorFlashTime(), 100) << "the desktop's blink comes back";
        EXPECT_GT(blinksOver(counter, 200), 0);
    }
    EXPECT_EQ(hints->cursorFlashTime(), 100) << "the rest ends with the desktop's blink";
    hints->setCursorFlashTime(desktopFlash);
}
