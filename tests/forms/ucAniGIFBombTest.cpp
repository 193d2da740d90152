// The animated picture control playing a file made to load it down, on the
// real clock: the event loop must stay free for everything else.

#include "forms/Surface.h"
#include "forms/ucAniGIF.h"
#include "gif/GifEncoder.h"
#include "platform/Clock.h"

#include "../gif/GifBombs.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <ctime>

using namespace tessaroc;
using namespace tessaroc::forms;

namespace {

// The processor time this thread has used, in milliseconds: unlike the wall
// clock it does not run on while other programs of a busy machine have the
// processor.
double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

QByteArray bytesOf(const std::vector<std::uint8_t> &bytes)
{
    return QByteArray(reinterpret_cast<const char *>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}

struct Case
{
    const char *name;
    std::int32_t stretch;
    std::int32_t mirrored;
};

void PrintTo(const Case &c, std::ostream *os)
{
    *os << c.name;
}

class AniGifBomb : public ::testing::TestWithParam<Case>
{
};

} // namespace

// Thousands of one-pixel frames on the largest screen, at the shortest frame
// time: while they play, a timer every 5 ms must never wait behind more than
// 50 ms of the control's work (measured in this thread's processor time, so
// a busy machine does not count against it).
TEST_P(AniGifBomb, TinyFramesOnAHugeScreenLeaveTheLoopFree)
{
    const QByteArray file = bytesOf(gif::EncodeGif(gif::testing::tinyFramesOnTheLargestScreen()));
    ASSERT_LT(file.size(), 120 * 1024);

    platform::SteadyClock clock;
    Surface surface;
    surface.resize(640, 480);
    surface.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&surface));
    ucAniGIF control(clock, &surface);
    control.Move(0, 0, 640, 480);
    control.setStretch(GetParam().stretch);
    control.setMirrored(GetParam().mirrored);
    control.setMinFrameDelay(10);

    double worstMs = 0;
    double last = threadCpuMs();
    QTimer checker;
    checker.setInterval(5);
    QObject::connect(&checker, &QTimer::timeout, [&] {
        const double now = threadCpuMs();
        worstMs = std::max(worstMs, now - last);
        last = now;
    });
    checker.start();
    // The load runs inside the loop too, and so does the build of the
    // frames after the first on the control's build timer.
    QTimer::singleShot(0, &control, [&] { control.LoadAnimatedGIF_Array(file); });

    int highest = 0;
    QElapsedTimer run;
    run.start();
    while (run.elapsed() < 1500) {
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
        highest = std::max(highest, control.CurrentFrame());
    }
    EXPECT_GT(highest, 20) << "the animation did not play";
    EXPECT_LT(worstMs, 50.0) << "the loop waited " << worstMs << " ms of processor time";
}

INSTANTIATE_TEST_SUITE_P(AniGif, AniGifBomb,
                         ::testing::Values(Case{"fitted", 1, 0}, Case{"fittedMirrored", 1, 3},
                                           Case{"unscaled", 0, 0}),
                         [](const auto &param) { return std::string(param.param.name); });
