#pragma once

#include "DispatchFixture.h"

#include "play/PlayFlowService.h"

#include <QString>

#include <memory>
#include <string>
#include <vector>

namespace tessaroc::play::test {

using core::test::CallLog;
using Screen = core::test::Client::Screen;

// The sound as the play flow uses it: every file played, by its name.
struct RecordingSound : core::services::Sound
{
    void InitSoundPaths() override { }
    QString SoundTable(int) const override { return {}; }
    void InitSound() override { }
    void StopSound() override { }
    void PlaySoundFile(const QString &path, bool loop) override
    {
        played.push_back(path.section(QLatin1Char('/'), -1).toStdString());
        looped = looped || loop;
    }
    void SetSoundVolume(int volume) override { volumes.push_back(volume); }
    void StopMusic() override { }
    std::vector<std::string> played;
    std::vector<int> volumes;
    bool looped = false;
};

// Hands every call to the play flow built after the context.
struct ForwardingPlay : core::services::PlayFlow
{
    core::services::PlayFlow *to = nullptr;
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
};

// The table window laid out at one scale with the real play flow behind the
// real dispatcher; the other services record. The clock moves on at every
// reading, so every animation runs to its end at once unless a test stops it.
class PlayTable
{
public:
    explicit PlayTable(Screen screen = Screen::Full);

    table::MainForm &form() { return base.form(); }
    core::TableState &state() { return base.state; }
    forms::LayoutScale scale() const { return base.state.table.scale; }
    PlayFlowService &flow() { return *play; }
    void dispatch(const wire::MessageFrame &frame) { dispatcher->ProcessMessage(frame); }
    // Four users seated; the own seat bit is `own`.
    void seatFour(std::uint8_t own = 1);

    core::test::Client base;
    RecordingSound sound;
    ForwardingPlay forward;
    std::unique_ptr<core::CoreContext> context;
    std::unique_ptr<PlayFlowService> play;
    std::unique_ptr<core::Dispatcher> dispatcher;
};

// Names the two scales in the names of parameterised tests.
inline std::string scaleName(const ::testing::TestParamInfo<Screen> &param)
{
    return param.param == Screen::Full ? "Full" : "Reduced";
}

// The card picture id that the full or the reduced table shows for a
// picture number.
int cardPictureId(const core::TableState &state, int number);

} // namespace tessaroc::play::test
