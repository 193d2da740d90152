#pragma once

#include "app/AppProcess.h"
#include "app/ScaledClock.h"
#include "chat/ChatService.h"
#include "chat/CoreChat.h"
#include "core/CoreContext.h"
#include "core/CoreTimers.h"
#include "core/Dispatcher.h"
#include "core/HallWindowLink.h"
#include "core/ItemSteps.h"
#include "core/Reconnect.h"
#include "core/ServerLinkSocket.h"
#include "core/StartUp.h"
#include "core/TableState.h"
#include "core/TickScheduler.h"
#include "core/TurnClocks.h"
#include "items/ItemBridge.h"
#include "items/NullItemLibrary.h"
#include "items/TableItemHost.h"
#include "platform/HallLink.h"
#include "platform/ServerLink.h"
#include "platform/SoundDevice.h"
#include "play/PlayFlowService.h"
#include "settlement/CoreSettlement.h"
#include "settlement/SettlementService.h"
#include "sound/CoreSound.h"
#include "sound/SoundService.h"
#include "table/LeavePaths.h"
#include "table/MainForm.h"
#include "table/ReconnectWindow.h"
#include "table/TableWindowService.h"
#include "video/NullVideo.h"
#include "video/TableVideoEvents.h"
#include "video/TableVideoHost.h"
#include "video/VideoLink.h"
#include "wire/MsgRings.h"

#include <QLockFile>

#include <random>

namespace tessaroc::app {

// The devices behind the item library and the video link; those not given
// are this configuration's: a plug-in folder without the library, no video
// peers, no camera.
struct ClientDevices
{
    items::PropPlugin *itemPlugin = nullptr;
    platform::P2PSocket *videoSocket = nullptr;
    platform::CameraDevice *camera = nullptr;
};

// The whole table client, wired: the platform's links, the subsystems'
// services, the table window, and the client core on top of them. Members are
// built in the order written; the core's pieces keep references to the
// context, which is built after the services it names.
class Client
{
public:
    Client(double timeScale, const QString &lockPath, const ClientDevices &devices = {});
    ~Client();

    // The start-up; false when the program did not start (it has ended).
    bool start(const std::string &commandLine);
    // The table window was closed: the unload handler, which ends the
    // program.
    void unload();
    table::MainForm &form() { return form_; }
    chat::ChatService &chat() { return tableChat_; }
    play::PlayFlowService &play() { return play_; }
    settlement::SettlementService &settlementWindows() { return tableSettlement_; }
    settlement::CoreSettlement &settlement() { return settlement_; }
    core::TableState &state() { return state_; }

private:
    void cleanUpBeforeEnd();

    ScaledClock clock_;
    QLockFile lock_;
    core::TableState state_;
    wire::MsgRings rings_;
    platform::ServerLink serverLink_;
    platform::HallLink hallLink_;
    core::CoreTimers timers_;
    AppProcess process_;
    std::mt19937_64 random_;

    platform::QtSoundDevice soundDevice_;
    sound::SoundService tableSound_;
    chat::ChatService tableChat_;
    settlement::SettlementService tableSettlement_;
    sound::CoreSound sound_;
    // The item library: switched off at start-up, and no plug-in behind it.
    items::NullItemLibrary itemPlugin_;
    items::TableItemHost itemHost_;
    items::ItemBridge items_;
    // The video link: never allowed here, with no peers and no camera.
    video::NullP2PSocket videoSocket_;
    video::NullCamera camera_;
    video::TableVideoHost videoHost_;
    video::VideoLink video_;
    settlement::CoreSettlement settlement_;
    chat::CoreChat chat_;

    core::HallWindowLink hall_;
    table::MainForm form_;
    table::TableWindowService window_;
    play::PlayFlowService play_;
    core::ServerLinkSocket socket_;
    core::CoreContext context_;

    core::Dispatcher dispatcher_;
    table::ReconnectWindow reconnectWindow_;
    core::Reconnection reconnection_;
    core::TurnClocks clocks_;
    core::ItemSteps itemSteps_;
    core::TickScheduler scheduler_;
    core::StartUp startUp_;
    // The buttons of the two leave dialogs.
    table::LeavePaths leavePaths_;
};

} // namespace tessaroc::app
