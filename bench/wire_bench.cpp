// The per-byte and per-frame work of the wire: what every arrival, every
// dispatched frame and every chat line costs.
#include "wire/ChatFrame.h"
#include "wire/GbkText.h"
#include "wire/MsgRings.h"
#include "wire/ReceivedFrames.h"

#include <benchmark/benchmark.h>

#include <vector>

using namespace tessaroc::wire;

namespace {

// Arrivals of a typical TCP segment size through the receive ring, each frame
// cut out as the main loop does.
void BM_ReceiveAndCutFrames(benchmark::State &state)
{
    const std::size_t segment = static_cast<std::size_t>(state.range(0));
    std::vector<std::uint8_t> stream(segment * 64);
    for (std::size_t i = 0; i < stream.size(); ++i)
        stream[i] = static_cast<std::uint8_t>(i * 31);
    MsgRings rings;
    MessageFrame frame;
    for (auto _ : state) {
        for (std::size_t at = 0; at < stream.size(); at += segment) {
            ReceiveIntoRing(rings, std::span(stream).subspan(at, segment));
            while (rings.RecvRing.takeFrame(frame))
                benchmark::DoNotOptimize(frame);
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * stream.size()));
}
BENCHMARK(BM_ReceiveAndCutFrames)->Arg(272)->Arg(1460);

// The dispatcher's reading of a frame: a played frame of a whole hand, and a
// user's record with its texts.
void BM_DecodePlayed(benchmark::State &state)
{
    PlayedFrame played;
    played.mover = 1;
    played.next = 8;
    played.cardCount = static_cast<std::uint8_t>(kMaxFrameCards);
    played.kind = 5;
    for (std::size_t i = 0; i < kMaxFrameCards; ++i)
        played.codes[i]
                = tessaroc::rules::makeCard(3 + static_cast<int>(i % 11), 1, static_cast<int>(i));
    const MessageFrame frame = played.encode();
    for (auto _ : state)
        benchmark::DoNotOptimize(PlayedFrame::decode(frame));
}
BENCHMARK(BM_DecodePlayed);

void BM_DecodeUserInfo(benchmark::State &state)
{
    UserInfoFrame user;
    user.nickname = "阿丽的好朋友";
    user.face = "w3";
    user.location = "上海";
    user.title = "黄金牌手";
    user.account = "alice";
    user.tag = "高手";
    user.coins = 60000;
    const MessageFrame frame = user.encode();
    for (auto _ : state)
        benchmark::DoNotOptimize(UserInfoFrame::decode(frame));
}
BENCHMARK(BM_DecodeUserInfo);

// A 100-character chat line packed, stamped and queued, then taken out.
void BM_SendChatLine(benchmark::State &state)
{
    MsgRings rings;
    std::string line;
    for (int i = 0; i < 50; ++i)
        line += "中a";
    MessageFrame out;
    for (auto _ : state) {
        rings.PendingChat = line;
        MessageFrame frame = ChatFrame{.sender = 1}.encode();
        SendMsg(rings, frame);
        rings.SendRing.takeFrame(out);
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_SendChatLine);

// A full chat field read back as UTF-8.
void BM_ReadChatField(benchmark::State &state)
{
    MessageFrame frame;
    for (std::size_t i = 16; i < 216; i += 2) {
        frame.setByte(i, 0xd6);
        frame.setByte(i + 1, 0xd0);
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(readFieldText(frame, 16, 215));
}
BENCHMARK(BM_ReadChatField);

// A settings-file sized text both ways.
void BM_GbkWholeText(benchmark::State &state)
{
    std::string utf8;
    for (int i = 0; i < 256; ++i)
        utf8 += "[聊天] phrase=你好，欢迎来到斗地主！\n";
    for (auto _ : state) {
        const std::string gbk = utf8ToGbk(utf8);
        benchmark::DoNotOptimize(gbkToUtf8(gbk));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * utf8.size()));
}
BENCHMARK(BM_GbkWholeText);

} // namespace
