#include "Pictures.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <cmath>
#include <numbers>
#include <random>

namespace tessaroc::artgen {

namespace {

// A rounded box with a tail toward one side. tail: 0 bottom-left pointing
// down, 1 left, 2 top-left pointing up, 3 right.
QPainterPath bubbleShape(const QRectF &area, int tail, double radius, double tailSize)
{
    QRectF body = area;
    switch (tail) {
    case 0:
        body.setBottom(area.bottom() - tailSize);
        break;
    case 1:
        body.setLeft(area.left() + tailSize);
        break;
    case 2:
        body.setTop(area.top() + tailSize);
        break;
    default:
        body.setRight(area.right() - tailSize);
        break;
    }
    QPainterPath shape;
    shape.addRoundedRect(body, radius, radius);
    QPainterPath point;
    switch (tail) {
    case 0:
        point.moveTo(body.left() + body.width() * 0.18, body.bottom() - 2);
        point.lineTo(area.left() + body.width() * 0.1, area.bottom());
        point.lineTo(body.left() + body.width() * 0.34, body.bottom() - 2);
        break;
    case 1:
        point.moveTo(body.left() + 2, body.top() + body.height() * 0.4);
        point.lineTo(area.left(), body.top() + body.height() * 0.62);
        point.lineTo(body.left() + 2, body.top() + body.height() * 0.7);
        break;
    case 2:
        point.moveTo(body.left() + body.width() * 0.2, body.top() + 2);
        point.lineTo(area.left() + body.width() * 0.16, area.top());
        point.lineTo(body.left() + body.width() * 0.38, body.top() + 2);
        break;
    default:
        point.moveTo(body.right() - 2, body.top() + body.height() * 0.4);
        point.lineTo(area.right(), body.top() + body.height() * 0.62);
        point.lineTo(body.right() - 2, body.top() + body.height() * 0.7);
        break;
    }
    point.closeSubpath();
    return shape.united(point);
}

QRectF bodyOf(const QRectF &area, int tail, double tailSize)
{
    switch (tail) {
    case 0:
        return area.adjusted(0, 0, 0, -tailSize);
    case 1:
        return area.adjusted(tailSize, 0, 0, 0);
    case 2:
        return area.adjusted(0, tailSize, 0, 0);
    default:
        return area.adjusted(0, 0, -tailSize, 0);
    }
}

} // namespace

// The bubbles the table shows at a seat for a pass, a bomb or the four
// jokers.
QImage playBubble(QSize size, int tail, const QString &text, bool bomb)
{
    QImage image = canvas(size);
    QPainter p(&image);
    prepare(p);
    const double tailSize = std::min(size.width(), size.height()) * 0.16;
    const QRectF area(2, 2, size.width() - 6, size.height() - 6);
    const QPainterPath shape = bubbleShape(area, tail, 16, tailSize);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawPath(shape.translated(3, 3));
    QLinearGradient g(area.topLeft(), area.bottomLeft());
    if (bomb) {
        g.setColorAt(0, QColor(0xff, 0xf4, 0xc8));
        g.setColorAt(1, QColor(0xff, 0xc0, 0x4a));
    } else {
        g.setColorAt(0, QColor(0xff, 0xff, 0xff));
        g.setColorAt(1, QColor(0xe4, 0xee, 0xf8));
    }
    p.setPen(QPen(bomb ? QColor(0xa8, 0x3a, 0x08) : QColor(0x4a, 0x6a, 0x8a), 2.2));
    p.setBrush(g);
    p.drawPath(shape);
    const QRectF body = bodyOf(area, tail, tailSize).adjusted(10, 8, -10, -8);
    if (bomb) {
        // A burst behind the word.
        QTransform t;
        t.translate(body.center().x() - body.height() * 0.55, body.top() - 2);
        t.scale(body.height() * 1.1, body.height() * 1.1);
        QPainterPath burst;
        for (int i = 0; i < 24; ++i) {
            const double r = (i % 2 == 0) ? 0.5 : 0.32;
            const double a = i * std::numbers::pi / 12;
            const QPointF pt(0.5 + r * std::cos(a), 0.5 + r * std::sin(a));
            if (i == 0)
                burst.moveTo(pt);
            else
                burst.lineTo(pt);
        }
        burst.closeSubpath();
        QRadialGradient fire(t.map(QPointF(0.5, 0.5)), body.height() * 0.55);
        fire.setColorAt(0, QColor(0xff, 0xf0, 0x60));
        fire.setColorAt(1, QColor(0xf0, 0x4a, 0x10));
        p.setPen(Qt::NoPen);
        p.setBrush(fire);
        p.drawPath(t.map(burst));
        outlinedText(p, body, text, hei(body.height() * 0.55), QColor(0xd8, 0x10, 0x10), Qt::white,
                     2.5);
    } else {
        outlinedText(p, body, text, hei(body.height() * 0.5), QColor(0x2a, 0x4a, 0x7a), Qt::white,
                     1.5);
    }
    return image;
}

// The chat bubbles that carry a quick phrase: white rounded boxes with a grey
// shadow and a tail toward the seat; the phrase is written on them at run
// time.
QImage speechBubble(QSize size, int tail)
{
    QImage image = canvas(size);
    QPainter p(&image);
    prepare(p);
    const double tailSize = 16;
    const QRectF area(1, 1, size.width() - 6, size.height() - 6);
    const QPainterPath shape = bubbleShape(area, tail, 18, tailSize);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x70, 0x70, 0x70, 150));
    p.drawPath(shape.translated(4, 4));
    p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1.5));
    p.setBrush(Qt::white);
    p.drawPath(shape);
    return image;
}

