#pragma once

#include "core/CoreContext.h"
#include "core/CoreTimers.h"
#include "core/Dispatcher.h"
#include "core/ItemSteps.h"
#include "core/ServerConnection.h"
#include "core/TickScheduler.h"
#include "core/TurnClocks.h"
#include "platform/Clock.h"
#include "wire/MsgRings.h"

#include <QCoreApplication>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// Recording stand-ins for every service the client core calls, and a harness
// that builds the core on them with a manual clock and manual timers, so the
// tests walk the main loop tick by tick.
namespace tessaroc::test {

using core::ExitCode;
using wire::MessageFrame;

struct RecordingProcess final : core::services::Process
{
    std::vector<QString> messages;
    std::vector<ExitCode> ends;
    void MessageBox(const QString &text, const QString &) override { messages.push_back(text); }
    void End(ExitCode code) override { ends.push_back(code); }
};

struct FakeSocket final : core::services::ServerSocket
{
    int state = sckClosed;
    std::vector<MessageFrame> sent;
    int closes = 0;
    std::vector<std::pair<QString, quint16>> connects;
    int sock5Calls = 0;
    bool sock5Result = true;

    int State() const override { return state; }
    bool SendData(const MessageFrame &frame) override
    {
        if (state != sckConnected)
            return false;
        sent.push_back(frame);
        return true;
    }
    void Close() override
    {
        ++closes;
        state = sckClosed;
    }
    void Connect(const QString &host, quint16 port) override
    {
        connects.emplace_back(host, port);
        state = 6;
    }
    bool ConnectToSock5Server(const wire::CommandLine &) override
    {
        ++sock5Calls;
        return sock5Result;
    }
};

struct RecordingHall final : core::services::HallWindow
{
    // A hall is found only under a caption the line has named.
    RecordingHall(RecordingProcess &process, const std::string &caption)
        : process_(process)
        , caption_(caption)
    { }
    bool present = true;
    std::vector<std::uint32_t> posts;
    int restores = 0;
    int minimises = 0;

    bool FindHall() override { return present && !caption_.empty(); }
    bool RestoreHall() override { return command(restores); }
    bool MinimiseHall() override { return command(minimises); }
    void PostToHall(std::uint32_t msg) override
    {
        if (FindHall())
            posts.push_back(msg);
    }

private:
    bool command(int &count)
    {
        if (!FindHall()) {
            process_.End(ExitCode::HallMissing);
            return false;
        }
        ++count;
        return true;
    }
    RecordingProcess &process_;
    const std::string &caption_;
};

// Every call of the window as a short line, in order.
struct RecordingWindow final : core::services::TableWindow
{
    std::vector<std::string> calls;
    bool minimised = false;
    bool bottomCardsVisible = false;
    std::vector<std::pair<int, bool>> clockShown; // seconds, red
    std::vector<std::pair<int, int>> toolbar; // button, picture
    std::vector<QString> propLabels;
    std::array<QString, 2> systemLines;

