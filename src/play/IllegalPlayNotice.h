#pragma once

#include "forms/PopupWindow.h"
#include "play/ClockTimer.h"

#include <QImage>

#include <cstdint>
#include <memory>
#include <vector>

namespace tessaroc::play {

// The notice window ChuPai: "出牌非法", a 178 x 63 picture that says the play
// does not follow the rules. No frame, not translucent, not dragged.
class ChuPaiWindow final : public forms::PopupWindow
{
    Q_OBJECT

public:
    static constexpr int kWidth = 178;
    static constexpr int kHeight = 63;

    explicit ChuPaiWindow(QWidget *parent = nullptr);

    // Cross-fades the screen under the window over the window: the screen's
    // rectangle at the window's place, 5 pixels larger each way, is taken
    // twice (Picture1, then picCopy), and 20 frames going from the first to
    // the second are drawn over the window one after the other, without a
    // pause. The last frame stays over the window's picture until the window
    // is hidden; a hidden window has nothing to draw on. Nothing in the table
    // calls it.
    void FadeInOverScreen();

protected:
    void paintEvent(QPaintEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QImage fadeFrame_;
};

// The illegal-play notice as the table uses it: created when first shown and
// destroyed by its life timer 1500 ms after it was created (showing it again
// does not restart the timer); the action buttons and F1 in the chat box
// hide it, F1 over the table and the shutdown destroy it.
class IllegalPlayNotice
{
public:
    static constexpr std::int64_t kLifeMs = 1500;

    explicit IllegalPlayNotice(const platform::Clock &clock);
    ~IllegalPlayNotice();

    // Centres the notice on a window given in twips, shows it and, when
    // asked, brings it to the front.
    void Show(double left, double top, double width, double height, bool toFront);
    void Hide();
    void Unload();
    bool Loaded() const { return window_ != nullptr; }
    bool Visible() const;
    ChuPaiWindow *window() const { return window_.get(); }
    // The life timer (Timer1).
    ClockTimer &Timer1() { return timer_; }

private:
    std::unique_ptr<ChuPaiWindow> window_;
    ClockTimer timer_;
};

// Splits a colour reference 0x00BBGGRR into its red, green and blue bytes;
// always 0.
std::int32_t SplitRGB(std::int32_t colour, std::int32_t &red, std::int32_t &green,
                      std::int32_t &blue);

// A frame of the cross-fade as the fade writes it: 24-bit rows stored
// bottom-up, each pixel blue, green, red, each row padded to a multiple of
// four bytes, and one byte more at the end.
struct FadeBitmap
{
    FadeBitmap(int cx, int cy);

    int cx;
    int cy;
    int stride; // bytes of one row: 3 x cx rounded up to a multiple of 4
    std::vector<std::uint8_t> bits; // stride x cy + 1

    // The frame as it is drawn, top row first.
    QImage image() const;
};

// The colour components of the fade's two pictures, split with SplitRGB
// once before the frames: Picture1, which fades out, and picCopy, which fades
// in. A picture smaller than cx x cy counts black where it has no pixel.
class FadeComponents
{
public:
    FadeComponents(const QImage &picture1, const QImage &picCopy, int cx, int cy);

    // One frame of weight t: each component t of Picture1's and 1 - t of
    // picCopy's, rounded to a byte (a half to the even neighbour).
    void drawFrame(double t, FadeBitmap &bitmap) const;

private:
    int cx_;
    int cy_;
    // Per pixel (x, y), per channel (red, green, blue), per source
    // (Picture1, picCopy).
    std::vector<std::int32_t> table_;

    std::int32_t &entry(int x, int y, int channel, int source);
    std::int32_t entry(int x, int y, int channel, int source) const;
};

// The weights of the fade's frames, from 1.0 down by 0.05 while not below 0:
// twenty frames, the last of a weight just above 0, since the steps add up
// to a little less than 1.
std::vector<double> FadeWeights();

} // namespace tessaroc::play
