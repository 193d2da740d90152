#include "forms/ucAniGIF.h"

#include "forms/Surface.h"
#include "gif/GifScale.h"
#include "support/GifImages.h"

#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPainter>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <span>

namespace tessaroc::forms {

namespace {

// A picture file larger than this is refused before it is read: the store's
// largest animation is a few hundred kilobytes.
constexpr qint64 kMaxGifFileBytes = qint64{64} << 20;
// The build timer: the frames after the first are built on its tick.
constexpr int kBuildTimerMs = 20;

std::span<const std::uint8_t> bytesOf(const QByteArray &bytes)
{
    return {reinterpret_cast<const std::uint8_t *>(bytes.constData()),
            static_cast<std::size_t>(bytes.size())};
}

} // namespace

QVariant PropertyBag::ReadProperty(const QString &key, const QVariant &defaultValue) const
{
    return values_.value(key, defaultValue);
}

void PropertyBag::WriteProperty(const QString &key, const QVariant &value,
                                const QVariant &defaultValue)
{
    if (defaultValue.isValid() && value == defaultValue)
        values_.remove(key);
    else
        values_.insert(key, value);
}

ucAniGIF::ucAniGIF(const platform::Clock &clock, Surface *container)
    : Element(container)
    , clock_(clock)
{
    wake_.setSingleShot(true);
    connect(&wake_, &QTimer::timeout, this, [this] { runDueTimer(); });
}

ucAniGIF::~ucAniGIF()
{
    if (download_)
        download_->abort();
    FreeFrames();
}

// --- Properties -----------------------------------------------------------

std::optional<QByteArray> ucAniGIF::AnimatedGIF() const
{
    if (currentFrame_ == 0)
        return std::nullopt;
    const std::vector<std::uint8_t> file = gif_.FrameToPicture(currentFrame_);
    if (file.empty())
        return std::nullopt;
    return QByteArray(reinterpret_cast<const char *>(file.data()),
                      static_cast<qsizetype>(file.size()));
}

void ucAniGIF::setAnimatedGIF(const std::optional<QByteArray> &gif)
{
    if (gif)
        GifBytes_ = *gif;
    else
        GifBytes_.clear();
    LoadGifArray();
    repaintNow();
    Q_EMIT PropertyChanged(QStringLiteral("AnimatedGIF"));
}

void ucAniGIF::setEnabled(bool enabled)
{
    Element::setEnabled(enabled);
    Q_EMIT PropertyChanged(QStringLiteral("Enabled"));
}

int ucAniGIF::FrameCount() const
{
    return currentFrame_ != 0 ? parsedFrameCount_ : 0;
}

int ucAniGIF::ActualWidth() const
{
    return gif_.ScreenWidth();
}

int ucAniGIF::ActualHeight() const
{
    return gif_.ScreenHeight();
}

void ucAniGIF::setStretch(std::int32_t newScale)
{
    if (newScale < gif::StretchNone || newScale > gif::StretchToGif || newScale == stretch_)
        return;
    stretch_ = newScale;
    const std::int32_t was = actionState_;
    setAction(2);
    Resize();
    if (was == 1)
        setAction(1);
    else
        repaintNow();
    Q_EMIT PropertyChanged(QStringLiteral("Stretch"));
}

void ucAniGIF::setMinFrameDelay(std::int32_t delay)
{
    const auto clamped = static_cast<std::int16_t>(std::clamp(delay, 10, 32700));
    if (clamped == minFrameDelay_)
        return;
    minFrameDelay_ = clamped;
    Q_EMIT PropertyChanged(QStringLiteral("Delay"));
}

void ucAniGIF::setLoops(std::int32_t count)
{
    if (count == loops_)
        return;
    loops_ = static_cast<std::int32_t>(
            std::min<std::int64_t>(std::abs(std::int64_t{count}), INT32_MAX));
    Q_EMIT PropertyChanged(QStringLiteral("Loops"));
}

std::int32_t ucAniGIF::LoopsRemaining() const
{
    if (currentFrame_ == 0)
        return -1;
    if (loops_ == 0)
        return 0;
    return std::max(0, loops_ - loopsPlayed_);
}

std::int32_t ucAniGIF::Mirrored() const
{
    return mirrored_ + (gif_.buildPending() ? 32 : 0);
}

void ucAniGIF::setMirrored(std::int32_t mirrorStyle)
{
    if (mirrorStyle < 0 || mirrorStyle > 3)
        return;
    if (currentFrame_ == 0) {
        mirrored_ = mirrorStyle;
        Q_EMIT PropertyChanged(QStringLiteral("Mirrored"));
        return;
    }
    if (mirrorStyle == mirrored_)
        return;
    const std::int32_t was = actionState_;
    setAction(2);
    gif_.setMirrored(mirrorStyle);
    mirrored_ = mirrorStyle;
    if (was == 1)
        setAction(1);
    else
        repaintNow();
    Q_EMIT PropertyChanged(QStringLiteral("Mirrored"));
}

// Pausing, stepping and restarting stop the timer; while the frames after the
// first are still waiting for the build timer, they are built first, so a
// later play never reaches a frame that was never built.
void ucAniGIF::setAction(std::int32_t act)
{
    if (currentFrame_ == 0)
        return;
    switch (act) {
    case 0:
        StartFrameTimer(0);
        loopsPlayed_ = 0;
        currentFrame_ = 0;
        repaintNow();
        break;
    case 1:
        StartFrameTimer(1);
        break;
    case 2:
        if (actionState_ != 0) {
            completePendingBuild();
            stopTimer();
            actionState_ = 2;
        }
        break;
    case 3:
        completePendingBuild();
        StartFrameTimer(0);
        currentFrame_ = currentFrame_ >= parsedFrameCount_ ? 1 : currentFrame_ + 1;
        actionState_ = 2;
        repaintNow();
        break;
    case 4:
        completePendingBuild();
        StartFrameTimer(0);
        loopsPlayed_ = 0;
        currentFrame_ = 1;
        repaintNow();
        StartFrameTimer(1);
        break;
    default:
        break;
    }
}

void ucAniGIF::setDelayAnimation(std::int32_t mode)
{
    if (mode < 0 || mode > 3 || mode == delayAnimation_)
        return;
    delayAnimation_ = mode;
    Q_EMIT PropertyChanged(QStringLiteral("DelayAnimation"));
}

void ucAniGIF::setMouseIcon(const QCursor &icon)
{
    Element::setMouseIcon(icon);
    Q_EMIT PropertyChanged(QStringLiteral("MouseIcon"));
}

void ucAniGIF::clearMouseIcon()
{
    Element::setMouseIcon(QCursor());
    setMousePointer(MousePointer::Default);
    Q_EMIT PropertyChanged(QStringLiteral("MouseIcon"));
}

// --- Loading --------------------------------------------------------------

bool ucAniGIF::LoadAnimatedGIF_File(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly) || file.size() <= 0 || file.size() > kMaxGifFileBytes) {
        GifBytes_.clear();
        FreeFrames();
        return false;
    }
    GifBytes_ = file.readAll();
    if (LoadGifArray() == 0)
        return false;
    if (wantsResizeAfterLoad())
        Resize();
    return true;
}

