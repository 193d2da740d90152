#include "wire/ChatFrame.h"

#include "wire/GbkText.h"

namespace tessaroc::wire {

namespace {

constexpr std::size_t kPhraseListPos = 9;
constexpr std::size_t kPhraseNoPos = 10;
constexpr std::size_t kWhisperPos = 11;
constexpr std::size_t kSecondListMarkPos = 13;
constexpr std::uint8_t kSecondListMark = 97;
constexpr std::size_t kTextPos = 16;
constexpr std::size_t kTextLast = 215;

} // namespace

MessageFrame ChatFrame::encode() const
{
    MessageFrame frame;
    frame.setCmd(CmdChat);
    frame.setSeatBit(sender.raw);
    frame.setByte(kPhraseListPos, phraseList);
    frame.setByte(kPhraseNoPos, phraseNo);
    frame.setByte(kWhisperPos, whisperTo.raw);
    if (phraseList == 2)
        frame.setByte(kSecondListMarkPos, kSecondListMark);
    if (!text.empty())
        packChatText(frame, text);
    frame.setU32be(offset::kKindWord, kindWord);
    return frame;
}

ChatFrame ChatFrame::decode(const MessageFrame &frame)
{
    ChatFrame chat;
    chat.sender = frame.seatBit();
    chat.phraseList = frame.byteAt(kPhraseListPos);
    chat.phraseNo = frame.byteAt(kPhraseNoPos);
    chat.whisperTo = frame.byteAt(kWhisperPos);
    chat.text = readFieldText(frame, kTextPos, kTextLast, FieldText::Mixed);
    chat.kindWord = frame.kindWord();
    return chat;
}

bool isChatLine(const MessageFrame &frame)
{
    if (frame.cmd() != CmdChat)
        return false;
    const std::uint32_t kind = frame.kindWord();
    return kind != kItemKindWord272 && kind != kItemKindWord260;
}

std::size_t packChatText(MessageFrame &frame, std::string_view utf8)
{
    std::u32string chars = utf8ToChars(utf8);
    if (chars.size() > kMaxChatChars)
        chars.resize(kMaxChatChars);
    // 100 characters of at most two bytes end by byte 215.
    const std::size_t written = writeFieldText(frame, kTextPos, kTextLast, chars);
    for (std::size_t pos = kTextPos + written; pos < kFrameSize; ++pos)
        frame.setByte(pos, 0);
    return written;
}

} // namespace tessaroc::wire
