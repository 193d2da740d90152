#include "table/SystemMessageLine.h"

#include "forms/FittedText.h"

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
    // own line with its leading: the text is set by where its glyphs' ink
    // lies, in the middle of the line and whole.
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

        const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, view);
        const QRect box(area.left(), opt.rect.top(), area.width(), opt.rect.height());
        const forms::FittedText fitted(forms::textSetting(text, opt.font, box, Qt::AlignLeft,
                                                          forms::FittedText::Wrap::None,
                                                          painter->device()),
                                       painter->device());
        painter->save();
        painter->setPen(opt.palette.color(QPalette::Text));
        fitted.draw(*painter);
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
