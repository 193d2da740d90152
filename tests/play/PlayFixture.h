#pragma once

#include "NullServices.h"
#include "chat/ChatService.h"
#include "core/CoreContext.h"
#include "core/HallService.h"
#include "core/TableState.h"
#include "items/ItemService.h"
#include "play/PlayFlowService.h"
#include "play/PlayWindows.h"
#include "settlement/SettlementService.h"
#include "sound/SoundService.h"
#include "table/MainForm.h"
#include "table/TableWindowService.h"
#include "wire/MessageFrame.h"
#include "wire/MsgRings.h"

#include <QApplication>
#include <QFileInfo>
#include <QMouseEvent>

#include <memory>
#include <string>
#include <vector>

namespace tessaroc::play::test {

// A clock that moves on by `step` milliseconds at every reading (so every
// wait ends), or only when told to while step is 0.
class StepClock final : public platform::Clock
{
public:
    std::int64_t nowMs() const override
    {
        ++readings;
        return now_ += step;
    }
    void advance(std::int64_t ms) { now_ += ms; }
    std::int64_t step = 1000;
    mutable int readings = 0;

private:
    mutable std::int64_t now_ = 0;
};

// The other subsystems' windows, kept as flags, with every call written down
// in order.
struct RecordingWindows final : PlayWindows
{
    bool TalkVisible() const override { return talk; }
    void ShowTalk(double left, double top) override
    {
        talk = true;
        talkLeft = left;
        talkTop = top;
        log.push_back("ShowTalk");
    }
    void HideTalk() override { hide("Talk", talk); }
    void HideHuifu() override { hide("huifu", huifu); }
    bool ScoreVisible() const override { return score; }
    void ShowScore(std::int16_t hand) override
    {
        score = true;
        scoreHand = hand;
        log.push_back("ShowScore");
    }
    void HideScore() override { hide("Score", score); }
    bool HeroVisible() const override { return hero; }
    void CentreHero() override { log.push_back("CentreHero"); }
    void ShowHero() override
    {
        hero = true;
        log.push_back("ShowHero");
    }
    void HideHero() override { hide("Hero", hero); }
    bool VosSetVisible() const override { return vosSet; }
    void ShowVosSet(double right, double bottom) override
    {
        vosSet = true;
        vosRight = right;
        vosBottom = bottom;
        log.push_back("ShowVosSet");
    }
    void HideVosSet() override { hide("VosSet", vosSet); }
    void UnloadVosSet() override { unload("VosSet", vosSet); }
    bool ExitVisible() const override { return exit; }
    void ShowExit(bool notice, bool topMost) override
    {
        exit = true;
        exitNotice = notice;
        exitTopMost = topMost;
        log.push_back("ShowExit");
    }
    void HideExit() override { hide("frmExit", exit); }
    void UnloadExit() override { unload("frmExit", exit); }
    void UnloadOtherExit() override { log.push_back("unload frmOtherExit"); }
    void HideInformation() override { hide("Information", information); }
    void UnloadInformation() override { unload("Information", information); }
    void HideMingXi() override { hide("frmMingXi", mingXi); }
    QString WhisperPrefix() const override { return whisperPrefix; }
    std::uint8_t ChatTarget() const override { return chatTarget; }
    void ClearWhisperPrefix() override { whisperPrefix.clear(); }
    void OpenPage(const QString &address) override { pages.push_back(address); }

    void hide(const std::string &name, bool &flag)
    {
        flag = false;
        log.push_back("hide " + name);
    }
    void unload(const std::string &name, bool &flag)
    {
        flag = false;
        log.push_back("unload " + name);
    }

    bool talk = false, huifu = false, score = false, hero = false, vosSet = false, exit = false,
         information = false, mingXi = false;
    double talkLeft = 0, talkTop = 0, vosRight = 0, vosBottom = 0;
    std::int16_t scoreHand = -1;
    bool exitNotice = false, exitTopMost = false;
    QString whisperPrefix;
    std::uint8_t chatTarget = 0;
    std::vector<QString> pages;
    std::vector<std::string> log;
};

// The table's side of the item library, writing down the keys and bank
// states passed on.
struct RecordingItems final : items::ItemService
{
    void SetKeyDown(int key) override { calls.push_back("SetKeyDown " + std::to_string(key)); }
    void setbankstate(int state) override
    {
        calls.push_back("setbankstate " + std::to_string(state));
    }
    std::vector<std::string> calls;
};

// The core's services, recording what the play flow asks of them.
struct CoreServices
{
    using ServerSocket = core::services::ServerSocket;
    using HallWindow = core::services::HallWindow;
    using MainLoopControl = core::services::MainLoopControl;
    using PlayFlow = core::services::PlayFlow;
    using Sound = core::services::Sound;
    using ItemLibrary = core::services::ItemLibrary;
    using PropItem = core::services::PropItem;
    using PropScoreInfo = core::services::PropScoreInfo;
    using Video = core::services::Video;
    using Settlement = core::services::Settlement;
    using Process = core::services::Process;
    using Chat = core::services::Chat;

