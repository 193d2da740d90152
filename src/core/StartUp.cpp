#include "core/StartUp.h"

#include "core/CoreContext.h"
#include "core/HallWindowLink.h"
#include "core/ServerConnection.h"
#include "wire/CommandLine.h"
#include "wire/SentFrames.h"

#include <cstdio>
#include <exception>

namespace tessaroc::core {

namespace {

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

const std::array<std::string, 4> kShuffleCaptions = {
        "正在随机换座中..",
        "正在随机换座中...",
        "正在随机换座中....",
        "正在随机换座中.....",
};

} // namespace

StartUp::StartUp(CoreContext &context, HallWindowLink &hall)
    : c_(context)
    , hall_(hall)
{ }

bool StartUp::Form_Load(const StartUpEnvironment &environment)
{
    ended_ = false;
    try {
        return loadSteps(environment);
    } catch (const std::exception &fault) {
        std::fprintf(stderr, "tessaroc: the start-up failed: %s\n", fault.what());
        if (c_.hall.RestoreHall())
            c_.process.End(ExitCode::StartupFault);
        return false;
    }
}

bool StartUp::loadSteps(const StartUpEnvironment &environment)
{
    MainLoopState &loop = c_.loop();
    CoreState &core = c_.state.core;
    c_.window.PrepareStartUp();

    // The line is read ahead so that the lookups of the hall before its own
    // step already know the hall's caption; a line that does not name it
    // finds no hall.
    const wire::CommandLineResult parsed = wire::ParseCommandLine(environment.commandLine);
    loop.HallCaption = parsed.fields.HallCaption;

    if (environment.takeInstanceLock && !environment.takeInstanceLock()) {
        c_.process.MessageBox(QStringLiteral("Tessaroc已经运行！"), QStringLiteral("警告"));
        if (c_.hall.RestoreHall())
            c_.process.End(ExitCode::SecondInstance);
        return false;
    }

    core.RuleSetFlag = false;
    core.AutoModeKey = false;
    core.TableHidden = false;
    loop.HoldCommand21 = false;
    loop.shuffle.ShuffleNoticeArmed = false;
    wire::ResetMsgRings(c_.rings);
    core.TurnSeconds = kTurnSeconds;

    c_.window.FitToScreen(environment.screenWidthTwips, environment.screenHeightTwips);
    startValues();

    if (c_.state.sound.MusicOn)
        c_.sound.InitSoundPaths();
    if (c_.state.sound.VoiceOn) {
        c_.sound.InitSound();
        c_.sound.StopSound();
        c_.sound.PlaySoundFile(c_.sound.SoundTable(kBackgroundLoop), true);
        c_.sound.SetSoundVolume(kFullVolume);
    }

    loop.WatchdogTicks = 0;
    loop.TableCleared = false;
    loop.BlinkCount = 0;
    loop.PlayersPresent = 0;
    loop.HandStarted = false;

    support::InitPictureIds(c_.state.pictures, c_.state.table.scale.ScaleX);
    c_.window.InitSeatLayout();

    loop.ReconnectAllowed = false;
    loop.g_iChangeNum = 0;
    loop.shuffle.ShuffleIndex = 0;
    loop.shuffle.ShuffleWanted = false;
    loop.shuffle.ShuffleOn = false;
    loop.shuffle.ShuffleCaptions = kShuffleCaptions;
    core.CameraSkipped = true;
    c_.state.settlement.JuNum = 0;

    switch (parsed.ending) {
    case wire::CommandLineEnding::EmptyLine:
        c_.process.MessageBox(fromUtf8(wire::kEmptyLineText), fromUtf8(wire::kEmptyLineTitle));
        c_.process.End(ExitCode::EmptyCommandLine);
        return false;
    case wire::CommandLineEnding::BadLine:
        std::fprintf(stderr, "tessaroc: the command line cannot be read: %s\n",
                     parsed.problem.c_str());
        if (c_.hall.RestoreHall())
            c_.process.End(ExitCode::BadCommandLine);
        return false;
    case wire::CommandLineEnding::Player:
    case wire::CommandLineEnding::Spectator:
        break;
    }
    loop.line = parsed.fields;
    loop.line.prop_swicth = 0; // the item library stays off whatever the hall says
    loop.HallCaption = parsed.fields.HallCaption;
    loop.TableCaption = parsed.fields.TableCaption;

    core.VideoAllowed = false;
    c_.window.SetSystemLine(0, QStringLiteral("正在连接服务器..."));

    c_.timers.StopTimerBong();
    c_.rings.RingMode = true;
    loop.LoginFrame = wire::LoginFrame{false, loop.line.ArgUser, loop.line.ArgPassword}.encode();
    ConnectToServer(c_, ConnectReason::StartUp);

    if (!c_.hall.RestoreHall())
        return false;
    c_.window.ShowTable();

    QString tableCaption = environment.defaultTableCaption;
    if (loop.line.UseCaptions) {
        tableCaption = fromUtf8(loop.TableCaption);
        c_.window.SetCaption(tableCaption);
        core.TurnSeconds = kTurnSeconds;
    } else {
        loop.HallCaption = std::string(wire::kDefaultHallCaption);
    }
    c_.window.InitPlayLayout();

    c_.state.rules.HandRecords[0].seatBit = 0;
    loop.Reconnected = false;
    if (loop.line.Spectator)
        c_.state.settlement.JuNum = 0;

    if (!hall_.InstallWndProc(tableCaption))
        std::fprintf(stderr, "tessaroc: another window already takes the hall's messages as %s\n",
                     qPrintable(tableCaption));
    return true;
}

void StartUp::startValues()
{
    MainLoopState &loop = c_.loop();
    loop.disarmSlots(c_.clock.nowMs());
    loop.OwnVideoDelayArmed = false;
    loop.OwnVideoDelayTicks = 0;
    loop.ChatGate = true;
    loop.clocks.MaySendPlay = false;
    loop.clocks.MaySendChoice = false;
    loop.LoginSent = false;
    c_.state.sound = SoundSwitches{};
    loop.FirstStartPending = true;
    c_.loop().SeatScore = {};
}

} // namespace tessaroc::core
