#include "GraphView.h"

#include <QFontMetricsF>
#include <QNativeGestureEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <map>

#include "MemoryPanel.h"

namespace halvic {

using namespace graphview;
using graphlayout::Vec2;

namespace {

constexpr double labelScale = 1.25;
constexpr int fitMotionMs = 350;

// How far the map's picture reaches beyond the view on each side, so that a pan only moves
// it: a new one is drawn when the view comes within half of this of its edge.
int pictureMargin(QSizeF area)
{
    return std::clamp(int(std::max(area.width(), area.height()) / 4), 64, 256);
}

} // namespace

GraphView::GraphView(QQuickItem *parent)
    : QQuickPaintedItem(parent)
    , m_painter([this](const QImage &picture, const MapFrame &frame, quint64 version) {
        pictureDrawn(picture, frame, version);
    })
{
    setAcceptedMouseButtons(Qt::LeftButton);
    setOpaquePainting(false);
    connect(&m_runner, &GraphLayoutRunner::finished, this, &GraphView::applyLayout);
    m_labelsSettle.setSingleShot(true);
    m_labelsSettle.setInterval(250);
    connect(&m_labelsSettle, &QTimer::timeout, this, &GraphView::collectShownLabels);
    m_fitMotion.setStartValue(0.0);
    m_fitMotion.setEndValue(1.0);
    m_fitMotion.setDuration(fitMotionMs);
    m_fitMotion.setEasingCurve(QEasingCurve::InOutQuad);
    connect(&m_fitMotion, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        const double t = value.toDouble();
        showNav({m_fitFrom.scale + (m_fitTo.scale - m_fitFrom.scale) * t,
            m_fitFrom.offset + (m_fitTo.offset - m_fitFrom.offset) * t});
    });
}

GraphView::~GraphView() = default;

void GraphView::setPanel(MemoryPanel *panel)
{
    if (m_panel == panel)
        return;
    if (m_panel)
        disconnect(&m_panel->model(), nullptr, this, nullptr);
    m_panel = panel;
    emit panelChanged();
    if (!panel)
        return;
    MemoryModel &model = panel->model();
    connect(&model, &MemoryModel::graphVersionChanged, this, &GraphView::graphArrived);
    connect(&model, &MemoryModel::graphEdgesChanged, this, &GraphView::edgesChanged);
    connect(&model, &MemoryModel::graphNodesChanged, this, &GraphView::nodesChanged);
    nodesChanged();
    m_degrees = graphlayout::degrees(model.graphEdges());
    layoutIfReady();
}

void GraphView::nodesChanged()
{
    if (!m_panel)
        return;
    const auto &nodes = m_panel->model().graphNodes();
    m_ids.clear();
    m_colours.clear();
    m_ids.reserve(nodes.size());
    m_colours.reserve(nodes.size());
    std::map<QString, QColor> kinds;
    for (const GraphNode &node : nodes) {
        auto it = kinds.find(node.kind);
        if (it == kinds.end())
            it = kinds.emplace(node.kind, kindColour(node.kind)).first;
        m_ids.push_back(node.id);
        m_colours.push_back(it->second);
    }
    QVariantList legend;
    for (const auto &[kind, colour] : kinds)
        legend.append(QVariantMap{{QStringLiteral("name"), kindName(kind)}, {QStringLiteral("colour"), colour}});
    if (legend != m_legend) {
        m_legend = legend;
        emit legendChanged();
    }
    ++m_graphEdits;
    m_indexOf.clear();
    m_indexOf.reserve(qsizetype(m_ids.size()));
    for (std::size_t i = 0; i < m_ids.size(); ++i)
        m_indexOf.insert(m_ids[i], int(i)); // a repeated id is drawn where its last copy is
    m_drawingStale = true;
    if (m_selected && !m_indexOf.contains(*m_selected))
        select(std::nullopt, m_selectedEdge);
    redraw();
}

void GraphView::graphArrived()
{
    m_laidOut = false;
    layoutIfReady();
}

void GraphView::edgesChanged()
{
    if (m_selectedEdge && m_panel) {
        const auto &edges = m_panel->model().graphEdges();
        if (std::find(edges.begin(), edges.end(), *m_selectedEdge) == edges.end())
            select(m_selected, std::nullopt);
    }
    ++m_graphEdits;
    // Counted once control returns to the event loop: a new graph brings its counts with
    // its layout, and a link or a cut only needs them before the next frame.
    m_degreesStale = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!m_degreesStale || !m_panel)
                return;
            m_degreesStale = false;
            m_degrees = graphlayout::degrees(m_panel->model().graphEdges());
            m_drawingStale = true;
            redraw();
        },
        Qt::QueuedConnection);
    m_drawingStale = true;
    redraw();
}

