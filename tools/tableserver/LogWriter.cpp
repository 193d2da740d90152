#include "LogWriter.h"

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

#include <unistd.h>

namespace tessaroc::tableserver {

// Shared with the writing thread, which may outlive the writer when its
// output never moves again.
struct LogWriter::State
{
    int fd = -1;
    std::size_t maxQueuedBytes = 0;
    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable drained;
    std::deque<std::string> queue;
    std::size_t queuedBytes = 0;
    std::size_t dropped = 0;
    std::size_t droppedUnreported = 0;
    bool writing = false;
    bool stopping = false;

    void run()
    {
        std::unique_lock lock(mutex);
        while (true) {
            wake.wait(lock, [this] { return stopping || !queue.empty(); });
            if (queue.empty()) {
                drained.notify_all();
                return;
            }
            std::string line = std::move(queue.front());
            queue.pop_front();
            writing = true;
            lock.unlock();
            std::size_t done = 0;
            while (done < line.size()) {
                const ssize_t n = ::write(fd, line.data() + done, line.size() - done);
                if (n < 0 && errno == EINTR)
                    continue;
                if (n <= 0)
                    break; // a closed output: the line is lost, the game goes on
                done += static_cast<std::size_t>(n);
            }
            lock.lock();
            writing = false;
            queuedBytes -= line.size();
            if (queue.empty())
                drained.notify_all();
        }
    }
};

LogWriter::LogWriter(int fd, std::size_t maxQueuedBytes)
    : state_(std::make_shared<State>())
{
    state_->fd = fd;
    state_->maxQueuedBytes = maxQueuedBytes;
    thread_ = std::thread([state = state_] { state->run(); });
}

LogWriter::~LogWriter()
{
    State &state = *state_;
    std::unique_lock lock(state.mutex);
    state.stopping = true;
    state.wake.notify_all();
    const bool drained = state.drained.wait_for(lock, std::chrono::seconds(1), [&state] {
        return state.queue.empty() && !state.writing;
    });
    lock.unlock();
    if (drained) {
        thread_.join();
    } else {
        // The output does not move: the thread stays blocked in its write,
        // holding its share of the state, and goes with the process.
        thread_.detach();
    }
}

void LogWriter::write(std::string line)
{
    State &state = *state_;
    line += '\n';
    std::lock_guard lock(state.mutex);
    if (state.queuedBytes + line.size() > state.maxQueuedBytes) {
        ++state.dropped;
        ++state.droppedUnreported;
        return;
    }
    if (state.droppedUnreported > 0) {
        std::string note = "(" + std::to_string(state.droppedUnreported)
                + " lines of the record were dropped: the output was not read)\n";
        state.queuedBytes += note.size();
        state.queue.push_back(std::move(note));
        state.droppedUnreported = 0;
    }
    state.queuedBytes += line.size();
    state.queue.push_back(std::move(line));
    state.wake.notify_one();
}

std::size_t LogWriter::dropped() const
{
    std::lock_guard lock(state_->mutex);
    return state_->dropped;
}

} // namespace tessaroc::tableserver
