#pragma once

#include <QFutureWatcher>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QPointF>
#include <QRgb>
#include <QSize>

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "GraphLayout.h"

namespace halvic::graphview {

/// What the map's picture is drawn from, by node index: each node's point, whether it has
/// one, its dot's radius and colour; and the edges as node index pairs (-1 for no node).
struct MapScene
{
    std::vector<graphlayout::Vec2> points;
    std::vector<char> drawn;
    std::vector<float> radii;
    std::vector<QRgb> colours;
    std::vector<std::pair<int, int>> edges;
};

/// Where a picture of the map looks: its size in pixels, the zoom, and the pixel where the
/// graph's origin lies.
struct MapFrame
{
    QSize size;
    double scale = 1;
    QPointF origin;
    friend bool operator==(const MapFrame &, const MapFrame &) = default;
};

/// How far outside a picture or view a dot may lie and still be drawn (its edge shows).
inline constexpr double visibleMargin = 40;

/// Each memory's dot, drawn smooth once per colour and radius, then copied.
class DotImages
{
public:
    const QImage &dot(QRgb colour, double radius);

private:
    QHash<quint64, QImage> m_images;
};

/// The lasting part of the map (edges, then dots) as seen through `frame`. Safe on any
/// thread.
QImage drawMap(const MapScene &scene, const MapFrame &frame);

/// Draws map pictures on a worker thread, one at a time. A request made while one is being
/// drawn waits, replacing any older waiting one, so a pan never queues up stale pictures.
class MapPainter : public QObject
{
public:
    using Scene = std::shared_ptr<const MapScene>;
    using Done = std::function<void(const QImage &picture, const MapFrame &frame, quint64 version)>;

    explicit MapPainter(Done done, QObject *parent = nullptr);
    ~MapPainter() override;

    void request(Scene scene, const MapFrame &frame, quint64 version);

private:
    struct Request
    {
        Scene scene;
        MapFrame frame;
        quint64 version = 0;
    };
    void start(Request request);

    Done m_done;
    std::optional<Request> m_waiting;
    std::unique_ptr<QFutureWatcher<QImage>> m_watcher;
};

} // namespace halvic::graphview
