#include "platform/SoundDevice.h"
#include "sound/SoundService.h"

#include <gtest/gtest.h>

namespace tessaroc::sound {
namespace {

// This binary runs with no audio server to reach (its environment points
// the sound library at a socket that does not exist): the client stays
// silent, says so on its standard error, and the device's failure switches
// the voices off as it should.
TEST(NoAudioDevice, TheClientStaysSilentAndSwitchesTheVoicesOff)
{
    core::SoundSwitches switches;
    platform::QtSoundDevice device;
    SoundService sound(switches, device);
    sound.InitSoundPaths(QStringLiteral(TESSAROC_SOUND_ROOT) + QStringLiteral("/common"));
    ::testing::internal::CaptureStderr();
    sound.InitSound();
    // The player's only word of a silent table, which scripts/play passes on.
    EXPECT_NE(::testing::internal::GetCapturedStderr().find(
                      "tessaroc: no sound device could be opened"),
              std::string::npos);
    sound.StopSound();
    sound.PlaySoundFile(sound.paths().SoundTable[1], true);
    sound.SetSoundVolume(SoundService::kFullVolume);
    sound.PlaySoundChannel(sound.paths().PkSoundDir + QStringLiteral("v1010101.wav"), 0);
    EXPECT_EQ(switches, (core::SoundSwitches{true, true, false, false}));
    EXPECT_FALSE(sound.hasMainBuffer());
    EXPECT_FALSE(sound.hasVoiceBuffer(0));
}

} // namespace
} // namespace tessaroc::sound