void GraphView::layoutIfReady()
{
    if (m_laidOut || !m_panel || m_panel->model().graphNodes().empty() || !(width() > 1))
        return;
    m_laidOut = true;
    m_degreesStale = false;
    const MemoryModel &model = m_panel->model();
    m_editsAtLayout = m_graphEdits;
    m_runner.start(model.graphNodes(), model.graphEdges(), m_positions);
    emit layingOutChanged();
}

void GraphView::applyLayout(const GraphLayoutRunner::Outcome &outcome)
{
    m_positions = outcome.layout.positions;
    m_degrees = outcome.layout.degrees;
    // Links made or cut while the layout ran are counted again.
    if (m_degreesStale && m_panel) {
        m_degreesStale = false;
        m_degrees = graphlayout::degrees(m_panel->model().graphEdges());
    }
    m_drawingStale = m_graphEdits != m_editsAtLayout || outcome.drawing.points.size() != m_ids.size();
    if (!m_drawingStale) {
        m_drawPoints = outcome.drawing.points;
        m_drawn = outcome.drawing.placed;
        m_drawEdges = outcome.drawing.edges;
        m_radii.resize(outcome.drawing.degrees.size());
        for (std::size_t i = 0; i < m_radii.size(); ++i)
            m_radii[i] = float(nodeRadius(outcome.drawing.degrees[i]));
        ++m_mapVersion;
    }
    // A new layout is fitted at once: the old view of it means nothing any more.
    if (const auto fitted = fittedNav())
        setNav(*fitted);
    emit layingOutChanged();
    redraw();
    emit laidOutApplied();
}

std::optional<QPointF> GraphView::viewPoint(const QString &id) const
{
    const auto it = m_positions.constFind(id);
    if (it == m_positions.constEnd())
        return std::nullopt;
    return toView(*it, viewSize(), m_nav);
}

void GraphView::setNav(const Nav &nav)
{
    m_fitMotion.stop();
    showNav(nav);
}

void GraphView::showNav(const Nav &nav)
{
    if (nav == m_nav)
        return;
    m_nav = nav;
    emit navChanged();
    redraw();
}

void GraphView::setHandTool(bool on)
{
    if (m_handTool == on && !(on && m_connectMode))
        return;
    m_handTool = on;
    if (on)
        m_connectMode = false;
    emit toolChanged();
}

void GraphView::toggleConnect()
{
    m_connectMode = !m_connectMode;
    m_pending.reset();
    emit toolChanged();
    redraw();
}

std::optional<Nav> GraphView::fittedNav() const
{
    if (const auto view = graphlayout::fit(m_positions, viewSize()))
        return Nav{view->scale, QPointF(view->offsetX, view->offsetY)};
    return std::nullopt;
}

void GraphView::fitAll()
{
    const auto fitted = fittedNav();
    if (!fitted)
        return;
    m_fitMotion.stop();
    if (*fitted == m_nav)
        return;
    m_fitFrom = m_nav;
    m_fitTo = *fitted;
    m_fitMotion.start();
}

void GraphView::zoomIn()
{
    setNav({std::min(m_nav.scale * buttonZoom, graphlayout::maxScale), m_nav.offset});
}

void GraphView::zoomOut()
{
    setNav({std::max(m_nav.scale / buttonZoom, graphlayout::minScale), m_nav.offset});
}

void GraphView::clearSelection()
{
    select(std::nullopt, std::nullopt);
}

void GraphView::cutSelectedEdge()
{
    if (!m_selectedEdge || !m_panel)
        return;
    const GraphEdge edge = *m_selectedEdge;
    select(m_selected, std::nullopt);
    m_panel->unlink(edge.from, edge.to);
}

void GraphView::select(std::optional<QString> node, std::optional<GraphEdge> edge)
{
    if (node == m_selected && edge == m_selectedEdge)
        return;
    m_selected = std::move(node);
    m_selectedEdge = std::move(edge);
    emit selectionChanged();
    redraw();
}

QString GraphView::selectedText() const
{
    if (!m_selected || !m_panel)
        return {};
    for (const GraphNode &node : m_panel->model().graphNodes()) {
        if (node.id == *m_selected)
            return node.text;
    }
    return {};
}

