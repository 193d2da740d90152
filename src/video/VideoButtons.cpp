#include "core/CoreContext.h"
#include "video/VideoLink.h"

#include <QDir>
#include <QFile>

// The four command images on every video name strip: on the own strip the
// photo album, the pop-out panel, a photo and the music box; on a table
// mate's strip closing his video, the pop-out panel and a photo.
namespace tessaroc::video {

namespace {

constexpr int kButtonsPerStrip = 4;

struct ButtonPictures
{
    int normal;
    int hover;
};

// By button: the own strip's pictures, then a table mate's.
constexpr ButtonPictures kOwnPictures[] = {{863, 864}, {851, 855}, {852, 856}, {853, 857}};
constexpr ButtonPictures kMatePictures[] = {{850, 854}, {851, 855}, {852, 856}, {858, 859}};

const QString kOwnTips[] = {QStringLiteral("像册"), QStringLiteral("放大"), QStringLiteral("拍照"),
                            QStringLiteral("月光宝盒")};

// Where each panel first stands beside the table window, as parts of its
// width and height from the centre.
constexpr double kFirstPlace[4][2] = {{-0.2, +0.2}, {-0.25, -0.2}, {0, -0.2}, {+0.25, -0.2}};

ButtonPictures picturesOf(int index)
{
    const int button = index % kButtonsPerStrip;
    return index < kButtonsPerStrip ? kOwnPictures[button] : kMatePictures[button];
}

const QString kMusicBoxCaption = QStringLiteral("musicbox");
const QString kIncompleteHall
        = QStringLiteral("您的大厅安装不完整，请重新安装或到网站上下载独立的安装程序！");
const QString kIncompleteHallTitle = QStringLiteral("Ombrevale提示");

} // namespace

QString VideoLink::photoFolder() const
{
    return host_.ProgramFolder() + QStringLiteral("/photo");
}

void VideoLink::ImCmd_Click(int index)
{
    if (index < 0 || index >= 16 || (index % kButtonsPerStrip == 3 && index != 3))
        return;
    const int k = index / kButtonsPerStrip;
    switch (index % kButtonsPerStrip) {
    case 0:
        if (k == 0) {
            QDir().mkpath(photoFolder());
            host_.OpenFolder(photoFolder());
        } else {
            CloseMateVideo(k);
        }
        return;
    case 1:
        PopOut(k);
        return;
    case 2:
        SavePhoto(k);
        return;
    case 3:
        MusicBox();
        return;
    }
}

void VideoLink::PopOut(int k)
{
    if (VideoPanel *shown = loadedPanel(k); shown && shown->isVisible()) {
        UnloadPanel(k);
        return;
    }
    VideoPanel &p = panel(k);
    p.show();
    p.MakeTopMost();
    const QRectF table = host_.TableWindow();
    const VideoPanel::Rect &w = p.window();
    p.Move((table.width() - w.Width) / 2 + table.left() + kFirstPlace[k][0] * table.width(),
           (table.height() - w.Height) / 2 + table.top() + kFirstPlace[k][1] * table.height());
    ZoomTarget = static_cast<std::int16_t>(k);
    Timer_Zoom_.start();
}

// A photo is the seat's stored frame, byte for byte, in a file of its own:
// a name already taken gets "_1", "_2", ... before ".bmp", so no photo is
// written over.
void VideoLink::SavePhoto(int k)
{
    lastPhoto_.clear();
    const platform::VideoFrame &frame
            = k == 0 ? OwnVideoFrame : PeerVideoFrame[static_cast<std::size_t>(k)];
    const QString folder = photoFolder();
    if (!QDir().mkpath(folder))
        return;
    // Nothing received yet: there is no picture to keep.
    if (frame.isEmpty())
        return;
    const QDateTime now = host_.Now();
    const QDate d = now.date();
    const QTime t = now.time();
    const QString stem = folder + QLatin1Char('/') + QString::number(d.year())
            + QString::number(d.month()) + QString::number(d.day()) + QString::number(t.hour())
            + QString::number(t.minute()) + QString::number(t.second());
    for (int n = 0; n < 10000; ++n) {
        const QString name
                = n == 0 ? stem + QStringLiteral(".bmp") : stem + QStringLiteral("_%1.bmp").arg(n);
        QFile file(name);
        if (file.exists())
            continue;
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Truncate)) {
            if (file.exists())
                continue;
            return;
        }
        const bool written = file.write(frame) == frame.size() && file.flush();
        file.close();
        if (!written) {
            // A photo cut short is no photo.
            QFile::remove(name);
            return;
        }
        lastPhoto_ = name;
        PhotoSavedNotice();
        return;
    }
}

