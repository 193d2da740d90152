// artgen: draws every picture of the table client and writes the embedded
// picture store (one file per picture and the resource list), a contact
// sheet for review, or loose PNG files.

#include "Art.h"
#include "Quantize.h"
#include "Sheet.h"

#include "gif/GifAnimation.h"
#include "gif/GifEncoder.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <QSaveFile>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <thread>

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

// Writes the frames with our own GIF encoder: GIF89a, each frame with its own
// colour table; an animation replaces its whole picture every frame (disposal
// to background) and carries its loop count.
QByteArray encodeGif(const std::vector<Indexed> &frames, const Art &art)
{
    using namespace tessaroc::gif;
    const bool animated = frames.size() > 1;
    GifFileData gif;
    gif.screenWidth = frames.front().image.width();
    gif.screenHeight = frames.front().image.height();
    if (animated)
        gif.loops = static_cast<std::uint16_t>(art.loops);
    for (std::size_t f = 0; f < frames.size(); ++f) {
        const QImage &image = frames[f].image;
        GifImageData data;
        data.width = image.width();
        data.height = image.height();
        data.pixels.resize(static_cast<std::size_t>(image.width()) * image.height());
        for (int y = 0; y < image.height(); ++y)
            std::copy_n(image.constScanLine(y), image.width(),
                        data.pixels.begin() + static_cast<std::ptrdiff_t>(y) * image.width());
        for (QRgb colour : image.colorTable())
            data.palette.push_back(colour & 0xFFFFFFu);
        if (frames[f].transparent >= 0)
            data.transparentIndex = static_cast<std::uint8_t>(frames[f].transparent);
        data.delayMs = art.frames[f].delayMs;
        data.disposal = animated ? DisposeToBackground : DisposeNone;
        gif.images.push_back(std::move(data));
    }
    const std::vector<std::uint8_t> bytes = EncodeGif(gif);
    return QByteArray(reinterpret_cast<const char *>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}

// Reads a written GIF back with the client's own decoder, frame by frame, so
// the contact sheet shows exactly what the client will show.
std::vector<QImage> decodeGif(const QByteArray &file)
{
    tessaroc::gif::GifAnimation gif;
    const int n = gif.LoadGifArray({reinterpret_cast<const std::uint8_t *>(file.constData()),
                                    static_cast<std::size_t>(file.size())});
    gif.BuildFrames();
    std::vector<QImage> frames;
    for (int k = 1; k <= n; ++k) {
        const std::span<const std::uint32_t> pixels = gif.ComposeFrame(k);
        QImage image(gif.ScreenWidth(), gif.ScreenHeight(), QImage::Format_ARGB32_Premultiplied);
        std::memcpy(image.bits(), pixels.data(), pixels.size_bytes());
        frames.push_back(image);
    }
    return frames;
}

struct Output
{
    Rendered rendered;
    QByteArray file;
};

// Draws one picture, encodes it, and decodes it again as the client will show
// it.
Output render(const Entry &entry)
{
    const Art art = entry.draw();
    Output out{{&entry, {}, art.loops, 0}, {}};
    for (const Frame &frame : art.frames) {
        if (frame.image.size() != entry.size) {
            std::fprintf(stderr, "artgen: %s drew %dx%d, expected %dx%d\n",
                         qPrintable(entry.fileName()), frame.image.width(), frame.image.height(),
                         entry.size.width(), entry.size.height());
            std::exit(1);
        }
    }
    if (entry.format == Format::Jpeg) {
        out.file = encodeJpeg(art.frames.front().image);
        out.rendered.frames.push_back(QImage::fromData(out.file, "JPEG"));
    } else {
        std::vector<Indexed> frames;
        for (const Frame &frame : art.frames)
            frames.push_back(quantize(frame.image, entry.matte));
        out.file = encodeGif(frames, art);
        out.rendered.frames = decodeGif(out.file);
        if (out.rendered.frames.size() != frames.size()) {
            std::fprintf(stderr, "artgen: %s does not read back\n", qPrintable(entry.fileName()));
            std::exit(1);
        }
    }
    out.rendered.bytes = out.file.size();
    return out;
}

// Draws every picture on a few threads; each picture has its own images and
// painters, so they do not meet.
std::vector<Output> renderAll(const std::vector<Entry> &entries)
{
    std::vector<Output> outputs(entries.size());
    std::atomic<std::size_t> next{0};
    const unsigned workers = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
    std::vector<std::thread> threads;
    for (unsigned w = 0; w < workers; ++w) {
        threads.emplace_back([&] {
            for (std::size_t i = next++; i < entries.size(); i = next++)
                outputs[i] = render(entries[i]);
        });
    }
    for (std::thread &t : threads)
        t.join();
    return outputs;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

// The embedded store: pictures/<id>.<ext> and design/<name>.<ext>, and the
// resource list that names each picture by its id (prefix /pictures) or its
// name (prefix /design).
bool writeStore(const QDir &dir, const std::vector<Output> &outputs)
{
    if (!dir.mkpath(QStringLiteral("pictures")) || !dir.mkpath(QStringLiteral("design")))
        return false;
    QByteArray pictures, design;
    for (const Output &out : outputs) {
        const Entry &e = *out.rendered.entry;
        const QString folder = e.hasId() ? QStringLiteral("pictures") : QStringLiteral("design");
        const QString relative = folder + QLatin1Char('/') + e.fileName();
        if (!writeFile(dir.filePath(relative), out.file))
            return false;
        const QString alias = e.hasId() ? QString::number(e.id) : e.name;
        (e.hasId() ? pictures : design) += QStringLiteral("    <file alias=\"%1\">%2</file>\n")
                                                   .arg(alias, relative)
                                                   .toUtf8();
    }
    const QByteArray qrc = "<RCC>\n  <qresource prefix=\"/pictures\">\n" + pictures
            + "  </qresource>\n  <qresource prefix=\"/design\">\n" + design
            + "  </qresource>\n</RCC>\n";
    return writeFile(dir.filePath(QStringLiteral("pictures.qrc")), qrc);
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
    const QCommandLineOption outOption(
            QStringLiteral("out"),
            QStringLiteral("Write the embedded picture store (files and pictures.qrc) into <dir>."),
            QStringLiteral("dir"));
    parser.addOptions({outOption, sheetOption, pngOption});
    parser.process(app);

    if (!parser.isSet(outOption) && !parser.isSet(sheetOption) && !parser.isSet(pngOption))
        parser.showHelp(1);

    const std::vector<Entry> entries = catalogue();
    const std::vector<Output> outputs = renderAll(entries);
    std::vector<Rendered> rendered;
    for (const Output &out : outputs)
        rendered.push_back(out.rendered);

    if (parser.isSet(outOption) && !writeStore(QDir(parser.value(outOption)), outputs)) {
        std::fprintf(stderr, "artgen: cannot write the store into %s\n",
                     qPrintable(parser.value(outOption)));
        return 1;
    }

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
