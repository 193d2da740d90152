#include "chat/ChatWindows.h"

#include "chat/ChatPhrases.h"
#include "forms/Fonts.h"
#include "forms/Units.h"
#include "support/PictureStore.h"
#include "support/TextHelpers.h"

namespace tessaroc::chat {

namespace {

// Both windows are 320 x 180 pixels, the size of their background pictures.
constexpr int kWindowWidth = 320;
constexpr int kWindowHeight = 180;

// Marks the history's entries that continue the line above them.
constexpr int kContinuesRole = Qt::UserRole;

void placeTwips(QWidget &widget, double left, double top, double width, double height)
{
    widget.setGeometry(static_cast<int>(forms::twipsToPixels(left)),
                       static_cast<int>(forms::twipsToPixels(top)),
                       static_cast<int>(forms::twipsToPixels(width)),
                       static_cast<int>(forms::twipsToPixels(height)));
}

void designCloseSpot(forms::Image &spot)
{
    spot.setStretch(true);
    spot.setPicture(support::PictureStore::designPicture(u"window_close"), 0);
    spot.Move(kWindowWidth - 17, 0, 16, 16);
    spot.setMouseIcon(support::PictureStore::handCursor());
    spot.setMousePointer(forms::MousePointer::Custom);
    spot.setVisible(true);
}

void designPhraseList(QListWidget &list)
{
    placeTwips(list, 120, 240, 4575, 2340);
    list.setFont(forms::designFont(QStringLiteral("华文新魏"), 14.25));
    QPalette palette = list.palette();
    palette.setColor(QPalette::Base, QColor(0xC0, 0xFF, 0xFF));
    list.setPalette(palette);
    list.setFrameShape(QFrame::NoFrame);
}

} // namespace

TalkWindow::TalkWindow(QWidget *parent)
    : forms::PopupWindow(parent)
    , Text1(new QListWidget(this))
    , Label1(this)
{
    setWindowTitle(QStringLiteral("聊天记录"));
    setPicture(support::PictureStore::designPicture(u"dialog"), 0);
    resize(kWindowWidth, kWindowHeight);
    placeTwips(*Text1, 120, 240, 4575, 2370);
    Text1->setFrameShape(QFrame::NoFrame);
    designCloseSpot(Label1);
    connect(&Label1, &forms::Element::Click, this, &QWidget::hide);
}

QStringList TalkWindow::entriesOf(const QString &line)
{
    QStringList entries = support::WrapText(line, kColumns);
    for (qsizetype i = 1; i < entries.size(); ++i)
        entries[i][0] = QChar(kContinuationMark);
    return entries;
}

bool TalkWindow::continues(int row) const
{
    return Text1->item(row)->data(kContinuesRole).toBool();
}

void TalkWindow::trim()
{
    const int count = Text1->count();
    int dropped = count - kMaxLines;
    if (dropped <= 0)
        return;
    while (dropped < count && continues(dropped))
        ++dropped;
    Text1->model()->removeRows(0, dropped);
}

void TalkWindow::addLine(const QString &line)
{
    const int first = Text1->count();
    Text1->addItems(entriesOf(line));
    // The list lays every entry out again whenever one comes, asking each
    // for its size: an entry's text is measured once, here, and the size is
    // kept with it.
    for (int row = first; row < Text1->count(); ++row) {
        QListWidgetItem *entry = Text1->item(row);
        entry->setData(kContinuesRole, row > first);
        entry->setSizeHint(Text1->sizeHintForIndex(Text1->model()->index(row, 0)));
    }
    trim();
    scrollToEnd();
}

void TalkWindow::scrollToEnd()
{
    const int count = Text1->count();
    if (count > 0)
        Text1->scrollToItem(Text1->item(count - 1), QAbstractItemView::PositionAtTop);
}

HuifuWindow::HuifuWindow(QWidget *parent)
    : forms::PopupWindow(parent)
    , List1(new QListWidget(this))
    , List2(new QListWidget(this))
    , Label1(this)
{
    setWindowTitle(QStringLiteral("常用语"));
    setPicture(support::PictureStore::designPicture(u"dialog_phrases"), 0);
    resize(kWindowWidth, kWindowHeight);
    designPhraseList(*List1);
    designPhraseList(*List2);
    showPage(1);
    designCloseSpot(Label1);
    connect(&Label1, &forms::Element::Click, this, &QWidget::hide);
}

void HuifuWindow::fill(const PhrasePages &pages)
{
    List1->clear();
    List1->addItems(pages.page1);
    List2->clear();
    List2->addItems(pages.page2);
}

void HuifuWindow::showPage(int page)
{
    List1->setVisible(page != 2);
    List2->setVisible(page == 2);
}

int HuifuWindow::visiblePage() const
{
    return List2->isVisibleTo(this) ? 2 : 1;
}

} // namespace tessaroc::chat