bool ucAniGIF::LoadAnimatedGIF_Array(const QByteArray &bytes)
{
    if (bytes.isEmpty()) {
        GifBytes_.clear();
        FreeFrames();
        return false;
    }
    GifBytes_ = bytes;
    if (LoadGifArray() == 0)
        return false;
    if (wantsResizeAfterLoad())
        Resize();
    return true;
}

void ucAniGIF::LoadAnimatedGIF_Remote(const QString &remotePath)
{
    if (remotePath.isEmpty())
        return;
    // A second download replaces the one still under way.
    if (download_) {
        QNetworkReply *old = download_;
        download_ = nullptr;
        old->abort();
        old->deleteLater();
    }
    const QUrl url = QUrl::fromUserInput(remotePath);
    if (!url.isValid()) {
        Q_EMIT RemoteLoadFailure();
        return;
    }
    if (!network_)
        network_ = new QNetworkAccessManager(this);
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::PreferNetwork);
    QNetworkReply *reply = network_->get(request);
    download_ = reply;
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > kMaxGifFileBytes)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { onDownloadFinished(reply); });
}

void ucAniGIF::onDownloadFinished(QNetworkReply *reply)
{
    reply->deleteLater();
    if (download_ != reply)
        return;
    download_ = nullptr;
    if (reply->error() != QNetworkReply::NoError) {
        Q_EMIT RemoteLoadFailure();
        return;
    }
    const QByteArray bytes = reply->readAll();
    if (bytes.size() < 15) {
        Q_EMIT RemoteLoadFailure();
        return;
    }
    const QByteArray signature = bytes.left(6).toLower();
    if (signature != "gif89a" && signature != "gif87a") {
        Q_EMIT RemoteLoadFailure();
        return;
    }
    auto word = [&bytes](int at) {
        return static_cast<std::uint8_t>(bytes[at])
                | (static_cast<std::uint8_t>(bytes[at + 1]) << 8);
    };
    bool cancel = false;
    Q_EMIT RemoteLoadComplete(static_cast<float>(word(6)), static_cast<float>(word(8)), cancel);
    if (cancel)
        return;
    GifBytes_ = bytes;
    if (LoadGifArray() != 0 && wantsResizeAfterLoad())
        Resize();
}

