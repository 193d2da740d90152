#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

class QLocalServer;
class QLocalSocket;

namespace tessaroc::platform {

// Window messages between the table and the hall, carried over local sockets.
//
// Every window that takes messages listens under a local server whose name
// follows from its caption (serverNameFor); "finding a window" is connecting
// to that name, and "the window is gone" is nobody listening there. The
// sockets live in a folder only the user may enter (socketFolder), and both
// ends refuse a connection whose other end runs as another user, so no other
// user's program can take a caption's name or answer in the hall's place. A
// message is one 24-byte record:
//
//   byte  0       kind: 1 send (the sender waits for an answer),
//                       2 post (no answer), 3 answer (to a send)
//   bytes 1..3    0
//   bytes 4..7    message number, unsigned 32-bit, little-endian
//   bytes 8..15   wParam, signed 64-bit, little-endian
//   bytes 16..23  lParam, signed 64-bit, little-endian
//
// The answer to a send comes back on the same connection as a record of kind
// 3 carrying the same message number, the receiver's result in wParam and 0 in
// lParam. Records on one connection are handled in order. A record of an
// unknown kind is skipped. Each end must read what it is sent: a connection
// whose peer leaves a few hundred records unread is closed, rather than have
// them pile up in the writer.
//
// A send waits for its answer at most answerTimeoutMs (2 s unless set), so a
// hall that hangs cannot hang the table; while it waits, events run as in any
// of the program's waits, so a window can take a request back from the window
// it is waiting on. A post writes its record and returns.
//
// The connection to a window found once is kept for the next messages; when
// the window closes it (it stopped listening, or its program ended), the
// link says so with windowGone.
class HallLink : public QObject
{
    Q_OBJECT

public:
    enum class Kind : std::uint8_t { Send = 1, Post = 2, Answer = 3 };
    static constexpr int kRecordSize = 24;

    struct Record
    {
        Kind kind = Kind::Post;
        std::uint32_t msg = 0;
        std::int64_t wParam = 0;
        std::int64_t lParam = 0;
    };

    // The receiver of the messages that arrive under the own caption; its
    // result answers a send (a post's result is dropped).
    using Handler = std::function<std::int64_t(std::uint32_t msg, std::int64_t wParam,
                                               std::int64_t lParam)>;

    // The local server name of a caption: "tessaroc-wnd-" followed by the
    // lowercase hexadecimal of the first 16 bytes of the SHA-256 of the
    // caption's UTF-8 bytes, so that any text makes a valid, short name.
    static QString serverNameFor(const QString &caption);
    // The folder of the sockets and of the table's single-instance lock:
    // $XDG_RUNTIME_DIR when it is the user's own and closed to everyone else;
    // otherwise "tessaroc" in the user's state folder ($XDG_STATE_HOME, else
    // ~/.local/state), made with mode 0700 when missing. Never a shared
    // folder such as /tmp, where another user could take the name first.
    // Empty when that folder is a link, belongs to another user or is open to
    // others: then no window can listen or be found.
    static QString socketFolder();
    // The socket file of a caption in socketFolder; empty without a folder.
    static QString serverPathFor(const QString &caption);
    static QByteArray encodeRecord(const Record &record);
    static Record decodeRecord(const char *bytes); // kRecordSize bytes

    explicit HallLink(QObject *parent = nullptr);
    ~HallLink() override;

    // Takes messages under the own caption. False when another live window
    // of the user already listens under it, there is no safe socket folder,
    // or the socket cannot be made there (a stale name left by a crash is
    // taken over); listenError says which.
    bool listen(const QString &ownCaption);
    // Why the last listen failed, in words that name the caption, the folder
    // or the socket file and the system's own reason; empty after a listen
    // that worked.
    const QString &listenError() const { return listenError_; }
    // The own window is gone: the name is freed and open connections end.
    void stopListening();
    bool isListening() const;
    void setHandler(Handler handler) { handler_ = std::move(handler); }

    bool findWindow(const QString &caption);
    // No value when no window has the caption, or it did not answer in time.
    std::optional<std::int64_t> sendMessage(const QString &caption, std::uint32_t msg,
                                            std::int64_t wParam, std::int64_t lParam);
    // False when no window has the caption, or the window has left too many
    // records unread: that connection is closed, the next post connects anew.
    bool postMessage(const QString &caption, std::uint32_t msg, std::int64_t wParam = 0,
                     std::int64_t lParam = 0);

    void setAnswerTimeoutMs(int ms) { answerTimeoutMs_ = ms; }

Q_SIGNALS:
    // The window under the caption closed the kept connection to it: it is
    // gone. Not said for a connection this link drops itself.
    void windowGone(const QString &caption);

private:
    struct Outgoing
    {
        QPointer<QLocalSocket> socket;
        bool waiting = false; // a send waits for its answer on it
    };

    QLocalSocket *connectionTo(const QString &caption, bool forSend);
    QLocalSocket *openConnection(const QString &caption);
    // The kept connection to a caption, watched for the window going away.
    QLocalSocket *keepConnection(const QString &caption);
    void dropKept(Outgoing &out);
    void acceptConnections();
    void serveConnection(QLocalSocket *socket);

    QLocalServer *server_ = nullptr;
    QHash<QString, Outgoing> outgoing_;
    QHash<QLocalSocket *, bool> serving_; // accepted connections; true while a record is handled
    Handler handler_;
    QString listenError_;
    int answerTimeoutMs_ = 2000;
};

} // namespace tessaroc::platform
