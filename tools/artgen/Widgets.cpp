#include "Pictures.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <cmath>

namespace tessaroc::artgen {

namespace {

double labelPixels(QSize size, const QString &label)
{
    // Two characters fill most of a button; longer labels shrink to fit.
    const double byHeight = size.height() * 0.5;
    const double byWidth = size.width() * 0.78 / std::max<qsizetype>(2, label.size());
    return std::min(byHeight, byWidth * 1.05);
}

} // namespace

QImage button(QSize size, ButtonTone tone, const QString &label, bool hover)
{
    QImage image = canvas(size);
    QPainter p(&image);
    prepare(p);
    drawButton(p, QRectF(QPointF(0, 0), QSizeF(size)), tone, label, hover,
               labelPixels(size, label));
    return image;
}

QImage disabledButton(QSize size, const QString &label)
{
    return button(size, ButtonTone::Grey, label, false);
}

// The two small tabs on the room strip that open the quick phrases and the
// chat window.
QImage tabButton(QSize size, const QString &label, bool hover)
{
    QImage image = canvas(size);
    QPainter p(&image);
    prepare(p);
    const QRectF box(0.5, 0.5, size.width() - 1, size.height() - 1);
    QLinearGradient g(box.topLeft(), box.bottomLeft());
    g.setColorAt(0, hover ? colour::GoldLight : QColor(0x9a, 0x5a, 0x22));
    g.setColorAt(1, hover ? colour::Gold : QColor(0x5a, 0x2e, 0x10));
    p.setPen(QPen(hover ? colour::GoldLight : colour::GoldDark, 1));
    p.setBrush(g);
    p.drawRoundedRect(box, 3, 3);
    outlinedText(p, box.adjusted(3, 1.5, -3, -1.5), label, hei(size.height()),
                 hover ? QBrush(colour::Brown) : QBrush(colour::GoldLight), QColor(0, 0, 0, 0), 0);
    return image;
}

// Ready marks in three grades by the player's coins (bronze, silver, gold),
// and the first-player mark.
QImage markBadge(QSize size, const QString &label, int level)
{
    QImage image = canvas(size);
    QPainter p(&image);
    prepare(p);
    static const QColor tops[] = {QColor(0xe8, 0xa2, 0x6a), QColor(0xf0, 0xf2, 0xf6),
                                  colour::GoldLight, QColor(0xff, 0x9a, 0x6a)};
    static const QColor bottoms[] = {QColor(0x8a, 0x4a, 0x1c), QColor(0x88, 0x90, 0xa0),
                                     colour::GoldDark, QColor(0xb8, 0x22, 0x14)};
    const QRectF box(1, 1, size.width() - 2, size.height() - 2);
    QLinearGradient g(box.topLeft(), box.bottomLeft());
    g.setColorAt(0, tops[level]);
    g.setColorAt(1, bottoms[level]);
    p.setPen(QPen(QColor(0x3a, 0x20, 0x08), 1.2));
    p.setBrush(g);
    p.drawRoundedRect(box, box.height() / 2, box.height() / 2);
    // A tick or star at the left, the word at the right.
    const QRectF mark(box.left() + 4, box.top() + 4, box.height() - 8, box.height() - 8);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xff, 0xff, 230));
    p.drawEllipse(mark);
    QPainterPath tick;
    tick.moveTo(mark.left() + mark.width() * 0.22, mark.top() + mark.height() * 0.52);
    tick.lineTo(mark.left() + mark.width() * 0.43, mark.top() + mark.height() * 0.74);
    tick.lineTo(mark.left() + mark.width() * 0.8, mark.top() + mark.height() * 0.3);
    p.setPen(QPen(QColor(0x1c, 0x8a, 0x2e), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tick);
    outlinedText(p,
                 QRectF(mark.right() + 3, box.top() + 4, box.right() - mark.right() - 8,
                        box.height() - 8),
                 label, hei(size.height() * 0.6), Qt::white, QColor(0x3a, 0x20, 0x08), 1.3);
    return image;
}

