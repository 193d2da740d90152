#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>

namespace tessaroc::artgen {

// One palette for the whole table: green felt, dark lacquered wood, gold
// trim, warm orange buttons for actions and cool blue ones for refusals.
namespace colour {
inline const QColor Felt{0x1d, 0x6b, 0x3f};
inline const QColor FeltDark{0x0e, 0x40, 0x24};
inline const QColor FeltBlue{0x1e, 0x4e, 0x7e};
inline const QColor FeltBlueDark{0x0d, 0x2a, 0x4c};
inline const QColor Wood{0x4a, 0x27, 0x12};
inline const QColor WoodDark{0x2a, 0x15, 0x09};
inline const QColor WoodLight{0x7a, 0x45, 0x1f};
inline const QColor Gold{0xe8, 0xc2, 0x5a};
inline const QColor GoldDark{0x9c, 0x72, 0x1c};
inline const QColor GoldLight{0xfb, 0xea, 0xa8};
inline const QColor Cream{0xf7, 0xef, 0xdc};
inline const QColor Ink{0x1c, 0x1c, 0x22};
inline const QColor CardRed{0xcc, 0x12, 0x2a};
inline const QColor Lacquer{0x8e, 0x15, 0x15};
inline const QColor LacquerDark{0x55, 0x0a, 0x0a};
inline const QColor OrangeTop{0xff, 0xc3, 0x55};
inline const QColor OrangeBottom{0xd8, 0x6a, 0x12};
inline const QColor BlueTop{0x7c, 0xb8, 0xf2};
inline const QColor BlueBottom{0x24, 0x5e, 0xb0};
inline const QColor GreenTop{0x8c, 0xd8, 0x6a};
inline const QColor GreenBottom{0x2c, 0x8a, 0x2e};
inline const QColor Brown{0x5a, 0x2d, 0x0c};
} // namespace colour

// A transparent canvas to draw a picture on.
QImage canvas(QSize size);
// A painter with antialiased shapes, text and smooth scaling.
void prepare(QPainter &painter);

// Fonts by pixel size: Hei (sans) for labels, Song (serif) for titles, and a
// bold Latin face for card indices and numbers.
QFont hei(double pixels, bool bold = true);
QFont song(double pixels, bool bold = true);
QFont latin(double pixels, bool bold = true);

// Text as a shape, so it can be outlined, filled with a gradient and fitted
// into a box.
QPainterPath textPath(const QString &text, const QFont &font);
// Scales and moves a shape into a box, keeping its aspect unless it would be
// too wide, in which case it is squeezed horizontally. Centred.
QPainterPath fitPath(const QPainterPath &path, const QRectF &box);

// Text centred in a box, filled with a colour over a dark outline.
void outlinedText(QPainter &painter, const QRectF &box, const QString &text, const QFont &font,
                  const QBrush &fill, const QColor &outline, double outlineWidth);

enum class ButtonTone { Orange, Blue, Green, Red, Grey };

// The table's button: a rounded, vertically shaded plate with a gold rim and
// a white outlined label. Hover brightens the plate and lights the rim.
void drawButton(QPainter &painter, const QRectF &box, ButtonTone tone, const QString &label,
                bool hover, double fontPixels);

// A plate of dark lacquered wood in a gold frame: dialogs, panels, notices.
void drawWoodPanel(QPainter &painter, const QRectF &box, double radius);
// A double gold rim.
void drawGoldRim(QPainter &painter, const QRectF &box, double radius, double width);
// Gold corner ornaments inside a rectangle.
void drawCornerOrnaments(QPainter &painter, const QRectF &box, double size);

// Fine grain on a picture (felt, wood), from a fixed seed so every build
// draws the same picture.
void addGrain(QImage &image, int amount, unsigned seed);

// The four suit symbols in a unit square: 0 diamonds, 1 clubs, 2 hearts,
// 3 spades.
QPainterPath suitShape(int suit);
bool isRedSuit(int suit);

// A five-pointed star in a unit square.
QPainterPath starShape(double innerRatio = 0.45);

} // namespace tessaroc::artgen
