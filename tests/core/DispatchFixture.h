#pragma once

#include "core/CoreContext.h"
#include "core/Dispatcher.h"
#include "core/HallService.h"
#include "core/TableState.h"
#include "platform/Clock.h"
#include "table/CommandViews.h"
#include "table/MainForm.h"
#include "table/OtherExitDialog.h"
#include "wire/MsgRings.h"
#include "wire/ReceivedFrames.h"

#include "FlagTimers.h"

#include "chat/ChatService.h"
#include "items/ItemService.h"
#include "settlement/SettlementService.h"
#include "sound/SoundService.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tessaroc::core::test {

// A clock that moves on by a step at every reading, so that waits on it end
// at once in real time.
class SteppingClock final : public platform::Clock
{
public:
    explicit SteppingClock(std::int64_t stepMs = 1000)
        : step_(stepMs)
    { }
    std::int64_t nowMs() const override
    {
        now_ += step_;
        return now_;
    }
    void advance(std::int64_t ms) { now_ += ms; }
    // 0 makes it a clock that moves only when told to.
    void setStep(std::int64_t ms) { step_ = ms; }

private:
    mutable std::int64_t now_ = 1'000'000;
    std::int64_t step_;
};

// Everything that reaches the services, in call order, as short words.
struct CallLog
{
    std::vector<std::string> calls;
    void add(std::string call) { calls.push_back(std::move(call)); }
    int count(const std::string &call) const
    {
        int n = 0;
        for (const auto &c : calls)
            n += c == call;
        return n;
    }
    bool has(const std::string &call) const { return count(call) > 0; }
};

struct FakeSocket : services::ServerSocket
{
    explicit FakeSocket(CallLog &l)
        : log(l)
    { }
    int State() const override { return state; }
    bool SendData(const wire::MessageFrame &frame) override
    {
        log.add("socket.send");
        if (state != sckConnected)
            return false;
        sent.push_back(frame);
        return true;
    }
    void Close() override
    {
        log.add("socket.close");
        state = sckClosed;
    }
    void Connect(const QString &, quint16) override
    {
        log.add("socket.connect");
        state = connectSucceeds ? sckConnected : 6;
    }
    bool ConnectToSock5Server(const wire::CommandLine &) override
    {
        log.add("socket.proxy");
        return true;
    }
    CallLog &log;
    int state = sckConnected;
    bool connectSucceeds = false;
    std::vector<wire::MessageFrame> sent;
};

struct FakeHall : services::HallWindow
{
    explicit FakeHall(CallLog &l)
        : log(l)
    { }
    bool FindHall() override { return present; }
    bool RestoreHall() override
    {
        log.add("hall.restore");
        return present;
    }
    bool MinimiseHall() override
    {
        log.add("hall.minimise");
        return present;
    }
    void PostToHall(std::uint32_t msg) override
    {
        if (present)
            posts.push_back(msg);
    }
    CallLog &log;
    bool present = true;
    std::vector<std::uint32_t> posts;
};

struct FakePlay : services::PlayFlow
{
    explicit FakePlay(CallLog &l)
        : log(l)
    { }
    void LowerOwnCard(int) override { }
    void RaiseOwnCard(int) override { }
    void JudgeChuPai() override { }
    void Pic1_KeyDown(int, int) override { }
    void Tou_Click(int) override { }
    void Tou_MouseMove(int) override { }
    void FaPai(const core::DealtHand &) override { log.add("play.FaPai"); }
    void DiPaiAnimation(int p) override { log.add("play.DiPai" + std::to_string(p)); }
    void SortHandByFace(int p, int n) override
    {
        log.add("play.sort" + std::to_string(p) + "," + std::to_string(n));
    }
    void ShowCardFace(int pos, int index, rules::CardCode code) override
    {
        faces.push_back({pos, index, code});
    }
    void ShowChuPai(const core::AnnouncedPlay &) override { log.add("play.ShowChuPai"); }
    CallLog &log;
    std::vector<std::array<int, 3>> faces;
};

