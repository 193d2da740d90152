// The board of a hand under the usual rules (ShowScore): the play area
// cleared, the other hands turned up, and per seat its header, bomb lines,
// amounts, result block and bookkeeping.
#include "core/HandEvents.h"
#include "core/TableState.h"
#include "settlement/CoreSettlement.h"
#include "settlement/NumberText.h"
#include "settlement/ScoreWindow.h"
#include "settlement/SettlementService.h"

#include "core/CoreContext.h"

#include <algorithm>

namespace tessaroc::settlement {

namespace {

constexpr int kRed = 0x0000FF;
constexpr int kBlue = 0xFF0000;
constexpr int kMaxCards = rules::kMaxHandCards;

const QString kRule = QStringLiteral("-----------");
const QString kCoins = QStringLiteral("金币");

// The face name of a bomb line: A, 2..10, J, Q, K by face index 1..13;
// nothing for the other indexes.
QString faceName(int f)
{
    switch (f) {
    case 1:
        return QStringLiteral("A");
    case 11:
        return QStringLiteral("J");
    case 12:
        return QStringLiteral("Q");
    case 13:
        return QStringLiteral("K");
    default:
        return f >= 2 && f <= 10 ? QString::number(f) : QString();
    }
}

// The bomb line of a six-, seven- or eight-card bomb: the face padded so the
// multipliers stand in one column.
QString bombLine(int size, int f)
{
    static const QString words[]
            = {QStringLiteral("六枪"), QStringLiteral("七枪"), QStringLiteral("八枪")};
    const QString face = faceName(f);
    const QString pad = f == 10 ? QStringLiteral(" ") : QStringLiteral("  ");
    return words[size - 6] + face + pad + (size == 6 ? QStringLiteral("×2") : QStringLiteral("×4"));
}

} // namespace

void CoreSettlement::clearPlayArea(const ResultSet &set)
{
    core::PlayState &play = state_.play;
    for (const SeatResult &seat : set) {
        const int p = seat.pos;
        if (p == play.RevealSkipPos)
            continue;
        const core::HiddenPictures retired = core::RetireRow(play, p);
        for (std::int16_t k : retired.pictures())
            view_.HidePlayedCard(p, k);
    }
}

// The other hands turned up: each seat's cards left, at most a hand's 33,
// stored in its hand record and laid out face up.
void CoreSettlement::revealHands(const ResultSet &set)
{
    for (const SeatResult &seat : set) {
        if (seat.pos == 0)
            continue;
        rules::HandRecord &hand = state_.rules.HandRecords[static_cast<std::size_t>(seat.pos)];
        const auto cards = seat.frame.cards();
        hand.setCardCount(static_cast<int>(cards.size()));
        for (std::size_t k = 0; k < cards.size(); ++k)
            hand.slots[k].code = cards[k];
        if (!cards.empty())
            c_.play.SortHandByFace(seat.pos, static_cast<int>(cards.size()));
    }
}

void CoreSettlement::writeScoreBoard(const ResultSet &set, std::int64_t stake)
{
    ScoreWindow &score = windows_.Score();
    core::PlayState &play = state_.play;
    const core::CommandState &commands = state_.commands;

    view_.HideMarksAndFans();
    for (const SeatResult &seat : set)
        score.setSeatColour(seat.pos, seat.frame.outcome == 1 ? kRed : kBlue);

    for (int p = 0; p < 4; ++p) {
        QListWidget &list = score.State(p);
        list.addItem(QStringLiteral("   初始：")
                     + AmountText(commands.custom[static_cast<std::size_t>(p)].coins) + kCoins);
        list.addItem(QStringLiteral("  "));
        list.addItem(QStringLiteral("房间底金：") + QString::number(stake) + kCoins);
        list.addItem(QString());
    }

    clearPlayArea(set);
    revealHands(set);
    if (play.RevealSkipPos == 0) {
        const int count = state_.rules.prevPlay.validCount();
        const auto &cur = play.TableCards[0];
        for (int i = 0; i < count; ++i)
            view_.HidePlayedCard(0, cur[static_cast<std::size_t>(i)]);
    }
    view_.HideCardsLeft();

    // Bomb lines: one per kind of bomb a seat played. The columns are evened
    // out by the lines actually written, so two equal bombs (one line) leave
    // no list longer than the others.
    std::array<int, 4> bombLines{};
    for (const SeatResult &seat : set) {
        const auto &bombs = play.BombCount[static_cast<std::size_t>(seat.pos)];
        QListWidget &list = score.State(seat.pos);
        int &written = bombLines[static_cast<std::size_t>(seat.pos)];
        for (int size = 6; size <= 8; ++size) {
            for (int f = 1; f <= 13; ++f) {
                if (bombs[static_cast<std::size_t>(f)]
                         [static_cast<std::size_t>(size - core::PlayState::kSmallestBomb)]
                    >= 1) {
                    list.addItem(bombLine(size, f));
                    ++written;
                }
            }
        }
        for (int f = 0; f <= 15; ++f) {
            if (bombs[static_cast<std::size_t>(f)]
                     [static_cast<std::size_t>(9 - core::PlayState::kSmallestBomb)]
                == 1) {
                list.addItem(QStringLiteral("四猫   ×4"));
                ++written;
            }
        }
    }
    const int mostBombLines = *std::max_element(bombLines.begin(), bombLines.end());
    for (const SeatResult &seat : set) {
        for (int i = bombLines[static_cast<std::size_t>(seat.pos)]; i < mostBombLines; ++i)
            score.State(seat.pos).addItem(QString());
    }

    const bool showCard = commands.ShowCardDouble != 0;
    const bool wealth = state_.core.WealthDouble != 0;
    const QString winners = QString::fromStdString(commands.WinnerText);
    for (const SeatResult &seat : set) {
        const wire::HandResultFrame &f = seat.frame;
        double amount1 = 0;
        double amount2 = 0;
        if (f.amount1Sign == 1 || f.amount1Sign == 2) {
            const double sign = f.amount1Sign == 1 ? 1 : -1;
            amount1 = sign * AmountValue(f.amount1);
            amount2 = sign * AmountValue(f.amount2);
        }
        const double F = AmountValue(f.finalAmount);
        QListWidget &list = score.State(seat.pos);
        QListWidget &last = score.State(seat.pos + 4);

        list.addItem(QStringLiteral(" "));
        list.addItem(QString());
        list.addItem(QString());
        list.addItem(seat.frame.landlord == 1 ? QStringLiteral("地主") : QStringLiteral(" "));
        if (showCard || wealth)
            list.addItem(QStringLiteral("小计：") + AmountText(amount1) + kCoins);
        if (showCard)
            list.addItem(QStringLiteral("亮牌加倍 ×") + view_.ShowCardDouble());
        if (wealth)
            list.addItem(QStringLiteral("财富加倍 ×")
                         + QString::fromStdString(commands.WealthDoubleText));
        if (f.outcome == 1)
            list.addItem(QStringLiteral("总分：") + AmountText(amount2) + kCoins);
        else if (f.outcome == 2)
            list.addItem(QStringLiteral("总分： ") + AmountText(amount2) + kCoins);
        else
            list.addItem(QStringLiteral("平局"));
        list.addItem(kRule);

        if (f.outcome == 1) {
            list.addItem(QString());
            list.addItem(winners);
            list.addItem(QString());
            list.addItem(QStringLiteral("总分：") + AmountText(F) + kCoins);
            last.addItem(QStringLiteral("最终分：") + AmountText(F) + kCoins);
        } else if (f.outcome == 2) {
            list.addItem(QString());
            list.addItem(QString());
            list.addItem(f.capped ? QStringLiteral("灵活封顶") : QString());
            if (F != 0) {
                list.addItem(QStringLiteral("总分：- ") + AmountText(F) + kCoins);
                last.addItem(QStringLiteral("最终分：- ") + AmountText(F) + kCoins);
            } else {
                list.addItem(QStringLiteral("总分： 0") + kCoins);
                last.addItem(QStringLiteral("最终分： 0") + kCoins);
            }
        } else {
            list.addItem(QStringLiteral("总分：") + QStringLiteral(" 0金币"));
            last.addItem(QStringLiteral("最终分：") + QStringLiteral(" 0金币"));
        }
        bookSeat(seat, F, false);
    }
}

} // namespace tessaroc::settlement
