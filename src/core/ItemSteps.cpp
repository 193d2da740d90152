#include "core/ItemSteps.h"

#include "core/CoreContext.h"

#include <cmath>

namespace tessaroc::core {

namespace {

// The number a text starts with, as the library writes seat and key numbers;
// 0 when it starts with none.
int leadingNumber(const QString &text)
{
    const QString trimmed = text.trimmed();
    qsizetype end = 0;
    if (end < trimmed.size()
        && (trimmed[end] == QLatin1Char('-') || trimmed[end] == QLatin1Char('+')))
        ++end;
    while (end < trimmed.size() && trimmed[end].isDigit() && end < 9)
        ++end;
    bool ok = false;
    const int value = trimmed.left(end).toInt(&ok);
    return ok ? value : 0;
}

constexpr int kBoxStepTicks = 19; // a step once the count passes 19: a second at 50 ms

// The countdown's caption: the notice over its seconds, the lines joined by
// CR LF as in the first notice the boxes show.
QString countdownCaption(const QString &notice, int seconds)
{
    return notice + QStringLiteral("\r\n") + QString::number(seconds);
}

} // namespace

ItemSteps::ItemSteps(CoreContext &context, std::function<double()> random)
    : c_(context)
    , random_(std::move(random))
{ }

bool ItemSteps::Run()
{
    // Only a ready library is pumped; a settlement held back for it is shown
    // even when the library went away meanwhile, so no hand goes unsettled.
    if (c_.loop().PropReady && !SendPump())
        return false;
    if (!DeferredSettlement())
        return false;
    BoxCountdown();
    return true;
}

bool ItemSteps::SendPump()
{
    if (c_.state.gamedllstate <= 0)
        return true;
    const int n = c_.items.CheckSendBuff();
    for (int i = 0; i < n; ++i) {
        if (c_.state.gamedllstate <= 0)
            return false;
        services::PropItem item = c_.items.GetSendBuff();
        switch (item.kind) {
        case services::PropItem::Message:
            if (!item.text.isEmpty())
                c_.items.ShowPropMsg(item.text);
            break;
        case services::PropItem::FloatText:
            if (!item.text.isEmpty() && item.layout.size() == 4)
                c_.items.ShowPropText(item.text, item.layout, item.style);
            break;
        case services::PropItem::Frame:
            if (item.frame.size() == wire::kFrameSize) {
                wire::MessageFrame frame = wire::MessageFrame::fromBytes(item.frame.data());
                c_.SendMsg(frame);
            }
            break;
        case services::PropItem::ClickSeat: {
            const int seat = leadingNumber(item.text);
            if (seat >= 1 && seat <= 3)
                c_.play.Tou_Click(seat);
            break;
        }
        case services::PropItem::Key:
            c_.play.Pic1_KeyDown(leadingNumber(item.text), 0);
            break;
        case services::PropItem::HoverSeat: {
            const int seat = leadingNumber(item.text);
            if (seat >= 0 && seat <= 3)
                c_.play.Tou_MouseMove(seat);
            break;
        }
        default:
            break;
        }
    }
    return true;
}

bool ItemSteps::DeferredSettlement()
{
    MainLoopState &loop = c_.loop();
    if (!loop.SettlementDeferred)
        return true;
    if (c_.state.gamedllstate <= 0) {
        loop.SettlementDeferred = false;
        c_.settlement.ShowScoreXi(loop.HeldResultFrame);
        return false;
    }
    if (!loop.ScoreInfoAnnounced) {
        loop.SettlementDeferred = false;
        c_.settlement.ShowScoreXi(loop.HeldResultFrame);
        c_.items.InitShowNext(false);
        return true;
    }
    services::PropScoreInfo info;
    if (c_.items.GetScoreInfo(info) != 1)
        return true;
    loop.ScoreInfoAnnounced = false;
    loop.SettlementDeferred = false;
    loop.BoxChosen = false;
    loop.propScore = info;
    if (c_.state.gamedllstate == 2) {
        c_.items.PlayBaoXiang();
    } else {
        c_.settlement.ShowScoreXi(loop.HeldResultFrame);
        c_.items.InitShowNext(false);
    }
    return true;
}

void ItemSteps::BoxCountdown()
{
    MainLoopState &loop = c_.loop();
    if (!loop.BoxCountdownOn)
        return;
    if (c_.window.BottomCardsVisible())
        c_.window.HideBottomCards();
    if (++loop.BoxCountdownTicks <= kBoxStepTicks)
        return;
    loop.BoxCountdownTicks = 0;
    --loop.BoxCountdown;
    if (loop.BoxChosen) {
        loop.BoxCountdownOn = false;
    } else if (loop.propScore.coins[0] > 0 || !loop.propScore.seatTexts[1].isEmpty()) {
        c_.window.SetPropLabel(
                countdownCaption(QStringLiteral("请选择一个宝箱打开"), loop.BoxCountdown));
        if (loop.BoxCountdown < 1) {
            loop.BoxCountdownOn = false;
            c_.items.OpenBao(static_cast<int>(std::nearbyint(random_() * 4.0)));
        }
    } else {
        c_.window.SetPropLabel(
                countdownCaption(QStringLiteral("请等待玩家打开宝箱"), loop.BoxCountdown));
        if (loop.BoxCountdown <= 2) {
            loop.BoxCountdownOn = false;
            c_.items.OpenBao(-1);
        }
    }
}

} // namespace tessaroc::core