// The felt of the table: a radial light on the green (or blue) cloth with a
// fine weave and a darker rim.
QImage tableSurface(QSize size, bool blue)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    prepare(p);
    const QColor base = blue ? colour::FeltBlue : colour::Felt;
    const QColor dark = blue ? colour::FeltBlueDark : colour::FeltDark;
    QRadialGradient light(QPointF(size.width() * 0.5, size.height() * 0.45),
                          std::max(size.width(), size.height()) * 0.7);
    light.setColorAt(0, base.lighter(128));
    light.setColorAt(0.55, base);
    light.setColorAt(1, dark);
    p.fillRect(image.rect(), light);
    // An embroidered oval in the middle of the cloth.
    p.setPen(QPen(QColor(255, 255, 255, 26), size.width() / 300.0));
    p.setBrush(Qt::NoBrush);
    const QRectF oval(size.width() * 0.2, size.height() * 0.26, size.width() * 0.6,
                      size.height() * 0.42);
    p.drawEllipse(oval);
    p.drawEllipse(oval.adjusted(8, 8, -8, -8));
    p.end();
    addGrain(image, 7, blue ? 17u : 11u);
    return image;
}

// The bars across the top (the other seats' panels) and the bottom (the own
// seat, chat and toolbar) of the table: dark wood with a gold edge.
QImage tableBar(QSize size, bool bottom)
{
    QImage image = canvas(size);
    QPainter p(&image);
    prepare(p);
    const QRectF box(0, 0, size.width(), size.height());
    QLinearGradient g(box.topLeft(), box.bottomLeft());
    g.setColorAt(0, bottom ? QColor(0x5a, 0x30, 0x14, 235) : QColor(0x2a, 0x15, 0x09, 235));
    g.setColorAt(1, bottom ? QColor(0x22, 0x10, 0x06, 245) : QColor(0x4a, 0x26, 0x10, 225));
    p.fillRect(box, g);
    const double edge = bottom ? 1.5 : size.height() - 4.5;
    QLinearGradient gold(0, edge, 0, edge + 3);
    gold.setColorAt(0, colour::GoldLight);
    gold.setColorAt(1, colour::GoldDark);
    p.fillRect(QRectF(0, edge, size.width(), 3), gold);
    // A row of small gold studs along the gold edge.
    p.setPen(Qt::NoPen);
    p.setBrush(colour::Gold);
    const double studY = bottom ? 8 : size.height() - 9;
    for (double x = 12; x < size.width(); x += 48)
        p.drawEllipse(QPointF(x, studY), 1.6, 1.6);
    p.end();
    addGrain(image, 4, bottom ? 23u : 29u);
    return image;
}

