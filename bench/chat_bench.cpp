// The cost of one more chat line in the history window Talk, shown on the
// offscreen screen, after an evening's lines: the line wrapped into the
// list and the list scrolled to it, which lays the list out. The paint that
// follows, once a pass of the event loop and only while the window shows,
// is left out.

#include "chat/ChatWindows.h"
#include "support/TextHelpers.h"

#include <QApplication>
#include <QListWidget>
#include <QStringList>

#include <benchmark/benchmark.h>

namespace {

using namespace tessaroc;

// Display columns of a history line, as the chat wraps them.
constexpr std::int16_t kColumns = 44;

const QString kLine = QStringLiteral("阿强说道： 好的，这一局我来当地主，大家小心我的炸弹！");

void BM_HistoryLineAtRows(benchmark::State &state)
{
    const int rows = static_cast<int>(state.range(0));
    chat::TalkWindow window;
    QStringList filler;
    filler.reserve(rows);
    for (int i = 0; i < rows; ++i)
        filler.append(QStringLiteral("小红说道： 第%1行").arg(i));
    window.Text1->addItems(filler);
    window.show();
    window.scrollToEnd();
    QApplication::processEvents();

    for (auto _ : state) {
        support::AddWrappedText(*window.Text1, kLine, kColumns);
        window.scrollToEnd();

        state.PauseTiming();
        while (window.Text1->count() > rows)
            delete window.Text1->takeItem(window.Text1->count() - 1);
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_HistoryLineAtRows)->Arg(1000)->Arg(5000)->Arg(20000)->Unit(benchmark::kMicrosecond);

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
