#include "RecordingSoundDevice.h"

#include "core/HallService.h"
#include "core/TableState.h"
#include "items/ItemService.h"
#include "platform/Clock.h"
#include "sound/SoundService.h"
#include "sound/SoundSettings.h"
#include "sound/TableSoundHost.h"
#include "sound/VosSet.h"
#include "support/PictureIds.h"
#include "table/MainForm.h"

#include <gtest/gtest.h>

namespace tessaroc::sound {
namespace {

struct RecordingItems : items::ItemService
{
    std::vector<std::pair<int, int>> states;
    void rec_state(std::int16_t kind, std::int16_t &value) override
    {
        states.emplace_back(kind, value);
    }
};

// The settings window on a real table window.
class SoundSettingsOnTheTable : public ::testing::Test
{
protected:
    core::TableState state;
    platform::ManualClock clock;
    core::HallService hall;
    RecordingItems items;
    table::MainForm form{state, clock, hall};
    testing::RecordingSoundDevice device;
    SoundService sound{state.sound, device};
    TableSoundHost host{form, items};
    VosSet window{state, sound, host, QString()};

    SoundSettingsOnTheTable() { support::InitPictureIds(state.pictures, 1.0f); }

    QImage tableImage() const { return form.area.Pic1->picture().toImage(); }
};

TEST_F(SoundSettingsOnTheTable, TheColourRowPaintsTheTableBlueAndCancelPaintsItGreen)
{
    const QImage green = form.area.pic3->picture().toImage();
    const QImage blue = form.area.pic4->picture().toImage();
    ASSERT_NE(green, blue);
    ASSERT_EQ(tableImage(), green);

    window.Command2_Click(VosSet::Colour);
    EXPECT_EQ(tableImage(), blue);
    // The table area lies behind every other windowed control of the window.
    const auto widgets = form.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_FALSE(widgets.isEmpty());
    EXPECT_EQ(widgets.first(), &form.area.Pic1.widget());

    window.Command1_Click(1);
    EXPECT_EQ(tableImage(), green);
}

TEST_F(SoundSettingsOnTheTable, TheVoiceRowReportsTheEffectsSwitchToTheRunningLibrary)
{
    state.gamedllstate = 2;
    window.Command2_Click(VosSet::Effects);
    window.Command2_Click(VosSet::Voice);
    window.Command2_Click(VosSet::Effects);
    window.Command2_Click(VosSet::Voice);
    EXPECT_EQ(items.states, (std::vector<std::pair<int, int>>{{1, 0}, {1, -1}}));
}

TEST_F(SoundSettingsOnTheTable, TheSoundButtonShowsTheWindowAboveTheTablesBottomRightCorner)
{
    SoundSettings settings(state, sound, host);
    settings.Toggle(form, QString());
    VosSet *shown = settings.window();
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->isVisible());
    const table::TableArea &area = form.area;
    EXPECT_NEAR(shown->LeftTwips(),
                form.Left() + area.Pic1.Left() + area.Pic1.Width() - shown->WidthTwips(), 15);
    EXPECT_NEAR(shown->TopTwips(),
                form.Top() + area.Pic1.Top() + area.Pic1.Height() - shown->HeightTwips() - 1700,
                15);

    // Hidden by the button or by hiding every pop-up, it keeps what is
    // pending; unloaded and shown again, it starts afresh.
    shown->Command2_Click(VosSet::Music);
    settings.Toggle(form, QString());
    EXPECT_FALSE(shown->isVisible());
    settings.Toggle(form, QString());
    settings.Hide();
    settings.Toggle(form, QString());
    EXPECT_EQ(settings.window(), shown);
    EXPECT_TRUE(shown->RowPending[VosSet::Music]);
    settings.Unload();
    EXPECT_EQ(settings.window(), nullptr);
    settings.Toggle(form, QString());
    ASSERT_NE(settings.window(), nullptr);
    EXPECT_EQ(settings.window()->RowPending, (std::array{false, false, false, false}));
    EXPECT_EQ(settings.window()->Command2(VosSet::Music).Picture(), 175)
            << "the music is off, so the button offers to switch it on";
}

} // namespace
} // namespace tessaroc::sound
