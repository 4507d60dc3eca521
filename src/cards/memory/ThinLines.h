#pragma once

#include <QImage>
#include <QLineF>
#include <QList>
#include <QRgb>

namespace halvic {

/// Draws one-pixel lines in one translucent colour straight into `image` (premultiplied
/// ARGB32), clipped to it. Thousands of translucent lines through QPainter cost a second or
/// more per frame in the raster engine; this costs a few milliseconds.
void drawThinLines(QImage &image, const QList<QLineF> &lines, QRgb colour);

} // namespace halvic
