#pragma once

#include <QString>

#include <cstdint>
#include <memory>

namespace tessaroc::core {
struct TableState;
}
namespace tessaroc::sound {
class SoundSettings;
class TableSoundHost;
} // namespace tessaroc::sound
namespace tessaroc::table {
class MainForm;
class OtherExitDialog;
} // namespace tessaroc::table

namespace tessaroc::play {

// The windows of other subsystems that the play flow's buttons and keys
// open, close and place: the chat history Talk and the quick phrases huifu,
// the score board Score and the hall of fame Hero, the sound settings VosSet,
// the leave dialog frmExit, the player card Information and the task window
// frmMingXi. Positions are twips on the screen, as windows are placed. A
// window that is not there reads as hidden, and hiding it changes nothing.
class PlayWindows
{
public:
    virtual ~PlayWindows();

    // Talk: shown top-most at a place; hidden.
    virtual bool TalkVisible() const = 0;
    virtual void ShowTalk(double left, double top) = 0;
    virtual void HideTalk() = 0;
    virtual void HideHuifu() = 0;

    // Score: shown centred on the table with the records of one hand.
    virtual bool ScoreVisible() const = 0;
    virtual void ShowScore(std::int16_t handNumber) = 0;
    virtual void HideScore() = 0;
    // Hero: centred on the table on every toggle; shown or hidden.
    virtual bool HeroVisible() const = 0;
    virtual void CentreHero() = 0;
    virtual void ShowHero() = 0;
    virtual void HideHero() = 0;

    // VosSet: placed against the lower right corner of the table area (its
    // right and bottom edges given) and shown; hidden; destroyed.
    virtual bool VosSetVisible() const = 0;
    virtual void ShowVosSet(double right, double bottom) = 0;
    virtual void HideVosSet() = 0;
    virtual void UnloadVosSet() = 0;

    // frmExit: centred on the table, its notice label shown or not, made
    // top-most when asked; hidden; destroyed.
    virtual bool ExitVisible() const = 0;
    virtual void ShowExit(bool notice, bool topMost) = 0;
    virtual void HideExit() = 0;
    virtual void UnloadExit() = 0;

    // The notice that the player is off the table, destroyed.
    virtual void UnloadOtherExit() = 0;

    virtual void HideInformation() = 0;
    virtual void UnloadInformation() = 0;
    virtual void HideMingXi() = 0;

    // The chat box's line (and its whisper) sent as the chat's send button
    // sends it; the box is emptied even when nothing goes out.
    virtual void SendChatLine() = 0;

    // The game's information page opened with the platform's handler.
    virtual void OpenPage(const QString &address) = 0;
};

// The windows as the table offers them: the chat's history and phrases, the
// settlement's board and hall of fame, the sound settings (owned here: the
// toolbar's sound button is their only way in), the table window's leave
// dialog, notice, player card and task window.
class TablePlayWindows final : public PlayWindows
{
public:
    TablePlayWindows(table::MainForm &form, core::TableState &state);
    ~TablePlayWindows() override;

    bool TalkVisible() const override;
    void ShowTalk(double left, double top) override;
    void HideTalk() override;
    void HideHuifu() override;
    bool ScoreVisible() const override;
    void ShowScore(std::int16_t handNumber) override;
    void HideScore() override;
    bool HeroVisible() const override;
    void CentreHero() override;
    void ShowHero() override;
    void HideHero() override;
    bool VosSetVisible() const override;
    void ShowVosSet(double right, double bottom) override;
    void HideVosSet() override;
    void UnloadVosSet() override;
    bool ExitVisible() const override;
    void ShowExit(bool notice, bool topMost) override;
    void HideExit() override;
    void UnloadExit() override;
    void UnloadOtherExit() override;
    void HideInformation() override;
    void UnloadInformation() override;
    void HideMingXi() override;
    void SendChatLine() override;
    void OpenPage(const QString &address) override;

    // The notice frmOtherExit lives with the table window's service, which
    // is built after the play flow.
    void setOtherExit(table::OtherExitDialog *notice) { otherExit_ = notice; }
    sound::SoundSettings &soundSettings() { return *soundSettings_; }

private:
    table::MainForm &form_;
    core::TableState &state_;
    std::unique_ptr<sound::TableSoundHost> soundHost_;
    std::unique_ptr<sound::SoundSettings> soundSettings_;
    table::OtherExitDialog *otherExit_ = nullptr;
};

} // namespace tessaroc::play
