// Stand-in for the group order of the own hand until the hand sorts are
// built: the hand keeps the order and places it has. Remove this file
// together with the landing of the real SortHandByGroup.
#include "play/PlayFlowService.h"

namespace tessaroc::play {

void PlayFlowService::SortHandByGroup(int, int) { }

} // namespace tessaroc::play
