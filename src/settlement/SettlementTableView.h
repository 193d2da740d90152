#pragma once

#include <QColor>
#include <QString>

namespace tessaroc::support {
struct LayoutScale;
}
namespace tessaroc::table {
class MainForm;
}

namespace tessaroc::settlement {

// What the settlement shows on the table window itself, beside its own
// boards: the marks and fans it puts away, the played cards it takes off,
// each seat's level and coins, the ready clock it starts, and the stake texts
// it reads and hides. The settlement changes the table's controls only here.
class SettlementTableView
{
public:
    explicit SettlementTableView(table::MainForm &form);

    // The card-back fans and the four first-player marks hidden.
    void HideMarksAndFans();
    // A card picture of a display position hidden; an index outside the row
    // is ignored.
    void HidePlayedCard(int pos, int index);
    // An own card picture brought to the front; a negative index is ignored.
    void BringOwnCardToFront(int index);
    // The remaining-card counts of positions 1..3 hidden.
    void HideCardsLeft();

    // A seat's level name, in front of the seat panel, and its coins.
    void ShowLevel(int pos, const QString &name);
    void ShowCash(int pos, const QString &text);
    QString CashCaption(int pos) const;

    // The ready clock at its place above the own hand with its seconds in
    // the colour given, the multiplier texts hidden.
    void ShowReadyClock(support::LayoutScale scale, int seconds, const QColor &colour);
    // The shown-cards multiplier's value as the table shows it.
    QString ShowCardDouble() const;

private:
    table::MainForm &form_;
};

} // namespace tessaroc::settlement
