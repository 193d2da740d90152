#include "Style.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

namespace tessaroc::artgen {

QImage canvas(QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void prepare(QPainter &painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
}

namespace {

QFont pixelFont(const QString &family, double pixels, bool bold)
{
    QFont font(family);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

} // namespace

QFont hei(double pixels, bool bold)
{
    return pixelFont(QStringLiteral("Noto Sans CJK SC"), pixels, bold);
}

QFont song(double pixels, bool bold)
{
    return pixelFont(QStringLiteral("Noto Serif CJK SC"), pixels, bold);
}

QFont latin(double pixels, bool bold)
{
    return pixelFont(QStringLiteral("DejaVu Sans"), pixels, bold);
}

QPainterPath textPath(const QString &text, const QFont &font)
{
    QPainterPath path;
    path.addText(0, 0, font, text);
    return path;
}

QPainterPath fitPath(const QPainterPath &path, const QRectF &box)
{
    const QRectF bounds = path.boundingRect();
    if (bounds.isEmpty())
        return path;
    double sy = box.height() / bounds.height();
    double sx = sy;
    if (bounds.width() * sx > box.width())
        sx = box.width() / bounds.width();
    QTransform t;
    t.translate(box.center().x(), box.center().y());
    t.scale(sx, sy);
    t.translate(-bounds.center().x(), -bounds.center().y());
    return t.map(path);
}

void outlinedText(QPainter &painter, const QRectF &box, const QString &text, const QFont &font,
                  const QBrush &fill, const QColor &outline, double outlineWidth)
{
    QPainterPath path = textPath(text, font);
    const QRectF bounds = path.boundingRect();
    // Centre on the box, measured on the glyphs' ink rather than the font's
    // line box, and shrink only when the text would not fit.
    double scale = 1.0;
    if (bounds.width() > box.width())
        scale = box.width() / bounds.width();
    if (bounds.height() * scale > box.height())
        scale = box.height() / bounds.height();
    QTransform t;
    t.translate(box.center().x(), box.center().y());
    t.scale(scale, scale);
    t.translate(-bounds.center().x(), -bounds.center().y());
    path = t.map(path);
    if (outlineWidth > 0) {
        QPen pen(outline, outlineWidth * 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        painter.strokePath(path, pen);
    }
    painter.fillPath(path, fill);
}

namespace {

struct Tone
{
    QColor top, bottom, rim, text, outline;
};

Tone toneColours(ButtonTone tone)
{
    switch (tone) {
    case ButtonTone::Blue:
        return {colour::BlueTop, colour::BlueBottom, QColor(0x16, 0x35, 0x6a), Qt::white,
                QColor(0x10, 0x2a, 0x55)};
    case ButtonTone::Green:
        return {colour::GreenTop, colour::GreenBottom, QColor(0x1c, 0x4f, 0x1a), Qt::white,
                QColor(0x16, 0x40, 0x14)};
    case ButtonTone::Red:
        return {QColor(0xf2, 0x6d, 0x5b), QColor(0xa8, 0x16, 0x16), QColor(0x5a, 0x0a, 0x0a),
                Qt::white, QColor(0x55, 0x08, 0x08)};
    case ButtonTone::Grey:
        return {QColor(0xc8, 0xc8, 0xc8), QColor(0x80, 0x80, 0x80), QColor(0x4a, 0x4a, 0x4a),
                QColor(0xee, 0xee, 0xee), QColor(0x44, 0x44, 0x44)};
    case ButtonTone::Orange:
        break;
    }
    return {colour::OrangeTop, colour::OrangeBottom, colour::Brown, Qt::white,
            QColor(0x6a, 0x30, 0x06)};
}

} // namespace

void drawButton(QPainter &painter, const QRectF &box, ButtonTone tone, const QString &label,
                bool hover, double fontPixels)
{
    const Tone t = toneColours(tone);
    const double radius = std::min(box.height(), box.width()) * 0.3;
    const QRectF outer = box.adjusted(0.5, 0.5, -0.5, -0.5);

    // Rim: dark edge, then gold (lit on hover).
    painter.setPen(Qt::NoPen);
    painter.setBrush(t.rim);
    painter.drawRoundedRect(outer, radius, radius);
    const QRectF gold = outer.adjusted(1, 1, -1, -1);
    QLinearGradient rim(gold.topLeft(), gold.bottomLeft());
    rim.setColorAt(0, hover ? colour::GoldLight : colour::Gold);
    rim.setColorAt(1, hover ? colour::Gold : colour::GoldDark);
    painter.setBrush(rim);
    painter.drawRoundedRect(gold, radius - 1, radius - 1);

    const QRectF plate = gold.adjusted(1.2, 1.2, -1.2, -1.2);
    QLinearGradient body(plate.topLeft(), plate.bottomLeft());
    const QColor top = hover ? t.top.lighter(118) : t.top;
    const QColor bottom = hover ? t.bottom.lighter(125) : t.bottom;
    body.setColorAt(0, top);
    body.setColorAt(0.5, bottom.lighter(112));
    body.setColorAt(1, bottom);
    painter.setBrush(body);
    painter.drawRoundedRect(plate, radius - 2, radius - 2);

    // Gloss on the upper half.
    QRectF gloss = plate.adjusted(1, 1, -1, -plate.height() * 0.5);
    QLinearGradient shine(gloss.topLeft(), gloss.bottomLeft());
    shine.setColorAt(0, QColor(255, 255, 255, hover ? 150 : 110));
    shine.setColorAt(1, QColor(255, 255, 255, 10));
    painter.setBrush(shine);
    painter.drawRoundedRect(gloss, radius - 3, radius - 3);

    if (!label.isEmpty()) {
        const QRectF textBox = plate.adjusted(plate.width() * 0.08, plate.height() * 0.14,
                                              -plate.width() * 0.08, -plate.height() * 0.14);
        const QColor text = hover ? QColor(0xff, 0xfb, 0xe0) : t.text;
        outlinedText(painter, textBox, label, hei(fontPixels), text, t.outline,
                     std::max(1.0, fontPixels / 9.0));
    }
}

void drawGoldRim(QPainter &painter, const QRectF &box, double radius, double width)
{
    painter.save();
    painter.setBrush(Qt::NoBrush);
    QLinearGradient g(box.topLeft(), box.bottomRight());
    g.setColorAt(0, colour::GoldLight);
    g.setColorAt(0.45, colour::Gold);
    g.setColorAt(1, colour::GoldDark);
    painter.setPen(QPen(QBrush(g), width));
    const double half = width / 2;
    painter.drawRoundedRect(box.adjusted(half, half, -half, -half), radius, radius);
    painter.setPen(QPen(QColor(0x3a, 0x22, 0x08, 200), 1));
    const double in = width + 1;
    painter.drawRoundedRect(box.adjusted(in, in, -in, -in), std::max(0.0, radius - width),
                            std::max(0.0, radius - width));
    painter.restore();
}

void drawWoodPanel(QPainter &painter, const QRectF &box, double radius)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    QLinearGradient g(box.topLeft(), box.bottomLeft());
    g.setColorAt(0, colour::WoodLight);
    g.setColorAt(0.12, colour::Wood);
    g.setColorAt(1, colour::WoodDark);
    painter.setBrush(g);
    painter.drawRoundedRect(box, radius, radius);
    // Long soft streaks of grain across the plate.
    painter.setClipRect(box);
    std::mt19937 rng(static_cast<unsigned>(box.width() * 31 + box.height()));
    std::uniform_real_distribution<double> y(box.top(), box.bottom());
    std::uniform_int_distribution<int> a(6, 20);
    for (int i = 0; i < static_cast<int>(box.height() / 3); ++i) {
        const double yy = y(rng);
        painter.setPen(QPen(QColor(0, 0, 0, a(rng)), 1));
        QPainterPath streak;
        streak.moveTo(box.left(), yy);
        streak.cubicTo(box.left() + box.width() * 0.3, yy - 2, box.left() + box.width() * 0.6,
                       yy + 2, box.right(), yy);
        painter.drawPath(streak);
    }
    painter.restore();
    drawGoldRim(painter, box, radius, std::max(2.0, std::min(box.width(), box.height()) / 40));
}

void drawCornerOrnaments(QPainter &painter, const QRectF &box, double size)
{
    painter.save();
    for (int corner = 0; corner < 4; ++corner) {
        QTransform t;
        const double x = (corner & 1) ? box.right() : box.left();
        const double y = (corner & 2) ? box.bottom() : box.top();
        t.translate(x, y);
        t.scale((corner & 1) ? -size : size, (corner & 2) ? -size : size);
        QPainterPath p;
        p.moveTo(0, 0);
        p.lineTo(1, 0);
        p.cubicTo(0.7, 0.08, 0.45, 0.2, 0.38, 0.38);
        p.cubicTo(0.2, 0.45, 0.08, 0.7, 0, 1);
        p.closeSubpath();
        QPainterPath curl;
        curl.addEllipse(QPointF(0.3, 0.3), 0.11, 0.11);
        painter.setPen(Qt::NoPen);
        QLinearGradient g(x, y, x + ((corner & 1) ? -size : size),
                          y + ((corner & 2) ? -size : size));
        g.setColorAt(0, colour::GoldLight);
        g.setColorAt(1, colour::GoldDark);
        painter.setBrush(g);
        painter.drawPath(t.map(p));
        painter.setBrush(colour::LacquerDark);
        painter.drawPath(t.map(curl));
    }
    painter.restore();
}

void addGrain(QImage &image, int amount, unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_int_distribution<int> d(-amount, amount);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = line[x];
            const int a = qAlpha(p);
            if (a == 0)
                continue;
            const int n = d(rng) * a / 255;
            line[x] = qRgba(std::clamp(qRed(p) + n, 0, a), std::clamp(qGreen(p) + n, 0, a),
                            std::clamp(qBlue(p) + n, 0, a), a);
        }
    }
}

QPainterPath suitShape(int suit)
{
    QPainterPath p;
    switch (suit) {
    case 0: // diamonds
        p.moveTo(0.5, 0.0);
        p.quadTo(0.66, 0.3, 0.9, 0.5);
        p.quadTo(0.66, 0.7, 0.5, 1.0);
        p.quadTo(0.34, 0.7, 0.1, 0.5);
        p.quadTo(0.34, 0.3, 0.5, 0.0);
        break;
    case 1: { // clubs
        p.addEllipse(QPointF(0.5, 0.27), 0.215, 0.215);
        p.addEllipse(QPointF(0.26, 0.58), 0.215, 0.215);
        p.addEllipse(QPointF(0.74, 0.58), 0.215, 0.215);
        QPainterPath stem;
        stem.moveTo(0.5, 0.45);
        stem.quadTo(0.52, 0.85, 0.7, 1.0);
        stem.lineTo(0.3, 1.0);
        stem.quadTo(0.48, 0.85, 0.5, 0.45);
        QPainterPath middle;
        middle.addRect(0.4, 0.42, 0.2, 0.2);
        p = p.united(stem).united(middle);
        break;
    }
    case 2: // hearts
        p.moveTo(0.5, 0.98);
        p.cubicTo(0.32, 0.8, 0.02, 0.58, 0.03, 0.32);
        p.cubicTo(0.04, 0.12, 0.2, 0.02, 0.3, 0.03);
        p.cubicTo(0.42, 0.03, 0.48, 0.12, 0.5, 0.2);
        p.cubicTo(0.52, 0.12, 0.58, 0.03, 0.7, 0.03);
        p.cubicTo(0.8, 0.02, 0.96, 0.12, 0.97, 0.32);
        p.cubicTo(0.98, 0.58, 0.68, 0.8, 0.5, 0.98);
        break;
    default: { // spades
        QPainterPath leaf;
        leaf.moveTo(0.5, 0.0);
        leaf.cubicTo(0.62, 0.18, 0.97, 0.36, 0.97, 0.6);
        leaf.cubicTo(0.97, 0.76, 0.84, 0.84, 0.72, 0.84);
        leaf.cubicTo(0.62, 0.84, 0.55, 0.79, 0.51, 0.72);
        leaf.lineTo(0.49, 0.72);
        leaf.cubicTo(0.45, 0.79, 0.38, 0.84, 0.28, 0.84);
        leaf.cubicTo(0.16, 0.84, 0.03, 0.76, 0.03, 0.6);
        leaf.cubicTo(0.03, 0.36, 0.38, 0.18, 0.5, 0.0);
        QPainterPath stem;
        stem.moveTo(0.5, 0.6);
        stem.quadTo(0.52, 0.88, 0.7, 1.0);
        stem.lineTo(0.3, 1.0);
        stem.quadTo(0.48, 0.88, 0.5, 0.6);
        p = leaf.united(stem);
        break;
    }
    }
    return p;
}

bool isRedSuit(int suit)
{
    return suit == 0 || suit == 2;
}

QPainterPath starShape(double innerRatio)
{
    QPainterPath p;
    for (int i = 0; i < 10; ++i) {
        const double r = (i % 2 == 0) ? 0.5 : 0.5 * innerRatio;
        const double a = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
        const QPointF pt(0.5 + r * std::cos(a), 0.52 + r * std::sin(a));
        if (i == 0)
            p.moveTo(pt);
        else
            p.lineTo(pt);
    }
    p.closeSubpath();
    return p;
}

} // namespace tessaroc::artgen
