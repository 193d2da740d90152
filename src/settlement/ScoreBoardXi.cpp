// The board of a hand under the second rule variant (ShowScoreXi): the
// multipliers of the bid, the item library's lines, the bomb and task rows
// that pay out between the seats, then per seat its totals, result block and
// bookkeeping. Every stage adds the same number of lines to the four lists,
// so their lines stay side by side.
#include "core/CoreContext.h"
#include "core/TableState.h"
#include "settlement/CoreSettlement.h"
#include "settlement/NumberText.h"
#include "settlement/ScoreWindow.h"
#include "settlement/SettlementService.h"

#include <algorithm>
#include <cmath>

namespace tessaroc::settlement {

namespace {

constexpr int kColourSuffix = 8;
constexpr double kLargestColour = 16777215;
const QString kCoins = QStringLiteral("金币");
const QString kRule = QStringLiteral("-----------");

// The seat's multiplier for its bombs and tasks: YBeiShu when its landlord
// and side bytes agree, SBeiShu when they differ; none when either is
// neither 0 nor 1.
std::optional<std::int64_t> seatMultiplier(const SeatResult &seat, const VariantMultipliers &m)
{
    if (seat.frame.landlord > 1 || seat.frame.multiplierSide > 1)
        return std::nullopt;
    return seat.frame.landlord == seat.frame.multiplierSide ? m.YBeiShu : m.SBeiShu;
}

QString bombLabel(int size, int face)
{
    static const QString words[]
            = {QStringLiteral("六喜"), QStringLiteral("七巧"), QStringLiteral("天炸")};
    if (size == 9)
        return QStringLiteral("天尊");
    switch (face) {
    case 1:
        return words[size - 6] + QStringLiteral("A");
    case 11:
        return words[size - 6] + QStringLiteral("J");
    case 12:
        return words[size - 6] + QStringLiteral("Q");
    case 13:
        return words[size - 6] + QStringLiteral("K");
    default:
        return face >= 2 && face <= 10 ? words[size - 6] + QString::number(face) : QString();
    }
}

std::int64_t bombUnit(int size)
{
    switch (size) {
    case 7:
        return 4;
    case 8:
        return 8;
    default:
        return size == 9 ? 4 : 1;
    }
}

// Task units of a task rule, task 1 and task 2; none for rules without tasks.
std::optional<std::pair<std::int64_t, std::int64_t>> taskUnits(int rule)
{
    if (rule >= 1 && rule <= 4)
        return std::pair<std::int64_t, std::int64_t>{1, 2};
    if (rule >= 7 && rule <= 9)
        return std::pair<std::int64_t, std::int64_t>{2, 3};
    return std::nullopt;
}

// One payout between the seats, a bomb group or a task section: the plus
// row on the owner's list and a minus row on each other list, so every list
// gets exactly one line.
void writePayout(ScoreWindow &score, const SeatResult &owner, std::int64_t m, std::int64_t units,
                 std::int64_t stake, int landlordPos, const QString &plusLabel,
                 const QString &minusLabel)
{
    const bool landlord = owner.frame.landlord == 1;
    const std::int64_t plus = (landlord ? 3 * m : m + 4) * units * stake;
    score.State(owner.pos).addItem(plusLabel + QString::number(plus));
    for (int other = 0; other < 4; ++other) {
        if (other == owner.pos)
            continue;
        const std::int64_t minus
                = (landlord || other == landlordPos ? m : std::int64_t{2}) * units * stake;
        score.State(other).addItem(minusLabel + QString::number(minus));
    }
}

} // namespace

VariantMultipliers VariantMultipliersOf(const ResultSet &set)
{
    int bidKind = 0;
    for (const SeatResult &seat : set) {
        if (seat.frame.bidKind == 1 || seat.frame.bidKind == 2) {
            bidKind = seat.frame.bidKind;
            break;
        }
    }
    VariantMultipliers m;
    if (bidKind == 1) {
        // The dealer byte of the second frame to arrive sets the landlord's
        // side.
        const std::uint8_t dealer = set[1].frame.dealer;
        m.SBeiShu = dealer <= 1 ? 2 : 0;
        m.YBeiShu = dealer == 0 ? 3 : dealer == 1 ? 4 : 0;
    } else if (bidKind == 2) {
        m.SBeiShu = 2;
        m.YBeiShu = 2;
    }
    for (const SeatResult &seat : set) {
        if (seat.frame.landlord == 1) {
            m.ResultLandlordPos = seat.pos;
            break;
        }
    }
    return m;
}

void CoreSettlement::writeVariantBoard(const ResultSet &set, std::int64_t stake)
{
    ScoreWindow &score = windows_.Score();
    core::PlayState &play = state_.play;
    core::CommandState &commands = state_.commands;
    const VariantMultipliers m = VariantMultipliersOf(set);

    view_.HideMarksAndFans();

    for (int p = 0; p < 4; ++p) {
        QListWidget &list = score.State(p);
        list.addItem(QStringLiteral("初始：") + view_.CashCaption(p));
        list.addItem(QStringLiteral("房间底金：") + QString::number(stake) + kCoins);
        list.addItem(QString());
    }
    variantStageDone();

    // The item library's lines: each entry may end in eight digits, the
    // colour of the list; an entry whose end is not a number is shown whole.
    std::array<double, 4> itemCoins{};
    std::array<int, 4> itemLines{};
    core::services::PropScoreInfo &items = state_.loop.propScore;
    for (int p = 0; p < 4; ++p) {
        const auto at = static_cast<std::size_t>(p);
        score.setStateColour(p, 0);
        if (items.PropText[at].isEmpty())
            continue;
        const QStringList entries = items.PropText[at].split(QLatin1Char('|'));
        for (QString entry : entries) {
            bool numeric = false;
            const double colour = entry.right(kColourSuffix).toDouble(&numeric);
            if (numeric) {
                if (colour >= 0 && colour <= kLargestColour)
                    score.setStateColour(p, static_cast<int>(std::nearbyint(colour)));
                if (entry.size() >= kColourSuffix)
                    entry.chop(kColourSuffix);
            }
            score.State(p).addItem(entry);
        }
        itemLines[at] = static_cast<int>(entries.size()) + 1;
        score.State(p).addItem(QString());
        itemCoins[at] = items.coins[at];
        items.coins[at] = 0;
        items.PropText[at].clear();
        items.seatTexts = {};
    }
    const int mostItemLines = *std::max_element(itemLines.begin(), itemLines.end());
    for (int p = 0; p < 4; ++p) {
        for (int i = itemLines[static_cast<std::size_t>(p)]; i < mostItemLines; ++i)
            score.State(p).addItem(QString());
    }
    variantStageDone();

    clearPlayArea(set);
    revealHands(set);
    if (play.RevealSkipPos == 0) {
        const int count = state_.rules.prevPlay.validCount();
        for (int j = 0; j < count; ++j) {
            const int idx = play.TableCards[0][static_cast<std::size_t>(j)];
            view_.BringOwnCardToFront(idx);
        }
    }

    // Bomb rows: one group per kind of bomb a seat played.
    for (const SeatResult &seat : set) {
        const auto &bombs = play.BombCount[static_cast<std::size_t>(seat.pos)];
        const std::optional<std::int64_t> mult = seatMultiplier(seat, m);
        if (!mult)
            continue;
        for (int size = 6; size <= 9; ++size) {
            for (int face = 0; face <= 15; ++face) {
                const QString label = bombLabel(size, face);
                if (label.isEmpty()
                    || bombs[static_cast<std::size_t>(face)]
                            [static_cast<std::size_t>(size - core::PlayState::kSmallestBomb)]
                            < 1)
                    continue;
                const QString gap = size == 9 ? QStringLiteral("   ") : QStringLiteral("  ");
                writePayout(score, seat, *mult, bombUnit(size), stake, m.ResultLandlordPos,
                            label + gap + QStringLiteral("：+"),
                            label + gap + QStringLiteral("：-"));
            }
        }
    }
    variantStageDone();

    std::array<double, 4> bombTotal{};
    for (const SeatResult &seat : set) {
        QListWidget &list = score.State(seat.pos);
        list.addItem(QStringLiteral(" "));
        const double total = AmountValue(seat.frame.amount1);
        if (total == 0) {
            list.addItem(QStringLiteral("炸弹总得分:  0"));
        } else if (seat.frame.amount1Sign == 1 || seat.frame.amount1Sign == 2) {
            const bool plus = seat.frame.amount1Sign == 1;
            list.addItem(
                    (plus ? QStringLiteral("炸弹总得分： +") : QStringLiteral("炸弹总得分： -"))
                    + AmountText(total));
            bombTotal[static_cast<std::size_t>(seat.pos)] = plus ? total : -total;
        } else {
            // An unknown sign shows no total, but keeps the line's place.
            list.addItem(QString());
        }
        list.addItem(kRule);
        list.addItem(QStringLiteral(" "));
    }
    variantStageDone();

    // Task rows: what each seat earns for the tasks it completed, paid by
    // the others.
    if (const auto units = taskUnits(state_.settlement.TaskType)) {
        for (const SeatResult &seat : set) {
            const std::optional<std::int64_t> mult = seatMultiplier(seat, m);
            for (int task = 1; task <= 2; ++task) {
                const std::int64_t count
                        = state_.settlement.TaskCount[static_cast<std::size_t>(seat.pos)]
                                                     [static_cast<std::size_t>(task)];
                if (count <= 0 || !mult)
                    continue;
                const std::int64_t unit = task == 1 ? units->first : units->second;
                const QString name = QStringLiteral("任务") + QString::number(task);
                const QString label = count == 1 ? name
                                                 : name + QStringLiteral("(×")
                                + QString::number(count) + QStringLiteral(")");
                const QString gap = count == 1 ? QStringLiteral("  ") : QString();
                writePayout(score, seat, *mult, unit * count, stake, m.ResultLandlordPos,
                            label + gap + QStringLiteral("：+"),
                            label + gap + QStringLiteral("：- "));
            }
        }
    }
    variantStageDone();

    std::array<double, 4> taskTotal{};
    for (const SeatResult &seat : set) {
        QListWidget &list = score.State(seat.pos);
        list.addItem(QStringLiteral(" "));
        const double bonus = AmountValue(seat.frame.amount2);
        if (bonus == 0) {
            list.addItem(QStringLiteral("喜金任务:  0"));
        } else if (seat.frame.amount2Sign == 1 || seat.frame.amount2Sign == 2) {
            const bool plus = seat.frame.amount2Sign == 1;
            list.addItem((plus ? QStringLiteral("喜金任务： +") : QStringLiteral("喜金任务： -"))
                         + AmountText(bonus));
            taskTotal[static_cast<std::size_t>(seat.pos)] = plus ? bonus : -bonus;
        } else {
            list.addItem(QString());
        }
        list.addItem(kRule);
    }
    variantStageDone();

    const bool showCard = commands.ShowCardDouble != 0;
    const bool wealth = state_.core.WealthDouble != 0;
    const QString winners = QString::fromStdString(commands.WinnerText);
    for (const SeatResult &seat : set) {
        const wire::HandResultFrame &f = seat.frame;
        const auto at = static_cast<std::size_t>(seat.pos);
        QListWidget &list = score.State(seat.pos);
        QListWidget &last = score.State(seat.pos + 4);

        list.addItem(QString());
        if (seat.frame.landlord == 1)
            list.addItem(f.dealer == 1 ? QStringLiteral("庄家") : QStringLiteral("闲家"));
        else
            list.addItem(QStringLiteral(" "));
        if (play.BidRowOn) {
            if (seat.pos == play.BidRowPos) {
                const QString times = QStringLiteral("： 倍数×") + QString::number(f.bidMultiplier);
                list.addItem(seat.frame.bidKind == 1           ? QStringLiteral("抢地主") + times
                                     : seat.frame.bidKind == 2 ? QStringLiteral("明牌") + times
                                                               : QString());
            } else {
                list.addItem(QStringLiteral(" "));
            }
        }
        list.addItem(seat.frame.bidKind == 3 ? QStringLiteral("闪牌") : QString());

        const double base = AmountValue(f.base);
        double baseScore = 0;
        if (base == 0) {
            list.addItem(QStringLiteral(" 0"));
        } else if (f.baseSign == 1 || f.baseSign == 2) {
            const bool plus = f.baseSign == 1;
            list.addItem((plus ? QStringLiteral(" +") : QStringLiteral(" -")) + AmountText(base)
                         + kCoins);
            baseScore = plus ? base : -base;
        } else {
            list.addItem(QString());
        }
        list.addItem(QStringLiteral(" "));

        if (showCard || wealth)
            list.addItem(QStringLiteral("小计：")
                         + AmountText(baseScore + taskTotal[at] + bombTotal[at]) + kCoins);
        if (showCard)
            list.addItem(QStringLiteral("亮牌加倍 ×") + view_.ShowCardDouble());
        if (wealth)
            list.addItem(QStringLiteral("财富加倍 ×")
                         + QString::fromStdString(commands.WealthDoubleText));

        const double total = AmountValue(f.total);
        if (f.outcome == 1)
            list.addItem(QStringLiteral("总分：") + AmountText(total) + kCoins);
        else if (f.outcome == 2)
            list.addItem((total != 0 ? QStringLiteral("总分： -") : QStringLiteral("总分： +"))
                         + AmountText(total) + kCoins);
        else
            list.addItem(QStringLiteral("平局"));
        list.addItem(kRule);

        const double F = AmountValue(f.finalAmount) + itemCoins[at];
        if (f.outcome == 1) {
            list.addItem(QString());
            list.addItem(winners);
            list.addItem(QString());
            list.addItem(QStringLiteral("总分：") + AmountText(F) + kCoins);
            last.addItem(QStringLiteral("最终分：") + AmountText(F) + kCoins);
        } else {
            list.addItem(QString());
            list.addItem(QString());
            list.addItem(f.capped ? QStringLiteral("封顶") : QString());
            const QString line = F != 0 ? QStringLiteral("总分：- ") + AmountText(F) + kCoins
                                        : QStringLiteral("总分： ") + AmountText(F) + kCoins;
            list.addItem(line);
            last.addItem(line);
        }
        bookSeat(seat, F, true);
    }
    variantStageDone();
}

} // namespace tessaroc::settlement
