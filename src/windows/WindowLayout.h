#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QRect>
#include <QRectF>
#include <QStringList>

#include "Protocol.h"
#include "ScreenInfo.h"

/// The pure part of window layout: reading window commands and the rectangle maths. All
/// rectangles are in desktop points, top-left origin, y down.
namespace halvic::layout {

// The window command's keys, with every other protocol name.
namespace key = halvic::protocol::key;

enum class Action { None, Launch, Close, Fill, Move, Tile, Arrange };
enum class Mode { Fill, Move, Tile };

/// The command's "action", any case; unknown or missing is None.
Action actionOf(const QJsonObject &command);
/// A layout item's "mode", any case; absent or unknown is Tile.
Mode modeOf(const QJsonObject &item);

/// The applications of a command: the strings of "apps", else "app" when it is a non-empty
/// string, else none.
QStringList appList(const QJsonObject &command);

/// A number member: a JSON number as is, a string parsed as a decimal number (0 when it is
/// not one), anything else 0.
double num(const QJsonObject &command, QLatin1StringView key);

/// `rect` less the command's four insets, never of negative size.
QRectF insetArea(const QRectF &rect, const QJsonObject &command);

/// The part of `area` named by a region word ("left", "right-half", "top", ...); the whole
/// area for "full", unknown words and non-strings.
QRectF regionRect(const QJsonValue &region, const QRectF &area);

/// `count` equal columns across `area`, left to right; none when `count` is 0 or the area is
/// narrower or lower than one point, or endless.
QList<QRectF> tileColumns(qsizetype count, const QRectF &area);

/// `rect` shrunk to fit `bounds` and shifted inside it; unchanged when `bounds` is empty.
QRectF clamp(const QRectF &rect, const QRectF &bounds);

/// A rectangle in points turned into the device pixels of `screen` (Qt keeps a screen's
/// top-left in device pixels and scales what lies inside it).
QRect toNative(const QRectF &rect, const ScreenInfo &screen);

/// With the HUD docked, a command aimed at the main screen leaves the strip's width free on
/// the strip's side ("right", otherwise the left) unless it sets its own inset there; the same
/// for every item of "layout".
QJsonObject withDockedInset(QJsonObject command, bool docked, double stripWidth, const QString &dockSide);

} // namespace halvic::layout
