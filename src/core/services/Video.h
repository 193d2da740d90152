#pragma once

#include <QString>

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

    // The steps the commands take; each does something only while video is
    // allowed, which it never is here.
    virtual void LoginVideoServer() = 0;
    virtual void OpenLocalVideo() = 0;
    virtual void RequestVideo() = 0;
    virtual void ExitVideo() = 0;
    // The peer link of a user who left the table is dropped.
    virtual void DropPeer(const QString &accountName) = 0;
    // A table mate left: his video state is put back (the table hides his
    // views itself).
    virtual void SeatLeft(int /*pos*/) { }
    // The player leaves the table: the link's once-per-hand guards start
    // over, and while video is allowed the mates' videos are closed.
    virtual void LeaveTable() { }
};

} // namespace tessaroc::core::services
