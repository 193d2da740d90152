#include "Sheet.h"

#include "Style.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace tessaroc::artgen {

namespace {

constexpr int kSheetWidth = 1800;
constexpr int kGap = 10;
constexpr int kLabel = 30;

QSize tileSize(QSize picture, int limit)
{
    if (picture.width() <= limit && picture.height() <= limit)
        return picture;
    return picture.scaled(limit, limit, Qt::KeepAspectRatio);
}

struct Tile
{
    QImage image;
    QSize shown;
    QColor ground;
    QString title;
    QString note;
};

} // namespace

QImage contactSheet(const std::vector<Rendered> &pictures)
{
    std::vector<Tile> tiles;
    for (const Rendered &r : pictures) {
        const Entry &e = *r.entry;
        const QString name = e.hasId() ? QString::number(e.id) : e.name;
        const QString size = QStringLiteral("%1×%2").arg(e.size.width()).arg(e.size.height());
        for (std::size_t f = 0; f < r.frames.size(); ++f) {
            const bool animated = r.frames.size() > 1;
            Tile t;
            t.image = r.frames[f];
            t.shown = tileSize(t.image.size(), animated && f > 0 ? 120 : 260);
            t.ground = e.matte;
            t.title = animated
                    ? QStringLiteral("%1 %2 f%3/%4").arg(name, size).arg(f + 1).arg(r.frames.size())
                    : QStringLiteral("%1  %2").arg(name, size);
            t.note = f == 0
                    ? e.note + (e.format == Format::Jpeg ? QStringLiteral(" (JPEG)") : QString())
                    : QString();
            tiles.push_back(t);
        }
    }

    // Flow the tiles into rows.
    struct Placed
    {
        const Tile *tile;
        QPoint at;
        int width;
    };
    std::vector<Placed> placed;
    int x = kGap, y = 60, rowHeight = 0;
    for (const Tile &t : tiles) {
        const int width = std::max(t.shown.width(), 140);
        if (x + width + kGap > kSheetWidth) {
            x = kGap;
            y += rowHeight + kLabel + kGap;
            rowHeight = 0;
        }
        placed.push_back({&t, QPoint(x, y), width});
        x += width + kGap;
        rowHeight = std::max(rowHeight, t.shown.height());
    }
    const int height = y + rowHeight + kLabel + kGap;

    QImage sheet(kSheetWidth, height, QImage::Format_RGB32);
    sheet.fill(QColor(0x26, 0x26, 0x2a));
    QPainter p(&sheet);
    prepare(p);
    p.setPen(colour::GoldLight);
    p.setFont(hei(26));
    p.drawText(QRect(kGap, 8, kSheetWidth, 44), Qt::AlignVCenter,
               QStringLiteral("Tessaroc — every picture of the table (%1)").arg(pictures.size()));
    for (const Placed &pl : placed) {
        const Tile &t = *pl.tile;
        const QRect box(pl.at, t.shown);
        p.fillRect(box.adjusted(-2, -2, 2, 2), t.ground);
        p.drawImage(box, t.image);
        // Labels are cut to their tile, so neighbours never overprint.
        const auto label = [&](const QString &text, const QFont &font, QColor colour, int dy) {
            p.setPen(colour);
            p.setFont(font);
            const QString cut = QFontMetrics(font).elidedText(text, Qt::ElideRight, pl.width);
            p.drawText(QRect(pl.at.x(), box.bottom() + dy, pl.width, 14),
                       Qt::AlignLeft | Qt::AlignTop, cut);
        };
        label(t.title, latin(11, false), QColor(0xe8, 0xe8, 0xe8), 3);
        label(t.note, hei(11, false), QColor(0xb0, 0xb0, 0xa0), 16);
    }
    return sheet;
}

} // namespace tessaroc::artgen
