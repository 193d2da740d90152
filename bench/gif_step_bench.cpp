// What one frame step of the animated picture costs on files made to load it
// down: the next frame composed on the largest screen, and the wrap back to
// the first frame, which clears what the pass drew.
#include "gif/GifAnimation.h"
#include "gif/GifEncoder.h"

#include "GifBombs.h"

#include <benchmark/benchmark.h>

using namespace tessaroc::gif;

namespace {

void stepThroughAPass(benchmark::State &state, const GifFileData &file)
{
    GifAnimation anim;
    const int frames = anim.LoadGifArray(EncodeGif(file));
    anim.BuildFrames();
    int n = 0;
    for (auto _ : state) {
        n = n % frames + 1;
        benchmark::DoNotOptimize(anim.ComposeFrame(n).data());
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_TinyFramesOnTheLargestScreen(benchmark::State &state)
{
    stepThroughAPass(state, testing::tinyFramesOnTheLargestScreen());
}
BENCHMARK(BM_TinyFramesOnTheLargestScreen);

void BM_TinyFramesMirrored(benchmark::State &state)
{
    GifAnimation anim;
    const int frames = anim.LoadGifArray(EncodeGif(testing::tinyFramesOnTheLargestScreen()));
    anim.BuildFrames();
    anim.setMirrored(3);
    int n = 0;
    for (auto _ : state) {
        n = n % frames + 1;
        benchmark::DoNotOptimize(anim.ComposeFrame(n).data());
    }
}
BENCHMARK(BM_TinyFramesMirrored);

} // namespace

BENCHMARK_MAIN();
