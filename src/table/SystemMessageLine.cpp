#include "table/SystemMessageLine.h"

#include <QApplication>
#include <QPainter>
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

    // The line is about as tall as the text's glyphs, less than the face's
    // own line with its leading, and a face that sets its ideographs low in
    // that line would lose their feet at the bottom edge. The text is set so
    // that the body of an ideograph stands in the middle of the line.
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        QStyleOptionViewItem opt(option);
        initStyleOption(&opt, index);
        const QString text = opt.text;
        opt.text.clear();
        const QWidget *view = opt.widget;
        QStyle *style = view ? view->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, view);

        const QFontMetricsF metrics(opt.font);
        const QRectF body = metrics.tightBoundingRect(QStringLiteral("国"));
        const QRectF area = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, view);
        const double baseline = area.top() + (area.height() - body.height()) / 2 - body.top();
        painter->save();
        painter->setClipRect(opt.rect);
        painter->setFont(opt.font);
        painter->setPen(opt.palette.color(QPalette::Text));
        painter->drawText(QPointF(area.left(), baseline), text);
        painter->restore();
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
