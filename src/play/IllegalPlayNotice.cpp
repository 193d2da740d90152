#include "play/IllegalPlayNotice.h"

#include "forms/Units.h"
#include "support/PictureStore.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

#include <algorithm>
#include <cassert>
#include <cmath>

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

namespace {

// The screen's rectangle as the screen shows it; what lies off every screen
// is black.
QImage grabScreen(const QWidget &window, int x, int y, int cx, int cy)
{
    QImage picture(cx, cy, QImage::Format_RGB32);
    picture.fill(Qt::black);
    QScreen *screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    const QPixmap grabbed = screen ? screen->grabWindow(0, x, y, cx, cy) : QPixmap();
    if (!grabbed.isNull()) {
        QPainter painter(&picture);
        painter.drawPixmap(0, 0, grabbed);
    }
    return picture;
}

// A window value in twips as whole pixels, a half to the even neighbour.
int wholePixels(double twips)
{
    return static_cast<int>(std::nearbyint(forms::twipsToPixels(twips)));
}

} // namespace

void ChuPaiWindow::FadeInOverScreen()
{
    if (!isVisible())
        return;
    const int cx = wholePixels(WidthTwips()) + 5;
    const int cy = wholePixels(HeightTwips()) + 5;
    const int x0 = wholePixels(LeftTwips());
    const int y0 = wholePixels(TopTwips());
    const QImage picCopy = grabScreen(*this, x0, y0, cx, cy);
    const QImage picture1 = grabScreen(*this, x0, y0, cx, cy);
    const FadeComponents components(picture1, picCopy, cx, cy);
    FadeBitmap bitmap(cx, cy);
    for (const double t : FadeWeights()) {
        components.drawFrame(t, bitmap);
        fadeFrame_ = bitmap.image();
        repaint();
    }
}

void ChuPaiWindow::paintEvent(QPaintEvent *event)
{
    forms::PopupWindow::paintEvent(event);
    if (!fadeFrame_.isNull()) {
        QPainter painter(this);
        painter.drawImage(0, 0, fadeFrame_);
    }
}

void ChuPaiWindow::hideEvent(QHideEvent *event)
{
    fadeFrame_ = QImage();
    forms::PopupWindow::hideEvent(event);
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

FadeBitmap::FadeBitmap(int width, int height)
    : cx(std::max(width, 0))
    , cy(std::max(height, 0))
    , stride(((cx * 24 + 31) & ~31) / 8)
    , bits(static_cast<std::size_t>(stride) * static_cast<std::size_t>(cy) + 1)
{ }

QImage FadeBitmap::image() const
{
    if (cx == 0 || cy == 0)
        return {};
    const QImage bottomUp(bits.data(), cx, cy, stride, QImage::Format_BGR888);
    return bottomUp.mirrored(false, true);
}

FadeComponents::FadeComponents(const QImage &picture1, const QImage &picCopy, int cx, int cy)
    : cx_(std::max(cx, 0))
    , cy_(std::max(cy, 0))
    , table_(static_cast<std::size_t>(cx_) * static_cast<std::size_t>(cy_) * 3 * 2)
{
    const auto colourAt = [](const QImage &picture, int x, int y) -> std::int32_t {
        if (!picture.valid(x, y))
            return 0;
        const QRgb rgb = picture.pixel(x, y);
        // As a colour reference: 0x00BBGGRR.
        return qRed(rgb) | (qGreen(rgb) << 8) | (qBlue(rgb) << 16);
    };
    for (int y = 0; y < cy_; ++y) {
        for (int x = 0; x < cx_; ++x) {
            SplitRGB(colourAt(picture1, x, y), entry(x, y, 0, 0), entry(x, y, 1, 0),
                     entry(x, y, 2, 0));
            SplitRGB(colourAt(picCopy, x, y), entry(x, y, 0, 1), entry(x, y, 1, 1),
                     entry(x, y, 2, 1));
        }
    }
}

std::int32_t &FadeComponents::entry(int x, int y, int channel, int source)
{
    return table_[static_cast<std::size_t>(((y * cx_ + x) * 3 + channel) * 2 + source)];
}

std::int32_t FadeComponents::entry(int x, int y, int channel, int source) const
{
    return table_[static_cast<std::size_t>(((y * cx_ + x) * 3 + channel) * 2 + source)];
}

void FadeComponents::drawFrame(double t, FadeBitmap &bitmap) const
{
    assert(bitmap.cx == cx_ && bitmap.cy == cy_);
    const auto blend = [&](int x, int y, int channel) {
        const double value = (1 - t) * entry(x, y, channel, 1) + t * entry(x, y, channel, 0);
        return static_cast<std::uint8_t>(std::clamp(std::nearbyint(value), 0.0, 255.0));
    };
    for (int y = 0; y < cy_; ++y) {
        const std::size_t rowStart
                = static_cast<std::size_t>(cy_ - 1 - y) * static_cast<std::size_t>(bitmap.stride);
        for (int x = 0; x < cx_; ++x) {
            std::uint8_t *pixel = bitmap.bits.data() + rowStart + 3 * static_cast<std::size_t>(x);
            pixel[2] = blend(x, y, 0);
            pixel[1] = blend(x, y, 1);
            pixel[0] = blend(x, y, 2);
        }
    }
}

std::vector<double> FadeWeights()
{
    std::vector<double> weights;
    for (double t = 1.0; t >= 0; t += -0.05)
        weights.push_back(t);
    return weights;
}

} // namespace tessaroc::play
