// artgen: draws every picture of the table client and writes the embedded
// picture store (one file per picture and the resource list), a contact
// sheet for review, or loose PNG files.

#include "Art.h"
#include "Quantize.h"
#include "Sheet.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <QImageWriter>

#include <cstdio>
#include <cstdlib>

using namespace tessaroc::artgen;

namespace {

QByteArray encodeJpeg(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(88);
    writer.write(image.convertToFormat(QImage::Format_RGB32));
    return bytes;
}

// Draws one picture and returns it as the client will show it.
Rendered render(const Entry &entry)
{
    const Art art = entry.draw();
    Rendered r{&entry, {}, art.loops, 0};
    for (const Frame &frame : art.frames) {
        if (frame.image.size() != entry.size) {
            std::fprintf(stderr, "artgen: %s drew %dx%d, expected %dx%d\n",
                         qPrintable(entry.fileName()), frame.image.width(), frame.image.height(),
                         entry.size.width(), entry.size.height());
            std::exit(1);
        }
        if (entry.format == Format::Jpeg) {
            const QByteArray bytes = encodeJpeg(frame.image);
            r.bytes += bytes.size();
            r.frames.push_back(QImage::fromData(bytes, "JPEG"));
        } else {
            r.frames.push_back(quantize(frame.image, entry.matte).image);
        }
    }
    return r;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Draws the pictures of the table client."));
    parser.addHelpOption();
    const QCommandLineOption sheetOption(QStringLiteral("sheet"),
                                         QStringLiteral("Write a contact sheet to <file>."),
                                         QStringLiteral("file"));
    const QCommandLineOption pngOption(QStringLiteral("png"),
                                       QStringLiteral("Write every picture as PNG into <dir>."),
                                       QStringLiteral("dir"));
    parser.addOptions({sheetOption, pngOption});
    parser.process(app);

    const std::vector<Entry> entries = catalogue();
    std::vector<Rendered> rendered;
    rendered.reserve(entries.size());
    for (const Entry &entry : entries)
        rendered.push_back(render(entry));

    if (parser.isSet(pngOption)) {
        const QDir dir(parser.value(pngOption));
        QDir().mkpath(dir.path());
        for (const Rendered &r : rendered) {
            const QString stem = r.entry->hasId() ? QString::number(r.entry->id) : r.entry->name;
            for (std::size_t f = 0; f < r.frames.size(); ++f) {
                const QString name = r.frames.size() > 1
                        ? QStringLiteral("%1_f%2.png").arg(stem).arg(f + 1)
                        : stem + QStringLiteral(".png");
                r.frames[f].save(dir.filePath(name));
            }
        }
    }
    if (parser.isSet(sheetOption)) {
        if (!contactSheet(rendered).save(parser.value(sheetOption))) {
            std::fprintf(stderr, "artgen: cannot write %s\n",
                         qPrintable(parser.value(sheetOption)));
            return 1;
        }
    }
    return 0;
}
