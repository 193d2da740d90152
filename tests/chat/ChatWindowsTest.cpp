// The history window Talk and the phrase window huifu: their places at both
// scales, the pages, the Alt and C chord, and a real double-click on a
// phrase.

#include "ChatFixture.h"

#include "Grab.h"
#include "support/TextHelpers.h"
#include "wire/ChatFrame.h"
#include "wire/GbkText.h"

#include <QApplication>

#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

namespace tessaroc::chat::test {
namespace {

// Windows are placed in whole pixels; a place in twips is met to the pixel.
void expectPlace(const forms::PopupWindow &window, double left, double top)
{
    EXPECT_EQ(window.x(), static_cast<int>(std::nearbyint(left / 15)));
    EXPECT_EQ(window.y(), static_cast<int>(std::nearbyint(top / 15)));
}

TEST(TalkWindow, OpensBelowTheTableAndClosesAgain)
{
    ChatTable t;
    t.form->setLeft(1500);
    t.form->setTop(900);
    const double w = t.form->Width();
    const double h = t.form->Height();
    TalkWindow &talk = t.chat.Talk();
    expectPlace(talk, 0.3 * w, 0.66 * h);
    EXPECT_FALSE(talk.isVisible());

    t.chat.Lbchat_Click();
    EXPECT_TRUE(talk.isVisible());
    EXPECT_TRUE(talk.windowFlags() & Qt::WindowStaysOnTopHint);
    expectPlace(talk, 1500 + 0.3 * w, 900 + 0.66 * h);
    t.chat.Lbchat_Click();
    EXPECT_FALSE(talk.isVisible());
}

TEST(TalkWindow, OnTheReducedTableItMeasuresFromTheScreensCorner)
{
    ChatTable t(true);
    t.form->setLeft(1500);
    t.form->setTop(900);
    t.chat.Lbchat_Click();
    expectPlace(t.chat.Talk(), 0.22 * t.form->Width(), 0.6 * t.form->Height());
}

TEST(TalkWindow, AltThenCInTheHistoryHidesIt)
{
    const struct
    {
        const char *name;
        std::vector<Qt::Key> keys;
        bool hidden;
    } cases[] = {
            {"Alt, C", {Qt::Key_Alt, Qt::Key_C}, true},
            {"C, Alt", {Qt::Key_C, Qt::Key_Alt}, true},
            {"Alt, Alt, C", {Qt::Key_Alt, Qt::Key_Alt, Qt::Key_C}, true},
            {"Alt, X, C", {Qt::Key_Alt, Qt::Key_X, Qt::Key_C}, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ChatTable t;
        t.chat.Lbchat_Click();
        for (Qt::Key key : c.keys)
            QTest::keyClick(t.chat.Talk().Text1, key);
        EXPECT_EQ(!t.chat.Talk().isVisible(), c.hidden);
    }
}

TEST(TalkWindow, LeavingTheTableEmptiesTheHistory)
{
    ChatTable t;
    t.chat.ReceiveChat(chatFrame(0, QStringLiteral("系统：欢迎")));
    ASSERT_EQ(t.history().size(), 1);
    t.chat.ClearHistory();
    EXPECT_TRUE(t.history().isEmpty());
}

// However long the evening, the history holds the newest hundred entries:
// the oldest lines go, a line's entries together, so that what a player who
// never types was reading stays in view.
TEST(TalkWindow, KeepsTheNewestHundredEntriesDroppingWholeLines)
{
    ChatTable t;
    t.seat(1, 2, QStringLiteral("阿强"));
    for (int i = 1; i <= 101; ++i)
        t.chat.ReceiveChat(chatFrame(2, QStringLiteral("阿强说道： %1").arg(i)));
    ASSERT_EQ(t.history().size(), 100);
    EXPECT_EQ(t.history().front(), QStringLiteral("阿强说道： 2"));
    EXPECT_EQ(t.history().back(), QStringLiteral("阿强说道： 101"));

    // The oldest line is three entries long: one more line takes all three.
    t.chat.ClearHistory();
    const QString longLine = QString(60, QChar(u'长'));
    const QStringList longEntries = TalkWindow::entriesOf(longLine);
    ASSERT_EQ(longEntries.size(), 3);
    t.chat.ReceiveChat(chatFrame(0, longLine));
    for (int i = 1; i <= 97; ++i)
        t.chat.ReceiveChat(chatFrame(0, QStringLiteral("系统：%1").arg(i)));
    ASSERT_EQ(t.history().size(), 100);
    EXPECT_EQ(t.history().mid(0, 3), longEntries);
    t.chat.ReceiveChat(chatFrame(0, QStringLiteral("系统：98")));
    ASSERT_EQ(t.history().size(), 98);
    EXPECT_EQ(t.history().front(), QStringLiteral("系统：1"));

    // A long line coming to a full history makes room for all its entries.
    t.chat.ReceiveChat(chatFrame(0, QStringLiteral("系统：99")));
    t.chat.ReceiveChat(chatFrame(0, QStringLiteral("系统：100")));
    t.chat.ReceiveChat(chatFrame(0, longLine));
    ASSERT_EQ(t.history().size(), 100);
    EXPECT_EQ(t.history().front(), QStringLiteral("系统：4"));
    EXPECT_EQ(t.history().mid(97), longEntries);
}

// A player pads a line so that the wrap would start an entry with another
// player's name and "说道：", as the start of that player's own line. The
// entries that continue a line start with a mark that nothing from the
// server can carry, in the place and the column of the wrap's space: only a
// line's first entry starts with a name.
TEST(TalkWindow, AContinuationEntryNeverReadsAsAnotherPlayersLine)
{
    const QString forged = QStringLiteral("阿强说道： 我认输了，大家别出我的牌");
    QString padded;
    for (int pad = 0; pad < 60 && padded.isEmpty(); ++pad) {
        const QString line
                = QStringLiteral("小黑说道： ") + QString(pad, QLatin1Char('x')) + forged;
        const QStringList wrapped = support::WrapText(line, TalkWindow::kColumns);
        if (wrapped.size() > 1
            && wrapped[1] == QLatin1Char(' ') + forged.left(wrapped[1].size() - 1))
            padded = line;
    }
    ASSERT_FALSE(padded.isEmpty()) << "a padding that puts the name at the start of an entry";
    EXPECT_EQ(wire::gbkCode(TalkWindow::kContinuationMark), '?')
            << "the mark is no character of the code page";

    ChatTable t;
    t.seat(1, 2, QStringLiteral("阿强"));
    t.seat(2, 4, QStringLiteral("小黑"));
    t.chat.ReceiveChat(chatFrame(4, padded));
    t.chat.ReceiveChat(chatFrame(2, QStringLiteral("阿强说道： 好的")));

    const QStringList entries = t.history();
    const QStringList wrapped = support::WrapText(padded, TalkWindow::kColumns);
    ASSERT_EQ(entries.size(), wrapped.size() + 1);
    EXPECT_EQ(entries.front(), wrapped.front()) << "the first entry as it was";
    for (qsizetype i = 1; i < wrapped.size(); ++i) {
        EXPECT_EQ(entries[i].front(), QChar(TalkWindow::kContinuationMark))
                << entries[i].toStdString();
        EXPECT_EQ(entries[i].mid(1), wrapped[i].mid(1)) << "the same columns";
    }
    QStringList startingWithTheName;
    for (const QString &entry : entries) {
        if (entry.trimmed().startsWith(QStringLiteral("阿强")))
            startingWithTheName.append(entry);
    }
    EXPECT_EQ(startingWithTheName, QStringList{QStringLiteral("阿强说道： 好的")});
}

// The history keeps each entry's measured size: it shows its lines exactly
// as a list measuring them anew would, scrolled to the newest entry.
TEST(TalkWindow, ShowsItsLinesAsAListMeasuringThemAnew)
{
    const QStringList lines = {
            QStringLiteral("阿强说道： 好的"),
            QStringLiteral("x"),
            QStringLiteral("系统：本桌已开始第一局。这是很长的一句话，会被折成好几行显示出来。"),
            QString(55, QLatin1Char('W')),
            QStringLiteral("（发送消息太快！）"),
            QString(60, QLatin1Char('i')),
    };
    // Each window is shown alone, as the active window, so that both are
    // drawn alike.
    const auto shown = [&](int count, bool measureAnew) {
        TalkWindow window;
        window.show();
        for (int i = 0; i < count; ++i) {
            const QString &line = lines[i % lines.size()];
            if (measureAnew) {
                window.Text1->addItems(TalkWindow::entriesOf(line));
                window.scrollToEnd();
            } else {
                window.addLine(line);
            }
            QApplication::processEvents();
        }
        const QListWidget &list = *window.Text1;
        const QRect newest = list.visualItemRect(list.item(list.count() - 1));
        EXPECT_TRUE(newest.top() >= 0 && newest.bottom() < list.viewport()->height())
                << "the newest entry in view";
        return window.grab().toImage();
    };
    for (int count : {1, 3, 6, 20})
        EXPECT_EQ(shown(count, false), shown(count, true)) << count << " lines";
}

TEST(TalkWindow, AScreenshotOfTheHistory)
{
    ChatTable t;
    t.seat(1, 2, QStringLiteral("阿强"));
    t.chat.ReceiveChat(chatFrame(1, QStringLiteral("小明说道： 大家好，开始吧！")));
    t.chat.ReceiveChat(chatFrame(2, QStringLiteral("阿强说道： 好的，这一局我来当地主。")));
    t.chat.ReceiveChat(chatFrame(2, QStringLiteral("悄悄话"), 1));
    t.chat.ReceiveChat(chatFrame(0, QStringLiteral("系统：本桌已开始第一局。")));
    t.chat.Lbchat_Click();
    EXPECT_FALSE(
            tessaroc::test::grabToPng(t.chat.Talk(), QStringLiteral("chat_history")).isEmpty());
}

TEST(HuifuWindow, TheTwoButtonsOpenSwitchAndCloseThePages)
{
    ChatTable t;
    HuifuWindow &window = t.chat.huifu();
    t.chat.Lbchat_Click();

    t.chat.imgword1_Click();
    EXPECT_FALSE(t.chat.Talk().isVisible()) << "the phrases hide the history";
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.visiblePage(), 1);
    const auto &pic1 = t.form->area.Pic1;
    expectPlace(window, pic1.Left() + t.form->Left() + 0.3 * pic1.Width(),
                pic1.Top() + t.form->Top() + 0.66 * pic1.Height());

    t.chat.imgword2_Click();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.visiblePage(), 2);
    t.chat.imgword2_Click();
    EXPECT_FALSE(window.isVisible());

