// The chat box with real key presses, offscreen: Enter and the flood gate,
// whispers started from an avatar and cancelled by Backspace, the history
// trim, the send button, the quick phrases and F1.

#include "ChatFixture.h"

#include "wire/ChatFrame.h"

#include <QTest>

#include <gtest/gtest.h>

namespace tessaroc::chat::test {
namespace {

wire::ChatFrame only(std::vector<wire::MessageFrame> frames)
{
    EXPECT_EQ(frames.size(), 1u);
    return frames.empty() ? wire::ChatFrame{} : wire::ChatFrame::decode(frames.front());
}

std::string utf8(const char16_t *text)
{
    return QString::fromUtf16(text).toStdString();
}

class ChatInput : public ::testing::Test
{
protected:
    ChatInput()
    {
        t.seat(1, 2, QStringLiteral("阿强"));
        t.seat(2, 4, QStringLiteral("老王"));
        t.seat(3, 8, QString());
    }
    void type(const QString &text) { QTest::keyClicks(&t.chatBox(), text); }
    void key(Qt::Key k) { QTest::keyClick(&t.chatBox(), k); }

    ChatTable t;
};

TEST_F(ChatInput, EnterSendsTheLineAndTheGateHoldsTheNextOneBack)
{
    type(QStringLiteral("hello"));
    key(Qt::Key_Return);
    const wire::ChatFrame line = only(t.sent());
    EXPECT_EQ(line.text, utf8(u"小明说道： hello"));
    EXPECT_EQ(line.sender.raw, 1);
    EXPECT_EQ(line.whisperTo.raw, 0);
    EXPECT_EQ(t.box(), QString()) << "the box is emptied by a send";
    EXPECT_FALSE(t.state.loop.ChatGate);
    EXPECT_TRUE(t.chat.TimerChat.isActive());
    EXPECT_TRUE(t.history().isEmpty()) << "the own line waits for the server's copy";

    // Within the 800 ms: refused, and the text is lost.
    type(QStringLiteral("again"));
    key(Qt::Key_Enter);
    EXPECT_TRUE(t.sent().empty());
    EXPECT_EQ(t.box(), QString());
    EXPECT_EQ(t.history(), QStringList{QString::fromUtf16(kTooFast)});

    // An empty box while the gate is closed changes nothing.
    key(Qt::Key_Return);
    EXPECT_EQ(t.history().size(), 1);

    t.chat.TimerChat_Timer();
    EXPECT_TRUE(t.state.loop.ChatGate);
    EXPECT_FALSE(t.chat.TimerChat.isActive());
    type(QStringLiteral("later"));
    key(Qt::Key_Return);
    EXPECT_EQ(only(t.sent()).text, utf8(u"小明说道： later"));
}

TEST_F(ChatInput, AnEmptyEnterClosesTheGateToo)
{
    key(Qt::Key_Return);
    EXPECT_TRUE(t.sent().empty());
    EXPECT_FALSE(t.state.loop.ChatGate);
    type(QStringLiteral("x"));
    key(Qt::Key_Return);
    EXPECT_TRUE(t.sent().empty());
    EXPECT_EQ(t.history(), QStringList{QString::fromUtf16(kTooFast)});
}

TEST_F(ChatInput, ASpectatorsEnterDoesNothingButTheButtonSends)
{
    t.state.loop.line.Spectator = true;
    type(QStringLiteral("watching"));
    key(Qt::Key_Return);
    EXPECT_TRUE(t.sent().empty());
    EXPECT_TRUE(t.state.loop.ChatGate);
    EXPECT_EQ(t.box(), QStringLiteral("watching"));

    t.chat.BtnChat_Click();
    EXPECT_EQ(only(t.sent()).text, utf8(u"小明说道： watching"));
    EXPECT_TRUE(t.state.loop.ChatGate) << "the button neither tests nor closes the gate";
}

TEST_F(ChatInput, AWhisperCarriesTheBareTextToTheAvatarsSeat)
{
    t.chat.Tou_Click(2);
    const QString prefix = QStringLiteral("你对老王说 ：");
    EXPECT_EQ(t.box(), prefix);
    EXPECT_EQ(t.chatBox().cursorPosition(), prefix.size());
    type(QStringLiteral("psst"));
    // Another avatar replaces the prefix and keeps the typed text.
    t.chat.Tou_Click(1);
    EXPECT_EQ(t.box(), QStringLiteral("你对阿强说 ：psst"));
    key(Qt::Key_Return);
    const wire::ChatFrame line = only(t.sent());
    EXPECT_EQ(line.text, "psst");
    EXPECT_EQ(line.whisperTo.raw, 2);
    EXPECT_EQ(t.chat.WhisperPrefix, QString()) << "a send ends the whisper";
    EXPECT_EQ(t.chat.ChatTarget, 2) << "the target stays; it matters only with a prefix";
}

TEST_F(ChatInput, AvatarClicksThatStartNoWhisper)
{
    type(QStringLiteral("abc"));
    t.chat.Tou_Click(0);
    t.chat.Tou_Click(3); // an empty seat
    t.chat.Tou_Click(7);
    t.state.loop.LoggedIn = false;
    t.chat.Tou_Click(1);
    EXPECT_EQ(t.box(), QStringLiteral("abc"));
    EXPECT_EQ(t.chat.WhisperPrefix, QString());
}

TEST_F(ChatInput, APrefixWithOnlySpacesAfterItIsNotSentAndStays)
{
    t.chat.Tou_Click(1);
    type(QStringLiteral("   "));
    key(Qt::Key_Return);
    EXPECT_TRUE(t.sent().empty());
    EXPECT_EQ(t.box(), QStringLiteral("你对阿强说 ：   "));

    // The button empties the box but keeps the whisper.
    t.state.loop.ChatGate = true;
    t.chat.BtnChat_Click();
    EXPECT_TRUE(t.sent().empty());
    EXPECT_EQ(t.box(), QString());
    EXPECT_EQ(t.chat.WhisperPrefix, QStringLiteral("你对阿强说 ："));
}

TEST_F(ChatInput, BackspaceRightAfterThePrefixEndsTheWhisper)
{
    t.chat.Tou_Click(1);
    type(QStringLiteral("xy"));
    t.chatBox().setCursorPosition(t.chat.WhisperPrefix.size());
    key(Qt::Key_Backspace);
    EXPECT_EQ(t.box(), QStringLiteral("xy"));
    EXPECT_EQ(t.chat.WhisperPrefix, QString());
    EXPECT_EQ(t.chat.ChatTarget, 0);
    EXPECT_EQ(t.chatBox().cursorPosition(), 2);
    key(Qt::Key_Return);
    EXPECT_EQ(only(t.sent()).text, utf8(u"小明说道： xy"));
}

TEST_F(ChatInput, BackspaceAfterThePrefixDeletesOnlyTyping)
{
    t.chat.Tou_Click(1);
    type(QStringLiteral("xy"));
    key(Qt::Key_Backspace);
    EXPECT_EQ(t.box(), QStringLiteral("你对阿强说 ：x"));
    EXPECT_FALSE(t.chat.WhisperPrefix.isEmpty());
}

TEST_F(ChatInput, BackspaceAtTheStartCancelsAtTheNextChange)
{
    t.chat.Tou_Click(1);
    type(QStringLiteral("xy"));
    t.chatBox().setCursorPosition(0);
    key(Qt::Key_Backspace);
    EXPECT_EQ(t.box(), QStringLiteral("你对阿强说 ：xy")) << "nothing changes at once";
    t.chatBox().end(false);
    type(QStringLiteral("z"));
    EXPECT_EQ(t.box(), QStringLiteral("xy"))
            << "the change puts back what followed the prefix at the Backspace";
    EXPECT_EQ(t.chat.WhisperPrefix, QString());
}

// A key in the chat box bounds the history too, dropping its oldest entries
// rather than emptying it.
TEST_F(ChatInput, TheKeyPressAfterTheHundredAndFirstLineDropsTheOldest)
{
    QListWidget &history = *t.chat.Talk().Text1;
    for (int i = 0; i < 100; ++i)
        history.addItem(QString::number(i));
    type(QStringLiteral("a"));
    EXPECT_EQ(history.count(), 100);
    history.addItem(QStringLiteral("100"));
    type(QStringLiteral("b"));
    ASSERT_EQ(history.count(), 100);
    EXPECT_EQ(history.item(0)->text(), QStringLiteral("1"));
    EXPECT_EQ(history.item(99)->text(), QStringLiteral("100"));
}

TEST_F(ChatInput, F1InTheBoxHandsTheTableToTheAutomaticPlayer)
{
    t.chat.Lbchat_Click();
    ASSERT_TRUE(t.chat.Talk().isVisible());
    t.state.core.TurnSeconds = 15;
    key(Qt::Key_F1);
    EXPECT_TRUE(t.state.core.AutoMode);
    EXPECT_TRUE(t.state.core.AutoModeKey);
    EXPECT_TRUE(t.state.core.TableHidden);
    EXPECT_EQ(t.state.core.TurnSeconds, 0);
    EXPECT_FALSE(t.chat.Talk().isVisible());
    EXPECT_EQ(t.form->WindowState(), table::MainForm::Minimized);
    EXPECT_EQ(t.hallMinimised(), 1);
}

TEST_F(ChatInput, FunctionKeysReachTheItemLibraryOnlyWhileItRuns)
{
    std::vector<int> keys;
    t.chat.SetKeyDown = [&keys](int code) {
        keys.push_back(code);
    };
    key(Qt::Key_F3);
    t.state.gamedllstate = 1;
    key(Qt::Key_F2);
    key(Qt::Key_F6);
    key(Qt::Key_F7);
    EXPECT_EQ(keys, (std::vector<int>{113, 117}));
    EXPECT_FALSE(t.state.core.AutoMode);
}

TEST_F(ChatInput, ADoubleClickedPhraseGoesOutAndClosesTheWindow)
{
    t.chat.imgword2_Click();
    HuifuWindow &window = t.chat.huifu();
    ASSERT_TRUE(window.isVisible());
    type(QStringLiteral("typed"));
    window.List2->setCurrentRow(1);
    t.chat.List2_DblClick();
    const std::vector<wire::MessageFrame> frames = t.sent();
    ASSERT_EQ(frames.size(), 1u);
    const wire::ChatFrame line = wire::ChatFrame::decode(frames[0]);
    EXPECT_EQ(line.text, utf8(u"小明说道： 谢谢你"));
    EXPECT_EQ(line.phraseList, 2);
    EXPECT_EQ(line.phraseNo, 2);
    EXPECT_EQ(frames[0].byteAt(13), 97);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(t.box(), QString()) << "a sent phrase empties the box too";
    EXPECT_TRUE(t.state.loop.ChatGate) << "phrases pass the gate by";
}

TEST(ChatPhrasesMissing, AnEmptyPageSendsNothing)
{
    ChatTable t(false, QByteArray());
    EXPECT_EQ(t.chat.huifu().List1->count(), 0);
    EXPECT_EQ(t.chat.huifu().List2->count(), 0);
    t.chat.List1_DblClick();
    EXPECT_TRUE(t.sent().empty());
}

} // namespace
} // namespace tessaroc::chat::test
