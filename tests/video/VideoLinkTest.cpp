#include "VideoFixture.h"

namespace tessaroc::test {
namespace {

using video::VideoControl;

struct VideoLink : VideoFixture
{
};

// As the program runs: the hand's steps keep their guards, and neither the
// peer link nor the camera is ever called.
TEST_F(VideoLink, WithVideoNotAllowedAHandTouchesNoControl)
{
    for (int hand = 0; hand < 2; ++hand) {
        deal();
        EXPECT_TRUE(link.CameraState[2]);
        EXPECT_FALSE(link.CameraState[1]) << "the camera is opened only where video is allowed";
        link.RequestVideo();
        EXPECT_TRUE(link.CameraState[3]);
        link.ExitVideo();
        EXPECT_TRUE(link.CameraState[4]);
        EXPECT_FALSE(link.CameraState[2] || link.CameraState[3]);
    }
    link.DropPeer(QString());
    EXPECT_TRUE(peers.calls.empty());
    EXPECT_TRUE(camera.calls.empty());
    EXPECT_TRUE(host.controls.empty());
    EXPECT_FALSE(state.VideoOn);
}

TEST_F(VideoLink, ADealLogsInAndOpensTheCameraOncePerHand)
{
    state.core.VideoAllowed = true;
    host.at(VideoControl::Tou, 0).rect = QRectF(20, 600, 80, 90);
    deal();
    deal();
    EXPECT_EQ(peers.actions(),
              (Strings{"setServerAddress 10.0.0.5", "setServerPort 8888", "setPeerCount 3",
                       "Login me"}));
    EXPECT_EQ(camera.calls,
              (Strings{"ResetDevice", "Option4 1", "Option2 1", "setCaptureRate 2", "Option1 0",
                       "StartCapture"}));
    EXPECT_TRUE(state.VideoOn);
    EXPECT_TRUE(host.systemLines.empty());
    EXPECT_TRUE(shown(VideoControl::vcap1, 0));
    EXPECT_TRUE(shown(VideoControl::PicLocal, 0));
    EXPECT_EQ(host.at(VideoControl::vcap1, 0).rect, QRectF(20, 600, 80, 83));
    EXPECT_EQ(host.at(VideoControl::Proponeself, 0).rect, QRectF(10, 590, 95, 118));
}

TEST_F(VideoLink, ACameraThatCannotStartIsReportedAndTriedNextHand)
{
    state.core.VideoAllowed = true;
    camera.startAnswer = 1;
    deal();
    EXPECT_FALSE(state.VideoOn);
    EXPECT_EQ(host.systemLines, std::vector<QString>{video::VideoLink::kNoCamera});
    EXPECT_FALSE(shown(VideoControl::vcap1, 0));
    link.ExitVideo();
    camera.startAnswer = 0;
    deal();
    EXPECT_TRUE(state.VideoOn);
    EXPECT_EQ(host.systemLines.size(), 1u);
}

TEST_F(VideoLink, TheTwoRequestPassesChooseTheirSlotsDifferently)
{
    state.core.VideoAllowed = true;
    names({"me", "bo", "", ""});
    // bo sits on slot 1, which is still connecting; slot 3 is free.
    peers.names[1] = QStringLiteral("bo");
    peers.states = {0, 5, 1, 0};
    link.LoginVideoServer();
    peers.calls.clear();
    link.P2PSocket1_LoginState(2);
    EXPECT_EQ(peers.actions(), Strings{"RequestPeer 3 bo"}) << "the last qualifying slot";
    link.P2PSocket1_LoginState(2);
    EXPECT_EQ(peers.actions(), Strings{"RequestPeer 3 bo"}) << "a second log-in asks nothing";

    peers.calls.clear();
    peers.states = {0, 5, 1, 0};
    peers.names = {};
    peers.names[1] = QStringLiteral("bo");
    link.RequestVideo();
    // The first qualifying slot; nameless mates are asked for as well, on the
    // first slot without a name.
    EXPECT_EQ(peers.actions(), (Strings{"RequestPeer 1 bo", "RequestPeer 2 ", "RequestPeer 2 "}));
}

TEST_F(VideoLink, ALateLogInAfterTheLinkClosedAsksNothing)
{
    state.core.VideoAllowed = true;
    deal();
    link.ExitVideo();
    peers.calls.clear();
    link.P2PSocket1_LoginState(2);
    EXPECT_TRUE(peers.actions().empty());
}

TEST_F(VideoLink, AReadyPeerGetsTheFormatTheRateAndTheLastFrame)
{
    const platform::VideoFrame frame = camera.capture();
    peers.calls.clear();
    for (std::int16_t peerState : {std::int16_t{13}, std::int16_t{14}, std::int16_t{15}})
        link.P2PSocket1_PeerState(2, peerState);
    EXPECT_EQ(peers.actions(),
              (Strings{"SendFormat 2", "SendRate 2 0", "SendFrame 2", "SendFormat 2",
                       "SendRate 2 0", "SendFrame 2"}));
    EXPECT_EQ(peers.sentFrames.back().second, frame);
}

TEST_F(VideoLink, CapturedFramesAreThrottledForSlotsNotTakingEveryFrame)
{
    peers.states = {0, 12, 15, 3};
    std::vector<int> sentToSlot1;
    for (int n = 1; n <= 70; ++n) {
        peers.sentFrames.clear();
        camera.capture();
        for (const auto &[slot, frame] : peers.sentFrames) {
            if (slot == 1)
                sentToSlot1.push_back(n);
        }
        EXPECT_EQ(std::count_if(peers.sentFrames.begin(), peers.sentFrames.end(),
                                [](const auto &s) { return s.first == 2; }),
                  1);
        EXPECT_TRUE(std::none_of(peers.sentFrames.begin(), peers.sentFrames.end(),
                                 [](const auto &s) { return s.first == 3; }));
    }
    EXPECT_EQ(sentToSlot1, (std::vector<int>{1, 2, 3, 24, 45, 66}));
    EXPECT_NE(link.loadedPanel(0), nullptr) << "the own panel is loaded, hidden";
    EXPECT_FALSE(link.loadedPanel(0)->isVisible());
}

TEST_F(VideoLink, AMatesFirstFrameShowsHisViewAndLaterFramesAreDrawn)
{
    itemsRunning();
    peers.names[2] = QStringLiteral("cy");
    peers.states[2] = 14;
    const auto first = SyntheticCamera::bmpFrame(1);
    const auto second = SyntheticCamera::bmpFrame(2);
    link.P2PSocket1_FrameReceived(2, first);
    EXPECT_TRUE(shown(VideoControl::vshow, 2));
    EXPECT_TRUE(shown(VideoControl::ImgKuang, 2));
    EXPECT_TRUE(shown(VideoControl::PicLocal, 2));
    EXPECT_TRUE(host.views[2].drawn.empty()) << "the first frame waits for the redraw";
    EXPECT_TRUE(link.Timer_Vshow(2).isActive());
    EXPECT_EQ(library->calls, Strings{"rec_state 2 0 2"});
    link.Timer_Vshow_Timer(2);
    link.P2PSocket1_FrameReceived(2, second);
    EXPECT_EQ(host.views[2].drawn, (std::vector<platform::VideoFrame>{first, second}));
    EXPECT_EQ(link.PeerVideoFrame[2], second);
    EXPECT_NE(link.loadedPanel(2), nullptr);
}

TEST_F(VideoLink, FramesOfClosedUnknownOrExcessPeersAreNotShown)
{
    peers.names = {QString(), QStringLiteral("bo"), QStringLiteral("cy"), QStringLiteral("zed")};
    peers.states = {0, 12, 12, 12};
    link.PeerVideoClosed[1] = link.PeerVideoClosed[2] = true;
    const auto frame = SyntheticCamera::bmpFrame(3);
    link.P2PSocket1_FrameReceived(1, frame);
    link.P2PSocket1_FrameReceived(2, frame);
    link.P2PSocket1_FrameReceived(3, frame);
    peers.count = 2;
    peers.names[2] = QStringLiteral("dee");
    link.P2PSocket1_FrameReceived(3, frame);
    EXPECT_TRUE(link.PeerVideoFrame[1].isEmpty()) << "seat 1 closed: not kept";
    EXPECT_EQ(link.PeerVideoFrame[2], frame) << "seat 2 closed: kept for a photo";
    EXPECT_TRUE(link.PeerVideoFrame[3].isEmpty());
    for (int k = 1; k <= 3; ++k)
        EXPECT_FALSE(shown(VideoControl::vshow, k)) << k;
}

TEST_F(VideoLink, ClosingTheLinkPutsEverySeatBack)
{
    itemsRunning();
    state.core.VideoAllowed = true;
    names({"me", "bo", "", "dee"});
    deal();
    link.RequestVideo();
    peers.states = {0, 12, 0, 12};
    link.P2PSocket1_FrameReceived(1, SyntheticCamera::bmpFrame(1));
    link.PeerVideoClosed[3] = true;
    peers.calls.clear();
    camera.calls.clear();
    library->calls.clear();
    link.ExitVideo();
    // Slot 2 was asked for the empty seat; it goes as well.
    EXPECT_EQ(peers.actions(), (Strings{"DropPeer 1", "DropPeer 2", "DropPeer 3", "Logout"}));
    EXPECT_EQ(camera.calls, Strings{"StopCapture"});
    EXPECT_EQ(library->calls, (Strings{"rec_state 2 -1 1", "rec_state 2 -1 3", "rec_state 2 -1 0"}))
            << "the nameless seat is not reported";
    for (int k = 1; k <= 3; ++k) {
        EXPECT_FALSE(shown(VideoControl::vshow, k));
        EXPECT_TRUE(shown(VideoControl::Tou, k));
        EXPECT_FALSE(link.PeerShown[static_cast<std::size_t>(k)]);
        EXPECT_FALSE(link.PeerVideoClosed[static_cast<std::size_t>(k)]);
        EXPECT_TRUE(link.PeerVideoFrame[static_cast<std::size_t>(k)].isEmpty());
    }
    EXPECT_FALSE(state.VideoOn);
    EXPECT_TRUE(link.VideoRequestsDone);
}

TEST_F(VideoLink, AUserLeavingDropsOnlyHisOwnSlots)
{
    peers.names = {QString(), QStringLiteral("bo"), QString(), QStringLiteral("bo")};
    link.PeerVideoFrame[1] = SyntheticCamera::bmpFrame(1);
    link.PeerShown[1] = true;
    link.SeatLeft(1);
    link.DropPeer(QStringLiteral("bo"));
    link.DropPeer(QString());
    EXPECT_EQ(peers.actions(), (Strings{"DropPeer 1", "DropPeer 3"}));
    EXPECT_TRUE(link.PeerVideoFrame[1].isEmpty());
    EXPECT_FALSE(link.PeerShown[1]);
}

TEST_F(VideoLink, LeavingTheTableStartsTheGuardsOver)
{
    deal();
    link.LeaveTable();
    EXPECT_EQ(link.CameraState, (std::array<bool, 5>{}));
    EXPECT_TRUE(peers.calls.empty());

    state.core.VideoAllowed = true;
    link.panel(2).show();
    link.LeaveTable();
    EXPECT_EQ(peers.actions(), (Strings{"DropPeer 1", "DropPeer 2", "DropPeer 3", "Logout"}));
    EXPECT_EQ(link.loadedPanel(2), nullptr);
    EXPECT_TRUE(state.rules.HandRecords[2].name.empty());
}

TEST_F(VideoLink, TheUnloadLogsOutAndReleasesTheCamera)
{
    link.Logout();
    link.StopCamera();
    EXPECT_EQ(peers.actions(), Strings{"Logout"});
    EXPECT_EQ(camera.calls, (Strings{"StopCapture", "ReleaseDevice"}));
}

} // namespace
} // namespace tessaroc::test
