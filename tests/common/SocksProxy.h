#pragma once

#include "WaitUntil.h"

#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>

// A real SOCKS5 proxy (microsocks) on 127.0.0.1 at a port the system picked,
// asking for a user name and password; stopped when the test ends.
namespace tessaroc::test {

class SocksProxy
{
public:
    SocksProxy(const QString &user, const QString &password)
        : exe_(QStandardPaths::findExecutable(QStringLiteral("microsocks")))
        , user_(user)
        , password_(password)
    { }
    ~SocksProxy()
    {
        process_.kill();
        process_.waitForFinished(5000);
    }

    bool installed() const { return !exe_.isEmpty(); }
    quint16 port() const { return port_; }

    // Starts the proxy on a port that was free a moment ago and waits until
    // it takes connections there.
    bool start()
    {
        {
            QTcpServer probe;
            probe.listen(QHostAddress::LocalHost, 0);
            port_ = probe.serverPort();
        }
        process_.start(exe_,
                       {QStringLiteral("-i"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"),
                        QString::number(port_), QStringLiteral("-u"), user_, QStringLiteral("-P"),
                        password_});
        if (!process_.waitForStarted(5000))
            return false;
        return waitUntil([this] {
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, port_);
            return probe.waitForConnected(100);
        });
    }

private:
    QString exe_;
    QString user_;
    QString password_;
    quint16 port_ = 0;
    QProcess process_;
};

} // namespace tessaroc::test