// The item store on the room strip: a small treasure chest with its word.
QImage bankIcon(QSize size, bool hover)
{
    QImage image = canvas(size);
    QPainter p(&image);
    prepare(p);
    const double h = size.height();
    const QRectF chest(2, h * 0.22, h * 0.95, h * 0.66);
    QLinearGradient wood(chest.topLeft(), chest.bottomLeft());
    wood.setColorAt(0, hover ? QColor(0xc0, 0x72, 0x30) : colour::WoodLight);
    wood.setColorAt(1, colour::WoodDark);
    p.setPen(QPen(colour::GoldDark, 1));
    p.setBrush(wood);
    p.drawRoundedRect(chest, 2, 2);
    QPainterPath lid;
    lid.moveTo(chest.left(), chest.top() + chest.height() * 0.35);
    lid.quadTo(chest.center().x(), chest.top() - chest.height() * 0.45, chest.right(),
               chest.top() + chest.height() * 0.35);
    lid.closeSubpath();
    p.drawPath(lid);
    p.setPen(QPen(colour::Gold, 1.6));
    p.drawLine(QPointF(chest.left(), chest.top() + chest.height() * 0.38),
               QPointF(chest.right(), chest.top() + chest.height() * 0.38));
    p.setPen(Qt::NoPen);
    p.setBrush(hover ? colour::GoldLight : colour::Gold);
    p.drawRect(QRectF(chest.center().x() - 2.5, chest.top() + chest.height() * 0.3, 5, 6));
    if (hover) {
        QRadialGradient glow(chest.center(), h * 0.7);
        glow.setColorAt(0, QColor(0xff, 0xf0, 0xa0, 120));
        glow.setColorAt(1, QColor(0xff, 0xf0, 0xa0, 0));
        p.setBrush(glow);
        p.drawEllipse(chest.center(), h * 0.7, h * 0.7);
    }
    outlinedText(p, QRectF(chest.right() + 1, 3, size.width() - chest.right() - 2, h - 6),
                 QStringLiteral("道具"), hei(h * 0.5), hover ? colour::GoldLight : colour::Cream,
                 QColor(0x2a, 0x14, 0x04), 1.2);
    return image;
}

