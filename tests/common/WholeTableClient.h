#pragma once

#include "OffscreenClient.h"
#include "OffscreenServices.h"
#include "ScriptedItemLibrary.h"

#include "chat/ChatService.h"
#include "chat/CoreChat.h"
#include "core/CoreContext.h"
#include "core/Dispatcher.h"
#include "core/HallService.h"
#include "core/ItemSteps.h"
#include "core/TableState.h"
#include "items/ItemBridge.h"
#include "items/ItemService.h"
#include "items/TableItemHost.h"
#include "platform/SoundDevice.h"
#include "play/PlayFlowService.h"
#include "settlement/CoreSettlement.h"
#include "settlement/SettlementService.h"
#include "sound/CoreSound.h"
#include "sound/SoundService.h"
#include "table/MainForm.h"
#include "table/TableWindowService.h"
#include "wire/MsgRings.h"

#include <QSize>
#include <QTemporaryDir>

#include <memory>

namespace tessaroc::offscreen {

// A sound device that opens and loads every file into a buffer that plays
// nothing, so the player goes through all its steps in silence.
class SilentSoundDevice final : public platform::SoundDevice
{
public:
    bool Create() override { return true; }
    std::unique_ptr<platform::SoundBuffer> CreateSoundBufferFromFile(const QString &,
                                                                     std::uint32_t) override;
};

// The whole table: the client core and the real table window, laid out
// offscreen, over the real play flow, settlement, chat and sound (on a silent
// device), wired in the program's own order. The video, the socket, the hall
// and the process do nothing; so does the item library, unless the client is
// built with the scripted one behind the real item bridge. The hand records
// go to a temporary folder of the client's own, never beside the program.
// Every wait ends at once: the clock moves on by a minute at every reading.
// The table is laid out for a 1024 x 768 screen unless another is given.
class WholeTableClient
{
public:
    enum class Items {
        None, // the item service does nothing
        Scripted, // the real bridge over the scripted library, on the table
    };

    explicit WholeTableClient(Items items = Items::None, QSize screen = QSize(1024, 768));
    ~WholeTableClient();

    void dispatch(const wire::MessageFrame &frame) { dispatcher.ProcessMessage(frame); }
    // The main loop's item step, as every tick runs it: the library's queue
    // pumped, a settlement held back for it shown, the box countdown.
    void runItemStep() { itemSteps.Run(); }
    // Runs what the program's event loop would run between two frames: due
    // timers, posted calls and deferred deletions.
    void runEvents();
    bool ended() const { return services.process.ended; }
    bool mainLoopRunning() const { return services.timers.bong; }
    // Puts the client back at the table after an ending or a forced leave.
    void revive();

    FastClock clock{60'000};
    core::TableState state;
    wire::MsgRings rings;
    NullServices services;
    QTemporaryDir recordsFolder;

    SilentSoundDevice soundDevice;
    sound::SoundService tableSound;
    chat::ChatService tableChat;
    settlement::SettlementService tableSettlement;
    sound::CoreSound sound;
    settlement::CoreSettlement settlement;
    chat::CoreChat chat;

    core::HallService tableHall;
    items::ItemService tableItems;
    // The item library behind the bridge when the client is built with it:
    // a plug-in folder that holds the scripted library.
    test::ScriptedPropPlugin itemPlugin;
    std::shared_ptr<test::ScriptedPropLibrary> itemLibrary
            = std::make_shared<test::ScriptedPropLibrary>();
    items::TableItemHost itemHost;
    items::ItemBridge itemBridge;
    // The item service the table window and the play flow call on: the
    // bridge when the client is built with it.
    items::ItemService &tableItemsInUse;
    table::MainForm form;
    table::TableWindowService window;
    play::PlayFlowService play;
    core::CoreContext context;
    core::Dispatcher dispatcher;
    core::ItemSteps itemSteps;
};

} // namespace tessaroc::offscreen
