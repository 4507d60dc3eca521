#pragma once

#include <QColor>
#include <QPointF>
#include <QSizeF>
#include <QString>

#include <optional>
#include <vector>

#include "GraphLayout.h"

/// The maths of looking at the memory graph: model to view coordinates, node sizes, what a
/// click hits, zooming, and the colours and names of the kinds of memory.
namespace halvic::graphview {

using graphlayout::Vec2;

/// The zoom and pan of the map: view point = middle of the view + model point × scale + offset.
struct Nav
{
    double scale = 1;
    QPointF offset;
    friend bool operator==(const Nav &, const Nav &) = default;
};

inline constexpr double hitSlop = 6;
inline constexpr double edgeHitDistance = 6;
inline constexpr double clickDistance = 4;
inline constexpr double zoomInFactor = 1.6;
inline constexpr double zoomOutFactor = 0.625;
inline constexpr double buttonZoom = 1.25;
/// Wheel zoom per notch (120 units of angle): what ten points of scrolling give.
inline constexpr double wheelZoomPerNotch = 0.1;

QPointF toView(Vec2 p, QSizeF size, const Nav &nav);
/// The radius of a node with `degree` edge ends, in view points (not zoomed).
double nodeRadius(int degree);
/// Distance from `p` to the segment a–b.
double segmentDistance(QPointF p, QPointF a, QPointF b);

/// The node under `point`: the nearest whose centre is closer than its radius + 6 (the
/// earlier in `ids` on ties); none when there is none. Ids without a position are skipped.
std::optional<int> nodeAt(QPointF point, QSizeF size, const Nav &nav, const std::vector<QString> &ids,
    const graphlayout::Positions &positions, const graphlayout::Degrees &degrees);
/// The first edge with both ends positioned closer than 6 points to `point`.
std::optional<int> edgeAt(QPointF point, QSizeF size, const Nav &nav, const std::vector<GraphEdge> &edges,
    const graphlayout::Positions &positions);

/// Zoomed by `factor` about `point` (a double click); the scale stays within 0.2 … 4.
Nav zoomedAbout(const Nav &nav, double factor, QPointF point, QSizeF size);
/// Zoomed by 1 + `change` about the middle of the view (wheel and pinch); unchanged when the
/// scale moves by 0.0001 or less.
Nav zoomedBy(const Nav &nav, double change);

/// A node's colour and the name of its kind in the legend (the kind in any case).
QColor kindColour(const QString &kind);
QString kindName(const QString &kind);
/// A node's label: its text trimmed, cut to 18 characters and "…".
QString nodeLabel(const QString &text);

} // namespace halvic::graphview
