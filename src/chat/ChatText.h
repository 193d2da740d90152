#pragma once

#include "wire/MessageFrame.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

// The chat's text work with no window in it: building the frame of a line the
// player sends, the line a received frame shows, the word filter and the name
// of a quick phrase's voice.
namespace tessaroc::chat {

// What stands between the speaker's name and a public line.
inline constexpr char16_t kSaidMark[] = u"说道： ";
// The flood gate's answer in the history list.
inline constexpr char16_t kTooFast[] = u"（发送消息太快！）";
// Server lines beginning so are dropped while the item library is off.
inline constexpr char16_t kItemSeriesMark[] = u"连续玩10局";

// A phrase chosen in the quick-phrase window: its list (1 or 2), its place
// in the list counted from 1, and its text.
struct QuickPhrase
{
    std::uint8_t list = 1;
    std::uint8_t number = 1;
    QString text;
};

// Everything one send looks at: the chat box, the whisper being typed, the
// own name and seat, and for a quick phrase the phrase.
struct ChatDraft
{
    QString boxText;
    QString whisperPrefix;
    std::uint8_t chatTarget = 0; // the addressee's seat bit
    QString nickname;
    std::uint8_t ownSeat = 0; // 0 until the server's first user information
    std::optional<QuickPhrase> phrase;
};

// A line ready for the send path: the frame and the text the send path packs
// into it (PendingChat).
struct ComposedChat
{
    wire::MessageFrame frame;
    QString pendingChat;
};

// Builds the frame of a line; nothing when a typed line is empty, only
// spaces, or only the whisper prefix (spaces around it aside). A whisper
// carries the bare text and the addressee; a public line the own name,
// kSaidMark and the text. A quick phrase is never refused here and takes the
// typed text's place.
std::optional<ComposedChat> ComposeChatLine(const ChatDraft &draft);

// The text without the words of the word filter: every occurrence of every
// entry removed, ASCII letters in either case, again and again until none is
// left, so that a word split by another ("fufuckck") goes as well.
QString FiltChatText(const QString &text);

// The line with each control character (CR and LF among them) and each line
// or paragraph separator written as a space: a received line is one line of
// the history, never more.
QString ControlsAsSpaces(const QString &line);

// The line a received player line shows, before the filter: a whisper gets
// both names (nickname(from) 对 nickname(to) 说道： text); the own name reads
// "你" wherever the own seat took part.
QString ChatDisplayLine(const QString &text, bool whisper, int from, int to,
                        const std::array<QString, 4> &nicknames);

// The first n characters of a text, never half a character.
QString LeftChars(const QString &text, int n);

} // namespace tessaroc::chat
