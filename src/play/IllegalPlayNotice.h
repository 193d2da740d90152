#pragma once

#include "forms/PopupWindow.h"
#include "play/ClockTimer.h"

#include <cstdint>
#include <memory>

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

} // namespace tessaroc::play
