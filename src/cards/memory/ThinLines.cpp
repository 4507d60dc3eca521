#include "ThinLines.h"

#include <algorithm>
#include <cmath>

namespace halvic {

namespace {

// Clips a–b to [0, w) × [0, h) (Liang–Barsky); false when nothing is left.
bool clip(double &x0, double &y0, double &x1, double &y1, double w, double h)
{
    double t0 = 0, t1 = 1;
    const double dx = x1 - x0, dy = y1 - y0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0, w - 1 - x0, y0, h - 1 - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    const double ox = x0, oy = y0;
    x0 = ox + t0 * dx;
    y0 = oy + t0 * dy;
    x1 = ox + t1 * dx;
    y1 = oy + t1 * dy;
    return true;
}

inline quint32 blend(quint32 dst, quint32 src, quint32 inverseAlpha)
{
    // Premultiplied "source over": every channel of dst scaled by 1 − source alpha.
    quint32 rb = (dst & 0x00ff00ff) * inverseAlpha;
    quint32 ag = ((dst >> 8) & 0x00ff00ff) * inverseAlpha;
    rb = ((rb + ((rb >> 8) & 0x00ff00ff) + 0x00800080) >> 8) & 0x00ff00ff;
    ag = (ag + ((ag >> 8) & 0x00ff00ff) + 0x00800080) & 0xff00ff00;
    return src + (rb | ag);
}

} // namespace

void drawThinLines(QImage &image, const QList<QLineF> &lines, QRgb colour)
{
    if (image.format() != QImage::Format_ARGB32_Premultiplied || image.isNull())
        return;
    const quint32 src = qPremultiply(colour);
    const quint32 inverseAlpha = 255 - qAlpha(colour);
    const int w = image.width(), h = image.height();
    const qsizetype stride = image.bytesPerLine() / 4;
    auto *pixels = reinterpret_cast<quint32 *>(image.bits());
    for (const QLineF &line : lines) {
        double x0 = line.x1(), y0 = line.y1(), x1 = line.x2(), y1 = line.y2();
        if (!std::isfinite(x0 + y0 + x1 + y1) || !clip(x0, y0, x1, y1, w, h))
            continue;
        // A digital differential analyser: one pixel per step along the longer axis.
        const double dx = x1 - x0, dy = y1 - y0;
        const int steps = int(std::max(std::abs(dx), std::abs(dy)));
        // In 16.16 fixed point.
        const qint64 sx = steps ? qint64(dx / steps * 65536) : 0, sy = steps ? qint64(dy / steps * 65536) : 0;
        qint64 x = qint64((x0 + 0.5) * 65536), y = qint64((y0 + 0.5) * 65536);
        for (int s = 0; s <= steps; ++s, x += sx, y += sy) {
            const auto px = quint32(x >> 16), py = quint32(y >> 16);
            if (px < quint32(w) && py < quint32(h)) {
                quint32 &d = pixels[qsizetype(py) * stride + px];
                d = blend(d, src, inverseAlpha);
            }
        }
    }
}

} // namespace halvic