// The common load: releases what was shown, parses the file, builds the first
// frame and then the others at once or on the build timer, as DelayAnimation
// says. Returns the number of frames, 0 when the bytes are no usable GIF; the
// control is then empty.
std::int32_t ucAniGIF::LoadGifArray()
{
    FreeFrames();
    scaleX_ = 0;
    scaleY_ = 0;
    const int n = GifBytes_.isEmpty() ? 0 : gif_.LoadGifArray(bytesOf(GifBytes_));
    parsedFrameCount_ = n;
    if (n == 0) {
        GifBytes_.clear();
        FreeFrames();
        return 0;
    }
    gif_.setMirrored(mirrored_);
    loops_ = gif_.Loops();
    currentFrame_ = 1;
    const gif::GifScale scale
            = gif::ComputeScale(stretch_, static_cast<std::int32_t>(std::lround(Width())),
                                static_cast<std::int32_t>(std::lround(Height())),
                                gif_.ScreenWidth(), gif_.ScreenHeight());
    scaleX_ = scale.scaleX;
    scaleY_ = scale.scaleY;
    // With frames still to build and a build timer that can run, the first
    // frame shows now and the others follow on its tick; otherwise they are
    // built here, so none is ever left unbuilt.
    if (delayAnimation_ == 0 || n == 1 || !StartFrameTimer(2))
        finishBuild();
    if (n == 1)
        repaintNow();
    return n;
}

// The end of the building: every frame built, the file let go, and play
// started unless DelayAnimation asks for none.
void ucAniGIF::finishBuild()
{
    gif_.BuildFrames();
    GifBytes_.clear();
    if ((delayAnimation_ & 2) == 0)
        StartFrameTimer(1);
}

void ucAniGIF::completePendingBuild()
{
    if (!gif_.buildPending())
        return;
    if (timerMode_ == TimerMode::Build)
        stopTimer();
    gif_.BuildFrames();
    GifBytes_.clear();
}

void ucAniGIF::FreeFrames()
{
    StartFrameTimer(0);
    gif_.FreeFrames();
    actionState_ = 0;
    currentFrame_ = 0;
}

// --- The frame timer --------------------------------------------------------

int ucAniGIF::frameDelay(int frame) const
{
    return std::max<int>(gif_.frame(frame).delay, minFrameDelay_);
}

// Mode 0 stops, 1 sets the frame timer for the frame on show, 2 the build
// timer. True when a timer was set.
bool ucAniGIF::StartFrameTimer(int mode)
{
    if (mode == 0) {
        stopTimer();
        actionState_ = 0;
        return false;
    }
    if (actionState_ == 1)
        return false;
    actionState_ = 0;
    if (currentFrame_ == 0)
        return false;
    // A hidden control shows no frames: its animation starts when it is
    // shown, so a hidden clock or badge never wakes the program.
    if (mode == 1 && !Visible())
        return false;
    if (mode == 1 && parsedFrameCount_ == 1)
        return false;
    // The timer belongs to the window that holds the control.
    if (!container())
        return false;
    const int interval = mode == 2 ? kBuildTimerMs : frameDelay(currentFrame_);
    timerMode_ = mode == 2 ? TimerMode::Build : TimerMode::Frame;
    dueMs_ = clock_.nowMs() + interval;
    wake_.start(interval);
    actionState_ = 1;
    return true;
}

