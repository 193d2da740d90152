#pragma once

#include "core/CoreContext.h"
#include "core/ExitCodes.h"
#include "wire/MsgRings.h"

#include "NullServices.h"

#include <optional>
#include <string>
#include <vector>

// The client core's services as the table's leave paths reach them, each
// call written as a short word into one log in call order: frames sent,
// socket closes, hall lookups and restores, the end of the program.
namespace tessaroc::table::test {

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
};

struct LogSocket final : core::services::ServerSocket
{
    explicit LogSocket(CallLog &l)
        : log(l)
    { }
    int State() const override { return state; }
    bool SendData(const wire::MessageFrame &frame) override
    {
        if (state != sckConnected)
            return false;
        log.add("send " + std::to_string(frame.cmd()));
        sent.push_back(frame);
        return true;
    }
    void Close() override
    {
        log.add("socket.close");
        if (closeDisconnects)
            state = sckClosed;
    }
    void Connect(const QString &, quint16) override { log.add("socket.connect"); }
    bool ConnectToSock5Server(const wire::CommandLine &) override { return false; }
    CallLog &log;
    int state = sckConnected;
    // False: the socket keeps reporting itself connected after Close.
    bool closeDisconnects = true;
    std::vector<wire::MessageFrame> sent;
};

struct LogHall final : core::services::HallWindow
{
    explicit LogHall(CallLog &l)
        : log(l)
    { }
    bool FindHall() override
    {
        log.add("hall.find");
        return present;
    }
    bool RestoreHall() override
    {
        log.add("hall.restore");
        return present;
    }
    bool MinimiseHall() override { return present; }
    void PostToHall(std::uint32_t msg) override { log.add("hall.post " + std::to_string(msg)); }
    CallLog &log;
    bool present = true;
};

struct LogTimers final : core::services::MainLoopControl
{
    void StartTimerBong() override { bong = true; }
    void StopTimerBong() override { bong = false; }
    bool TimerBongEnabled() const override { return bong; }
    void StartKeepAlive() override { keepAlive = true; }
    void StopKeepAlive() override { keepAlive = false; }
    bool KeepAliveEnabled() const override { return keepAlive; }
    bool bong = true;
    bool keepAlive = true;
};

struct NullPlay final : core::services::PlayFlow
{
    void LowerOwnCard(int) override { }
    void RaiseOwnCard(int) override { }
    void JudgeChuPai() override { }
    void Pic1_KeyDown(int, int) override { }
    void Tou_Click(int) override { }
    void Tou_MouseMove(int) override { }
    void FaPai(const core::DealtHand &) override { }
    void DiPaiAnimation(int) override { }
    void SortHandByFace(int, int) override { }
    void ShowCardFace(int, int, rules::CardCode) override { }
    void ShowChuPai(const core::AnnouncedPlay &) override { }
};

struct NullSound final : core::services::Sound
{
    void InitSoundPaths() override { }
    QString SoundTable(int) const override { return {}; }
    void InitSound() override { }
    void StopSound() override { }
    void PlaySoundFile(const QString &, bool) override { }
    void SetSoundVolume(int) override { }
    void StopMusic() override { }
};

struct LogItems final : fakes::NullItems
{
    explicit LogItems(CallLog &l)
        : log(l)
    { }
    void ExitGameDll(int mode) override { log.add("items.exit " + std::to_string(mode)); }
    CallLog &log;
};

using NullVideo = fakes::NullVideo;

struct LogSettlement final : core::services::Settlement
{
    explicit LogSettlement(CallLog &l)
        : log(l)
    { }
    void ShowScoreXi(const wire::MessageFrame &) override { }
    void DeleteHandRecords() override { log.add("records.delete"); }
    void ShowScore(const wire::MessageFrame &) override { }
    void ClearScoreLists() override { }
    void SetSeat(int, const QString &, int) override { }
    void EmptySeat(int) override { }
    void ShowScoreWindow() override { }
    void ShowHero() override { }
    CallLog &log;
};

struct LogProcess final : core::services::Process
{
    explicit LogProcess(CallLog &l)
        : log(l)
    { }
    void MessageBox(const QString &, const QString &) override { log.add("messageBox"); }
    void End(core::ExitCode code) override
    {
        log.add("end");
        ended = code;
    }
    CallLog &log;
    std::optional<core::ExitCode> ended;
};

struct NullChat final : core::services::Chat
{
    void ReceiveChat(const wire::MessageFrame &) override { }
};

} // namespace tessaroc::table::test