QImage taskIcon(QSize size, bool hover)
{
    QImage image = canvas(size);
    QPainter p(&image);
    prepare(p);
    const double h = size.height();
    // A clipboard with a list of ticked tasks, then the word.
    const QRectF board(3, h * 0.1, h * 0.68, h * 0.82);
    QLinearGradient wood(board.topLeft(), board.bottomLeft());
    wood.setColorAt(0, hover ? QColor(0xc8, 0x84, 0x40) : colour::WoodLight);
    wood.setColorAt(1, colour::Wood);
    p.setPen(QPen(colour::WoodDark, 1));
    p.setBrush(wood);
    p.drawRoundedRect(board, 2, 2);
    const QRectF sheet = board.adjusted(h * 0.08, h * 0.12, -h * 0.08, -h * 0.06);
    p.setBrush(hover ? QColor(0xff, 0xfc, 0xea) : colour::Cream);
    p.setPen(Qt::NoPen);
    p.drawRect(sheet);
    p.setBrush(colour::GoldDark);
    p.drawRoundedRect(QRectF(board.center().x() - h * 0.14, board.top() - 1, h * 0.28, h * 0.12), 1,
                      1);
    for (int row = 0; row < 3; ++row) {
        const double y = sheet.top() + sheet.height() * (0.22 + 0.3 * row);
        p.setPen(QPen(QColor(0x1c, 0x8a, 0x2e), 1.3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(sheet.left() + 1.5, y), QPointF(sheet.left() + 3, y + 1.8));
        p.drawLine(QPointF(sheet.left() + 3, y + 1.8), QPointF(sheet.left() + 6, y - 2));
        p.setPen(QPen(QColor(0x60, 0x50, 0x40), 1));
        p.drawLine(QPointF(sheet.left() + 8, y), QPointF(sheet.right() - 1.5, y));
    }
    const QRectF plate(board.right() + 4, h * 0.12, size.width() - board.right() - 6, h * 0.76);
    drawButton(p, plate, ButtonTone::Red, QStringLiteral("任务"), hover, h * 0.42);
    return image;
}

// Caption buttons of the frame: 0 normal, 1 hover, 2 pressed.
QImage captionButton(QSize size, bool close, int state)
{
    QImage image = canvas(size);
    QPainter p(&image);
    prepare(p);
    const QRectF box(0.5, 0.5, size.width() - 1, size.height() - 1);
    QLinearGradient g(box.topLeft(), box.bottomLeft());
    const QColor base = close ? QColor(0xd0, 0x3a, 0x20) : QColor(0xe8, 0x8a, 0x1a);
    const QColor top = state == 1 ? base.lighter(140)
            : state == 2          ? base.darker(130)
                                  : base.lighter(115);
    g.setColorAt(0, top);
    g.setColorAt(1, state == 2 ? base.darker(160) : base.darker(120));
    p.setPen(QPen(QColor(0x4a, 0x14, 0x04), 1));
    p.setBrush(g);
    p.drawRoundedRect(box, 3, 3);
    p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap));
    const double m = size.width() * 0.3;
    const QPointF shift = state == 2 ? QPointF(0.5, 0.5) : QPointF(0, 0);
    if (close) {
        p.drawLine(QPointF(m, m) + shift, QPointF(size.width() - m, size.height() - m) + shift);
        p.drawLine(QPointF(size.width() - m, m) + shift, QPointF(m, size.height() - m) + shift);
    } else {
        p.drawLine(QPointF(m, size.height() * 0.66) + shift,
                   QPointF(size.width() - m, size.height() * 0.66) + shift);
    }
    return image;
}