QString GraphView::selectedKindName() const
{
    if (!m_selected || !m_panel)
        return {};
    for (const GraphNode &node : m_panel->model().graphNodes()) {
        if (node.id == *m_selected)
            return kindName(node.kind);
    }
    return {};
}

QColor GraphView::selectedColour() const
{
    if (!m_selected || !m_panel)
        return {};
    for (const GraphNode &node : m_panel->model().graphNodes()) {
        if (node.id == *m_selected)
            return kindColour(node.kind);
    }
    return {};
}

void GraphView::geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry)
{
    QQuickPaintedItem::geometryChange(newGeometry, oldGeometry);
    if (newGeometry.size() != oldGeometry.size())
        layoutIfReady();
}

void GraphView::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    m_pressed = true;
    m_pressAt = event->position();
    m_dragNode.reset();
    m_panStart.reset();
    if (!m_handTool) {
        if (const auto hit = nodeAt(m_pressAt, viewSize(), m_nav, m_ids, m_positions, m_degrees)) {
            m_dragNode = m_ids[std::size_t(*hit)];
            m_dragStart = m_positions.value(*m_dragNode);
            return;
        }
    }
    m_panStart = m_nav.offset;
}

void GraphView::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_pressed)
        return;
    const QPointF moved = event->position() - m_pressAt;
    if (m_dragNode) {
        // The node follows the pointer at any zoom.
        const graphlayout::Vec2 at{m_dragStart.x + moved.x() / m_nav.scale, m_dragStart.y + moved.y() / m_nav.scale};
        m_positions.insert(*m_dragNode, at);
        for (std::size_t i = 0; i < m_ids.size() && !m_drawingStale; ++i) {
            if (m_ids[i] == *m_dragNode)
                m_drawPoints[i] = at;
        }
        ++m_mapVersion;
        redraw();
    } else if (m_panStart) {
        setNav({m_nav.scale, *m_panStart + moved});
    }
}

void GraphView::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_pressed)
        return;
    const QPointF moved = event->position() - m_pressAt;
    if (std::hypot(moved.x(), moved.y()) < clickDistance)
        click(m_pressAt);
    m_pressed = false;
    m_dragNode.reset();
    m_panStart.reset();
}

void GraphView::click(QPointF point)
{
    if (m_handTool)
        return;
    if (const auto hit = nodeAt(point, viewSize(), m_nav, m_ids, m_positions, m_degrees)) {
        const QString id = m_ids[std::size_t(*hit)];
        if (!m_connectMode) {
            select(m_selected == id ? std::nullopt : std::optional(id), std::nullopt);
            return;
        }
        if (!m_pending) {
            m_pending = id;
        } else {
            const QString pending = *m_pending;
            m_pending.reset();
            // Tapping the waiting memory again only lets it go.
            if (pending != id && m_panel)
                m_panel->link(pending, id);
        }
        emit toolChanged();
        select(id, std::nullopt);
        return;
    }
    if (!m_connectMode && m_panel) {
        if (const auto edge = edgeAt(point, viewSize(), m_nav, m_panel->model().graphEdges(), m_positions)) {
            select(std::nullopt, m_panel->model().graphEdges()[std::size_t(*edge)]);
            return;
        }
    }
    select(std::nullopt, std::nullopt);
}

void GraphView::mouseDoubleClickEvent(QMouseEvent *event)
{
    event->accept();
    const double factor = (event->modifiers() & Qt::AltModifier) ? zoomOutFactor : zoomInFactor;
    setNav(zoomedAbout(m_nav, factor, event->position(), viewSize()));
}

void GraphView::wheelEvent(QWheelEvent *event)
{
    // Consumed whether or not the zoom changes: scrolling over the map never scrolls anything else.
    event->accept();
    const double change = !event->pixelDelta().isNull() ? event->pixelDelta().y() * 0.01
                                                        : event->angleDelta().y() / 120.0 * wheelZoomPerNotch;
    setNav(zoomedBy(m_nav, change));
}

bool GraphView::event(QEvent *event)
{
    if (event->type() == QEvent::NativeGesture) {
        const auto *gesture = static_cast<QNativeGestureEvent *>(event);
        if (gesture->gestureType() == Qt::ZoomNativeGesture)
            setNav(zoomedBy(m_nav, gesture->value()));
        event->accept();
        return true;
    }
    return QQuickPaintedItem::event(event);
}

