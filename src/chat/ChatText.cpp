#include "chat/ChatText.h"

#include "wire/ChatFrame.h"

namespace tessaroc::chat {

namespace {

// Only spaces count: a line of tabs is a line.
QString trimSpaces(const QString &text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == QLatin1Char(' '))
        ++first;
    while (last > first && text[last - 1] == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}

// The own name, written as "你" in a line the own seat took part in. An
// empty name replaces nothing.
void replaceOwnName(QString &line, const QString &ownName)
{
    if (!ownName.isEmpty())
        line.replace(ownName, QStringLiteral("你"));
}

// The word filter: four names of persons, an organisation, three curses
// that differ in their pronoun, an insult and its first half, a character
// that goes from every word holding it, two words for smut and two English
// oaths, written in lower case.
constexpr const char16_t *kFilterWordList[] = {
        u"王大锤",   u"李雷", u"韩梅梅", u"赵铁柱", u"传销团", u"你妈的", u"他妈的", u"她妈的",
        u"王八羔子", u"王八", u"屌",     u"色情",   u"黄色",   u"fuck",   u"shit",
};

QString asciiLower(const QString &text)
{
    QString lower = text;
    for (QChar &ch : lower) {
        if (ch >= QLatin1Char('A') && ch <= QLatin1Char('Z'))
            ch = QChar(static_cast<char16_t>(ch.unicode() | 0x20));
    }
    return lower;
}

} // namespace

std::optional<ComposedChat> ComposeChatLine(const ChatDraft &draft)
{
    // The text stays out of the frame: the send path packs it in.
    wire::ChatFrame line;
    line.sender = draft.ownSeat;
    if (draft.phrase) {
        line.phraseList = draft.phrase->list;
        line.phraseNo = draft.phrase->number;
    }

    QString pending = draft.boxText;
    if (!draft.phrase) {
        if (pending.isEmpty() || trimSpaces(pending) == draft.whisperPrefix)
            return std::nullopt;
    }

    const QString &prefix = draft.whisperPrefix;
    if (!prefix.isEmpty() && pending.contains(prefix)) {
        // Cut by length, not at the prefix: text typed before the prefix
        // pushes the cut into it.
        pending = draft.phrase ? draft.phrase->text : pending.right(pending.size() - prefix.size());
        line.whisperTo = draft.chatTarget;
        if (draft.chatTarget == 0)
            pending = draft.nickname + prefix.mid(1) + pending;
    } else {
        pending = draft.nickname + QString::fromUtf16(kSaidMark)
                + (draft.phrase ? draft.phrase->text : pending);
    }
    return ComposedChat{line.encode(), pending};
}

QString FiltChatText(const QString &text)
{
    // The search runs on a copy with ASCII letters in lower case, which has
    // the same length, so a word found there is removed at the same place
    // from both. Each removal shortens the text: the loop ends.
    QString filtered = text;
    QString folded = asciiLower(text);
    bool removed = true;
    while (removed) {
        removed = false;
        for (const char16_t *entry : kFilterWordList) {
            const QString word = QString::fromUtf16(entry);
            for (qsizetype at = folded.indexOf(word); at >= 0; at = folded.indexOf(word, at)) {
                folded.remove(at, word.size());
                filtered.remove(at, word.size());
                removed = true;
            }
        }
    }
    return filtered;
}

QString ControlsAsSpaces(const QString &line)
{
    QString shown = line;
    for (QChar &ch : shown) {
        const QChar::Category category = ch.category();
        if (category == QChar::Other_Control || category == QChar::Separator_Line
            || category == QChar::Separator_Paragraph)
            ch = QLatin1Char(' ');
    }
    return shown;
}

QString ChatDisplayLine(const QString &text, bool whisper, int from, int to,
                        const std::array<QString, 4> &nicknames)
{
    const QString &ownName = nicknames[0];
    if (!whisper) {
        QString line = text;
        if (from == 0)
            replaceOwnName(line, ownName);
        return line;
    }
    QString line = nicknames[static_cast<std::size_t>(from & 3)] + QStringLiteral("对")
            + nicknames[static_cast<std::size_t>(to & 3)] + QString::fromUtf16(kSaidMark) + text;
    if (from == 0)
        replaceOwnName(line, ownName);
    if (to == 0)
        replaceOwnName(line, ownName);
    return line;
}

QString LeftChars(const QString &text, int n)
{
    qsizetype end = 0;
    for (int count = 0; count < n && end < text.size(); ++count)
        end += (text[end].isHighSurrogate() && end + 1 < text.size()) ? 2 : 1;
    return text.left(end);
}

} // namespace tessaroc::chat
