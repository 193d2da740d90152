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
    // A history holding more entries than this is emptied by the next key
    // in the chat box, and before the next line goes in.
    static constexpr int kMaxLines = 100;
    // Display columns of an entry.
    static constexpr std::int16_t kColumns = 44;

    explicit TalkWindow(QWidget *parent = nullptr);

    // Empties the list when it holds more than kMaxLines entries.
    void trim();
    // The line wrapped into entries of kColumns at the end of the list, the
    // list trimmed first, and shown.
    void addLine(const QString &line);
    // The list shows its last entry at the top of its view.
    void scrollToEnd();

    QListWidget *Text1;
    forms::Image Label1; // the close spot
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
