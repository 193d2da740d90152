#pragma once

#include "TableServer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace tessaroc::tableserver::testing {

// A table server for a test on loopback whose log is kept, and whose last
// lines are shown when the test fails: what the table did is the first thing
// a failed network test needs.
struct LoopbackServer : ::testing::Test
{
    void makeServer(EngineOptions options)
    {
        server = std::make_unique<TableServer>(std::move(options),
                                               [this](const std::string &l) { log.push_back(l); });
    }

    void TearDown() override
    {
        if (!HasFailure())
            return;
        std::string tail;
        for (std::size_t i = log.size() > 40 ? log.size() - 40 : 0; i < log.size(); ++i)
            tail += log[i] + '\n';
        ADD_FAILURE() << "the server's log ends:\n" << tail;
    }

    std::unique_ptr<TableServer> server;
    std::vector<std::string> log;
};

} // namespace tessaroc::tableserver::testing
