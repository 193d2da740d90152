#include "forms/ucAniGIF.h"
#include "forms/Surface.h"
#include "gif/GifEncoder.h"
#include "platform/Clock.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <functional>

using namespace tessaroc;
using namespace tessaroc::forms;

namespace {

const std::vector<std::uint32_t> kPalette = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00};
const QColor kColours[]
        = {QColor(0xFF, 0, 0), QColor(0, 0xFF, 0), QColor(0, 0, 0xFF), QColor(0xFF, 0xFF, 0)};

// A GIF whose frame k is filled with colour k % 4, or split left and right
// when `halves` is set (left colour k, right colour k + 1).
QByteArray makeGif(int frames, QSize size, std::vector<int> delays = {},
                   std::optional<std::uint16_t> loops = std::nullopt, bool halves = false)
{
    gif::GifFileData gif;
    gif.screenWidth = size.width();
    gif.screenHeight = size.height();
    gif.globalPalette = kPalette;
    gif.loops = loops;
    for (int k = 0; k < frames; ++k) {
        gif::GifImageData image;
        image.width = size.width();
        image.height = size.height();
        image.pixels.resize(static_cast<std::size_t>(size.width() * size.height()));
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                image.pixels[static_cast<std::size_t>(y * size.width() + x)]
                        = static_cast<std::uint8_t>((k + (halves && x >= size.width() / 2)) % 4);
        image.delayMs
                = k < static_cast<int>(delays.size()) ? delays[static_cast<std::size_t>(k)] : 0;
        gif.images.push_back(std::move(image));
    }
    const std::vector<std::uint8_t> bytes = gif::EncodeGif(gif);
    return QByteArray(reinterpret_cast<const char *>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}

class AniGifTest : public ::testing::Test
{
protected:
    AniGifTest()
    {
        surface.resize(320, 320);
        surface.show();
        // The control paints itself at once on every frame; that needs a
        // surface that is on screen.
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&surface));
        control.Move(0, 0, 100, 100);
    }

    // Moves the clock to the timer's due time and runs the tick.
    bool tick()
    {
        if (!control.timerRunning())
            return false;
        clock.set(control.timerDueMs());
        return control.runDueTimer();
    }

    // The colour painted at a point of the control.
    QColor shown(int x = 2, int y = 2) { return surface.grab().toImage().pixelColor(x, y); }

    platform::ManualClock clock{1000};
    forms::Surface surface;
    ucAniGIF control{clock, &surface};
};

} // namespace

TEST_F(AniGifTest, ShowsTheFirstFrameAndBuildsTheRestOnTheBuildTimer)
{
    ASSERT_TRUE(control.LoadAnimatedGIF_Array(makeGif(3, QSize(100, 100))));
    EXPECT_EQ(control.CurrentFrame(), 1);
    EXPECT_EQ(control.FrameCount(), 3);
    EXPECT_EQ(control.Action(), 1);
    EXPECT_EQ(control.Mirrored(), 32);
    EXPECT_EQ(control.timerDueMs(), 1020);
    EXPECT_EQ(shown(), kColours[0]);

    EXPECT_TRUE(tick());
    EXPECT_EQ(control.Mirrored(), 0);
    EXPECT_EQ(control.CurrentFrame(), 1);
    EXPECT_EQ(control.Action(), 1);
    EXPECT_TRUE(tick());
    EXPECT_EQ(control.CurrentFrame(), 2);
    EXPECT_EQ(shown(), kColours[1]);
}

TEST_F(AniGifTest, NothingRunsBeforeTheClockReachesTheTimer)
{
    control.LoadAnimatedGIF_Array(makeGif(3, QSize(100, 100)));
    clock.set(1019);
    EXPECT_FALSE(control.runDueTimer());
    EXPECT_EQ(control.Mirrored(), 32);
    clock.set(1020);
    EXPECT_TRUE(control.runDueTimer());
}

TEST_F(AniGifTest, FramesStayForTheirDelayButAtLeastTheMinimum)
{
    control.setDelayAnimation(0);
    control.LoadAnimatedGIF_Array(makeGif(3, QSize(100, 100), {0, 100, 30}));
    const std::int64_t start = clock.nowMs();
    EXPECT_EQ(control.timerDueMs() - start, 50);
    tick();
    EXPECT_EQ(control.timerDueMs() - clock.nowMs(), 100);
    tick();
    EXPECT_EQ(control.timerDueMs() - clock.nowMs(), 50);
    control.setMinFrameDelay(20);
    tick();
    EXPECT_EQ(control.CurrentFrame(), 1);
    EXPECT_EQ(control.timerDueMs() - clock.nowMs(), 20);
}

