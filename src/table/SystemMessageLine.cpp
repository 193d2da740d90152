#include "table/SystemMessageLine.h"

#include <QStyledItemDelegate>

namespace tessaroc::table {

namespace {

class LineDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        if (const auto *view = qobject_cast<const QWidget *>(parent()))
            size.setHeight(std::max(1, view->height()));
        return size;
    }
};

} // namespace

SystemMessageLine::SystemMessageLine(QWidget *parent)
    : QListWidget(parent)
{
    setItemDelegate(new LineDelegate(this));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::NoFocus);
    setSelectionMode(QAbstractItemView::NoSelection);
    setTextElideMode(Qt::ElideNone);
}

} // namespace tessaroc::table
