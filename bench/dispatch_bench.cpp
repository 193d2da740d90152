// What one frame of each server command costs, from the dispatcher through
// the handler to the table window's controls (laid out offscreen), with the
// services of the other subsystems doing nothing. The goal is at most 1 ms of
// processor time per frame.
#include "OffscreenClient.h"

#include "rules/CardCode.h"
#include "wire/ReceivedFrames.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <functional>

namespace {

using namespace tessaroc;
using offscreen::OffscreenClient;

wire::UserInfoFrame user(const char *name, std::uint8_t seat)
{
    wire::UserInfoFrame info;
    info.recipientSeat = 1;
    info.account = name;
    info.nickname = std::string(name) + "的昵称";
    info.face = "w3";
    info.coins = 45678;
    info.title = "高手";
    info.tag = "会员";
    info.wealth = 120;
    info.extraNumber5 = seat;
    return info;
}

// A client at a full table: own seat 1, users a, b, c, d at seats 1, 2, 4, 8.
OffscreenClient &seatedClient()
{
    static OffscreenClient *client = [] {
        auto *c = new OffscreenClient;
        const char *names[] = {"a", "b", "c", "d"};
        for (int i = 0; i < 4; ++i)
            c->dispatch(user(names[i], static_cast<std::uint8_t>(1 << i)).encode());
        return c;
    }();
    return *client;
}

void runFrame(benchmark::State &st, const wire::MessageFrame &frame,
              const std::function<void(OffscreenClient &)> &prepare = {})
{
    OffscreenClient &client = seatedClient();
    for (auto _ : st) {
        if (prepare) {
            st.PauseTiming();
            prepare(client);
            st.ResumeTiming();
        }
        client.dispatch(frame);
        if (client.ended())
            client.revive();
    }
}

wire::MessageFrame handStart()
{
    wire::DealFrame deal;
    deal.form = wire::kDealHandStart;
    deal.rowCount = 25;
    deal.shownCardSeat = 2;
    deal.shownSuitBit = 4;
    deal.shownFace = 12;
    deal.resumeValue = 448;
    for (int i = 0; i < 25; ++i)
        deal.codes[static_cast<std::size_t>(i)] = rules::makeCard(3 + i % 15, 1 << (i % 4), i);
    return deal.encode();
}

wire::MessageFrame ownBottomCards()
{
    wire::DealFrame deal;
    deal.form = wire::kDealBottomCards;
    deal.seat = 1;
    for (int i = 0; i < 8; ++i)
        deal.codes[static_cast<std::size_t>(i)] = rules::makeCard(5 + i, 2, 100 + i);
    return deal.encode();
}

wire::MessageFrame played(std::uint8_t code, std::uint8_t count, std::uint8_t next)
{
    wire::PlayedFrame p;
    p.mover = 8;
    p.next = next;
    p.trickCode = code;
    p.cardCount = count;
    p.kind = count ? 2 : 0;
    for (int i = 0; i < count; ++i)
        p.codes[static_cast<std::size_t>(i)] = rules::makeCard(9, 1, i);
    p.seconds = 15;
    return p.encode();
}

void BM_Deal_HandStart(benchmark::State &st)
{
    runFrame(st, handStart());
}
void BM_Deal_OwnBottomCards(benchmark::State &st)
{
    runFrame(st, ownBottomCards());
}
void BM_BidTurn_Own(benchmark::State &st)
{
    wire::BidTurnFrame turn;
    turn.nextBidder = 1;
    turn.bidder = 8;
    runFrame(st, turn.encode(), [](OffscreenClient &c) { c.state.core.BidFrameCount = 0; });
}
void BM_BidTurn_Landlord(benchmark::State &st)
{
    wire::BidTurnFrame turn;
    turn.nextBidder = 2;
    turn.bid = 1;
    turn.bidder = 4;
    runFrame(st, turn.encode(), [](OffscreenClient &c) { c.state.core.BidFrameCount = 1; });
}
void BM_Played_OwnTurnToFollow(benchmark::State &st)
{
    runFrame(st, played(5, 2, 1));
}
void BM_Played_TrickOpensOtherSeat(benchmark::State &st)
{
    runFrame(st, played(1, 0, 2));
}
void BM_HandResult(benchmark::State &st)
{
    wire::HandResultFrame result;
    result.seat = 1;
    result.winnersLine = "甲乙丙";
    runFrame(st, result.encode());
}
void BM_ReadyOrLeave_EndOfHand(benchmark::State &st)
{
    wire::ReadyOrLeaveNoticeFrame notice;
    notice.flags = 1;
    notice.shufflingNow = 1;
    notice.wealthMultiplier = 150;
    runFrame(st, notice.encode(), [](OffscreenClient &c) { c.state.loop.DealArmed = true; });
}
void BM_ReadyOrLeave_OtherShort(benchmark::State &st)
{
    wire::ReadyOrLeaveNoticeFrame notice;
    notice.mode = 3;
    notice.shortSeats = 4;
    runFrame(st, notice.encode());
}
void BM_LoginAnswer(benchmark::State &st)
{
    // The server answers one login per connection: each answer here comes on
    // a connection of its own.
    runFrame(st, wire::LoginAnswerFrame{15, 1, "http://ad.example/room"}.encode(),
             [](OffscreenClient &client) { client.state.loop.LoginAnswered = false; });
}
void BM_ReconnectAnswer(benchmark::State &st)
{
    runFrame(st, wire::ReconnectAnswerFrame{1}.encode());
}
void BM_Chat(benchmark::State &st)
{
    wire::MessageFrame chat;
    chat.setCmd(wire::CmdChat);
    runFrame(st, chat);
}
void BM_UserInfo(benchmark::State &st)
{
    runFrame(st, user("c", 4).encode());
}
void BM_UserLeft(benchmark::State &st)
{
    runFrame(st, wire::UserLeftFrame{false, 1, "nobody"}.encode());
}
void BM_Ready(benchmark::State &st)
{
    runFrame(st, wire::ReadyFrame{1, "b"}.encode());
}
void BM_ForcedLeave(benchmark::State &st)
{
    runFrame(st, wire::ForcedLeaveFrame{"服务器请您离开"}.encode());
}
void BM_UnknownCode(benchmark::State &st)
{
    wire::MessageFrame frame;
    frame.setCmd(77);
    runFrame(st, frame);
}

BENCHMARK(BM_Deal_HandStart);
BENCHMARK(BM_Deal_OwnBottomCards);
BENCHMARK(BM_BidTurn_Own);
BENCHMARK(BM_BidTurn_Landlord);
BENCHMARK(BM_Played_OwnTurnToFollow);
BENCHMARK(BM_Played_TrickOpensOtherSeat);
BENCHMARK(BM_HandResult);
BENCHMARK(BM_ReadyOrLeave_EndOfHand);
BENCHMARK(BM_ReadyOrLeave_OtherShort);
BENCHMARK(BM_LoginAnswer);
BENCHMARK(BM_ReconnectAnswer);
BENCHMARK(BM_Chat);
BENCHMARK(BM_UserInfo);
BENCHMARK(BM_UserLeft);
BENCHMARK(BM_Ready);
BENCHMARK(BM_ForcedLeave);
BENCHMARK(BM_UnknownCode);

} // namespace

int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("TESSAROC_NONINTERACTIVE", "1", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