TEST_F(AniGifTest, OnePassPlaysEachFrameOnceThenShowsNothing)
{
    QSignalSpy ended(&control, &ucAniGIF::LoopsEnded);
    QSignalSpy over(&control, &ucAniGIF::reportOver);
    control.setDelayAnimation(0);
    control.LoadAnimatedGIF_Array(makeGif(3, QSize(100, 100)));
    control.setLoops(1);
    tick();
    tick();
    EXPECT_EQ(control.CurrentFrame(), 3);
    ASSERT_GE(over.count(), 1);
    EXPECT_EQ(over.last()[0].toInt(), 3);
    EXPECT_EQ(ended.count(), 0);
    tick();
    EXPECT_EQ(control.CurrentFrame(), 0);
    EXPECT_EQ(control.Action(), 0);
    EXPECT_FALSE(control.timerRunning());
    EXPECT_EQ(ended.count(), 1);
    EXPECT_EQ(control.LoopsRemaining(), -1);
    EXPECT_EQ(shown(), surface.palette().window().color());
}

TEST_F(AniGifTest, EndlessLoopsCycleAndReportEveryPass)
{
    QSignalSpy over(&control, &ucAniGIF::reportOver);
    control.setDelayAnimation(0);
    control.LoadAnimatedGIF_Array(makeGif(2, QSize(100, 100)));
    for (int i = 0; i < 8; ++i)
        tick();
    EXPECT_EQ(control.CurrentFrame(), 1);
    EXPECT_EQ(control.Action(), 1);
    EXPECT_EQ(over.count(), 4);
    EXPECT_EQ(control.LoopsRemaining(), 0);
}

TEST_F(AniGifTest, LoopCountComesFromTheGifAndCountsDown)
{
    control.setDelayAnimation(0);
    control.LoadAnimatedGIF_Array(makeGif(2, QSize(100, 100), {}, 3));
    EXPECT_EQ(control.loops(), 3);
    EXPECT_EQ(control.LoopsRemaining(), 3);
    tick();
    tick();
    EXPECT_EQ(control.LoopsRemaining(), 2);
}

TEST_F(AniGifTest, LoweringTheLoopsDuringARunEndsItAtTheNextPass)
{
    QSignalSpy ended(&control, &ucAniGIF::LoopsEnded);
    control.setDelayAnimation(0);
    control.LoadAnimatedGIF_Array(makeGif(2, QSize(100, 100)));
    for (int i = 0; i < 5; ++i)
        tick();
    control.setLoops(1);
    tick();
    EXPECT_EQ(ended.count(), 1);
    EXPECT_EQ(control.CurrentFrame(), 0);
}

TEST_F(AniGifTest, OneFrameGetsNoTimer)
{
    ASSERT_TRUE(control.LoadAnimatedGIF_Array(makeGif(1, QSize(100, 100))));
    EXPECT_FALSE(control.timerRunning());
    EXPECT_EQ(control.Action(), 0);
    control.setAction(1);
    EXPECT_FALSE(control.timerRunning());
    EXPECT_EQ(shown(), kColours[0]);
}

TEST_F(AniGifTest, PlayWhileRunningKeepsTheInterval)
{
    control.setDelayAnimation(0);
    control.LoadAnimatedGIF_Array(makeGif(3, QSize(100, 100), {100, 100, 100}));
    clock.advance(60);
    const std::int64_t due = control.timerDueMs();
    control.setAction(1);
    EXPECT_EQ(control.timerDueMs(), due);
}

TEST_F(AniGifTest, PauseAndPlayResumeWithTheFullDisplayTime)
{
    control.setDelayAnimation(0);
    control.LoadAnimatedGIF_Array(makeGif(3, QSize(100, 100), {100, 100, 100}));
    tick();
    clock.advance(70);
    control.setAction(2);
    EXPECT_EQ(control.Action(), 2);
    EXPECT_FALSE(control.timerRunning());
    clock.advance(500);
    control.setAction(1);
    EXPECT_EQ(control.Action(), 1);
    EXPECT_EQ(control.CurrentFrame(), 2);
    EXPECT_EQ(control.timerDueMs(), clock.nowMs() + 100);
}

TEST_F(AniGifTest, StepOnTheLastFrameShowsTheFirstAndPauses)
{
    control.setDelayAnimation(0);
    control.LoadAnimatedGIF_Array(makeGif(3, QSize(100, 100)));
    tick();
    tick();
    control.setAction(3);
    EXPECT_EQ(control.CurrentFrame(), 1);
    EXPECT_EQ(control.Action(), 2);
    EXPECT_FALSE(control.timerRunning());
    EXPECT_EQ(shown(), kColours[0]);
}

