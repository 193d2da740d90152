#pragma once

#include "CoreHarness.h"
#include "ScriptedItemLibrary.h"
#include "items/ItemBridge.h"

#include <gtest/gtest.h>

namespace tessaroc::test {

// The client core on recording services with the real item bridge over the
// scripted library; the state's switches are opened by the tests.
struct ItemFixture : ::testing::Test, RecordingCore
{
    RecordingVideo video;
    ScriptedPropPlugin plugin;
    RecordingItemHost host;
    std::shared_ptr<ScriptedPropLibrary> library = std::make_shared<ScriptedPropLibrary>();
    core::CoreContext context{state, rings, clock,  socket, hall,       timers,  window,
                              play,  sound, bridge, video,  settlement, process, chat};
    items::ItemBridge bridge{context, plugin, host};
    core::ItemSteps steps{context, [this] {
                              return nextRandom;
                          }};
    double nextRandom = 0.0;

    ItemFixture()
    {
        plugin.object = library;
        state.loop.LoggedIn = true;
        state.loop.line.ArgUser = "alice";
        state.loop.line.ArgPassword = "secret";
        state.loop.line.ArgPropParam = 7;
    }

    // Starts the library as the dispatcher does, with or without boxes.
    void start(bool boxes)
    {
        library->baoInfoAnswer = boxes;
        library->boxLayout = boxLayout();
        bridge.InitGameDll();
        library->calls.clear();
    }

    static items::BoxLayout boxLayout()
    {
        items::BoxLayout layout;
        for (int m = 0; m < 15; ++m)
            layout.BoxPos.push_back({100 + 60 * (m % 5), 200 + 80 * (m / 5)});
        layout.BoxCentre = {512, 300};
        layout.SeatTargets = {500, 100, 500, 900, 600, 300, 60, 300};
        layout.LabelAnchor = {512, 420};
        layout.BoxTimings = {100, 10};
        layout.ClosedBoxSize = {50, 40};
        layout.OpenBoxSize = {70, 60};
        return layout;
    }

    const items::BoxControl &box(int i) const
    {
        return bridge.controls().ImgProp[static_cast<std::size_t>(i)];
    }
};

} // namespace tessaroc::test
