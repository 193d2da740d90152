#pragma once

namespace tessaroc::core::services {

// What the client core asks of the video panels. Video stays disabled in this
// configuration; these are the calls the main loop and the unload make.
class Video
{
public:
    virtual ~Video() = default;

    virtual void ShowLocalVideo(bool videoOn, bool hide) = 0;
    // P2PSocket.Logout on the peer-to-peer link.
    virtual void Logout() = 0;
    // vcap.StopCapture, then vcap.Shutdown on the own camera.
    virtual void StopCamera() = 0;
};

} // namespace tessaroc::core::services
