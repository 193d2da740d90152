#pragma once

#include "CallRecord.h"
#include "FlagTimers.h"

#include "core/CoreContext.h"
#include "core/ExitCodes.h"
#include "core/services/Chat.h"
#include "core/services/HallWindow.h"
#include "core/services/ItemLibrary.h"
#include "core/services/PlayFlow.h"
#include "core/services/Process.h"
#include "core/services/ReconnectView.h"
#include "core/services/ServerSocket.h"
#include "core/services/Settlement.h"
#include "core/services/Sound.h"
#include "core/services/TableWindow.h"
#include "core/services/Video.h"
#include "wire/MessageFrame.h"

#include <QFileInfo>
#include <QString>

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// One recording stand-in for each service the client core calls. Each writes
// every call it takes as a short line, the member's name and its numbers
// ("SortHandByFace 0 33"), into its own `calls`; a test that cares about the
// order across services joins them into one record (joinLog), where each line
// comes with the service's name before it ("socket.Close").
namespace tessaroc::fakes {

class Recorder
{
public:
    explicit Recorder(const char *service)
        : service_(service)
    { }

    std::vector<std::string> calls;
    test::CallRecord *log = nullptr;

    bool called(const std::string &call) const
    {
        return std::find(calls.begin(), calls.end(), call) != calls.end();
    }

protected:
    void note(std::string call)
    {
        if (log)
            log->record(std::string(service_) + "." + call);
        calls.push_back(std::move(call));
    }
    static std::string num(long long n) { return " " + std::to_string(n); }

private:
    const char *service_;
};

// Joins the services' calls into one record, in call order.
template<typename... Services> void joinLog(test::CallRecord &log, Services &...services)
{
    ((services.log = &log), ...);
}

// The socket: sends only while connected; a close disconnects unless told
// otherwise; a direct connect stays connecting unless it is told to succeed.
struct RecordingSocket final : Recorder, core::services::ServerSocket
{
    RecordingSocket()
        : Recorder("socket")
    { }

    int State() const override { return state; }
    bool SendData(const wire::MessageFrame &frame) override
    {
        if (state != sckConnected)
            return false;
        note("SendData" + num(frame.cmd()));
        sent.push_back(frame);
        return true;
    }
    void Close() override
    {
        note("Close");
        ++closes;
        if (closeDisconnects)
            state = sckClosed;
    }
    void Connect(const QString &host, quint16 port) override
    {
        note("Connect");
        connects.emplace_back(host, port);
        state = connectSucceeds ? sckConnected : sckConnecting;
    }
    bool ConnectToSock5Server(const wire::CommandLine &) override
    {
        note("ConnectToSock5Server");
        ++sock5Calls;
        return sock5Result;
    }

    int state = sckConnected;
    bool connectSucceeds = false;
    // False: the socket keeps reporting itself connected after Close.
    bool closeDisconnects = true;
    bool sock5Result = true;
    std::vector<wire::MessageFrame> sent;
    int closes = 0;
    std::vector<std::pair<QString, quint16>> connects;
    int sock5Calls = 0;
};

// The process: message boxes and endings are kept; nothing ends.
struct RecordingProcess final : Recorder, core::services::Process
{
    RecordingProcess()
        : Recorder("process")
    { }

    void MessageBox(const QString &text, const QString &) override
    {
        note("MessageBox");
        messages.push_back(text);
    }
    void End(core::ExitCode code) override
    {
        note("End");
        ends.push_back(code);
        ended = code;
    }

    std::vector<QString> messages;
    std::vector<core::ExitCode> ends;
    std::optional<core::ExitCode> ended; // the last ending asked for
};

// The hall window, there unless `present` is false. Bound to the process
// and the command line's caption (endWithoutHall), it behaves as the real
// link: found only under a caption the line named, and a restore or
// minimise without a hall ends the program.
struct RecordingHall final : Recorder, core::services::HallWindow
{
    RecordingHall()
        : Recorder("hall")
    { }

    void endWithoutHall(core::services::Process &process, const std::string &caption)
    {
        process_ = &process;
        caption_ = &caption;
    }

    bool FindHall() override
    {
        note("FindHall");
        return found();
    }
    bool RestoreHall() override
    {
        note("RestoreHall");
        return command(restores);
    }
    bool MinimiseHall() override
    {
        note("MinimiseHall");
        return command(minimises);
    }
    void PostToHall(std::uint32_t msg) override
    {
        note("PostToHall" + num(msg));
        if (found())
            posts.push_back(msg);
    }