    void PrepareStartUp() override { calls.push_back("PrepareStartUp"); }
    void FitToScreen(double w, double h) override
    {
        calls.push_back("FitToScreen " + std::to_string(int(w)) + "x" + std::to_string(int(h)));
    }
    void InitSeatLayout() override { calls.push_back("InitSeatLayout"); }
    void InitPlayLayout() override { calls.push_back("InitPlayLayout"); }
    void ShowTable() override { calls.push_back("ShowTable"); }
    void SetCaption(const QString &caption) override
    {
        calls.push_back("SetCaption " + caption.toStdString());
    }
    void SetSystemLine(int line, const QString &text) override
    {
        systemLines[static_cast<std::size_t>(line & 1)] = text;
        calls.push_back("SetSystemLine " + std::to_string(line));
    }
    bool IsMinimised() const override { return minimised; }
    void Minimise() override
    {
        minimised = true;
        calls.push_back("Minimise");
    }
    void ClearTable() override { calls.push_back("ClearTable"); }
    void ResetTableView() override { calls.push_back("ResetTableView"); }
    void ShowClockSeconds(int seconds, bool red) override { clockShown.emplace_back(seconds, red); }
    void HideTurnClock() override { calls.push_back("HideTurnClock"); }
    void HideBidButtons() override { calls.push_back("HideBidButtons"); }
    void HideChoiceButtons() override { calls.push_back("HideChoiceButtons"); }
    void HideActionButtons() override { calls.push_back("HideActionButtons"); }
    void SetToolbarPicture(int button, int picture) override
    {
        toolbar.emplace_back(button, picture);
    }
    void ShowSeatShuffle(const QString &caption, const QString &) override
    {
        calls.push_back("ShowSeatShuffle " + caption.toStdString());
    }
    void HideBubble(int pos) override { calls.push_back("HideBubble " + std::to_string(pos)); }
    void HideWords() override { calls.push_back("HideWords"); }
    bool BottomCardsVisible() const override { return bottomCardsVisible; }
    void HideBottomCards() override
    {
        bottomCardsVisible = false;
        calls.push_back("HideBottomCards");
    }
    void SetPropLabel(const QString &text) override { propLabels.push_back(text); }
    void UnloadWindows() override { calls.push_back("UnloadWindows"); }

    // What the server's commands show: the dispatcher's own tests look at
    // these on a real window.
    void RestoreAndFocus() override { }
    void CloseLeaveDialog() override { }
    void HideReadyMarks() override { }
    void ShowShowCardDouble(int) override { }
    void SetWealthShown(bool) override { }
    QString WealthCaption() const override { return {}; }
    void ShowSortButton() override { }
    void PlaceOwnBottomCard(int) override { }
    void BringRoomStripToFront() override { }
    void ShowBidButtons() override { }
    bool LandlordBadgeVisible() const override { return false; }
    void ShowLandlord(int) override { }
    void FirstPlayOfHand() override { }
    void ShowTurnClock(ClockKind, int, int) override { }
    void ShowClockHere(int) override { }
    void HideCardPicture(int, int) override { }
    void ShowPassPicture(int) override { }
    void ShowOwnTurnButtons(bool) override { }
    void ShowSeat(int, const SeatView &) override { }
    void EmptySeat(int) override { }
    void ClearSeatMarkAndAvatar(int) override { }
    bool ReadyMarkVisible(int) const override { return false; }
    void ShowReadyMark(int) override { }
    bool NameShown(int) const override { return false; }
    void HideSeatVideo(int) override { }
    void ShowShowCardNote(bool) override { }
    void ShowWealthNotes() override { }
    void ShowWealth(std::int32_t) override { }
    void HideWealth() override { }
    void PlaceReadyClockAndShuffle() override { }
    void HideShuffleNotice(bool) override { }
    bool ShuffleNoticeRunning() const override { return false; }
    void HideAdPanel() override { }
    void ShowWebPanel(const QString &) override { }
    void SetOtherExitText(const QString &) override { }
    void ShowOtherExit() override { }