// The pointing hand shown over every clickable picture; its hot spot, the
// tip of the finger, is at (12, 4).
QImage handCursor(QSize size)
{
    QImage image = canvas(size);
    QPainter p(&image);
    prepare(p);
    QPainterPath hand;
    hand.moveTo(10, 5);
    hand.cubicTo(10, 2.2, 14, 2.2, 14, 5);
    hand.lineTo(14, 13);
    hand.cubicTo(14.2, 11, 18, 11, 18, 13.5);
    hand.lineTo(18, 14.5);
    hand.cubicTo(18.2, 12.5, 22, 12.5, 22, 15);
    hand.lineTo(22, 16);
    hand.cubicTo(22.2, 14, 26, 14, 26, 16.5);
    hand.lineTo(26, 23);
    hand.cubicTo(26, 27, 24, 29, 22, 30);
    hand.lineTo(13, 30);
    hand.cubicTo(11, 28, 8, 24, 5, 20);
    hand.cubicTo(3.5, 18, 5.5, 15.5, 8, 17.5);
    hand.lineTo(10, 19.5);
    hand.closeSubpath();
    p.setPen(QPen(Qt::black, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(hand);
    p.setPen(QPen(Qt::black, 0.9));
    p.drawLine(QPointF(18, 16), QPointF(18, 21));
    p.drawLine(QPointF(22, 17), QPointF(22, 21));
    p.drawLine(QPointF(14, 15), QPointF(14, 21));
    return image;
}

QImage closeSpot(QSize size, bool close)
{
    QImage image = canvas(size);
    QPainter p(&image);
    prepare(p);
    const QRectF box(1, 1, size.width() - 2, size.height() - 2);
    QRadialGradient g(box.center() - QPointF(3, 3), box.width());
    g.setColorAt(0, close ? QColor(0xf4, 0x7a, 0x5a) : colour::GoldLight);
    g.setColorAt(1, close ? QColor(0x8a, 0x10, 0x08) : colour::GoldDark);
    p.setPen(QPen(colour::GoldDark, 1.2));
    p.setBrush(g);
    p.drawEllipse(box);
    p.setPen(QPen(close ? Qt::white : colour::Brown, 2.2, Qt::SolidLine, Qt::RoundCap));
    const double m = size.width() * 0.32;
    if (close) {
        p.drawLine(QPointF(m, m), QPointF(size.width() - m, size.height() - m));
        p.drawLine(QPointF(size.width() - m, m), QPointF(m, size.height() - m));
    } else {
        p.drawLine(QPointF(m, size.height() / 2.0), QPointF(size.width() - m, size.height() / 2.0));
    }
    return image;
}

// The multiplier icons beside the show-card and the wealth multipliers: two
// cards or a stack of coins, and the word for "times" on a red seal.
QImage multiplierIcon(QSize size, bool wealth)
{
    QImage image = canvas(size);
    QPainter p(&image);
    prepare(p);
    const double h = size.height();
    if (wealth) {
        for (int i = 0; i < 4; ++i) {
            const QRectF coin(3, h * 0.62 - i * 4.5, h * 0.8, h * 0.34);
            QLinearGradient g(coin.topLeft(), coin.bottomLeft());
            g.setColorAt(0, colour::GoldLight);
            g.setColorAt(1, colour::GoldDark);
            p.setPen(QPen(QColor(0x6a, 0x48, 0x08), 0.8));
            p.setBrush(g);
            p.drawEllipse(coin);
        }
    } else {
        for (int i = 0; i < 2; ++i) {
            p.save();
            p.translate(h * 0.42 + i * 7, h * 0.55);
            p.rotate(-14 + i * 22);
            const QRectF card(-h * 0.27, -h * 0.38, h * 0.54, h * 0.74);
            p.setPen(QPen(QColor(0x40, 0x40, 0x40), 0.8));
            p.setBrush(Qt::white);
            p.drawRoundedRect(card, 2, 2);
            QTransform t;
            t.translate(card.left() + card.width() * 0.2, card.top() + card.height() * 0.25);
            t.scale(card.width() * 0.6, card.height() * 0.5);
            p.fillPath(t.map(suitShape(i == 0 ? 3 : 2)), i == 0 ? colour::Ink : colour::CardRed);
            p.restore();
        }
    }
    const QRectF seal(size.width() - h * 0.82 - 1, h * 0.09, h * 0.82, h * 0.82);
    QRadialGradient red(seal.center() - QPointF(2, 2), seal.width());
    red.setColorAt(0, QColor(0xf0, 0x4a, 0x3a));
    red.setColorAt(1, QColor(0x8a, 0x08, 0x08));
    p.setPen(QPen(colour::Gold, 1));
    p.setBrush(red);
    p.drawRoundedRect(seal, 4, 4);
    outlinedText(p, seal.adjusted(2, 2, -2, -2), QStringLiteral("倍"), hei(h * 0.6),
                 colour::GoldLight, QColor(0x3a, 0x04, 0x04), 0.8);
    return image;
}

QImage videoIcon(QSize size, VideoGlyph glyph, bool hover)
{
    QImage image = canvas(size);
    QPainter p(&image);
    prepare(p);
    const QRectF box(0.5, 0.5, size.width() - 1, size.height() - 1);
    QLinearGradient g(box.topLeft(), box.bottomLeft());
    g.setColorAt(0, hover ? QColor(0x7c, 0xc4, 0xff) : QColor(0x5a, 0x6a, 0x80));
    g.setColorAt(1, hover ? QColor(0x1c, 0x6c, 0xc8) : QColor(0x2a, 0x32, 0x40));
    p.setPen(QPen(hover ? colour::GoldLight : QColor(0x14, 0x18, 0x20), 1));
    p.setBrush(g);
    p.drawRoundedRect(box, 2.5, 2.5);
    const double w = size.width(), h = size.height();
    const QColor ink = Qt::white;
    p.setPen(QPen(ink, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    switch (glyph) {
    case VideoGlyph::Close:
        p.drawLine(QPointF(w * 0.3, h * 0.28), QPointF(w * 0.7, h * 0.72));
        p.drawLine(QPointF(w * 0.7, h * 0.28), QPointF(w * 0.3, h * 0.72));
        break;
    case VideoGlyph::PopOut:
        p.drawRect(QRectF(w * 0.2, h * 0.38, w * 0.42, h * 0.4));
        p.drawLine(QPointF(w * 0.48, h * 0.52), QPointF(w * 0.8, h * 0.2));
        p.drawLine(QPointF(w * 0.58, h * 0.2), QPointF(w * 0.8, h * 0.2));
        p.drawLine(QPointF(w * 0.8, h * 0.2), QPointF(w * 0.8, h * 0.42));
        break;
    case VideoGlyph::Photo:
    case VideoGlyph::Camera:
        p.drawRoundedRect(QRectF(w * 0.18, h * 0.32, w * 0.64, h * 0.46), 1, 1);
        p.drawEllipse(QPointF(w * 0.5, h * 0.55), w * 0.13, w * 0.13);
        p.drawLine(QPointF(w * 0.36, h * 0.32), QPointF(w * 0.42, h * 0.22));
        p.drawLine(QPointF(w * 0.42, h * 0.22), QPointF(w * 0.58, h * 0.22));
        p.drawLine(QPointF(w * 0.58, h * 0.22), QPointF(w * 0.64, h * 0.32));
        break;
    case VideoGlyph::Music:
        p.setBrush(ink);
        p.drawEllipse(QPointF(w * 0.38, h * 0.72), w * 0.11, h * 0.1);
        p.drawEllipse(QPointF(w * 0.7, h * 0.64), w * 0.11, h * 0.1);
        p.drawLine(QPointF(w * 0.48, h * 0.72), QPointF(w * 0.48, h * 0.22));
        p.drawLine(QPointF(w * 0.8, h * 0.64), QPointF(w * 0.8, h * 0.16));
        p.drawLine(QPointF(w * 0.48, h * 0.22), QPointF(w * 0.8, h * 0.16));
        break;
    case VideoGlyph::Friend:
        p.drawEllipse(QPointF(w * 0.4, h * 0.36), w * 0.12, h * 0.14);
        p.drawArc(QRectF(w * 0.18, h * 0.52, w * 0.44, h * 0.5), 0, 180 * 16);
        p.drawLine(QPointF(w * 0.76, h * 0.3), QPointF(w * 0.76, h * 0.58));
        p.drawLine(QPointF(w * 0.62, h * 0.44), QPointF(w * 0.9, h * 0.44));
        break;
    case VideoGlyph::Album:
        p.drawRect(QRectF(w * 0.22, h * 0.22, w * 0.56, h * 0.56));
        p.drawLine(QPointF(w * 0.22, h * 0.66), QPointF(w * 0.42, h * 0.46));
        p.drawLine(QPointF(w * 0.42, h * 0.46), QPointF(w * 0.56, h * 0.6));
        p.drawLine(QPointF(w * 0.56, h * 0.6), QPointF(w * 0.78, h * 0.4));
        break;
    case VideoGlyph::Enlarge:
        p.drawLine(QPointF(w * 0.5, h * 0.24), QPointF(w * 0.5, h * 0.76));
        p.drawLine(QPointF(w * 0.24, h * 0.5), QPointF(w * 0.76, h * 0.5));
        break;
    case VideoGlyph::Shrink:
        p.drawLine(QPointF(w * 0.24, h * 0.5), QPointF(w * 0.76, h * 0.5));
        break;
    }
    return image;
}

} // namespace tessaroc::artgen
