#pragma once

#include "wire/MessageFrame.h"

namespace tessaroc::core {

struct CoreContext;

// ProcessMessage: the single entry of every frame the game server sends. The
// main loop's receive slot calls it once per frame, in arrival order, never
// re-entered.
class Dispatcher
{
public:
    explicit Dispatcher(CoreContext &context);
    virtual ~Dispatcher() = default;

    virtual void ProcessMessage(const wire::MessageFrame &message);

private:
    void LoginAnswer(const wire::MessageFrame &message);
    void HandStart(const wire::MessageFrame &message);
    void UserLeft(const wire::MessageFrame &message);

    CoreContext &c_;
};

} // namespace tessaroc::core
