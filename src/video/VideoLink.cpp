#include "video/VideoLink.h"

#include "core/CoreContext.h"
#include "items/ItemBridge.h"

namespace tessaroc::video {

namespace {

constexpr int kRedrawMs = 30; // the seats' one-shot redraws
constexpr int kZoomMs = 100; // the panels' one-shot redraw
constexpr std::int16_t kStateTaken = 1;
constexpr std::int16_t kStateConnected = 10;
constexpr std::int16_t kStateReady = 14;
constexpr std::int16_t kStateEveryFrame = 15;
constexpr std::int16_t kLoggedIn = 2;
constexpr std::int16_t kFirstFrames = 3;
constexpr std::int16_t kFrameEvery = 23;

} // namespace

VideoLink::VideoLink(core::CoreContext &context, platform::P2PSocket &socket,
                     platform::CameraDevice &camera, VideoHost &host, items::ItemBridge &items)
    : c_(context)
    , socket_(socket)
    , camera_(camera)
    , host_(host)
    , items_(items)
{
    // Each seat's redraw fires once, 30 ms after it was started; none runs
    // before a frame or a re-open starts it.
    for (int pos = 1; pos <= 3; ++pos) {
        QTimer &timer = Timer_Vshow(pos);
        timer.setSingleShot(true);
        timer.setInterval(kRedrawMs);
        QObject::connect(&timer, &QTimer::timeout, &timer, [this, pos] { Timer_Vshow_Timer(pos); });
    }
    Timer_Zoom_.setSingleShot(true);
    Timer_Zoom_.setInterval(kZoomMs);
    QObject::connect(&Timer_Zoom_, &QTimer::timeout, &Timer_Zoom_, [this] { Timer_Zoom_Timer(); });

    socket_.onLoginState = [this](std::int16_t state) {
        P2PSocket1_LoginState(state);
    };
    socket_.onPeerState = [this](std::int16_t slot, std::int16_t state) {
        P2PSocket1_PeerState(slot, state);
    };
    socket_.onFrameReceived = [this](std::int16_t slot, const platform::VideoFrame &frame) {
        P2PSocket1_FrameReceived(slot, frame);
    };
    camera_.onFrameCaptured = [this](const platform::VideoFrame &frame) {
        vcap1_FrameCaptured(frame);
    };
}

VideoLink::~VideoLink()
{
    socket_.onLoginState = nullptr;
    socket_.onPeerState = nullptr;
    socket_.onFrameReceived = nullptr;
    camera_.onFrameCaptured = nullptr;
}

bool VideoLink::videoAllowed() const
{
    return c_.state.core.VideoAllowed;
}

bool VideoLink::cameraSkipped() const
{
    return c_.state.core.CameraSkipped;
}

bool &VideoLink::videoOn()
{
    return c_.state.VideoOn;
}

QString VideoLink::mateName(int pos) const
{
    return QString::fromStdString(c_.state.rules.HandRecords[static_cast<std::size_t>(pos)].name);
}

QString VideoLink::ownAccount() const
{
    return mateName(0);
}

void VideoLink::ReportVideo(bool hidden, int pos)
{
    items_.RecStateVideo(hidden, pos);
}

// ---- The hand's steps ----

void VideoLink::LoginVideoServer()
{
    if (!cameraSkipped() || CameraState[2])
        return;
    CameraState[2] = true;
    CameraState[4] = false;
    if (videoAllowed()) {
        VideoLoggedIn = false;
        VideoRequestsDone = false;
        socket_.setServerAddress(QString::fromStdString(c_.loop().line.ServerHost));
        socket_.setServerPort(VideoPort);
        socket_.setPeerCount(VideoMaxPeers);
        socket_.Login(ownAccount());
    }
    ShowLocalVideo(videoOn(), false);
}

void VideoLink::OpenLocalVideo()
{
    if (!cameraSkipped() || !videoAllowed() || CameraState[1])
        return;
    CameraState[1] = true;
    host_.SetVisible(VideoControl::PicLocal, 0, false);
    host_.SetVisible(VideoControl::vcap1, 0, false);
    if (!videoOn()) {
        camera_.ResetDevice();
        const QRectF avatar = host_.Rect(VideoControl::Tou, 0);
        const QRectF view(avatar.left(), avatar.top(), avatar.width(),
                          avatar.height() - 7 * c_.state.table.scale.ScaleX);
        host_.Move(VideoControl::vcap1, 0, view);
        host_.Move(
                VideoControl::Proponeself, 0,
                QRectF(view.left() - 10, view.top() - 10, view.width() + 15, view.height() + 35));
        host_.SetEnabled(VideoControl::Proponeself, 0, true);
        host_.ZOrder(VideoControl::Proponeself, 0);
        camera_.setOption4(true);
        camera_.setOption2(true);
        camera_.setCaptureRate(2);
        camera_.setOption1(false);
        host_.SetVisible(VideoControl::vcap1, 0, false);
        if (camera_.StartCapture() == platform::CameraDevice::Capturing) {
            videoOn() = true;
        } else {
            videoOn() = false;
            host_.SetVisible(VideoControl::vcap1, 0, false);
            host_.SetVisible(VideoControl::PicLocal, 0, false);
            host_.AddSystemMessage(kNoCamera);
        }
    }
    ShowLocalVideo(videoOn(), false);
}

void VideoLink::ShowLocalVideo(bool on, bool)
{
    if (!on)
        return;
    host_.SetVisible(VideoControl::Tou, 0, true);
    ReportVideo(false, 0);
    host_.SetVisible(VideoControl::vcap1, 0, true);
    host_.SetVisible(VideoControl::PicLocal, 0, true);
    host_.ZOrder(VideoControl::vcap1, 0);
}

void VideoLink::RequestVideo()
{
    if (!cameraSkipped() || CameraState[3])
        return;
    CameraState[3] = true;
    CameraState[4] = false;
    if (videoAllowed())
        RequestPeers(false);
}

// The request pass over the table mates. RequestVideo takes the first slot
// that holds the mate or is free (also for a mate without a name); the pass
// after a log-in skips nameless mates and lets the last such slot win. Both
// rely on a request raising its slot's state at once.
void VideoLink::RequestPeers(bool lastSlotWins)
{
    for (int i = 1; i <= 3; ++i) {
        const QString name = mateName(i);
        if (lastSlotWins && name.isEmpty())
            continue;
        std::int16_t slot = lastSlotWins ? 1 : static_cast<std::int16_t>(i);
        const std::int16_t last = lastSlotWins ? socket_.PeerCount() : std::int16_t{3};
        for (std::int16_t j = 1; j <= last; ++j) {
            if (socket_.PeerName(j) == name || socket_.PeerState(j) < kStateTaken) {
                slot = j;
                if (!lastSlotWins)
                    break;
            }
        }
        RequestPeer(i, slot);
    }
}

void VideoLink::RequestPeer(int mate, std::int16_t slot)
{
    if (socket_.PeerState(slot) < kStateConnected && slot <= socket_.PeerCount())
        socket_.RequestPeer(slot, mateName(mate));
}

void VideoLink::ExitVideo()
{
    if (!cameraSkipped() || CameraState[4])
        return;
    CameraState[4] = true;
    CameraState[1] = CameraState[2] = CameraState[3] = false;
    if (!videoAllowed())
        return;
    for (int i = 1; i <= 3; ++i) {
        host_.SetVisible(VideoControl::vshow, i, false);
        host_.SetVisible(VideoControl::PicLocal, i, false);
        host_.SetVisible(VideoControl::ImgKuang, i, false);
        host_.SetVisible(VideoControl::ImgShow, i, false);
        host_.SetVisible(VideoControl::Tou, i, true);
        host_.ZOrder(VideoControl::Tou, i);
        const QString name = mateName(i);
        if (!name.isEmpty())
            ReportVideo(true, i);
        // Every slot on his name goes, for an empty seat the slots asked
        // for without a name too.
        for (std::int16_t j = 1; j <= 3; ++j) {
            if (socket_.PeerName(j) == name)
                socket_.DropPeer(j);
        }
        const auto at = static_cast<std::size_t>(i);
        PeerShown[at] = false;
        PeerVideoClosed[at] = false;
        PeerSendCount[at] = 0;
        if (VideoPanel *p = loadedPanel(i))
            p->hide();
        PeerVideoFrame[at].clear();
    }
    if (videoOn()) {
        camera_.StopCapture();
        host_.SetVisible(VideoControl::vcap1, 0, false);
        host_.SetVisible(VideoControl::PicLocal, 0, false);
        host_.SetVisible(VideoControl::Tiplbl, 0, false);
        host_.SetVisible(VideoControl::ImgShow, 0, false);
        host_.SetVisible(VideoControl::Tou, 0, true);
        host_.ZOrder(VideoControl::Tou, 0);
        ReportVideo(true, 0);
    }
    socket_.Logout();
    VideoRequestsDone = true;
    videoOn() = false;
}

void VideoLink::DropPeer(const QString &accountName)
{
    // A nameless user holds no peer slot; free slots have no name either.
    if (accountName.isEmpty())
        return;
    for (std::int16_t j = 1; j <= 3; ++j) {
        if (socket_.PeerName(j) == accountName)
            socket_.DropPeer(j);
    }
}

void VideoLink::SeatLeft(int pos)
{
    if (pos < 1 || pos > 3)
        return;
    const auto at = static_cast<std::size_t>(pos);
    PeerShown[at] = false;
    PeerVideoClosed[at] = false;
    PeerSendCount[at] = 0;
    if (VideoPanel *p = loadedPanel(pos))
        p->hide();
    PeerVideoFrame[at].clear();
}

void VideoLink::LeaveTable()
{
    if (videoAllowed()) {
        for (int i = 1; i <= 3; ++i) {
            const auto at = static_cast<std::size_t>(i);
            PeerSendCount[at] = 0;
            PeerVideoClosed[at] = false;
            PeerShown[at] = false;
            host_.SetVisible(VideoControl::PicLocal, i, false);
            host_.SetVisible(VideoControl::ImgShow, i, false);
            host_.SetVisible(VideoControl::ImgKuang, i, false);
            host_.SetVisible(VideoControl::vshow, i, false);
            socket_.DropPeer(static_cast<std::int16_t>(i));
            c_.state.rules.HandRecords[at].name.clear();
            UnloadPanel(i);
        }
        for (int i = 1; i <= 3; ++i)
            PeerVideoFrame[static_cast<std::size_t>(i)].clear();
        socket_.Logout();
    }
    CameraState = {};
}

void VideoLink::Logout()
{
    socket_.Logout();
    VideoRequestsDone = false;
}

void VideoLink::StopCamera()
{
    camera_.StopCapture();
    camera_.ReleaseDevice();
}

// ---- Events ----

void VideoLink::P2PSocket1_LoginState(std::int16_t state)
{
    if (state != kLoggedIn) {
        VideoLoggedIn = false;
        return;
    }
    if (!VideoLoggedIn && !VideoRequestsDone) {
        VideoRequestsDone = true;
        RequestPeers(true);
    }
    VideoLoggedIn = true;
}

void VideoLink::P2PSocket1_PeerState(std::int16_t slot, std::int16_t state)
{
    if (state != kStateReady && state != kStateEveryFrame)
        return;
    socket_.SendFormat(slot, camera_.captureFormat());
    socket_.SendRate(slot, camera_.CaptureRate());
    socket_.SendFrame(slot, OwnVideoFrame);
}

void VideoLink::vcap1_FrameCaptured(const platform::VideoFrame &frame)
{
    OwnVideoFrame = frame;
    const std::int16_t count = std::min(socket_.PeerCount(), VideoMaxPeers);
    for (std::int16_t slot = 1; slot <= count; ++slot) {
        const std::int16_t state = socket_.PeerState(slot);
        if (state < kStateConnected)
            continue;
        if (state == kStateEveryFrame) {
            socket_.SendFrame(slot, frame);
            continue;
        }
        // A slot that is not ready for every frame gets the first three and
        // then one frame in twenty-one.
        std::int16_t &sent = PeerSendCount[static_cast<std::size_t>(slot)];
        if (sent < kFirstFrames) {
            socket_.SendFrame(slot, frame);
            ++sent;
        } else if (sent >= kFrameEvery) {
            sent = kFirstFrames;
            socket_.SendFrame(slot, frame);
        } else {
            ++sent;
        }
    }
    panel(0);
}

int VideoLink::SeatOfPeer(std::int16_t slot)
{
    const QString name = socket_.PeerName(slot);
    for (int pos = 1; pos <= 3; ++pos) {
        if (mateName(pos) == name)
            return pos;
    }
    return 0;
}

void VideoLink::P2PSocket1_FrameReceived(std::int16_t slot, const platform::VideoFrame &frame)
{
    if (slot < 1 || slot > socket_.PeerCount())
        return;
    const int k = SeatOfPeer(slot);
    if (k == 0)
        return;
    const auto at = static_cast<std::size_t>(k);
    const bool connected = socket_.PeerState(slot) >= kStateConnected;
    if (k == 1) {
        if (!connected || PeerVideoClosed[at])
            return;
        PeerVideoFrame[at] = frame;
    } else {
        // A closed seat's frames are still kept, for a photo or a re-open.
        PeerVideoFrame[at] = frame;
        if (!connected || PeerVideoClosed[at])
            return;
    }
    if (!host_.Visible(VideoControl::vshow, k) && !PeerShown[at]) {
        ReportVideo(false, k);
        host_.SetVisible(VideoControl::ImgKuang, k, true);
        host_.SetVisible(VideoControl::PicLocal, k, true);
        StartSeatTimer(k);
        host_.SetVisible(VideoControl::vshow, k, true);
        host_.ZOrder(VideoControl::vshow, k);
        PeerShown[at] = true;
    } else {
        host_.View(k).DrawFrame(frame);
    }
    panel(k);
}

// ---- The table's views ----

void VideoLink::StartSeatTimer(int pos)
{
    Timer_Vshow(pos).start();
}

void VideoLink::ImgShow_Click(int index)
{
    if (index >= 1 && index <= 3) {
        PeerVideoClosed[static_cast<std::size_t>(index)] = false;
        host_.SetVisible(VideoControl::ImgKuang, index, true);
        host_.SetVisible(VideoControl::PicLocal, index, true);
        host_.SetVisible(VideoControl::vshow, index, true);
        host_.ZOrder(VideoControl::vshow, index);
        StartSeatTimer(index);
        ReportVideo(false, index);
        return;
    }
    if (index != 0 || !videoOn())
        return;
    camera_.StartCapture();
    host_.SetVisible(VideoControl::vcap1, 0, true);
    host_.SetVisible(VideoControl::PicLocal, 0, true);
    host_.ZOrder(VideoControl::vcap1, 0);
    host_.ZOrder(VideoControl::PicLocal, 0);
    host_.SetVisible(VideoControl::ImgShow, 0, false);
    host_.SetVisible(VideoControl::Tou, 0, false);
    host_.SetEnabled(VideoControl::Tou, 0, false);
    ReportVideo(false, 0);
}

void VideoLink::Timer_Vshow_Timer(int pos)
{
    Timer_Vshow(pos).stop();
    if (host_.Visible(VideoControl::PicLocal, pos))
        host_.View(pos).DrawFrame(PeerVideoFrame[static_cast<std::size_t>(pos)]);
}

void VideoLink::Timer_Zoom_Timer()
{
    Timer_Zoom_.stop();
    if (ZoomTarget == 0)
        panel(0).vshow().DrawFrame(OwnVideoFrame);
    else if (ZoomTarget >= 1 && ZoomTarget <= 3)
        panel(ZoomTarget).vshow().DrawFrame(PeerVideoFrame[static_cast<std::size_t>(ZoomTarget)]);
}

void VideoLink::vshow_PointerMove(int index, int, int, float x, float y)
{
    if (index < 1 || index > 3)
        return;
    host_.ShowPlayerCard(index, 0.14);
    const QRectF view = host_.Rect(VideoControl::vshow, index);
    items_.AimAtView(index, x, y, view.width(), view.height());
}

// ---- Panels ----

VideoPanel &VideoLink::panel(int k)
{
    auto &slot = panels_[static_cast<std::size_t>(k)];
    if (!slot) {
        VideoPanel::Hooks hooks;
        hooks.tableWindow = [this] {
            return host_.TableWindow();
        };
        hooks.zoom = [this](int number) {
            ZoomTarget = static_cast<std::int16_t>(number);
            Timer_Zoom_.start();
        };
        hooks.unload = [this](int number) {
            UnloadPanel(number);
        };
        slot = std::make_unique<VideoPanel>(k, c_.state.table.scale, std::move(hooks));
    }
    return *slot;
}

void VideoLink::UnloadPanel(int k)
{
    auto &slot = panels_[static_cast<std::size_t>(k)];
    if (!slot)
        return;
    // The panel may be unloading itself from its own close image: it goes
    // once its handler has returned.
    VideoPanel *gone = slot.release();
    gone->hide();
    gone->deleteLater();
}

} // namespace tessaroc::video
