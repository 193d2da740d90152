#pragma once

#include "forms/Element.h"
#include "gif/GifAnimation.h"
#include "platform/Clock.h"

#include <QByteArray>
#include <QPointer>
#include <QTimer>
#include <QVariantMap>

#include <cstdint>
#include <functional>
#include <optional>

class QNetworkAccessManager;
class QNetworkReply;

namespace tessaroc::forms {

// The keyed store a host saves a control's properties in. Reading a key that
// is absent gives the default; writing a value equal to its default stores
// nothing.
class PropertyBag
{
public:
    QVariant ReadProperty(const QString &key, const QVariant &defaultValue) const;
    void WriteProperty(const QString &key, const QVariant &value,
                       const QVariant &defaultValue = QVariant());
    const QVariantMap &contents() const { return values_; }

private:
    QVariantMap values_;
};

// The animated GIF control: a windowless element (the table's turn clock,
// bomb and landlord-badge animations) that loads a GIF from memory, a file or
// a download, draws its frames stretched and mirrored as asked, and plays
// them on a frame timer of its own. The frames come from the GIF model
// (GifAnimation); the timer takes its time from the injected clock, so a test
// steps frames by hand with runDueTimer().
//
// A hidden control keeps its animation's time but never wakes the program
// for a frame: it is where it would have been when it is shown, and a run
// with a number of passes ends when it would have on screen (one wake-up at
// its end), or on showing when that time has passed.
class ucAniGIF : public Element
{
    Q_OBJECT

public:
    explicit ucAniGIF(const platform::Clock &clock, Surface *container = nullptr);
    ~ucAniGIF() override;

    // Properties. A setter changes nothing for a value outside its range.

    // The picture on show as a single-image GIF file; nothing while no frame
    // is shown. Setting a GIF file loads it (nothing empties the control).
    std::optional<QByteArray> AnimatedGIF() const;
    void setAnimatedGIF(const std::optional<QByteArray> &gif);

    void setEnabled(bool enabled);
    // The number of frames while a frame is shown, else 0.
    int FrameCount() const;
    // The size of the GIF's logical screen, in the container's units.
    int ActualWidth() const;
    int ActualHeight() const;
    // Drawing mode: 0 none, 1 fit keeping the aspect ratio, 2 fill, 3 fit
    // without enlarging, 4 the control takes the GIF's size.
    std::int32_t Stretch() const { return stretch_; }
    void setStretch(std::int32_t newScale);
    // The shortest time a frame stays on show, 10 to 32700 milliseconds.
    std::int16_t MinFrameDelay() const { return minFrameDelay_; }
    void setMinFrameDelay(std::int32_t delay);
    // Passes to play; 0 plays for ever.
    std::int32_t loops() const { return loops_; }
    void setLoops(std::int32_t count);
    // -1 with nothing shown, 0 when playing for ever, else the passes left.
    std::int32_t LoopsRemaining() const;
    // Bit 0 flips left to right, bit 1 top to bottom. While the frames after
    // the first are still to be built, 32 is added (the first frame is
    // mirrored already).
    std::int32_t Mirrored() const;
    void setMirrored(std::int32_t mirrorStyle);
    // 0 stopped, 1 playing, 2 paused. Setting: 0 stop, 1 play, 2 pause,
    // 3 step, 4 restart.
    std::int32_t Action() const { return actionState_; }
    void setAction(std::int32_t act);
    // 0 builds every frame at once and plays; 1 shows the first frame and
    // builds the others on the next timer tick, then plays; 2 and 3 build on
    // the next tick and do not play.
    std::int32_t DelayAnimation() const { return delayAnimation_; }
    void setDelayAnimation(std::int32_t mode);
    void setMouseIcon(const QCursor &icon);
    void clearMouseIcon();

    // Methods.
    bool LoadAnimatedGIF_File(const QString &fileName);
    bool LoadAnimatedGIF_Array(const QByteArray &bytes);
    void LoadAnimatedGIF_Remote(const QString &remotePath);

