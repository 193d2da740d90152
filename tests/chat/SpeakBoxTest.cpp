// The speech bubbles: one shaped window per seat at its place, reused by the
// seat's later phrases, closed by the table's clearing, and the fade counted
// on the manual clock.

#include "ChatFixture.h"

#include "Grab.h"
#include "chat/SpeakBox.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace tessaroc::chat::test {
namespace {

int px(double twips)
{
    return static_cast<int>(std::nearbyint(twips / 15));
}

class SpeakBoxes : public ::testing::Test
{
protected:
    SpeakBoxes()
    {
        t.form->setLeft(3000);
        t.form->setTop(1500);
        t.seat(1, 2, QStringLiteral("阿强"));
        t.seat(2, 4, QStringLiteral("老王"));
        t.seat(3, 8, QStringLiteral("小红"));
    }
    // A quick phrase of list 1 from the seat at a display position.
    void phrase(int pos, std::uint8_t number = 1)
    {
        t.chat.ReceiveChat(
                chatFrame(static_cast<std::uint8_t>(1 << pos), QStringLiteral("x"), 0, 1, number));
    }
    // Moves the clock on by n fade steps and lets the timer catch up.
    void steps(frmSpeakBox &box, int n)
    {
        for (int i = 0; i < n; ++i) {
            t.clock.advance(frmSpeakBox::kFadeStepMs);
            box.fadeTick();
        }
    }
    ChatTable t;
};

TEST_F(SpeakBoxes, EachSeatGetsItsOwnWindowAtItsPlace)
{
    const struct
    {
        int width, height;
        double left, top; // the place showMe gives, in twips from the table window
        double labelLeft, labelTop;
    } seats[] = {
            {174, 92, 1500, 8550, 260, 180},
            {198, 92, 1050, 3000, 570, 350},
            {208, 104, 6150, 1050, 450, 620},
            {208, 104, 11400, 3000, 270, 470},
    };
    for (int pos = 0; pos < 4; ++pos)
        phrase(pos);
    for (int pos = 0; pos < 4; ++pos) {
        SCOPED_TRACE(pos);
        frmSpeakBox *box = FindSpeakBox(pos);
        ASSERT_NE(box, nullptr);
        const auto &s = seats[pos];
        EXPECT_EQ(box->size(), QSize(s.width, s.height));
        EXPECT_EQ(box->pos(), QPoint(px(3000 + s.left), px(1500 + s.top)));
        EXPECT_EQ(box->labPhrase->pos(), QPoint(px(s.labelLeft), px(s.labelTop)));
        EXPECT_EQ(box->windowTitle(), QStringLiteral("speakbox"));
        EXPECT_TRUE(box->windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_FALSE(box->mask().isEmpty());
    }
    // A fifth phrase reuses its seat's window.
    frmSpeakBox *first = FindSpeakBox(2);
    phrase(2, 3);
    EXPECT_EQ(FindSpeakBox(2), first);
    EXPECT_EQ(first->labPhrase->text(), QStringLiteral("合作愉快"));
    int windows = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        windows += w->windowTitle() == QStringLiteral("speakbox") ? 1 : 0;
    EXPECT_EQ(windows, 4);
}

TEST_F(SpeakBoxes, OnTheReducedTableThePlacesScaleAndTheWindowsDoNot)
{
    ChatTable small(true);
    small.seat(1, 2, QStringLiteral("阿强"));
    small.chat.ReceiveChat(chatFrame(2, QStringLiteral("x"), 0, 1, 1));
    frmSpeakBox *box = FindSpeakBox(1);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->size(), QSize(198, 92));
    const double sx = small.state.table.scale.ScaleX;
    const double sy = small.state.table.scale.ScaleY;
    EXPECT_EQ(box->pos(),
              QPoint(px(small.form->Left() + 1050 * sx), px(small.form->Top() + 3000 * sy)));
}

TEST_F(SpeakBoxes, TheFadeRisesToTwoHundredAndEightHoldsFadesAndParks)
{
    phrase(2);
    frmSpeakBox &box = *FindSpeakBox(2);
    steps(box, 1);
    EXPECT_EQ(box.alpha(), 8);
    steps(box, 25);
    EXPECT_EQ(box.alpha(), 208) << "the top alpha is never reached exactly";
    steps(box, 250);
    EXPECT_EQ(box.fadeCount(), 276 * 8);
    EXPECT_EQ(box.alpha(), 208);
    steps(box, 1);
    EXPECT_EQ(box.alpha(), 206);
    steps(box, 51);
    EXPECT_EQ(box.alpha(), 2);
    EXPECT_TRUE(box.tmrFadeIn.isActive());
    EXPECT_EQ(box.labPhrase->text(), QStringLiteral("大家好"));
    steps(box, 1);
    EXPECT_FALSE(box.tmrFadeIn.isActive());
    EXPECT_EQ(box.alpha(), 2) << "-2 changes nothing";
    EXPECT_EQ(box.labPhrase->text(), QString());
    EXPECT_EQ(box.y(), -2 * box.height()) << "the top seat parks above the screen";
    EXPECT_TRUE(box.isVisible()) << "parked, neither hidden nor closed";
}

// 329 steps of 16 ms: about five seconds from the phrase to the park, and a
// late timer catches up instead of stretching the fade.
TEST_F(SpeakBoxes, TheFadeKeepsThePaceOfTheClock)
{
    phrase(1);
    frmSpeakBox &box = *FindSpeakBox(1);
    t.clock.advance(frmSpeakBox::kFadeStepMs * 10 + 5);
    box.fadeTick();
    EXPECT_EQ(box.alpha(), 80);
    box.fadeTick();
    EXPECT_EQ(box.alpha(), 80) << "no step before the clock moves on";
    EXPECT_EQ(box.tmrFadeIn.interval(), frmSpeakBox::kFadeStepMs);
    steps(box, 319);
    EXPECT_FALSE(box.tmrFadeIn.isActive());
    EXPECT_EQ(box.x(), -2 * box.width()) << "the left seat parks off the left edge";
}

TEST_F(SpeakBoxes, ASecondPhraseRestartsTheFadeWithItsText)
{
    phrase(3, 1);
    frmSpeakBox &box = *FindSpeakBox(3);
    steps(box, 62);
    phrase(3, 2);
    EXPECT_EQ(box.fadeCount(), 0);
    EXPECT_EQ(box.labPhrase->text(), QStringLiteral("快点吧"));
    steps(box, 1);
    EXPECT_EQ(box.alpha(), 8);
}

TEST_F(SpeakBoxes, TheTablesClearingClosesThemAndTheNextPhraseBuildsAnew)
{
    phrase(1);
    phrase(3);
    ASSERT_NE(FindSpeakBox(1), nullptr);
    t.form->ClearTable();
    EXPECT_EQ(FindSpeakBox(1), nullptr);
    EXPECT_EQ(FindSpeakBox(3), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (QWidget *w : QApplication::topLevelWidgets())
        EXPECT_NE(w->windowTitle(), QStringLiteral("speakbox"));
    phrase(1);
    frmSpeakBox *again = FindSpeakBox(1);
    ASSERT_NE(again, nullptr);
    EXPECT_FALSE(again->mask().isEmpty());
}

TEST_F(SpeakBoxes, AChatTakesItsBubblesWithItWhenItGoes)
{
    // A second chat on the same table, which goes before the table does.
    auto other = std::make_unique<ChatService>();
    other->setProgramFolder(t.folder.path());
    other->attach(*t.form, *t.context, t.tableSound);
    other->ReceiveChat(chatFrame(2, QStringLiteral("x"), 0, 1, 1));
    ASSERT_NE(FindSpeakBox(1), nullptr);
    other.reset();
    EXPECT_EQ(FindSpeakBox(1), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (QWidget *w : QApplication::topLevelWidgets())
        EXPECT_NE(w->windowTitle(), QStringLiteral("speakbox"));
}

TEST_F(SpeakBoxes, TheRegionFollowsThePictureAndASeatHasOneWindow)
{
    frmSpeakBox box(t.clock, 1.0, [] { return SpeakBoxPlace{}; });
    std::int32_t key = 0;
    ASSERT_TRUE(MakeRegionFromPicture(box, 0, key));
    EXPECT_EQ(key, static_cast<std::int32_t>(box.picture.pixel(0, 0) & 0xFFFFFF));
    const QRegion region = box.mask();
    EXPECT_FALSE(region.contains(QPoint(0, 0)));
    EXPECT_TRUE(region.contains(QPoint(box.width() / 2, box.height() / 2)));
    for (int y = 0; y < box.height(); ++y)
        ASSERT_FALSE(region.contains(QPoint(box.width() - 1, y))) << "the last column is out";

    frmSpeakBox second(t.clock, 1.0, [] { return SpeakBoxPlace{}; });
    std::int32_t keep = 0x123456;
    EXPECT_FALSE(MakeRegionFromPicture(second, 0, keep));
    EXPECT_EQ(windowTag(second), QString());
    EXPECT_TRUE(second.mask().isEmpty());
    EXPECT_EQ(keep, 0x123456);
    EXPECT_FALSE(MakeRegionFromPicture(second, 4, keep));
}

TEST_F(SpeakBoxes, ShowMeOutsideTheSeatsRunsTheFadeWhereTheWindowIs)
{
    frmSpeakBox box(t.clock, 1.0, [] { return SpeakBoxPlace{100, 100, 1, 1}; });
    box.move(40, 50);
    box.showMe(7, QStringLiteral("hi"), 210, 8, 4, 2000);
    EXPECT_EQ(box.labPhrase->text(), QStringLiteral("hi"));
    steps(box, 329);
    EXPECT_FALSE(box.tmrFadeIn.isActive());
    EXPECT_EQ(box.pos(), QPoint(40, 50));
}

TEST(SetFormAlpha, ValuesOutsideTheRangeChangeNothing)
{
    QWidget w;
    EXPECT_TRUE(SetFormAlpha(w, 100));
    EXPECT_FALSE(SetFormAlpha(w, -2));
    EXPECT_FALSE(SetFormAlpha(w, 300));
    EXPECT_NEAR(w.windowOpacity(), 100 / 255.0, 0.01);
}

TEST_F(SpeakBoxes, AScreenshotOfABubbleOverTheTable)
{
    phrase(2);
    phrase(0, 3);
    frmSpeakBox &box = *FindSpeakBox(2);
    steps(box, 40);
    QPixmap table = t.form->grab();
    QPainter painter(&table);
    for (int pos : {0, 2}) {
        frmSpeakBox &b = *FindSpeakBox(pos);
        painter.setOpacity(b.windowOpacity());
        painter.setClipRegion(b.mask().translated(b.pos() - t.form->pos()));
        painter.drawPixmap(b.pos() - t.form->pos(), b.grab());
    }
    painter.end();
    QLabel shot;
    shot.setPixmap(table);
    shot.resize(table.size());
    EXPECT_FALSE(tessaroc::test::grabToPng(shot, QStringLiteral("chat_bubble")).isEmpty());
}

} // namespace
} // namespace tessaroc::chat::test