TEST_F(AniGifTest, StopShowsNothingUntilTheNextLoad)
{
    control.setDelayAnimation(0);
    control.LoadAnimatedGIF_Array(makeGif(3, QSize(100, 100)));
    control.setAction(0);
    EXPECT_EQ(control.FrameCount(), 0);
    EXPECT_EQ(control.CurrentFrame(), 0);
    control.setAction(1);
    control.setAction(4);
    EXPECT_EQ(control.CurrentFrame(), 0);
    EXPECT_FALSE(control.timerRunning());
    EXPECT_FALSE(control.AnimatedGIF().has_value());
}

TEST_F(AniGifTest, RestartRewindsAndPlays)
{
    control.setDelayAnimation(0);
    control.LoadAnimatedGIF_Array(makeGif(3, QSize(100, 100), {}, 2));
    tick();
    tick();
    tick();
    control.setAction(4);
    EXPECT_EQ(control.CurrentFrame(), 1);
    EXPECT_EQ(control.LoopsRemaining(), 2);
    EXPECT_EQ(control.Action(), 1);
}

TEST_F(AniGifTest, HiddenAnimationKeepsTimeWithoutWaking)
{
    control.setDelayAnimation(0);
    control.LoadAnimatedGIF_Array(makeGif(3, QSize(100, 100), {100, 100, 100}));
    control.setVisible(false);
    EXPECT_EQ(control.Action(), 1);
    EXPECT_FALSE(control.timerRunning()) << "an endless hidden animation wakes nobody";
    clock.set(1250);
    EXPECT_EQ(control.CurrentFrame(), 3);

    // Forty passes and half a frame later: frame 2 of the next pass, with
    // 50 ms of its display time left.
    clock.set(1000 + 40 * 300 + 150);
    control.setVisible(true);
    EXPECT_EQ(control.CurrentFrame(), 2);
    EXPECT_EQ(control.Action(), 1);
    EXPECT_TRUE(control.timerRunning());
    EXPECT_EQ(control.timerDueMs(), 1000 + 40 * 300 + 200);
    EXPECT_EQ(shown(), kColours[1]);
    EXPECT_TRUE(tick());
    EXPECT_EQ(shown(), kColours[2]);
}

// A run with a number of passes ends when it would have on screen, with one
// wake-up at its end while hidden: the bomb is loaded and then given its one
// pass; a badge may be hidden in the middle of its run or of its build.
struct HiddenRun
{
    const char *name;
    std::function<void(ucAniGIF &, platform::ManualClock &)> start;
    std::int64_t endMs;
};

void PrintTo(const HiddenRun &run, std::ostream *os)
{
    *os << run.name;
}

class HiddenRunEnds : public AniGifTest, public ::testing::WithParamInterface<HiddenRun>
{
};

TEST_P(HiddenRunEnds, OnTime)
{
    QSignalSpy ended(&control, &ucAniGIF::LoopsEnded);
    GetParam().start(control, clock);
    ASSERT_FALSE(control.Visible());
    ASSERT_TRUE(control.timerRunning());
    EXPECT_EQ(control.timerDueMs(), GetParam().endMs);

    clock.set(GetParam().endMs - 1);
    EXPECT_FALSE(control.runDueTimer());
    EXPECT_EQ(control.CurrentFrame(), 3);
    EXPECT_EQ(control.LoopsRemaining(), 1);
    EXPECT_EQ(ended.count(), 0);

    clock.set(GetParam().endMs);
    EXPECT_TRUE(control.runDueTimer());
    EXPECT_EQ(ended.count(), 1);
    EXPECT_EQ(control.CurrentFrame(), 0);
    EXPECT_EQ(control.Action(), 0);
    EXPECT_FALSE(control.timerRunning());

    control.setVisible(true);
    EXPECT_EQ(ended.count(), 1);
    EXPECT_EQ(shown(), surface.palette().window().color());
}

