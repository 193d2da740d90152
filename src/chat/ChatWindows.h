#pragma once

#include "forms/Image.h"
#include "forms/PopupWindow.h"

#include <QListWidget>

#include <cstdint>

namespace tessaroc::chat {

struct PhrasePages;

// The chat history Talk: one list, Text1, a line per entry, and a close
// spot. It is loaded on first use and only hidden afterwards, so the history
// lasts as long as the program, up to its bound.
class TalkWindow : public forms::PopupWindow
{
public:
    // The history keeps at most this many entries: past it, the oldest lines
    // go, each with all of its entries.
    static constexpr int kMaxLines = 100;
    // Display columns of an entry.
    static constexpr std::int16_t kColumns = 44;
    // What a continuation entry starts with in the place of the wrap's one
    // space. A line that a player wrote is padded as they like, so the wrap
    // could start an entry with another player's name; the mark tells such an
    // entry from the start of a line. The code page has no such character, so
    // no name or text from the server starts with it, and it takes the
    // space's one column.
    static constexpr char16_t kContinuationMark = u'\u21B3'; // ↳

    explicit TalkWindow(QWidget *parent = nullptr);

    // The entries a line is shown in: wrapped at kColumns, the continuation
    // entries marked.
    static QStringList entriesOf(const QString &line);

    // Drops the oldest lines, whole, until at most kMaxLines entries remain.
    void trim();
    // The line's entries at the end of the list, the oldest lines dropped to
    // the bound, and the newest entry shown.
    void addLine(const QString &line);
    // The list shows its last entry at the top of its view.
    void scrollToEnd();

    QListWidget *Text1;
    forms::Image Label1; // the close spot

private:
    // Whether an entry continues the line of the entry above it.
    bool continues(int row) const;
};

// The quick-phrase window huifu: two pages of phrases at the same place,
// List1 and List2, one visible at a time, and a close spot.
class HuifuWindow : public forms::PopupWindow
{
public:
    explicit HuifuWindow(QWidget *parent = nullptr);

    void fill(const PhrasePages &pages);
    // Shows page 1 or page 2.
    void showPage(int page);
    // The visible page: 1 or 2.
    int visiblePage() const;

    QListWidget *List1;
    QListWidget *List2;
    forms::Image Label1; // the close spot
};

} // namespace tessaroc::chat
