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
    const std::int32_t frame = position().frame;
    if (frame == 0)
        return std::nullopt;
    const std::vector<std::uint8_t> file = gif_.FrameToPicture(frame);
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
    changePaused([this] { Resize(); });
    Q_EMIT PropertyChanged(QStringLiteral("Stretch"));
}

// A new display time or loop count holds from the frame after the one on
// show; a hidden run is first brought up to the clock under the old one, and
// the end it waits for moves with the change.
void ucAniGIF::setMinFrameDelay(std::int32_t delay)
{
    const auto clamped = static_cast<std::int16_t>(std::clamp(delay, 10, 32700));
    if (clamped == minFrameDelay_)
        return;
    keepTime();
    minFrameDelay_ = clamped;
    arm();
    Q_EMIT PropertyChanged(QStringLiteral("Delay"));
}

void ucAniGIF::setLoops(std::int32_t count)
{
    if (count == loops_)
        return;
    keepTime();
    loops_ = static_cast<std::int32_t>(
            std::min<std::int64_t>(std::abs(std::int64_t{count}), INT32_MAX));
    arm();
    Q_EMIT PropertyChanged(QStringLiteral("Loops"));
}

std::int32_t ucAniGIF::LoopsRemaining() const
{
    const RunPosition run = position();
    if (run.frame == 0)
        return -1;
    if (loops_ == 0)
        return 0;
    return std::max(0, loops_ - run.loopsPlayed);
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
    changePaused([&] {
        gif_.setMirrored(mirrorStyle);
        mirrored_ = mirrorStyle;
    });
    Q_EMIT PropertyChanged(QStringLiteral("Mirrored"));
}

// A change of the picture's look pauses a running animation and lets it run
// on afterwards; a still one is drawn again at once.
void ucAniGIF::changePaused(const std::function<void()> &change)
{
    const std::int32_t was = actionState_;
    setAction(2);
    change();
    if (was == 1)
        setAction(1);
    else
        repaintNow();
}

// Pausing, stepping and restarting stop the timer; while the frames after the
// first are still waiting for the build timer, they are built first, so a
// later play never reaches a frame that was never built.
void ucAniGIF::setAction(std::int32_t act)
{
    if (currentFrame_ == 0)
        return;
    keepTime();
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
    if (!file.open(QIODevice::ReadOnly) || file.size() <= 0 || file.size() > kMaxGifFileBytes)
        return loadBytes({});
    return loadBytes(file.readAll());
}

bool ucAniGIF::LoadAnimatedGIF_Array(const QByteArray &bytes)
{
    return loadBytes(bytes);
}

// No bytes leave the control empty; a file that does not load leaves it as
// the failed load left it.
bool ucAniGIF::loadBytes(const QByteArray &bytes)
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
    // built here, so none is ever left unbuilt. A hidden control shows no
    // first frame early and wakes for no build: it builds them all now, and
    // its play counts from when the build timer would have started it.
    const std::int64_t now = clock_.nowMs();
    if (delayAnimation_ == 0 || n == 1)
        finishBuild(now);
    else if (!Visible())
        finishBuild(now + kBuildTimerMs);
    else if (!StartFrameTimer(2))
        finishBuild(now);
    if (n == 1)
        repaintNow();
    return n;
}

// The end of the building: every frame built, the file let go, and play
// started (its first frame counted from playFromMs) unless DelayAnimation
// asks for none.
void ucAniGIF::finishBuild(std::int64_t playFromMs)
{
    gif_.BuildFrames();
    GifBytes_.clear();
    if ((delayAnimation_ & 2) == 0)
        StartFrameTimer(1, playFromMs);
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
// timer. True when a timer was set. The frame's display time counts from
// fromMs, now unless the run began earlier.
bool ucAniGIF::StartFrameTimer(int mode, std::optional<std::int64_t> fromMs)
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
    if (mode == 1 && parsedFrameCount_ == 1)
        return false;
    // The timer belongs to the window that holds the control.
    if (!container())
        return false;
    const std::int64_t from = fromMs.value_or(clock_.nowMs());
    timerMode_ = mode == 2 ? TimerMode::Build : TimerMode::Frame;
    dueMs_ = from + (mode == 2 ? kBuildTimerMs : frameDelay(currentFrame_));
    actionState_ = 1;
    arm();
    return true;
}

void ucAniGIF::stopTimer()
{
    timerMode_ = TimerMode::None;
    armed_ = false;
    wake_.stop();
}

// Wakes the program for what is due. A shown animation wakes for every
// frame; a hidden one keeps its time in the count alone and wakes only for
// the end of a run that ends, so that the end comes when it would have on
// screen. An endless hidden animation never wakes the program.
void ucAniGIF::arm()
{
    armed_ = false;
    wake_.stop();
    if (timerMode_ == TimerMode::None)
        return;
    if (timerMode_ == TimerMode::Frame && !Visible()) {
        if (const std::optional<std::int64_t> end = runEndMs())
            wakeAt(*end);
        return;
    }
    wakeAt(dueMs_);
}

