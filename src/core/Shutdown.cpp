#include "core/Shutdown.h"

#include "core/CoreContext.h"
#include "core/HallWindowLink.h"
#include "wire/SentFrames.h"

namespace tessaroc::core {

void TimerKeepAlive_Timer(CoreContext &c)
{
    wire::MessageFrame frame = wire::KeepAliveFrame{c.ownSeatBit()}.encode();
    c.SendMsg(frame);
}

void Form_Unload(CoreContext &c, HallWindowLink &hall)
{
    hall.RestoreWndProc();
    if (c.state.sound.MusicOn)
        c.sound.StopMusic();
    if (c.state.sound.VoiceOn)
        c.sound.StopSound();
    if (c.state.gamedllstate > 0)
        c.items.ExitGameDll(1);
    c.video.Logout();
    if (c.state.VideoOn)
        c.video.StopCamera();
    c.window.UnloadWindows();
    c.process.End(ExitCode::NormalClose);
}

} // namespace tessaroc::core
