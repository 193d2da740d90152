// Received chat frames, as a table: public lines, whispers, server lines
// (the dropped ones too), quick phrases with their bubble and voice, the word
// filter, the blink and the system lines.

#include "ChatFixture.h"

#include "chat/SpeakBox.h"
#include "wire/GbkText.h"

#include <gtest/gtest.h>

namespace tessaroc::chat::test {
namespace {

QString sysLine(ChatTable &t, int i)
{
    QListWidget &line = t.form->messages.Sysmsg(i).widget();
    return line.count() > 0 ? line.item(0)->text() : QString();
}

class ChatReceive : public ::testing::Test
{
protected:
    explicit ChatReceive(const QByteArray &phrases = ChatTable::defaultPhrases())
        : t(false, phrases)
    {
        t.seat(0, 2, QStringLiteral("小明"), 1);
        t.seat(1, 4, QStringLiteral("阿强"), 1);
        t.seat(2, 8, QStringLiteral("老王"), 0);
        t.seat(3, 1, QStringLiteral("小红"), 0);
    }
    ChatTable t;
};

TEST_F(ChatReceive, LinesShowAsTheirKindSays)
{
    struct Case
    {
        const char *name;
        std::uint8_t sender, whisperTo;
        QString text;
        QString line;
        bool blink;
    } cases[] = {
            {"own public line", 2, 0, QStringLiteral("小明说道： hi"),
             QStringLiteral("你说道： hi"), false},
            {"another's public line keeps the own name", 4, 0, QStringLiteral("阿强说道： 小明!"),
             QStringLiteral("阿强说道： 小明!"), true},
            {"own whisper to position 2", 2, 8, QStringLiteral("hi"),
             QStringLiteral("你对老王说道： hi"), false},
            {"whisper from position 1 to the own seat", 4, 2, QStringLiteral("hi"),
             QStringLiteral("阿强对你说道： hi"), true},
            {"whisper between two others", 8, 1, QStringLiteral("hi"),
             QStringLiteral("老王对小红说道： hi"), true},
            {"the filter sees the whole line", 1, 0, QStringLiteral("小红说道： 他妈的 shit"),
             QStringLiteral("小红说道：  "), true},
            {"a sender byte's high bits are ignored", 0x14, 0, QStringLiteral("x"),
             QStringLiteral("x"), true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        t.chat.Talk().Text1->clear();
        t.state.loop.BlinkCount = 0;
        t.state.loop.slots.disarm(core::LoopSlot::Blink);
        t.chat.ReceiveChat(chatFrame(c.sender, c.text, c.whisperTo));
        EXPECT_EQ(t.history(), QStringList{c.line});
        EXPECT_EQ(t.state.loop.slots.armed(core::LoopSlot::Blink), c.blink);
        EXPECT_EQ(t.state.loop.BlinkCount, c.blink ? 8 : 0);
    }
    EXPECT_EQ(sysLine(t, 1), QStringLiteral("x")) << "the newest line below";
    EXPECT_EQ(sysLine(t, 0), QStringLiteral("小红说道：  "));
}

// A line is one line of the history whatever it carries: line breaks and
// other control characters would let a sender add lines that look like
// another player's.
TEST_F(ChatReceive, ControlCharactersShowAsSpaces)
{
    struct Case
    {
        const char *name;
        std::uint8_t sender, whisperTo;
        QString text;
        QString line;
    } cases[] = {
            {"CR LF before a line in another's name", 4, 0,
             QStringLiteral("阿强说道： 好\r\n老王说道： 我认输"),
             QStringLiteral("阿强说道： 好  老王说道： 我认输")},
            {"a lone LF", 4, 0, QStringLiteral("阿强说道： a\n小红说道： b"),
             QStringLiteral("阿强说道： a 小红说道： b")},
            {"a lone CR", 4, 0, QStringLiteral("阿强说道： a\r小红说道： b"),
             QStringLiteral("阿强说道： a 小红说道： b")},
            {"terminal escapes, a bell and DEL", 4, 0,
             QStringLiteral("阿强说道： \x1b[2J\x07x\x7f"), QStringLiteral("阿强说道：  [2J x ")},
            {"tab, vertical tab and form feed", 4, 0, QStringLiteral("阿强说道： a\tb\vc\fd"),
             QStringLiteral("阿强说道： a b c d")},
            {"in a whisper's text", 8, 2, QStringLiteral("hi\r\n阿强说道： x"),
             QStringLiteral("老王对你说道： hi  阿强说道： x")},
            {"in the own line, where the own name becomes 你", 2, 0,
             QStringLiteral("小明说道： a\n小明说道： b"), QStringLiteral("你说道： a 你说道： b")},
            {"in a server line", 0, 0, QStringLiteral("系统：\r\n阿强说道： 我认输"),
             QStringLiteral("系统：  阿强说道： 我认输")},
    };
    // With a line in the system line area, each new one goes below it.
    t.chat.ReceiveChat(chatFrame(0, QStringLiteral("系统：开始")));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        t.chat.Talk().Text1->clear();
        t.chat.ReceiveChat(chatFrame(c.sender, c.text, c.whisperTo));
        EXPECT_EQ(t.history(), QStringList{c.line});
        EXPECT_EQ(sysLine(t, 1), c.line) << "the system line area shows it so too";
    }
}

TEST_F(ChatReceive, ServerLinesGoUnfilteredAndSomeAreDropped)
{
    t.state.gamedllstate = -1;
    t.chat.ReceiveChat(chatFrame(0, QStringLiteral("连续玩10局可以得到宝箱")));
    EXPECT_TRUE(t.history().isEmpty());
    EXPECT_EQ(sysLine(t, 0), QString());

    t.state.gamedllstate = 0;
    t.chat.ReceiveChat(chatFrame(0, QStringLiteral("连续玩10局可以得到宝箱")));
    t.chat.ReceiveChat(chatFrame(0, QStringLiteral("系统：fuck")));
    EXPECT_EQ(
            t.history(),
            (QStringList{QStringLiteral("连续玩10局可以得到宝箱"), QStringLiteral("系统：fuck")}));
    EXPECT_FALSE(t.state.loop.slots.armed(core::LoopSlot::Blink)) << "no server line blinks";
    EXPECT_EQ(t.state.loop.BlinkCount, 0);
}

TEST_F(ChatReceive, ALongLineIsWholeInTheHistoryAndCutInTheSystemLine)
{
    const QString text = QString(30, QChar(u'长')) + QString(40, QLatin1Char('a'));
    t.chat.ReceiveChat(chatFrame(4, text));
    EXPECT_EQ(t.historyAsLine(), text);
    EXPECT_GT(t.history().size(), 1);
    EXPECT_EQ(sysLine(t, 0), text.left(45));
}

// The text field is read to its end when no zero byte stops it; a lead byte
// in its last place pairs with the byte after it and nothing past the frame
// is read.
TEST_F(ChatReceive, AFullTextFieldIsReadToItsEndAndNoFurther)
{
    wire::MessageFrame frame = chatFrame(4, QString());
    for (std::size_t i = 16; i < 215; ++i)
        frame.setByte(i, 'a');
    const std::string pair = wire::utf8ToGbk("好");
    frame.setByte(215, static_cast<std::uint8_t>(pair[0]));
    frame.setByte(216, static_cast<std::uint8_t>(pair[1]));
    t.chat.ReceiveChat(frame);
    EXPECT_EQ(t.historyAsLine(), QString(199, QLatin1Char('a')) + QStringLiteral("好"));

    // A lead byte as the frame's very last byte stands alone.
    wire::MessageFrame last = chatFrame(4, QString());
    for (std::size_t i = 16; i < wire::kFrameSize; ++i)
        last.setByte(i, 0x81);
    t.chat.Talk().Text1->clear();
    t.chat.ReceiveChat(last);
    EXPECT_EQ(t.history().size() > 0, true);
}

TEST_F(ChatReceive, AQuickPhraseShowsTheReceiversPhraseInABubbleAndPlaysItsVoice)
{
    t.chat.ReceiveChat(chatFrame(1, QStringLiteral("小红说道： 送你的话"), 0, 2, 2));
    frmSpeakBox *box = FindSpeakBox(3);
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->labPhrase->text(), QStringLiteral("谢谢你"));
    EXPECT_EQ(t.voices.loaded, std::vector<QString>{QStringLiteral("v4000202.wav")});
    EXPECT_EQ(t.history(), QStringList{QStringLiteral("小红说道： 送你的话")})
            << "the history keeps the sender's own words";
    EXPECT_EQ(FindSpeakBox(0), nullptr);
}

TEST_F(ChatReceive, NoBubbleOrVoiceWhenThePhraseCannotBeShown)
{
    struct Case
    {
        const char *name;
        std::function<void(ChatTable &)> arrange;
        std::uint8_t list, number;
    } cases[] = {
            {"a number the receiver's list lacks", [](ChatTable &) {}, 1, 4},
            {"number 0", [](ChatTable &) {}, 1, 0},
            {"the table window minimised",
             [](ChatTable &table) { table.form->setWindowStateCode(table::MainForm::Minimized); },
             1, 1},
            {"the own seat not known yet",
             [](ChatTable &table) { table.state.rules.HandRecords[0].seatBit = 0; }, 1, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ChatTable table(false);
        table.seat(1, 2, QStringLiteral("阿强"));
        c.arrange(table);
        table.chat.ReceiveChat(chatFrame(2, QStringLiteral("阿强说道： x"), 0, c.list, c.number));
        EXPECT_EQ(FindSpeakBox(1), nullptr);
        EXPECT_TRUE(table.voices.loaded.empty());
        EXPECT_EQ(table.history().size(), 1) << "the line is shown all the same";
    }
}

TEST_F(ChatReceive, VoicesAreSilentWhileTheVoiceSwitchIsOff)
{
    t.state.sound.VoiceOn = false;
    t.chat.ReceiveChat(chatFrame(4, QStringLiteral("阿强说道： 大家好"), 0, 1, 1));
    EXPECT_NE(FindSpeakBox(1), nullptr);
    EXPECT_TRUE(t.voices.loaded.empty());
}

QByteArray twelvePhrases()
{
    std::string ini = "[Phrase1]\r\nnum=12\r\n";
    for (int i = 1; i <= 12; ++i)
        ini += std::to_string(i) + "=p" + std::to_string(i) + "\r\n";
    return QByteArray::fromStdString(ini);
}

TEST(ChatReceiveVoices, PhraseTenAndTwelveNameTheirFiles)
{
    ChatTable t(false, twelvePhrases());
    t.seat(1, 2, QStringLiteral("阿强"), 1);
    t.chat.ReceiveChat(chatFrame(2, QStringLiteral("x"), 0, 1, 10));
    t.chat.ReceiveChat(chatFrame(2, QStringLiteral("x"), 0, 1, 12));
    t.chat.ReceiveChat(chatFrame(2, QStringLiteral("x"), 0, 1, 3));
    EXPECT_EQ(t.voices.loaded,
              (std::vector<QString>{QStringLiteral("v2010110.wav"), QStringLiteral("v20101012.wav"),
                                    QStringLiteral("v2010103.wav")}));
}

} // namespace
} // namespace tessaroc::chat::test