    // Persistence in the host's property store.
    void WriteProperties(PropertyBag &bag) const;
    void ReadProperties(const PropertyBag &bag);

    // The playing state: the frame on show, the frames found, the passes
    // played, the drawing scale and the timer. While the control is hidden,
    // the frame and the passes are those the clock has reached.
    std::int32_t CurrentFrame() const { return position().frame; }
    std::int32_t ParsedFrameCount() const { return parsedFrameCount_; }
    std::int32_t LoopsPlayed() const { return position().loopsPlayed; }
    float scaleX() const { return scaleX_; }
    float scaleY() const { return scaleY_; }
    // Whether the program will be woken for the control, and when.
    bool timerRunning() const { return armed_; }
    std::int64_t timerDueMs() const { return wakeMs_; }
    // Runs the timer's tick when the clock has reached its due time; returns
    // whether it ran. The real timer calls it; tests call it after moving a
    // manual clock.
    bool runDueTimer();

    void paint(QPainter &painter, const QRect &r) override;

Q_SIGNALS:
    void LoopsEnded();
    void RemoteLoadComplete(float gifWidth, float gifHeight, bool &Cancel);
    void RemoteLoadFailure();
    void reportOver(std::int32_t curFrame);
    // A persisted property changed, by the name its store uses.
    void PropertyChanged(const QString &name);

protected:
    void geometryChanged() override;
    void visibilityChanged(bool visible) override;
    QPointF eventPosition(QPointF local) const override;

private:
    enum class TimerMode { None, Frame, Build };
    // Where a run stands: the frame on show, the passes played and the time
    // at which the frame's display time is up.
    struct RunPosition
    {
        std::int32_t frame;
        std::int32_t loopsPlayed;
        std::int64_t dueMs;
    };

    std::int32_t LoadGifArray();
    bool loadBytes(const QByteArray &bytes);
    void FreeFrames();
    void finishBuild(std::int64_t playFromMs);
    void completePendingBuild();
    bool StartFrameTimer(int mode, std::optional<std::int64_t> fromMs = std::nullopt);
    void stopTimer();
    void arm();
    void wakeAt(std::int64_t ms);
    void OnFrameTimer();
    void onBuildTimer();
    RunPosition position() const;
    void advance(RunPosition &run, std::int64_t now) const;
    void keepTime();
    void catchUp();
    std::int64_t passMs() const;
    std::optional<std::int64_t> runEndMs() const;
    void Resize();
    void repaintNow();
    void repaintStep();
    void changePaused(const std::function<void()> &change);
    bool wantsResizeAfterLoad() const { return stretch_ == 1 || stretch_ == 3 || stretch_ == 4; }
    int frameDelay(int frame) const;
    void onDownloadFinished(QNetworkReply *reply);

    const platform::Clock &clock_;
    gif::GifAnimation gif_;
    QByteArray GifBytes_;
    std::int16_t minFrameDelay_ = 50;
    std::int32_t stretch_ = 1;
    std::int32_t delayAnimation_ = 1;
    std::int32_t mirrored_ = 0;
    std::int32_t loops_ = 0;
    std::int32_t loopsPlayed_ = 0;
    std::int32_t actionState_ = 0;
    std::int32_t currentFrame_ = 0;
    std::int32_t parsedFrameCount_ = 0;
    float scaleX_ = 0;
    float scaleY_ = 0;
    bool resizing_ = false;

    // What runs (a frame's display time, the build) and when it is due; the
    // wake-up that the program is given for it, if any.
    TimerMode timerMode_ = TimerMode::None;
    std::int64_t dueMs_ = 0;
    bool armed_ = false;
    std::int64_t wakeMs_ = 0;
    QTimer wake_;

    QNetworkAccessManager *network_ = nullptr;
    QPointer<QNetworkReply> download_;
};

} // namespace tessaroc::forms
