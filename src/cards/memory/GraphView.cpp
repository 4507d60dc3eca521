#include "GraphView.h"

#include <QFontMetricsF>
#include <QNativeGestureEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <map>

#include "MemoryPanel.h"
#include "ThinLines.h"

namespace halvic {

using namespace graphview;
using graphlayout::Vec2;

namespace {

constexpr double visibleMargin = 40;
constexpr double labelScale = 1.25;
// Above this many nodes on screen, shapes are drawn without antialiasing: the software
// renderer would otherwise spend most of a frame smoothing dots too small to show it.
constexpr int smoothLimit = 1500;
// At most this many edges are drawn per frame: beyond it a map is a hairball whose look does
// not change when only every second (third, …) edge is drawn, while the cost of a frame
// would grow without bound.
constexpr std::size_t edgesPerFrame = 40000;

} // namespace

GraphView::GraphView(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
    setAcceptedMouseButtons(Qt::LeftButton);
    setOpaquePainting(false);
    connect(&m_runner, &GraphLayoutRunner::finished, this, &GraphView::applyLayout);
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
    update();
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
            update();
        },
        Qt::QueuedConnection);
    m_drawingStale = true;
    update();
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
    }
    fitAll();
    emit layingOutChanged();
    update();
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
    if (nav == m_nav)
        return;
    m_nav = nav;
    emit navChanged();
    update();
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
    update();
}

void GraphView::fitAll()
{
    if (const auto view = graphlayout::fit(m_positions, viewSize()))
        setNav({view->scale, QPointF(view->offsetX, view->offsetY)});
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
    update();
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
        update();
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

const QImage &GraphView::dot(QColor colour, double radius)
{
    const quint64 key = (quint64(colour.rgba()) << 16) | quint64(std::lround(radius * 4));
    auto it = m_dots.find(key);
    if (it != m_dots.end())
        return *it;
    const int side = int(std::ceil(radius * 2)) + 2;
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(QPointF(side / 2.0, side / 2.0), radius, radius);
    painter.end();
    return *m_dots.insert(key, image);
}

void GraphView::paint(QPainter *painter)
{
    if (!m_panel)
        return;
    if (m_drawingStale)
        rebuildDrawing();
    const QSizeF area = viewSize();
    const double left = -visibleMargin, top = -visibleMargin;
    const double right = area.width() + visibleMargin, bottom = area.height() + visibleMargin;
    const double cx = area.width() / 2 + m_nav.offset.x();
    const double cy = area.height() / 2 + m_nav.offset.y();
    const double scale = m_nav.scale;
    const auto inside = [&](double x, double y) { return x >= left && x <= right && y >= top && y <= bottom; };

    // Edges first, in one call for all but the selected one.
    m_lines.clear();
    std::optional<QLineF> selectedLine;
    const auto &edges = m_panel->model().graphEdges();
    const std::size_t stride = m_drawEdges.size() / edgesPerFrame + 1;
    for (std::size_t e = 0; e < m_drawEdges.size(); ++e) {
        const bool isSelected = m_selectedEdge && e < edges.size() && edges[e] == *m_selectedEdge;
        if (e % stride != 0 && !isSelected)
            continue;
        const auto [a, b] = m_drawEdges[e];
        if (a < 0 || b < 0 || !m_drawn[std::size_t(a)] || !m_drawn[std::size_t(b)])
            continue;
        const double ax = cx + m_drawPoints[std::size_t(a)].x * scale, ay = cy + m_drawPoints[std::size_t(a)].y * scale;
        const double bx = cx + m_drawPoints[std::size_t(b)].x * scale, by = cy + m_drawPoints[std::size_t(b)].y * scale;
        if (!inside(ax, ay) && !inside(bx, by))
            continue;
        if (isSelected)
            selectedLine = QLineF(ax, ay, bx, by);
        else
            m_lines.append(QLineF(ax, ay, bx, by));
    }
    const QColor edgeColour(142, 142, 147, 77);
    if (m_lines.size() < smoothLimit) {
        painter->setRenderHint(QPainter::Antialiasing, true);
        painter->setPen(QPen(edgeColour, 1));
        painter->drawLines(m_lines);
    } else {
        const QSize pixels = area.toSize();
        if (m_canvas.size() != pixels)
            m_canvas = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
        m_canvas.fill(Qt::transparent);
        drawThinLines(m_canvas, m_lines, edgeColour.rgba());
        painter->drawImage(QPoint(0, 0), m_canvas);
    }
    if (selectedLine) {
        painter->setRenderHint(QPainter::Antialiasing, true);
        painter->setPen(QPen(QColor(0xff, 0x9f, 0x0a), 2));
        painter->drawLine(*selectedLine);
    }

    // Nodes in graph order, each a copy of its ready-drawn dot; then rings and labels.
    std::vector<std::size_t> shown;
    for (std::size_t i = 0; i < m_ids.size(); ++i) {
        if (!m_drawn[i])
            continue;
        const double x = cx + m_drawPoints[i].x * scale, y = cy + m_drawPoints[i].y * scale;
        if (!inside(x, y))
            continue;
        shown.push_back(i);
        const QImage &image = dot(m_colours[i], m_radii[i]);
        painter->drawImage(
            QPoint(int(std::lround(x - image.width() / 2.0)), int(std::lround(y - image.height() / 2.0))), image);
    }
    painter->setRenderHint(QPainter::Antialiasing, true);
    QFont font = painter->font();
    font.setPixelSize(9);
    font.setWeight(QFont::Medium);
    painter->setFont(font);
    const QFontMetricsF metrics(font);
    const bool labelAll = m_nav.scale > labelScale;
    const auto &nodes = m_panel->model().graphNodes();
    for (const std::size_t i : shown) {
        const QString &id = m_ids[i];
        const bool selected = m_selected == id;
        const bool ringed = selected || m_pending == id;
        if (!ringed && !labelAll)
            continue;
        const QPointF at(cx + m_drawPoints[i].x * scale, cy + m_drawPoints[i].y * scale);
        const double r = m_radii[i];
        if (ringed) {
            painter->setBrush(Qt::NoBrush);
            painter->setPen(QPen(Qt::white, 2));
            painter->drawEllipse(at, r + 3, r + 3);
        }
        if ((labelAll || selected) && i < nodes.size()) {
            const QString label = nodeLabel(nodes[i].text);
            const double w = metrics.horizontalAdvance(label);
            painter->setPen(QColor(0xf2, 0xf2, 0xf7));
            painter->drawText(QPointF(at.x() - w / 2, at.y() + r + 8 + metrics.ascent()), label);
        }
    }
}

} // namespace halvic