INSTANTIATE_TEST_SUITE_P(
        AniGif, HiddenRunEnds,
        ::testing::Values(
                HiddenRun{"loadedHiddenThenOnePass",
                          [](ucAniGIF &c, platform::ManualClock &) {
                              c.setVisible(false);
                              c.LoadAnimatedGIF_Array(makeGif(3, QSize(100, 100), {100, 100, 100}));
                              c.setLoops(1);
                          },
                          1000 + 20 + 300},
                HiddenRun{"loadedHiddenThreePasses",
                          [](ucAniGIF &c, platform::ManualClock &) {
                              c.setVisible(false);
                              c.LoadAnimatedGIF_Array(
                                      makeGif(3, QSize(100, 100), {100, 100, 100}, 3));
                          },
                          1000 + 20 + 3 * 300},
                HiddenRun{"hiddenDuringTheRun",
                          [](ucAniGIF &c, platform::ManualClock &clock) {
                              c.setDelayAnimation(0);
                              c.LoadAnimatedGIF_Array(makeGif(3, QSize(100, 100), {100, 100, 100}));
                              c.setLoops(1);
                              clock.set(c.timerDueMs());
                              c.runDueTimer();
                              clock.advance(30);
                              c.setVisible(false);
                          },
                          1000 + 300},
                HiddenRun{"hiddenDuringTheBuild",
                          [](ucAniGIF &c, platform::ManualClock &clock) {
                              c.LoadAnimatedGIF_Array(makeGif(3, QSize(100, 100), {100, 100, 100}));
                              c.setLoops(1);
                              clock.advance(5);
                              c.setVisible(false);
                          },
                          1000 + 20 + 300}),
        [](const auto &param) { return std::string(param.param.name); });

TEST_F(AniGifTest, RunWhoseEndPassedWhileHiddenEndsOnShowing)
{
    QSignalSpy ended(&control, &ucAniGIF::LoopsEnded);
    control.setVisible(false);
    control.LoadAnimatedGIF_Array(makeGif(3, QSize(100, 100), {100, 100, 100}));
    control.setLoops(1);
    clock.advance(5000);
    EXPECT_EQ(ended.count(), 0);
    control.setVisible(true);
    EXPECT_EQ(ended.count(), 1);
    EXPECT_EQ(control.CurrentFrame(), 0);
    EXPECT_EQ(control.Action(), 0);
    EXPECT_FALSE(control.timerRunning());
    EXPECT_EQ(shown(), surface.palette().window().color());
}

TEST_F(AniGifTest, PausedWhileHiddenStaysAndPlaysOnShowing)
{
    control.setDelayAnimation(0);
    control.LoadAnimatedGIF_Array(makeGif(3, QSize(100, 100), {100, 100, 100}));
    control.setVisible(false);
    clock.set(1150);
    control.setAction(2);
    EXPECT_EQ(control.Action(), 2);
    EXPECT_EQ(control.CurrentFrame(), 2);
    clock.advance(1000);
    control.setVisible(true);
    EXPECT_EQ(control.Action(), 1);
    EXPECT_EQ(control.CurrentFrame(), 2);
    EXPECT_EQ(control.timerDueMs(), clock.nowMs() + 100);
}

TEST_F(AniGifTest, TwoControlsRunApart)
{
    ucAniGIF other(clock, &surface);
    other.Move(150, 0, 100, 100);
    control.setDelayAnimation(0);
    other.setDelayAnimation(0);
    control.LoadAnimatedGIF_Array(makeGif(3, QSize(100, 100), {100, 100, 100}));
    other.LoadAnimatedGIF_Array(makeGif(3, QSize(100, 100), {250, 250, 250}));
    clock.advance(100);
    EXPECT_TRUE(control.runDueTimer());
    EXPECT_FALSE(other.runDueTimer());
    EXPECT_EQ(control.CurrentFrame(), 2);
    EXPECT_EQ(other.CurrentFrame(), 1);
    clock.advance(150);
    EXPECT_TRUE(other.runDueTimer());
    EXPECT_EQ(other.CurrentFrame(), 2);
}

TEST_F(AniGifTest, DelayAnimationTwoBuildsButDoesNotPlay)
{
    control.setDelayAnimation(2);
    control.LoadAnimatedGIF_Array(makeGif(3, QSize(100, 100)));
    EXPECT_TRUE(tick());
    EXPECT_EQ(control.Action(), 0);
    EXPECT_FALSE(control.timerRunning());
    EXPECT_EQ(control.Mirrored(), 0);
    control.setVisible(false);
    control.setVisible(true);
    EXPECT_EQ(control.Action(), 1);
}

// Every operation that stops the timer while the frames after the first are
// still waiting for the build timer builds them first: stepping through the
// frames afterwards finds every one of them.
struct PendingOperation
{
    const char *name;
    std::function<void(ucAniGIF &)> apply;
};

void PrintTo(const PendingOperation &operation, std::ostream *os)
{
    *os << operation.name;
}

class PendingBuild : public AniGifTest, public ::testing::WithParamInterface<PendingOperation>
{
};

TEST_P(PendingBuild, OperationCompletesTheBuildFirst)
{
    control.LoadAnimatedGIF_Array(makeGif(4, QSize(100, 100)));
    ASSERT_EQ(control.Mirrored(), 32);
    GetParam().apply(control);
    EXPECT_LT(control.Mirrored(), 32);
    control.setVisible(true);
    for (int step = 0; step < 4; ++step) {
        control.setAction(3);
        const int frame = control.CurrentFrame();
        ASSERT_TRUE(control.AnimatedGIF().has_value()) << "frame " << frame << " was not built";
        EXPECT_EQ(shown(), kColours[(frame - 1) % 4]) << "frame " << frame;
    }
}

