#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <string_view>

// The quick phrases of the two pages, read once from "chat.ini" beside the
// program: sections "Phrase1" and "Phrase2", each with "num" and the keys
// "1" .. num.
namespace tessaroc::chat {

inline constexpr char16_t kPhrasesFileName[] = u"chat.ini";

struct PhrasePages
{
    QStringList page1;
    QStringList page2;
};

// The phrase count of a "num" value: its leading decimal number (0 when it
// has none), rounded half to even and held to 0 .. 32767, so that a wrong
// file can neither fail the reading nor ask for a negative count.
std::int16_t PhraseCount(const QString &value);

// The phrases of the file at `path`, from one reading of it. A missing file, one that is no plain
// file or cannot be read gives two empty pages; a missing key gives an empty
// phrase at its place. Nothing is reported.
PhrasePages ReadPhrases(const QString &path);

// The same from the file's bytes (GBK).
PhrasePages PhrasesFromText(std::string_view fileText);

} // namespace tessaroc::chat
