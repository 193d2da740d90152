#include "gif/GifAnimation.h"
#include "gif/GifEncoder.h"
#include "gif/GifFirstPicture.h"
#include "gif/GifParser.h"

#include "GifBombs.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <fstream>
#include <string>

namespace tessaroc::gif {
namespace {

// A field of /proc/self/status in kilobytes ("VmRSS", "VmHWM"); -1 when the
// system does not report it.
std::int64_t statusKb(const std::string &field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field + ':', 0) == 0)
            return std::stoll(line.substr(field.size() + 1));
    }
    return -1;
}

// Starts the peak of the resident memory afresh; false where the system
// cannot.
bool resetPeakMemory()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return clear.good();
}

std::int64_t area(std::int64_t width, std::int64_t height)
{
    return std::max<std::int64_t>(width, 0) * std::max<std::int64_t>(height, 0);
}

std::chrono::nanoseconds threadCpuTime()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

} // namespace

// Each bomb loads, builds and plays one pass in bounded time, and holds no
// more memory than its frames and the part of the screen they cover: a large
// screen that tiny frames leave empty costs next to nothing. The bounds are
// generous; they catch work or memory that grows with the screen rather than
// with what the frames draw.
TEST(GifBombs, LoadAndOnePassStayWithinTimeAndMemory)
{
    const bool peakKnown = resetPeakMemory() && statusKb("VmHWM") > 0;
    for (const testing::GifBomb &bomb : testing::gifBombs()) {
        SCOPED_TRACE(bomb.name);
        const std::vector<std::uint8_t> bytes = EncodeGif(bomb.file);
        std::int64_t framePixels = 0;
        std::int64_t drawnPixels = 0;
        for (const GifImageData &image : bomb.file.images) {
            framePixels += area(image.width, image.height);
            drawnPixels += area(std::min(image.left + image.width, bomb.file.screenWidth)
                                        - std::min(image.left, bomb.file.screenWidth),
                                std::min(image.top + image.height, bomb.file.screenHeight)
                                        - std::min(image.top, bomb.file.screenHeight));
        }
        drawnPixels = std::min(drawnPixels, area(bomb.file.screenWidth, bomb.file.screenHeight));
        const std::int64_t budgetKb = (2 * framePixels + 4 * drawnPixels) / 1024 + 48 * 1024;

        resetPeakMemory();
        const std::int64_t before = statusKb("VmRSS");
        // The thread's own processor time: the bound is on the work, which a
        // loaded machine does not change.
        const auto start = threadCpuTime();
        {
            GifAnimation anim;
            const int frames = anim.LoadGifArray(bytes);
            ASSERT_EQ(frames, static_cast<int>(bomb.file.images.size()));
            anim.BuildFrames();
            for (int n = 1; n <= frames; ++n)
                ASSERT_FALSE(anim.ComposeFrame(n).empty());
            anim.ComposeFrame(1);
            if (!peakKnown) {
                EXPECT_LT(statusKb("VmRSS") - before, budgetKb);
            }
        }
        const auto took = threadCpuTime() - start;
        EXPECT_LT(took, std::chrono::seconds(5)) << bytes.size() << " bytes";
        if (peakKnown) {
            EXPECT_LT(statusKb("VmHWM") - before, budgetKb)
                    << "budget " << budgetKb / 1024 << " MB, " << bytes.size() << " bytes";
        }
    }
}

// The still a picture store makes of each bomb is the screen's own memory
// and the first frame's, no more, in bounded time.
TEST(GifBombs, FirstPictureStaysWithinTimeAndItsOwnMemory)
{
    const bool peakKnown = resetPeakMemory() && statusKb("VmHWM") > 0;
    for (const testing::GifBomb &bomb : testing::gifBombs()) {
        SCOPED_TRACE(bomb.name);
        const std::vector<std::uint8_t> bytes = EncodeGif(bomb.file);
        ParsedGif parsed;
        ASSERT_GT(ParseGif(bytes, parsed), 0);
        const GifFrame &first = parsed.Frames.front();
        const std::int64_t budgetKb = (4 * area(parsed.ScreenWidth, parsed.ScreenHeight)
                                       + area(first.width, first.height))
                        / 1024
                + 48 * 1024;

        resetPeakMemory();
        const std::int64_t before = statusKb("VmRSS");
        const auto start = threadCpuTime();
        {
            const FirstPicture picture = DecodeFirstPicture(bytes);
            ASSERT_TRUE(picture.pixels);
            EXPECT_EQ(picture.width, parsed.ScreenWidth);
            if (!peakKnown) {
                EXPECT_LT(statusKb("VmRSS") - before, budgetKb);
            }
        }
        EXPECT_LT(threadCpuTime() - start, std::chrono::seconds(5));
        if (peakKnown) {
            EXPECT_LT(statusKb("VmHWM") - before, budgetKb)
                    << "budget " << budgetKb / 1024 << " MB";
        }
    }
}

} // namespace tessaroc::gif
