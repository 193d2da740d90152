#pragma once

#include "RecordingServices.h"

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
    void SendChatLine() override { log.push_back("SendChatLine"); }
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

// The core's services, recording what the play flow asks of them. The
// context is built before the play flow it names; the socket keeps reporting
// itself connected.
struct CoreServices : fakes::RecordingServices
{
    CoreServices() { socket.closeDisconnects = false; }
    fakes::ForwardingPlay forward;
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

    // The table's own windows and the chat attached to the table and the
    // core, as the program wires them; the chat is returned.
    chat::ChatService &useTableWindows();

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