struct FakeSound : services::Sound
{
    void InitSoundPaths() override { }
    QString SoundTable(int) const override { return {}; }
    void InitSound() override { }
    void StopSound() override { }
    void PlaySoundFile(const QString &, bool) override { }
    void SetSoundVolume(int) override { }
    void StopMusic() override { }
};

struct FakeItems : services::ItemLibrary
{
    explicit FakeItems(CallLog &l)
        : log(l)
    { }
    int CheckSendBuff() override { return 0; }
    services::PropItem GetSendBuff() override { return {}; }
    int GetScoreInfo(services::PropScoreInfo &) override { return 0; }
    void InitShowNext(bool) override { }
    void rec_state(int kind, bool up) override
    {
        log.add("items.rec_state" + std::to_string(kind) + (up ? "up" : "down"));
    }
    void ExitGameDll(int) override { log.add("items.exit"); }
    void ShowPropMsg(const QString &) override { }
    void ShowPropText(const QString &, const std::vector<int> &, const std::vector<int> &) override
    { }
    void PlayBaoXiang() override { }
    void OpenBao(int) override { }
    void InitGameDll() override { log.add("items.init"); }
    void ClearProps() override { log.add("items.ClearProps"); }
    void Rec_MSG(const wire::MessageFrame &frame) override
    {
        log.add("items.Rec_MSG" + std::to_string(frame.cmd()));
    }
    void ClearUser(int pos) override { log.add("items.ClearUser" + std::to_string(pos)); }
    void InitShowEnd() override { log.add("items.InitShowEnd"); }
    bool SetUserinfo(const std::string &, const std::string &, int, int, bool, int,
                     const std::string &, const std::string &) override
    {
        return true;
    }
    bool HasLibrary() const override { return false; }
    CallLog &log;
};

struct FakeVideo : services::Video
{
    void ShowLocalVideo(bool, bool) override { }
    void Logout() override { }
    void StopCamera() override { }
    void LoginVideoServer() override { }
    void OpenLocalVideo() override { }
    void RequestVideo() override { }
    void ExitVideo() override { }
    void DropPeer(const QString &) override { }
};

struct FakeSettlement : services::Settlement
{
    explicit FakeSettlement(CallLog &l)
        : log(l)
    { }
    void ShowScoreXi(const wire::MessageFrame &) override { log.add("settlement.ShowScoreXi"); }
    void DeleteHandRecords() override { }
    void ShowScore(const wire::MessageFrame &) override { log.add("settlement.ShowScore"); }
    void ClearScoreLists() override { log.add("settlement.clearLists"); }
    void SetSeat(int pos, const QString &nickname, int avatar) override
    {
        seats[static_cast<std::size_t>(pos)] = {nickname, avatar};
    }
    void EmptySeat(int pos) override { seats[static_cast<std::size_t>(pos)] = {}; }
    void ShowScoreWindow() override { log.add("settlement.ShowScoreWindow"); }
    void ShowHero() override { log.add("settlement.ShowHero"); }
    CallLog &log;
    std::array<std::pair<QString, int>, 4> seats{};
};

struct FakeProcess : services::Process
{
    explicit FakeProcess(CallLog &l)
        : log(l)
    { }
    void MessageBox(const QString &text, const QString &) override
    {
        log.add("messageBox");
        boxes.push_back(text);
    }
    void End(ExitCode code) override
    {
        log.add("end");
        ended = code;
    }
    CallLog &log;
    std::vector<QString> boxes;
    std::optional<ExitCode> ended;
};

struct FakeChat : services::Chat
{
    void ReceiveChat(const wire::MessageFrame &) override { ++lines; }
    int lines = 0;
};

