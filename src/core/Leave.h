#pragma once

namespace tessaroc::core {

struct CoreContext;
struct MainLoopState;

// Marks one way out of the table as running, for as long as it lives. The
// waits inside a leave serve window events, so the hall's leave request, a
// dialog button or a second press of the same button can arrive meanwhile; a
// leave begun then finds the mark and does nothing, and the running one keeps
// its order of steps. Every leave path makes one first and stops at once when
// it was not entered.
class LeaveScope
{
public:
    explicit LeaveScope(CoreContext &c);
    ~LeaveScope();
    LeaveScope(const LeaveScope &) = delete;
    LeaveScope &operator=(const LeaveScope &) = delete;

    bool entered() const { return entered_; }

private:
    MainLoopState &loop_;
    bool entered_;
};

// The first step of every way out of the table: the main loop disarmed and
// stopped with the keep-alive, the leave frame sent straight through the
// socket while it is connected, a short wait for it to go out, no
// reconnection from then on. The caller resets the table afterwards.
void CloseVideoAndLeave(CoreContext &c);

} // namespace tessaroc::core