    struct Socket : ServerSocket
    {
        int State() const override { return sckConnected; }
        bool SendData(const wire::MessageFrame &) override { return true; }
        void Close() override { }
        void Connect(const QString &, quint16) override { }
        bool ConnectToSock5Server(const wire::CommandLine &) override { return false; }
    } socket;
    struct Hall : HallWindow
    {
        bool FindHall() override { return present; }
        bool RestoreHall() override
        {
            ++restored;
            return present;
        }
        bool MinimiseHall() override
        {
            ++minimised;
            return present;
        }
        void PostToHall(std::uint32_t) override { }
        bool present = true;
        int restored = 0;
        int minimised = 0;
    } hall;
    struct Timers : MainLoopControl
    {
        void StartTimerBong() override { bong = true; }
        void StopTimerBong() override { bong = false; }
        bool TimerBongEnabled() const override { return bong; }
        void StartKeepAlive() override { }
        void StopKeepAlive() override { }
        bool KeepAliveEnabled() const override { return false; }
        bool bong = true;
    } timers;
    // The context is built before the play flow it names.
    struct ForwardPlay : PlayFlow
    {
        void LowerOwnCard(int i) override { to->LowerOwnCard(i); }
        void RaiseOwnCard(int i) override { to->RaiseOwnCard(i); }
        void JudgeChuPai() override { to->JudgeChuPai(); }
        void Pic1_KeyDown(int k, int s) override { to->Pic1_KeyDown(k, s); }
        void Tou_Click(int s) override { to->Tou_Click(s); }
        void Tou_MouseMove(int s) override { to->Tou_MouseMove(s); }
        void FaPai(const core::DealtHand &h) override { to->FaPai(h); }
        void DiPaiAnimation(int p) override { to->DiPaiAnimation(p); }
        void SortHandByFace(int p, int n) override { to->SortHandByFace(p, n); }
        void ShowCardFace(int p, int i, rules::CardCode c) override { to->ShowCardFace(p, i, c); }
        void ShowChuPai(const core::AnnouncedPlay &p) override { to->ShowChuPai(p); }
        PlayFlow *to = nullptr;
    } play;
    struct RecordingSound : Sound
    {
        void InitSoundPaths() override { }
        QString SoundTable(int) const override { return {}; }
        void InitSound() override { }
        void StopSound() override { }
        void PlaySoundFile(const QString &path, bool) override
        {
            played.push_back(QFileInfo(path).fileName().toStdString());
        }
        void SetSoundVolume(int) override { }
        void StopMusic() override { }
        std::vector<std::string> played;
    } sound;
    fakes::NullItems items;
    fakes::NullVideo video;
    fakes::NullSettlement settlement;
    struct RecordingProcess : Process
    {
        void MessageBox(const QString &, const QString &) override { }
        void End(core::ExitCode code) override { ended = static_cast<int>(code); }
        int ended = -1;
    } process;
    fakes::NullChat chat;
};

// The real table window laid out offscreen at either scale, the client core's
// context on recording services, and the real play flow on both. Frames the
// play flow queues are read back from the send ring.
class PlayTable
{
public:
    explicit PlayTable(bool reduced = false);
    ~PlayTable();

    // The own hand: these cards dealt in this order, laid out on the hand
    // line as the deal lays them out (slot i in picture i).
    void deal(const std::vector<rules::CardCode> &cards);
    // The own play turn is open: logged in, hand active, the play may be
    // sent, the play clock running, the play, hint and pass buttons shown.
    void openTurn(bool lead);
    // The card picture that shows slot i of the own hand.
    forms::Image &cardOfSlot(int slot);
    bool raised(int slot);
    void raise(int slot);

    // Frames queued since the last call, oldest first.
    std::vector<wire::MessageFrame> sent();
    // Sound files played since the last call (file names only).
    std::vector<std::string> sounds();

    core::TableState state;
    wire::MsgRings rings;
    StepClock clock;
    std::unique_ptr<CoreServices> services;
    RecordingWindows windows;
    RecordingItems tableItems;
    std::unique_ptr<table::MainForm> form;
    std::unique_ptr<table::TableWindowService> window;
    std::unique_ptr<core::CoreContext> context;
    std::unique_ptr<PlayFlowService> play;

private:
    struct TableHall : core::HallService
    {
        bool MinimiseHall() override { return true; }
    } tableHall_;
    sound::SoundService tableSound_;
    chat::ChatService tableChat_;
    settlement::SettlementService tableSettlement_;
};

// Input delivered to a widget as the window system delivers it.
void pressAt(QWidget &widget, QPointF pos, Qt::MouseButton button);
void clickAt(QWidget &widget, QPointF pos);
// A press or click in the middle of an element of the table area.
void press(table::MainForm &form, const forms::Element &element, Qt::MouseButton button);
void click(table::MainForm &form, const forms::Element &element);

} // namespace tessaroc::play::test
