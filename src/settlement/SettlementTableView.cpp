#include "settlement/SettlementTableView.h"

#include "rules/CardCode.h"
#include "support/LayoutScale.h"
#include "table/MainForm.h"

namespace tessaroc::settlement {

namespace {

// The ready clock's place in design pixels, and its seconds' offset from the
// clock's corner at either scale.
constexpr double kClockLeft = 825;
constexpr double kClockTop = 525;
constexpr double kNumberOffset = 26;
constexpr double kReducedNumberOffset = 31;

} // namespace

SettlementTableView::SettlementTableView(table::MainForm &form)
    : form_(form)
{ }

void SettlementTableView::HideMarksAndFans()
{
    for (int i = 0; i <= 2; ++i) {
        if (forms::Image *fan = form_.hands.shanImage.find(i))
            fan->setVisible(false);
    }
    for (int i = 0; i <= 3; ++i) {
        if (forms::Image *mark = form_.seats.first.find(i))
            mark->setVisible(false);
    }
}

void SettlementTableView::HidePlayedCard(int pos, int index)
{
    if (index < 0 || index >= rules::kMaxHandCards)
        return;
    if (forms::Image *card = form_.hands.cardRow(pos).find(index))
        card->setVisible(false);
}

void SettlementTableView::BringOwnCardToFront(int index)
{
    if (forms::Image *card = index >= 0 ? form_.hands.cardImage0.find(index) : nullptr)
        card->ZOrder(0);
}

void SettlementTableView::HideCardsLeft()
{
    for (int i = 1; i <= 3; ++i) {
        if (forms::Label *rest = form_.hands.Labrest.find(i))
            rest->setVisible(false);
    }
}

void SettlementTableView::ShowLevel(int pos, const QString &name)
{
    forms::Label &label = form_.seats.Level(pos);
    label.setCaption(name);
    label.ZOrder(0);
}

void SettlementTableView::ShowCash(int pos, const QString &text)
{
    form_.seats.Cash(pos).setCaption(text);
}

QString SettlementTableView::CashCaption(int pos) const
{
    return form_.seats.Cash(pos).Caption();
}

void SettlementTableView::ShowReadyClock(support::LayoutScale scale, int seconds,
                                         const QColor &colour)
{
    forms::ucAniGIF &clock = form_.turn.Time_Img;
    forms::Label &number = form_.turn.Number;
    clock.Move(kClockLeft * scale.ScaleX, kClockTop * scale.ScaleY);
    const double offset = scale.ScaleX < 1 ? kReducedNumberOffset : kNumberOffset;
    number.Move(clock.Left() + offset * scale.ScaleX, clock.Top() + offset * scale.ScaleY);
    number.setCaption(QString::number(seconds));
    number.setForeColor(colour);
    number.setVisible(true);
    clock.setVisible(true);
    clock.ZOrder(0);
    number.ZOrder(0);
    form_.bid.lblBeishu.setVisible(false);
    form_.bid.lblDifen.setVisible(false);
}

QString SettlementTableView::ShowCardDouble() const
{
    return form_.bid.lblDifen.Caption();
}

} // namespace tessaroc::settlement
