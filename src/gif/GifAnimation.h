#pragma once

#include "gif/GifComposer.h"
#include "gif/GifParser.h"
#include "gif/GifSingleImage.h"
#include "gif/GifTypes.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace tessaroc::gif {

// Whether a parsed file is one that a load takes: within the bounds of
// GifTypes.h, with pixels to show.
bool LoadableGif(const ParsedGif &gif);
// What shows where a parsed file's composed picture is transparent (see
// GifAnimation::backdrop).
GifComposer::Backdrop BackdropOf(const ParsedGif &gif);

// The model half of the animated GIF control: bytes in; frames, display times,
// disposal, the loop count and composed pictures out. It has no widget and no
// timer: the control decides when frames are built and which frame is shown.
//
// Frames are numbered from 1, as the control's CurrentFrame counts them (0
// there means no frame on show).
//
// Loading is two steps, so that a control can show the first frame before the
// others are decoded: LoadGifArray parses the file and builds frame 1;
// BuildFrames builds the rest (at once, or on the control's build timer, as
// its DelayAnimation says; a control in a form designer never calls it).
// Each frame is decoded once, when it is built; drawing never decodes.
class GifAnimation
{
public:
    // The common load: lets go of what was held, parses `gifBytes` and builds
    // frame 1. The buffers of the last load are reused, so a control that
    // loads picture after picture of about the same size allocates nothing;
    // `gifBytes` is read in place and copied only when frames are left to
    // build later. Returns the number of frames found, or 0 when the bytes are no
    // usable GIF or pass one of the bounds of GifTypes.h; the model is then
    // empty. A frame whose image data cannot be decoded stays blank (colour
    // index 0) without failing the load.
    int LoadGifArray(std::span<const std::uint8_t> gifBytes);
    // Builds frames 2 to n, if any are still to build, and lets the file go.
    void BuildFrames();
    // Releases everything: no frames, no file, and the memory given back.
    void FreeFrames();

    // Frames found by the last load (0 when empty).
    int ParsedFrameCount() const { return static_cast<int>(gif_.Frames.size()); }
    // Frames built so far: 1 after the load, all after BuildFrames.
    int BuiltFrameCount() const { return built_; }
    bool buildPending() const { return built_ < ParsedFrameCount(); }

    std::int32_t ScreenWidth() const { return gif_.ScreenWidth; }
    std::int32_t ScreenHeight() const { return gif_.ScreenHeight; }
    std::int32_t Loops() const { return gif_.Loops; }

    // Frame n, 1 to ParsedFrameCount(): position, size, display time in
    // milliseconds, disposal, transparency and colour table number.
    const GifFrame &frame(int n) const;
    // Frame n's colour table.
    const ColorTable &colorTable(int n) const;
    // Frame n's colour indexes, width * height, row by row from the top, as in
    // the file (not mirrored). Empty while frame n is not built.
    std::span<const std::uint8_t> framePixels(int n) const;

    // Mirror style: bit 0 flips left to right, bit 1 top to bottom. It applies
    // to every picture handed out from then on.
    void setMirrored(int style);
    int mirrored() const { return mirrored_; }

    // The composed picture with frame n (1 to BuiltFrameCount()) on show,
    // ScreenWidth() x ScreenHeight() premultiplied ARGB pixels (see
    // GifComposer), in the mirror style, to be shown over backdrop(). Frame 1
    // starts from a transparent picture; every later frame is drawn over what
    // the frames before it left, after the disposal of the one before.
    // Showing the frame after the last one shown costs one frame; any other
    // jump recomposes from frame 1. Empty for a frame that does not exist or
    // is not built. The span stays valid until the next call that changes
    // the model.
    //
    // The work follows the frames' areas, not the screen's: the next frame
    // costs its own area and its predecessor's disposal, and a jump costs the
    // frames it replays. The picture is composed in the mirror style rather
    // than copied into it.
    std::span<const std::uint32_t> ComposeFrame(int n);
    // What shows where the composed picture is transparent: black for an
    // animation whose frames are all opaque and never give an area back,
    // else nothing.
    GifComposer::Backdrop backdrop() const { return composer_.backdrop(); }
    // The rectangle of the picture that the last ComposeFrame may have
    // changed since the one before it (in the mirror style's places); empty
    // when it changed nothing.
    GifComposer::Rect changedArea() const { return changed_; }

    // Frame n on its own as a single-image GIF (EncodeFrameGif), in the mirror
    // style. Empty for a frame that does not exist or is not built.
    std::vector<std::uint8_t> FrameToPicture(int n) const;

private:
    // Empties the model and keeps its buffers.
    void clear();
    bool allocate();
    void buildFrame(std::span<const std::uint8_t> file, int n);
    bool valid(int n) const { return n >= 1 && n <= built_; }
    std::size_t pixelOffset(int n) const { return pixelOffsets_[static_cast<std::size_t>(n - 1)]; }
    const std::uint8_t *framePixelData(int n) const { return pixels_.get() + pixelOffset(n); }
    void drawFrame(int n);

    // The file, kept while frames are left to build.
    std::vector<std::uint8_t> gifBytes_;
    ParsedGif gif_;
    int built_ = 0;
    // Every frame's colour indexes, one after the other, with room for the
    // decoder to write past the last. Left uninitialised: every frame is
    // written whole when it is built, and only built frames are read.
    std::unique_ptr<std::uint8_t[]> pixels_;
    std::size_t pixelRoom_ = 0;
    std::vector<std::size_t> pixelOffsets_;
    std::vector<std::uint8_t> singleImageGif_;
    GifPictureLoader loader_;

    GifComposer composer_;
    int composed_ = 0; // the frame on the canvas, 0 for none
    int mirrored_ = 0;
    GifComposer::Rect changed_;
};

} // namespace tessaroc::gif
