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

#include "FrameBuilders.h"
#include "RecordingServices.h"

#include "chat/ChatService.h"
#include "items/ItemService.h"
#include "play/PlaySubsystems.h"
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

// Everything that reaches the socket, the hall, the play flow, the item
// library, the settlement and the process, in call order.
using CallLog = ::tessaroc::test::CallRecord;

// The table window's service on a real window: what the server's commands
// show goes through the table's own views; the rest is the window's. Where the
// core decides a place (the clock's seat and seconds, the buttons, the badge,
// the wealth), the call is also recorded in `asked`, so a test checks what the
// core asked for and leaves the pixels to the table's tests.
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
    bool IsNormal() const override { return !minimised && !maximised; }
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
        maximised = false;
        ++restored;
    }
    void CloseLeaveDialog() override { v_.CloseLeaveDialog(); }
    void HideReadyMarks() override { v_.HideReadyMarks(); }
    void ShowShowCardDouble(int value) override { v_.ShowShowCardDouble(value); }
    void SetWealthShown(bool shown) override { v_.SetWealthShown(shown); }
    QString WealthCaption() const override { return v_.WealthCaption(); }
    void ShowSortButton() override { v_.ShowSortButton(); }
    void PlaceOwnBottomCard(int slot) override
    {
        asked.PlaceOwnBottomCard(slot);
        v_.PlaceOwnBottomCard(slot);
    }
    void BringRoomStripToFront() override { v_.BringRoomStripToFront(); }
    void ShowBidButtons() override { v_.ShowBidButtons(); }
    bool LandlordBadgeVisible() const override { return v_.LandlordBadgeVisible(); }
    void ShowLandlord(int pos) override
    {
        asked.ShowLandlord(pos);
        v_.ShowLandlord(pos);
    }
    void FirstPlayOfHand() override { v_.FirstPlayOfHand(); }
    void ShowTurnClock(ClockKind kind, int pos, int seconds) override
    {
        asked.ShowTurnClock(kind, pos, seconds);
        v_.ShowTurnClock(kind, pos, seconds);
    }
    void ShowClockHere(int seconds) override { v_.ShowClockHere(seconds); }
    void HideCardPicture(int pos, int index) override { v_.HideCardPicture(pos, index); }
    void ShowPassPicture(int pos) override { v_.ShowPassPicture(pos); }
    void ShowOwnTurnButtons(bool lead) override
    {
        asked.ShowOwnTurnButtons(lead);
        v_.ShowOwnTurnButtons(lead);
    }
    void ShowSeat(int pos, const SeatView &view) override { v_.ShowSeat(pos, view); }
    void EmptySeat(int pos) override { v_.EmptySeat(pos); }
    void ClearSeatMarkAndAvatar(int pos) override { v_.ClearSeatMarkAndAvatar(pos); }
    bool ReadyMarkVisible(int pos) const override { return v_.ReadyMarkVisible(pos); }
    void ShowReadyMark(int pos) override { v_.ShowReadyMark(pos); }
    bool NameShown(int pos) const override { return v_.NameShown(pos); }
    void HideSeatVideo(int pos) override { v_.HideSeatVideo(pos); }
    void ShowShowCardNote(bool shown) override { v_.ShowShowCardNote(shown); }
    void ShowWealthNotes() override { v_.ShowWealthNotes(); }
    void ShowWealth(std::int32_t value) override
    {
        asked.ShowWealth(value);
        v_.ShowWealth(value);
    }
    void HideWealth() override { v_.HideWealth(); }
    void PlaceReadyClockAndShuffle() override
    {
        asked.PlaceReadyClockAndShuffle();
        v_.PlaceReadyClockAndShuffle();
    }
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

    fakes::RecordingWindow asked;
    std::array<QString, 2> lines;
    bool minimised = false;
    bool maximised = false;
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
class Client : public fakes::RecordingServices
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
    // The subsystems behind the table window, for a play flow built over it.
    play::PlaySubsystems tableSubsystems()
    {
        return {tableSound_, tableItems_, tableChat_, tableSettlement_};
    }

    CallLog log;
    TableState state;
    wire::MsgRings rings;
    SteppingClock clock;

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

using frames::userInfo;

} // namespace tessaroc::core::test
