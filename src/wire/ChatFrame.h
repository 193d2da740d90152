#pragma once

#include "wire/MessageFrame.h"

#include <cstdint>
#include <string>
#include <string_view>

// The chat line (19), the one command with the same layout both ways.
//   6        the sender's seat; the client writes its own (0 before the first
//            user information), the server its real one, 0 for a system line
//   9, 10    quick-phrase list (1 or 2) and number (from 1); 0, 0 when typed
//   11       whisper addressee's seat bit; 0 for everybody
//   13       97 for a phrase of the second list, else 0
//   16..215  text, GBK, at most 100 characters (200 bytes), zero-padded
//   236..239 KindWord, most significant byte first: 272 and 260 mark
//            item-library traffic, which is no chat line
namespace tessaroc::wire {

inline constexpr std::uint32_t kItemKindWord272 = 272;
inline constexpr std::uint32_t kItemKindWord260 = 260;
// The longest chat line, in characters.
inline constexpr std::size_t kMaxChatChars = 100;

struct ChatFrame
{
    SeatByte sender{};
    std::uint8_t phraseList = 0;
    std::uint8_t phraseNo = 0;
    SeatByte whisperTo{};
    std::string text{}; // UTF-8; received text is read up to its first zero byte
    std::uint32_t kindWord = 0;

    bool isSystemLine() const { return sender.raw == 0; }
    bool isItemTraffic() const
    {
        return kindWord == kItemKindWord272 || kindWord == kItemKindWord260;
    }

    // The text is cut to kMaxChatChars characters.
    MessageFrame encode() const;
    static ChatFrame decode(const MessageFrame &frame);
    bool operator==(const ChatFrame &) const = default;
};

// A chat frame that carries a chat line rather than item-library traffic.
bool isChatLine(const MessageFrame &frame);

// Packs a chat text into the frame the way the send path does: cut to
// kMaxChatChars characters, GBK from byte 16, every byte after the text up to
// byte 271 set to 0. Returns the number of text bytes.
std::size_t packChatText(MessageFrame &frame, std::string_view utf8);

} // namespace tessaroc::wire
