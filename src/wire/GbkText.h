#pragma once

#include "wire/MessageFrame.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The one text codec of the client. Everything the game server, the hall and
// the files beside the program carry as text is in the Chinese double-byte
// code page GBK (code page 936); inside the program text is UTF-8. Every
// conversion between the two goes through this header, so bytes are never
// taken for text by accident.
//
// The code page is read from glibc's iconv ("CP936") once, on first use, into
// two lookup tables; after that every call is table work without allocation
// beyond the returned string, and safe from several threads.
//
// Code of a character: the number the code page gives it. A single-byte
// character has a code below 0x100 (ASCII, and 0x80 for the euro sign); a
// double-byte character has the code lead * 256 + trail, lead byte 0x81..0xFE.
// A character the code page cannot write gets the code of '?', as the
// platform's own conversion does.
namespace tessaroc::wire {

inline constexpr char32_t kReplacementChar = U'\uFFFD';

// The code of one character (see above).
std::uint16_t gbkCode(char32_t ch);

// How many bytes the character takes on the wire: 1 for a code below 0x100,
// 2 for a double-byte character. No other sizes occur in the code page.
inline std::size_t gbkByteLength(std::uint16_t code)
{
    return code < 0x100 ? 1 : 2;
}
inline std::size_t gbkByteLength(char32_t ch)
{
    return gbkByteLength(gbkCode(ch));
}

// The character with a code of the code page, or U+FFFD when the code names no
// character (a lead byte with an impossible trail, a lone lead byte...).
char32_t charOfGbkCode(std::uint16_t code);

// Whole texts.
// UTF-8 to GBK bytes. Characters with no code, and bytes that are not valid
// UTF-8, become '?'.
std::string utf8ToGbk(std::string_view utf8);
// GBK bytes to UTF-8. A byte that starts no valid character (a lead byte
// followed by an impossible trail or by the end of the text, 0xFF) becomes
// '?' and reading goes on at the next byte, so one bad byte never swallows a
// good one after it.
std::string gbkToUtf8(std::string_view gbk);

// UTF-8 helpers for code that counts or cuts text by characters (the chat
// line is cut to 100 characters). Invalid bytes decode to U+FFFD.
std::u32string utf8ToChars(std::string_view utf8);
std::string charsToUtf8(std::u32string_view chars);
void appendUtf8(std::string &out, char32_t ch);

// Reading a text field of a received frame. The field runs from byte `first`
// to byte `last` (both inclusive); what comes back is UTF-8.
enum class FieldText {
    // The common rule: reading stops at the first zero byte or after the
    // field's last byte. A byte below 0x80 is one character; a byte of 0x80 or
    // above is a lead byte and takes the next byte as its trail, even when the
    // lead stands in the field's last position (the trail is then the byte
    // after the field). A lead byte in the frame's very last position has no
    // trail and stands alone: the single-byte character of its code (0x80 is
    // the euro sign), else '?'. A lead and trail that name no character read
    // as '?'.
    Mixed,
    // As Mixed, but a lead byte in the field's last position stands alone, as
    // at the frame's end (the nickname of the user block).
    MixedInField,
    // Read in pairs from the field's first byte; every pair is one double-byte
    // character; the text ends at a pair whose first byte is zero (location,
    // title, name tag).
    TwoByte,
    // Every byte is one character of the code page; a byte that is no
    // single-byte character reads as '?' (account names, face codes,
    // addresses).
    SingleByte,
};

std::string readFieldText(const MessageFrame &frame, std::size_t first, std::size_t last,
                          FieldText rule = FieldText::Mixed);

// Writes text into a frame from byte `first`, whole characters only, one byte
// for a single-byte character and two (lead first) for a double-byte one,
// stopping before a character that would pass byte `last` (inclusive) or the
// frame's end. Bytes after the text are left as they are. Returns the number
// of bytes written.
std::size_t writeFieldText(MessageFrame &frame, std::size_t first, std::size_t last,
                           std::u32string_view chars);

} // namespace tessaroc::wire
