#pragma once

#include "Art.h"
#include "Style.h"

#include <QImage>
#include <QSize>
#include <QString>

namespace tessaroc::artgen {

// Buttons and small icons.
QImage button(QSize size, ButtonTone tone, const QString &label, bool hover);
QImage disabledButton(QSize size, const QString &label);
QImage tabButton(QSize size, const QString &label, bool hover);
QImage markBadge(QSize size, const QString &label, int level);
QImage bankIcon(QSize size, bool hover);
QImage taskIcon(QSize size, bool hover);
QImage captionButton(QSize size, bool close, int state);
QImage handCursor(QSize size);
QImage closeSpot(QSize size, bool close);
QImage multiplierIcon(QSize size, bool wealth);

enum class VideoGlyph { Close, PopOut, Photo, Music, Friend, Album, Camera, Enlarge, Shrink };
QImage videoIcon(QSize size, VideoGlyph glyph, bool hover);

// Faces of the players.
QImage avatar(QSize size, bool woman, int variant);

// Bubbles. tail: 0 toward the bottom-left, 1 left, 2 up, 3 right.
QImage playBubble(QSize size, int tail, const QString &text, bool bomb);
QImage speechBubble(QSize size, int tail);

// Panels, backgrounds and window parts.
QImage tableSurface(QSize size, bool blue);
QImage tableBar(QSize size, bool bottom);
QImage roomStrip(QSize size);
QImage nameStrip(QSize size, bool own);
QImage videoFrame(QSize size);
QImage videoPanelBack(QSize size);
QImage adFrame(QSize size);
QImage dialogBack(QSize size, const QString &title);
// A board's background: the dialog's paper with the frame kept to the
// given width at the sides and the bottom, so that columns placed close to
// the window's edges lie on the paper.
QImage boardBack(QSize size, const QString &title, double frame);
QImage taskBack(QSize size);
QImage illegalPlayNotice(QSize size);
QImage skinFrame(QSize size);
QImage labelPlate(QSize size, const QString &text);
QImage shuffleBack(QSize size);

// Animations.
Art turnClock(QSize size);
Art explosion(QSize size, int variant);
Art bigExplosion(QSize size);
Art fourJokers(QSize size);
Art handEndBadge(QSize size, bool landlordWon);
Art landlordBadge(QSize size);

} // namespace tessaroc::artgen
