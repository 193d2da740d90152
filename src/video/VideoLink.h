#pragma once

#include "core/services/Video.h"
#include "platform/VideoDevices.h"
#include "video/VideoHost.h"
#include "video/VideoPanel.h"

#include <QTimer>

#include <array>
#include <memory>

namespace tessaroc::core {
struct CoreContext;
}
namespace tessaroc::items {
class ItemBridge;
}

namespace tessaroc::video {

// The video link: the own camera, the peer-to-peer link to the three table
// mates, the small views on the table, their buttons and the four panel
// windows. The link follows the hand: the dispatcher logs in and opens the
// camera at the deal, requests the mates' pictures at the first bidding
// step and closes everything at the hand's result.
//
// Two switches of the shared state govern it: VideoAllowed gates every step
// that touches the video server or the camera (the start-up clears it and
// nothing sets it), CameraSkipped makes these steps the link's own (the
// start-up sets it and nothing clears it).
class VideoLink final : public core::services::Video
{
public:
    static constexpr std::int32_t VideoPort = 8888;
    static constexpr std::int16_t VideoMaxPeers = 3;
    static constexpr std::uint32_t MusicBoxMsgActivate = 1135;
    static inline const QString kNoCamera = QStringLiteral("您没有视频设备或您的视频源正在使用。");
    static inline const QString kPhotoSaved = QStringLiteral("照相成功,照片保存在本机相册中。");
    static inline const QString OperatorWebHost = QStringLiteral("www.velmogame.example");

    VideoLink(core::CoreContext &context, platform::P2PSocket &socket,
              platform::CameraDevice &camera, VideoHost &host, items::ItemBridge &items);
    ~VideoLink() override;

    // What the core calls.
    void ShowLocalVideo(bool videoOn, bool hide) override;
    void Logout() override;
    void StopCamera() override;
    void LoginVideoServer() override;
    void OpenLocalVideo() override;
    void RequestVideo() override;
    void ExitVideo() override;
    void DropPeer(const QString &accountName) override;
    void SeatLeft(int pos) override;
    void LeaveTable() override;

    // The controls' events.
    void P2PSocket1_LoginState(std::int16_t state);
    void P2PSocket1_PeerState(std::int16_t slot, std::int16_t state);
    void P2PSocket1_FrameReceived(std::int16_t slot, const platform::VideoFrame &frame);
    void vcap1_FrameCaptured(const platform::VideoFrame &frame);

    // The table's video views.
    void ImgShow_Click(int index);
    void Timer_Vshow_Timer(int pos);
    void Timer_Zoom_Timer();
    void vshow_PointerMove(int index, int a, int b, float x, float y);
    // The video buttons on the name strips.
    void ImCmd_Click(int index);
    void ImCmd_MouseMove(int index);
    void PicLocal_MouseMove();
    void PhotoSavedNotice();
    // The file the last photo went to ("" when none was written).
    const QString &lastPhoto() const { return lastPhoto_; }

    // The panel window of display position k (0 own), loaded on demand.
    VideoPanel &panel(int k);
    VideoPanel *loadedPanel(int k) const { return panels_[static_cast<std::size_t>(k)].get(); }
    void UnloadPanel(int k);

    QTimer &Timer_Vshow(int pos) { return Timer_Vshow_[static_cast<std::size_t>(pos)]; }
    QTimer &Timer_Zoom() { return Timer_Zoom_; }

    // The link's state.
    std::array<bool, 5> CameraState{}; // 1 camera opened, 2 logged in, 3 requested, 4 closed
    bool VideoLoggedIn = false;
    bool VideoRequestsDone = false;
    platform::VideoFrame OwnVideoFrame;
    std::array<platform::VideoFrame, 4> PeerVideoFrame{}; // 1..3
    std::array<bool, 4> PeerShown{}; // 1..3
    std::array<bool, 4> PeerVideoClosed{}; // 1..3
    std::array<std::int16_t, 4> PeerSendCount{}; // by slot 1..3
    std::int16_t ZoomTarget = 0;
    std::array<bool, 16> VideoButtonHover{};

private:
    void RequestPeers(bool lastSlotWins);
    void RequestPeer(int mate, std::int16_t slot);
    int SeatOfPeer(std::int16_t slot);
    void ReportVideo(bool hidden, int pos);
    void StartSeatTimer(int pos);
    void PopOut(int k);
    void SavePhoto(int k);
    void MusicBox();
    void CloseMateVideo(int k);
    QString mateName(int pos) const;
    QString ownAccount() const;
    QString photoFolder() const;
    bool videoAllowed() const;
    bool cameraSkipped() const;
    bool &videoOn();

    core::CoreContext &c_;
    platform::P2PSocket &socket_;
    platform::CameraDevice &camera_;
    VideoHost &host_;
    items::ItemBridge &items_;
    std::array<QTimer, 4> Timer_Vshow_; // 1..3
    QTimer Timer_Zoom_;
    std::array<std::unique_ptr<VideoPanel>, 4> panels_;
    QString lastPhoto_;
};

} // namespace tessaroc::video