    bool called(const std::string &call) const
    {
        return std::find(calls.begin(), calls.end(), call) != calls.end();
    }
};

struct RecordingPlay final : core::services::PlayFlow
{
    std::vector<std::string> calls;
    std::function<void()> onJudge;
    void LowerOwnCard(int i) override { calls.push_back("Lower " + std::to_string(i)); }
    void RaiseOwnCard(int i) override { calls.push_back("Raise " + std::to_string(i)); }
    void JudgeChuPai() override
    {
        calls.push_back("JudgeChuPai");
        if (onJudge)
            onJudge();
    }
    void Pic1_KeyDown(int key, int shift) override
    {
        calls.push_back("KeyDown " + std::to_string(key) + " " + std::to_string(shift));
    }
    void Tou_Click(int seat) override { calls.push_back("Tou_Click " + std::to_string(seat)); }
    void FaPai(const core::DealtHand &) override { }
    void DiPaiAnimation(int) override { }
    void SortHandByFace(int, int) override { }
    void ShowCardFace(int, int, rules::CardCode) override { }
    void ShowChuPai(const core::AnnouncedPlay &) override { }
    void Tou_MouseMove(int seat) override
    {
        calls.push_back("Tou_MouseMove " + std::to_string(seat));
    }
};

struct RecordingSound final : core::services::Sound
{
    std::vector<std::string> calls;
    void InitSoundPaths() override { calls.push_back("InitSoundPaths"); }
    QString SoundTable(int entry) const override
    {
        return QStringLiteral("sound%1.wav").arg(entry);
    }
    void InitSound() override { calls.push_back("InitSound"); }
    void StopSound() override { calls.push_back("StopSound"); }
    void PlaySoundFile(const QString &path, bool loop) override
    {
        calls.push_back("Play " + path.toStdString() + (loop ? " loop" : ""));
    }
    void SetSoundVolume(int v) override { calls.push_back("Volume " + std::to_string(v)); }
    void StopMusic() override { calls.push_back("StopMusic"); }
};

// An item library that records every call made on it: a session with the
// library switched off must leave it untouched.
struct RecordingItems final : core::services::ItemLibrary
{
    std::vector<std::string> calls;
    std::vector<core::services::PropItem> queue;
    int scoreReady = 0;
    core::services::PropScoreInfo score;

    int CheckSendBuff() override
    {
        calls.push_back("CheckSendBuff");
        return static_cast<int>(queue.size());
    }
    core::services::PropItem GetSendBuff() override
    {
        calls.push_back("GetSendBuff");
        if (queue.empty())
            return {};
        auto item = queue.front();
        queue.erase(queue.begin());
        return item;
    }
    int GetScoreInfo(core::services::PropScoreInfo &info) override
    {
        calls.push_back("GetScoreInfo");
        info = score;
        return scoreReady;
    }
    void InitShowNext(bool f) override
    {
        calls.push_back(std::string("InitShowNext ") + (f ? "1" : "0"));
    }
    void rec_state(int kind, bool f) override
    {
        calls.push_back("rec_state " + std::to_string(kind) + (f ? " 1" : " 0"));
    }
    void ExitGameDll(int mode) override { calls.push_back("ExitGameDll " + std::to_string(mode)); }
    void ShowPropMsg(const QString &t) override
    {
        calls.push_back("ShowPropMsg " + t.toStdString());
    }
    void ShowPropText(const QString &t, const std::vector<int> &, const std::vector<int> &) override
    {
        calls.push_back("ShowPropText " + t.toStdString());
    }
    void PlayBaoXiang() override { calls.push_back("PlayBaoXiang"); }
    void OpenBao(int box) override { calls.push_back("OpenBao " + std::to_string(box)); }
    void InitGameDll() override { }
    void ClearProps() override { }
    void Rec_MSG(const MessageFrame &) override { }
    void ClearUser(int) override { }
    void InitShowEnd() override { }
    bool SetUserinfo(const std::string &, const std::string &, int, int, bool, int,
                     const std::string &, const std::string &) override
    {
        return true;
    }
    bool HasLibrary() const override { return false; }
};

struct RecordingVideo final : core::services::Video
{
    std::vector<std::string> calls;
    void ShowLocalVideo(bool, bool) override { calls.push_back("ShowLocalVideo"); }
    void Logout() override { calls.push_back("Logout"); }
    void StopCamera() override { calls.push_back("StopCamera"); }
    void LoginVideoServer() override { }
    void OpenLocalVideo() override { }
    void RequestVideo() override { }
    void ExitVideo() override { }
    void DropPeer(const QString &) override { }
};

struct RecordingSettlement final : core::services::Settlement
{
    std::vector<MessageFrame> shown;
    int deletes = 0;
    void ShowScoreXi(const MessageFrame &frame) override { shown.push_back(frame); }
    void DeleteHandRecords() override { ++deletes; }
    void ShowScore(const MessageFrame &) override { }
    void ClearScoreLists() override { }
    void SetSeat(int, const QString &, int) override { }
    void EmptySeat(int) override { }
    void ShowScoreWindow() override { }
    void ShowHero() override { }
};

struct NullChat final : core::services::Chat
{
    void ReceiveChat(const MessageFrame &) override { }
};

// Records every frame handed to it; a test may give it something to do.
class RecordingDispatcher final : public core::Dispatcher
{
public:
    using core::Dispatcher::Dispatcher;
    std::vector<MessageFrame> frames;
    std::function<void(const MessageFrame &)> onFrame;
    void ProcessMessage(const MessageFrame &message) override
    {
        frames.push_back(message);
        if (onFrame)
            onFrame(message);
    }
};

inline MessageFrame frameOf(std::uint8_t cmd, std::uint8_t tag = 0)
{
    MessageFrame frame;
    frame.setCmd(cmd);
    frame.setByte(100, tag); // tells frames of one command apart
    return frame;
}

// The whole client core on recording services, a manual clock and manual
// timers. tick() moves the clock by one timer interval and runs one tick.
struct CoreHarness
{
    core::TableState state;
    wire::MsgRings rings;
    platform::ManualClock clock{1'000'000};
    FakeSocket socket;
    RecordingProcess process;
    RecordingHall hall{process, state.loop.HallCaption};
    core::CoreTimers timers{core::CoreTimers::Mode::Manual};
    RecordingWindow window;
    RecordingPlay play;
    RecordingSound sound;
    RecordingItems items;
    RecordingVideo video;
    RecordingSettlement settlement;
    NullChat chat;
    core::CoreContext context{state, rings, clock, socket, hall,       timers,  window,
                              play,  sound, items, video,  settlement, process, chat};
    RecordingDispatcher dispatcher{context};
    core::TurnClocks clocks{context};
    core::ItemSteps itemSteps{context, [] {
                                  return 0.6;
                              }};
    core::TickScheduler scheduler{context, timers, dispatcher, clocks, itemSteps};