INSTANTIATE_TEST_SUITE_P(AniGif, PendingBuild,
                         ::testing::Values(PendingOperation{"pause",
                                                            [](ucAniGIF &c) {
                                                                c.setAction(2);
                                                            }},
                                           PendingOperation{"step",
                                                            [](ucAniGIF &c) {
                                                                c.setAction(3);
                                                            }},
                                           PendingOperation{"restart",
                                                            [](ucAniGIF &c) {
                                                                c.setAction(4);
                                                            }},
                                           PendingOperation{"hide",
                                                            [](ucAniGIF &c) {
                                                                c.setVisible(false);
                                                            }},
                                           PendingOperation{"stretch",
                                                            [](ucAniGIF &c) {
                                                                c.setStretch(2);
                                                            }},
                                           PendingOperation{"mirror",
                                                            [](ucAniGIF &c) {
                                                                c.setMirrored(1);
                                                            }}),
                         [](const auto &param) { return std::string(param.param.name); });

TEST_F(AniGifTest, PausedDuringTheBuildThenPlayedReachesEveryFrame)
{
    control.LoadAnimatedGIF_Array(makeGif(3, QSize(100, 100)));
    control.setAction(2);
    control.setAction(1);
    tick();
    EXPECT_EQ(control.CurrentFrame(), 2);
    EXPECT_EQ(shown(), kColours[1]);
    tick();
    EXPECT_EQ(shown(), kColours[2]);
}

TEST_F(AniGifTest, MirroringFlipsEveryFrame)
{
    control.setDelayAnimation(0);
    control.LoadAnimatedGIF_Array(makeGif(2, QSize(100, 100), {}, std::nullopt, true));
    EXPECT_EQ(shown(10, 50), kColours[0]);
    control.setMirrored(1);
    EXPECT_EQ(control.Mirrored(), 1);
    EXPECT_EQ(shown(10, 50), kColours[1]);
    EXPECT_EQ(control.Action(), 1);
    tick();
    EXPECT_EQ(shown(10, 50), kColours[2]);
    EXPECT_EQ(shown(90, 50), kColours[1]);
}

// Opaque frames that never give their area back are composed without a
// mask: where none has drawn yet the control shows black, not what lies
// under it.
TEST_F(AniGifTest, OpaqueAnimationShowsBlackWhereNoFrameHasDrawn)
{
    gif::GifFileData file{100, 100, kPalette, std::nullopt, {}};
    for (int k = 0; k < 2; ++k)
        file.images.push_back({50 * k,
                               50 * k,
                               50,
                               50,
                               std::vector<std::uint8_t>(2500, static_cast<std::uint8_t>(k)),
                               {},
                               0,
                               gif::DisposeNone,
                               std::nullopt});
    const std::vector<std::uint8_t> bytes = gif::EncodeGif(file);
    control.setDelayAnimation(0);
    ASSERT_TRUE(control.LoadAnimatedGIF_Array(QByteArray(
            reinterpret_cast<const char *>(bytes.data()), static_cast<qsizetype>(bytes.size()))));
    EXPECT_EQ(shown(10, 10), kColours[0]);
    EXPECT_EQ(shown(80, 80), QColor(Qt::black));
    tick();
    EXPECT_EQ(shown(80, 80), kColours[1]);
    EXPECT_EQ(shown(80, 10), QColor(Qt::black));
}

TEST_F(AniGifTest, MirrorStyleIsKeptForTheNextLoad)
{
    QSignalSpy notices(&control, &ucAniGIF::PropertyChanged);
    control.setMirrored(1);
    EXPECT_EQ(control.Mirrored(), 1);
    EXPECT_EQ(notices.count(), 1);
    control.setMirrored(7);
    EXPECT_EQ(control.Mirrored(), 1);
    control.LoadAnimatedGIF_Array(makeGif(1, QSize(100, 100), {}, std::nullopt, true));
    EXPECT_EQ(shown(10, 50), kColours[1]);
}

struct StretchCase
{
    int stretch;
    QSize gif;
    float scaleX, scaleY;
    QSize control;
};

void PrintTo(const StretchCase &c, std::ostream *os)
{
    *os << "stretch " << c.stretch << ", GIF " << c.gif.width() << "x" << c.gif.height();
}

class StretchModes : public AniGifTest, public ::testing::WithParamInterface<StretchCase>
{
};

