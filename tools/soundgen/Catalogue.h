#pragma once

#include "Signal.h"
#include "Speech.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace soundgen {

// One file the client plays: where it goes below the output folder, how it
// is made (for --list), the words spoken in it if any, and the recipe, which
// receives the spoken words (or nothing).
struct Entry
{
    QString path; // e.g. "common/pk/sys040.wav"
    QString how;
    std::optional<Utterance> speech;
    std::function<Signal(const Signal *spoken)> make;
    int bitsPerSample = 16;
};

// The quick phrases of the two pages, as the phrases file lists them.
struct PhrasePages
{
    std::vector<QString> page1;
    std::vector<QString> page2;
};
const PhrasePages &quickPhrases();

// Every sound file of the client, the quick-phrase voices of every voice set
// and sex included.
std::vector<Entry> catalogue();

// The phrases file "chat.ini" for the pages, in the system code page (GBK)
// with CRLF line ends.
QByteArray phrasesFile(const PhrasePages &pages);

} // namespace soundgen