    bool present = true;
    std::vector<std::uint32_t> posts; // the statuses a hall received
    int restores = 0;
    int minimises = 0;

private:
    bool found() const { return present && (!caption_ || !caption_->empty()); }
    bool command(int &count)
    {
        if (!found()) {
            if (process_)
                process_->End(core::ExitCode::HallMissing);
            return false;
        }
        ++count;
        return true;
    }
    core::services::Process *process_ = nullptr;
    const std::string *caption_ = nullptr;
};

// The table window as lines: what the start-up, the clocks and the time-outs
// ask of it, and where the server's commands put the clock, the buttons, the
// landlord badge and the wealth ("ShowTurnClock Play 0 20"). The rest of what
// those commands show is taken and left.
struct RecordingWindow final : Recorder, core::services::TableWindow
{
    RecordingWindow()
        : Recorder("window")
    { }

    void PrepareStartUp() override { note("PrepareStartUp"); }
    void FitToScreen(double w, double h) override
    {
        note("FitToScreen " + std::to_string(int(w)) + "x" + std::to_string(int(h)));
    }
    void InitSeatLayout() override { note("InitSeatLayout"); }
    void InitPlayLayout() override { note("InitPlayLayout"); }
    void ShowTable() override { note("ShowTable"); }
    void SetCaption(const QString &caption) override
    {
        note("SetCaption " + caption.toStdString());
    }
    void SetSystemLine(int line, const QString &text) override
    {
        systemLines[static_cast<std::size_t>(line & 1)] = text;
        note("SetSystemLine" + num(line));
    }
    bool IsMinimised() const override { return minimised; }
    bool IsNormal() const override { return !minimised; }
    void Minimise() override
    {
        minimised = true;
        note("Minimise");
    }
    void ClearTable() override { note("ClearTable"); }
    void ResetTableView() override { note("ResetTableView"); }
    void ShowClockSeconds(int seconds, bool red) override { clockShown.emplace_back(seconds, red); }
    void HideTurnClock() override { note("HideTurnClock"); }
    void HideBidButtons() override { note("HideBidButtons"); }
    void HideChoiceButtons() override { note("HideChoiceButtons"); }
    void HideActionButtons() override { note("HideActionButtons"); }
    void SetToolbarPicture(int button, int picture) override
    {
        toolbar.emplace_back(button, picture);
    }
    void ShowSeatShuffle(const QString &caption, const QString &) override
    {
        note("ShowSeatShuffle " + caption.toStdString());
    }
    void HideBubble(int pos) override { note("HideBubble" + num(pos)); }
    void HideWords() override { note("HideWords"); }
    bool BottomCardsVisible() const override { return bottomCardsVisible; }
    void HideBottomCards() override
    {
        bottomCardsVisible = false;
        note("HideBottomCards");
    }
    void SetPropLabel(const QString &text) override { propLabels.push_back(text); }
    void UnloadWindows() override { note("UnloadWindows"); }

    void RestoreAndFocus() override { }
    void CloseLeaveDialog() override { }
    void HideReadyMarks() override { }
    void ShowShowCardDouble(int) override { }
    void SetWealthShown(bool) override { }
    QString WealthCaption() const override { return {}; }
    void ShowSortButton() override { }
    void PlaceOwnBottomCard(int slot) override { note("PlaceOwnBottomCard" + num(slot)); }
    void BringRoomStripToFront() override { }
    void ShowBidButtons() override { }
    bool LandlordBadgeVisible() const override { return false; }
    void ShowLandlord(int pos) override { note("ShowLandlord" + num(pos)); }
    void FirstPlayOfHand() override { }
    void ShowTurnClock(ClockKind kind, int pos, int seconds) override
    {
        note(std::string("ShowTurnClock ") + (kind == ClockKind::Bid ? "Bid" : "Play") + num(pos)
             + num(seconds));
    }
    void ShowClockHere(int seconds) override { note("ShowClockHere" + num(seconds)); }
    void HideCardPicture(int pos, int index) override
    {
        note("HideCardPicture" + num(pos) + num(index));
    }
    void ShowPassPicture(int pos) override { note("ShowPassPicture" + num(pos)); }
    void ShowOwnTurnButtons(bool lead) override
    {
        note(lead ? "ShowOwnTurnButtons lead" : "ShowOwnTurnButtons follow");
    }
    void ShowSeat(int, const SeatView &) override { }
    void EmptySeat(int) override { }
    void ClearSeatMarkAndAvatar(int) override { }
    bool ReadyMarkVisible(int) const override { return false; }
    void ShowReadyMark(int) override { }
    bool NameShown(int) const override { return false; }
    void HideSeatVideo(int) override { }
    void ShowShowCardNote(bool) override { }
    void ShowWealthNotes() override { }
    void ShowWealth(std::int32_t value) override { note("ShowWealth" + num(value)); }
    void HideWealth() override { }
    void PlaceReadyClockAndShuffle() override { note("PlaceReadyClockAndShuffle"); }
    void HideShuffleNotice(bool) override { }
    bool ShuffleNoticeRunning() const override { return false; }
    void HideAdPanel() override { }
    void ShowWebPanel(const QString &) override { }
    void SetOtherExitText(const QString &) override { }
    void ShowOtherExit() override { }

