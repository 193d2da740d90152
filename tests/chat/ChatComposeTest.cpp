// The chat's text work as pure functions: the frame a send builds, the 100-
// character cut of the send path, the line a received frame shows, the word
// filter, and the phrases of "chat.ini" with their count.

#include "chat/ChatPhrases.h"
#include "chat/ChatText.h"
#include "support/ProfileText.h"
#include "wire/ChatFrame.h"
#include "wire/GbkText.h"
#include "wire/MsgRings.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tessaroc::chat {
namespace {

const QString kNick = QStringLiteral("小明");
const QString kPrefix = QStringLiteral("你对阿强说 ：");

struct ComposeCase
{
    const char *name;
    ChatDraft draft;
    bool sent;
    const char *text; // the line the frame carries, UTF-8
    std::uint8_t whisperTo;
    std::uint8_t list = 0;
    std::uint8_t number = 0;
    std::uint8_t mark13 = 0;
};

ChatDraft draft(const char *box, const QString &prefix = {}, std::uint8_t target = 0,
                std::optional<QuickPhrase> phrase = std::nullopt)
{
    return ChatDraft{QString::fromUtf8(box), prefix, target, kNick, 4, std::move(phrase)};
}

// The frame as it leaves: composed, then packed by the send path.
wire::MessageFrame send(const ComposedChat &composed)
{
    wire::MsgRings rings;
    rings.PendingChat = composed.pendingChat.toStdString();
    wire::MessageFrame frame = composed.frame;
    EXPECT_EQ(wire::SendMsg(rings, frame), wire::SendResult::Queued);
    return frame;
}

TEST(ComposeChatLine, BuildsTheFrameOfEachKindOfLine)
{
    const ComposeCase cases[] = {
            {"public line", draft("hello"), true, "小明说道： hello", 0},
            {"spaces around the text are kept", draft(" hi "), true, "小明说道：  hi ", 0},
            {"empty box", draft(""), false, "", 0},
            {"only spaces", draft("   "), false, "", 0},
            {"a tab is text", draft("\t"), true, "小明说道： \t", 0},
            {"whisper to seat 2", draft("你对阿强说 ：hi", kPrefix, 2), true, "hi", 2},
            {"whisper to seat 8", draft("你对阿强说 ：hi", kPrefix, 8), true, "hi", 8},
            {"whisper with no known seat goes to all under the own name",
             draft("你对阿强说 ：hi", kPrefix, 0), true, "小明对阿强说 ：hi", 0},
            {"only the prefix", draft("你对阿强说 ：", kPrefix, 2), false, "", 0},
            {"the prefix and spaces", draft("  你对阿强说 ：  ", kPrefix, 2), false, "", 0},
            {"text before the prefix is cut by length", draft("ab你对阿强说 ：cd", kPrefix, 2),
             true, " ：cd", 2},
            {"a damaged prefix sends a public line", draft("你对阿说 ：hi", kPrefix, 2), true,
             "小明说道： 你对阿说 ：hi", 0},
            {"phrase of list 1", draft("", {}, 0, QuickPhrase{1, 3, QStringLiteral("合作愉快")}),
             true, "小明说道： 合作愉快", 0, 1, 3, 0},
            {"phrase of list 2 marks byte 13",
             draft("typed", {}, 0, QuickPhrase{2, 1, QStringLiteral("炸得好")}), true,
             "小明说道： 炸得好", 0, 2, 1, 97},
            {"phrase as a whisper takes the typed text's place",
             draft("你对阿强说 ：typed", kPrefix, 2, QuickPhrase{1, 2, QStringLiteral("快点吧")}),
             true, "快点吧", 2, 1, 2, 0},
    };
    for (const ComposeCase &c : cases) {
        SCOPED_TRACE(c.name);
        const auto composed = ComposeChatLine(c.draft);
        ASSERT_EQ(composed.has_value(), c.sent);
        if (!composed)
            continue;
        const wire::MessageFrame frame = send(*composed);
        const wire::ChatFrame chat = wire::ChatFrame::decode(frame);
        EXPECT_EQ(frame.cmd(), wire::CmdChat);
        EXPECT_EQ(chat.sender.raw, 4);
        EXPECT_EQ(chat.text, c.text);
        EXPECT_EQ(chat.whisperTo.raw, c.whisperTo);
        EXPECT_EQ(chat.phraseList, c.list);
        EXPECT_EQ(chat.phraseNo, c.number);
        EXPECT_EQ(frame.byteAt(13), c.mark13);
        EXPECT_EQ(chat.kindWord, 0u);
    }
}

// The whole line, own name and mark included, is cut to 100 characters, by
// characters: a double-byte character is never split, and the rest of the
// frame is zero.
TEST(ComposeChatLine, TheSendPathCutsTheWholeLineToAHundredCharacters)
{
    const QString typed = QString(60, QChar(u'好')) + QString(60, QLatin1Char('x'));
    const auto composed = ComposeChatLine(draft(typed.toUtf8().constData()));
    ASSERT_TRUE(composed);
    const wire::MessageFrame frame = send(*composed);
    const QString expected = (kNick + QString::fromUtf16(kSaidMark) + typed).left(100);
    EXPECT_EQ(QString::fromStdString(wire::ChatFrame::decode(frame).text), expected);
    // 65 double-byte characters and 35 single bytes: 165 bytes.
    EXPECT_NE(frame.byteAt(16 + 164), 0);
    for (std::size_t i = 16 + 165; i < 260; ++i)
        ASSERT_EQ(frame.byteAt(i), 0) << i;
}

TEST(ChatDisplayLine, WritesNamesAndTheOwnNameAsYou)
{
    const std::array<QString, 4> names
            = {kNick, QStringLiteral("阿强"), QStringLiteral("老王"), QStringLiteral("小红")};
    struct Case
    {
        const char *name;
        QString text;
        bool whisper;
        int from, to;
        QString line;
    } cases[] = {
            {"own public line", QStringLiteral("小明说道： hi"), false, 0, 0,
             QStringLiteral("你说道： hi")},
            {"another's line keeps the own name", QStringLiteral("阿强说道： 小明好"), false, 1, 0,
             QStringLiteral("阿强说道： 小明好")},
            {"own whisper to position 2", QStringLiteral("hi"), true, 0, 2,
             QStringLiteral("你对老王说道： hi")},
            {"whisper from position 1 to the own seat", QStringLiteral("hi"), true, 1, 0,
             QStringLiteral("阿强对你说道： hi")},
            {"whisper between two others", QStringLiteral("hi 小明"), true, 1, 3,
             QStringLiteral("阿强对小红说道： hi 小明")},
            {"the own name inside an own whisper's text", QStringLiteral("小明 here"), true, 0, 1,
             QStringLiteral("你对阿强说道： 你 here")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ChatDisplayLine(c.text, c.whisper, c.from, c.to, names), c.line);
    }
    std::array<QString, 4> nameless = names;
    nameless[0].clear();
    EXPECT_EQ(ChatDisplayLine(QStringLiteral("说道： hi"), false, 0, 0, nameless),
              QStringLiteral("说道： hi"))
            << "an empty own name replaces nothing";
}

TEST(FiltChatText, RemovesEveryEntryUntilNoneIsLeft)
{
    const struct
    {
        QString in, out;
    } cases[] = {
            {QStringLiteral("你好他妈的朋友"), QStringLiteral("你好朋友")},
            {QStringLiteral("王八羔子王八"), QStringLiteral("")},
            {QStringLiteral("what the fuck"), QStringLiteral("what the ")},
            {QStringLiteral("色情黄色"), QStringLiteral("")},
            {QStringLiteral("李雷和韩梅梅"), QStringLiteral("和")},
            {QStringLiteral("no words here"), QStringLiteral("no words here")},
            // A word hidden inside another comes out when the outer one goes.
            {QStringLiteral("王王八八"), QStringLiteral("")},
            {QStringLiteral("fufuckck"), QStringLiteral("")},
            {QStringLiteral("shshitit!"), QStringLiteral("!")},
            {QStringLiteral("他妈他妈的的"), QStringLiteral("")},
            // Removing the single character joins 王 and 八 into a word,
            // which goes as well, though its entry comes earlier.
            {QStringLiteral("王屌八"), QStringLiteral("")},
            // ASCII letters in either case.
            {QStringLiteral("FUCK off"), QStringLiteral(" off")},
            {QStringLiteral("ShIt happens"), QStringLiteral(" happens")},
            {QStringLiteral("FuFUCKcK"), QStringLiteral("")},
            {QStringLiteral("Keep THE rest"), QStringLiteral("Keep THE rest")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FiltChatText(c.in), c.out) << c.in.toStdString();
}

TEST(PhraseCount, ReadsTheLeadingNumberRoundedHalfToEvenAndClamped)
{
    const struct
    {
        const char *value;
        int count;
    } cases[] = {
            {"12", 12},      {"", 0},          {"abc", 0}, {" 7 phrases", 7}, {"2.5", 2},
            {"3.5", 4},      {"2.6", 3},       {"-3", 0},  {"40000", 32767},  {"1e3", 1000},
            {"1e99", 32767}, {"32767", 32767}, {"0", 0},   {"+4", 4},         {"0.4", 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(PhraseCount(QString::fromUtf8(c.value)), c.count) << c.value;
}

// Characters the code page cannot carry, should a line hold them anyway.
TEST(ControlsAsSpaces, TakesEveryControlAndLineSeparatorButKeepsText)
{
    EXPECT_EQ(ControlsAsSpaces(QStringLiteral("a\u0085b\u009bc\u2028d\u2029e")),
              QStringLiteral("a b c d e"));
    EXPECT_EQ(ControlsAsSpaces(QStringLiteral("全角\u3000空格 € ok")),
              QStringLiteral("全角\u3000空格 € ok"));
}

// The largest count a file can ask for, with a phrase for every number (a
// file of more than a megabyte): the file is read and split into lines once,
// not once for every phrase.
TEST(ReadPhrases, ALargeFileIsReadInOnePass)
{
    constexpr int kCount = 32767;
    const std::string words = wire::utf8ToGbk("句：快点吧，我等到花儿都谢了");
    std::string ini = "[Phrase1]\r\nnum=" + std::to_string(kCount) + "\r\n";
    for (int i = 1; i <= kCount; ++i)
        ini += std::to_string(i) + "=" + wire::utf8ToGbk("第") + std::to_string(i) + words + "\r\n";
    ASSERT_GT(ini.size(), std::size_t{1} << 20);
    ini += "[Phrase2]\r\nnum=2\r\n1=a\r\n2=b\r\n";
    QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromUtf16(kPhrasesFileName));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(ini.data(), static_cast<qint64>(ini.size()));
    file.close();

    const std::uint64_t before = support::profile::textPasses();
    const PhrasePages pages = ReadPhrases(path);
    EXPECT_EQ(support::profile::textPasses() - before, 1u);
    ASSERT_EQ(pages.page1.size(), kCount);
    EXPECT_EQ(pages.page1.front(), QStringLiteral("第1句：快点吧，我等到花儿都谢了"));
    EXPECT_EQ(pages.page1.back(), QStringLiteral("第32767句：快点吧，我等到花儿都谢了"));
    EXPECT_EQ(pages.page2, (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
}

TEST(PhrasesFromText, GivesEmptyLinesForMissingKeysAndNothingForABrokenFile)
{
    const std::string text = wire::utf8ToGbk(
            "[Phrase1]\r\nnum=3\r\n1=一\r\n3=  三\r\n[Phrase2]\r\nnum=x\r\n1=never\r\n");
    const PhrasePages pages = PhrasesFromText(text);
    EXPECT_EQ(pages.page1, (QStringList{QStringLiteral("一"), QString(), QStringLiteral("三")}));
    EXPECT_TRUE(pages.page2.isEmpty());

    const char bytes[] = "\xff\xfe\x00garbage[[[=\n\x81";
    const PhrasePages broken = PhrasesFromText(std::string_view(bytes, sizeof bytes - 1));
    EXPECT_TRUE(broken.page1.isEmpty());
    EXPECT_TRUE(broken.page2.isEmpty());
}

} // namespace
} // namespace tessaroc::chat
