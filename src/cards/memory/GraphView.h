#pragma once

#include <QImage>
#include <QPointer>
#include <QQuickPaintedItem>
#include <QTimer>
#include <QVariantAnimation>
#include <QVariantList>
#include <QtQmlIntegration>

#include <memory>
#include <optional>
#include <utility>

#include "GraphGeometry.h"
#include "GraphLayoutRunner.h"
#include "MapPicture.h"
#include "MemoryPanel.h"

namespace halvic {

/// The map of the memory graph: lays the graph out (off the main thread) whenever a new one
/// arrives, keeping the places of the memories it already had, draws it through the scene
/// graph (as a painted item, which both the OpenGL and the software scene graph draw; the
/// edges and dots come as a picture drawn on a worker thread), and
/// lets the user pan, zoom, move memories, select a memory or a link, link two memories and
/// cut a link. Positions, zoom and selection live as long as the item.
class GraphView : public QQuickPaintedItem
{
    Q_OBJECT
    QML_ELEMENT
    /// The memory card whose graph this shows and whose closures it calls.
    Q_PROPERTY(halvic::MemoryPanel *panel READ panel WRITE setPanel NOTIFY panelChanged)
    Q_PROPERTY(double zoom READ zoom NOTIFY navChanged)
    Q_PROPERTY(QPointF pan READ pan NOTIFY navChanged)
    /// The hand tool: drags always pan.
    Q_PROPERTY(bool handTool READ handTool WRITE setHandTool NOTIFY toolChanged)
    Q_PROPERTY(bool connectMode READ connectMode NOTIFY toolChanged)
    /// In connect mode, a first memory has been tapped.
    Q_PROPERTY(bool hasPending READ hasPending NOTIFY toolChanged)
    Q_PROPERTY(bool layingOut READ layingOut NOTIFY layingOutChanged)
    Q_PROPERTY(bool nodeSelected READ nodeSelected NOTIFY selectionChanged)
    Q_PROPERTY(bool edgeSelected READ edgeSelected NOTIFY selectionChanged)
    Q_PROPERTY(QString selectedText READ selectedText NOTIFY selectionChanged)
    Q_PROPERTY(QString selectedKindName READ selectedKindName NOTIFY selectionChanged)
    Q_PROPERTY(QColor selectedColour READ selectedColour NOTIFY selectionChanged)
    /// One entry per distinct kind, sorted: {"name": friendly name, "colour": colour}.
    Q_PROPERTY(QVariantList legend READ legend NOTIFY legendChanged)
    /// The labels the map shows now, for the accessibility bus: those of the memories in view
    /// when zoomed in far enough to show them, else the selected memory's.
    Q_PROPERTY(QString shownLabels READ shownLabels NOTIFY shownLabelsChanged)
public:
    explicit GraphView(QQuickItem *parent = nullptr);
    ~GraphView() override;

    MemoryPanel *panel() const { return m_panel; }
    void setPanel(MemoryPanel *panel);

    double zoom() const { return m_nav.scale; }
    QPointF pan() const { return m_nav.offset; }
    const graphview::Nav &nav() const { return m_nav; }
    bool handTool() const { return m_handTool; }
    void setHandTool(bool on);
    bool connectMode() const { return m_connectMode; }
    bool hasPending() const { return m_pending.has_value(); }
    bool layingOut() const { return m_runner.isRunning(); }
    bool nodeSelected() const { return m_selected.has_value(); }
    bool edgeSelected() const { return m_selectedEdge.has_value(); }
    QString selectedText() const;
    QString selectedKindName() const;
    QColor selectedColour() const;
    QVariantList legend() const { return m_legend; }
    QString shownLabels() const { return m_shownLabels; }
    /// At most this many labels are read out; the rest are counted.
    static constexpr int readLabelLimit = 40;

    const graphlayout::Positions &positions() const { return m_positions; }
    const graphlayout::Degrees &degrees() const { return m_degrees; }
    std::optional<QString> selectedNode() const { return m_selected; }
    std::optional<GraphEdge> selectedEdge() const { return m_selectedEdge; }
    /// Where node `id` is drawn, in the item's coordinates; none without a position.
    std::optional<QPointF> viewPoint(const QString &id) const;

