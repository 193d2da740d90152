// A second program writing the settings file in the settings tests: it writes
// keys <prefix>0 .. <prefix>(count-1) of section [Keys], each holding its
// number, one write at a time.

#include "support/classIniFile.h"

#include <QCoreApplication>
#include <QString>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 4)
        return 2;
    tessaroc::support::classIniFile ini;
    ini.setINIFileName(QString::fromLocal8Bit(argv[1]));
    const QString prefix = QString::fromLocal8Bit(argv[2]);
    const int count = QString::fromLocal8Bit(argv[3]).toInt();
    for (int i = 0; i < count; ++i)
        ini.WriteIniKey(QStringLiteral("Keys"), prefix + QString::number(i), QString::number(i));
    return 0;
}