QImage roomStrip(QSize size)
{
    QImage image = canvas(size);
    QPainter p(&image);
    prepare(p);
    const QRectF box(1, 1, size.width() - 2, size.height() - 2);
    QLinearGradient g(box.topLeft(), box.bottomLeft());
    g.setColorAt(0, QColor(0x12, 0x2a, 0x1a, 230));
    g.setColorAt(1, QColor(0x06, 0x14, 0x0c, 230));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(box, 8, 8);
    drawGoldRim(p, box, 8, 1.5);
    return image;
}

QImage nameStrip(QSize size, bool own)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    prepare(p);
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, own ? QColor(0x3a, 0x5a, 0x7a) : QColor(0x4a, 0x2a, 0x14));
    g.setColorAt(1, own ? QColor(0x14, 0x24, 0x3a) : QColor(0x20, 0x10, 0x06));
    p.fillRect(image.rect(), g);
    p.setPen(QPen(colour::GoldDark, 1));
    p.drawRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1));
    return image;
}

QImage videoFrame(QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    prepare(p);
    const QRectF box(0, 0, size.width(), size.height());
    p.fillRect(box, colour::WoodDark);
    drawWoodPanel(p, box, 4);
    const QRectF screen = box.adjusted(5, 5, -5, -5);
    QLinearGradient g(screen.topLeft(), screen.bottomLeft());
    g.setColorAt(0, QColor(0x20, 0x28, 0x34));
    g.setColorAt(1, QColor(0x06, 0x08, 0x0c));
    p.setPen(QPen(QColor(0, 0, 0), 1));
    p.setBrush(g);
    p.drawRect(screen);
    // A faint camera in the middle of the dark screen.
    p.setPen(QPen(QColor(0x5a, 0x66, 0x78), 2));
    p.setBrush(Qt::NoBrush);
    const QPointF c = screen.center();
    p.drawRoundedRect(QRectF(c.x() - 16, c.y() - 10, 32, 22), 3, 3);
    p.drawEllipse(c + QPointF(0, 1), 6, 6);
    return image;
}

QImage videoPanelBack(QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    prepare(p);
    const QRectF box(0, 0, size.width(), size.height());
    p.fillRect(box, colour::WoodDark);
    drawWoodPanel(p, box, 6);
    const double inset = size.width() / 24.0;
    const QRectF screen(inset, size.height() * 0.11, size.width() - 2 * inset,
                        size.height() * 0.84);
    QRadialGradient g(screen.center(), screen.width() * 0.7);
    g.setColorAt(0, QColor(0x24, 0x30, 0x40));
    g.setColorAt(1, QColor(0x04, 0x06, 0x0a));
    p.setPen(QPen(colour::GoldDark, 1.5));
    p.setBrush(g);
    p.drawRect(screen);
    return image;
}

QImage adFrame(QSize size)
{
    QImage image = canvas(size);
    QPainter p(&image);
    prepare(p);
    const QRectF box(0, 0, size.width(), size.height());
    drawWoodPanel(p, box, 5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x10, 0x10, 0x10));
    p.drawRect(box.adjusted(4, 4, -4, -4));
    return image;
}

