#pragma once

#include "wire/MsgRings.h"

#include <vector>

namespace tessaroc::test {

// The frames waiting in the send ring, oldest first, taken out of it: what
// the client would have sent by the next ticks.
inline std::vector<wire::MessageFrame> takeQueuedFrames(wire::MsgRings &rings)
{
    std::vector<wire::MessageFrame> frames;
    wire::MessageFrame frame;
    while (rings.SendRing.takeFrame(frame))
        frames.push_back(frame);
    return frames;
}

} // namespace tessaroc::test
