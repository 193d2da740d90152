#include "app/Client.h"

#include "app/TableWindowWiring.h"
#include "core/Shutdown.h"

#include <QGuiApplication>
#include <QScreen>

namespace tessaroc::app {

namespace {

constexpr double kTwipsPerPixel = 15.0;
const QString kDefaultTableCaption = QStringLiteral("Tessaroc");

} // namespace

Client::Client(double timeScale, const QString &lockPath, const ClientDevices &devices)
    : clock_(timeScale)
    , lock_(lockPath)
    , serverLink_(rings_, clock_)
    , timers_(core::CoreTimers::Mode::Real, clock_, timeScale)
    , process_([this] { cleanUpBeforeEnd(); })
    , random_(std::random_device{}())
    , tableSound_(state_.sound, soundDevice_)
    , tableChat_(timeScale)
    , sound_(tableSound_)
    , itemHost_(form_, clock_)
    , items_(context_, devices.itemPlugin ? *devices.itemPlugin : itemPlugin_, itemHost_)
    , videoHost_(
              form_, [this](int pos) { play_.Tou_MouseMove(pos); },
              [this] { tableSound_.StopSound(); })
    , video_(context_, devices.videoSocket ? *devices.videoSocket : videoSocket_,
             devices.camera ? *devices.camera : camera_, videoHost_, items_)
    , settlement_(state_, tableSettlement_, form_, context_)
    , chat_(tableChat_)
    , hall_(context_, hallLink_)
    , form_(state_, clock_, hall_)
    , window_(form_, state_)
    , play_(form_, context_,
            play::PlaySubsystems{tableSound_, items_, tableChat_, tableSettlement_})
    , socket_(serverLink_, context_)
    , context_{state_, rings_, clock_, socket_, hall_,       timers_,  window_,
               play_,  sound_, items_, video_,  settlement_, process_, chat_}
    , dispatcher_(context_)
    , reconnection_(context_, reconnectWindow_)
    , clocks_(context_)
    , itemSteps_(context_,
                 [this] { return std::uniform_real_distribution<double>(0.0, 1.0)(random_); })
    , scheduler_(context_, timers_, dispatcher_, clocks_, itemSteps_)
    , startUp_(context_, hall_)
    , leavePaths_(context_, form_, window_.otherExit(),
                  table::LeavePaths::Hooks{[this] { play_.tableWindows().UnloadVosSet(); },
                                           [this](bool) {
                                               items_.UpdataMyProp();
                                           }})
{
    ConnectTableWindow(form_, tableSound_, items_, tableChat_, tableSettlement_);
    tableChat_.attach(form_, context_, tableSound_);
    tableChat_.SetKeyDown = [this](int key) {
        items_.SetKeyDown(key);
    };
    play_.tableWindows().setOtherExit(&window_.otherExit());
    form_.seats.vcap1->setDevice(devices.camera ? devices.camera : &camera_);
    itemHost_.ConnectTableEvents(items_);
    video::ConnectTableVideoEvents(form_, video_);
    timers_.setTickHandler([this] { scheduler_.TimerBong_Timer(); });
    timers_.setKeepAliveHandler([this] { core::TimerKeepAlive_Timer(context_); });
    // The connection watch loads the reconnection dialog; its buttons reach
    // the reconnection that runs behind it.
    scheduler_.setReconnectionStarter([this] { reconnection_.Form_Load(); });
    QObject::connect(&reconnectWindow_, &table::ReconnectWindow::reconnectClicked, &reconnection_,
                     &core::Reconnection::pbReconnect_Click);
    QObject::connect(&reconnectWindow_, &table::ReconnectWindow::cancelClicked, &reconnection_,
                     &core::Reconnection::pbCancel_Click);
}

Client::~Client() = default;

bool Client::start(const std::string &commandLine)
{
    core::StartUpEnvironment environment;
    environment.commandLine = commandLine;
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        environment.screenWidthTwips = screen->size().width() * kTwipsPerPixel;
        environment.screenHeightTwips = screen->size().height() * kTwipsPerPixel;
    }
    // Without a folder of the user's own there is no lock to take; the hall
    // cannot be reached then either, and the start-up ends where it looks.
    if (!lock_.fileName().isEmpty()) {
        environment.takeInstanceLock = [this] {
            return lock_.tryLock(0);
        };
    }
    environment.defaultTableCaption = kDefaultTableCaption;
    return startUp_.Form_Load(environment);
}

void Client::unload()
{
    core::Form_Unload(context_, hall_);
}

void Client::cleanUpBeforeEnd()
{
    hallLink_.stopListening();
    if (lock_.isLocked())
        lock_.unlock();
}

} // namespace tessaroc::app