namespace {

// The frame of a dialog, wide enough for the gold corner ornaments.
constexpr double kOrnamentFrame = 8;

// Lacquered wood, a gold frame of the given width at the sides and the
// bottom, a cream writing field and, where the window has one, its title on a
// red plate; the corner ornaments only where the frame has room for them. The
// plate stays at most 26 pixels high: the boards put their first texts 32
// pixels down, which must be on the field.
QImage paperPanel(QSize size, const QString &title, double frame)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(colour::WoodDark);
    QPainter p(&image);
    prepare(p);
    const QRectF box(0, 0, size.width(), size.height());
    drawWoodPanel(p, box, 0);
    const double band = title.isEmpty() ? 10 : std::clamp(size.height() * 0.1, 16.0, 26.0);
    const QRectF field = box.adjusted(frame, band + 4, -frame, -frame);
    QLinearGradient paper(field.topLeft(), field.bottomLeft());
    paper.setColorAt(0, QColor(0xfb, 0xf4, 0xe2));
    paper.setColorAt(1, QColor(0xec, 0xdc, 0xb8));
    p.setPen(QPen(colour::GoldDark, 1));
    p.setBrush(paper);
    // A thin frame has square corners: a list may reach into them.
    const double corner = frame >= kOrnamentFrame ? 4 : 0;
    p.drawRoundedRect(field, corner, corner);
    if (frame >= kOrnamentFrame) {
        drawCornerOrnaments(p, box.adjusted(3, 3, -3, -3),
                            std::min(size.width(), size.height()) / 9.0);
    }
    if (!title.isEmpty()) {
        const QRectF plate(size.width() * 0.3, 3, size.width() * 0.4, band);
        QLinearGradient red(plate.topLeft(), plate.bottomLeft());
        red.setColorAt(0, colour::Lacquer.lighter(130));
        red.setColorAt(1, colour::LacquerDark);
        p.setPen(QPen(colour::Gold, 1));
        p.setBrush(red);
        p.drawRoundedRect(plate, 5, 5);
        outlinedText(p, plate.adjusted(6, 2, -6, -2), title, song(band * 0.7), colour::GoldLight,
                     QColor(0x3a, 0x06, 0x06), 1);
    }
    p.end();
    addGrain(image, 3, static_cast<unsigned>(size.width() * 7 + size.height()));
    return image;
}

} // namespace

// The background of a pop-up window.
QImage dialogBack(QSize size, const QString &title)
{
    return paperPanel(size, title, kOrnamentFrame);
}

QImage boardBack(QSize size, const QString &title, double frame)
{
    return paperPanel(size, title, frame);
}

// The task window: a red patterned panel with gold corner ornaments and its
// title at the top.
QImage taskBack(QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    prepare(p);
    const QRectF box(0, 0, size.width(), size.height());
    QRadialGradient g(box.center(), size.width() * 0.7);
    g.setColorAt(0, colour::Lacquer.lighter(120));
    g.setColorAt(1, colour::LacquerDark);
    p.fillRect(box, g);
    // Interlocking circles as the cloth's pattern.
    p.setPen(QPen(QColor(0xe8, 0xc2, 0x5a, 40), 1));
    p.setBrush(Qt::NoBrush);
    for (double y = 0; y < size.height() + 20; y += 18)
        for (double x = (static_cast<int>(y / 18) % 2) * 9; x < size.width() + 20; x += 18)
            p.drawEllipse(QPointF(x, y), 9, 9);
    drawGoldRim(p, box.adjusted(2, 2, -2, -2), 6, 3);
    drawCornerOrnaments(p, box.adjusted(6, 6, -6, -6), 26);
    outlinedText(p, QRectF(size.width() * 0.25, 8, size.width() * 0.5, 30),
                 QStringLiteral("喜金任务"), song(26), colour::GoldLight, QColor(0x3a, 0x04, 0x04),
                 1.6);
    return image;
}

// The notice for a play the rules refuse: a dark panel in an ornamental gold
// frame, the words in glowing gold and a small cross at the top right.
QImage illegalPlayNotice(QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    prepare(p);
    const QRectF box(0, 0, size.width(), size.height());
    QLinearGradient g(box.topLeft(), box.bottomLeft());
    g.setColorAt(0, QColor(0x2a, 0x1e, 0x1a));
    g.setColorAt(1, QColor(0x0c, 0x08, 0x06));
    p.fillRect(box, g);
    drawGoldRim(p, box.adjusted(1, 1, -1, -1), 5, 2.5);
    drawCornerOrnaments(p, box.adjusted(4, 4, -4, -4), 12);
    const QRectF text = box.adjusted(16, 14, -16, -12);
    // The glow: the words blurred out in soft gold under the sharp ones.
    for (int r = 5; r >= 1; r -= 2)
        outlinedText(p, text, QStringLiteral("出牌不符合规则"), song(22), QColor(0, 0, 0, 0),
                     QColor(0xff, 0xc8, 0x40, 40), r);
    QLinearGradient goldText(text.topLeft(), text.bottomLeft());
    goldText.setColorAt(0, colour::GoldLight);
    goldText.setColorAt(1, colour::Gold);
    outlinedText(p, text, QStringLiteral("出牌不符合规则"), song(22), goldText,
                 QColor(0x4a, 0x2a, 0x04), 0.8);
    p.setPen(QPen(colour::Gold, 1.5, Qt::SolidLine, Qt::RoundCap));
    const QPointF x(size.width() - 13, 10);
    p.drawLine(x + QPointF(-3.5, -3.5), x + QPointF(3.5, 3.5));
    p.drawLine(x + QPointF(3.5, -3.5), x + QPointF(-3.5, 3.5));
    return image;
}

