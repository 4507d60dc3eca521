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

constexpr double visibleMargin = 40;
constexpr double labelScale = 1.25;
// Above this many nodes on screen, shapes are drawn without antialiasing: the software
// renderer would otherwise spend most of a frame smoothing dots too small to show it.
constexpr int smoothLimit = 1500;

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
    if (m_selected && std::find(m_ids.begin(), m_ids.end(), *m_selected) == m_ids.end())
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
            update();
        },
        Qt::QueuedConnection);
    update();
}

void GraphView::layoutIfReady()
{
    if (m_laidOut || !m_panel || m_panel->model().graphNodes().empty() || !(width() > 1))
        return;
    m_laidOut = true;
    m_degreesStale = false;
    const MemoryModel &model = m_panel->model();
    m_runner.start(model.graphNodes(), model.graphEdges(), m_positions);
    emit layingOutChanged();
}

void GraphView::applyLayout(const graphlayout::Result &result)
{
    m_positions = result.positions;
    m_degrees = result.degrees;
    // Links made or cut while the layout ran are counted again.
    if (m_degreesStale && m_panel) {
        m_degreesStale = false;
        m_degrees = graphlayout::degrees(m_panel->model().graphEdges());
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
        m_positions.insert(*m_dragNode, {m_dragStart.x + moved.x() / m_nav.scale, m_dragStart.y + moved.y() / m_nav.scale});
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

void GraphView::paint(QPainter *painter)
{
    if (!m_panel)
        return;
    const QSizeF area = viewSize();
    const QRectF visible = QRectF(QPointF(), area).adjusted(-visibleMargin, -visibleMargin, visibleMargin, visibleMargin);
    const auto &edges = m_panel->model().graphEdges();

    // Edges first, all in one call per pen.
    QList<QLineF> lines;
    std::optional<QLineF> selectedLine;
    for (const GraphEdge &edge : edges) {
        const auto a = m_positions.constFind(edge.from);
        const auto b = m_positions.constFind(edge.to);
        if (a == m_positions.constEnd() || b == m_positions.constEnd())
            continue;
        const QPointF pa = toView(*a, area, m_nav);
        const QPointF pb = toView(*b, area, m_nav);
        if (!visible.contains(pa) && !visible.contains(pb))
            continue;
        if (m_selectedEdge && edge == *m_selectedEdge)
            selectedLine = QLineF(pa, pb);
        else
            lines.append(QLineF(pa, pb));
    }
    painter->setRenderHint(QPainter::Antialiasing, lines.size() < smoothLimit);
    painter->setPen(QPen(QColor(142, 142, 147, 77), 1));
    painter->drawLines(lines);
    if (selectedLine) {
        painter->setPen(QPen(QColor(0xff, 0x9f, 0x0a), 2));
        painter->drawLine(*selectedLine);
    }

    // Nodes in graph order, then the rings and labels over them.
    struct Shown
    {
        std::size_t index;
        QPointF at;
        double radius;
    };
    std::vector<Shown> shown;
    for (std::size_t i = 0; i < m_ids.size(); ++i) {
        const auto it = m_positions.constFind(m_ids[i]);
        if (it == m_positions.constEnd())
            continue;
        const QPointF at = toView(*it, area, m_nav);
        if (visible.contains(at))
            shown.push_back({i, at, nodeRadius(m_degrees.value(m_ids[i]))});
    }
    painter->setRenderHint(QPainter::Antialiasing, shown.size() < std::size_t(smoothLimit));
    painter->setPen(Qt::NoPen);
    for (const Shown &node : shown) {
        painter->setBrush(m_colours[node.index]);
        painter->drawEllipse(node.at, node.radius, node.radius);
    }
    painter->setRenderHint(QPainter::Antialiasing, true);
    QFont font = painter->font();
    font.setPixelSize(9);
    font.setWeight(QFont::Medium);
    painter->setFont(font);
    const QFontMetricsF metrics(font);
    const bool labelAll = m_nav.scale > labelScale;
    for (const Shown &node : shown) {
        const QString &id = m_ids[node.index];
        const bool selected = m_selected == id;
        if (selected || m_pending == id) {
            painter->setBrush(Qt::NoBrush);
            painter->setPen(QPen(Qt::white, 2));
            painter->drawEllipse(node.at, node.radius + 3, node.radius + 3);
        }
        if (labelAll || selected) {
            const QString label = nodeLabel(m_panel->model().graphNodes()[node.index].text);
            const double w = metrics.horizontalAdvance(label);
            painter->setPen(QColor(0xf2, 0xf2, 0xf7));
            painter->drawText(QPointF(node.at.x() - w / 2, node.at.y() + node.radius + 8 + metrics.ascent()), label);
        }
    }
}

} // namespace halvic
