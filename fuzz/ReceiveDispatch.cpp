#include "ReceiveDispatch.h"

#include "FuzzCheck.h"
#include "OffscreenClient.h"

#include <QApplication>

#include <cstdlib>

namespace {

using tessaroc::offscreen::OffscreenClient;

// Both live until the process ends: the client's windows must never outlive
// the application object in the exit handlers.
QApplication *app = nullptr;
OffscreenClient *client = nullptr;

void checkBounds(const tessaroc::core::TableState &state)
{
    for (const auto &hand : state.rules.HandRecords)
        fuzzCheck(hand.cardCount >= 0 && hand.cardCount <= tessaroc::rules::kMaxHandCards);
    fuzzCheck(state.loop.PlayersPresent >= 0);
    fuzzCheck(state.core.LandlordPos >= -1 && state.core.LandlordPos <= 3);
    fuzzCheck(state.core.BubbleSeat >= 0 && state.core.BubbleSeat <= 3);
}

} // namespace

// The system's font configuration keeps what it loads for the table's fonts
// for the life of the process; that is no leak of ours.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("TESSAROC_NONINTERACTIVE", "1", 1);
    app = new QApplication(*argc, *argv);
    client = new OffscreenClient;
    return 0;
}

void dispatchToClient(const tessaroc::wire::MessageFrame &frame)
{
    client->dispatch(frame);
    checkBounds(client->state);
    if (client->ended() || !client->mainLoopRunning())
        client->revive();
}