TEST_P(StretchModes, ScaleAndControlSize)
{
    const StretchCase &c = GetParam();
    control.Move(0, 0, 300, 300);
    control.setStretch(c.stretch);
    control.LoadAnimatedGIF_Array(makeGif(1, c.gif));
    if (c.stretch == 0 || c.stretch == 2) {
        // These modes size the control only when they are chosen or when the
        // host resizes it, not after a load: resize it to its area.
        control.Move(0, 0, 299, 299);
        control.Move(0, 0, 300, 300);
    }
    EXPECT_FLOAT_EQ(control.scaleX(), c.scaleX);
    EXPECT_FLOAT_EQ(control.scaleY(), c.scaleY);
    EXPECT_EQ(control.Width(), c.control.width());
    EXPECT_EQ(control.Height(), c.control.height());
}

INSTANTIATE_TEST_SUITE_P(AniGif, StretchModes,
                         ::testing::Values(StretchCase{0, {100, 50}, 1, 1, {100, 50}},
                                           StretchCase{1, {100, 50}, 3, 3, {300, 150}},
                                           StretchCase{2, {100, 50}, 3, 6, {300, 300}},
                                           StretchCase{3, {100, 50}, 1, 1, {100, 50}},
                                           StretchCase{4, {100, 50}, 1, 1, {100, 50}},
                                           StretchCase{0, {400, 200}, 1, 1, {300, 200}},
                                           StretchCase{1, {400, 200}, 0.75f, 0.75f, {300, 150}},
                                           StretchCase{2, {400, 200}, 0.75f, 1.5f, {300, 300}},
                                           StretchCase{3, {400, 200}, 0.75f, 0.75f, {300, 150}}),
                         [](const auto &param) { return std::to_string(param.index); });

TEST_F(AniGifTest, StretchChangeKeepsASingleFrameOnShow)
{
    control.LoadAnimatedGIF_Array(makeGif(1, QSize(50, 50)));
    control.setStretch(4);
    EXPECT_EQ(control.Width(), 50);
    control.setStretch(0);
    EXPECT_EQ(control.CurrentFrame(), 1);
    EXPECT_EQ(shown(), kColours[0]);
}

TEST_F(AniGifTest, SettersIgnoreValuesOutOfRange)
{
    QSignalSpy notices(&control, &ucAniGIF::PropertyChanged);
    control.setMinFrameDelay(5);
    EXPECT_EQ(control.MinFrameDelay(), 10);
    control.setMinFrameDelay(40000);
    EXPECT_EQ(control.MinFrameDelay(), 32700);
    control.setMinFrameDelay(32700);
    EXPECT_EQ(notices.count(), 2);

    control.setStretch(5);
    control.setStretch(-1);
    control.setStretch(1);
    EXPECT_EQ(control.Stretch(), 1);
    control.setDelayAnimation(4);
    EXPECT_EQ(control.DelayAnimation(), 1);
    EXPECT_EQ(notices.count(), 2);
    EXPECT_EQ(notices[0][0].toString(), QStringLiteral("Delay"));
}

TEST_F(AniGifTest, NegativeLoopCountBecomesItsSize)
{
    control.setDelayAnimation(0);
    control.LoadAnimatedGIF_Array(makeGif(2, QSize(100, 100), {}, 3));
    QSignalSpy notices(&control, &ucAniGIF::PropertyChanged);
    control.setLoops(-3);
    EXPECT_EQ(control.loops(), 3);
    EXPECT_EQ(notices.count(), 1);
    control.setLoops(3);
    EXPECT_EQ(notices.count(), 1);
}

TEST_F(AniGifTest, AnimatedGifHandsOutTheFrameOnShow)
{
    EXPECT_FALSE(control.AnimatedGIF().has_value());
    control.setDelayAnimation(0);
    control.LoadAnimatedGIF_Array(makeGif(3, QSize(100, 100)));
    tick();
    const std::optional<QByteArray> picture = control.AnimatedGIF();
    ASSERT_TRUE(picture.has_value());
    EXPECT_TRUE(picture->startsWith("GIF89a"));
    const QImage frame = QImage::fromData(*picture, "GIF");
    ASSERT_FALSE(frame.isNull());
    EXPECT_EQ(frame.pixelColor(5, 5), kColours[1]);

    // Setting it to that picture loads it; setting nothing empties the
    // control.
    control.setAnimatedGIF(picture);
    EXPECT_EQ(control.FrameCount(), 1);
    control.setAnimatedGIF(std::nullopt);
    EXPECT_EQ(control.CurrentFrame(), 0);
    EXPECT_FALSE(control.AnimatedGIF().has_value());
}