    t.chat.imgword2_Click();
    EXPECT_EQ(window.visiblePage(), 2);
    t.chat.imgword1_Click();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.visiblePage(), 1);
    t.chat.imgword1_Click();
    EXPECT_FALSE(window.isVisible());
}

TEST(HuifuWindow, OnTheReducedTableItTakesTheWindowsFractions)
{
    ChatTable t(true);
    t.form->setLeft(300);
    t.chat.imgword1_Click();
    const auto &pic1 = t.form->area.Pic1;
    expectPlace(t.chat.huifu(), pic1.Left() + t.form->Left() + 0.22 * t.form->Width(),
                pic1.Top() + t.form->Top() + 0.6 * t.form->Height());
}

TEST(HuifuWindow, ADoubleClickOnAPhraseSendsIt)
{
    ChatTable t;
    t.chat.imgword1_Click();
    QListWidget &list = *t.chat.huifu().List1;
    ASSERT_EQ(list.count(), 3);
    const QPoint at = list.visualItemRect(list.item(2)).center();
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
    std::vector<wire::MessageFrame> frames = t.sent();
    ASSERT_EQ(frames.size(), 1u);
    const wire::ChatFrame line = wire::ChatFrame::decode(frames[0]);
    EXPECT_EQ(QString::fromStdString(line.text), QStringLiteral("小明说道： 合作愉快"));
    EXPECT_EQ(line.phraseList, 1);
    EXPECT_EQ(line.phraseNo, 3);
    EXPECT_FALSE(t.chat.huifu().isVisible());
}

