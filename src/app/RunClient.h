#pragma once

#include "app/Client.h"

namespace tessaroc::app {

// Runs the table client to its end and returns its exit code. The devices
// behind the item library and the video link are this configuration's
// (none) unless given.
int RunClient(int argc, char **argv, const ClientDevices &devices);

} // namespace tessaroc::app
