#include "play/IllegalPlayNotice.h"

#include "forms/Units.h"
#include "support/PictureStore.h"

namespace tessaroc::play {

ChuPaiWindow::ChuPaiWindow(QWidget *parent)
    : forms::PopupWindow(Options{false, false}, parent)
{
    setObjectName(QStringLiteral("ChuPai"));
    setWindowTitle(QStringLiteral("出牌非法"));
    setWindowFlag(Qt::WindowDoesNotAcceptFocus, true);
    setAttribute(Qt::WA_ShowWithoutActivating, true);
    setPicture(support::PictureStore::designPicture(u"illegal_play"), 0);
    setFixedSize(kWidth, kHeight);
}

IllegalPlayNotice::IllegalPlayNotice(const platform::Clock &clock)
    : timer_(clock, kLifeMs, [this] { Unload(); })
{ }

IllegalPlayNotice::~IllegalPlayNotice() = default;

void IllegalPlayNotice::Show(double left, double top, double width, double height, bool toFront)
{
    if (!window_) {
        window_ = std::make_unique<ChuPaiWindow>();
        // Form_Load: the life timer starts with the window.
        timer_.start();
    }
    const double noticeWidth = forms::pixelsToTwips(ChuPaiWindow::kWidth);
    const double noticeHeight = forms::pixelsToTwips(ChuPaiWindow::kHeight);
    window_->MoveTwips((width - noticeWidth) / 2 + left, (height - noticeHeight) / 2 + top);
    window_->show();
    if (toFront)
        window_->raise();
}

void IllegalPlayNotice::Hide()
{
    if (window_)
        window_->hide();
}

void IllegalPlayNotice::Unload()
{
    timer_.stop();
    window_.reset();
}

bool IllegalPlayNotice::Visible() const
{
    return window_ && window_->isVisible();
}

std::int32_t SplitRGB(std::int32_t colour, std::int32_t &red, std::int32_t &green,
                      std::int32_t &blue)
{
    // Division truncates toward zero and the remainder takes the dividend's
    // sign, as the colour arithmetic of the window always did.
    red = colour % 256;
    green = (colour / 256) % 256;
    blue = (colour / 65536) % 256;
    return 0;
}

} // namespace tessaroc::play
