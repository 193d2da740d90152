#pragma once

#include <QListWidget>

namespace tessaroc::settlement {

// The list-box properties the boards move between lists. Setting an index
// beyond a shorter list takes its last line (none when it is empty), so
// lists of unequal length never move to a line they do not have.
int ListIndex(const QListWidget &list);
void setListIndex(QListWidget &list, int index);
// The line at the top of the visible part.
int TopIndex(const QListWidget &list);
void setTopIndex(QListWidget &list, int index);
// The lines of a list, in order.
QStringList ListLines(const QListWidget &list);

} // namespace tessaroc::settlement