void GraphView::rebuildDrawing()
{
    m_drawingStale = false;
    ++m_mapVersion;
    m_drawPoints.assign(m_ids.size(), {});
    m_drawn.assign(m_ids.size(), 0);
    m_radii.assign(m_ids.size(), 0);
    for (std::size_t i = 0; i < m_ids.size(); ++i) {
        const auto it = m_positions.constFind(m_ids[i]);
        if (it == m_positions.constEnd())
            continue;
        m_drawPoints[i] = *it;
        m_drawn[i] = 1;
        m_radii[i] = float(nodeRadius(m_degrees.value(m_ids[i])));
    }
    m_drawEdges.clear();
    if (!m_panel)
        return;
    const auto &edges = m_panel->model().graphEdges();
    m_drawEdges.reserve(edges.size());
    for (const GraphEdge &edge : edges)
        m_drawEdges.emplace_back(m_indexOf.value(edge.from, -1), m_indexOf.value(edge.to, -1));
}

void GraphView::redraw()
{
    polish();
    update();
    m_labelsSettle.start();
}

void GraphView::collectShownLabels()
{
    QStringList labels;
    int more = 0;
    if (m_panel && !m_drawingStale) {
        const auto &nodes = m_panel->model().graphNodes();
        const auto add = [&](std::size_t i) {
            if (i >= nodes.size())
                return;
            if (labels.size() < readLabelLimit)
                labels << nodeLabel(nodes[i].text);
            else
                ++more;
        };
        if (m_nav.scale <= labelScale) {
            const int i = m_selected ? m_indexOf.value(*m_selected, -1) : -1;
            if (i >= 0)
                add(std::size_t(i));
        } else {
            const QPointF origin = mapOrigin();
            const QRectF view(0, 0, width(), height());
            for (std::size_t i = 0; i < m_drawn.size() && i < m_drawPoints.size(); ++i) {
                const QPointF at(
                    origin.x() + m_drawPoints[i].x * m_nav.scale, origin.y() + m_drawPoints[i].y * m_nav.scale);
                if (m_drawn[i] && view.contains(at))
                    add(i);
            }
        }
    }
    QString text = labels.join(QStringLiteral("; "));
    if (more > 0)
        text += tr("; and %1 more").arg(more);
    if (text == m_shownLabels)
        return;
    m_shownLabels = text;
    emit shownLabelsChanged();
}

QPointF GraphView::mapOrigin() const
{
    return {width() / 2 + m_nav.offset.x(), height() / 2 + m_nav.offset.y()};
}

bool GraphView::layoutWillRedraw() const
{
    return m_drawingStale && m_runner.isRunning() && m_editsAtLayout == m_graphEdits;
}

void GraphView::updatePolish()
{
    // A new graph whose layout is running brings its drawing with it: until then the last
    // picture stays, rather than the main thread working out one for a moment.
    if (m_drawingStale && !layoutWillRedraw())
        rebuildDrawing();
    refreshPicture();
}

void GraphView::refreshPicture()
{
    const QSizeF area = viewSize();
    if (!m_panel || m_drawingStale || !(area.width() >= 1 && area.height() >= 1))
        return;
    const int margin = pictureMargin(area);
    const QSize size(int(std::ceil(area.width())) + 2 * margin, int(std::ceil(area.height())) + 2 * margin);
    const QPointF origin = mapOrigin();
    const auto serves = [&](const MapFrame &frame, quint64 version) {
        if (version != m_mapVersion || frame.scale != m_nav.scale || frame.size != size)
            return false;
        const QPointF topLeft = frame.origin - origin; // the view's corner in the picture
        const double slack = margin / 2.0;
        return topLeft.x() >= slack && topLeft.y() >= slack && topLeft.x() + area.width() <= size.width() - slack
            && topLeft.y() + area.height() <= size.height() - slack;
    };
    if (!m_picture.isNull() && serves(m_pictureFrame, m_pictureVersion))
        return;
    if (m_requested && serves(m_requested->first, m_requested->second))
        return;
    const MapFrame frame{size, m_nav.scale, origin + QPointF(margin, margin)};
    m_requested = std::make_pair(frame, m_mapVersion);
    m_painter.request(scene(), frame, m_mapVersion);
}

std::shared_ptr<const MapScene> GraphView::scene()
{
    if (m_scene && m_sceneVersion == m_mapVersion)
        return m_scene;
    auto scene = std::make_shared<MapScene>();
    scene->points = m_drawPoints;
    scene->drawn = m_drawn;
    scene->radii = m_radii;
    scene->colours.reserve(m_colours.size());
    for (const QColor &colour : m_colours)
        scene->colours.push_back(colour.rgba());
    scene->colours.resize(scene->points.size(), 0);
    scene->edges = m_drawEdges;
    m_scene = std::move(scene);
    m_sceneVersion = m_mapVersion;
    return m_scene;
}

