#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <thread>

namespace tessaroc::tableserver {

// Writes the game record to a file descriptor from a thread of its own, so
// that an output nobody reads (a full pipe, a stopped terminal) never holds
// up the table: lines wait in a bounded queue, and what does not fit is
// dropped and counted, the count written once the output moves again.
class LogWriter
{
public:
    explicit LogWriter(int fd, std::size_t maxQueuedBytes = 1 << 20);
    // Waits up to a second for the queue to drain; a writer stuck on an
    // output nobody reads is left behind, and ends with the process.
    ~LogWriter();

    LogWriter(const LogWriter &) = delete;
    LogWriter &operator=(const LogWriter &) = delete;

    // Queues one line (a newline is added); never blocks on the output.
    void write(std::string line);
    std::size_t dropped() const;

private:
    struct State;
    std::shared_ptr<State> state_;
    std::thread thread_;
};

} // namespace tessaroc::tableserver