    CoreHarness()
    {
        timers.setTickHandler([this] { scheduler.TimerBong_Timer(); });
        state.rules.HandRecords[0].seatBit = 4;
        state.loop.HallCaption = "Ombrevale";
    }

    void tick(int n = 1)
    {
        for (int i = 0; i < n; ++i) {
            clock.advance(core::CoreTimers::kTimerBongMs);
            scheduler.TimerBong_Timer();
        }
    }

    wire::ReceiveResult arrive(const std::vector<std::uint8_t> &bytes)
    {
        const wire::ReceiveResult result = wire::ReceiveIntoRing(rings, bytes);
        if (result == wire::ReceiveResult::Stored)
            core::OnReceived(context);
        return result;
    }
    wire::ReceiveResult arrive(const MessageFrame &frame)
    {
        return arrive(std::vector<std::uint8_t>(frame.bytes().begin(), frame.bytes().end()));
    }
    void queue(MessageFrame frame) { context.SendMsg(frame); }
};

// Runs `during` inside the next wait of a handler, while the manual clock is
// walked forward so that the wait ends: the way a deal animation's wait lets
// a main-loop tick and a hall request in. Every test where a handler waits
// uses it, so re-entrancy faults show.
class InsideWait
{
public:
    InsideWait(platform::ManualClock &clock, std::function<void()> during, int stepMs = 10)
        : clock_(clock)
        , during_(std::move(during))
    {
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, [this, stepMs] {
            if (during_) {
                auto run = std::move(during_);
                during_ = {};
                ++runs;
                run();
            }
            clock_.advance(stepMs);
        });
        timer_.start();
    }
    int runs = 0;

private:
    platform::ManualClock &clock_;
    std::function<void()> during_;
    QTimer timer_;
};

} // namespace tessaroc::test
