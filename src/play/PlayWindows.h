#pragma once

#include <QString>

#include <cstdint>

namespace tessaroc::table {
class MainForm;
}

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

    // The chat box's whisper: the prefix a portrait click put before the
    // chat text ("" without one) and the seat bit it goes to.
    virtual QString WhisperPrefix() const = 0;
    virtual std::uint8_t ChatTarget() const = 0;
    virtual void ClearWhisperPrefix() = 0;

    // The game's information page opened with the platform's handler.
    virtual void OpenPage(const QString &address) = 0;
};

// The windows as the subsystems offer them so far: the leave dialog of the
// table window, and what the chat and the settlement can hide through their
// services; the windows not offered yet read as hidden and are neither shown
// nor placed.
class TablePlayWindows final : public PlayWindows
{
public:
    explicit TablePlayWindows(table::MainForm &form);

    bool TalkVisible() const override { return false; }
    void ShowTalk(double, double) override { }
    void HideTalk() override;
    void HideHuifu() override;
    bool ScoreVisible() const override { return false; }
    void ShowScore(std::int16_t) override { }
    void HideScore() override;
    bool HeroVisible() const override { return false; }
    void CentreHero() override { }
    void ShowHero() override { }
    void HideHero() override { }
    bool VosSetVisible() const override { return false; }
    void ShowVosSet(double, double) override { }
    void HideVosSet() override { }
    void UnloadVosSet() override { }
    bool ExitVisible() const override;
    void ShowExit(bool notice, bool topMost) override;
    void HideExit() override;
    void UnloadExit() override;
    void UnloadOtherExit() override { }
    void HideInformation() override { }
    void UnloadInformation() override { }
    void HideMingXi() override { }
    QString WhisperPrefix() const override { return {}; }
    std::uint8_t ChatTarget() const override { return 0; }
    void ClearWhisperPrefix() override { }
    void OpenPage(const QString &address) override;

private:
    table::MainForm &form_;
};

} // namespace tessaroc::play
