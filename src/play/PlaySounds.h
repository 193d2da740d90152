#pragma once

#include <string_view>

namespace tessaroc::core {
struct CoreContext;
}

namespace tessaroc::play {

// The play flow's effect sounds, on the main sound buffer at full volume,
// once. They play only while the game's sounds are on and the table window
// is not minimised. The shared effects lie in the "pk" folder beside the
// program's folder, the game's own sounds (planes, pair chains, the hand's
// end) in the game's folder.
void playSharedEffect(core::CoreContext &c, std::string_view file);
void playGameSound(core::CoreContext &c, std::string_view file);

} // namespace tessaroc::play
