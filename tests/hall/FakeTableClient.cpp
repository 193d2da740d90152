// A stand-in for the table client in the hall's tests: it takes the one
// argument the hall passes, finds the hall by the caption in field 12, sends
// it restore and minimise, posts the connecting and connected numbers, writes
// the line it got to the file named by HALL_TEST_LINE_FILE and ends with exit
// code 3. With HALL_TEST_KILL set it kills itself after the restore instead,
// the way a crash would end it.

#include "platform/HallLink.h"
#include "wire/HallMessages.h"

#include <QCoreApplication>
#include <QFile>

#include <csignal>

int main(int argc, char **argv)
{
    using namespace tessaroc::wire;
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 1;
    const QString line = QString::fromLocal8Bit(argv[1]);
    const QStringList fields = line.split(QLatin1Char('$'));
    if (fields.size() < 15)
        return 2;
    const QString hall = fields.at(11);

    QFile out(qEnvironmentVariable("HALL_TEST_LINE_FILE"));
    if (out.open(QIODevice::WriteOnly))
        out.write(line.toUtf8());
    out.close();

    tessaroc::platform::HallLink link;
    if (!link.sendMessage(hall, kSysCommand, kScRestore, 0))
        return 4;
    if (qEnvironmentVariableIsSet("HALL_TEST_KILL"))
        std::raise(SIGKILL);
    link.postMessage(hall, kTableMsgConnecting);
    link.postMessage(hall, kTableMsgConnected);
    if (!link.sendMessage(hall, kSysCommand, kScMinimise, 0))
        return 5;
    return 3;
}
