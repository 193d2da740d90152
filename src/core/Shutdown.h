#pragma once

namespace tessaroc::core {

struct CoreContext;
class HallWindowLink;

// Every 5 s between the login answer and a hand start: a keep-alive frame
// with the own seat, queued whatever the connection (the send slot drops it
// when there is none).
void TimerKeepAlive_Timer(CoreContext &c);

// MainForm.Form_Unload: the hall's messages given up, sound stopped, the item
// library and the video shut down, every other window unloaded, then the
// program ends normally. No leave frame goes out: the socket closes with the
// process.
void Form_Unload(CoreContext &c, HallWindowLink &hall);

} // namespace tessaroc::core
