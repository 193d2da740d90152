#pragma once

#include "FrameSpec.h"

#include "wire/MessageFrame.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class QTcpServer;
class QTcpSocket;

// Scripted peers for tests: either end of a table connection (the server a
// client under test talks to, or the clients a server under test seats),
// driven step by step. A script expects frames by command and by a predicate
// on their bytes within a time limit, sends frames built from readable
// descriptions, closes or drops the connection at a chosen moment, and keeps
// a transcript of everything in order. Waiting runs the Qt event loop, so a
// server or client in the same thread goes on meanwhile.
namespace tessaroc::tableserver {

struct TranscriptEntry
{
    enum class Kind { Received, Sent, Closed, Dropped, PeerClosed };
    Kind kind;
    std::int64_t ms; // since the connection was made
    wire::MessageFrame frame;
};

// The outcome of an expectation: the frame that met it, or why none did
// (with a readable dump of the frame that broke it and the transcript's tail).
struct Expectation
{
    bool ok = false;
    wire::MessageFrame frame;
    std::string failure;
    explicit operator bool() const { return ok; }
};

class ScriptedConnection : public QObject
{
    Q_OBJECT

public:
    // Returns false and says why in the string when the frame does not fit.
    using Predicate = std::function<bool(const wire::MessageFrame &, std::string &why)>;

    // Takes ownership of a connected socket.
    explicit ScriptedConnection(QTcpSocket *socket, QObject *parent = nullptr);
    ~ScriptedConnection() override;

    // The next frame not skipped must have the command and pass the check.
    Expectation expect(std::uint8_t cmd, const Predicate &check = {}, int timeoutMs = 3000);
    // The same with a pattern in the notation of FrameSpec.h ("b15=1 b17=0").
    Expectation expect(std::uint8_t cmd, std::string_view pattern, int timeoutMs = 3000);
    // Skips frames until one of the command passes the check; the skipped
    // ones stay in the transcript.
    Expectation expectEventually(std::uint8_t cmd, const Predicate &check = {},
                                 int timeoutMs = 3000);
    // The next frame, whatever it is.
    Expectation next(int timeoutMs = 3000);
    // True when no frame that is not skipped arrives within the time.
    bool expectSilence(int ms);
    // Frames of these commands are recorded but never handed to an
    // expectation (keep-alives, for instance).
    void skipCommands(std::set<std::uint8_t> commands);

    // Sends frames in one write.
    void send(const wire::MessageFrame &frame);
    void send(std::span<const wire::MessageFrame> frames);
    void send(std::string_view description);
    // Raw bytes, for split and glued frames.
    void sendBytes(const QByteArray &bytes);

    // Closes after what was sent (between frames); drop resets at once.
    void close();
    void drop();
    bool waitForPeerClose(int timeoutMs = 3000);
    bool isOpen() const;

    const std::vector<TranscriptEntry> &transcript() const { return transcript_; }
    std::string transcriptText(std::size_t lastEntries = 0) const;
    std::size_t unread() const { return inbox_.size(); }

Q_SIGNALS:
    void activity();

private:
    void readFrames();
    std::string failureText(const std::string &what) const;
    bool waitFor(const std::function<bool()> &done, int timeoutMs);

    QPointer<QTcpSocket> socket_;
    QElapsedTimer clock_;
    QByteArray buffer_;
    std::deque<wire::MessageFrame> inbox_;
    std::set<std::uint8_t> skipped_;
    std::vector<TranscriptEntry> transcript_;
    bool peerClosed_ = false;
};

// Listens on 127.0.0.1 and hands out scripted connections.
class ScriptedServer : public QObject
{
    Q_OBJECT

public:
    explicit ScriptedServer(QObject *parent = nullptr);
    ~ScriptedServer() override;

    bool listen(quint16 port = 0);
    quint16 port() const;
    // The next connection made to the server, or nullptr after the time.
    std::unique_ptr<ScriptedConnection> accept(int timeoutMs = 3000);

private:
    QTcpServer *server_;
};

// Connects to 127.0.0.1:port; nullptr when the connection fails in time.
std::unique_ptr<ScriptedConnection> connectScripted(quint16 port, int timeoutMs = 3000);

// Runs the event loop until done() holds or the time is up; the result of
// done() at the end.
bool waitUntil(const std::function<bool()> &done, int timeoutMs);

} // namespace tessaroc::tableserver