    bool minimised = false;
    bool bottomCardsVisible = false;
    std::vector<std::pair<int, bool>> clockShown; // seconds, red
    std::vector<std::pair<int, int>> toolbar; // button, picture
    std::vector<QString> propLabels;
    std::array<QString, 2> systemLines;
};

// The play flow; a test may give the own play something to do.
struct RecordingPlay final : Recorder, core::services::PlayFlow
{
    RecordingPlay()
        : Recorder("play")
    { }

    void LowerOwnCard(int i) override { note("LowerOwnCard" + num(i)); }
    void RaiseOwnCard(int i) override { note("RaiseOwnCard" + num(i)); }
    void JudgeChuPai() override
    {
        note("JudgeChuPai");
        if (onJudge)
            onJudge();
    }
    void Pic1_KeyDown(int key, int shift) override { note("Pic1_KeyDown" + num(key) + num(shift)); }
    void Tou_Click(int seat) override { note("Tou_Click" + num(seat)); }
    void Tou_MouseMove(int seat) override { note("Tou_MouseMove" + num(seat)); }
    void FaPai(const core::DealtHand &) override { note("FaPai"); }
    void DiPaiAnimation(int p) override { note("DiPaiAnimation" + num(p)); }
    void SortHandByFace(int p, int n) override
    {
        note("SortHandByFace" + num(p) + num(n));
        sorted.emplace_back(p, n);
    }
    void ShowCardFace(int pos, int index, rules::CardCode code) override
    {
        faces.push_back({pos, index, code});
    }
    void ShowChuPai(const core::AnnouncedPlay &) override { note("ShowChuPai"); }

    std::function<void()> onJudge;
    std::vector<std::pair<int, int>> sorted; // display position, cards
    std::vector<std::array<int, 3>> faces; // display position, index, card code
};

// Hands every call to a play flow built after the context that names it.
struct ForwardingPlay final : core::services::PlayFlow
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
    core::services::PlayFlow *to = nullptr;
};

// The sound: entry n of the table is "sound<n>.wav"; files played and
// volumes set are kept as given.
struct RecordingSound final : Recorder, core::services::Sound
{
    RecordingSound()
        : Recorder("sound")
    { }

    void InitSoundPaths() override { note("InitSoundPaths"); }
    QString SoundTable(int entry) const override
    {
        return QStringLiteral("sound%1.wav").arg(entry);
    }
    void InitSound() override { note("InitSound"); }
    void StopSound() override { note("StopSound"); }
    void PlaySoundFile(const QString &path, bool loop) override
    {
        note("PlaySoundFile " + path.toStdString() + (loop ? " loop" : ""));
        played.push_back(path);
        looped = looped || loop;
    }
    void SetSoundVolume(int volume) override
    {
        note("SetSoundVolume" + num(volume));
        volumes.push_back(volume);
    }
    void StopMusic() override { note("StopMusic"); }

    // The files played, by their names without folders.
    std::vector<std::string> playedNames() const
    {
        std::vector<std::string> names;
        for (const QString &path : played)
            names.push_back(QFileInfo(path).fileName().toStdString());
        return names;
    }

    std::vector<QString> played;
    std::vector<int> volumes;
    bool looped = false;
};

// The item library: its send queue and score information are the test's.
struct RecordingItems final : Recorder, core::services::ItemLibrary
{
    RecordingItems()
        : Recorder("items")
    { }

    int CheckSendBuff() override
    {
        note("CheckSendBuff");
        return static_cast<int>(queue.size());
    }
    core::services::PropItem GetSendBuff() override
    {
        note("GetSendBuff");
        if (queue.empty())
            return {};
        auto item = queue.front();
        queue.erase(queue.begin());
        return item;
    }
    int GetScoreInfo(core::services::PropScoreInfo &info) override
    {
        note("GetScoreInfo");
        info = score;
        return scoreReady;
    }
    void InitShowNext(bool f) override { note("InitShowNext" + num(f)); }
    void rec_state(int kind, bool f) override { note("rec_state" + num(kind) + num(f)); }
    void ExitGameDll(int mode) override { note("ExitGameDll" + num(mode)); }
    void ShowPropMsg(const QString &t) override { note("ShowPropMsg " + t.toStdString()); }
    void ShowPropText(const QString &t, const std::vector<int> &, const std::vector<int> &) override
    {
        note("ShowPropText " + t.toStdString());
    }
    void PlayBaoXiang() override { note("PlayBaoXiang"); }
    void OpenBao(int box) override { note("OpenBao" + num(box)); }
    void InitGameDll() override { note("InitGameDll"); }
    void ClearProps() override { note("ClearProps"); }
    void Rec_MSG(const wire::MessageFrame &frame) override { note("Rec_MSG" + num(frame.cmd())); }
    void ClearUser(int pos) override { note("ClearUser" + num(pos)); }
    void InitShowEnd() override { note("InitShowEnd"); }
    bool SetUserinfo(const std::string &, const std::string &, int, int pos, bool, int,
                     const std::string &, const std::string &) override
    {
        note("SetUserinfo" + num(pos));
        return true;
    }
    bool HasLibrary() const override { return hasLibrary; }

