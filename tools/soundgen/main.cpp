// soundgen makes every sound file of the client: the music loop and the
// effects synthesised here, the spoken cues and the quick-phrase voices in
// Mandarin by espeak-ng, all as PCM wave files under the folders the client
// reads, and the phrases file that names the quick phrases.
//
//   soundgen --out DIR   writes DIR/common/... and DIR/chat.ini
//   soundgen --list      prints every file and how it is made

#include "Catalogue.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>

namespace {

int fail(const QString &message)
{
    std::fprintf(stderr, "soundgen: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QString out;
    bool list = false;
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args[i] == QStringLiteral("--list")) {
            list = true;
        } else if (args[i] == QStringLiteral("--out") && i + 1 < args.size()) {
            out = args[++i];
        } else {
            return fail(QStringLiteral("usage: soundgen --out DIR | --list"));
        }
    }

    const std::vector<soundgen::Entry> entries = soundgen::catalogue();
    if (list) {
        QTextStream cout(stdout);
        for (const auto &e : entries)
            cout << e.path << "\t" << e.how << "\n";
        cout << "chat.ini\tthe quick phrases of both pages (GBK)\n";
        return 0;
    }
    if (out.isEmpty())
        return fail(QStringLiteral("no output folder (--out DIR)"));

    std::vector<soundgen::Utterance> lines;
    for (const auto &e : entries) {
        if (e.speech)
            lines.push_back(*e.speech);
    }
    QString error;
    const std::vector<soundgen::Signal> said = soundgen::speak(lines, error);
    if (said.size() != lines.size())
        return fail(error + QStringLiteral(" (scripts/setup installs espeak-ng)"));

    const QDir root(out);
    std::size_t next = 0;
    for (const auto &e : entries) {
        const soundgen::Signal *words = e.speech ? &said[next++] : nullptr;
        const QString path = root.filePath(e.path);
        if (!QDir().mkpath(QFileInfo(path).path()))
            return fail(QStringLiteral("cannot make the folder of ") + path);
        if (!soundgen::writeWave(path, e.make(words), e.bitsPerSample))
            return fail(QStringLiteral("cannot write ") + path);
    }
    QFile phrases(root.filePath(QStringLiteral("chat.ini")));
    const QByteArray ini = soundgen::phrasesFile(soundgen::quickPhrases());
    if (!phrases.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || phrases.write(ini) != ini.size())
        return fail(QStringLiteral("cannot write ") + phrases.fileName());
    return 0;
}