TEST_F(AniGifTest, FailedLoadsLeaveTheControlEmpty)
{
    control.LoadAnimatedGIF_Array(makeGif(3, QSize(100, 100)));
    EXPECT_FALSE(control.LoadAnimatedGIF_Array(QByteArrayLiteral("GIF88a not a picture")));
    EXPECT_EQ(control.CurrentFrame(), 0);
    EXPECT_EQ(control.FrameCount(), 0);
    EXPECT_FALSE(control.timerRunning());

    control.LoadAnimatedGIF_Array(makeGif(3, QSize(100, 100)));
    EXPECT_FALSE(control.LoadAnimatedGIF_Array(QByteArray()));
    EXPECT_EQ(control.CurrentFrame(), 0);

    EXPECT_FALSE(control.LoadAnimatedGIF_File(QStringLiteral("/no/such/file.gif")));
    EXPECT_EQ(control.CurrentFrame(), 0);
}

TEST_F(AniGifTest, LoadsFromAFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("clock.gif"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(makeGif(2, QSize(40, 30)));
    file.close();
    control.setStretch(4);
    EXPECT_TRUE(control.LoadAnimatedGIF_File(path));
    EXPECT_EQ(control.Width(), 40);
    EXPECT_EQ(control.Height(), 30);
    EXPECT_EQ(control.ActualWidth(), 40);
}

TEST_F(AniGifTest, PaintWithNothingLoadedReportsFrameZero)
{
    QSignalSpy over(&control, &ucAniGIF::reportOver);
    shown();
    ASSERT_EQ(over.count(), 1);
    EXPECT_EQ(over[0][0].toInt(), 0);
}

TEST_F(AniGifTest, MousePositionsAreWholeUnits)
{
    QSignalSpy downs(&control, &forms::Element::MouseDown);
    control.Move(10.5, 10.5, 100, 100);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(40.9, 30.2), QPointF(40.9, 30.2),
                      Qt::RightButton, Qt::RightButton, {});
    QApplication::sendEvent(&surface, &press);
    ASSERT_EQ(downs.count(), 1);
    EXPECT_EQ(downs[0][0].toInt(), forms::mouse::kRight);
    EXPECT_EQ(downs[0][2].toDouble(), 30.0);
    EXPECT_EQ(downs[0][3].toDouble(), 19.0);
}

TEST_F(AniGifTest, PropertiesRoundTripThroughTheStore)
{
    control.setMinFrameDelay(80);
    control.setStretch(4);
    control.setDelayAnimation(0);
    PropertyBag bag;
    control.WriteProperties(bag);
    EXPECT_FALSE(bag.contents().contains(QStringLiteral("Mirror")));
    EXPECT_FALSE(bag.contents().contains(QStringLiteral("Enabled")));
    EXPECT_TRUE(bag.contents().contains(QStringLiteral("GIF")));
    bag.WriteProperty(QStringLiteral("GIF"), makeGif(2, QSize(20, 20), {}, 5));
    bag.WriteProperty(QStringLiteral("Loops"), 7, 0);

    ucAniGIF restored(clock, &surface);
    restored.ReadProperties(bag);
    EXPECT_EQ(restored.MinFrameDelay(), 80);
    EXPECT_EQ(restored.Stretch(), 4);
    EXPECT_EQ(restored.DelayAnimation(), 0);
    EXPECT_EQ(restored.FrameCount(), 2);
    EXPECT_EQ(restored.loops(), 7);
}

TEST_F(AniGifTest, StoredDelayLoadOfMinusOneReadsAsOne)
{
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("DelayLoad"), -1);
    control.ReadProperties(bag);
    EXPECT_EQ(control.DelayAnimation(), 1);
}

class RemoteLoad : public AniGifTest
{
protected:
    QString fileUrl(const QByteArray &bytes)
    {
        const QString path = dir.filePath(QStringLiteral("remote%1.gif").arg(files++));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return QUrl::fromLocalFile(path).toString();
    }
    QTemporaryDir dir;
    int files = 0;
};

TEST_F(RemoteLoad, TooShortIsAFailure)
{
    QSignalSpy failures(&control, &ucAniGIF::RemoteLoadFailure);
    control.LoadAnimatedGIF_Remote(fileUrl(QByteArray(14, 'G')));
    ASSERT_TRUE(failures.wait(5000));
    EXPECT_EQ(control.CurrentFrame(), 0);
}

TEST_F(RemoteLoad, MissingAddressIsAFailure)
{
    QSignalSpy failures(&control, &ucAniGIF::RemoteLoadFailure);
    control.LoadAnimatedGIF_Remote(
            QUrl::fromLocalFile(dir.filePath(QStringLiteral("none.gif"))).toString());
    ASSERT_TRUE(failures.wait(5000));
}

