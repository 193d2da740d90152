#include "settlement/ScoreWindow.h"

#include "forms/Fonts.h"
#include "forms/Units.h"
#include "settlement/ListBoxes.h"
#include "support/PictureStore.h"

#include <QScrollBar>

#include <cmath>

namespace tessaroc::settlement {

namespace {

constexpr double kWidth = 9585;
constexpr double kHeight = 7200;
constexpr std::array<double, 4> kColumn{120, 2520, 4920, 7320};
constexpr double kLastFinalLeft = 7350; // State(7) stands a little right of its column
constexpr int kBlue = 0xFF0000;

int px(double twips)
{
    return static_cast<int>(std::nearbyint(forms::twipsToPixels(twips)));
}

double pxd(double twips)
{
    return forms::twipsToPixels(twips);
}

} // namespace

QColor ColourOfBgr(int bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

ScoreWindow::ScoreWindow(QWidget *parent)
    : forms::PopupWindow(Options{true, true}, parent)
    , Tou(this)
    , ID(this)
    , Image1(this)
{
    setObjectName(QStringLiteral("Score"));
    setWindowTitle(QStringLiteral("战绩板"));
    resize(px(kWidth), px(kHeight));
    setPicture(support::PictureStore::designPicture(u"dialog_score"), 0);

    const QFont nameFont = forms::designFont(QStringLiteral("宋体"), 10.5);
    const QFont listFont = forms::designFont(QStringLiteral("宋体"), 9);
    for (int p = 0; p < 4; ++p) {
        const double x = kColumn[static_cast<std::size_t>(p)];
        forms::Image &tou = Tou.Load(p);
        tou.Move(pxd(x), pxd(480), pxd(675), pxd(615));
        tou.setStretch(true);
        tou.setVisible(true);
        forms::Label &id = ID.Load(p);
        id.Move(pxd(x + 720), pxd(600), pxd(570), pxd(210));
        id.setFont(nameFont);
        id.setCaption(QStringLiteral("玩家") + QString::number(p));
        id.setVisible(true);
    }
    for (int j = 0; j < 8; ++j) {
        auto list = std::make_unique<QListWidget>(this);
        const int p = j % 4;
        const double left = j == 7 ? kLastFinalLeft : kColumn[static_cast<std::size_t>(p)];
        const double top = j < 4 ? 1320 : 6360;
        const double height = j < 4 ? 4890 : 750;
        list->setGeometry(px(left), px(top), px(2175), px(height));
        list->setFont(listFont);
        list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
        list->setFrameShape(QFrame::NoFrame);
        connect(list.get(), &QListWidget::itemClicked, this, [this, j] { State_Click(j); });
        connect(list->verticalScrollBar(), &QScrollBar::valueChanged, this, [this, j] {
            if (State_[static_cast<std::size_t>(j)]->isVisible())
                State_Click(j);
        });
        State_[static_cast<std::size_t>(j)] = std::move(list);
        setStateColour(j, kBlue);
    }
    const std::array<const char16_t *, 2> closePictures{u"window_hide", u"window_close"};
    for (int i = 0; i < 2; ++i) {
        forms::Image &close = Image1.Load(i);
        close.Move(pxd(i == 0 ? 8880 : 9240), pxd(120), pxd(375), pxd(375));
        close.setPicture(
                support::PictureStore::designPicture(closePictures[static_cast<std::size_t>(i)]),
                0);
        close.setMousePointer(forms::MousePointer::Custom);
        close.setMouseIcon(support::PictureStore::handCursor());
        close.setVisible(true);
        connect(&close, &forms::Element::Click, this, [this] { hide(); });
    }
    for (int p = 0; p < 4; ++p)
        ID(p).setForeColor(ColourOfBgr(kBlue));
}

ScoreWindow::~ScoreWindow() = default;

int ScoreWindow::StateColour(int index) const
{
    return colours_[static_cast<std::size_t>(index)];
}

void ScoreWindow::setStateColour(int index, int bgr)
{
    colours_[static_cast<std::size_t>(index)] = bgr;
    QListWidget &list = State(index);
    QPalette palette = list.palette();
    palette.setColor(QPalette::Text, ColourOfBgr(bgr));
    list.setPalette(palette);
}

void ScoreWindow::setSeatColour(int pos, int bgr)
{
    setStateColour(pos, bgr);
    setStateColour(pos + 4, bgr);
    ID(pos).setForeColor(ColourOfBgr(bgr));
}

void ScoreWindow::ClearLists()
{
    for (auto &list : State_)
        list->clear();
}

void ScoreWindow::State_Click(int index)
{
    if (index < 0 || index > 7)
        return;
    const QListWidget &source = State(index);
    const int line = ListIndex(source);
    const int top = TopIndex(source);
    auto copyTo = [&](int j) {
        QListWidget &target = State(j);
        const QSignalBlocker block(target.verticalScrollBar());
        setListIndex(target, line);
        setTopIndex(target, top);
    };
    for (int j = 0; j < index; ++j)
        copyTo(j);
    for (int j = index + 1; j <= 3; ++j)
        copyTo(j);
}

} // namespace tessaroc::settlement
