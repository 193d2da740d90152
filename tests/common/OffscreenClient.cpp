#include "OffscreenClient.h"

#include "FlagTimers.h"

#include "forms/Fonts.h"
#include "support/PictureIds.h"
#include "table/WindowSizing.h"

namespace tessaroc::offscreen {

using namespace core::services;

struct NullServices
{
    struct Socket : ServerSocket
    {
        int State() const override { return state; }
        bool SendData(const wire::MessageFrame &) override { return state == sckConnected; }
        void Close() override { state = sckClosed; }
        void Connect(const QString &, quint16) override { state = sckConnected; }
        bool ConnectToSock5Server(const wire::CommandLine &) override { return false; }
        int state = sckConnected;
    } socket;
    struct Hall : HallWindow
    {
        bool FindHall() override { return true; }
        bool RestoreHall() override { return true; }
        bool MinimiseHall() override { return true; }
        void PostToHall(std::uint32_t) override { }
    } hall;
    fakes::FlagTimers timers;
    struct Play : PlayFlow
    {
        void LowerOwnCard(int) override { }
        void RaiseOwnCard(int) override { }
        void JudgeChuPai() override { }
        void Pic1_KeyDown(int, int) override { }
        void Tou_Click(int) override { }
        void Tou_MouseMove(int) override { }
        void FaPai(const wire::MessageFrame &) override { }
        void DiPaiAnimation(int) override { }
        void SortHandByFace(int, int) override { }
        void ShowCardPicture(int, int, int) override { }
        void ShowChuPai(const wire::MessageFrame &) override { }
    } play;
    struct NullSound : Sound
    {
        void InitSoundPaths() override { }
        QString SoundTable(int) const override { return {}; }
        void InitSound() override { }
        void StopSound() override { }
        void PlaySoundFile(const QString &, bool) override { }
        void SetSoundVolume(int) override { }
        void StopMusic() override { }
    } sound;
    struct Items : ItemLibrary
    {
        int CheckSendBuff() override { return 0; }
        PropItem GetSendBuff() override { return {}; }
        int GetScoreInfo(PropScoreInfo &) override { return 0; }
        void InitShowNext(bool) override { }
        void rec_state(int, bool) override { }
        void ExitGameDll(int) override { }
        void ShowPropMsg(const QString &) override { }
        void ShowPropText(const QString &, const std::vector<int> &,
                          const std::vector<int> &) override
        { }
        void PlayBaoXiang() override { }
        void OpenBao(int) override { }
        void InitGameDll() override { }
        void ClearProps() override { }
        void Rec_MSG(const wire::MessageFrame &) override { }
        void ClearUser(int) override { }
        void InitShowEnd() override { }
        bool SetUserinfo(const std::string &, const std::string &, int, int, bool, int,
                         const std::string &, const std::string &) override
        {
            return true;
        }
        bool HasLibrary() const override { return false; }
    } items;
    struct NullVideo : Video
    {
        void ShowLocalVideo(bool, bool) override { }
        void Logout() override { }
        void StopCamera() override { }
        void LoginVideoServer() override { }
        void OpenLocalVideo() override { }
        void RequestVideo() override { }
        void ExitVideo() override { }
        void DropPeer(const QString &) override { }
    } video;
    struct NullSettlement : Settlement
    {
        void ShowScoreXi(const wire::MessageFrame &) override { }
        void DeleteHandRecords() override { }
        void ShowScore(const wire::MessageFrame &) override { }
        void ClearScoreLists() override { }
        void SetSeat(int, const QString &, int) override { }
        void EmptySeat(int) override { }
        void ShowScoreWindow() override { }
        void ShowHero() override { }
    } settlement;
    struct NullProcess : Process
    {
        void MessageBox(const QString &, const QString &) override { }
        void End(core::ExitCode) override { ended = true; }
        bool ended = false;
    } process;
    struct NullChat : Chat
    {
        void ReceiveChat(const wire::MessageFrame &) override { }
    } chat;
};

OffscreenClient::OffscreenClient(bool reduced)
    : services(std::make_unique<NullServices>())
{
    forms::installFontSubstitutions();
    form = std::make_unique<table::MainForm>(state, clock,
                                             table::TableServices{tableHall_, tableSound_,
                                                                  tableItems_, tableChat_,
                                                                  tableSettlement_});
    window = std::make_unique<table::TableWindowService>(*form, state);
    window->PrepareStartUp();
    window->FitToScreen(reduced ? 800 * 15.0 : 1024 * 15.0, reduced ? 600 * 15.0 : 768 * 15.0);
    support::InitPictureIds(state.pictures, state.table.scale.ScaleX);
    window->InitSeatLayout();
    window->ShowTable();
    window->InitPlayLayout();
    window->ClearTable();
    NullServices &s = *services;
    context = std::make_unique<core::CoreContext>(
            core::CoreContext{state, rings, clock, s.socket, s.hall, s.timers, *window, s.play,
                              s.sound, s.items, s.video, s.settlement, s.process, s.chat});
    dispatcher = std::make_unique<core::Dispatcher>(*context);
}

OffscreenClient::~OffscreenClient() = default;

bool OffscreenClient::ended() const
{
    return services->process.ended;
}

bool OffscreenClient::mainLoopRunning() const
{
    return services->timers.bong;
}

void OffscreenClient::revive()
{
    services->process.ended = false;
    services->timers.bong = true;
    services->socket.state = ServerSocket::sckConnected;
}

} // namespace tessaroc::offscreen
