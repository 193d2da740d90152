#pragma once

#include "core/services/Chat.h"
#include "core/services/ItemLibrary.h"
#include "core/services/PlayFlow.h"
#include "core/services/Settlement.h"
#include "core/services/Sound.h"
#include "core/services/Video.h"

#include <QString>

#include <string>
#include <vector>

namespace tessaroc::fakes {

// Services of the client core that do nothing, for tests that drive the table
// window or one subsystem and need the rest of the core's context filled.

struct NullPlay : core::services::PlayFlow
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

struct NullSound : core::services::Sound
{
    void InitSoundPaths() override { }
    QString SoundTable(int) const override { return {}; }
    void InitSound() override { }
    void StopSound() override { }
    void PlaySoundFile(const QString &, bool) override { }
    void SetSoundVolume(int) override { }
    void StopMusic() override { }
};

struct NullItems : core::services::ItemLibrary
{
    int CheckSendBuff() override { return 0; }
    core::services::PropItem GetSendBuff() override { return {}; }
    int GetScoreInfo(core::services::PropScoreInfo &) override { return 0; }
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
};

struct NullVideo : core::services::Video
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

struct NullSettlement : core::services::Settlement
{
    void ShowScoreXi(const wire::MessageFrame &) override { }
    void DeleteHandRecords() override { }
    void ShowScore(const wire::MessageFrame &) override { }
    void ClearScoreLists() override { }
    void SetSeat(int, const QString &, int) override { }
    void EmptySeat(int) override { }
    void ShowScoreWindow() override { }
    void ShowHero() override { }
};

struct NullChat : core::services::Chat
{
    void ReceiveChat(const wire::MessageFrame &) override { }
};

} // namespace tessaroc::fakes