// The table window's service on a real window: what the server's commands
// show goes through the table's own views; the rest is the window's.
class TestTableWindow : public services::TableWindow
{
public:
    TestTableWindow(table::MainForm &form, table::CommandViews &views)
        : form_(form)
        , v_(views)
    { }

    void PrepareStartUp() override { }
    void FitToScreen(double, double) override { }
    void InitSeatLayout() override { }
    void InitPlayLayout() override { }
    void ShowTable() override { }
    void SetCaption(const QString &) override { }
    void SetSystemLine(int line, const QString &text) override { lines[line & 1] = text; }
    bool IsMinimised() const override { return minimised; }
    void Minimise() override { minimised = true; }
    void ClearTable() override
    {
        ++cleared;
        form_.ClearTable();
    }
    void ResetTableView() override { ++resets; }
    void ShowClockSeconds(int, bool) override { }
    void HideTurnClock() override
    {
        form_.turn.Time_Img.setVisible(false);
        form_.turn.Number.setVisible(false);
    }
    void HideBidButtons() override
    {
        for (int i = 0; i <= 3; ++i) {
            if (auto *b = form_.bid.btnJiaofen.find(i))
                b->setVisible(false);
        }
    }
    void HideChoiceButtons() override
    {
        for (int i = 0; i <= 1; ++i)
            form_.actions.tanOperation(i).setVisible(false);
    }
    void HideActionButtons() override { }
    void SetToolbarPicture(int, int) override { }
    void ShowSeatShuffle(const QString &caption, const QString &adUrl) override
    {
        v_.ShowSeatShuffle(caption, adUrl);
    }
    void HideBubble(int pos) override { form_.messages.Speak(pos).setVisible(false); }
    void HideWords() override { }
    bool BottomCardsVisible() const override { return false; }
    void HideBottomCards() override { }
    void SetPropLabel(const QString &) override { }
    void UnloadWindows() override { }

    void RestoreAndFocus() override
    {
        minimised = false;
        ++restored;
    }
    void CloseLeaveDialog() override { v_.CloseLeaveDialog(); }
    void HideReadyMarks() override { v_.HideReadyMarks(); }
    void ShowShowCardDouble(int value) override { v_.ShowShowCardDouble(value); }
    void SetWealthShown(bool shown) override { v_.SetWealthShown(shown); }
    QString WealthCaption() const override { return v_.WealthCaption(); }
    void ShowSortButton() override { v_.ShowSortButton(); }
    void PlaceOwnBottomCard(int slot) override { v_.PlaceOwnBottomCard(slot); }
    void BringRoomStripToFront() override { v_.BringRoomStripToFront(); }
    void ShowBidButtons() override { v_.ShowBidButtons(); }
    bool LandlordBadgeVisible() const override { return v_.LandlordBadgeVisible(); }
    void ShowLandlord(int pos) override { v_.ShowLandlord(pos); }
    void FirstPlayOfHand() override { v_.FirstPlayOfHand(); }
    void ShowTurnClock(ClockKind kind, int pos, int seconds) override
    {
        v_.ShowTurnClock(kind, pos, seconds);
    }
    void ShowClockHere(int seconds) override { v_.ShowClockHere(seconds); }
    void HideCardPicture(int pos, int index) override { v_.HideCardPicture(pos, index); }
    void ShowPassPicture(int pos) override { v_.ShowPassPicture(pos); }
    void ShowOwnTurnButtons(bool lead) override { v_.ShowOwnTurnButtons(lead); }
    void ShowSeat(int pos, const SeatView &view) override { v_.ShowSeat(pos, view); }
    void EmptySeat(int pos) override { v_.EmptySeat(pos); }
    void ClearSeatMarkAndAvatar(int pos) override { v_.ClearSeatMarkAndAvatar(pos); }
    bool ReadyMarkVisible(int pos) const override { return v_.ReadyMarkVisible(pos); }
    void ShowReadyMark(int pos) override { v_.ShowReadyMark(pos); }
    bool NameShown(int pos) const override { return v_.NameShown(pos); }
    void HideSeatVideo(int pos) override { v_.HideSeatVideo(pos); }
    void ShowShowCardNote(bool shown) override { v_.ShowShowCardNote(shown); }
    void ShowWealthNotes() override { v_.ShowWealthNotes(); }
    void ShowWealth(std::int32_t value) override { v_.ShowWealth(value); }
    void HideWealth() override { v_.HideWealth(); }
    void PlaceReadyClockAndShuffle() override { v_.PlaceReadyClockAndShuffle(); }
    void HideShuffleNotice(bool stopTimer) override { v_.HideShuffleNotice(stopTimer); }
    bool ShuffleNoticeRunning() const override { return v_.ShuffleNoticeRunning(); }
    void HideAdPanel() override { v_.HideAdPanel(); }
    void ShowWebPanel(const QString &url) override { v_.ShowWebPanel(url); }
    void SetOtherExitText(const QString &text) override { v_.SetOtherExitText(text); }
    void ShowOtherExit() override
    {
        ++otherExitShown;
        v_.ShowOtherExit();
    }

