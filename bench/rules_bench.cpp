// The card rules run on every press of the play and hint buttons and on the
// table server for every play of every seat. Goals: judging any play within
// 0.3 us (median), a full beat-hint listing on the worst hand within 5 us, and
// no heap allocation in any of them; "allocs/iter" shows the last.

#include "CardsForTest.h"

#include "rules/CardRulesState.h"
#include "rules/JudgeChuPai.h"
#include "rules/SortByGroup.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <random>

namespace {
std::atomic<std::uint64_t> allocations{0};
} // namespace

// Every allocation of the program passes here, so a benchmark can count the
// ones its loop makes. GCC cannot tell that these deletes pair with the news
// beside them.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void *operator new(std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void *p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
void *operator new[](std::size_t size)
{
    return operator new(size);
}
void operator delete(void *p) noexcept
{
    std::free(p);
}
void operator delete[](void *p) noexcept
{
    std::free(p);
}
void operator delete(void *p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete[](void *p, std::size_t) noexcept
{
    std::free(p);
}
#pragma GCC diagnostic pop

namespace tessaroc::rules {
namespace {

// Reports the allocations made between its construction and the end of the
// benchmark loop, per iteration.
class AllocationCounter
{
public:
    explicit AllocationCounter(benchmark::State &state)
        : state_(state)
        , start_(allocations.load())
    { }
    ~AllocationCounter()
    {
        state_.counters["allocs/iter"]
                = benchmark::Counter(static_cast<double>(allocations.load() - start_),
                                     benchmark::Counter::kAvgIterations);
    }

private:
    benchmark::State &state_;
    std::uint64_t start_;
};

// 33 cards rich in triples, with both joker pairs: nine chained triples give
// the chain and plane searches the most windows to try.
constexpr const char *kWorstHand
        = "BJ BJ sj sj 2 2 J J J 10 10 10 9 9 9 8 8 8 7 7 7 6 6 6 5 5 5 4 4 4 3 3 3";

CardArray shuffled(const char *text)
{
    std::vector<CardCode> cards = test::cards(text);
    std::shuffle(cards.begin(), cards.end(), std::mt19937(1));
    return test::cardArray(cards);
}

int countOf(const char *text)
{
    return static_cast<int>(test::cards(text).size());
}

void BM_SortByGroup(benchmark::State &state)
{
    const CardArray hand = shuffled(kWorstHand);
    AllocationCounter counter(state);
    for (auto _ : state) {
        CardArray cards = hand;
        SortByGroup(cards, kMaxHandCards);
        benchmark::DoNotOptimize(cards);
    }
}
BENCHMARK(BM_SortByGroup);

// The kind of a play as the own play finds it: group order, then the tests.
void BM_JudgeKind(benchmark::State &state, const char *play)
{
    const CardArray raised = shuffled(play);
    const int n = countOf(play);
    JudgeResultTable result{};
    AllocationCounter counter(state);
    for (auto _ : state) {
        CardArray cards = raised;
        SortByGroup(cards, n);
        benchmark::DoNotOptimize(JudgeKind(KindNone, n, cards, result));
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK_CAPTURE(BM_JudgeKind, single, "7");
BENCHMARK_CAPTURE(BM_JudgeKind, triple_with_pair, "3 3 8 8 8");
BENCHMARK_CAPTURE(BM_JudgeKind, low_pair_chain, "2 2 A A 3 3 4 4 5 5");
BENCHMARK_CAPTURE(BM_JudgeKind, pair_chain_24, "3 3 4 4 5 5 6 6 7 7 8 8 9 9 10 10 J J Q Q K K A A");
BENCHMARK_CAPTURE(BM_JudgeKind, triple_chain_33,
                  "3 3 3 4 4 4 5 5 5 6 6 6 7 7 7 8 8 8 9 9 9 10 10 10 J J J Q Q Q K K K");
BENCHMARK_CAPTURE(BM_JudgeKind, low_plane_15, "2 2 2 A A A 3 3 3 9 9 8 8 7 7");
BENCHMARK_CAPTURE(BM_JudgeKind, plane_30,
                  "3 3 3 4 4 4 5 5 5 6 6 6 7 7 7 8 8 8 9 9 10 10 J J Q Q K K A A");
BENCHMARK_CAPTURE(BM_JudgeKind, no_kind_33, kWorstHand);

void BM_BeatsPrevious(benchmark::State &state, const char *mine, PlayKind myKind, const char *prev,
                      PlayKind prevKind)
{
    const CardArray own = test::cardArray(mine);
    const CardArray toBeat = test::cardArray(prev, 50);
    const int myCount = countOf(mine);
    const int prevCount = countOf(prev);
    AllocationCounter counter(state);
    for (auto _ : state) {
        benchmark::DoNotOptimize(BeatsPrevious(own, myCount, myKind, toBeat, prevCount, prevKind));
    }
}
BENCHMARK_CAPTURE(BM_BeatsPrevious, low_pair_chains, "4 4 3 3 2 2", KindPairChain, "2 2 A A 3 3",
                  KindPairChain);
BENCHMARK_CAPTURE(BM_BeatsPrevious, low_planes, "3 3 3 2 2 2 9 9 8 8", KindPlaneWithPairs,
                  "2 2 2 A A A 9 9 8 8", KindPlaneWithPairs);
BENCHMARK_CAPTURE(BM_BeatsPrevious, bomb_on_chain, "3 3 3 3 3", KindBomb5, "A A K K Q Q",
                  KindPairChain);

void BM_PromptLead(benchmark::State &state)
{
    CardRulesState rules;
    rules.HandRecords[0] = test::hand(kWorstHand);
    AllocationCounter counter(state);
    for (auto _ : state) {
        PromptLead(rules);
        benchmark::DoNotOptimize(rules.HintCount);
    }
}
BENCHMARK(BM_PromptLead);

void BM_PromptBeat(benchmark::State &state, const char *prev, PlayKind kind)
{
    CardRulesState rules;
    rules.HandRecords[0] = test::hand(kWorstHand);
    const CardArray toBeat = test::cardArray(prev, 100);
    const int n = countOf(prev);
    {
        AllocationCounter counter(state);
        for (auto _ : state) {
            rules.HintCount = 0;
            PromptBeat(rules, kind, n, toBeat);
            benchmark::DoNotOptimize(rules.HintCount);
        }
    }
    state.counters["rows"] = rules.HintCount;
}
BENCHMARK_CAPTURE(BM_PromptBeat, single_3, "3", KindSingle);
BENCHMARK_CAPTURE(BM_PromptBeat, pair_3, "3 3", KindPair);
BENCHMARK_CAPTURE(BM_PromptBeat, low_pair_chain, "2 2 A A 3 3", KindPairChain);
BENCHMARK_CAPTURE(BM_PromptBeat, high_pair_chain, "A A K K Q Q", KindPairChain);
BENCHMARK_CAPTURE(BM_PromptBeat, low_triple_chain, "2 2 2 A A A", KindTripleChain);
BENCHMARK_CAPTURE(BM_PromptBeat, high_triple_chain, "A A A K K K Q Q Q", KindTripleChain);
BENCHMARK_CAPTURE(BM_PromptBeat, triple_with_pair, "3 3 3 4 4", KindTripleWithPair);
BENCHMARK_CAPTURE(BM_PromptBeat, low_plane, "2 2 2 A A A 9 9 8 8", KindPlaneWithPairs);
BENCHMARK_CAPTURE(BM_PromptBeat, low_plane_15, "2 2 2 A A A 3 3 3 9 9 8 8 7 7", KindPlaneWithPairs);
BENCHMARK_CAPTURE(BM_PromptBeat, high_plane, "A A A K K K 9 9 8 8", KindPlaneWithPairs);
BENCHMARK_CAPTURE(BM_PromptBeat, plane_pair_run, "4 4 4 3 3 3 9 9 8 8", KindPlaneWithPairsAlt);
BENCHMARK_CAPTURE(BM_PromptBeat, bomb4_3, "3 3 3 3", KindBomb4);

// The whole deciding half of the own play on a full hand.
void BM_JudgeChuPai(benchmark::State &state, const char *raisedFaces)
{
    CardRulesState rules;
    rules.HandRecords[0] = test::hand(kWorstHand);
    rules.prevPlay.set(KindNone, 0, {});
    OwnPlayInput input;
    input.maySendPlay = true;
    std::vector<CardCode> wanted = test::cards(raisedFaces);
    const HandRecord &own = rules.ownHand();
    for (int i = 0; i < own.cardCount; ++i) {
        const auto match = std::find_if(wanted.begin(), wanted.end(), [&](CardCode c) {
            return cardFace(c) == cardFace(own.slots[i].code);
        });
        if (match != wanted.end()) {
            input.raised[i] = true;
            wanted.erase(match);
        }
    }
    AllocationCounter counter(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(JudgeChuPai(rules, input));
}
BENCHMARK_CAPTURE(BM_JudgeChuPai, single, "3");
BENCHMARK_CAPTURE(BM_JudgeChuPai, triple_chain_27,
                  "J J J 10 10 10 9 9 9 8 8 8 7 7 7 6 6 6 5 5 5 4 4 4 3 3 3");
BENCHMARK_CAPTURE(BM_JudgeChuPai, plane_15, "J J J 10 10 10 9 9 9 2 2 5 5 4 4");
BENCHMARK_CAPTURE(BM_JudgeChuPai, no_kind_33, kWorstHand);

} // namespace
} // namespace tessaroc::rules

BENCHMARK_MAIN();
