#pragma once

#include "HallOptions.h"

#include "wire/HallMessages.h"

#include <QElapsedTimer>
#include <QObject>
#include <QProcess>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace tessaroc::platform {
class HallLink;
}

namespace tessaroc::hall {

std::uint32_t requestNumber(Request request);

struct HallEvent
{
    enum class Kind {
        TableSent, // a system command the hall acknowledged
        TablePosted, // a status number
        HallPosted, // one of the hall's requests
        NoTable, // a request found no table window
        ClientStarted,
        ClientFailed,
        ClientFinished,
        ClientKilled, // ended by a signal (a crash): the number is in text
        HallGone,
        TableLeft, // the table handed back and left: the hall closes the client
        TableKeptOpen, // handed back without its server: left for the player to close
    };
    std::int64_t ms = 0; // since the hall opened
    Kind kind = Kind::TablePosted;
    std::uint32_t msg = 0;
    std::int64_t wParam = 0;
    std::int64_t lParam = 0;
    QString text; // the client's program and line, its exit code or its signal
};

// "table posts 0x467 hand start", "table sends 0x112 0xf120 restore"...
QString describeEvent(const HallEvent &event);

// The hall stand-in: a window found by its caption that starts the client,
// acknowledges its restore and minimise commands, records every message it
// sends, and sends the hall's four requests to the table. When the table
// hands control back after its start-up (the player left it), the hall asks
// whether it may close the table, and closes the client when the table
// answers that it left. A table that hands back while it tries to reach its
// server again has given up and shows the player why: it stays open until
// the player closes that notice, which hands back once more.
class Hall : public QObject
{
    Q_OBJECT

public:
    explicit Hall(HallOptions options, QObject *parent = nullptr);
    ~Hall() override;

    const HallOptions &options() const { return options_; }

    // Opens the hall window under its caption, and under the default caption
    // too when the client will not take the captions from its line. False
    // when it cannot: openError then says why (another window has the
    // caption, or the folder or the socket file failed, and how).
    bool open();
    const QString &openError() const { return openError_; }
    // Starts the client with its line (nothing happens without a client
    // program).
    void startClient();
    // Starts the clocks of the scheduled requests and of the window's
    // disappearance: now, or with --after-connect when the table reports
    // that it connected.
    void schedule();
    // Posts a request to the table window; false when there is none.
    bool request(Request request);
    // The hall window disappears: the client no longer finds it.
    void disappear();
    // Ends the client as closing its window would (SIGTERM); one that has
    // not ended after graceMs is killed. waitMs 0 returns at once, else the
    // call waits up to that long for the end.
    void closeClient(int graceMs, int waitMs = 0);

    const std::vector<HallEvent> &events() const { return events_; }
    bool minimised() const { return minimised_; }
    QProcess *client() const { return client_.get(); }
    bool clientRunning() const;

Q_SIGNALS:
    void eventRecorded(const tessaroc::hall::HallEvent &event);
    // The table asked to restore (false) or to minimise (true) the hall.
    void windowStateRequested(bool minimised);
    // The client is gone, with the code a shell would give: its own exit
    // code, 128 plus the signal that killed it, or 127 when it could not be
    // started at all. A crash never reads as one of the client's own codes.
    void clientFinished(int result);

private:
    std::int64_t answer(std::uint32_t msg, std::int64_t wParam, std::int64_t lParam);
    void record(HallEvent event);

    HallOptions options_;
    QElapsedTimer clock_;
    std::vector<std::unique_ptr<platform::HallLink>> windows_;
    std::unique_ptr<platform::HallLink> requests_;
    std::unique_ptr<QProcess> client_;
    std::vector<HallEvent> events_;
    QString openError_;
    bool minimised_ = false;
    bool connectedSeen_ = false; // the table reported that it connected
    bool handSeen_ = false; // the table reported a hand start
    bool reconnecting_ = false; // connecting again since, not connected yet
    bool scheduleOnConnect_ = false;
    int restores_ = 0; // the table's restores: the first is its start-up's
    bool askedAfterHandBack_ = false; // may-you-close sent after a later one
};

} // namespace tessaroc::hall
