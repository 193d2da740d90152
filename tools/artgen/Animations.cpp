#include "Pictures.h"

#include "Cards.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <cmath>
#include <numbers>
#include <random>

namespace tessaroc::artgen {

namespace {

constexpr double kPi = std::numbers::pi;

double easeOut(double t)
{
    return 1 - (1 - t) * (1 - t);
}

QColor withAlpha(QColor c, double alpha)
{
    c.setAlphaF(static_cast<float>(std::clamp(alpha, 0.0, 1.0)));
    return c;
}

// Radiating rays around a centre, turned by an angle (degrees). The rays are
// solid: a GIF keeps a pixel or drops it, so soft fades would vanish.
void drawRays(QPainter &p, QPointF centre, double radius, int count, double turn, QColor light,
              QColor dark)
{
    p.save();
    p.translate(centre);
    p.rotate(turn);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const double a = i * 2 * kPi / count;
        const double w = kPi / count * 0.5;
        QPainterPath ray;
        ray.moveTo(0, 0);
        ray.lineTo(radius * std::cos(a - w), radius * std::sin(a - w));
        ray.quadTo(radius * 1.04 * std::cos(a), radius * 1.04 * std::sin(a),
                   radius * std::cos(a + w), radius * std::sin(a + w));
        ray.closeSubpath();
        QLinearGradient g(QPointF(0, 0), QPointF(radius * std::cos(a), radius * std::sin(a)));
        g.setColorAt(0, light);
        g.setColorAt(1, dark);
        p.setBrush(g);
        p.drawPath(ray);
    }
    p.restore();
}

// A lumpy round shape: a circle whose radius swells and dips around it, for
// flames and smoke.
QPainterPath lobes(QPointF centre, double radius, int bumps, double depth, double phase)
{
    QPainterPath path;
    const int steps = 72;
    for (int i = 0; i <= steps; ++i) {
        const double a = i * 2 * kPi / steps;
        const double r = radius
                * (1 + depth * std::sin(bumps * a + phase)
                   + depth * 0.5 * std::sin((bumps + 3) * a - phase * 1.7));
        const QPointF pt = centre + QPointF(r * std::cos(a), r * std::sin(a));
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    return path;
}

void drawSparkle(QPainter &p, QPointF centre, double size, QColor colour)
{
    QPainterPath s;
    s.moveTo(centre.x(), centre.y() - size);
    s.quadTo(centre.x(), centre.y(), centre.x() + size, centre.y());
    s.quadTo(centre.x(), centre.y(), centre.x(), centre.y() + size);
    s.quadTo(centre.x(), centre.y(), centre.x() - size, centre.y());
    s.quadTo(centre.x(), centre.y(), centre.x(), centre.y() - size);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(s);
}

} // namespace

// The turn clock: an alarm clock whose bells shake. The seconds are a label
// laid over the face at (26, 26), so the face stays plain and light.
Art turnClock(QSize size)
{
    Art art;
    art.loops = 0;
    const int frames = 8;
    const QPointF face(38, 37);
    const double r = 18.5;
    for (int k = 0; k < frames; ++k) {
        QImage image = canvas(size);
        QPainter p(&image);
        prepare(p);
        const double shake = std::sin(k * 2 * kPi / frames) * 2.2;
        // Legs.
        p.setPen(QPen(colour::WoodDark, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(face + QPointF(-12, 14), face + QPointF(-16, 19.5));
        p.drawLine(face + QPointF(12, 14), face + QPointF(16, 19.5));
        // Bells and the hammer between them.
        for (int side = -1; side <= 1; side += 2) {
            const QPointF bell = face + QPointF(side * 13 + (side < 0 ? shake : -shake), -17);
            QRadialGradient g(bell - QPointF(2, 2), 9);
            g.setColorAt(0, colour::GoldLight);
            g.setColorAt(1, colour::GoldDark);
            p.setPen(QPen(QColor(0x5a, 0x3a, 0x08), 1));
            p.setBrush(g);
            p.drawChord(QRectF(bell.x() - 8, bell.y() - 7, 16, 14), 0, 180 * 16);
        }
        p.setPen(QPen(QColor(0x5a, 0x3a, 0x08), 1.6, Qt::SolidLine, Qt::RoundCap));
        const QPointF hammer = face + QPointF(shake * 2.5, -24);
        p.drawLine(face + QPointF(0, -r), hammer);
        p.setBrush(colour::Gold);
        p.drawEllipse(hammer, 2.4, 2.4);
        // Ringing strokes on the side the hammer strikes.
        if (k % 4 == 1 || k % 4 == 3) {
            const int side = k % 4 == 1 ? 1 : -1;
            p.setPen(QPen(colour::GoldLight, 1.3, Qt::SolidLine, Qt::RoundCap));
            for (int i = 0; i < 3; ++i) {
                const double a = (-60 - i * 20) * kPi / 180;
                const QPointF base = face + QPointF(side * 20, -22);
                p.drawLine(base + QPointF(side * 3 * std::cos(a), 3 * std::sin(a)),
                           base + QPointF(side * 8 * std::cos(a), 8 * std::sin(a)));
            }
        }
        // The case and the face.
        QRadialGradient body(face - QPointF(5, 6), r + 6);
        body.setColorAt(0, QColor(0xf2, 0x5a, 0x3a));
        body.setColorAt(1, QColor(0x9a, 0x14, 0x0c));
        p.setPen(QPen(QColor(0x4a, 0x08, 0x04), 1.2));
        p.setBrush(body);
        p.drawEllipse(face, r + 3.5, r + 3.5);
        QRadialGradient dial(face - QPointF(4, 5), r);
        dial.setColorAt(0, Qt::white);
        dial.setColorAt(1, QColor(0xf0, 0xe8, 0xd0));
        p.setPen(QPen(colour::GoldDark, 1));
        p.setBrush(dial);
        p.drawEllipse(face, r, r);
        p.setPen(QPen(QColor(0x60, 0x60, 0x60), 1.1, Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i < 12; ++i) {
            const double a = i * kPi / 6;
            const double inner = i % 3 == 0 ? r - 4.5 : r - 3;
            p.drawLine(face + QPointF(inner * std::cos(a), inner * std::sin(a)),
                       face + QPointF((r - 1.5) * std::cos(a), (r - 1.5) * std::sin(a)));
        }
        art.frames.push_back({image, 110});
    }
    return art;
}

// An explosion over the table for a bomb of five or six: a white star of a
// flash, a fireball of flame lobes with sparks and flying debris, then puffs
// of smoke that shrink away. Drawn in solid colours, as a GIF keeps them.
// Played once.
Art explosion(QSize size, int variant)
{
    Art art;
    art.loops = 1;
    const int frames = 14;
    const QPointF c(size.width() / 2.0, size.height() / 2.0);
    const double full = std::min(size.width(), size.height()) / 2.0 - 4;
    std::mt19937 rng(variant == 0 ? 41u : 97u);
    std::uniform_real_distribution<double> u(0, 1);
    struct Spark
    {
        double a, v;
    };
    std::vector<Spark> sparks;
    for (int i = 0; i < (variant == 0 ? 16 : 26); ++i)
        sparks.push_back({u(rng) * 2 * kPi, 0.6 + 0.4 * u(rng)});
    struct Puff
    {
        QPointF dir;
        double size, phase;
    };
    std::vector<Puff> puffs;
    for (int i = 0; i < 7; ++i) {
        const double a = i * 2 * kPi / 7 + u(rng) * 0.5;
        puffs.push_back({QPointF(std::cos(a), std::sin(a)), 0.7 + 0.5 * u(rng), u(rng) * 6});
    }
    const QColor red = variant == 0 ? QColor(0xd8, 0x26, 0x10) : QColor(0xc0, 0x1a, 0x3a);
    const QColor orange = variant == 0 ? QColor(0xff, 0x8a, 0x12) : QColor(0xff, 0x6a, 0x2a);
    const QColor yellow = QColor(0xff, 0xd8, 0x3a);
    const QColor white = QColor(0xff, 0xfa, 0xe0);
    for (int k = 0; k < frames; ++k) {
        const double t = k / double(frames - 1);
        QImage image = canvas(size);
        QPainter p(&image);
        prepare(p);
        p.setPen(Qt::NoPen);
        // Smoke: puffs that swell out from the fireball, then shrink.
        if (t > 0.35) {
            const double s = (t - 0.35) / 0.65;
            const double grow = s < 0.5 ? s / 0.5 : 1 - (s - 0.5) / 0.5 * 0.85;
            for (const Puff &puff : puffs) {
                const QPointF at
                        = c + puff.dir * full * (0.35 + 0.4 * s) - QPointF(0, full * 0.2 * s);
                const double rr = full * 0.26 * puff.size * grow;
                if (rr < 2)
                    continue;
                p.setBrush(QColor(0x4a, 0x44, 0x42));
                p.drawPath(lobes(at + QPointF(2, 3), rr, 5, 0.08, puff.phase));
                p.setBrush(QColor(0x82, 0x7a, 0x74));
                p.drawPath(lobes(at, rr, 5, 0.08, puff.phase));
                p.setBrush(QColor(0xa8, 0xa0, 0x98));
                p.drawEllipse(at - QPointF(rr * 0.3, rr * 0.3), rr * 0.35, rr * 0.3);
            }
        }
        // The fireball: red, orange and yellow lobes, a white heart early on.
        const double fire = t < 0.25 ? t / 0.25
                : t < 0.6            ? 1.0
                                     : std::max(0.0, 1 - (t - 0.6) / 0.3);
        if (fire > 0.02) {
            const double rr = full * 0.72 * easeOut(std::min(1.0, t / 0.35)) * (0.4 + 0.6 * fire);
            const double phase = k * 0.9;
            p.setBrush(red);
            p.drawPath(lobes(c, rr, 9, 0.12, phase));
            p.setBrush(orange);
            p.drawPath(lobes(c, rr * 0.76, 7, 0.12, -phase));
            p.setBrush(yellow);
            p.drawPath(lobes(c, rr * 0.5, 6, 0.14, phase * 1.3));
            if (t < 0.4) {
                p.setBrush(white);
                p.drawPath(lobes(c, rr * 0.26, 5, 0.15, phase));
            }
        }
        // The first two frames: a white star of a flash.
        if (k < 2) {
            QTransform star;
            const double r = full * (k == 0 ? 0.55 : 0.85);
            star.translate(c.x() - r, c.y() - r * 1.04);
            star.scale(2 * r, 2 * r);
            p.setBrush(k == 0 ? white : yellow);
            p.drawPath(star.map(starShape(0.3)));
            if (variant == 1) {
                QTransform turned = star;
                turned.translate(0.5, 0.52);
                turned.rotate(36);
                turned.translate(-0.5, -0.52);
                p.drawPath(turned.map(starShape(0.3)));
            }
        }
        // A ring of blast for the second kind.
        if (variant == 1 && t > 0.1 && t < 0.6) {
            const double s = (t - 0.1) / 0.5;
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(yellow, 9 * (1 - s) + 1.5));
            p.drawEllipse(c, full * (0.35 + 0.6 * s), full * (0.35 + 0.6 * s));
            p.setPen(Qt::NoPen);
        }
        // Sparks and debris flying out.
        if (t > 0.05 && t < 0.8) {
            const double s = (t - 0.05) / 0.75;
            for (std::size_t i = 0; i < sparks.size(); ++i) {
                const QPointF dir(std::cos(sparks[i].a), std::sin(sparks[i].a));
                const double d = full * (0.3 + 0.68 * sparks[i].v * easeOut(s));
                const QPointF at = c + dir * d;
                if (i % 3 == 0) {
                    p.save();
                    p.translate(at);
                    p.rotate(k * 40.0 + i * 17);
                    p.setBrush(QColor(0x3a, 0x24, 0x18));
                    p.drawPolygon(QPolygonF(
                            {QPointF(-4, -3), QPointF(4, -2), QPointF(2, 4), QPointF(-3, 3)}));
                    p.restore();
                } else {
                    p.setPen(QPen(i % 2 ? yellow : white, 3 * (1 - s) + 1, Qt::SolidLine,
                                  Qt::RoundCap));
                    p.drawLine(at - dir * full * 0.12 * (1 - s), at);
                    p.setPen(Qt::NoPen);
                }
            }
        }
        art.frames.push_back({image, k < 2 ? 50 : 70});
    }
    return art;
}

// The explosion for a bomb of seven or eight: a fireball that climbs into a
// cloud on a column of fire, with the word of the bomb burnt into it, then
// smoke that shrinks away. Played once.
Art bigExplosion(QSize size)
{
    Art art;
    art.loops = 1;
    const int frames = 16;
    const QPointF base(size.width() / 2.0, size.height() * 0.84);
    const double full = std::min(size.width(), size.height()) / 2.0;
    const QColor red(0xd0, 0x24, 0x0c), orange(0xff, 0x86, 0x14), yellow(0xff, 0xd4, 0x3a),
            white(0xff, 0xf8, 0xd8), smoke(0x7a, 0x70, 0x6a), smokeDark(0x44, 0x3e, 0x3a);
    for (int k = 0; k < frames; ++k) {
        const double t = k / double(frames - 1);
        QImage image = canvas(size);
        QPainter p(&image);
        prepare(p);
        p.setPen(Qt::NoPen);
        const double rise = easeOut(std::min(1.0, t / 0.5));
        const double burn = t < 0.65 ? 1.0 : std::max(0.0, 1 - (t - 0.65) / 0.25);
        const double cloudY = base.y() - full * 1.15 * rise;
        const double cap = full * (0.3 + 0.35 * rise);
        const QColor outer = burn > 0.5 ? red : smokeDark;
        const QColor inner = burn > 0.5 ? orange : smoke;
        // The ground blast.
        p.setBrush(outer);
        p.drawPath(lobes(base, full * (0.25 + 0.55 * rise), 11, 0.1, k).translated(0, 0));
        p.setBrush(inner);
        p.drawEllipse(base, full * (0.2 + 0.5 * rise), full * (0.08 + 0.1 * rise));
        // The column.
        if (t < 0.9) {
            const double w = full * 0.13 * (burn > 0.5 ? 1.0 : 0.6 + 0.4 * burn);
            QPainterPath stem;
            stem.moveTo(base.x() - w * 1.6, base.y());
            stem.cubicTo(base.x() - w * 0.5, base.y() - full * 0.3, base.x() - w,
                         cloudY + cap * 0.4, base.x() - w * 0.9, cloudY);
            stem.lineTo(base.x() + w * 0.9, cloudY);
            stem.cubicTo(base.x() + w, cloudY + cap * 0.4, base.x() + w * 0.5,
                         base.y() - full * 0.3, base.x() + w * 1.6, base.y());
            stem.closeSubpath();
            p.setBrush(outer);
            p.drawPath(stem);
            p.setBrush(burn > 0.5 ? yellow : smoke.lighter(120));
            p.drawPath(QTransform()
                               .translate(base.x(), 0)
                               .scale(0.45, 1)
                               .translate(-base.x(), 0)
                               .map(stem));
        }
        // The cloud.
        const QPointF cloud(base.x(), cloudY);
        p.setBrush(outer);
        p.drawPath(lobes(cloud, cap, 8, 0.1, k * 0.6));
        p.setBrush(inner);
        p.drawPath(lobes(cloud - QPointF(0, cap * 0.1), cap * 0.74, 7, 0.1, -k * 0.6));
        if (burn > 0.5) {
            p.setBrush(yellow);
            p.drawPath(lobes(cloud - QPointF(0, cap * 0.15), cap * 0.45, 6, 0.12, k));
            if (t < 0.3) {
                p.setBrush(white);
                p.drawEllipse(cloud, cap * 0.25, cap * 0.25);
            }
        }
        if (t > 0.25 && t < 0.8) {
            const double shake = (k % 2 ? 1.5 : -1.5);
            outlinedText(p,
                         QRectF(cloud.x() - cap * 0.8 + shake, cloud.y() - cap * 0.45, cap * 1.6,
                                cap * 0.8),
                         QStringLiteral("炸弹"), hei(56), white, QColor(0x7a, 0x08, 0x02), 2.5);
        }
        art.frames.push_back({image, 75});
    }
    return art;
}

// The four jokers: four small jokers fly in from the corners, meet in a
// golden burst and the word of the play blazes out. Played once.
Art fourJokers(QSize size)
{
    Art art;
    art.loops = 1;
    const int frames = 16;
    const QPointF c(size.width() / 2.0, size.height() / 2.0);
    const QImage small = cardFace(16, 0, QSize(46, 61));
    const QImage big = cardFace(17, 0, QSize(46, 61));
    const QPointF corners[] = {{26, 32},
                               {size.width() - 26.0, 32},
                               {26, size.height() - 32.0},
                               {size.width() - 26.0, size.height() - 32.0}};
    for (int k = 0; k < frames; ++k) {
        const double t = k / double(frames - 1);
        QImage image = canvas(size);
        QPainter p(&image);
        prepare(p);
        const double burst = t < 0.4 ? 0 : std::min(1.0, (t - 0.4) / 0.2);
        const double fade = t < 0.8 ? 1 : 1 - (t - 0.8) / 0.2;
        if (burst > 0) {
            const double r = size.width() * 0.5 * burst * (0.3 + 0.7 * fade);
            drawRays(p, c, r, 16, k * 7, colour::GoldLight, QColor(0xff, 0xa8, 0x20));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0xff, 0xf6, 0xc8));
            p.drawEllipse(c, r * 0.45, r * 0.45);
        }
        // The cards: in flight until they meet, then spread in a fan.
        const double fly = easeOut(std::min(1.0, t / 0.4));
        for (int i = 0; i < 4; ++i) {
            p.save();
            QPointF at;
            double turn;
            if (t < 0.4) {
                at = corners[i] + (c - corners[i]) * fly;
                turn = (1 - fly) * 360 * (i % 2 ? 1 : -1);
            } else {
                at = c + QPointF(0, 18);
                turn = -36 + i * 24;
            }
            p.translate(at);
            p.rotate(turn);
            if (t >= 0.4)
                p.translate(0, -28);
            if (fade > 0.5)
                p.drawImage(QPointF(-23, -30.5), i < 2 ? small : big);
            p.restore();
        }
        if (t >= 0.5 && fade > 0.3) {
            const double grow = std::min(1.0, (t - 0.5) / 0.15) * (0.4 + 0.6 * fade);
            outlinedText(p,
                         QRectF(c.x() - 90 * grow, size.height() * 0.66, 180 * grow,
                                size.height() * 0.26),
                         QStringLiteral("四王炸"), hei(44), QColor(0xff, 0xe2, 0x40),
                         QColor(0x8a, 0x08, 0x04), 3);
            for (int s = 0; s < 6; ++s) {
                const double a = s * kPi / 3 + k * 0.4;
                drawSparkle(p, c + QPointF(std::cos(a), std::sin(a)) * 80.0, 6 + 3 * (k % 3),
                            Qt::white);
            }
        }
        art.frames.push_back({image, 80});
    }
    return art;
}

// The badge at the landlord's seat at the end of a hand: a medal on a ribbon
// saying whether the landlord won or lost, with turning rays behind it.
Art handEndBadge(QSize size, bool landlordWon)
{
    Art art;
    art.loops = 0;
    const int frames = 10;
    const QPointF medal(size.width() / 2.0, size.height() * 0.4);
    const QColor rayLight = landlordWon ? QColor(0xff, 0xf0, 0xa0) : QColor(0xd8, 0xe2, 0xf0);
    const QColor rayDark = landlordWon ? QColor(0xf0, 0xa8, 0x20) : QColor(0x70, 0x84, 0xa8);
    for (int k = 0; k < frames; ++k) {
        QImage image = canvas(size);
        QPainter p(&image);
        prepare(p);
        drawRays(p, medal, size.height() * 0.5, 14, k * (360.0 / 14 / frames), rayLight, rayDark);
        // The medal.
        QRadialGradient disc(medal - QPointF(12, 14), 60);
        if (landlordWon) {
            disc.setColorAt(0, QColor(0xff, 0xf2, 0xb0));
            disc.setColorAt(1, QColor(0xc0, 0x86, 0x18));
        } else {
            disc.setColorAt(0, QColor(0xe6, 0xec, 0xf4));
            disc.setColorAt(1, QColor(0x6a, 0x7a, 0x90));
        }
        p.setPen(QPen(landlordWon ? QColor(0x6a, 0x44, 0x06) : QColor(0x30, 0x3a, 0x4a), 2));
        p.setBrush(disc);
        p.drawEllipse(medal, 44, 44);
        p.setPen(QPen(landlordWon ? colour::GoldLight : QColor(0xf4, 0xf8, 0xff), 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(medal, 38, 38);
        outlinedText(
                p, QRectF(medal.x() - 30, medal.y() - 27, 60, 54), QStringLiteral("地主"), song(34),
                landlordWon ? QBrush(QColor(0xc8, 0x10, 0x10)) : QBrush(QColor(0x3a, 0x4a, 0x60)),
                Qt::white, 2);
        // The ribbon.
        const QRectF band(18, size.height() * 0.68, size.width() - 36, size.height() * 0.24);
        QPainterPath ribbon;
        ribbon.moveTo(band.left(), band.top());
        ribbon.lineTo(band.right(), band.top());
        ribbon.lineTo(band.right() - 14, band.center().y());
        ribbon.lineTo(band.right(), band.bottom());
        ribbon.lineTo(band.left(), band.bottom());
        ribbon.lineTo(band.left() + 14, band.center().y());
        ribbon.closeSubpath();
        QLinearGradient g(band.topLeft(), band.bottomLeft());
        if (landlordWon) {
            g.setColorAt(0, QColor(0xf0, 0x3a, 0x2a));
            g.setColorAt(1, QColor(0x8a, 0x08, 0x08));
        } else {
            g.setColorAt(0, QColor(0x5a, 0x74, 0x9a));
            g.setColorAt(1, QColor(0x22, 0x30, 0x48));
        }
        p.setPen(QPen(landlordWon ? colour::Gold : QColor(0xc8, 0xd4, 0xe4), 2));
        p.setBrush(g);
        p.drawPath(ribbon);
        outlinedText(p, band.adjusted(22, 4, -22, -4),
                     landlordWon ? QStringLiteral("地主胜利") : QStringLiteral("地主失败"), hei(34),
                     landlordWon ? colour::GoldLight : QColor(0xf0, 0xf4, 0xff),
                     QColor(0x20, 0x08, 0x04), 2);
        // Twinkles.
        for (int s = 0; s < 4; ++s) {
            const double phase = std::sin((k + s * 2.5) * 2 * kPi / frames);
            if (phase > 0.2) {
                const QPointF at(30 + s * 66, 20 + (s % 2) * 30);
                drawSparkle(p, at, 4 + 5 * phase, Qt::white);
            }
        }
        art.frames.push_back({image, 120});
    }
    return art;
}

// The landlord's mark at the landlord's seat: a red medallion with a gold hat
// and the word, with a shine sweeping across it.
Art landlordBadge(QSize size)
{
    Art art;
    art.loops = 0;
    const int frames = 10;
    const double w = size.width(), h = size.height();
    for (int k = 0; k < frames; ++k) {
        QImage image = canvas(size);
        QPainter p(&image);
        prepare(p);
        const QPointF c(w / 2, h * 0.38);
        const double r = w * 0.44;
        QRadialGradient disc(c - QPointF(r * 0.3, r * 0.35), r * 1.3);
        disc.setColorAt(0, QColor(0xf4, 0x5a, 0x3a));
        disc.setColorAt(1, QColor(0x8a, 0x0a, 0x08));
        p.setPen(QPen(colour::Gold, 2));
        p.setBrush(disc);
        p.drawEllipse(c, r, r);
        // The landlord's skullcap: a black dome of six panels with a brim
        // and a red knot on top.
        const QRectF dome(c.x() - r * 0.62, c.y() - r * 0.62, r * 1.24, r * 1.1);
        QLinearGradient cap(dome.topLeft(), dome.bottomRight());
        cap.setColorAt(0, QColor(0x4a, 0x4a, 0x58));
        cap.setColorAt(1, QColor(0x10, 0x10, 0x16));
        p.setPen(QPen(QColor(0x08, 0x08, 0x0c), 1));
        p.setBrush(cap);
        p.drawChord(dome, 0, 180 * 16);
        p.setPen(QPen(colour::GoldDark, 0.8));
        for (int i = 1; i < 6; ++i) {
            const double x = dome.left() + dome.width() * i / 6;
            QPainterPath seam;
            seam.moveTo(c.x(), dome.top() + 1);
            seam.quadTo(x, dome.top() + dome.height() * 0.1, x, dome.center().y());
            p.drawPath(seam);
        }
        QLinearGradient brim(0, dome.center().y() - 1, 0, dome.center().y() + r * 0.2);
        brim.setColorAt(0, QColor(0x2a, 0x2a, 0x34));
        brim.setColorAt(1, QColor(0x08, 0x08, 0x0c));
        p.setPen(QPen(colour::Gold, 0.8));
        p.setBrush(brim);
        p.drawRoundedRect(
                QRectF(dome.left() - 2, dome.center().y() - 1, dome.width() + 4, r * 0.22), 2, 2);
        p.setPen(Qt::NoPen);
        p.setBrush(colour::Gold);
        p.drawRect(QRectF(c.x() - r * 0.1, dome.center().y() + 1, r * 0.2, r * 0.16));
        p.setBrush(QColor(0xe0, 0x12, 0x12));
        p.drawEllipse(QPointF(c.x(), dome.top()), r * 0.13, r * 0.13);
        // The word on a banner.
        const QRectF band(2, h * 0.7, w - 4, h * 0.27);
        QLinearGradient g(band.topLeft(), band.bottomLeft());
        g.setColorAt(0, colour::GoldLight);
        g.setColorAt(1, colour::GoldDark);
        p.setPen(QPen(QColor(0x5a, 0x3a, 0x06), 1));
        p.setBrush(g);
        p.drawRoundedRect(band, 5, 5);
        outlinedText(p, band.adjusted(4, 2, -4, -2), QStringLiteral("地主"),
                     hei(band.height() * 0.8), QColor(0xb0, 0x0c, 0x0c), QColor(0xff, 0xf6, 0xd0),
                     1.2);
        // The shine: a bright diagonal band sweeping across.
        const double x = -w + (2.5 * w) * k / (frames - 1);
        QLinearGradient shine(QPointF(x, 0), QPointF(x + w * 0.5, h));
        shine.setColorAt(0, withAlpha(Qt::white, 0));
        shine.setColorAt(0.42, withAlpha(Qt::white, 0));
        shine.setColorAt(0.5, withAlpha(Qt::white, 0.45));
        shine.setColorAt(0.58, withAlpha(Qt::white, 0));
        shine.setColorAt(1, withAlpha(Qt::white, 0));
        p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        p.fillRect(image.rect(), shine);
        art.frames.push_back({image, k == 0 ? 600 : 90});
    }
    return art;
}

} // namespace tessaroc::artgen