    /// The toolbar: fit everything in (the view eases there), zoom about the middle, connect mode.
    Q_INVOKABLE void fitAll();
    Q_INVOKABLE void zoomIn();
    Q_INVOKABLE void zoomOut();
    Q_INVOKABLE void toggleConnect();
    /// The selection card's buttons.
    Q_INVOKABLE void clearSelection();
    Q_INVOKABLE void cutSelectedEdge();

    void paint(QPainter *painter) override;

signals:
    void panelChanged();
    void navChanged();
    void toolChanged();
    void layingOutChanged();
    void selectionChanged();
    void legendChanged();
    /// A layout has been applied (tests and benchmarks wait for it).
    void laidOutApplied();
    void shownLabelsChanged();

protected:
    void geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry) override;
    void updatePolish() override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    bool event(QEvent *event) override;

private:
    void graphArrived();
    void edgesChanged();
    void nodesChanged();
    void layoutIfReady();
    void applyLayout(const GraphLayoutRunner::Outcome &outcome);
    /// Changes the view at once, ending a "Fit all" under way.
    void setNav(const graphview::Nav &nav);
    void showNav(const graphview::Nav &nav);
    std::optional<graphview::Nav> fittedNav() const;
    void click(QPointF point);
    void select(std::optional<QString> node, std::optional<GraphEdge> edge);
    QSizeF viewSize() const { return size(); }
    void rebuildDrawing();
    /// Schedules a frame, and the check whether the map's picture still serves it.
    void redraw();
    /// Where the graph's origin is in the item.
    QPointF mapOrigin() const;
    bool layoutWillRedraw() const;
    void refreshPicture();
    std::shared_ptr<const graphview::MapScene> scene();
    void collectShownLabels();
    void pictureDrawn(const QImage &picture, const graphview::MapFrame &frame, quint64 version);

    QPointer<MemoryPanel> m_panel;
    GraphLayoutRunner m_runner;
    graphlayout::Positions m_positions;
    graphlayout::Degrees m_degrees;
    graphview::Nav m_nav;
    bool m_laidOut = false;
    bool m_degreesStale = false;
    bool m_handTool = false;
    bool m_connectMode = false;
    std::optional<QString> m_pending;
    std::optional<QString> m_selected;
    std::optional<GraphEdge> m_selectedEdge;
    QVariantList m_legend;
    QString m_shownLabels;
    // Labels are collected once the map has settled, not on every frame of a pan.
    QTimer m_labelsSettle;
    // "Fit all" eases from the view the user had to the fitted one.
    QVariantAnimation m_fitMotion;
    graphview::Nav m_fitFrom;
    graphview::Nav m_fitTo;
    // Node ids in graph order and their colours, kept with the graph for drawing and hits.
    std::vector<QString> m_ids;
    std::vector<QColor> m_colours;

    // What the map is drawn from, by node index, rebuilt when marked stale: hash lookups per
    // node and edge on every frame would cost more than the drawing.
    bool m_drawingStale = true;
    // Counts changes of the graph's nodes and edges: a layout's drawing arrays are used only
    // when nothing changed while it ran.
    quint64 m_graphEdits = 0;
    quint64 m_editsAtLayout = 0;
    QHash<QString, int> m_indexOf;
    std::vector<graphlayout::Vec2> m_drawPoints;
    std::vector<char> m_drawn;
    std::vector<float> m_radii;
    std::vector<std::pair<int, int>> m_drawEdges;
    // The dragged memory's dot, drawn over the picture.
    graphview::DotImages m_dots;

    // Edges and dots are drawn on a worker into a picture a little larger than the view;
    // paint() only places it and draws selection, rings and labels over it. The version
    // counts changes of what the picture shows.
    graphview::MapPainter m_painter;
    quint64 m_mapVersion = 1;
    QImage m_picture;
    graphview::MapFrame m_pictureFrame;
    quint64 m_pictureVersion = 0;
    std::optional<std::pair<graphview::MapFrame, quint64>> m_requested;
    std::shared_ptr<const graphview::MapScene> m_scene;
    quint64 m_sceneVersion = 0;

    // The drag in progress.
    QPointF m_pressAt;
    std::optional<QString> m_dragNode;
    graphlayout::Vec2 m_dragStart;
    std::optional<QPointF> m_panStart;
    bool m_pressed = false;
};

} // namespace halvic
