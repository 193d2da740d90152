#include "settlement/HeroWindow.h"

#include "forms/Fonts.h"
#include "forms/Units.h"
#include "settlement/ListBoxes.h"
#include "support/PictureStore.h"

#include <QScrollBar>

#include <cmath>

namespace tessaroc::settlement {

namespace {

constexpr double kWidth = 9825;
constexpr double kHeight = 6810;
constexpr std::array<double, 4> kColumn{2040, 3960, 5880, 7920};

int px(double twips)
{
    return static_cast<int>(std::nearbyint(forms::twipsToPixels(twips)));
}

double pxd(double twips)
{
    return forms::twipsToPixels(twips);
}

std::unique_ptr<QListWidget> makeList(QWidget *parent, double left, double top, double width,
                                      double height, const QFont &font)
{
    auto list = std::make_unique<QListWidget>(parent);
    list->setGeometry(px(left), px(top), px(width), px(height));
    list->setFont(font);
    list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    list->setFrameShape(QFrame::NoFrame);
    return list;
}

} // namespace

HeroWindow::HeroWindow(QWidget *parent)
    : forms::PopupWindow(Options{true, false}, parent)
    , Label1(this)
    , Label2(this)
    , Tou(this)
    , ID(this)
    , sunScore(this)
    , Image1(this)
{
    setObjectName(QStringLiteral("Hero"));
    setWindowTitle(QStringLiteral("英雄榜"));
    resize(px(kWidth), px(kHeight));
    setPicture(support::PictureStore::designPicture(u"dialog_hero"), 0);

    const QFont font105 = forms::designFont(QStringLiteral("宋体"), 10.5);
    const QFont font12 = forms::designFont(QStringLiteral("宋体"), 12);
    Label1.Move(pxd(720), pxd(480), pxd(570), pxd(210));
    Label1.setFont(font105);
    Label1.setCaption(QStringLiteral("局 数"));
    Label2.Move(pxd(480), pxd(6120), pxd(1455), pxd(375));
    Label2.setFont(font12);
    Label2.setCaption(QStringLiteral("输赢总分："));

    Num_ = makeList(this, 120, 1080, 1815, 4650, font105);
    connect(Num_.get(), &QListWidget::itemClicked, this, [this] { Num_Click(); });
    connect(Num_.get(), &QListWidget::itemDoubleClicked, this, [this] { DoubleClicked(-1); });
    for (int p = 0; p < 4; ++p) {
        const double x = kColumn[static_cast<std::size_t>(p)];
        forms::Image &tou = Tou.Load(p);
        tou.Move(pxd(x), pxd(360), pxd(615), pxd(615));
        tou.setStretch(true);
        tou.setVisible(true);
        forms::Label &id = ID.Load(p);
        id.Move(pxd(x + 600), pxd(480), pxd(570), pxd(210));
        id.setFont(font105);
        id.setCaption(QStringLiteral("玩家") + QString::number(p));
        id.setVisible(true);
        forms::Label &total = sunScore.Load(p);
        total.Move(pxd(x + 120), pxd(6120), pxd(1695), pxd(375));
        total.setFont(font12);
        total.setVisible(true);
        auto grade = makeList(this, x, 1080, p == 2 ? 1935 : 1815, 4650, font105);
        connect(grade.get(), &QListWidget::itemClicked, this, [this, p] { Grade_Click(p); });
        connect(grade.get(), &QListWidget::itemDoubleClicked, this,
                [this, p] { DoubleClicked(p); });
        Grade_[static_cast<std::size_t>(p)] = std::move(grade);
    }
    const std::array<const char16_t *, 2> closePictures{u"window_hide", u"window_close"};
    for (int i = 0; i < 2; ++i) {
        forms::Image &close = Image1.Load(i);
        close.Move(pxd(i == 0 ? 9000 : 9360), pxd(120), pxd(375), pxd(375));
        close.setPicture(
                support::PictureStore::designPicture(closePictures[static_cast<std::size_t>(i)]),
                0);
        close.setVisible(true);
        connect(&close, &forms::Element::Click, this, [this] { hide(); });
    }
}

HeroWindow::~HeroWindow() = default;

void HeroWindow::ScrollToLast()
{
    for (auto &grade : Grade_) {
        if (grade->count() > 0)
            setTopIndex(*grade, grade->count() - 1);
    }
}

void HeroWindow::copySelection(const QListWidget &source, QListWidget &target)
{
    setListIndex(target, ListIndex(source));
    setTopIndex(target, TopIndex(source));
}

void HeroWindow::Num_Click()
{
    for (auto &grade : Grade_)
        copySelection(*Num_, *grade);
}

void HeroWindow::Grade_Click(int index)
{
    if (index < 0 || index > 3)
        return;
    const QListWidget &source = Grade(index);
    copySelection(source, *Num_);
    for (int p = 0; p < 4; ++p) {
        if (p != index)
            copySelection(source, Grade(p));
    }
}

void HeroWindow::DoubleClicked(int index)
{
    const QListWidget &list = index < 0 ? *Num_ : Grade(index);
    const int hand = ListIndex(list) + 1;
    if (onOpenHand)
        onOpenHand(hand);
}

void HeroWindow::Clear()
{
    Num_->clear();
    for (int p = 0; p < 4; ++p) {
        Grade(p).clear();
        sunScore(p).setCaption(QString());
        Tou(p).setPicture(QPixmap(), 0);
        ID(p).setCaption(QString());
    }
}

} // namespace tessaroc::settlement