void ucAniGIF::stopTimer()
{
    timerMode_ = TimerMode::None;
    wake_.stop();
}

bool ucAniGIF::runDueTimer()
{
    if (timerMode_ == TimerMode::None)
        return false;
    const std::int64_t now = clock_.nowMs();
    if (now < dueMs_) {
        wake_.start(static_cast<int>(std::min<std::int64_t>(dueMs_ - now, INT32_MAX)));
        return false;
    }
    if (timerMode_ == TimerMode::Build)
        onBuildTimer();
    else
        OnFrameTimer();
    return true;
}

void ucAniGIF::onBuildTimer()
{
    StartFrameTimer(0);
    finishBuild();
}

// One tick: the next frame, a pass counted at the end of the frames, the
// control stopped and LoopsEnded raised when the passes are used up.
void ucAniGIF::OnFrameTimer()
{
    stopTimer();
    bool passComplete = false;
    if (++currentFrame_ > parsedFrameCount_) {
        currentFrame_ = 1;
        passComplete = true;
    }
    bool ended = false;
    if (parsedFrameCount_ == 1) {
        loopsPlayed_ = 1;
        actionState_ = 0;
        ended = true;
    } else if (passComplete && loops_ != 0) {
        ++loopsPlayed_;
        // Loops may have been lowered during the run; the run ends as soon
        // as it has played as many passes as allowed.
        if (loopsPlayed_ >= loops_) {
            actionState_ = 0;
            StartFrameTimer(0);
            loopsPlayed_ = 0;
            currentFrame_ = 0;
            ended = true;
        }
    }
    repaintStep();
    if (ended) {
        Q_EMIT LoopsEnded();
        return;
    }
    // The repaint reports the last frame, and the report's handler may have
    // paused, stopped or reloaded the control, or set its timer itself; the
    // tick then leaves the timer as the handler left it.
    if (actionState_ != 1 || timerMode_ != TimerMode::None)
        return;
    timerMode_ = TimerMode::Frame;
    const int interval = frameDelay(currentFrame_);
    dueMs_ = clock_.nowMs() + interval;
    wake_.start(interval);
}

// --- Host notices -----------------------------------------------------------

void ucAniGIF::Resize()
{
    if (currentFrame_ == 0 || resizing_)
        return;
    const gif::GifScale scale
            = gif::ComputeScale(stretch_, static_cast<std::int32_t>(std::lround(Width())),
                                static_cast<std::int32_t>(std::lround(Height())),
                                gif_.ScreenWidth(), gif_.ScreenHeight());
    scaleX_ = scale.scaleX;
    scaleY_ = scale.scaleY;
    resizing_ = true;
    Move(Left(), Top(), scale.width, scale.height);
    resizing_ = false;
}

void ucAniGIF::geometryChanged()
{
    Resize();
}

// Showing plays again what hiding paused.
void ucAniGIF::visibilityChanged(bool visible)
{
    if (visible)
        StartFrameTimer(1);
    else
        setAction(2);
}

QPointF ucAniGIF::eventPosition(QPointF local) const
{
    return {std::floor(local.x()), std::floor(local.y())};
}

void ucAniGIF::repaintNow()
{
    Refresh();
}

// A frame step composes the next frame at once, whether or not the window
// paints, so no step replays the frames before it; and it repaints only what
// the frame changed, so a tiny frame costs a tiny repaint however large the
// picture.
void ucAniGIF::repaintStep()
{
    if (currentFrame_ == 0 || !container()) {
        repaintNow();
        return;
    }
    gif_.ComposeFrame(currentFrame_);
    const gif::GifComposer::Rect changed = gif_.changedArea();
    const QRect r = paintRect();
    // A pixel more on every side for the smoothing of a scaled picture.
    QRect area;
    if (!changed.empty()) {
        const auto at = [](int origin, std::int32_t v, float scale, bool up) {
            const double p = static_cast<double>(v) * static_cast<double>(scale);
            return origin + static_cast<int>(up ? std::ceil(p) + 1 : std::floor(p) - 1);
        };
        area = QRect(QPoint(at(r.left(), changed.x0, scaleX_, false),
                            at(r.top(), changed.y0, scaleY_, false)),
                     QPoint(at(r.left(), changed.x1, scaleX_, true),
                            at(r.top(), changed.y1, scaleY_, true)));
    }
    // The paint reports the last frame, so a step whose change lies out of
    // sight still repaints a pixel that can be seen.
    const QRect seen = r & container()->rect();
    if ((area & seen).isEmpty())
        area = QRect(seen.topLeft(), QSize(1, 1));
    refreshPart(area);
}

