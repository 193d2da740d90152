#include "settlement/CoreSettlement.h"

#include "core/CoreContext.h"
#include "core/TableState.h"
#include "settlement/HeroWindow.h"
#include "settlement/NumberText.h"
#include "settlement/ScoreWindow.h"
#include "settlement/SettlementService.h"
#include "sound/SoundFiles.h"
#include "support/PictureStore.h"
#include "table/MainForm.h"

#include <QCoreApplication>

#include <limits>

namespace tessaroc::settlement {

namespace {

constexpr int kAvatars = 20;
constexpr int kHandNumberColumn = 12;
constexpr std::int16_t kReadySeconds = 12;
constexpr std::int16_t kVariantReadySeconds = 15;
constexpr int kSoundVolume = 3000;

template<typename T> void countUp(T &counter)
{
    if (counter < std::numeric_limits<T>::max())
        ++counter;
}

} // namespace

const QString CoreSettlement::kUnusableResults = QStringLiteral("本局结算信息有误，未能显示结算。");

CoreSettlement::CoreSettlement(core::TableState &state, SettlementService &windows,
                               table::MainForm &form, core::CoreContext &context)
    : state_(state)
    , windows_(windows)
    , form_(form)
    , view_(form)
    , c_(context)
    , records_(HandRecordsPath())
{
    windows_.openHand = [this](int hand) {
        OpenHand(hand);
    };
}

void CoreSettlement::ShowScore(const wire::MessageFrame &frame)
{
    collect(frame, Board::Plain);
}

void CoreSettlement::ShowScoreXi(const wire::MessageFrame &frame)
{
    collect(frame, Board::Variant);
}

// Both boards take their frames from the one collector; the frame that
// completes the set decides which board is written.
void CoreSettlement::collect(const wire::MessageFrame &frame, Board board)
{
    if (!collector_.add(frame))
        return;
    const std::optional<ResultSet> set
            = ReadResultSet(collector_, state_.rules.HandRecords[0].seatBit);
    if (!set) {
        dropUnusableSet();
        // A held settlement is over all the same.
        if (board == Board::Variant && !state_.core.LeaveAfterSettlement)
            state_.core.ResultPhase = 2;
        return;
    }
    // The stake comes from the frame that completes the set, the last row,
    // read unsigned.
    const std::int64_t stake = static_cast<std::uint32_t>(set->back().frame.stake);
    ownOutcome_ = 0;
    for (const SeatResult &seat : *set) {
        if (seat.pos == 0)
            ownOutcome_ = seat.frame.outcome;
    }
    if (board == Board::Plain)
        writeScoreBoard(*set, stake);
    else
        writeVariantBoard(*set, stake);
    closeSettlement(board);
}

// A set that does not name four seats shows nothing; the table is released
// as after a settlement, so the next hand can be started.
void CoreSettlement::dropUnusableSet()
{
    form_.AddSystemMessage(kUnusableResults);
    state_.core.ButtonDown[2] = false;
    state_.rules.InGame = false;
    state_.loop.TableCleared = false;
    state_.loop.HoldCommand21 = false;
}

void CoreSettlement::DropResultFrames()
{
    collector_.clear();
}

void CoreSettlement::DeleteHandRecords()
{
    collector_.clear();
    records_.Delete();
}

void CoreSettlement::ClearScoreLists()
{
    windows_.Score().ClearLists();
}

void CoreSettlement::SetSeat(int pos, const QString &nickname, int avatar)
{
    if (pos < 0 || pos > 3)
        return;
    HeroWindow &hero = windows_.Hero();
    hero.ID(pos).setCaption(nickname);
    if (avatar >= 0 && avatar < kAvatars) {
        const int id = state_.pictures.AvatarPic[static_cast<std::size_t>(avatar)].toInt();
        support::LoadGifResource(static_cast<std::int16_t>(id), u"GIF", &hero.Tou(pos));
    }
}

void CoreSettlement::EmptySeat(int pos)
{
    if (pos < 0 || pos > 3)
        return;
    HeroWindow &hero = windows_.Hero();
    hero.ID(pos).setCaption(QString());
    hero.Tou(pos).setPicture(QPixmap(), 0);
}

void CoreSettlement::placeScoreWindow()
{
    ScoreWindow &score = windows_.Score();
    score.MoveTwips((form_.Width() - score.WidthTwips()) / 2 + form_.Left(),
                    (form_.Height() - score.HeightTwips()) / 2 + form_.Top());
}

void CoreSettlement::ShowScoreWindow()
{
    placeScoreWindow();
    ScoreWindow &score = windows_.Score();
    score.show();
    score.raise();
}

void CoreSettlement::ShowHero()
{
    HeroWindow &hero = windows_.Hero();
    hero.MoveTwips((form_.Width() - hero.WidthTwips()) / 2 + form_.Left(),
                   (form_.Height() - hero.HeightTwips()) / 2 + form_.Top());
    hero.show();
    hero.ScrollToLast();
    hero.raise();
}

void CoreSettlement::OpenHand(int n)
{
    records_.LoadJuRecord(n, windows_.Score(), state_.pictures.AvatarPic);
    ShowScoreWindow();
}

void CoreSettlement::bookSeat(const SeatResult &seat, double finalAmount, bool variant)
{
    const int p = seat.pos;
    const auto at = static_cast<std::size_t>(p);
    const std::uint8_t outcome = seat.frame.outcome;
    HeroWindow &hero = windows_.Hero();
    double &sum = windows_.SumScore[at];
    core::PlayerRecord &record = state_.commands.custom[at];

    const bool win = outcome == 1;
    // The rule variant books every outcome but a win as a loss's amount.
    const bool loss = outcome == 2 || (variant && !win);
    if (win) {
        hero.Grade(p).addItem(AmountText(finalAmount));
        sum += finalAmount;
    } else if (loss) {
        hero.Grade(p).addItem(finalAmount != 0 ? QStringLiteral("-") + AmountText(finalAmount)
                                               : QStringLiteral("0"));
        sum -= finalAmount;
    } else {
        hero.Grade(p).addItem(QStringLiteral("0"));
    }
    hero.sunScore(p).setCaption(AmountText(sum));

    if (win) {
        countUp(record.wins);
        record.coins += finalAmount;
    } else if (outcome == 2) {
        countUp(record.losses);
        record.coins -= finalAmount;
    }
    if (record.coins < 0)
        record.coins = 0;

    const int level = seat.frame.level;
    if (level >= 1 && level <= 40)
        view_.ShowLevel(p, LevelName(level));
    view_.ShowCash(
            p,
            AmountText(record.coins)
                    + (seat.frame.cashUnit == 1 ? QStringLiteral("金币") : QStringLiteral("金条")));
}

void CoreSettlement::closeSettlement(Board board)
{
    core::CoreState &core = state_.core;
    core::MainLoopState &loop = state_.loop;
    HeroWindow &hero = windows_.Hero();
    ScoreWindow &score = windows_.Score();

    countUp(state_.settlement.JuNum);
    // The hand number stands at the left of its 12-character column.
    hero.Num().addItem(QString::number(state_.settlement.JuNum).leftJustified(kHandNumberColumn));

    for (int i = 0; i < 4; ++i) {
        const core::ScoreName &name = state_.commands.ScoreNames[static_cast<std::size_t>(i)];
        score.ID(i).setCaption(QString::fromStdString(name.name));
        if (name.face.empty())
            continue;
        bool ok = false;
        const int k = QString::fromStdString(name.face).toInt(&ok);
        if (ok && k >= 0 && k < kAvatars) {
            const int id = state_.pictures.AvatarPic[static_cast<std::size_t>(k)].toInt();
            support::LoadGifResource(static_cast<std::int16_t>(id), u"GIF", &score.Tou(i));
        }
    }

    if (!core.TableHidden) {
        if (!score.windowFlags().testFlag(Qt::WindowStaysOnTopHint))
            score.setWindowFlag(Qt::WindowStaysOnTopHint, true);
        ShowScoreWindow();
    }

    c_.window.SetSystemLine(0, QStringLiteral("请点击【继续】按钮继续游戏！"));
    core.ButtonDown[2] = false;
    state_.rules.InGame = false;
    loop.TableCleared = false;
    c_.window.SetSystemLine(1, QStringLiteral("游戏将在15秒内开始"));
    loop.HoldCommand21 = false;

    if (!loop.line.Spectator) {
        c_.slotControl().startReadyClock();
        loop.clocks.ClockSeconds = board == Board::Plain ? kReadySeconds : kVariantReadySeconds;
        loop.clocks.MaySendChoice = false;
        c_.slotControl().stopChoiceClock();
        core.BidClockOn = false;
        core.TickPhase = 0;

        view_.ShowReadyClock(state_.table.scale, loop.clocks.ClockSeconds,
                             board == Board::Plain ? QColor(0, 0xFF, 0) : QColor(0, 0, 0));
    }

    if (state_.sound.EffectsOn && !c_.window.IsMinimised()) {
        // The win sound for a hand the own seat won, the other one otherwise.
        const bool ownWin = ownOutcome_ == 1;
        const std::string_view file
                = ownWin ? sound::files::kSettlementWin : sound::files::kSettlementLoss;
        const QString path = QCoreApplication::applicationDirPath()
                + QString::fromUtf8(sound::files::kPkFolder.data(),
                                    static_cast<qsizetype>(sound::files::kPkFolder.size()))
                + QString::fromUtf8(file.data(), static_cast<qsizetype>(file.size()));
        c_.sound.PlaySoundFile(path, false);
        c_.sound.SetSoundVolume(kSoundVolume);
    }

    records_.SaveJuRecord(state_.settlement.JuNum, score, state_.commands.ScoreNames);

    if (board == Board::Variant) {
        // A player the server sent away during a held settlement leaves the
        // item library now; otherwise the settlement is marked as shown.
        if (core.LeaveAfterSettlement) {
            if (state_.gamedllstate > 0)
                c_.items.ExitGameDll(0);
        } else {
            core.ResultPhase = 2;
        }
    }
}

} // namespace tessaroc::settlement
