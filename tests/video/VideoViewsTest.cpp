#include "VideoFixture.h"

#include <QDir>
#include <QFile>

namespace tessaroc::test {
namespace {

using video::VideoControl;

struct VideoViews : VideoFixture
{
};

TEST_F(VideoViews, TheThreeRedrawTimersHaveAnIntervalAndStartOff)
{
    for (int pos = 1; pos <= 3; ++pos) {
        EXPECT_FALSE(link.Timer_Vshow(pos).isActive()) << pos;
        EXPECT_EQ(link.Timer_Vshow(pos).interval(), 30) << pos;
        EXPECT_TRUE(link.Timer_Vshow(pos).isSingleShot()) << pos;
    }
    EXPECT_FALSE(link.Timer_Zoom().isActive());
    EXPECT_EQ(link.Timer_Zoom().interval(), 100);
}

TEST_F(VideoViews, ReopeningASeatClearsItsMarkAndRedrawsIt)
{
    itemsRunning();
    link.PeerVideoClosed[3] = true;
    host.at(VideoControl::ImgShow, 3).visible = true;
    link.ImgShow_Click(3);
    EXPECT_FALSE(link.PeerVideoClosed[3]);
    EXPECT_TRUE(shown(VideoControl::vshow, 3));
    EXPECT_TRUE(shown(VideoControl::ImgKuang, 3));
    EXPECT_TRUE(shown(VideoControl::ImgShow, 3)) << "a mate's re-open button stays";
    EXPECT_TRUE(link.Timer_Vshow(3).isActive());
    EXPECT_EQ(library->calls, Strings{"rec_state 2 0 3"});
}

TEST_F(VideoViews, TheOwnReopenButtonActsOnlyWithTheCameraOn)
{
    itemsRunning();
    link.ImgShow_Click(0);
    EXPECT_TRUE(camera.calls.empty());
    EXPECT_TRUE(library->calls.empty());
    EXPECT_TRUE(host.controls.empty());

    state.VideoOn = true;
    host.at(VideoControl::ImgShow, 0).visible = true;
    host.at(VideoControl::Tou, 0).visible = true;
    link.ImgShow_Click(0);
    EXPECT_EQ(camera.calls, Strings{"StartCapture"});
    EXPECT_TRUE(shown(VideoControl::vcap1, 0));
    EXPECT_FALSE(shown(VideoControl::ImgShow, 0));
    EXPECT_FALSE(shown(VideoControl::Tou, 0));
    EXPECT_FALSE(host.at(VideoControl::Tou, 0).enabled);
    EXPECT_EQ(library->calls, Strings{"rec_state 2 0 0"});
}

TEST_F(VideoViews, RedrawsDrawOnlyWhatStillShows)
{
    link.PeerVideoFrame[1] = SyntheticCamera::bmpFrame(1);
    link.Timer_Vshow(1).start();
    link.Timer_Vshow_Timer(1);
    EXPECT_TRUE(host.views[1].drawn.empty()) << "the name strip was hidden meanwhile";
    EXPECT_FALSE(link.Timer_Vshow(1).isActive());
    host.at(VideoControl::PicLocal, 1).visible = true;
    link.Timer_Vshow_Timer(1);
    EXPECT_EQ(host.views[1].drawn.size(), 1u);

    link.OwnVideoFrame = SyntheticCamera::bmpFrame(7);
    for (std::int16_t target : {std::int16_t{4}, std::int16_t{-1}}) {
        link.ZoomTarget = target;
        link.Timer_Zoom_Timer();
    }
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(link.loadedPanel(k), nullptr) << k;
    link.ZoomTarget = 0;
    link.Timer_Zoom_Timer();
    EXPECT_EQ(link.panel(0).vshow().lastFrame(), link.OwnVideoFrame);
    EXPECT_FALSE(link.panel(0).isVisible()) << "touching a panel loads it hidden";
}

TEST_F(VideoViews, PointerOverAViewShowsTheCardAndAimsOnce)
{
    itemsRunning();
    host.at(VideoControl::vshow, 2).rect = QRectF(0, 0, 116, 95);
    link.vshow_PointerMove(2, 0, 0, 300, 300);
    link.vshow_PointerMove(2, 0, 0, 330, 300);
    link.vshow_PointerMove(2, 0, 0, 2000, 300);
    EXPECT_EQ(host.playerCards.size(), 3u);
    EXPECT_EQ(host.playerCards[0], (std::pair<int, double>{2, 0.14}));
    EXPECT_EQ(library->calls, Strings{"ShowQnVideo 2 1"});
    EXPECT_EQ(items.PropTargetSeat, 3);
}

// ---- Buttons ----

TEST_F(VideoViews, APhotoNeverOverwritesAnotherAndKeepsTheFrameExactly)
{
    link.OwnVideoFrame = camera.capture();
    const QString stem = folder.path() + QStringLiteral("/photo/2010317957");
    // An older, longer file under the same name.
    QDir().mkpath(folder.path() + QStringLiteral("/photo"));
    QFile old(stem + QStringLiteral(".bmp"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(100000, 'x'));
    old.close();

    std::vector<QString> written;
    for (int i = 0; i < 3; ++i) {
        link.ImCmd_Click(2);
        written.push_back(link.lastPhoto());
    }
    EXPECT_EQ(
            written,
            (std::vector<QString>{stem + QStringLiteral("_1.bmp"), stem + QStringLiteral("_2.bmp"),
                                  stem + QStringLiteral("_3.bmp")}));
    for (const QString &name : written) {
        QFile photo(name);
        ASSERT_TRUE(photo.open(QIODevice::ReadOnly));
        const QByteArray bytes = photo.readAll();
        EXPECT_EQ(bytes, link.OwnVideoFrame);
        EXPECT_FALSE(QImage::fromData(bytes, "BMP").isNull());
    }
    EXPECT_EQ(QFileInfo(stem + QStringLiteral(".bmp")).size(), 100000) << "the old one is intact";
    EXPECT_EQ(host.systemLines,
              std::vector<QString>(3, QStringLiteral("照相成功,照片保存在本机相册中。")));
}

TEST_F(VideoViews, AMatesPhotoIsHisStoredFrameAndNoFrameGivesNoPhoto)
{
    link.ImCmd_Click(6);
    EXPECT_TRUE(link.lastPhoto().isEmpty());
    EXPECT_TRUE(host.systemLines.empty());
    link.PeerVideoFrame[1] = SyntheticCamera::bmpFrame(4);
    link.ImCmd_Click(6);
    QFile photo(link.lastPhoto());
    ASSERT_TRUE(photo.open(QIODevice::ReadOnly));
    EXPECT_EQ(photo.readAll(), link.PeerVideoFrame[1]);
}

TEST_F(VideoViews, TheAlbumIsCreatedAndOpened)
{
    link.ImCmd_Click(0);
    const QString album = folder.path() + QStringLiteral("/photo");
    EXPECT_TRUE(QDir(album).exists());
    EXPECT_EQ(host.calls, Strings{"OpenFolder " + album.toStdString()});
}

TEST_F(VideoViews, ClosingAMatesVideoOnceHidesItAndOffersTheReopen)
{
    itemsRunning();
    host.at(VideoControl::vshow, 2).visible = true;
    host.at(VideoControl::PicLocal, 2).visible = true;
    link.panel(2).show();
    link.ImCmd_Click(8);
    link.ImCmd_Click(8);
    EXPECT_TRUE(link.PeerVideoClosed[2]);
    EXPECT_FALSE(shown(VideoControl::vshow, 2));
    EXPECT_FALSE(shown(VideoControl::PicLocal, 2));
    EXPECT_TRUE(shown(VideoControl::ImgShow, 2));
    EXPECT_FALSE(link.panel(2).isVisible());
    EXPECT_NE(link.loadedPanel(2), nullptr) << "hidden, still loaded";
    EXPECT_EQ(library->calls, Strings{"rec_state 2 -1 2"});

    // A view that was not on show stays hidden and nothing is reported.
    library->calls.clear();
    link.ImCmd_Click(4);
    EXPECT_FALSE(shown(VideoControl::vshow, 1));
    EXPECT_TRUE(library->calls.empty());
}

TEST_F(VideoViews, PopOutOpensPlacesAndRedrawsThenUnloads)
{
    link.ImCmd_Click(4 * 3 + 1);
    video::VideoPanel *p = link.loadedPanel(3);
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->isVisible());
    EXPECT_EQ(p->window().Left, (15360 - 4140) / 2.0 + 0.25 * 15360);
    EXPECT_EQ(p->window().Top, (11520 - 3225) / 2.0 - 0.2 * 11520);
    EXPECT_EQ(link.ZoomTarget, 3);
    EXPECT_TRUE(link.Timer_Zoom().isActive());
    link.ImCmd_Click(13);
    EXPECT_EQ(link.loadedPanel(3), nullptr);
    link.ImCmd_Click(13);
    EXPECT_NE(link.loadedPanel(3), nullptr);
}

TEST_F(VideoViews, TheMusicBoxIsWokenStartedOrAskedFor)
{
    host.musicBoxRunning = true;
    link.ImCmd_Click(3);
    EXPECT_EQ(host.calls, Strings{"PostToWindow musicbox 1135"});

    host.calls.clear();
    host.musicBoxRunning = false;
    host.musicBoxInstalled = true;
    link.ImCmd_Click(3);
    const std::string at = folder.path().toStdString();
    EXPECT_EQ(
            host.calls,
            (Strings{"PostToWindow musicbox 1135", "StopSound",
                     "FileExists " + at + "\\..\\..\\plugin\\music.exe music.exe",
                     "StartProgram " + at
                             + "\\..\\..\\\\plugin\\music.exe me$secret$www.velmogame.example$"}));

    host.calls.clear();
    host.musicBoxInstalled = false;
    host.answerOk = true;
    link.ImCmd_Click(3);
    EXPECT_EQ(host.calls.back(), "OpenPage http://www.velmogame.example/magic.php");
}

TEST_F(VideoViews, ButtonsWithoutAnActionDoNothing)
{
    for (int index : {7, 11, 15, 16, -1})
        link.ImCmd_Click(index);
    EXPECT_TRUE(host.calls.empty());
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(link.loadedPanel(k), nullptr);
}

TEST_F(VideoViews, HoverPicturesLoadOnceUntilTheStripIsLeft)
{
    host.at(VideoControl::PicLocal, 0).rect = QRectF(10, 700, 90, 20);
    link.ImCmd_MouseMove(3);
    link.ImCmd_MouseMove(3);
    link.ImCmd_MouseMove(9);
    EXPECT_EQ(host.pictureLoads, (std::vector<std::pair<int, int>>{{3, 857}, {9, 855}}));
    EXPECT_EQ(host.tipText, QStringLiteral("月光宝盒"));
    EXPECT_EQ(host.at(VideoControl::Tiplbl, 0).rect.left(), 10 + 62 + 17);
    EXPECT_EQ(host.at(VideoControl::Tiplbl, 0).rect.width(), 54);
    EXPECT_TRUE(shown(VideoControl::Tiplbl, 0));
    link.PicLocal_MouseMove();
    EXPECT_FALSE(shown(VideoControl::Tiplbl, 0));
    EXPECT_EQ(host.buttonPictures[3], 853);
    EXPECT_EQ(host.buttonPictures[9], 851);
    link.ImCmd_MouseMove(3);
    EXPECT_EQ(host.buttonPictures[3], 857);
}

} // namespace
} // namespace tessaroc::test