TEST(HuifuWindow, PagesComeFromTheFileBesideTheProgram)
{
    const struct
    {
        const char *name;
        QByteArray file;
        int page1, page2;
    } cases[] = {
            {"no file", QByteArray(), 0, 0},
            {"num absent", QByteArray("[Phrase1]\r\n1=a\r\n"), 0, 0},
            {"num 0", QByteArray("[Phrase1]\r\nnum=0\r\n1=a\r\n"), 0, 0},
            {"num 3, key 2 absent", QByteArray("[Phrase1]\r\nnum=3\r\n1=a\r\n3=c\r\n"), 3, 0},
            {"num with a fraction", QByteArray("[Phrase2]\r\nnum=1.5\r\n"), 0, 2},
            {"num negative", QByteArray("[Phrase2]\r\nnum=-9\r\n"), 0, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ChatTable t(false, c.file);
        EXPECT_EQ(t.chat.huifu().List1->count(), c.page1);
        EXPECT_EQ(t.chat.huifu().List2->count(), c.page2);
    }
    ChatTable gap(false, QByteArray("[Phrase1]\r\nnum=3\r\n1=a\r\n3=c\r\n"));
    EXPECT_EQ(gap.chat.huifu().List1->item(1)->text(), QString());
}

} // namespace
} // namespace tessaroc::chat::test
