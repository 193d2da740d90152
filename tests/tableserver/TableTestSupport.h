#pragma once

#include "ClientModel.h"
#include "EngineHarness.h"
#include "FrameSpec.h"
#include "PeerChecker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace tessaroc::tableserver::testing {

inline std::vector<std::uint8_t> commands(const std::vector<wire::MessageFrame> &frames)
{
    std::vector<std::uint8_t> out;
    for (const auto &frame : frames)
        out.push_back(frame.cmd());
    return out;
}

inline std::string commandList(const std::vector<wire::MessageFrame> &frames)
{
    std::string out;
    for (const auto &frame : frames)
        out += commandName(frame.cmd()) + ' ';
    return out;
}

inline int countOf(const std::vector<wire::MessageFrame> &frames, std::uint8_t cmd)
{
    return static_cast<int>(std::count_if(frames.begin(), frames.end(),
                                          [cmd](const auto &f) { return f.cmd() == cmd; }));
}

inline ::testing::AssertionResult matches(const wire::MessageFrame &frame, std::string_view pattern)
{
    std::string why;
    if (matchesSpec(frame, parseFrameSpec(pattern), &why))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << why << "\n" << hexDump(frame);
}

// Winners' and losers' amounts of one hand's result frames: they balance.
inline ::testing::AssertionResult totalsBalance(const std::vector<wire::MessageFrame> &results)
{
    std::uint64_t won = 0, lost = 0;
    for (const auto &result : results) {
        if (result.byteAt(177) == 1)
            won += result.u64le(163);
        else if (result.byteAt(177) == 2)
            lost += result.u64le(163);
    }
    if (results.size() == 4 && won == lost)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
            << results.size() << " result frames, won " << won << ", lost " << lost;
}

// Seats with people at an engine harness: each person is a connection and a
// client model that sees (and has checked) every frame it is sent.
class People
{
public:
    explicit People(EngineHarness &table)
        : table_(table)
    { }

    ConnectionId join(const std::string &account)
    {
        const ConnectionId id = static_cast<ConnectionId>(people_.size() + 1);
        people_.emplace(id, Person{ClientModel(account), {}, {}});
        table_.connect(id);
        table_.send(id, people_.at(id).model.login());
        return id;
    }
    // Four people and no computer player: ann, ben, cat and dan on
    // connections 1 to 4.
    std::vector<ConnectionId> joinFour()
    {
        std::vector<ConnectionId> ids;
        for (const char *name : {"ann", "ben", "cat", "dan"})
            ids.push_back(join(name));
        return ids;
    }
    // The bidding and the play go on until the leader, who calls while the
    // others do not, has its first lead.
    void playUntilLeads(ConnectionId leader)
    {
        playOn([leader](ConnectionId id) { return id == leader; },
               [this, leader] { return model(leader).playTurn(); });
    }

    ClientModel &model(ConnectionId id) { return people_.at(id).model; }
    PeerChecker &checker(ConnectionId id) { return people_.at(id).checker; }
    const std::vector<wire::MessageFrame> &received(ConnectionId id)
    {
        return people_.at(id).received;
    }

    // Hands every pending frame to the models and checkers; returns the new
    // frames of each connection.
    std::map<ConnectionId, std::vector<wire::MessageFrame>> deliver()
    {
        std::map<ConnectionId, std::vector<wire::MessageFrame>> fresh;
        for (auto &[id, person] : people_) {
            for (const auto &frame : table_.take(id)) {
                person.model.receive(frame);
                person.checker.check(frame);
                person.received.push_back(frame);
                fresh[id].push_back(frame);
            }
        }
        return fresh;
    }

    // The connection is lost; the person answers nothing from now on.
    void drop(ConnectionId id)
    {
        dropped_.insert(id);
        table_.drop(id);
    }

    // Plays on, answering every open turn, until no one has a turn and no
    // step is due, or until stop() holds; true when something was sent.
    bool playOn(const std::function<bool(ConnectionId)> &calls = {},
                const std::function<bool()> &stop = {})
    {
        bool any = false;
        for (int rounds = 0; rounds < 10000; ++rounds) {
            table_.settle();
            deliver();
            if (stop && stop())
                return any;
            bool moved = false;
            for (auto &[id, person] : people_) {
                if (table_.closed.contains(id) || dropped_.contains(id))
                    continue;
                if (auto answer = person.model.answerTurn(calls && calls(id))) {
                    table_.send(id, *answer);
                    moved = any = true;
                    break;
                }
            }
            if (!moved)
                return any;
        }
        return any;
    }

    void expectNoViolations()
    {
        for (auto &[id, person] : people_) {
            for (const auto &violation : person.checker.violations())
                ADD_FAILURE() << person.model.account() << ": " << violation;
        }
    }

private:
    struct Person
    {
        ClientModel model;
        PeerChecker checker;
        std::vector<wire::MessageFrame> received;
    };
    EngineHarness &table_;
    std::map<ConnectionId, Person> people_;
    std::set<ConnectionId> dropped_;
};

} // namespace tessaroc::tableserver::testing
