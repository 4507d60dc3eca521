#include "MapPicture.h"

#include <QLineF>
#include <QList>
#include <QPainter>

#include <cmath>

#include "Background.h"
#include "ThinLines.h"

namespace halvic::graphview {

namespace {

// Below this many edges in the picture they are drawn smooth; above it, as one-pixel lines
// by our own routine: the software raster engine would spend most of a frame smoothing
// lines too thin to show it.
constexpr qsizetype smoothLimit = 1500;
// At most this many edges are drawn per picture: beyond it a map is a hairball whose look
// does not change when only every second (third, …) edge is drawn, while the cost would
// grow without bound.
constexpr std::size_t edgesPerPicture = 40000;
constexpr QRgb edgeColour = qRgba(142, 142, 147, 77);

} // namespace

const QImage &DotImages::dot(QRgb colour, double radius)
{
    const quint64 key = (quint64(colour) << 16) | quint64(std::lround(radius * 4));
    const auto found = m_images.constFind(key);
    if (found != m_images.cend())
        return *found;
    const int side = int(std::ceil(radius * 2)) + 2;
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgba(colour));
    painter.drawEllipse(QPointF(side / 2.0, side / 2.0), radius, radius);
    painter.end();
    return *m_images.insert(key, image);
}

QImage drawMap(const MapScene &scene, const MapFrame &frame)
{
    QImage image(frame.size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    if (image.isNull())
        return image;
    const double left = -visibleMargin, top = -visibleMargin;
    const double right = frame.size.width() + visibleMargin, bottom = frame.size.height() + visibleMargin;
    const auto inside = [&](double x, double y) { return x >= left && x <= right && y >= top && y <= bottom; };
    const auto at = [&](int i) {
        const graphlayout::Vec2 &p = scene.points[std::size_t(i)];
        return QPointF(frame.origin.x() + p.x * frame.scale, frame.origin.y() + p.y * frame.scale);
    };
    const int nodeCount = int(scene.points.size());

    QList<QLineF> lines;
    const std::size_t stride = scene.edges.size() / edgesPerPicture + 1;
    for (std::size_t e = 0; e < scene.edges.size(); e += stride) {
        const auto [a, b] = scene.edges[e];
        if (a < 0 || b < 0 || a >= nodeCount || b >= nodeCount || !scene.drawn[std::size_t(a)]
            || !scene.drawn[std::size_t(b)])
            continue;
        const QPointF pa = at(a), pb = at(b);
        if (inside(pa.x(), pa.y()) || inside(pb.x(), pb.y()))
            lines.append(QLineF(pa, pb));
    }
    QPainter painter(&image);
    if (lines.size() < smoothLimit) {
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(QPen(QColor::fromRgba(edgeColour), 1));
        painter.drawLines(lines);
    } else {
        painter.end();
        drawThinLines(image, lines, edgeColour);
        painter.begin(&image);
    }

    // Dots in graph order, each a copy of its ready-drawn image.
    DotImages dots;
    for (int i = 0; i < nodeCount; ++i) {
        if (!scene.drawn[std::size_t(i)])
            continue;
        const QPointF p = at(i);
        if (!inside(p.x(), p.y()))
            continue;
        const QImage &dot = dots.dot(scene.colours[std::size_t(i)], scene.radii[std::size_t(i)]);
        painter.drawImage(
            QPoint(int(std::lround(p.x() - dot.width() / 2.0)), int(std::lround(p.y() - dot.height() / 2.0))), dot);
    }
    return image;
}

MapPainter::MapPainter(Done done, QObject *parent)
    : QObject(parent)
    , m_done(std::move(done))
{
}

// A picture still being drawn is finished on its worker and dropped.
MapPainter::~MapPainter() = default;

void MapPainter::request(Scene scene, const MapFrame &frame, quint64 version)
{
    Request next{std::move(scene), frame, version};
    if (m_watcher)
        m_waiting = std::move(next);
    else
        start(std::move(next));
}

void MapPainter::start(Request request)
{
    m_watcher = startInBackground<QImage>(
        [scene = request.scene, frame = request.frame] { return std::optional(drawMap(*scene, frame)); });
    QFutureWatcher<QImage> *watcher = m_watcher.get();
    connect(watcher, &QFutureWatcherBase::finished, this,
        [this, watcher, frame = request.frame, version = request.version] {
            auto spent = std::move(m_watcher);
            spent.release()->deleteLater();
            if (m_waiting)
                start(*std::exchange(m_waiting, std::nullopt));
            if (const std::optional<QImage> picture = resultOf(*watcher))
                m_done(*picture, frame, version);
        });
}

} // namespace halvic::graphview