void GraphView::pictureDrawn(const QImage &picture, const MapFrame &frame, quint64 version)
{
    if (m_requested && m_requested->first == frame && m_requested->second == version)
        m_requested.reset();
    if (version < m_pictureVersion)
        return;
    m_picture = picture;
    m_pictureFrame = frame;
    m_pictureVersion = version;
    redraw();
}

void GraphView::paint(QPainter *painter)
{
    if (!m_panel)
        return;
    // The picture holds edges and dots; it moves with a pan and stretches with a zoom until
    // the next one comes back from the worker.
    const QPointF origin = mapOrigin();
    if (!m_picture.isNull()) {
        const double stretch = m_nav.scale / m_pictureFrame.scale;
        const QPointF topLeft = origin - m_pictureFrame.origin * stretch;
        if (stretch == 1.0)
            painter->drawImage(QPoint(int(std::lround(topLeft.x())), int(std::lround(topLeft.y()))), m_picture);
        else
            painter->drawImage(QRectF(topLeft, QSizeF(m_picture.size()) * stretch), m_picture);
    }
    if (m_drawingStale)
        return; // the arrays are the last graph's until the new one's layout arrives

    // On top: the selected link, the dragged memory, rings and labels.
    const double scale = m_nav.scale;
    const QSizeF area = viewSize();
    const auto pointOf = [&](int i) {
        return QPointF(
            origin.x() + m_drawPoints[std::size_t(i)].x * scale, origin.y() + m_drawPoints[std::size_t(i)].y * scale);
    };
    const auto drawnIndex = [&](const std::optional<QString> &id) {
        const int i = id ? m_indexOf.value(*id, -1) : -1;
        return i >= 0 && std::size_t(i) < m_drawn.size() && m_drawn[std::size_t(i)] ? i : -1;
    };
    painter->setRenderHint(QPainter::Antialiasing, true);
    if (m_selectedEdge) {
        const int a = drawnIndex(m_selectedEdge->from), b = drawnIndex(m_selectedEdge->to);
        if (a >= 0 && b >= 0) {
            painter->setPen(QPen(QColor(0xff, 0x9f, 0x0a), 2));
            painter->drawLine(pointOf(a), pointOf(b));
        }
    }
    if (const int i = drawnIndex(m_dragNode); i >= 0) {
        const QImage &image = m_dots.dot(m_colours[std::size_t(i)].rgba(), m_radii[std::size_t(i)]);
        const QPointF at = pointOf(i);
        painter->drawImage(
            QPoint(int(std::lround(at.x() - image.width() / 2.0)), int(std::lround(at.y() - image.height() / 2.0))),
            image);
    }
    for (const int i : {drawnIndex(m_selected), drawnIndex(m_pending)}) {
        if (i < 0)
            continue;
        const double r = m_radii[std::size_t(i)];
        painter->setBrush(Qt::NoBrush);
        painter->setPen(QPen(Qt::white, 2));
        painter->drawEllipse(pointOf(i), r + 3, r + 3);
    }

    QFont font = painter->font();
    font.setPixelSize(9);
    font.setWeight(QFont::Medium);
    painter->setFont(font);
    painter->setPen(QColor(0xf2, 0xf2, 0xf7));
    const QFontMetricsF metrics(font);
    const auto &nodes = m_panel->model().graphNodes();
    const auto label = [&](int i) {
        if (std::size_t(i) >= nodes.size())
            return;
        const QPointF at = pointOf(i);
        const QString text = nodeLabel(nodes[std::size_t(i)].text);
        const double w = metrics.horizontalAdvance(text);
        painter->drawText(QPointF(at.x() - w / 2, at.y() + m_radii[std::size_t(i)] + 8 + metrics.ascent()), text);
    };
    if (m_nav.scale <= labelScale) {
        if (const int i = drawnIndex(m_selected); i >= 0)
            label(i);
        return;
    }
    const QRectF visible(
        -visibleMargin, -visibleMargin, area.width() + 2 * visibleMargin, area.height() + 2 * visibleMargin);
    for (std::size_t i = 0; i < m_drawn.size(); ++i) {
        if (m_drawn[i] && visible.contains(pointOf(int(i))))
            label(int(i));
    }
}

} // namespace halvic
