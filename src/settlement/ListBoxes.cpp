#include "settlement/ListBoxes.h"

#include <QScrollBar>

#include <algorithm>

namespace tessaroc::settlement {

namespace {

int clampToList(const QListWidget &list, int index)
{
    if (index < 0)
        return -1;
    return std::min(index, list.count() - 1);
}

} // namespace

int ListIndex(const QListWidget &list)
{
    return list.currentRow();
}

void setListIndex(QListWidget &list, int index)
{
    list.setCurrentRow(clampToList(list, index));
}

int TopIndex(const QListWidget &list)
{
    if (list.count() == 0)
        return 0;
    // The list scrolls by whole lines: the scroll bar's value is the top line
    // once the lines added are laid out.
    const_cast<QListWidget &>(list).doItemsLayout();
    return std::clamp(list.verticalScrollBar()->value(), 0, list.count() - 1);
}

void setTopIndex(QListWidget &list, int index)
{
    const int line = clampToList(list, index);
    if (line < 0)
        return;
    list.doItemsLayout();
    list.verticalScrollBar()->setValue(line);
}

QStringList ListLines(const QListWidget &list)
{
    QStringList lines;
    lines.reserve(list.count());
    for (int i = 0; i < list.count(); ++i)
        lines << list.item(i)->text();
    return lines;
}

} // namespace tessaroc::settlement
