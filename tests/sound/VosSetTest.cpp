#include "RecordingSoundDevice.h"

#include "core/TableState.h"
#include "sound/SoundService.h"
#include "sound/VosSet.h"
#include "support/PictureIds.h"

#include <gtest/gtest.h>

#include <memory>

namespace tessaroc::sound {
namespace {

using testing::RecordingSoundDevice;
using Lines = std::vector<std::string>;

// The pictures the switch buttons show.
constexpr int kSwitchOff = 174; // "关闭"
constexpr int kSwitchOn = 175; // "开启"
constexpr int kOfferBlue = 176; // "蓝底"
constexpr int kOfferGreen = 177; // "绿底"

// The table and the item library as the dialog sees them; what they are
// told goes into the device's log, so that the order of everything shows.
struct FakeHost : VosSetHost
{
    Lines &log;
    explicit FakeHost(Lines &l)
        : log(l)
    { }
    void redrawTable(bool blue) override { log.push_back(blue ? "table blue" : "table green"); }
    void reportSoundState(bool effectsOn) override
    {
        log.push_back(effectsOn ? "report effects on" : "report effects off");
    }
};

class SoundSettings : public ::testing::Test
{
protected:
    core::TableState state;
    RecordingSoundDevice device;
    SoundService sound{state.sound, device};
    FakeHost host{device.log};
    std::unique_ptr<VosSet> window;
    QString recordText;

    SoundSettings()
    {
        support::InitPictureIds(state.pictures, 1.0f);
        sound.InitSoundPaths(QStringLiteral("/games/tessaroc/bin"));
        sound.InitSound();
        sound.PlaySoundFile(sound.paths().SoundTable[1], true);
        sound.SetSoundVolume(SoundService::kFullVolume);
        load();
    }

    void load()
    {
        window = std::make_unique<VosSet>(state, sound, host, recordText);
        window->show();
        device.take();
    }
    void unloadAndLoad()
    {
        window.reset();
        load();
    }