void ucAniGIF::paint(QPainter &painter, const QRect &r)
{
    if (currentFrame_ != 0) {
        const QImage frame = support::ComposedView(gif_, currentFrame_);
        if (!frame.isNull()) {
            const QSize drawn(static_cast<int>(std::nearbyint(scaleX_ * frame.width())),
                              static_cast<int>(std::nearbyint(scaleY_ * frame.height())));
            painter.setClipRect(r, Qt::IntersectClip);
            if (scaleX_ != 1.0f || scaleY_ != 1.0f) {
                painter.setRenderHint(QPainter::SmoothPixmapTransform);
                painter.drawImage(QRect(r.topLeft(), drawn), frame);
            } else {
                painter.drawImage(r.topLeft(), frame);
            }
        }
    }
    if (currentFrame_ == parsedFrameCount_)
        Q_EMIT reportOver(currentFrame_);
}

// --- Persistence ------------------------------------------------------------

void ucAniGIF::WriteProperties(PropertyBag &bag) const
{
    bag.WriteProperty(QStringLiteral("GIF"), GifBytes_);
    bag.WriteProperty(QStringLiteral("Delay"), minFrameDelay_, std::int16_t{50});
    bag.WriteProperty(QStringLiteral("Stretch"), stretch_, std::int32_t{1});
    bag.WriteProperty(QStringLiteral("Loops"), loops_, std::int32_t{0});
    bag.WriteProperty(QStringLiteral("DelayLoad"), delayAnimation_, std::int32_t{1});
    bag.WriteProperty(QStringLiteral("Mirror"), mirrored_, std::int32_t{0});
    if (MouseIcon().shape() == Qt::BitmapCursor)
        bag.WriteProperty(QStringLiteral("MouseIcon"), QVariant::fromValue(MouseIcon()));
    bag.WriteProperty(QStringLiteral("MousePointer"), static_cast<int>(mousePointer()), 0);
    bag.WriteProperty(QStringLiteral("Enabled"), Enabled(), true);
}

// Values out of range fall back to their defaults rather than reaching the
// drawing and the timer.
void ucAniGIF::ReadProperties(const PropertyBag &bag)
{
    GifBytes_ = bag.ReadProperty(QStringLiteral("GIF"), GifBytes_).toByteArray();
    const int delay = bag.ReadProperty(QStringLiteral("Delay"), minFrameDelay_).toInt();
    minFrameDelay_ = static_cast<std::int16_t>(delay >= 10 && delay <= 32700 ? delay : 50);
    const int stretch = bag.ReadProperty(QStringLiteral("Stretch"), 1).toInt();
    stretch_ = stretch >= gif::StretchNone && stretch <= gif::StretchToGif ? stretch : 1;
    const int delayLoad = bag.ReadProperty(QStringLiteral("DelayLoad"), 1).toInt();
    delayAnimation_ = delayLoad >= 0 && delayLoad <= 3 ? delayLoad : 1;
    const int mirror = bag.ReadProperty(QStringLiteral("Mirror"), 0).toInt();
    mirrored_ = mirror >= 0 && mirror <= 3 ? mirror : 0;
    Element::setEnabled(bag.ReadProperty(QStringLiteral("Enabled"), true).toBool());
    const QVariant icon = bag.ReadProperty(QStringLiteral("MouseIcon"), QVariant());
    Element::setMouseIcon(icon.canConvert<QCursor>() ? icon.value<QCursor>() : QCursor());
    const int pointer = bag.ReadProperty(QStringLiteral("MousePointer"), 0).toInt();
    setMousePointer(static_cast<MousePointer>(pointer));
    if (LoadGifArray() != 0) {
        const int loops = bag.ReadProperty(QStringLiteral("Loops"), loops_).toInt();
        loops_ = std::max(0, loops);
    }
}

} // namespace tessaroc::forms
