#pragma once

#include "platform/VideoDevices.h"

namespace tessaroc::video {

// The video link of this configuration: no video server and no peers. Every
// slot is free and nameless, and nothing is ever sent or received.
class NullP2PSocket final : public platform::P2PSocket
{
public:
    std::int16_t PeerState(std::int16_t) override { return 0; }
    QString PeerName(std::int16_t) override { return {}; }
    std::int16_t PeerCount() override { return count_; }
    void setPeerCount(std::int16_t count) override { count_ = count; }
    void setServerAddress(const QString &) override { }
    void setServerPort(std::int32_t) override { }
    void Login(const QString &) override { }
    void Logout() override { }
    void RequestPeer(std::int16_t, const QString &) override { }
    void DropPeer(std::int16_t) override { }
    void SendFormat(std::int16_t, const platform::CaptureFormat &) override { }
    void SendRate(std::int16_t, std::int16_t) override { }
    void SendFrame(std::int16_t, const platform::VideoFrame &) override { }

private:
    std::int16_t count_ = 3;
};

// No camera: a start reports that there is no device.
class NullCamera final : public platform::CameraDevice
{
public:
    static constexpr std::int16_t NoDevice = 1;

    platform::CaptureFormat captureFormat() override { return {}; }
    std::int16_t CaptureRate() override { return rate_; }
    void setCaptureRate(std::int16_t rate) override { rate_ = rate; }
    void setOption1(bool) override { }
    void setOption2(bool) override { }
    void setOption4(bool) override { }
    void ResetDevice() override { }
    std::int16_t StartCapture() override { return NoDevice; }
    void StopCapture() override { }
    void ReleaseDevice() override { }

private:
    std::int16_t rate_ = 0;
};

} // namespace tessaroc::video