void ucAniGIF::wakeAt(std::int64_t ms)
{
    armed_ = true;
    wakeMs_ = ms;
    const std::int64_t wait = std::clamp<std::int64_t>(ms - clock_.nowMs(), 0, INT32_MAX);
    wake_.start(static_cast<int>(wait));
}

bool ucAniGIF::runDueTimer()
{
    if (!armed_)
        return false;
    const std::int64_t now = clock_.nowMs();
    if (now < wakeMs_) {
        wakeAt(wakeMs_);
        return false;
    }
    if (timerMode_ == TimerMode::Build) {
        onBuildTimer();
        return true;
    }
    // A hidden run wakes at its end: the frames before it pass in the count.
    keepTime();
    if (dueMs_ > now) {
        arm();
        return false;
    }
    OnFrameTimer();
    return true;
}

void ucAniGIF::onBuildTimer()
{
    StartFrameTimer(0);
    finishBuild(clock_.nowMs());
}

std::int64_t ucAniGIF::passMs() const
{
    std::int64_t pass = 0;
    for (int frame = 1; frame <= parsedFrameCount_; ++frame)
        pass += frameDelay(frame);
    return pass;
}

// When the run ends unless something changes it: at the end of the last
// frame of its last pass. Nothing for an endless run, nor for one that ends
// past any clock.
std::optional<std::int64_t> ucAniGIF::runEndMs() const
{
    if (loops_ == 0 || timerMode_ != TimerMode::Frame)
        return std::nullopt;
    std::int64_t end = dueMs_;
    for (int frame = currentFrame_ + 1; frame <= parsedFrameCount_; ++frame)
        end += frameDelay(frame);
    const std::int64_t passes = std::max<std::int64_t>(0, std::int64_t{loops_} - loopsPlayed_ - 1);
    const std::int64_t pass = passMs();
    if (passes > (INT64_MAX - end) / pass)
        return std::nullopt;
    return end + passes * pass;
}

// Moves a run through the frames whose time was up by `now`, as the frame
// timer would have, and stops before the step that ends the run: that one
// stops the control and raises LoopsEnded, which is for the timer or the
// showing of the control to do, never for a look at the state.
void ucAniGIF::advance(RunPosition &run, std::int64_t now) const
{
    while (run.dueMs <= now) {
        if (run.frame < parsedFrameCount_) {
            ++run.frame;
        } else {
            if (loops_ != 0 && run.loopsPlayed + 1 >= loops_)
                return;
            run.frame = 1;
            if (loops_ != 0)
                ++run.loopsPlayed;
            // Whole passes at once, however long nothing was shown; the last
            // pass of a run that ends is walked frame by frame.
            const std::int64_t pass = passMs();
            std::int64_t passes = (now - run.dueMs) / pass;
            if (loops_ != 0)
                passes = std::min<std::int64_t>(passes, loops_ - 1 - run.loopsPlayed);
            run.dueMs += passes * pass;
            if (loops_ != 0)
                run.loopsPlayed += static_cast<std::int32_t>(passes);
        }
        run.dueMs += frameDelay(run.frame);
    }
}

ucAniGIF::RunPosition ucAniGIF::position() const
{
    RunPosition run{currentFrame_, loopsPlayed_, dueMs_};
    if (timerMode_ == TimerMode::Frame && !Visible())
        advance(run, clock_.nowMs());
    return run;
}

// A hidden run's frames move on in the count alone; it is brought up to the
// clock before anything reads or changes where it stands. A shown run moves
// on its ticks, which paint every frame.
void ucAniGIF::keepTime()
{
    if (!Visible())
        catchUp();
}

void ucAniGIF::catchUp()
{
    if (timerMode_ != TimerMode::Frame)
        return;
    RunPosition run{currentFrame_, loopsPlayed_, dueMs_};
    advance(run, clock_.nowMs());
    currentFrame_ = run.frame;
    loopsPlayed_ = run.loopsPlayed;
    dueMs_ = run.dueMs;
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
    dueMs_ = clock_.nowMs() + frameDelay(currentFrame_);
    arm();
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

// Hiding keeps the animation's time. No build timer runs while nothing is
// shown: frames still to build are built at once, and play counts from when
// the build timer would have started it. Showing puts a running animation
// where the clock has taken it, and ends a run whose end passed while it was
// hidden; an animation that was paused, or loaded without play, starts.
void ucAniGIF::visibilityChanged(bool visible)
{
    if (!visible) {
        if (timerMode_ == TimerMode::Build) {
            const std::int64_t buildDue = dueMs_;
            StartFrameTimer(0);
            finishBuild(buildDue);
        } else {
            arm();
        }
        return;
    }
    if (timerMode_ != TimerMode::Frame) {
        StartFrameTimer(1);
        return;
    }
    catchUp();
    if (dueMs_ <= clock_.nowMs())
        OnFrameTimer();
    else
        arm();
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
            if (gif_.backdrop() == gif::GifComposer::Backdrop::Black)
                painter.fillRect(QRect(r.topLeft(), drawn), Qt::black);
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
