#include "ReceiveDispatch.h"

#include "FuzzCheck.h"
#include "OffscreenClient.h"

#include <QApplication>

#include <cstdlib>
#include <memory>

namespace {

using tessaroc::offscreen::OffscreenClient;

QApplication *app = nullptr;
std::unique_ptr<OffscreenClient> client;

void checkBounds(const tessaroc::core::TableState &state)
{
    for (const auto &hand : state.rules.HandRecords)
        fuzzCheck(hand.cardCount >= 0 && hand.cardCount <= tessaroc::rules::kMaxHandCards);
    fuzzCheck(state.loop.PlayersPresent >= 0);
    fuzzCheck(state.core.LandlordPos >= -1 && state.core.LandlordPos <= 3);
    fuzzCheck(state.core.BubbleSeat >= 0 && state.core.BubbleSeat <= 3);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("TESSAROC_NONINTERACTIVE", "1", 1);
    app = new QApplication(*argc, *argv);
    client = std::make_unique<OffscreenClient>();
    return 0;
}

void dispatchToClient(const tessaroc::wire::MessageFrame &frame)
{
    client->dispatch(frame);
    checkBounds(client->state);
    if (client->ended() || !client->services->timers.TimerBongEnabled())
        client->revive();
}
