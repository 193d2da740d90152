#pragma once

#include <functional>

namespace tessaroc::core {

struct CoreContext;

// The main loop's pump of the item library, run once per tick while the
// library is ready: its queued items carried out, a settlement held back for
// it shown, the treasure-box choice counted down. The start-up keeps the
// library off, so in this configuration none of it runs.
class ItemSteps
{
public:
    // The random source of the box chosen for a player who let the time
    // run out: uniform in [0, 1).
    ItemSteps(CoreContext &context, std::function<double()> random);

    // False when the tick ends here (the library closed in the middle).
    bool Run();

private:
    bool SendPump();
    bool DeferredSettlement();
    void BoxCountdown();

    CoreContext &c_;
    std::function<double()> random_;
};

} // namespace tessaroc::core
