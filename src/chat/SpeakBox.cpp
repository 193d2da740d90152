#include "chat/SpeakBox.h"

#include "forms/Fonts.h"
#include "forms/Units.h"
#include "platform/Clock.h"
#include "support/PictureStore.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QRegion>
#include <QVariant>

#include <algorithm>
#include <cmath>

namespace tessaroc::chat {

namespace {

// Transparent parts of a bubble picture show the window's back colour; the
// outline is cut along it.
const QColor kBackColour(0xFF, 0x00, 0xFF);

// A bubble catches up at most this many steps in one tick, so a window that
// was held up for long does not fade out in one jump.
constexpr int kMaxStepsPerTick = 64;

// Places in twips, per seat: where the window is created (out of sight on
// one axis), where showMe puts it, where the phrase stands in it, and
// whether the end of a fade parks it off the left edge or off the top.
struct SeatPlace
{
    double showLeft; // added to the table window's left, times ScaleX
    double showTop; // added to the table window's top, times ScaleY
    double labelLeft;
    double labelTop;
    bool parkLeft;
};

constexpr SeatPlace kSeatPlaces[4] = {
        {1500, 8550, 260, 180, true},
        {1050, 3000, 570, 350, true},
        {6150, 1050, 450, 620, false},
        {11400, 3000, 270, 470, false},
};

int wholePixels(double twips)
{
    return static_cast<int>(std::nearbyint(forms::twipsToPixels(twips)));
}

double widthTwips(const QWidget &w)
{
    return forms::pixelsToTwips(w.width());
}

double heightTwips(const QWidget &w)
{
    return forms::pixelsToTwips(w.height());
}

void moveTwips(QWidget &w, double left, double top)
{
    w.move(wholePixels(left), wholePixels(top));
}

// The picture as the window draws it: over its back colour.
QImage onBackColour(const QPixmap &picture)
{
    QImage image(picture.size(), QImage::Format_RGB32);
    image.fill(kBackColour);
    QPainter painter(&image);
    painter.drawPixmap(0, 0, picture);
    return image;
}

std::int32_t colourKey(QRgb rgb)
{
    return static_cast<std::int32_t>(rgb & 0xFFFFFFu);
}

// The bubbles among the program's open windows, by their caption.
QList<QWidget *> speakBoxes()
{
    QList<QWidget *> boxes;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->windowTitle() == QStringView(kSpeakBoxCaption))
            boxes.append(window);
    }
    return boxes;
}

} // namespace

QString SpeakBoxTag(int displayPos)
{
    return QStringLiteral("speak") + QString::number(displayPos);
}

QString windowTag(const QWidget &window)
{
    return window.property(kTagProperty).toString();
}

void setWindowTag(QWidget &window, const QString &tag)
{
    window.setProperty(kTagProperty, tag);
}

bool SetFormAlpha(QWidget &window, int alpha)
{
    if (alpha < 0 || alpha > 255)
        return false;
    window.setWindowOpacity(alpha / 255.0);
    if (auto *box = dynamic_cast<frmSpeakBox *>(&window))
        box->alpha_ = alpha;
    return true;
}

void SetFormTopmost(QWidget &window, bool topmost)
{
    // Changing a window flag hides the window; it keeps its visibility.
    const bool wasVisible = window.isVisible();
    window.setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
    if (wasVisible)
        window.show();
}

void HideSpeakBoxes()
{
    for (QWidget *box : speakBoxes())
        box->hide();
}

void ResetSpeakBoxes()
{
    for (QWidget *box : speakBoxes()) {
        if (auto *fade = box->findChild<QTimer *>(QLatin1String(kFadeTimerName)))
            fade->stop();
        SetFormAlpha(*box, 0);
        box->hide();
        SetFormTopmost(*box, true);
    }
}

// The bubbles are found by their tags here, one per seat.
void UnloadSpeakBoxes()
{
    QList<QPointer<QWidget>> windows;
    for (QWidget *window : QApplication::topLevelWidgets())
        windows.append(window);
    for (const QPointer<QWidget> &window : windows) {
        if (!window)
            continue;
        const QString tag = windowTag(*window);
        for (int p = 0; p <= 3; ++p) {
            if (tag != SpeakBoxTag(p))
                continue;
            if (auto *fade = window->findChild<QTimer *>(QLatin1String(kFadeTimerName)))
                fade->stop();
            setWindowTag(*window, QString());
            window->hide();
            window->deleteLater();
            break;
        }
    }
}

frmSpeakBox::frmSpeakBox(const platform::Clock &clock, double timeScale,
                         std::function<SpeakBoxPlace()> place)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
    , tmrFadeIn(this)
    , labPhrase(new QLabel(this))
    , clock_(clock)
    , place_(std::move(place))
{
    setWindowTitle(QString::fromUtf16(kSpeakBoxCaption));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    tmrFadeIn.setObjectName(QLatin1String(kFadeTimerName));
    tmrFadeIn.setInterval(std::max(1, static_cast<int>(std::lround(kFadeStepMs / timeScale))));
    connect(&tmrFadeIn, &QTimer::timeout, this, &frmSpeakBox::fadeTick);
    labPhrase->setFont(forms::designFont(QStringLiteral("宋体"), 10.5));
    labPhrase->setWordWrap(true);
    labPhrase->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    labPhrase->resize(wholePixels(2100), wholePixels(750));
}

void frmSpeakBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), kBackColour);
    painter.drawImage(0, 0, picture);
}

void frmSpeakBox::startFade()
{
    lastStepMs_ = clock_.nowMs();
    tmrFadeIn.start();
}

void frmSpeakBox::showMe(std::int16_t seat, const QString &phrase, std::int16_t perc,
                         std::int16_t fadeIn, std::int16_t fadeOut, std::int16_t showTime)
{
    if (seat >= 0 && seat <= 3) {
        const SpeakBoxPlace p = place_();
        const SeatPlace &s = kSeatPlaces[seat];
        moveTwips(*this, p.mainLeft + s.showLeft * p.scaleX, p.mainTop + s.showTop * p.scaleY);
    }
    seat_ = seat;
    perc_ = perc;
    fadeIn_ = fadeIn;
    fadeOut_ = fadeOut;
    showTime_ = showTime;
    labPhrase->setText(phrase);
    startFade();
    fadeCount_ = 0;
}

void frmSpeakBox::fadeTick()
{
    const std::int64_t now = clock_.nowMs();
    const std::int64_t due = (now - lastStepMs_) / kFadeStepMs;
    if (due <= 0)
        return;
    lastStepMs_ += due * kFadeStepMs;
    const int steps = static_cast<int>(std::min<std::int64_t>(due, kMaxStepsPerTick));
    for (int i = 0; i < steps && tmrFadeIn.isActive(); ++i)
        tmrFadeIn_Timer();
}

void frmSpeakBox::tmrFadeIn_Timer()
{
    fadeCount_ = static_cast<std::int16_t>(std::min(32767, fadeCount_ + fadeIn_));
    if (fadeCount_ < perc_)
        SetFormAlpha(*this, fadeCount_);
    if (fadeCount_ > perc_ + showTime_) {
        perc_ = static_cast<std::int16_t>(perc_ - fadeOut_);
        SetFormAlpha(*this, perc_);
        if (perc_ <= 1) {
            tmrFadeIn.stop();
            labPhrase->setText(QString());
            park();
        }
    }
}

// Out of sight, neither hidden nor closed: the seat's next phrase brings the
// same window back.
void frmSpeakBox::park()
{
    if (seat_ < 0 || seat_ > 3)
        return;
    if (kSeatPlaces[seat_].parkLeft)
        moveTwips(*this, -2 * widthTwips(*this), forms::pixelsToTwips(y()));
    else
        moveTwips(*this, forms::pixelsToTwips(x()), -2 * heightTwips(*this));
}

frmSpeakBox *FindSpeakBox(int seat)
{
    const QString tag = SpeakBoxTag(seat);
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (windowTag(*window) == tag) {
            if (auto *box = dynamic_cast<frmSpeakBox *>(window))
                return box;
        }
    }
    return nullptr;
}

bool MakeRegionFromPicture(frmSpeakBox &form, int seat, std::int32_t &keyColor)
{
    if (seat < 0 || seat > 3)
        return false;
    const QString tag = SpeakBoxTag(seat);
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window != &form && windowTag(*window) == tag)
            return false;
    }
    const QPixmap picture
            = support::PictureStore::designPicture(QStringLiteral("speak_box_%1").arg(seat));
    if (picture.isNull())
        return false;
    setWindowTag(form, tag);
    form.picture = onBackColour(picture);
    form.hide();
    form.resize(form.picture.size());

    const QImage &pixels = form.picture;
    const int rows = pixels.height() - 1;
    const int cols = pixels.width() - 1;
    if (keyColor < 1)
        keyColor = colourKey(pixels.pixel(0, 0));
    QRegion region;
    for (int y = 0; y <= rows; ++y) {
        int start = -1;
        for (int x = 0; x <= cols; ++x) {
            const bool key = colourKey(pixels.pixel(x, y)) == keyColor;
            if (!key && start == -1)
                start = x;
            // A run that reaches the last column ends there, without it.
            if ((key || x >= cols) && start != -1) {
                region += QRect(start, y, x - start, 1);
                start = -1;
            }
        }
    }
    form.setMask(region);
    return true;
}

void ShowSpeakBox(int seat, const platform::Clock &clock, double timeScale,
                  const std::function<SpeakBoxPlace()> &place)
{
    auto *box = new frmSpeakBox(clock, timeScale, place);
    std::int32_t keyColor = 0;
    if (!MakeRegionFromPicture(*box, seat, keyColor)) {
        delete box;
        return;
    }
    box->labPhrase->setText(QStringLiteral("  "));
    const SpeakBoxPlace p = place();
    const SeatPlace &s = kSeatPlaces[seat];
    if (s.parkLeft)
        moveTwips(*box, -widthTwips(*box), p.mainTop + s.showTop * p.scaleY);
    else
        moveTwips(*box, p.mainLeft + s.showLeft * p.scaleX, -heightTwips(*box));
    box->labPhrase->move(wholePixels(s.labelLeft * p.scaleX), wholePixels(s.labelTop * p.scaleY));
    SetFormTopmost(*box, true);
    box->show();
    box->startFade();
}

} // namespace tessaroc::chat
