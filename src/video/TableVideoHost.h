#pragma once

#include "video/VideoHost.h"

#include <functional>

namespace tessaroc::table {
class MainForm;
}

namespace tessaroc::video {

// The video link on the table window and the system of this program. There
// is no music-box plug-in window to find, and programs, pages and folders are
// handed to the desktop.
class TableVideoHost final : public VideoHost
{
public:
    // showPlayerCard: the avatar hover's player card of a seat.
    TableVideoHost(table::MainForm &form, std::function<void(int)> showPlayerCard,
                   std::function<void()> stopSound);

    bool Visible(VideoControl control, int index) const override;
    void SetVisible(VideoControl control, int index, bool visible) override;
    void SetEnabled(VideoControl control, int index, bool enabled) override;
    void ZOrder(VideoControl control, int index) override;
    QRectF Rect(VideoControl control, int index) const override;
    void Move(VideoControl control, int index, const QRectF &rect) override;
    void SetTipText(const QString &text) override;
    void LoadButtonPicture(int index, int pictureId) override;
    QRectF ButtonRect(int index) const override;
    platform::FrameView &View(int pos) override;
    void AddSystemMessage(const QString &text) override;
    void ShowPlayerCard(int pos, double mateTopFraction) override;
    QRectF TableWindow() const override;

    QString ProgramFolder() const override;
    QDateTime Now() const override;
    void OpenFolder(const QString &path) override;
    void OpenPage(const QString &url) override;
    bool PostToWindow(const QString &caption, std::uint32_t message) override;
    void StartProgram(const QString &commandLine) override;
    bool FileExists(const QString &path, const QString &name) override;
    bool AskOkCancel(const QString &text, const QString &title) override;
    void StopSound() override;

private:
    table::MainForm &form_;
    std::function<void(int)> showPlayerCard_;
    std::function<void()> stopSound_;
};

} // namespace tessaroc::video