    std::array<int, 4> pictures() const
    {
        std::array<int, 4> shown{};
        for (int row = 0; row < VosSet::kRows; ++row)
            shown[static_cast<std::size_t>(row)] = window->Command2(row).Picture();
        return shown;
    }
    void press(std::initializer_list<int> rows)
    {
        for (int row : rows)
            window->Command2(row).Click();
    }
};

TEST_F(SoundSettings, LoadsWithTheButtonsInPlace)
{
    EXPECT_EQ(window->Command1(0).Picture(), 170);
    EXPECT_EQ(window->Command1(1).Picture(), 172);
    EXPECT_EQ(window->Command1(1).rect(), QRectF(28 + 65 * 1.4, 264, 65, 30));
    for (int row = 0; row < VosSet::kRows; ++row) {
        EXPECT_EQ(window->Command2(row).rect(), QRectF(127, 43 + 56 * row, 65, 30)) << row;
        EXPECT_TRUE(window->Command2(row).Visible()) << row;
    }
    EXPECT_EQ(pictures(), (std::array{kSwitchOff, kSwitchOff, kSwitchOff, kOfferGreen}));
    EXPECT_EQ(window->RowPending, (std::array{false, false, false, false}));
}

TEST_F(SoundSettings, TheColourButtonFirstOffersBlueForTheRecordText00)
{
    recordText = QStringLiteral("00");
    unloadAndLoad();
    EXPECT_EQ(pictures()[3], kOfferBlue);
}

TEST_F(SoundSettings, EachPressSwitchesAndShowsTheNextAction)
{
    press({0, 1, 2, 3});
    EXPECT_EQ(state.sound, (core::SoundSwitches{false, false, false, true}));
    EXPECT_EQ(pictures(), (std::array{kSwitchOn, kSwitchOn, kSwitchOn, kOfferGreen}));
    EXPECT_EQ(device.take(), (Lines{"#1 stop", "#1 rewind", "table blue"}));
    EXPECT_EQ(window->RowPending, (std::array{true, true, true, true}));

    press({0, 1, 2, 3});
    EXPECT_EQ(state.sound, core::SoundSwitches{});
    EXPECT_EQ(pictures(), (std::array{kSwitchOff, kSwitchOff, kSwitchOff, kOfferBlue}));
    // Switching the music on starts the loop from its beginning.
    EXPECT_EQ(device.take(),
              (Lines{"#1 stop", "#1 released", "load majiang.wav caps 0x90 -> #2", "#2 play loop",
                     "#2 volume 0", "table green"}));
    EXPECT_EQ(window->RowPending, (std::array{false, false, false, false}));
}

TEST_F(SoundSettings, CancelSwitchesThePendingRowsBackInRowOrder)
{
    press({3, 0});
    device.take();
    window->Command1(1).Click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(state.sound, core::SoundSwitches{});
    EXPECT_EQ(device.take(),
              (Lines{"#1 stop", "#1 released", "load majiang.wav caps 0x90 -> #2", "#2 play loop",
                     "#2 volume 0", "table green"}));
    EXPECT_EQ(pictures(), (std::array{kSwitchOff, kSwitchOff, kSwitchOff, kOfferBlue}));
    EXPECT_EQ(window->RowPending, (std::array{false, false, false, false}));
}

TEST_F(SoundSettings, ARowSwitchedTwiceIsNotPending)
{
    press({1, 1});
    window->Command1(1).Click();
    EXPECT_EQ(state.sound, core::SoundSwitches{});
    EXPECT_TRUE(device.take().empty());
}

TEST_F(SoundSettings, OkKeepsTheSwitchesAndALaterCancelUndoesNothing)
{
    press({1, 2});
    window->Command1(0).Click();
    EXPECT_FALSE(window->isVisible());
    window->show();
    window->Command1(1).Click();
    EXPECT_EQ(state.sound, (core::SoundSwitches{true, false, false, false}));
    EXPECT_EQ(pictures(), (std::array{kSwitchOff, kSwitchOn, kSwitchOn, kOfferGreen}));
}

TEST_F(SoundSettings, HidingKeepsThePendingRowsForALaterCancel)
{
    press({2});
    window->hide();
    window->show();
    window->Command1(1).Click();
    EXPECT_TRUE(state.sound.VoiceOn);
}

TEST_F(SoundSettings, TheVoiceRowTellsTheRunningItemLibraryTheEffectsSwitch)
{
    state.gamedllstate = 1;
    press({1, 2});
    EXPECT_EQ(device.take(), (Lines{"report effects off"}));
    window->Command1(1).Click();
    EXPECT_EQ(device.take(), (Lines{"report effects on"}))
            << "Cancel puts back the effects before the voices, then reports";

    state.gamedllstate = -1;
    press({2});
    EXPECT_TRUE(device.take().empty());
}

TEST_F(SoundSettings, TheColourRowChangesNothingOnTheReducedTable)
{
    state.table.scale = support::LayoutScale::reduced();
    press({3});
    EXPECT_EQ(window->RowPending[3], true);
    window->Command1(1).Click();
    EXPECT_FALSE(state.sound.TableColour);
    EXPECT_EQ(pictures()[3], kOfferGreen);
    EXPECT_TRUE(device.take().empty());
}

// A window loaded again shows, for the three sound rows, the action that
// suits each switch as it stands: a press then always does what its button
// says.
TEST_F(SoundSettings, ALoadedAgainWindowOffersTheActionThatSuitsEachSwitch)
{
    for (int mask = 0; mask < 8; ++mask) {
        state.sound = {(mask & 1) != 0, (mask & 2) != 0, (mask & 4) != 0, false};
        unloadAndLoad();
        const std::array<bool, 3> on
                = {state.sound.MusicOn, state.sound.EffectsOn, state.sound.VoiceOn};
        for (int row = 0; row < 3; ++row) {
            const bool wasOn = on[static_cast<std::size_t>(row)];
            EXPECT_EQ(pictures()[static_cast<std::size_t>(row)], wasOn ? kSwitchOff : kSwitchOn)
                    << "mask " << mask << " row " << row;
        }
        press({0, 1, 2});
        EXPECT_EQ(state.sound, (core::SoundSwitches{!on[0], !on[1], !on[2], false}))
                << "mask " << mask;
    }
}

} // namespace
} // namespace tessaroc::sound
