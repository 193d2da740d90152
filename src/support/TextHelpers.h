#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

class QListWidget;

// Text helpers that measure text as the list boxes show it: a character that
// the code page (GBK) writes in one byte takes one column, a double-byte
// character two.
namespace tessaroc::support {

// True when the first character of `ch` is one byte in the code page (ASCII,
// the euro sign, and any character the code page cannot write, which goes out
// as '?'); false for a double-byte character. An empty text counts as one
// byte.
bool IsSingleByteChar(const QString &ch);

// The lines AddWrappedText adds for `text`: pieces of about `width` columns.
// The text ends at its first NUL character. The first piece keeps the
// character at which the width was reached; every later piece leaves it to the
// next one, starts with a space (continuation lines stand indented by one
// column), and counts its width from that carried character on. The last piece
// runs to the end of the text.
QStringList WrapText(const QString &text, std::int16_t width);

// Adds the pieces of WrapText to the end of the list box, nothing else.
void AddWrappedText(QListWidget &list, const QString &text, std::int16_t width);

// `text` right-aligned in a column of n characters (characters, not display
// columns): preceded by the spaces it lacks, unchanged when it has n
// characters or more. A text more than 32768 characters longer than its
// column is refused with std::length_error: the column arithmetic is 16-bit,
// and such a text is no column entry but a fault of the caller.
QString PadRight(const QString &text, std::int16_t n);

} // namespace tessaroc::support
