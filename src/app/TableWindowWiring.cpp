#include "app/TableWindowWiring.h"

#include "chat/ChatService.h"
#include "chat/SpeakBox.h"
#include "core/TableState.h"
#include "items/ItemService.h"
#include "settlement/SettlementService.h"
#include "sound/SoundService.h"
#include "table/MainForm.h"

namespace tessaroc::app {

void ConnectTableWindow(table::MainForm &form, sound::SoundService &sound,
                        items::ItemService &items, chat::ChatService &chat,
                        settlement::SettlementService &settlement)
{
    using table::MainForm;
    QObject::connect(&form, &MainForm::minimised, &form, [&sound] {
        chat::HideSpeakBoxes();
        sound.StopSound();
        for (int control = 0; control < sound::SoundService::kMp3Controls; ++control)
            sound.StopMP3(control);
    });
    // The item library runs only while gamedllstate is above 0.
    QObject::connect(&form, &MainForm::restored, &form, [&form, &items] {
        if (form.tableState().gamedllstate > 0)
            items.FixBuffPos();
        chat::ResetSpeakBoxes();
    });
    QObject::connect(&form, &MainForm::moveStarted, &form, [&chat] {
        chat.HideTalk();
        chat.HideHuifu();
    });
    QObject::connect(&form, &MainForm::clearingTable, &form, [&chat] {
        chat::UnloadSpeakBoxes();
        chat.HideTalk();
    });
    QObject::connect(&form, &MainForm::handCleared, &form, [&settlement](bool beforeFirstHand) {
        if (beforeFirstHand)
            settlement.ClearHeroTotals();
        settlement.ResetScoreColours();
        settlement.HideScore();
    });
    QObject::connect(&form, &MainForm::viewReset, &form, [&chat, &settlement] {
        settlement.ResetRecords();
        chat.ClearHistory();
    });
}

} // namespace tessaroc::app