    bool hasLibrary = false;
    std::vector<core::services::PropItem> queue;
    int scoreReady = 0;
    core::services::PropScoreInfo score;
};

struct RecordingVideo final : Recorder, core::services::Video
{
    RecordingVideo()
        : Recorder("video")
    { }

    void ShowLocalVideo(bool, bool) override { note("ShowLocalVideo"); }
    void Logout() override { note("Logout"); }
    void StopCamera() override { note("StopCamera"); }
    void LoginVideoServer() override { note("LoginVideoServer"); }
    void OpenLocalVideo() override { note("OpenLocalVideo"); }
    void RequestVideo() override { note("RequestVideo"); }
    void ExitVideo() override { note("ExitVideo"); }
    void DropPeer(const QString &account) override { note("DropPeer " + account.toStdString()); }
    void SeatLeft(int pos) override { note("SeatLeft" + num(pos)); }
    void LeaveTable() override { note("LeaveTable"); }
};

// The settlement: the variant board's frames and the score board's seats
// are kept.
struct RecordingSettlement final : Recorder, core::services::Settlement
{
    RecordingSettlement()
        : Recorder("settlement")
    { }

    void ShowScoreXi(const wire::MessageFrame &frame) override
    {
        note("ShowScoreXi");
        shown.push_back(frame);
    }
    void DeleteHandRecords() override { note("DeleteHandRecords"); }
    void DropResultFrames() override { note("DropResultFrames"); }
    void ShowScore(const wire::MessageFrame &) override { note("ShowScore"); }
    void ClearScoreLists() override { note("ClearScoreLists"); }
    void SetSeat(int pos, const QString &nickname, int avatar) override
    {
        note("SetSeat" + num(pos));
        seats.at(static_cast<std::size_t>(pos)) = {nickname, avatar};
    }
    void EmptySeat(int pos) override
    {
        note("EmptySeat" + num(pos));
        seats.at(static_cast<std::size_t>(pos)) = {};
    }
    void ShowScoreWindow() override { note("ShowScoreWindow"); }
    void ShowHero() override { note("ShowHero"); }

    std::vector<wire::MessageFrame> shown; // the variant board's frames
    std::array<std::pair<QString, int>, 4> seats{}; // nickname, avatar
};

struct RecordingChat final : Recorder, core::services::Chat
{
    RecordingChat()
        : Recorder("chat")
    { }

    void ReceiveChat(const wire::MessageFrame &frame) override
    {
        note("ReceiveChat");
        received.push_back(frame);
    }

    std::vector<wire::MessageFrame> received;
};

// The hidden reconnection dialog: its countdown text and how often it was
// loaded, hidden and unloaded.
struct RecordingReconnectView final : core::services::ReconnectView
{
    void Load() override { ++loads; }
    void SetCountdownText(const QString &text) override { countdown = text; }
    void Hide() override { ++hides; }
    void Unload() override { ++unloads; }
    int loads = 0;
    int hides = 0;
    int unloads = 0;
    QString countdown;
};

// Every service of the client core recording, and the main loop's timers as
// flags, for a fixture that builds the core's context over them.
struct RecordingServices
{
    RecordingSocket socket;
    RecordingHall hall;
    FlagTimers timers;
    RecordingPlay play;
    RecordingSound sound;
    RecordingItems items;
    RecordingVideo video;
    RecordingSettlement settlement;
    RecordingProcess process;
    RecordingChat chat;

    // The context over these services and the given window; over another
    // play flow where one is given.
    core::CoreContext makeContext(core::TableState &state, wire::MsgRings &rings,
                                  const platform::Clock &clock, core::services::TableWindow &window,
                                  core::services::PlayFlow *otherPlay = nullptr)
    {
        return core::CoreContext{state,   rings,  clock,  socket,
                                 hall,    timers, window, otherPlay ? *otherPlay : play,
                                 sound,   items,  video,  settlement,
                                 process, chat};
    }
};

} // namespace tessaroc::fakes
