#include "core/CoreContext.h"
#include "core/Dispatcher.h"
#include "support/MinPositiveWealth.h"
#include "wire/ReceivedFrames.h"

#include <limits>

namespace tessaroc::core {

namespace {

const QString kStartsSoon = QStringLiteral("游戏将在15秒内开始");
const QString kCoinsSuffix = QStringLiteral("金币");

constexpr std::int16_t kFullTable = 4;
constexpr std::int16_t kSeatsBeforeBoards = 3;

// Coins as the seat label shows them: no separators, no fraction for whole
// numbers, at most 15 significant digits.
QString coinsText(double coins)
{
    return QString::number(coins, 'g', 15);
}

} // namespace

int AvatarIndex(const std::string &faceCode)
{
    int k = -1;
    const auto digit = [&](std::size_t i) {
        const char ch = faceCode[i];
        return ch >= '0' && ch <= '9' ? ch - '0' : -1;
    };
    if (faceCode.size() == 2 && digit(1) >= 0)
        k = digit(1) - 1;
    else if (faceCode.size() == 3 && digit(1) >= 0 && digit(2) >= 0)
        k = 10 * digit(1) + digit(2) - 1;
    // Codes outside the ten faces of a row show the row's first face.
    if (k < 0 || k >= 10)
        k = 0;
    if (!faceCode.empty() && faceCode[0] == 'w')
        k += 10;
    return k;
}

int ReadyMarkLevel(double coins)
{
    if (coins < 20000)
        return 0;
    return coins < 60000 ? 1 : 2;
}

void ReadUserInfo(PlayerRecord &record, const wire::UserInfoFrame &info)
{
    record.accountName = info.account;
    record.nickname = info.nickname;
    record.faceCode = info.face.empty() ? std::string("m1") : info.face;
    record.sex = info.sex;
    record.location = info.location;
    record.points = static_cast<double>(info.points);
    record.credit = static_cast<double>(info.credit);
    record.coins = static_cast<double>(info.coins);
    record.extraNumber1 = static_cast<double>(info.extraNumber1);
    record.title = info.title;
    record.extraNumber2 = static_cast<double>(info.extraNumbers2to4[0]);
    record.extraNumber3 = static_cast<double>(info.extraNumbers2to4[1]);
    record.extraNumber4 = static_cast<double>(info.extraNumbers2to4[2]);
    record.logins = info.logins;
    record.disconnects = info.disconnects;
    record.wins = info.wins;
    record.losses = info.losses;
    record.nameTag = info.tag;
    record.extraText1 = info.extraText1;
    record.extraText2 = info.extraText2;
    record.extraNumber5 = static_cast<double>(info.extraNumber5);
}

void Dispatcher::CmdUserInfo(const wire::MessageFrame &message)
{
    MainLoopState &loop = c_.loop();
    CoreState &core = c_.state.core;
    CommandState &commands = c_.state.commands;
    rules::CardRulesState &rules = c_.state.rules;
    const wire::UserInfoFrame info = wire::UserInfoFrame::decode(message);

    // A new user at the table ends the seat shuffle.
    if (loop.shuffle.ShuffleWanted || c_.window.ShuffleNoticeRunning()) {
        c_.window.HideShuffleNotice(true);
        loop.shuffle.ShuffleWanted = false;
        loop.shuffle.ShuffleOn = false;
    }
    c_.window.HideAdPanel();
    commands.ConnectionLostFlag = false;

    if (rules.UserInfoCount < std::numeric_limits<std::int16_t>::max())
        ++rules.UserInfoCount;
    // The first user information after a reset fixes the own seat, whoever
    // it describes.
    if (rules.ownHand().seatBit == 0 && info.recipientSeat.valid())
        rules.ownHand().seatBit = info.recipientSeat.bit();
    const int pos = DisplayPos(c_, info.describedSeat());
    if (pos < 0)
        return;
    const auto at = static_cast<std::size_t>(pos);

    if (pos == 0)
        core.ButtonDown[2] = false;
    if (loop.PlayersPresent < std::numeric_limits<std::int16_t>::max())
        ++loop.PlayersPresent;
    if (loop.PlayersPresent == kFullTable) {
        c_.window.RestoreAndFocus();
        if (!c_.hall.MinimiseHall())
            return;
    }
    if (pos > 0 && c_.state.gamedllstate > 0)
        c_.items.ClearUser(pos);

    rules.HandRecords[at].name = info.account;
    if (pos != 0)
        rules.HandRecords[at].seatBit = info.describedSeat().bit();
    PlayerRecord &record = commands.custom[at];
    ReadUserInfo(record, info);

    if (info.itemSwitch == 0 && loop.line.prop_swicth == 1) {
        if (c_.state.gamedllstate == 0)
            c_.items.InitGameDll();
    } else {
        c_.state.gamedllstate = -1;
    }
    if (record.coins > 0 && c_.items.HasLibrary()
        && !c_.items.SetUserinfo(record.nickname, info.account, rules.HandRecords[at].seatBit, pos,
                                 record.credit != 0, record.sex, record.nameTag, record.faceCode)) {
        c_.items.ExitGameDll(0);
        c_.state.gamedllstate = -1;
    }

    const int avatar = AvatarIndex(record.faceCode);
    services::TableWindow::SeatView view;
    view.avatar = avatar;
    view.readyLevel = ReadyMarkLevel(record.coins);
    view.ready = info.ready;
    view.name = QStringLiteral("[") + QString::fromStdString(record.nameTag) + QStringLiteral("] ")
            + QString::fromStdString(record.nickname);
    view.cash = coinsText(record.coins) + kCoinsSuffix;
    view.level = QString::fromStdString(record.title);
    c_.window.ShowSeat(pos, view);
    ClearWhenAllReady();

    c_.settlement.SetSeat(pos, QString::fromStdString(record.nickname), avatar);
    commands.ScoreNames[at] = {record.nickname, std::to_string(avatar)};

    if (loop.PlayersPresent == kFullTable && !loop.TableCleared) {
        c_.window.ClearTable();
        rules::ClearHands(rules);
        loop.TableCleared = true;
        c_.window.SetSystemLine(0, kStartsSoon);
    }

    core.WealthDouble = info.wealth;
    c_.window.ShowShowCardNote(info.showCardNote != 0);
    if (core.WealthDouble != 0) {
        c_.window.ShowWealthNotes();
        core.Wealth[at] = core.WealthDouble;
    }
    ShowWealthOfSeats();

    if (rules.UserInfoCount == kSeatsBeforeBoards) {
        rules.UserInfoCount = kSeatsBeforeBoards + 1;
        core.ButtonDown[5] = false;
        core.ButtonDown[6] = false;
    }
    if (pos == 0)
        c_.video.OpenLocalVideo();
}

void Dispatcher::ShowWealthOfSeats()
{
    const CoreState &core = c_.state.core;
    if (core.WealthDouble == 0)
        c_.window.HideWealth();
    else
        c_.window.ShowWealth(support::MinPositiveWealth(core.Wealth));
}

void Dispatcher::ClearWhenAllReady()
{
    MainLoopState &loop = c_.loop();
    if (loop.HandStarted)
        return;
    for (int i = 1; i <= 3; ++i) {
        if (!c_.window.ReadyMarkVisible(i))
            return;
    }
    c_.window.ClearTable();
    rules::ClearHands(c_.state.rules);
    loop.TableCleared = true;
}

} // namespace tessaroc::core
