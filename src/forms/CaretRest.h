#pragma once

#include <QObject>
#include <QTimer>

namespace tessaroc::forms {

// The text caret blinks while the player types or clicks, and rests, shown
// and still, once neither has happened for a while, as desktops let it rest.
// A caret that blinks on at an idle table would wake the program twice a
// second for nothing. The blink is the desktop's own (the style hints'),
// set to none while resting and given back at the next key or click.
class CaretRest final : public QObject
{
public:
    static constexpr int kBlinkForMs = 10'000;

    explicit CaretRest(int blinkForMs = kBlinkForMs, QObject *parent = nullptr);
    ~CaretRest() override;

    bool resting() const { return resting_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void rest();
    void wake();

    int flashTimeMs_; // the desktop's blink, given back after a rest
    QTimer idle_;
    bool resting_ = false;
};

} // namespace tessaroc::forms
