#pragma once

#include <QProcess>
#include <QString>
#include <QThread>

#include <pwd.h>
#include <unistd.h>

#include <optional>

namespace tessaroc::test {

// A second user of the machine, for tests of what one user's files and
// sockets let another user do.
struct OtherUser
{
    uid_t uid = 0;
    gid_t gid = 0;
};

// The second user, made when missing. Nothing when this process cannot act
// as another user; `why` then says so.
inline std::optional<OtherUser> otherUser(QString &why)
{
    static constexpr char kName[] = "tessaroc-peer";
    if (::geteuid() != 0) {
        why = QStringLiteral("not running as root: cannot act as a second user");
        return std::nullopt;
    }
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (const passwd *entry = ::getpwnam(kName))
            return OtherUser{entry->pw_uid, entry->pw_gid};
        // Test processes run side by side: while one of them adds the user,
        // the others find the user database locked for a moment.
        QProcess::execute(QStringLiteral("useradd"),
                          {QStringLiteral("--system"), QStringLiteral("--no-create-home"),
                           QStringLiteral("--shell"), QStringLiteral("/usr/sbin/nologin"),
                           QString::fromLatin1(kName)});
        QThread::msleep(50);
    }
    why = QStringLiteral("no second user could be made (useradd %1 failed)")
                  .arg(QString::fromLatin1(kName));
    return std::nullopt;
}

} // namespace tessaroc::test
