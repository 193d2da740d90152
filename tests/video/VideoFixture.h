#pragma once

#include "CoreHarness.h"
#include "ScriptedItemLibrary.h"
#include "ScriptedVideo.h"
#include "items/ItemBridge.h"
#include "video/VideoLink.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tessaroc::test {

using Strings = std::vector<std::string>;

// The client core on recording services with the real video link over the
// scripted peer link and the synthetic camera, and the real item bridge
// over the scripted library for the reports the link makes. Tests open the
// switches of the state themselves.
struct VideoFixture : ::testing::Test, RecordingCore
{
    ScriptedPropPlugin plugin;
    RecordingItemHost itemHost;
    std::shared_ptr<ScriptedPropLibrary> library = std::make_shared<ScriptedPropLibrary>();
    ScriptedP2PSocket peers;
    SyntheticCamera camera;
    RecordingVideoHost host;
    QTemporaryDir folder;
    core::CoreContext context{state, rings, clock, socket, hall,       timers,  window,
                              play,  sound, items, link,   settlement, process, chat};
    items::ItemBridge items{context, plugin, itemHost};
    video::VideoLink link{context, peers, camera, host, items};

    VideoFixture()
    {
        host.programFolder = folder.path();
        state.loop.line.ServerHost = "10.0.0.5";
        state.loop.line.ArgPassword = "secret";
        names({"me", "bo", "cy", "dee"});
    }

    void names(std::array<std::string, 4> accounts)
    {
        for (std::size_t i = 0; i < 4; ++i)
            state.rules.HandRecords[i].name = accounts[i];
    }
    // The library running, so reports to it can be seen.
    void itemsRunning()
    {
        plugin.object = library;
        state.loop.LoggedIn = true;
        items.InitGameDll();
        library->calls.clear();
    }
    // The steps of one hand as the dispatcher takes them.
    void deal()
    {
        link.LoginVideoServer();
        link.OpenLocalVideo();
        link.ShowLocalVideo(state.VideoOn, false);
    }
    bool shown(video::VideoControl c, int i) const { return host.shown(c, i); }
};

} // namespace tessaroc::test
