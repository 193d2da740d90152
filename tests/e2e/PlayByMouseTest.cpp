// A whole hand against the table server's computer players, played by the
// real client with nothing but mouse presses on its own pictures and
// buttons: the ready button, which the hand waits for, no call when asked to
// bid, then at every turn the hint and the play button (the hint passes by
// itself when nothing beats). The server, the hall stand-in and the client
// run in this process, offscreen, the client's clock sped up.

#include "Hall.h"
#include "InProcessTable.h"
#include "TableServer.h"
#include "app/Client.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace tessaroc;

constexpr double kClockScale = 10;
constexpr int kHandLimitMs = 35000;

void pressOn(const forms::Element &element)
{
    QWidget &surface = *element.container();
    const QPointF at = element.rect().center();
    QMouseEvent down(QEvent::MouseButtonPress, at, surface.mapToGlobal(at), Qt::LeftButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&surface, &down);
    QMouseEvent up(QEvent::MouseButtonRelease, at, surface.mapToGlobal(at), Qt::LeftButton,
                   Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&surface, &up);
}

bool shown(const forms::Element &element)
{
    return element.Visible() && element.Enabled();
}

TEST(PlayByMouse, AWholeHandWithHintAndPlayPresses)
{
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    qputenv("TMPDIR", runtime.path().toUtf8());

    tableserver::EngineOptions options;
    options.bots = 3;
    options.seed = 7;
    options.botDelayMinMs = 30;
    options.botDelayMaxMs = 60;
    options.playSeconds = 60; // 6 seconds on the sped-up client
    options.checkClientFrames = true;
    std::vector<std::string> log;
    tableserver::TableServer server(options, [&](const std::string &line) { log.push_back(line); });
    ASSERT_TRUE(server.listen(0)) << server.errorString().toStdString();
    const auto saw = [&](const std::string &text) { return test::logHas(log, text); };

    const hall::HallOptions hallOptions = test::headlessHall(server.port(), QStringLiteral("mouse"));
    hall::Hall hallWindow(hallOptions);
    ASSERT_TRUE(hallWindow.open());

    app::Client client(kClockScale, runtime.filePath(QStringLiteral("tessaroc.lock")));
    ASSERT_TRUE(client.start(hall::clientCommandLine(hallOptions).toStdString()));
    table::MainForm &form = client.form();
    core::TableState &state = client.state();

    int readies = 0, bids = 0, hints = 0, plays = 0;
    bool hinted = false;
    QDeadlineTimer deadline(kHandLimitMs);
    while (!saw("hand 1: ") && !deadline.hasExpired()) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        // Ready once the table knows its own seat, which the frame carries.
        if (readies == 0 && state.rules.ownHand().seatBit != 0 && shown(form.toolbar.AnNiu(2))) {
            pressOn(form.toolbar.AnNiu(2));
            ++readies;
            continue;
        }
        if (shown(form.bid.btnJiaofen(1))) {
            pressOn(form.bid.btnJiaofen(1));
            ++bids;
            continue;
        }
        const core::ClockState &clocks = state.loop.clocks;
        if (!clocks.HandActive || !clocks.MaySendPlay) {
            hinted = false;
            continue;
        }
        if (!hinted && shown(form.actions.Operation(1))) {
            pressOn(form.actions.Operation(1));
            hinted = true;
            ++hints;
        } else if (hinted && shown(form.actions.Operation(0))) {
            pressOn(form.actions.Operation(0));
            hinted = false;
            ++plays;
        }
    }
    std::string record;
    for (const std::string &line : log)
        record += line + "\n";
    ASSERT_TRUE(saw("hand 1: ")) << record;
    EXPECT_TRUE(saw("alice (seat 1) is ready")) << record;
    EXPECT_GT(hints, 0);
    EXPECT_GT(plays, 0);
    EXPECT_FALSE(saw("refuse")) << record;
    EXPECT_FALSE(saw("made to leave")) << record;
    // Every answer came from a press: no clock ran out for the player.
    EXPECT_EQ(state.core.TimeoutCount, 0);
    EXPECT_FALSE(state.core.AutoMode);
    std::printf("readies %d, bids %d, hints %d, plays %d\n", readies, bids, hints, plays);
}

} // namespace
