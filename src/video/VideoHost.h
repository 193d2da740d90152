#pragma once

#include "platform/VideoDevices.h"

#include <QDateTime>
#include <QRectF>
#include <QString>

#include <cstdint>

namespace tessaroc::video {

// The table window's video controls, by the game's names; the index is the
// display position (ImgKuang and vshow 1 to 3, vcap1 and Tiplbl 0).
enum class VideoControl { Tou, PicLocal, ImgKuang, ImgShow, vshow, vcap1, Tiplbl, Proponeself };

// What the video link needs of the table and of the system around it.
class VideoHost
{
public:
    virtual ~VideoHost() = default;

    // The table's controls: places and sizes are table pixels.
    virtual bool Visible(VideoControl control, int index) const = 0;
    virtual void SetVisible(VideoControl control, int index, bool visible) = 0;
    virtual void SetEnabled(VideoControl control, int index, bool enabled) = 0;
    virtual void ZOrder(VideoControl control, int index) = 0;
    virtual QRectF Rect(VideoControl control, int index) const = 0;
    virtual void Move(VideoControl control, int index, const QRectF &rect) = 0;
    virtual void SetTipText(const QString &text) = 0;
    // The command images ImCmd(0..15) on the name strips.
    virtual void LoadButtonPicture(int index, int pictureId) = 0;
    virtual QRectF ButtonRect(int index) const = 0;
    // The small view of a table mate (vshow(1..3)).
    virtual platform::FrameView &View(int pos) = 0;
    virtual void AddSystemMessage(const QString &text) = 0;
    // The player card of a seat, placed as the avatar hover places it but
    // with the given part of the table window's height above a table mate's
    // card.
    virtual void ShowPlayerCard(int pos, double mateTopFraction) = 0;
    // The table window's Left, Top, Width and Height, in screen twips.
    virtual QRectF TableWindow() const = 0;

    // The system: the program's folder, the shell, other programs' windows.
    virtual QString ProgramFolder() const = 0;
    virtual QDateTime Now() const = 0;
    virtual void OpenFolder(const QString &path) = 0;
    virtual void OpenPage(const QString &url) = 0;
    // Posts a message to the top-level window of that caption; false when
    // there is none.
    virtual bool PostToWindow(const QString &caption, std::uint32_t message) = 0;
    // Starts a program in a normal window that does not take the focus.
    virtual void StartProgram(const QString &commandLine) = 0;
    virtual bool FileExists(const QString &path, const QString &name) = 0;
    // A message box with OK and Cancel; true for OK.
    virtual bool AskOkCancel(const QString &text, const QString &title) = 0;
    virtual void StopSound() = 0;
};

} // namespace tessaroc::video
