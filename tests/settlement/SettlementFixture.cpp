#include "SettlementFixture.h"

#include "settlement/ListBoxes.h"

namespace tessaroc::settlement::testing {

wire::MessageFrame resultFrame(const SeatLine &line, std::int32_t stake)
{
    wire::HandResultFrame f;
    f.seat = wire::SeatByte{line.seat};
    f.stake = stake;
    f.cashUnit = line.cashUnit;
    f.outcome = line.outcome;
    f.finalAmount = line.finalAmount;
    f.level = line.level;
    f.amount1Sign = line.sign1;
    f.amount1 = line.amount1;
    f.amount2 = line.amount2;
    f.capped = line.capped;
    wire::MessageFrame frame = f.encode();
    frame.setByte(153, line.landlord);
    return frame;
}

SettlementFixture::SettlementFixture()
{
    core::CoreContext &base = *client.context;
    context = std::make_unique<core::CoreContext>(core::CoreContext{
            base.state, base.rings, base.clock, base.socket, base.hall, base.timers, base.window,
            play, sound, base.items, base.video, base.settlement, base.process, base.chat});
    settlement = std::make_unique<CoreSettlement>(client.state, windows, *client.form, *context);
    settlement->setRecordsPath(dir.filePath(QStringLiteral("info.qn")));
    state().rules.HandRecords[0].seatBit = 1;
}

SettlementFixture::~SettlementFixture() = default;

QStringList SettlementFixture::lines(int list) const
{
    return ListLines(const_cast<SettlementService &>(windows).Score().State(list));
}

QStringList SettlementFixture::heroLines(int grade) const
{
    HeroWindow &h = const_cast<SettlementService &>(windows).Hero();
    return ListLines(grade < 0 ? h.Num() : h.Grade(grade));
}

void SettlementFixture::deliver(const wire::MessageFrame &frame, bool variant)
{
    settlement->ClearScoreLists();
    if (variant)
        settlement->ShowScoreXi(frame);
    else
        settlement->ShowScore(frame);
}

void SettlementFixture::deliverAll(const std::vector<wire::MessageFrame> &frames, bool variant)
{
    for (const wire::MessageFrame &frame : frames)
        deliver(frame, variant);
}

void SettlementFixture::seatPlayers(double coins)
{
    for (int p = 0; p < 4; ++p) {
        core::PlayerRecord &r = state().commands.custom[static_cast<std::size_t>(p)];
        r.nickname = "player" + std::to_string(p);
        r.coins = coins;
        state().commands.ScoreNames[static_cast<std::size_t>(p)]
                = {r.nickname, std::to_string(p * 5)};
    }
}

} // namespace tessaroc::settlement::testing
