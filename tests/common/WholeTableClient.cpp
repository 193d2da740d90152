#include "WholeTableClient.h"

#include "app/TableWindowWiring.h"
#include "core/StartUp.h"
#include "forms/Fonts.h"
#include "support/PictureIds.h"

#include <QCoreApplication>
#include <QEvent>

namespace tessaroc::offscreen {

namespace {

class SilentBuffer final : public platform::SoundBuffer
{
public:
    bool Play(bool) override { return true; }
    bool Stop() override { return true; }
    bool SetCurrentPosition(std::int64_t) override { return true; }
    bool SetVolume(int) override { return true; }
};

} // namespace

std::unique_ptr<platform::SoundBuffer> SilentSoundDevice::CreateSoundBufferFromFile(const QString &,
                                                                                    std::uint32_t)
{
    return std::make_unique<SilentBuffer>();
}

WholeTableClient::WholeTableClient(Items items, QSize screen)
    : tableSound(state.sound, soundDevice)
    , sound(tableSound)
    , settlement(state, tableSettlement, form, context)
    , chat(tableChat)
    , itemHost(form, clock)
    , itemBridge(context, itemPlugin, itemHost)
    , tableItemsInUse(items == Items::Scripted ? static_cast<items::ItemService &>(itemBridge)
                                               : tableItems)
    , form(state, clock, tableHall)
    , window(form, state)
    , play(form, context,
           play::PlaySubsystems{tableSound, tableItemsInUse, tableChat, tableSettlement})
    , context{state,
              rings,
              clock,
              services.socket,
              services.hall,
              services.timers,
              window,
              play,
              sound,
              items == Items::Scripted ? static_cast<core::services::ItemLibrary &>(itemBridge)
                                       : static_cast<core::services::ItemLibrary &>(services.items),
              services.video,
              settlement,
              services.process,
              chat}
    , dispatcher(context)
    , itemSteps(context, [] { return 0.0; })
{
    app::ConnectTableWindow(form, tableSound, tableItemsInUse, tableChat, tableSettlement);
    itemPlugin.object = itemLibrary;
    if (items == Items::Scripted)
        itemHost.ConnectTableEvents(itemBridge);
    forms::installFontSubstitutions();
    settlement.setRecordsPath(recordsFolder.filePath(QStringLiteral("info.qn")));
    tableChat.setProgramFolder(recordsFolder.path());
    tableChat.attach(form, context, tableSound);
    play.tableWindows().setOtherExit(&window.otherExit());

    // The start-up's steps that reach the window and the sound.
    window.PrepareStartUp();
    window.FitToScreen(screen.width() * 15.0, screen.height() * 15.0);
    sound.InitSoundPaths();
    sound.InitSound();
    sound.StopSound();
    sound.PlaySoundFile(sound.SoundTable(core::StartUp::kBackgroundLoop), true);
    sound.SetSoundVolume(core::StartUp::kFullVolume);
    support::InitPictureIds(state.pictures, state.table.scale.ScaleX);
    window.InitSeatLayout();
    window.ShowTable();
    window.InitPlayLayout();
    window.ClearTable();
    runEvents();
}

WholeTableClient::~WholeTableClient() = default;

void WholeTableClient::runEvents()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void WholeTableClient::revive()
{
    services.process.ended = false;
    services.timers.bong = true;
    services.socket.state = core::services::ServerSocket::sckConnected;
}

} // namespace tessaroc::offscreen
