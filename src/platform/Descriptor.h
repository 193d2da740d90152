#pragma once

#include <unistd.h>

namespace tessaroc::platform {

// A file descriptor closed when it goes out of scope.
class Descriptor
{
public:
    explicit Descriptor(int fd)
        : fd_(fd)
    { }
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int get() const { return fd_; }
    // Keeps the descriptor open for good.
    void release() { fd_ = -1; }
    // Closes now; false when the close reports an error (a write that did
    // not reach the disk).
    bool close()
    {
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0;
    }

private:
    int fd_;
};

} // namespace tessaroc::platform