    std::array<QString, 2> lines;
    bool minimised = false;
    int cleared = 0;
    int resets = 0;
    int restored = 0;
    int otherExitShown = 0;

private:
    table::MainForm &form_;
    table::CommandViews &v_;
};

// The client core on a real table window laid out offscreen at one of the two
// scales, with recording services, logged in at seat bit 1 unless a test
// says otherwise.
class Client
{
public:
    enum class Screen { Full, Reduced };
    explicit Client(Screen screen = Screen::Full);
    ~Client();

    void dispatch(const wire::MessageFrame &frame) { dispatcher->ProcessMessage(frame); }
    // Seats four users (own seat bit `own`, accounts a..d by seat bit 1..8).
    void seatFour(std::uint8_t own = 1);
    table::MainForm &form() { return *form_; }
    forms::LayoutScale scale() const { return state.table.scale; }
    MainLoopState &loop() { return state.loop; }

    CallLog log;
    TableState state;
    wire::MsgRings rings;
    SteppingClock clock;
    FakeSocket socket{log};
    FakeHall hall{log};
    fakes::FlagTimers timers;
    FakePlay play{log};
    FakeSound sound;
    FakeItems items{log};
    FakeVideo video;
    FakeSettlement settlement{log};
    FakeProcess process{log};
    FakeChat chat;

private:
    // The table window's own services.
    HallService tableHall_;
    ::tessaroc::sound::SoundService tableSound_;
    ::tessaroc::items::ItemService tableItems_;
    ::tessaroc::chat::ChatService tableChat_;
    ::tessaroc::settlement::SettlementService tableSettlement_;
    std::unique_ptr<table::MainForm> form_;
    table::OtherExitDialog otherExit_;
    std::unique_ptr<table::CommandViews> views_;

public:
    std::unique_ptr<TestTableWindow> window;
    std::unique_ptr<CoreContext> context;
    std::unique_ptr<Dispatcher> dispatcher;
    table::OtherExitDialog &otherExit() { return otherExit_; }
};

// Parameterised suites run at both layout scales and say which.
inline const auto kBothScales = ::testing::Values(Client::Screen::Full, Client::Screen::Reduced);
inline std::string screenName(const ::testing::TestParamInfo<Client::Screen> &param)
{
    return param.param == Client::Screen::Full ? "Full" : "Reduced";
}
inline void PrintTo(Client::Screen screen, std::ostream *os)
{
    *os << (screen == Client::Screen::Full ? "Full" : "Reduced");
}

// The user information of account `name` at seat bit `seat`, sent to a
// client at seat bit `recipient`.
wire::UserInfoFrame userInfo(const std::string &name, std::uint8_t seat,
                             std::uint8_t recipient = 1);

} // namespace tessaroc::core::test