TEST_F(RemoteLoad, CapitalSignatureIsAcceptedAndTheSizeReported)
{
    QByteArray gif = makeGif(2, QSize(40, 30));
    gif.replace(0, 6, "GIF89A");
    QSizeF reported;
    QObject::connect(&control, &ucAniGIF::RemoteLoadComplete,
                     [&reported](float w, float h, bool &) { reported = QSizeF(w, h); });
    control.setStretch(4);
    control.LoadAnimatedGIF_Remote(fileUrl(gif));
    ASSERT_TRUE(QTest::qWaitFor([&] { return control.FrameCount() == 2; }, 5000));
    EXPECT_EQ(reported, QSizeF(40, 30));
    EXPECT_EQ(control.Width(), 40);
}

TEST_F(RemoteLoad, CancelStopsTheLoad)
{
    QSignalSpy failures(&control, &ucAniGIF::RemoteLoadFailure);
    bool asked = false;
    QObject::connect(&control, &ucAniGIF::RemoteLoadComplete, [&asked](float, float, bool &cancel) {
        asked = true;
        cancel = true;
    });
    control.LoadAnimatedGIF_Remote(fileUrl(makeGif(2, QSize(40, 30))));
    ASSERT_TRUE(QTest::qWaitFor([&] { return asked; }, 5000));
    EXPECT_EQ(control.CurrentFrame(), 0);
    EXPECT_EQ(failures.count(), 0);
}

TEST_F(RemoteLoad, EmptyAddressDoesNothing)
{
    QSignalSpy failures(&control, &ucAniGIF::RemoteLoadFailure);
    control.LoadAnimatedGIF_Remote(QString());
    EXPECT_EQ(failures.count(), 0);
}

// The report of the last frame comes inside the tick that shows it; what its
// handler does to the control holds after the tick: a hidden control keeps
// playing in time without a timer, a stopped one shows nothing, and a newly
// loaded animation builds its frames before it plays.
struct LastFrameHandler
{
    const char *name;
    std::function<void(ucAniGIF &)> onReport;
    std::function<void(ucAniGIF &, platform::ManualClock &)> expect;
};

void PrintTo(const LastFrameHandler &handler, std::ostream *os)
{
    *os << handler.name;
}

class HandlerOfTheLastFrame : public AniGifTest,
                              public ::testing::WithParamInterface<LastFrameHandler>
{
};

TEST_P(HandlerOfTheLastFrame, ItsChangeOutlastsTheTick)
{
    control.setDelayAnimation(0);
    control.LoadAnimatedGIF_Array(makeGif(3, QSize(100, 100), {100, 100, 100}));
    bool reported = false;
    QObject::connect(&control, &ucAniGIF::reportOver, [&](std::int32_t frame) {
        if (frame == 3 && !reported) {
            reported = true;
            GetParam().onReport(control);
        }
    });
    tick();
    tick();
    ASSERT_TRUE(reported);
    GetParam().expect(control, clock);
}

INSTANTIATE_TEST_SUITE_P(
        AniGif, HandlerOfTheLastFrame,
        ::testing::Values(LastFrameHandler{"hide", [](ucAniGIF &c) { c.setVisible(false); },
                                           [](ucAniGIF &c, platform::ManualClock &) {
                                               EXPECT_EQ(c.Action(), 1);
                                               EXPECT_FALSE(c.timerRunning());
                                           }},
                          LastFrameHandler{"stop", [](ucAniGIF &c) { c.setAction(0); },
                                           [](ucAniGIF &c, platform::ManualClock &) {
                                               EXPECT_EQ(c.Action(), 0);
                                               EXPECT_EQ(c.CurrentFrame(), 0);
                                               EXPECT_FALSE(c.timerRunning());
                                           }},
                          LastFrameHandler{"load",
                                           [](ucAniGIF &c) {
                                               c.setDelayAnimation(1);
                                               c.LoadAnimatedGIF_Array(makeGif(4, QSize(100, 100)));
                                           },
                                           [](ucAniGIF &c, platform::ManualClock &clock) {
                                               EXPECT_EQ(c.CurrentFrame(), 1);
                                               ASSERT_EQ(c.Mirrored(), 32)
                                                       << "the build is pending";
                                               EXPECT_EQ(c.timerDueMs(), clock.nowMs() + 20);
                                               clock.set(c.timerDueMs());
                                               EXPECT_TRUE(c.runDueTimer());
                                               EXPECT_EQ(c.Mirrored(), 0);
                                               for (int frame = 2; frame <= 4; ++frame) {
                                                   c.setAction(3);
                                                   EXPECT_TRUE(c.AnimatedGIF().has_value())
                                                           << frame;
                                               }
                                           }}),
        [](const auto &param) { return std::string(param.param.name); });
