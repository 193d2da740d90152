#pragma once

#include "ScriptedPeer.h"
#include "TableTestSupport.h"

#include <QElapsedTimer>

#include <functional>
#include <memory>
#include <vector>

namespace tessaroc::tableserver::testing {

// A scripted client at a real table server: a connection, a model of the
// client and a checker that sees every frame it receives.
struct NetPlayer
{
    NetPlayer(quint16 port, const std::string &account)
        : link(connectScripted(port))
        , model(account)
    { }

    void absorb()
    {
        while (link && link->unread() > 0) {
            const Expectation frame = link->next(0);
            model.receive(frame.frame);
            checker.check(frame.frame);
            received.push_back(frame.frame);
        }
    }
    void act(bool call = false)
    {
        if (auto answer = model.answerTurn(call))
            link->send(*answer);
    }
    void expectNoViolations() const
    {
        for (const auto &violation : checker.violations())
            ADD_FAILURE() << model.account() << ": " << violation;
    }

    std::unique_ptr<ScriptedConnection> link;
    ClientModel model;
    PeerChecker checker;
    std::vector<wire::MessageFrame> received;
};

inline constexpr int kHandTimeoutMs = 10000;

// Lets the players answer their turns until done() holds; false when the
// time runs out first.
inline bool playUntil(const std::vector<NetPlayer *> &players, const std::function<bool()> &done,
                      int timeoutMs = kHandTimeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        waitUntil(
                [&] {
                    return std::any_of(players.begin(), players.end(),
                                       [](NetPlayer *p) { return p->link->unread() > 0; });
                },
                20);
        for (NetPlayer *player : players)
            player->absorb();
        // A turn that is open when the condition holds stays unanswered.
        if (done())
            return true;
        for (NetPlayer *player : players)
            player->act();
    }
    return true;
}

} // namespace tessaroc::tableserver::testing
