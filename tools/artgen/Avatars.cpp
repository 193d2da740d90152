#include "Pictures.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <array>
#include <cmath>

namespace tessaroc::artgen {

namespace {

// Every face is drawn on an 85 x 90 design and scaled to the picture.
constexpr double kW = 85;
constexpr double kH = 90;

struct Look
{
    QColor background;
    QColor skin;
    QColor hair;
    QColor shirt;
    int hairStyle;
    bool glasses;
    bool beard;
};

const std::array<QColor, 4> kSkins = {QColor(0xf6, 0xd5, 0xb8), QColor(0xf0, 0xc8, 0xa0),
                                      QColor(0xe2, 0xb0, 0x86), QColor(0xc8, 0x94, 0x6a)};

Look lookFor(bool woman, int k)
{
    static const std::array<QColor, 10> backgrounds
            = {QColor(0x4a, 0x8c, 0xc8), QColor(0x58, 0xa8, 0x6a), QColor(0xc8, 0x7a, 0x3a),
               QColor(0x8a, 0x5a, 0xb0), QColor(0x3a, 0x9a, 0xa0), QColor(0xc0, 0x4a, 0x5a),
               QColor(0x6a, 0x7a, 0x8a), QColor(0xb0, 0x9a, 0x3a), QColor(0x4a, 0x5a, 0xb8),
               QColor(0x9a, 0x6a, 0x4a)};
    static const std::array<QColor, 10> hairs
            = {QColor(0x1a, 0x14, 0x10), QColor(0x3a, 0x24, 0x14), QColor(0x22, 0x18, 0x12),
               QColor(0x5a, 0x34, 0x1a), QColor(0x14, 0x10, 0x0e), QColor(0x7a, 0x3a, 0x1a),
               QColor(0x2a, 0x1e, 0x16), QColor(0x9a, 0x9a, 0x9a), QColor(0x4a, 0x2c, 0x18),
               QColor(0x1e, 0x16, 0x12)};
    static const std::array<QColor, 10> shirts
            = {QColor(0xd8, 0x3a, 0x2a), QColor(0x2a, 0x5a, 0xa8), QColor(0xf0, 0xf0, 0xf0),
               QColor(0x2a, 0x8a, 0x4a), QColor(0xe8, 0xb0, 0x2a), QColor(0x3a, 0x3a, 0x44),
               QColor(0xa8, 0x2a, 0x7a), QColor(0x1a, 0x6a, 0x8a), QColor(0xf0, 0x7a, 0x3a),
               QColor(0x6a, 0x3a, 0x9a)};
    const int bgIndex = woman ? (k * 3 + 5) % 10 : k;
    Look look{backgrounds[static_cast<std::size_t>(bgIndex)],
              kSkins[static_cast<std::size_t>((k * 3 + (woman ? 1 : 0)) % 4)],
              hairs[static_cast<std::size_t>(woman ? (k * 7 + 3) % 10 : k)],
              shirts[static_cast<std::size_t>(woman ? (k * 7 + 6) % 10 : (k * 3 + 1) % 10)],
              k,
              false,
              false};
    if (!woman) {
        look.glasses = k == 5 || k == 7;
        look.beard = k == 3 || k == 8;
        if (k == 3)
            look.hair = QColor(0x9a, 0x9a, 0x9a);
    } else {
        look.glasses = k == 8;
        if (k == 8)
            look.hair = QColor(0xa8, 0xa8, 0xa8);
    }
    return look;
}

const QPointF kHead(42.5, 42);
const double kHeadRx = 18.5;
const double kHeadRy = 22;

void drawHairBack(QPainter &p, const Look &look, bool woman)
{
    p.setPen(Qt::NoPen);
    p.setBrush(look.hair);
    if (!woman) {
        if (look.hairStyle == 6)
            p.drawRoundedRect(QRectF(22, 22, 41, 40), 14, 14);
        return;
    }
    switch (look.hairStyle) {
    case 0:
    case 5:
    case 7: { // long hair down to the shoulders
        QPainterPath back;
        back.moveTo(20, 40);
        back.cubicTo(18, 14, 67, 14, 65, 40);
        back.cubicTo(66, 58, 70, 70, 68, 78);
        back.lineTo(17, 78);
        back.cubicTo(15, 70, 19, 58, 20, 40);
        if (look.hairStyle == 5) {
            back.addEllipse(QPointF(19, 66), 6, 9);
            back.addEllipse(QPointF(66, 66), 6, 9);
        }
        p.drawPath(back);
        break;
    }
    case 1: // bob
        p.drawRoundedRect(QRectF(19, 20, 47, 44), 18, 18);
        break;
    case 2: // ponytail
        p.drawEllipse(QPointF(64, 36), 8, 14);
        break;
    case 3:
    case 8: // bun
        p.drawEllipse(QPointF(42.5, 15), 10, 8);
        break;
    case 4: // twin tails
        p.drawEllipse(QPointF(18, 50), 7, 15);
        p.drawEllipse(QPointF(67, 50), 7, 15);
        break;
    case 9: { // braid over the shoulder
        for (int i = 0; i < 4; ++i)
            p.drawEllipse(QPointF(62 + i * 1.5, 50 + i * 8), 5.5, 5);
        break;
    }
    default:
        p.drawRoundedRect(QRectF(21, 22, 43, 36), 14, 14);
        break;
    }
}

void drawBody(QPainter &p, const Look &look, bool woman)
{
    // Shoulders and shirt, then the neck.
    QPainterPath shoulders;
    shoulders.moveTo(8, kH);
    shoulders.cubicTo(10, 70, 24, 64, 42.5, 64);
    shoulders.cubicTo(61, 64, 75, 70, 77, kH);
    shoulders.closeSubpath();
    QLinearGradient shirt(0, 64, 0, kH);
    shirt.setColorAt(0, look.shirt.lighter(115));
    shirt.setColorAt(1, look.shirt.darker(125));
    p.setPen(QPen(look.shirt.darker(160), 0.8));
    p.setBrush(shirt);
    p.drawPath(shoulders);
    p.setPen(Qt::NoPen);
    p.setBrush(look.skin.darker(108));
    p.drawRect(QRectF(36, 58, 13, 9));
    QPainterPath collar;
    collar.moveTo(34, 65);
    collar.lineTo(42.5, 74);
    collar.lineTo(51, 65);
    collar.closeSubpath();
    p.setBrush(woman ? look.skin.darker(104) : QColor(0xf4, 0xf4, 0xf4));
    p.drawPath(collar);
    if (!woman && look.hairStyle % 3 == 0) {
        // A tie for some of the men.
        QPainterPath tie;
        tie.moveTo(41, 69);
        tie.lineTo(44, 69);
        tie.lineTo(46, 86);
        tie.lineTo(42.5, 90);
        tie.lineTo(39, 86);
        tie.closeSubpath();
        p.setBrush(look.background.darker(160));
        p.drawPath(tie);
    }
}

void drawFace(QPainter &p, const Look &look, bool woman)
{
    p.setPen(QPen(look.skin.darker(135), 0.8));
    p.setBrush(look.skin);
    p.drawEllipse(QPointF(kHead.x() - kHeadRx, kHead.y() + 2), 3.5, 5);
    p.drawEllipse(QPointF(kHead.x() + kHeadRx, kHead.y() + 2), 3.5, 5);
    QRadialGradient face(kHead - QPointF(5, 7), kHeadRy * 1.3);
    face.setColorAt(0, look.skin.lighter(108));
    face.setColorAt(1, look.skin.darker(106));
    p.setBrush(face);
    p.drawEllipse(kHead, kHeadRx, kHeadRy);

    // Eyes, brows, cheeks and a smile.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x22, 0x18, 0x12));
    const double eyeY = kHead.y() + 1;
    p.drawEllipse(QPointF(35, eyeY), 2.2, woman ? 2.8 : 2.4);
    p.drawEllipse(QPointF(50, eyeY), 2.2, woman ? 2.8 : 2.4);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(35.7, eyeY - 0.9), 0.7, 0.7);
    p.drawEllipse(QPointF(50.7, eyeY - 0.9), 0.7, 0.7);
    p.setPen(QPen(look.hair.darker(110), woman ? 1.0 : 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(31.5, eyeY - 5.5), QPointF(38, eyeY - 6.2));
    p.drawLine(QPointF(47, eyeY - 6.2), QPointF(53.5, eyeY - 5.5));
    if (woman) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xf0, 0x80, 0x80, 90));
        p.drawEllipse(QPointF(31, eyeY + 7), 4, 2.5);
        p.drawEllipse(QPointF(54, eyeY + 7), 4, 2.5);
    }
    p.setPen(QPen(QColor(0x8a, 0x3a, 0x2a), 1.3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath smile;
    smile.moveTo(37, eyeY + 11);
    smile.quadTo(42.5, eyeY + 15.5, 48, eyeY + 11);
    p.drawPath(smile);
    if (woman) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xd8, 0x3a, 0x4a, 140));
        p.drawEllipse(QPointF(42.5, eyeY + 12.5), 3, 1.3);
    }
    if (look.beard) {
        QPainterPath beard;
        beard.moveTo(kHead.x() - kHeadRx + 2, kHead.y() + 4);
        beard.cubicTo(26, 62, 59, 62, kHead.x() + kHeadRx - 2, kHead.y() + 4);
        beard.cubicTo(56, 56, 50, 53, 42.5, 55);
        beard.cubicTo(35, 53, 29, 56, kHead.x() - kHeadRx + 2, kHead.y() + 4);
        p.setPen(Qt::NoPen);
        p.setBrush(look.hair);
        p.drawPath(beard);
        p.setPen(QPen(QColor(0x8a, 0x3a, 0x2a), 1.3, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(smile);
    }
    if (look.glasses) {
        p.setPen(QPen(QColor(0x20, 0x20, 0x24), 1.3));
        p.setBrush(QColor(0xc0, 0xe0, 0xff, 60));
        p.drawEllipse(QPointF(35, eyeY), 5.5, 4.5);
        p.drawEllipse(QPointF(50, eyeY), 5.5, 4.5);
        p.drawLine(QPointF(40.5, eyeY), QPointF(44.5, eyeY));
    }
}

void drawHairFront(QPainter &p, const Look &look, bool woman)
{
    p.setPen(Qt::NoPen);
    QLinearGradient g(0, 16, 0, 40);
    g.setColorAt(0, look.hair.lighter(130));
    g.setColorAt(1, look.hair);
    p.setBrush(g);
    QPainterPath hair;
    const int s = look.hairStyle;
    if (!woman) {
        switch (s) {
        case 2: // spikes
            hair.moveTo(23, 38);
            for (int i = 0; i <= 8; ++i)
                hair.lineTo(24 + i * 4.6, (i % 2 == 0) ? 14 : 22);
            hair.lineTo(62, 38);
            hair.cubicTo(58, 28, 28, 28, 23, 38);
            break;
        case 3: // thinning grey
            hair.moveTo(23, 40);
            hair.cubicTo(22, 28, 28, 24, 32, 26);
            hair.lineTo(30, 36);
            hair.closeSubpath();
            hair.moveTo(62, 40);
            hair.cubicTo(63, 28, 57, 24, 53, 26);
            hair.lineTo(55, 36);
            hair.closeSubpath();
            break;
        case 4: { // cap
            QPainterPath cap;
            cap.moveTo(22, 33);
            cap.cubicTo(22, 12, 63, 12, 63, 33);
            cap.closeSubpath();
            cap.addRoundedRect(QRectF(20, 29, 50, 6), 3, 3);
            p.setBrush(look.shirt.darker(115));
            p.drawPath(cap);
            return;
        }
        case 9: { // straw hat
            p.setBrush(QColor(0xe8, 0xc8, 0x70));
            p.drawEllipse(QPointF(42.5, 27), 30, 6);
            p.drawRoundedRect(QRectF(27, 10, 31, 18), 8, 8);
            p.setBrush(QColor(0xb0, 0x2a, 0x2a));
            p.drawRect(QRectF(27, 22, 31, 4));
            return;
        }
        case 1: // side part
            hair.moveTo(23, 40);
            hair.cubicTo(20, 14, 66, 12, 63, 38);
            hair.cubicTo(56, 30, 44, 26, 40, 22);
            hair.cubicTo(36, 28, 28, 30, 23, 40);
            break;
        default: // short crop
            hair.moveTo(23, 38);
            hair.cubicTo(21, 14, 64, 14, 62, 38);
            hair.cubicTo(56, 27, 29, 27, 23, 38);
            break;
        }
    } else {
        switch (s) {
        case 1: // bob with straight fringe
            hair.moveTo(24, 36);
            hair.cubicTo(22, 14, 63, 14, 61, 36);
            hair.lineTo(24, 36);
            break;
        case 6: // short hair with a flower
            hair.moveTo(23, 42);
            hair.cubicTo(19, 14, 66, 14, 62, 42);
            hair.cubicTo(58, 28, 40, 22, 23, 42);
            p.drawPath(hair);
            p.setBrush(QColor(0xf0, 0x5a, 0x8a));
            for (int i = 0; i < 5; ++i) {
                const double a = i * 72 * 3.14159 / 180;
                p.drawEllipse(QPointF(58 + 3.5 * std::cos(a), 24 + 3.5 * std::sin(a)), 2.6, 2.6);
            }
            p.setBrush(colour::GoldLight);
            p.drawEllipse(QPointF(58, 24), 1.8, 1.8);
            return;
        default: // parted fringe
            hair.moveTo(23, 44);
            hair.cubicTo(20, 12, 65, 12, 62, 44);
            hair.cubicTo(60, 32, 50, 26, 42.5, 24);
            hair.cubicTo(35, 26, 25, 32, 23, 44);
            break;
        }
        if (s == 7) {
            // A bow on top.
            p.drawPath(hair);
            p.setBrush(QColor(0xe8, 0x2a, 0x4a));
            QPainterPath bow;
            bow.moveTo(42.5, 18);
            bow.lineTo(33, 12);
            bow.lineTo(33, 24);
            bow.closeSubpath();
            bow.moveTo(42.5, 18);
            bow.lineTo(52, 12);
            bow.lineTo(52, 24);
            bow.closeSubpath();
            p.drawPath(bow);
            p.drawEllipse(QPointF(42.5, 18), 2.5, 2.5);
            return;
        }
    }
    p.drawPath(hair);
}

} // namespace

QImage avatar(QSize size, bool woman, int variant)
{
    const Look look = lookFor(woman, variant);
    QImage image = canvas(size);
    QPainter p(&image);
    prepare(p);
    p.scale(size.width() / kW, size.height() / kH);
    const QRectF frame(0.5, 0.5, kW - 1, kH - 1);
    QRadialGradient bg(QPointF(kW / 2, kH * 0.35), kW * 0.8);
    bg.setColorAt(0, look.background.lighter(140));
    bg.setColorAt(1, look.background.darker(130));
    p.setPen(Qt::NoPen);
    p.setBrush(bg);
    p.drawRoundedRect(frame, 8, 8);
    p.save();
    QPainterPath clip;
    clip.addRoundedRect(frame, 8, 8);
    p.setClipPath(clip);
    drawHairBack(p, look, woman);
    drawBody(p, look, woman);
    drawFace(p, look, woman);
    drawHairFront(p, look, woman);
    p.restore();
    drawGoldRim(p, frame, 8, 2);
    return image;
}

} // namespace tessaroc::artgen
