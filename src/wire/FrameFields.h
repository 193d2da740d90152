#pragma once

#include "rules/CardCode.h"
#include "wire/GbkText.h"
#include "wire/MessageFrame.h"

#include <algorithm>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

// Field readers and writers shared by the frame codecs: card codes four bytes
// each, text fields through the one GBK codec. Only the codecs include this.
namespace tessaroc::wire::fields {

// Reads `count` card codes from `first` on, four bytes each, least significant
// byte first; the caller has clamped count to the table it fills.
inline void readCards(const MessageFrame &frame, std::size_t first, std::span<rules::CardCode> out)
{
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<rules::CardCode>(frame.u32le(first + 4 * i));
}

inline void writeCards(MessageFrame &frame, std::size_t first,
                       std::span<const rules::CardCode> cards)
{
    for (std::size_t i = 0; i < cards.size(); ++i)
        frame.setU32le(first + 4 * i, static_cast<std::uint32_t>(cards[i]));
}

// Writes UTF-8 text as GBK into bytes first..last, whole characters only.
inline void writeText(MessageFrame &frame, std::size_t first, std::size_t last,
                      std::string_view utf8)
{
    writeFieldText(frame, first, last, utf8ToChars(utf8));
}

// How many of a table's entries a count from the wire may fill.
inline std::size_t clampCount(std::size_t count, std::size_t tableSize)
{
    return std::min(count, tableSize);
}

} // namespace tessaroc::wire::fields
