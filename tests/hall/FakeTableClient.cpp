// A stand-in for the table client in the hall's tests: it takes the one
// argument the hall passes, finds the hall by the caption in field 12, sends
// it restore and minimise, posts the connecting and connected numbers, writes
// the line it got to the file named by HALL_TEST_LINE_FILE and ends with exit
// code 3. With HALL_TEST_KILL set it kills itself after the restore instead,
// the way a crash would end it. With HALL_TEST_STAY set it stays instead of
// ending, until a signal ends it; with HALL_TEST_LEAVE it also takes the
// hall's requests under the caption in field 13, answers "may you close?" as
// a table between hands does (posting 0x400), and hands control back to the
// hall with a second restore, as a player leaving the table makes it.

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
    if (qEnvironmentVariableIsSet("HALL_TEST_LEAVE")) {
        tessaroc::platform::HallLink table;
        table.setHandler([&link, &hall](std::uint32_t msg, std::int64_t, std::int64_t) {
            if (msg == kHallMsgAskClose)
                link.postMessage(hall, kTableMsgNotInGame);
            return std::int64_t{0};
        });
        if (!table.listen(fields.at(12)) || !link.sendMessage(hall, kSysCommand, kScRestore, 0))
            return 6;
        return QCoreApplication::exec();
    }
    if (qEnvironmentVariableIsSet("HALL_TEST_STAY"))
        return QCoreApplication::exec();
    return 3;
}
