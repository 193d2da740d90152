#pragma once

#include "PlayShowFixture.h"

#include <QTimer>

#include <functional>

namespace tessaroc::play::test {

// Walks the table's clock by hand: while a handler waits, `look` runs at
// every turn of the event loop and then the clock moves on by stepMs, so a
// test sees every step of an animation. Ends with the object. A handler that
// `look` starts and that waits must run from an event of its own (a timer):
// the steps do not move the clock while `look` itself runs.
class WaitSteps
{
public:
    WaitSteps(PlayTable &t, std::function<void()> look, int stepMs = 1)
        : table_(t)
        , look_(std::move(look))
    {
        table_.base.clock.setStep(0);
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, [this, stepMs] {
            ++turns;
            if (look_)
                look_();
            table_.base.clock.advance(stepMs);
        });
        timer_.start();
    }
    ~WaitSteps() { table_.base.clock.setStep(1000); }
    void stop() { look_ = {}; }
    int turns = 0;

private:
    PlayTable &table_;
    std::function<void()> look_;
    QTimer timer_;
};

} // namespace tessaroc::play::test
