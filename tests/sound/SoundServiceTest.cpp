#include "RecordingSoundDevice.h"

#include "platform/SoundDevice.h"
#include "sound/CoreSound.h"
#include "sound/SoundService.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

namespace tessaroc::sound {
namespace {

using testing::RecordingSoundDevice;
using Op = RecordingSoundDevice::Op;
using Lines = std::vector<std::string>;

const QString kProgramFolder = QStringLiteral("/games/tessaroc/bin");

struct Player
{
    core::SoundSwitches switches;
    RecordingSoundDevice device;
    SoundService sound{switches, device};

    Player() { sound.InitSoundPaths(kProgramFolder); }

    QString pk(const char *name) const
    {
        return sound.paths().PkSoundDir + QString::fromLatin1(name);
    }

    // What the start-up does: open the device, stop, start the loop.
    void startUp()
    {
        sound.InitSound();
        sound.StopSound();
        sound.PlaySoundFile(sound.paths().SoundTable[1], true);
        sound.SetSoundVolume(SoundService::kFullVolume);
    }
    void effect(const char *name)
    {
        sound.PlaySoundFile(pk(name), false);
        sound.SetSoundVolume(SoundService::kFullVolume);
    }
};

// The core's sound opens the device only once the event loop runs (after the
// table window has shown); what the start-up asked for until then follows
// in its order, and later calls go straight through.
TEST(CoreSound, OpensTheDeviceWhenTheEventLoopRunsAndKeepsTheOrder)
{
    Player p;
    CoreSound core(p.sound);
    core.InitSound();
    core.StopSound();
    core.PlaySoundFile(p.sound.paths().SoundTable[1], true);
    core.SetSoundVolume(SoundService::kFullVolume);
    EXPECT_TRUE(p.device.take().empty());

    QCoreApplication::processEvents();
    Lines opened = p.device.take();
    Player direct;
    direct.startUp();
    EXPECT_EQ(opened, direct.device.take());
    ASSERT_FALSE(opened.empty());
    EXPECT_EQ(opened.front(), "open");

    core.StopSound();
    EXPECT_FALSE(p.device.take().empty());
}

TEST(SoundPaths, AreFilledFromTheProgramFolder)
{
    Player p;
    const QString common = kProgramFolder + QStringLiteral("/../common/");
    SoundPaths expected;
    const char *const table[] = {"majiang", "dapai", "qupai", "xipai", "zhise", "tishi"};
    for (int i = 1; i <= 6; ++i)
        expected.SoundTable[static_cast<std::size_t>(i)]
                = common + QStringLiteral("music/%1.wav").arg(QString::fromLatin1(table[i - 1]));
    expected.GameSoundDir = common + QStringLiteral("tsroc/");
    expected.OtherGameSoundDir = common + QStringLiteral("morlisk/");
    expected.PkSoundDir = common + QStringLiteral("pk/");
    EXPECT_EQ(p.sound.paths(), expected);
}

// --- Failures: which ones switch the voices off ---------------------------

struct FailureCase
{
    const char *name;
    std::set<Op> failing;
    std::set<QString> missing;
    std::function<void(Player &)> steps;
    bool voiceOnAfter;
    Lines log;
};

void PrintTo(const FailureCase &c, std::ostream *os)
{
    *os << c.name;
}

class SoundFailures : public ::testing::TestWithParam<FailureCase>
{
};

TEST_P(SoundFailures, ClearOnlyTheVoicesAndOnlyForDeviceFaults)
{
    const FailureCase &c = GetParam();
    Player p;
    p.device.failing = c.failing;
    p.device.missing = c.missing;
    c.steps(p);
    EXPECT_EQ(p.device.log, c.log);
    // Music and effects are never switched off by a failure.
    EXPECT_EQ(p.switches, (core::SoundSwitches{true, true, c.voiceOnAfter, false}));
}

const Lines kStartUp = {"open", "load majiang.wav caps 0x90 -> #1", "#1 play loop", "#1 volume 0"};

Lines startUpThen(Lines more)
{
    Lines lines = kStartUp;
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
}

INSTANTIATE_TEST_SUITE_P(
        Cases, SoundFailures,
        ::testing::Values(FailureCase{"NoDevice",
                                      {Op::Open},
                                      {},
                                      [](Player &p) { p.startUp(); },
                                      false,
                                      {"open fails", "load majiang.wav caps 0x90 fails"}},
                          FailureCase{"LoopFileMissing",
                                      {},
                                      {QStringLiteral("majiang.wav")},
                                      [](Player &p) { p.startUp(); },
                                      true,
                                      {"open", "load majiang.wav caps 0x90 fails"}},
                          FailureCase{"EffectFileMissing",
                                      {},
                                      {QStringLiteral("sys070.wav")},
                                      [](Player &p) {
                                          p.startUp();
                                          p.effect("sys070.wav");
                                      },
                                      true,
                                      startUpThen({"#1 stop", "#1 released",
                                                   "load sys070.wav caps 0x90 fails"})},
                          FailureCase{"StoppingTheSoundBeforeFails",
                                      {Op::Stop},
                                      {},
                                      [](Player &p) {
                                          p.startUp();
                                          p.effect("sys010.wav");
                                      },
                                      false,
                                      // The new sound is not tried, and the volume
                                      // goes to the loop that could not be stopped.
                                      startUpThen({"#1 stop fails", "#1 volume 0"})},
                          FailureCase{"PlayFails",
                                      {Op::Play},
                                      {},
                                      [](Player &p) { p.startUp(); },
                                      true,
                                      {"open", "load majiang.wav caps 0x90 -> #1",
                                       "#1 play loop fails", "#1 volume 0"}},
                          FailureCase{"StopSoundStopFails",
                                      {Op::Stop},
                                      {},
                                      [](Player &p) {
                                          p.startUp();
                                          p.sound.StopSound();
                                      },
                                      false,
                                      startUpThen({"#1 stop fails"})},
                          FailureCase{"StopSoundRewindFails",
                                      {Op::Rewind},
                                      {},
                                      [](Player &p) {
                                          p.startUp();
                                          p.sound.StopSound();
                                      },
                                      false,
                                      startUpThen({"#1 stop", "#1 rewind fails"})},
                          FailureCase{"VolumeFails",
                                      {Op::Volume},
                                      {},
                                      [](Player &p) { p.startUp(); },
                                      false,
                                      {"open", "load majiang.wav caps 0x90 -> #1", "#1 play loop",
                                       "#1 volume 0 fails"}},
                          FailureCase{"VolumeOutsideTheScaleIsIgnored",
                                      {Op::Volume},
                                      {},
                                      [](Player &p) {
                                          p.sound.InitSound();
                                          p.sound.PlaySoundFile(p.pk("sys110.wav"), false);
                                          p.sound.SetSoundVolume(-1);
                                          p.sound.SetSoundVolume(3001);
                                      },
                                      true,
                                      {"open", "load sys110.wav caps 0x90 -> #1", "#1 play once"}},
                          FailureCase{"NothingToStop",
                                      {Op::Stop, Op::Rewind, Op::Volume},
                                      {},
                                      [](Player &p) {
                                          p.sound.InitSound();
                                          p.sound.StopSound();
                                          p.sound.SetSoundVolume(3000);
                                      },
                                      true,
                                      {"open"}},
                          FailureCase{"VoiceChannelFailuresAreIgnored",
                                      {Op::Stop, Op::Play, Op::Volume},
                                      {QStringLiteral("v2010203.wav")},
                                      [](Player &p) {
                                          p.sound.InitSound();
                                          p.sound.PlaySoundChannel(p.pk("v1010103.wav"), 1);
                                          p.sound.PlaySoundChannel(p.pk("v2010203.wav"), 1);
                                      },
                                      true,
                                      {"open", "load v1010103.wav caps 0xE0 -> #1",
                                       "#1 play once fails", "#1 volume -800 fails",
                                       "#1 stop fails", "#1 released",
                                       "load v2010203.wav caps 0xE0 fails"}},
                          FailureCase{"NoDeviceVoiceIsSilent",
                                      {Op::Open},
                                      {},
                                      [](Player &p) {
                                          p.sound.InitSound();
                                          p.sound.PlaySoundChannel(p.pk("v1010103.wav"), 0);
                                      },
                                      false,
                                      {"open fails", "load v1010103.wav caps 0xE0 fails"}}),
        [](const ::testing::TestParamInfo<FailureCase> &c) { return std::string(c.param.name); });

// --- The one main buffer ----------------------------------------------------

TEST(SoundMainBuffer, AnEffectCutsTheLoopAndTheLoopDoesNotResume)
{
    Player p;
    p.startUp();
    p.device.take();
    p.effect("sys010.wav");
    p.effect("sys020.wav");
    EXPECT_EQ(p.device.take(),
              (Lines{"#1 stop", "#1 released", "load sys010.wav caps 0x90 -> #2", "#2 play once",
                     "#2 volume 0", "#2 stop", "#2 released", "load sys020.wav caps 0x90 -> #3",
                     "#3 play once", "#3 volume 0"}));
    EXPECT_TRUE(p.sound.hasMainBuffer());
}

TEST(SoundMainBuffer, StopSoundStopsAndRewindsAndKeepsTheBuffer)
{
    Player p;
    p.startUp();
    p.device.take();
    p.sound.StopSound();
    EXPECT_EQ(p.device.take(), (Lines{"#1 stop", "#1 rewind"}));
    EXPECT_TRUE(p.sound.hasMainBuffer());
}

TEST(SoundMainBuffer, AFileThatCannotBeLoadedLeavesNoSound)
{
    Player p;
    p.startUp();
    p.device.missing = {QStringLiteral("sys080.wav")};
    p.effect("sys080.wav");
    EXPECT_FALSE(p.sound.hasMainBuffer());
    p.device.take();
    p.sound.StopSound();
    EXPECT_TRUE(p.device.take().empty()) << "nothing is left to stop";
}

// --- The voice channels -------------------------------------------------------

TEST(SoundVoiceChannels, AreIndependentOfEachOtherAndOfTheMainBuffer)
{
    Player p;
    p.startUp();
    p.device.take();
    p.sound.PlaySoundChannel(p.pk("v2010103.wav"), 1);
    p.sound.PlaySoundChannel(p.pk("v3000205.wav"), 2);
    p.sound.PlaySoundChannel(p.pk("v2010110.wav"), 1);
    EXPECT_EQ(p.device.take(),
              (Lines{"load v2010103.wav caps 0xE0 -> #2", "#2 play once", "#2 volume -800",
                     "load v3000205.wav caps 0xE0 -> #3", "#3 play once", "#3 volume -800",
                     "#2 stop", "#2 released", "load v2010110.wav caps 0xE0 -> #4", "#4 play once",
                     "#4 volume -800"}));
    EXPECT_TRUE(p.sound.hasVoiceBuffer(1));
    EXPECT_TRUE(p.sound.hasVoiceBuffer(2));
    EXPECT_FALSE(p.sound.hasVoiceBuffer(0));

    // An effect on the main buffer leaves the voices speaking.
    p.effect("sys070.wav");
    EXPECT_EQ(p.device.take(),
              (Lines{"#1 stop", "#1 released", "load sys070.wav caps 0x90 -> #5", "#5 play once",
                     "#5 volume 0"}));
}

TEST(SoundVoiceChannels, OnlyTheFourSeatsHaveAChannel)
{
    Player p;
    p.sound.InitSound();
    p.device.take();
    for (int channel : {-1, 4, 255})
        p.sound.PlaySoundChannel(p.pk("v1010101.wav"), channel);
    EXPECT_TRUE(p.device.take().empty());
}

TEST(SoundSilentPlayer, PlaysNothingAndSwitchesTheVoicesOff)
{
    SoundService silent;
    silent.InitSoundPaths(kProgramFolder);
    silent.InitSound();
    silent.PlaySoundFile(silent.paths().SoundTable[1], true);
    EXPECT_FALSE(silent.hasMainBuffer());
    EXPECT_FALSE(silent.switches().VoiceOn);
    EXPECT_FALSE(silent.StopMP3(0));
}

// --- Volumes ------------------------------------------------------------------

TEST(SoundVolume, HundredthsOfADecibelBecomeLinearGain)
{
    struct Case
    {
        int volume;
        float gain;
    };
    const Case cases[]
            = {{0, 1.0f},       {-600, 0.5012f},  {-800, 0.3981f}, {-2000, 0.1f},  {-3000, 0.0316f},
               {-6000, 0.001f}, {-9999, 1.0e-5f}, {-10000, 0.0f},  {-20000, 0.0f}, {500, 1.0f}};
    for (const Case &c : cases)
        EXPECT_NEAR(platform::gainOfVolume(c.volume), c.gain, c.gain * 1e-3 + 1e-7) << c.volume;
}

TEST(SoundVolume, TheScaleOfTheCallersEndsAtFullVolume)
{
    Player p;
    p.sound.InitSound();
    p.sound.PlaySoundFile(p.pk("sys110.wav"), false);
    p.device.take();
    for (int v : {3000, 2200, 0})
        p.sound.SetSoundVolume(v);
    EXPECT_EQ(p.device.take(), (Lines{"#1 volume 0", "#1 volume -800", "#1 volume -3000"}));
}

} // namespace
} // namespace tessaroc::sound
