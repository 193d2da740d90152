#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>

namespace tessaroc::platform {

// One video frame: opaque bytes, kept and passed on unchanged. The frames of
// our cameras are complete BMP images.
using VideoFrame = QByteArray;

// The capture format of the own camera, handed to the peers as it is.
struct CaptureFormat
{
    std::array<std::int32_t, 4> words{};
    bool operator==(const CaptureFormat &) const = default;
};

// The peer-to-peer video link (P2PSocket): a log-in at the video server and
// frames exchanged with up to three peers on slots 1 to 3. Its events reach
// whoever set the handlers.
class P2PSocket
{
public:
    virtual ~P2PSocket() = default;

    // Below 1 free; 10 or more connected; 14 and 15 ready for frames; 15
    // takes every frame.
    virtual std::int16_t PeerState(std::int16_t slot) = 0;
    virtual QString PeerName(std::int16_t slot) = 0;
    virtual std::int16_t PeerCount() = 0;
    virtual void setPeerCount(std::int16_t count) = 0;
    virtual void setServerAddress(const QString &host) = 0;
    virtual void setServerPort(std::int32_t port) = 0;
    virtual void Login(const QString &account) = 0;
    virtual void Logout() = 0;
    virtual void RequestPeer(std::int16_t slot, const QString &account) = 0;
    virtual void DropPeer(std::int16_t slot) = 0;
    virtual void SendFormat(std::int16_t slot, const CaptureFormat &format) = 0;
    virtual void SendRate(std::int16_t slot, std::int16_t rate) = 0;
    virtual void SendFrame(std::int16_t slot, const VideoFrame &frame) = 0;

    // Events: the log-in state (2 = logged in), a slot's state, a frame.
    std::function<void(std::int16_t)> onLoginState;
    std::function<void(std::int16_t, std::int16_t)> onPeerState;
    std::function<void(std::int16_t, const VideoFrame &)> onFrameReceived;
};

// The own camera (vcap): captures frames once started.
class CameraDevice
{
public:
    virtual ~CameraDevice() = default;

    static constexpr std::int16_t Capturing = 0;

    virtual CaptureFormat captureFormat() = 0;
    virtual std::int16_t CaptureRate() = 0;
    virtual void setCaptureRate(std::int16_t rate) = 0;
    virtual void setOption1(bool on) = 0;
    virtual void setOption2(bool on) = 0;
    virtual void setOption4(bool on) = 0;
    virtual void ResetDevice() = 0;
    // 0 capturing; anything else: no device, or the device is busy.
    virtual std::int16_t StartCapture() = 0;
    virtual void StopCapture() = 0;
    virtual void ReleaseDevice() = 0;

    // Event: one captured frame.
    std::function<void(const VideoFrame &)> onFrameCaptured;
};

// Something that draws frames (vshow).
class FrameView
{
public:
    virtual ~FrameView() = default;
    virtual void DrawFrame(const VideoFrame &frame) = 0;
};

} // namespace tessaroc::platform
