#pragma once

#include <QString>

class QWidget;

namespace tessaroc::chat {

// The per-seat speech-bubble windows carry the caption "speakbox" and the tag
// "speak" followed by the digit of their display position; the table finds
// them among the program's open windows by these, and stops their fade-in
// timer, a child timer named tmrFadeIn.
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

} // namespace tessaroc::chat
