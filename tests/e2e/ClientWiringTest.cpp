// The program's wiring: the client core's context is built after the
// services it names, so a service that read the context while it was being
// built would keep whatever the memory held. The client is built here over
// memory that held something else; the windows the toolbar and a refused play
// open must work all the same.

#include "app/Client.h"
#include "play/PlayFlowService.h"
#include "sound/VosSet.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

namespace {

using namespace tessaroc;

TEST(ClientWiring, WindowsOfThePlayFlowWorkOnAClientBuiltOverUsedMemory)
{
    QTemporaryDir runtime;
    void *memory = std::aligned_alloc(alignof(app::Client),
                                      (sizeof(app::Client) + alignof(app::Client) - 1)
                                              / alignof(app::Client) * alignof(app::Client));
    ASSERT_NE(memory, nullptr);
    std::memset(memory, 0xA5, sizeof(app::Client));
    const auto destroy = [](app::Client *client) {
        client->~Client();
        std::free(client);
    };
    std::unique_ptr<app::Client, decltype(destroy)> client(
            new (memory) app::Client(1.0, runtime.filePath(QStringLiteral("tessaroc.lock"))),
            destroy);

    play::PlayFlowService &play = client->play();
    play.AnNiu_Click(play::PlayFlowService::BtnSound);
    ASSERT_TRUE(play.windows().VosSetVisible());
    play.AnNiu_Click(play::PlayFlowService::BtnSound);
    EXPECT_FALSE(play.windows().VosSetVisible());

    // The illegal-play notice and its life timer on the program's clock.
    play.ChuPai().Show(0, 0, 15000, 12000, false);
    EXPECT_TRUE(play.ChuPai().Visible());
    EXPECT_TRUE(play.ChuPai().Timer1().isActive());
    play.ChuPai().Unload();
}

} // namespace
