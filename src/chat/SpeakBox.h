#pragma once

#include <QColor>
#include <QLabel>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <functional>

namespace tessaroc::platform {
class Clock;
}

namespace tessaroc::chat {

// The per-seat speech-bubble windows carry the caption "speakbox" and the tag
// "speak" followed by the digit of their display position; the table
// window's events find them among the program's open windows by these, and
// stop their fade-in timer, a child timer named tmrFadeIn.
inline constexpr char16_t kSpeakBoxCaption[] = u"speakbox";
inline constexpr char kTagProperty[] = "Tag";
inline constexpr char kFadeTimerName[] = "tmrFadeIn";

QString SpeakBoxTag(int displayPos);

// A window's tag: the text a window of the program is marked with.
QString windowTag(const QWidget &window);
void setWindowTag(QWidget &window, const QString &tag);

// Sets a window's constant opacity, 0..255; false when the value is outside.
bool SetFormAlpha(QWidget &window, int alpha);
// Keeps a window above every other window, or lets it go back among them.
void SetFormTopmost(QWidget &window, bool topmost);

// What the table window's events do to the bubbles. Minimised: every bubble
// hidden. Restored: a bubble that was fading in when the window went away
// stays hidden and transparent until the chat shows it again. Cleared for a
// new hand: the four seats' bubbles closed, even one still fading in; the
// windows go away once control is back in the event loop, their tags at
// once, so nothing finds them again meanwhile.
void HideSpeakBoxes();
void ResetSpeakBoxes();
void UnloadSpeakBoxes();

// Where the bubbles are placed: the table window's place in screen twips and
// the layout scale.
struct SpeakBoxPlace
{
    double mainLeft = 0;
    double mainTop = 0;
    double scaleX = 1.0;
    double scaleY = 1.0;
};

// One speech bubble: a borderless top-most window cut to the outline of its
// bubble picture, with the phrase in it. It fades in, holds and fades out,
// one step of the fade per tick of tmrFadeIn.
class frmSpeakBox : public QWidget
{
public:
    // The fade runs one step per 16 ms of the clock, the pace of the desktop
    // timer the bubble's 1 ms timer was written for (a real 1 ms pace would
    // flash the bubble by in a third of a second). The timer asks for the
    // same pace divided by `timeScale`; each tick catches up with the clock,
    // so a late tick never slows the fade down.
    static constexpr int kFadeStepMs = 16;

    frmSpeakBox(const platform::Clock &clock, double timeScale,
                std::function<SpeakBoxPlace()> place);

    // Places the bubble for the seat (a seat outside 0..3 leaves it where it
    // is), sets the phrase and starts the fade from its beginning.
    void showMe(std::int16_t seat, const QString &phrase, std::int16_t perc, std::int16_t fadeIn,
                std::int16_t fadeOut, std::int16_t showTime);
    // One step of the fade.
    void tmrFadeIn_Timer();
    // The opacity last set, 0..255.
    int alpha() const { return alpha_; }
    std::int16_t fadeCount() const { return fadeCount_; }
    // Restarts the steps' count from now.
    void startFade();
    // A tick of tmrFadeIn: the steps the clock has moved on by since the
    // last one.
    void fadeTick();

    QTimer tmrFadeIn;
    QLabel *labPhrase;
    // The picture the window shows; the region is cut from it.
    QImage picture;

private:
    friend bool SetFormAlpha(QWidget &window, int alpha);
    friend bool MakeRegionFromPicture(frmSpeakBox &form, int seat, std::int32_t &keyColor);
    friend void ShowSpeakBox(int seat, const platform::Clock &clock, double timeScale,
                             const std::function<SpeakBoxPlace()> &place);

    void paintEvent(QPaintEvent *event) override;
    void park();

    const platform::Clock &clock_;
    std::function<SpeakBoxPlace()> place_;
    std::int64_t lastStepMs_ = 0;
    std::int16_t seat_ = -1;
    std::int16_t perc_ = 0;
    std::int16_t fadeIn_ = 0;
    std::int16_t fadeOut_ = 0;
    std::int16_t showTime_ = 0;
    std::int16_t fadeCount_ = 0;
    int alpha_ = 255;
};

// The bubble window of a seat among the program's open windows; nullptr
// when the seat has none.
frmSpeakBox *FindSpeakBox(int seat);

// Tags the window for the seat, gives it the seat's bubble picture and cuts
// its outline from the picture: every run of pixels of another colour than
// the key colour belongs to the window. A key colour below 1 is taken from
// pixel (0, 0) and handed back. False, and nothing changed, when the seat
// already has a bubble window or has no picture.
bool MakeRegionFromPicture(frmSpeakBox &form, int seat, std::int32_t &keyColor);

// Creates, shapes and places the seat's bubble window out of sight, unless
// the seat already has one.
void ShowSpeakBox(int seat, const platform::Clock &clock, double timeScale,
                  const std::function<SpeakBoxPlace()> &place);

} // namespace tessaroc::chat
