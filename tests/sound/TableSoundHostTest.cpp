#include "RecordingSoundDevice.h"

#include "chat/ChatService.h"
#include "core/HallService.h"
#include "core/TableState.h"
#include "items/ItemService.h"
#include "platform/Clock.h"
#include "settlement/SettlementService.h"
#include "sound/SoundService.h"
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
    SoundService tableSound;
    RecordingItems items;
    chat::ChatService chat;
    settlement::SettlementService settlement;
    table::MainForm form{state, clock,
                         table::TableServices{hall, tableSound, items, chat, settlement}};
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

} // namespace
} // namespace tessaroc::sound
