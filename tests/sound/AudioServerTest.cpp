#include "platform/SoundDevice.h"
#include "sound/SoundFiles.h"
#include "sound/SoundService.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QSoundEffect>
#include <QTest>

namespace tessaroc::sound {
namespace {

// These tests play real files through a real audio server: a PulseAudio
// daemon with a null output that scripts/test (or the test run's own
// fixture) starts; PULSE_SERVER names its socket.
class AudioServer : public ::testing::Test
{
protected:
    platform::QtSoundDevice device;

    void SetUp() override
    {
        ASSERT_TRUE(device.Create())
                << "no audio output: the PulseAudio daemon with a null sink did not answer at "
                << qEnvironmentVariable("PULSE_SERVER").toStdString()
                << " (tests/sound/audio-server start DIR starts one)";
    }

    static QString pk(std::string_view name)
    {
        return QStringLiteral(TESSAROC_SOUND_ROOT "/common/pk/")
                + QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    }
};

TEST_F(AudioServer, AnEffectPlaysToItsEnd)
{
    auto buffer
            = device.CreateSoundBufferFromFile(pk(files::kHint), platform::buffer_caps::CtrlVolume);
    ASSERT_NE(buffer, nullptr);
    auto &effect = static_cast<platform::QtSoundBuffer &>(*buffer).effect();
    QSignalSpy playing(&effect, &QSoundEffect::playingChanged);
    ASSERT_TRUE(buffer->SetVolume(-800));
    EXPECT_NEAR(effect.volume(), 0.398, 0.001);
    ASSERT_TRUE(buffer->Play(false));
    QTRY_VERIFY_WITH_TIMEOUT(playing.size() >= 1, 5000);
    QTRY_VERIFY_WITH_TIMEOUT(playing.size() >= 2 && !effect.isPlaying(), 5000);
    EXPECT_EQ(effect.status(), QSoundEffect::Ready);
}

TEST_F(AudioServer, ALoopPlaysOnUntilStopped)
{
    // The warning tick lasts a tenth of a second; looped it outlasts the wait.
    auto buffer = device.CreateSoundBufferFromFile(
            QStringLiteral(TESSAROC_SOUND_ROOT "/common/music/tishi.wav"),
            platform::buffer_caps::CtrlVolume);
    ASSERT_NE(buffer, nullptr);
    auto &effect = static_cast<platform::QtSoundBuffer &>(*buffer).effect();
    ASSERT_TRUE(buffer->Play(true));
    QTRY_VERIFY_WITH_TIMEOUT(effect.isPlaying(), 5000);
    QTest::qWait(500);
    EXPECT_TRUE(effect.isPlaying());
    EXPECT_TRUE(buffer->Stop());
    EXPECT_FALSE(effect.isPlaying());
}

TEST_F(AudioServer, ThePlayerKeepsItsSwitchesOnARealDevice)
{
    core::SoundSwitches switches;
    SoundService sound(switches, device);
    sound.InitSoundPaths(QStringLiteral(TESSAROC_SOUND_ROOT "/common"));
    sound.InitSound();
    sound.StopSound();
    sound.PlaySoundFile(sound.paths().SoundTable[1], true);
    sound.SetSoundVolume(SoundService::kFullVolume);
    sound.PlaySoundChannel(sound.paths().PkSoundDir
                                   + QString::fromStdString(files::PhraseVoiceFileName(1, 1, 1, 1)),
                           0);
    EXPECT_TRUE(sound.hasMainBuffer());
    EXPECT_TRUE(sound.hasVoiceBuffer(0));
    sound.StopSound();
    EXPECT_EQ(switches, core::SoundSwitches{}) << "nothing failed";
}

} // namespace
} // namespace tessaroc::sound
