#include "gif/GifAnimation.h"

#include "gif/GifEncoder.h"

#include <algorithm>
#include <new>

namespace tessaroc::gif {

namespace {

const GifFrame kNoFrame{};
const ColorTable kNoTable{};

std::size_t area(const GifFrame &frame)
{
    return static_cast<std::size_t>(frame.width) * static_cast<std::size_t>(frame.height);
}

// Copies `rows` rows of `width` values, flipped as the mirror style says.
template<typename T>
void copyMirrored(const T *src, T *dst, std::size_t width, std::size_t rows, int style)
{
    const bool flipX = (style & 1) != 0;
    const bool flipY = (style & 2) != 0;
    for (std::size_t y = 0; y < rows; ++y) {
        const T *from = src + (flipY ? rows - 1 - y : y) * width;
        T *to = dst + y * width;
        if (flipX)
            std::reverse_copy(from, from + width, to);
        else
            std::copy_n(from, width, to);
    }
}

} // namespace

bool LoadableGif(const ParsedGif &gif)
{
    const std::int64_t screen = std::int64_t{gif.ScreenWidth} * gif.ScreenHeight;
    if (gif.Frames.empty() || screen > kMaxCanvasPixels)
        return false;
    std::int64_t total = 0;
    std::int64_t widths = 0;
    std::int32_t tallest = 0;
    for (const GifFrame &frame : gif.Frames) {
        total += static_cast<std::int64_t>(area(frame));
        widths += frame.width;
        tallest = std::max(tallest, frame.height);
    }
    if (total > kMaxFramePixels)
        return false;
    // Frames that hold no pixel at all leave nothing to show.
    return gif.Frames.size() == 1 ? area(gif.Frames[0]) != 0 : widths != 0 && tallest != 0;
}

// An animation with no transparent frame whose frames never give an area
// back (no disposal 2 or 3) is composed without a mask: where no frame has
// drawn yet it shows black, not what lies under the control. Only a first
// frame smaller than the screen leaves such places. A single picture is not
// composed at all and shows nothing around its image.
GifComposer::Backdrop BackdropOf(const ParsedGif &gif)
{
    const std::vector<GifFrame> &frames = gif.Frames;
    if (frames.size() < 2)
        return GifComposer::Backdrop::None;
    const GifFrame &first = frames.front();
    const bool coversTheScreen = first.width == gif.ScreenWidth && first.height == gif.ScreenHeight;
    const bool masked = std::any_of(frames.begin(), frames.end(), [](const GifFrame &f) {
        return f.transparent || f.disposal == DisposeToBackground
                || f.disposal == DisposeToPrevious;
    });
    return masked || coversTheScreen ? GifComposer::Backdrop::None : GifComposer::Backdrop::Black;
}

int GifAnimation::LoadGifArray(std::span<const std::uint8_t> gifBytes)
{
    clear();
    if (gifBytes.empty())
        return 0;
    try {
        if (ParseGif(gifBytes, gif_) == 0 || !allocate()) {
            clear();
            return 0;
        }
        buildFrame(gifBytes, 1);
        if (buildPending())
            gifBytes_.assign(gifBytes.begin(), gifBytes.end());
    } catch (const std::bad_alloc &) {
        FreeFrames();
        return 0;
    }
    return ParsedFrameCount();
}

bool GifAnimation::allocate()
{
    if (!LoadableGif(gif_))
        return false;
    std::size_t total = 0;
    pixelOffsets_.clear();
    pixelOffsets_.reserve(gif_.Frames.size());
    for (const GifFrame &frame : gif_.Frames) {
        pixelOffsets_.push_back(total);
        total += area(frame);
    }
    const std::size_t room = total + LzwDecoder::kSlack;
    if (room > pixelRoom_) {
        pixels_.reset();
        pixelRoom_ = 0;
        pixels_ = std::make_unique_for_overwrite<std::uint8_t[]>(room);
        pixelRoom_ = room;
    }
    composer_.reset(gif_.ScreenWidth, gif_.ScreenHeight, BackdropOf(gif_));
    return true;
}

void GifAnimation::buildFrame(std::span<const std::uint8_t> file, int n)
{
    const auto index = static_cast<std::size_t>(n - 1);
    const GifFrame &frame = gif_.Frames[index];
    BuildSingleImageGif(file, frame, gif_.ImageSpans[index], singleImageGif_);
    loader_.load(singleImageGif_, frame.width, frame.height, pixels_.get() + pixelOffset(n));
    built_ = n;
}

void GifAnimation::BuildFrames()
{
    if (!buildPending())
        return;
    for (int n = built_ + 1; n <= ParsedFrameCount(); ++n)
        buildFrame(gifBytes_, n);
    gifBytes_.clear();
}

void GifAnimation::clear()
{
    gifBytes_.clear();
    gif_.clear();
    built_ = 0;
    pixelOffsets_.clear();
    composed_ = 0;
    changed_ = {};
}

void GifAnimation::FreeFrames()
{
    clear();
    gifBytes_ = {};
    gif_ = ParsedGif{};
    pixels_.reset();
    pixelRoom_ = 0;
    pixelOffsets_ = {};
    singleImageGif_ = {};
    composer_ = GifComposer{};
}

const GifFrame &GifAnimation::frame(int n) const
{
    if (n < 1 || n > ParsedFrameCount())
        return kNoFrame;
    return gif_.Frames[static_cast<std::size_t>(n - 1)];
}

const ColorTable &GifAnimation::colorTable(int n) const
{
    if (n < 1 || n > ParsedFrameCount())
        return kNoTable;
    return gif_.ColorTables[static_cast<std::size_t>(frame(n).TableIndex)];
}

std::span<const std::uint8_t> GifAnimation::framePixels(int n) const
{
    if (!valid(n))
        return {};
    return {framePixelData(n), area(frame(n))};
}

void GifAnimation::setMirrored(int style)
{
    if (style < 0 || style > 3 || style == mirrored_)
        return;
    mirrored_ = style;
    // The composer draws in the mirror style: the picture is composed anew.
    composer_.setMirror(style);
    composed_ = 0;
}

void GifAnimation::drawFrame(int n)
{
    composer_.draw(frame(n), framePixelData(n), colorTable(n));
}

std::span<const std::uint32_t> GifAnimation::ComposeFrame(int n)
{
    if (!valid(n))
        return {};
    if (n != composed_) {
        int from = 1;
        if (composed_ != 0 && n == composed_ + 1) {
            composer_.dispose(frame(composed_));
            from = n;
        } else {
            composer_.clearFor(frame(1));
        }
        for (int k = from; k <= n; ++k) {
            if (k > from)
                composer_.dispose(frame(k - 1));
            drawFrame(k);
        }
        composed_ = n;
    }
    changed_ = composer_.takeChanged();
    return composer_.canvas();
}

std::vector<std::uint8_t> GifAnimation::FrameToPicture(int n) const
{
    if (!valid(n))
        return {};
    const GifFrame &f = frame(n);
    const std::optional<std::uint8_t> transparent
            = f.transparent ? std::optional<std::uint8_t>(f.TransparentIndex) : std::nullopt;
    const auto pixels = framePixels(n);
    if (mirrored_ == 0)
        return EncodeFrameGif(pixels, f.width, f.height, colorTable(n), transparent);
    std::vector<std::uint8_t> flipped(pixels.size());
    copyMirrored(pixels.data(), flipped.data(), static_cast<std::size_t>(f.width),
                 static_cast<std::size_t>(f.height), mirrored_);
    return EncodeFrameGif(flipped, f.width, f.height, colorTable(n), transparent);
}

} // namespace tessaroc::gif