void VideoLink::PhotoSavedNotice()
{
    host_.AddSystemMessage(kPhotoSaved);
}

void VideoLink::MusicBox()
{
    if (host_.PostToWindow(kMusicBoxCaption, MusicBoxMsgActivate))
        return;
    host_.StopSound();
    const QString folder = host_.ProgramFolder();
    if (host_.FileExists(folder + QStringLiteral("\\..\\..\\plugin\\music.exe"),
                         QStringLiteral("music.exe"))) {
        host_.StartProgram(folder + QStringLiteral("\\..\\..\\\\plugin\\music.exe ") + ownAccount()
                           + QLatin1Char('$') + QString::fromStdString(c_.loop().line.ArgPassword)
                           + QLatin1Char('$') + OperatorWebHost + QLatin1Char('$'));
        return;
    }
    if (host_.AskOkCancel(kIncompleteHall, kIncompleteHallTitle))
        host_.OpenPage(QStringLiteral("http://") + OperatorWebHost + QStringLiteral("/magic.php"));
}

void VideoLink::CloseMateVideo(int k)
{
    const auto at = static_cast<std::size_t>(k);
    if (PeerVideoClosed[at])
        return;
    PeerVideoClosed[at] = true;
    host_.SetVisible(VideoControl::PicLocal, k, false);
    // A view that was not on show stays hidden; only a shown one is
    // reported hidden to the item library.
    if (host_.Visible(VideoControl::vshow, k)) {
        host_.SetVisible(VideoControl::vshow, k, false);
        host_.SetVisible(VideoControl::ImgKuang, k, false);
        ReportVideo(true, k);
    }
    if (VideoPanel *p = loadedPanel(k); p && p->isVisible())
        p->hide();
    host_.SetVisible(VideoControl::ImgShow, k, true);
}

void VideoLink::ImCmd_MouseMove(int index)
{
    if (index < 0 || index >= 16)
        return;
    const auto at = static_cast<std::size_t>(index);
    if (!VideoButtonHover[at]) {
        VideoButtonHover[at] = true;
        host_.LoadButtonPicture(index, picturesOf(index).hover);
    }
    if (index >= kButtonsPerStrip)
        return;
    const double sx = c_.state.table.scale.ScaleX;
    const double sy = c_.state.table.scale.ScaleY;
    const QRectF strip = host_.Rect(VideoControl::PicLocal, 0);
    const QRectF image = host_.ButtonRect(index);
    host_.Move(VideoControl::Tiplbl, 0,
               QRectF(strip.left() + image.left() + image.width(), strip.top() + 10 * sy,
                      (index == 3 ? 54 : 28) * sx, host_.Rect(VideoControl::Tiplbl, 0).height()));
    host_.SetTipText(kOwnTips[index]);
    host_.SetVisible(VideoControl::Tiplbl, 0, true);
    host_.ZOrder(VideoControl::Tiplbl, 0);
}

void VideoLink::PicLocal_MouseMove()
{
    if (host_.Visible(VideoControl::Tiplbl, 0))
        host_.SetVisible(VideoControl::Tiplbl, 0, false);
    for (int index = 0; index < 16; ++index) {
        const auto at = static_cast<std::size_t>(index);
        if (!VideoButtonHover[at])
            continue;
        VideoButtonHover[at] = false;
        host_.LoadButtonPicture(index, picturesOf(index).normal);
    }
}

} // namespace tessaroc::video
