#pragma once

#include <functional>

class QObject;

namespace tessaroc::tools {

// SIGTERM and SIGINT, caught for a program that must end through its event
// loop: the handler only writes the signal's number to a pipe. False when
// the pipe or the handlers cannot be set up.
bool catchTermination();

// Hands the first caught signal's number to `handle`, inside the event loop
// of `context`'s thread; later signals change nothing.
void onTermination(QObject *context, std::function<void(int signal)> handle);

} // namespace tessaroc::tools
