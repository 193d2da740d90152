#pragma once

#include "wire/MessageFrame.h"

// The second half of the receive path: every frame cut from the ring goes
// through the dispatcher of a whole client whose table window is laid out
// offscreen. Whatever the frame, nothing faults or hangs, the client's tables
// keep their bounds, and a frame that would end the program or stop its main
// loop is followed by a client put back at the table.
void dispatchToClient(const tessaroc::wire::MessageFrame &frame);
