// The cost of one more chat line in the history window Talk, shown on the
// offscreen screen, after an evening of 1,000, 5,000 or 20,000 lines: the
// line wrapped into the list and the list scrolled to it, which lays the list
// out. The paint that follows, once a pass of the event loop and only while
// the window shows, is left out.

#include "chat/ChatWindows.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {

using namespace tessaroc;

const QString kLine = QStringLiteral("阿强说道： 好的，这一局我来当地主，大家小心我的炸弹！");

void BM_HistoryLineAfterLines(benchmark::State &state)
{
    chat::TalkWindow window;
    window.show();
    for (std::int64_t i = 0; i < state.range(0); ++i)
        window.addLine(QStringLiteral("小红说道： 第%1行").arg(i));
    QApplication::processEvents();

    for (auto _ : state) {
        window.addLine(kLine);

        state.PauseTiming();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_HistoryLineAfterLines)
        ->Arg(1000)
        ->Arg(5000)
        ->Arg(20000)
        ->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
