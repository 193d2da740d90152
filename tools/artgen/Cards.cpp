#include "Cards.h"

#include "Style.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace tessaroc::artgen {

namespace {

// Cards are drawn on a 92 x 122 design and scaled to the size asked for, so
// the large and the reduced faces are the same picture.
constexpr double kW = 92;
constexpr double kH = 122;

QString rankText(int face)
{
    switch (face) {
    case 11:
        return QStringLiteral("J");
    case 12:
        return QStringLiteral("Q");
    case 13:
        return QStringLiteral("K");
    case 14:
        return QStringLiteral("A");
    case 15:
        return QStringLiteral("2");
    default:
        return QString::number(face);
    }
}

QColor suitColour(int suit)
{
    return isRedSuit(suit) ? colour::CardRed : colour::Ink;
}

void drawBlank(QPainter &p)
{
    const QRectF card(0.5, 0.5, kW - 1, kH - 1);
    QLinearGradient paper(card.topLeft(), card.bottomRight());
    paper.setColorAt(0, QColor(0xff, 0xff, 0xff));
    paper.setColorAt(1, QColor(0xf1, 0xed, 0xe4));
    p.setPen(QPen(QColor(0x6e, 0x6e, 0x6e), 1));
    p.setBrush(paper);
    p.drawRoundedRect(card, 6, 6);
    p.setPen(QPen(QColor(0xd8, 0xd2, 0xc4), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(card.adjusted(2, 2, -2, -2), 4.5, 4.5);
}

void drawSuit(QPainter &p, int suit, const QRectF &box, bool upsideDown = false)
{
    QTransform t;
    if (upsideDown) {
        t.translate(box.center().x(), box.center().y());
        t.rotate(180);
        t.translate(-box.center().x(), -box.center().y());
    }
    t.translate(box.left(), box.top());
    t.scale(box.width(), box.height());
    p.fillPath(t.map(suitShape(suit)), suitColour(suit));
}

// The index in the top-left corner, and turned round in the bottom-right
// one. In the hand only a strip of each card shows, so the index fills the
// corner column.
void drawIndex(QPainter &p, int face, int suit)
{
    for (int corner = 0; corner < 2; ++corner) {
        p.save();
        if (corner == 1) {
            p.translate(kW, kH);
            p.rotate(180);
        }
        const QPainterPath rank
                = fitPath(textPath(rankText(face), latin(40)), QRectF(3.5, 5, 16.5, 21));
        p.fillPath(rank, suitColour(suit));
        drawSuit(p, suit, QRectF(4.5, 29, 14.5, 15));
        p.restore();
    }
}

struct Pip
{
    double x, y;
};

std::vector<Pip> pipLayout(int face)
{
    const double c = 0.5, l = 0.2, r = 0.8;
    const double top = 0.1, bottom = 0.9;
    const double q1 = 0.367, q3 = 0.633;
    switch (face) {
    case 15:
        return {{c, top}, {c, bottom}};
    case 3:
        return {{c, top}, {c, 0.5}, {c, bottom}};
    case 4:
        return {{l, top}, {r, top}, {l, bottom}, {r, bottom}};
    case 5:
        return {{l, top}, {r, top}, {c, 0.5}, {l, bottom}, {r, bottom}};
    case 6:
        return {{l, top}, {r, top}, {l, 0.5}, {r, 0.5}, {l, bottom}, {r, bottom}};
    case 7:
        return {{l, top}, {r, top}, {c, 0.3}, {l, 0.5}, {r, 0.5}, {l, bottom}, {r, bottom}};
    case 8:
        return {{l, top}, {r, top}, {c, 0.3},    {l, 0.5},
                {r, 0.5}, {c, 0.7}, {l, bottom}, {r, bottom}};
    case 9:
        return {{l, top}, {r, top}, {l, q1},     {r, q1},    {c, 0.5},
                {l, q3},  {r, q3},  {l, bottom}, {r, bottom}};
    case 10:
        return {{l, top}, {r, top}, {c, 0.235}, {l, q1},     {r, q1},
                {l, q3},  {r, q3},  {c, 0.765}, {l, bottom}, {r, bottom}};
    default:
        return {};
    }
}

void drawPips(QPainter &p, int face, int suit)
{
    const QRectF field(24, 12, 44, 98);
    const double w = 15, h = 16;
    for (const Pip &pip : pipLayout(face)) {
        const QPointF centre(field.left() + pip.x * field.width(),
                             field.top() + pip.y * field.height());
        drawSuit(p, suit, QRectF(centre.x() - w / 2, centre.y() - h / 2, w, h), pip.y > 0.55);
    }
}

void drawAce(QPainter &p, int suit)
{
    const QRectF box(kW / 2 - 20, kH / 2 - 21, 40, 42);
    if (suit == 3) {
        // The ace of spades carries a gold ring around its pip.
        p.setPen(QPen(colour::GoldDark, 1.6));
        QRadialGradient glow(QPointF(kW / 2, kH / 2), 30);
        glow.setColorAt(0, colour::GoldLight);
        glow.setColorAt(1, QColor(0xfb, 0xea, 0xa8, 0));
        p.setBrush(glow);
        p.drawEllipse(QPointF(kW / 2, kH / 2), 29, 29);
    }
    drawSuit(p, suit, box);
}

QPainterPath crownShape(int face)
{
    QPainterPath p;
    if (face == 13) { // king: five-pointed crown
        p.moveTo(0.0, 1.0);
        p.lineTo(0.0, 0.3);
        p.lineTo(0.2, 0.6);
        p.lineTo(0.3, 0.05);
        p.lineTo(0.5, 0.5);
        p.lineTo(0.7, 0.05);
        p.lineTo(0.8, 0.6);
        p.lineTo(1.0, 0.3);
        p.lineTo(1.0, 1.0);
        p.closeSubpath();
    } else if (face == 12) { // queen: tiara of arches
        p.moveTo(0.0, 1.0);
        p.lineTo(0.05, 0.55);
        p.quadTo(0.25, 0.2, 0.5, 0.15);
        p.quadTo(0.75, 0.2, 0.95, 0.55);
        p.lineTo(1.0, 1.0);
        p.closeSubpath();
        QPainterPath gem;
        gem.addEllipse(QPointF(0.5, 0.08), 0.1, 0.1);
        p = p.united(gem);
    } else { // jack: a plumed cap
        p.moveTo(0.0, 1.0);
        p.quadTo(0.05, 0.45, 0.5, 0.4);
        p.quadTo(0.95, 0.45, 1.0, 1.0);
        p.closeSubpath();
        QPainterPath plume;
        plume.moveTo(0.55, 0.42);
        plume.cubicTo(0.6, 0.0, 0.95, 0.0, 1.0, 0.1);
        plume.cubicTo(0.85, 0.15, 0.75, 0.3, 0.7, 0.45);
        plume.closeSubpath();
        p = p.united(plume);
    }
    return p;
}

// Court cards: a framed panel in the suit's colour with a crown, the letter
// and the suit, mirrored top to bottom as court cards are.
void drawCourt(QPainter &p, int face, int suit)
{
    const QRectF panel(23, 11, 46, 100);
    const QColor ink = suitColour(suit);
    QLinearGradient bg(panel.topLeft(), panel.bottomLeft());
    const QColor tint = isRedSuit(suit) ? QColor(0xfb, 0xe3, 0xe0) : QColor(0xe2, 0xe6, 0xf0);
    bg.setColorAt(0, tint);
    bg.setColorAt(0.5, QColor(0xff, 0xf8, 0xe6));
    bg.setColorAt(1, tint);
    p.setPen(QPen(colour::GoldDark, 1.2));
    p.setBrush(bg);
    p.drawRect(panel);
    p.setPen(QPen(ink, 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawRect(panel.adjusted(2, 2, -2, -2));

    for (int half = 0; half < 2; ++half) {
        p.save();
        if (half == 1) {
            p.translate(kW, kH);
            p.rotate(180);
        }
        QTransform crown;
        crown.translate(33, 16);
        crown.scale(26, 14);
        const QPainterPath crownPath = crown.map(crownShape(face));
        QLinearGradient gold(33, 16, 33, 30);
        gold.setColorAt(0, colour::GoldLight);
        gold.setColorAt(1, colour::GoldDark);
        p.setPen(QPen(QColor(0x6a, 0x4a, 0x10), 0.8));
        p.setBrush(gold);
        p.drawPath(crownPath);
        p.setPen(Qt::NoPen);
        p.fillPath(fitPath(textPath(rankText(face), song(40)), QRectF(31, 31, 22, 25)), ink);
        drawSuit(p, suit, QRectF(53, 33, 11, 12));
        p.restore();
    }
    p.setPen(QPen(colour::GoldDark, 0.8));
    p.drawLine(QPointF(27, kH / 2), QPointF(65, kH / 2));
}

void drawJoker(QPainter &p, bool big)
{
    const QColor ink = big ? colour::CardRed : colour::Ink;
    const QString letters = QStringLiteral("JOKER");
    for (int corner = 0; corner < 2; ++corner) {
        p.save();
        if (corner == 1) {
            p.translate(kW, kH);
            p.rotate(180);
        }
        for (int i = 0; i < letters.size(); ++i) {
            const QRectF box(4, 5 + i * 11.5, 13, 10.5);
            p.fillPath(fitPath(textPath(letters.mid(i, 1), latin(30)), box), ink);
        }
        p.restore();
    }

    const QRectF panel(22, 14, 48, 94);
    QLinearGradient bg(panel.topLeft(), panel.bottomRight());
    if (big) {
        bg.setColorAt(0, QColor(0xff, 0xe0, 0x7a));
        bg.setColorAt(0.5, QColor(0xf2, 0x5c, 0x2a));
        bg.setColorAt(1, QColor(0x9a, 0x0c, 0x1c));
    } else {
        bg.setColorAt(0, QColor(0xf2, 0xf2, 0xf2));
        bg.setColorAt(0.5, QColor(0x9a, 0x9a, 0xa2));
        bg.setColorAt(1, QColor(0x2c, 0x2c, 0x34));
    }
    p.setPen(QPen(big ? colour::GoldDark : QColor(0x22, 0x22, 0x22), 1.2));
    p.setBrush(bg);
    p.drawRoundedRect(panel, 5, 5);

    // A starburst behind a jester's cap with three bells.
    QTransform starT;
    starT.translate(26, 18);
    starT.scale(40, 40);
    p.setPen(Qt::NoPen);
    p.setBrush(big ? QColor(0xff, 0xf4, 0xc0, 220) : QColor(0xff, 0xff, 0xff, 200));
    p.drawPath(starT.map(starShape(0.5)));

    QPainterPath cap;
    cap.moveTo(30, 56);
    cap.cubicTo(30, 44, 34, 36, 28, 30);
    cap.cubicTo(38, 32, 42, 40, 46, 30);
    cap.cubicTo(50, 40, 54, 32, 64, 30);
    cap.cubicTo(58, 36, 62, 44, 62, 56);
    cap.closeSubpath();
    p.setPen(QPen(big ? QColor(0x5a, 0x08, 0x08) : QColor(0x10, 0x10, 0x10), 1));
    p.setBrush(big ? QColor(0xd8, 0x14, 0x2a) : QColor(0x30, 0x30, 0x38));
    p.drawPath(cap);
    p.setBrush(big ? colour::Gold : QColor(0xe0, 0xe0, 0xe0));
    for (const QPointF bell : {QPointF(28, 30), QPointF(46, 30), QPointF(64, 30)})
        p.drawEllipse(bell, 3.2, 3.2);

    const QString name = big ? QStringLiteral("大王") : QStringLiteral("小王");
    outlinedText(p, QRectF(24, 62, 44, 40), name, song(30),
                 big ? QBrush(colour::GoldLight) : QBrush(Qt::white),
                 big ? QColor(0x5a, 0x08, 0x08) : QColor(0x10, 0x10, 0x10), 1.4);
}

QImage render(QSize size, const std::function<void(QPainter &)> &draw)
{
    QImage image = canvas(size);
    QPainter p(&image);
    prepare(p);
    p.scale(size.width() / kW, size.height() / kH);
    draw(p);
    return image;
}

} // namespace

QImage cardFace(int face, int suit, QSize size)
{
    return render(size, [&](QPainter &p) {
        drawBlank(p);
        if (face == 16 || face == 17) {
            drawJoker(p, face == 17);
            return;
        }
        drawIndex(p, face, suit);
        if (face == 14)
            drawAce(p, suit);
        else if (face >= 11 && face <= 13)
            drawCourt(p, face, suit);
        else
            drawPips(p, face, suit);
    });
}

namespace {

// The gold lattice of the card backs: two families of diagonals, `step`
// apart, clipped to the red field.
void drawLattice(QPainter &p, const QRectF &field, const QPen &pen, double step)
{
    p.save();
    p.setClipRect(field);
    p.setPen(pen);
    const double reach = field.width() + field.height();
    for (double d = -reach; d < reach; d += step) {
        p.drawLine(QPointF(field.left() + d, field.top()),
                   QPointF(field.left() + d + field.height(), field.bottom()));
        p.drawLine(QPointF(field.right() - d, field.top()),
                   QPointF(field.right() - d - field.height(), field.bottom()));
    }
    p.restore();
}

// The back: a lacquer-red field with a gold lattice and a lotus medallion
// inside a white margin, on a 78 x 103 design.
void drawBack(QPainter &p)
{
    const QRectF card(0.5, 0.5, 77, 102);
    p.setPen(QPen(QColor(0x6e, 0x6e, 0x6e), 1));
    p.setBrush(QColor(0xfb, 0xf8, 0xf0));
    p.drawRoundedRect(card, 5.5, 5.5);
    const QRectF field = card.adjusted(4, 4, -4, -4);
    QLinearGradient red(field.topLeft(), field.bottomRight());
    red.setColorAt(0, QColor(0xb0, 0x1c, 0x22));
    red.setColorAt(1, QColor(0x6c, 0x08, 0x10));
    p.setPen(Qt::NoPen);
    p.setBrush(red);
    p.drawRoundedRect(field, 3, 3);
    drawLattice(p, field, QPen(QColor(0xe8, 0xc2, 0x5a, 150), 0.7), 7);
    p.setPen(QPen(colour::Gold, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(field.adjusted(2, 2, -2, -2), 2, 2);

    const QPointF c = field.center();
    p.setPen(QPen(colour::GoldDark, 0.8));
    QRadialGradient disc(c, 20);
    disc.setColorAt(0, QColor(0x8a, 0x0a, 0x12));
    disc.setColorAt(1, QColor(0x4a, 0x04, 0x08));
    p.setBrush(disc);
    p.drawEllipse(c, 19, 19);
    for (int i = 0; i < 8; ++i) {
        p.save();
        p.translate(c);
        p.rotate(i * 45);
        QPainterPath petal;
        petal.moveTo(0, -2);
        petal.cubicTo(6, -8, 5, -14, 0, -17);
        petal.cubicTo(-5, -14, -6, -8, 0, -2);
        QLinearGradient g(0, -2, 0, -17);
        g.setColorAt(0, colour::GoldDark);
        g.setColorAt(1, colour::GoldLight);
        p.setBrush(g);
        p.drawPath(petal);
        p.restore();
    }
    p.setBrush(colour::GoldLight);
    p.drawEllipse(c, 3.5, 3.5);
}

} // namespace

QImage cardBack(QSize size)
{
    QImage image = canvas(size);
    QPainter p(&image);
    prepare(p);
    p.scale(size.width() / 78.0, size.height() / 103.0);
    drawBack(p);
    return image;
}

namespace {

// The back as a fan shows it: the same red lattice, but with a hairline of
// white, so that a fan of many cards reads as red cards rather than as a
// stack of white edges.
void drawFanBack(QPainter &p, const QRectF &card)
{
    p.setPen(QPen(QColor(0x50, 0x50, 0x50), 0.6));
    p.setBrush(QColor(0xfb, 0xf8, 0xf0));
    p.drawRoundedRect(card, 3.5, 3.5);
    const QRectF field = card.adjusted(1.6, 1.6, -1.6, -1.6);
    QLinearGradient red(field.topLeft(), field.bottomRight());
    red.setColorAt(0, QColor(0xb8, 0x20, 0x26));
    red.setColorAt(1, QColor(0x74, 0x0a, 0x12));
    p.setPen(Qt::NoPen);
    p.setBrush(red);
    p.drawRoundedRect(field, 2.5, 2.5);
    drawLattice(p, field, QPen(QColor(0xe8, 0xc2, 0x5a, 120), 0.6), 6);
    p.setPen(QPen(colour::Gold, 0.7));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(field.adjusted(1.5, 1.5, -1.5, -1.5), 1.5, 1.5);
    const QPointF c = field.center();
    p.setPen(QPen(colour::GoldDark, 0.6));
    p.setBrush(colour::Gold);
    p.drawEllipse(c, field.width() * 0.18, field.width() * 0.18);
    p.setBrush(colour::LacquerDark);
    p.drawEllipse(c, field.width() * 0.07, field.width() * 0.07);
}

// Lays card backs out around a pivot below their bottom edge, as a hand holds
// them, and scales the whole fan into the picture, so every fan fills its
// picture whatever the card count. direction: the way the cards point, in
// degrees clockwise from up.
QImage layOutFan(QSize size, int cards, double direction)
{
    const QSizeF card(52, 69);
    const double spread = std::min(130.0, 9.0 * (cards - 1));
    std::vector<QTransform> placements;
    QRectF bounds;
    for (int i = 0; i < cards; ++i) {
        const double angle = direction - spread / 2 + spread * i / (cards - 1);
        QTransform t;
        t.rotate(angle);
        t.translate(-card.width() / 2, -card.height() - 26);
        placements.push_back(t);
        bounds |= t.mapRect(QRectF(QPointF(0, 0), card));
    }
    QImage image = canvas(size);
    QPainter p(&image);
    prepare(p);
    const double scale
            = std::min((size.width() - 3) / bounds.width(), (size.height() - 3) / bounds.height());
    p.translate(size.width() / 2.0, size.height() / 2.0);
    p.scale(scale, scale);
    p.translate(-bounds.center());
    for (const QTransform &t : placements) {
        p.save();
        p.setTransform(t, true);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 70));
        p.drawRoundedRect(QRectF(QPointF(-1.2, 1.2), card), 4, 4);
        drawFanBack(p, QRectF(QPointF(0, 0), card));
        p.restore();
    }
    return image;
}

} // namespace

QImage cardFan(FanSeat seat, int cards, QSize size)
{
    if (cards == 1) {
        // A single card lies flat: sideways at the side seats, upright at the
        // top.
        QImage image = canvas(size);
        QPainter p(&image);
        prepare(p);
        const QImage back = cardBack(QSize(78, 103));
        QSizeF card = seat == FanSeat::Top ? QSizeF(78, 103) : QSizeF(103, 78);
        const double scale
                = std::min((size.width() - 4) / card.width(), (size.height() - 4) / card.height());
        card *= scale;
        const QRectF box(
                QPointF((size.width() - card.width()) / 2, (size.height() - card.height()) / 2),
                card);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 70));
        p.drawRoundedRect(box.translated(2, 2), 4, 4);
        if (seat == FanSeat::Top) {
            p.drawImage(box, back);
        } else {
            p.translate(box.center());
            p.rotate(90);
            p.drawImage(QRectF(-box.height() / 2, -box.width() / 2, box.height(), box.width()),
                        back);
        }
        return image;
    }
    // The left player's cards point to the right, the right player's to the
    // left and the top player's down, toward the middle of the table.
    switch (seat) {
    case FanSeat::Left:
        return layOutFan(size, cards, 90);
    case FanSeat::Right:
        return layOutFan(size, cards, 270);
    case FanSeat::Top:
        break;
    }
    return layOutFan(size, cards, 180);
}

QImage dealPile(QSize size, int cards)
{
    QImage image = canvas(size);
    QPainter p(&image);
    prepare(p);
    const QImage back = cardBack(QSize(78, 103));
    const double step = 1.3;
    const QSizeF card(size.width() - 2 - step * (cards - 1) * 0.4,
                      size.height() - 2 - step * (cards - 1));
    for (int i = 0; i < cards; ++i) {
        const QRectF box(1 + i * step * 0.4, 1 + (cards - 1 - i) * step, card.width(),
                         card.height());
        p.setPen(QPen(QColor(0x50, 0x50, 0x50), 0.8));
        p.setBrush(QColor(0xf4, 0xf0, 0xe6));
        p.drawRoundedRect(box, 5, 5);
        if (i == cards - 1)
            p.drawImage(box, back);
    }
    return image;
}

} // namespace tessaroc::artgen