// The template the frame of the table window is cut from: an orange outer
// border, a dark red inner band and a beige centre; its top 20 pixels are
// the caption band.
QImage skinFrame(QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    prepare(p);
    const QRectF box(0, 0, size.width(), size.height());
    p.fillRect(box, QColor(0xf0, 0xe0, 0xc0));
    QLinearGradient caption(0, 0, 0, 20);
    caption.setColorAt(0, QColor(0xe0, 0x6a, 0x1a));
    caption.setColorAt(1, QColor(0x8a, 0x1a, 0x10));
    p.fillRect(QRectF(0, 0, size.width(), 20), caption);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf0, 0x8a, 0x2a));
    p.drawRect(QRectF(0, 20, 3, size.height() - 20));
    p.drawRect(QRectF(size.width() - 3, 20, 3, size.height() - 20));
    p.drawRect(QRectF(0, size.height() - 3, size.width(), 3));
    p.setBrush(QColor(0x7a, 0x12, 0x0c));
    p.drawRect(QRectF(3, 20, 5, size.height() - 23));
    p.drawRect(QRectF(size.width() - 8, 20, 5, size.height() - 23));
    p.drawRect(QRectF(3, size.height() - 8, size.width() - 6, 5));
    p.setPen(QPen(colour::GoldLight, 1));
    p.drawLine(QPointF(0, 0.5), QPointF(size.width(), 0.5));
    return image;
}

// A word on a small lacquered plate (the labels of the sound settings).
QImage labelPlate(QSize size, const QString &text)
{
    QImage image = canvas(size);
    QPainter p(&image);
    prepare(p);
    const QRectF box(1, 2, size.width() - 2, size.height() - 4);
    QLinearGradient g(box.topLeft(), box.bottomLeft());
    g.setColorAt(0, colour::Lacquer.lighter(125));
    g.setColorAt(1, colour::LacquerDark);
    p.setPen(QPen(colour::Gold, 1.2));
    p.setBrush(g);
    p.drawRoundedRect(box, 6, 6);
    outlinedText(p, box.adjusted(6, 4, -6, -4), text, song(size.height() * 0.5), colour::GoldLight,
                 QColor(0x2a, 0x04, 0x04), 1);
    return image;
}

QImage shuffleBack(QSize size)
{
    QImage image = canvas(size);
    QPainter p(&image);
    prepare(p);
    const QRectF box(0, 0, size.width(), size.height());
    drawWoodPanel(p, box, 10);
    // Two curved arrows chasing each other: seats changing places.
    p.setPen(QPen(colour::GoldLight, 3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    const QRectF ring(14, size.height() / 2.0 - 18, 36, 36);
    p.drawArc(ring, 30 * 16, 140 * 16);
    p.drawArc(ring, 210 * 16, 140 * 16);
    p.setBrush(colour::GoldLight);
    p.setPen(Qt::NoPen);
    for (int k = 0; k < 2; ++k) {
        p.save();
        p.translate(ring.center());
        p.rotate(k * 180);
        QPainterPath head;
        head.moveTo(18 * std::cos(-30 * std::numbers::pi / 180) - 6, -9 - 2);
        head.lineTo(18 * std::cos(-30 * std::numbers::pi / 180) + 4, -9 + 2);
        head.lineTo(18 * std::cos(-30 * std::numbers::pi / 180) - 3, -9 + 8);
        head.closeSubpath();
        p.drawPath(head);
        p.restore();
    }
    return image;
}

} // namespace tessaroc::artgen
