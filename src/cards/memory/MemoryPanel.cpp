#include "MemoryPanel.h"

#include <QFutureWatcher>
#include <QGuiApplication>
#include <QJsonObject>
#include <QPointer>
#include <QScreen>

#include <algorithm>

#include "Background.h"
#include "EventDispatcher.h"
#include "GlassPanel.h"
#include "JsonRead.h"
#include "MemoryProtocol.h"
#include "Protocol.h"

namespace halvic {

using namespace protocol;
using namespace Qt::Literals::StringLiterals;

namespace {

constexpr int graphMaxWidth = 820;
constexpr int graphMaxHeight = 720;
constexpr int bubbleSide = 58;
constexpr QRect noScreen{0, 0, 1440, 900};

// First shown 40 points in from the left and 30 down, as tall as the screen allows.
QRect firstFrame(const QRect &available, QSize)
{
    const int h = std::min(available.height() - 60, MemoryPanel::notesMaxHeight);
    return {available.x() + 40, available.y() + 30, MemoryPanel::notesWidth, h};
}

std::optional<QRect> visibleArea(const GlassPanel &panel)
{
    const QScreen *screen = panel.screen() ? panel.screen() : QGuiApplication::primaryScreen();
    return screen ? std::optional(screen->availableGeometry()) : std::nullopt;
}

// The decoded elements of an array member; none when absent or not an array.
template <class Record, class Decode>
std::vector<Record> decodeAll(const QJsonArray &list, Decode decode)
{
    std::vector<Record> out;
    out.reserve(std::size_t(list.size()));
    for (const QJsonValue &element : list) {
        if (auto record = decode(element.toObject()))
            out.push_back(std::move(*record));
    }
    return out;
}

template <class Record, class Decode>
std::vector<Record> decodeAll(const QJsonObject &payload, QLatin1StringView key, Decode decode)
{
    const auto list = json::optArray(payload, key);
    return list ? decodeAll<Record>(*list, decode) : std::vector<Record>();
}

struct DecodedGraph
{
    std::vector<GraphNode> nodes;
    std::vector<GraphEdge> edges;
};

// Graphs with more elements than this are decoded on a worker thread, so a huge one does not
// hold up the main thread for the time it takes.
constexpr qsizetype decodeInlineLimit = 5000;

} // namespace

QRect memoryCardFrame(
    MemoryMode::Value mode, bool fullscreen, const QRect &current, const std::optional<QRect> &visible)
{
    const QRect v = visible.value_or(noScreen);
    if (fullscreen)
        return v.adjusted(20, 20, -20, -20);
    const bool notes = mode == MemoryMode::Notes;
    const int w = notes ? MemoryPanel::notesWidth : std::min(v.width() - 80, graphMaxWidth);
    const int h = std::min(v.height() - 60, notes ? MemoryPanel::notesMaxHeight : graphMaxHeight);
    int x = current.x();
    int y = current.y();
    x = std::max(x, v.x() + 8);
    x = std::min(x, v.x() + v.width() - w - 8);
    y = std::max(y, v.y() + 8);
    y = std::min(y, v.y() + v.height() - h - 8);
    return {x, y, w, h};
}

MemoryPanel::MemoryPanel(const CardContext &context, QObject *parent)
    : Card(parent)
    , m_control(context.control)
    , m_window(context.scheduler, context.qml, *this,
          {.view = QUrl(u"qrc:/Halvic/Cards/Memory/MemoryView.qml"_s),
              .size = QSize(notesWidth, notesMaxHeight),
              .title = tr("What Halvic Remembers"),
              .placement = firstFrame,
              .bubbleFrame = [this](const QRect &frame, bool minimized, const QRect &available) {
                  return bubbleFrame(frame, minimized, available);
              }})
{
    m_window.bubbleCtl().canMinimize = [this] { return mayMinimize(); };
}

MemoryPanel::~MemoryPanel() = default;

void MemoryPanel::registerRows(EventDispatcher &dispatcher)
{
    dispatcher.on(event::memories, this, [this](const QJsonObject &payload) {
        // The query the answer was for is not compared with the card's: the latest answer wins.
        setAll(decodeAll<MemoryItem>(payload, key::items, &MemoryItem::from));
    });
    dispatcher.on(event::memoryForgotten, this, [this](const QJsonObject &payload) {
        if (const auto id = json::optString(payload, key::id))
            remove(*id);
    });
    dispatcher.on(event::graph, this, [this](const QJsonObject &payload) { receiveGraph(payload); });
}

void MemoryPanel::receiveGraph(const QJsonObject &payload)
{
    const QJsonArray nodes = json::optArray(payload, key::nodes).value_or(QJsonArray());
    const QJsonArray edges = json::optArray(payload, key::edges).value_or(QJsonArray());
    // A graph arriving later wins, whichever is decoded first.
    const quint64 generation = ++m_graphGeneration;
    if (nodes.size() + edges.size() <= decodeInlineLimit) {
        setGraph(decodeAll<GraphNode>(nodes, &GraphNode::from), decodeAll<GraphEdge>(edges, &GraphEdge::decode));
        return;
    }
    // Owned by the card, so a graph still being decoded when the card goes reports nowhere.
    QFutureWatcher<DecodedGraph> *watcher = startInBackground<DecodedGraph>([nodes, edges] {
        return std::optional(DecodedGraph{
            decodeAll<GraphNode>(nodes, &GraphNode::from), decodeAll<GraphEdge>(edges, &GraphEdge::decode)});
    }).release();
    watcher->setParent(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, generation] {
        watcher->deleteLater();
        std::optional<DecodedGraph> graph = resultOf(*watcher);
        if (generation == m_graphGeneration && graph)
            setGraph(std::move(graph->nodes), std::move(graph->edges));
    });
}

bool MemoryPanel::mayMinimize() const
{
    return m_model.mode() == MemoryMode::Notes && !m_model.fullscreen();
}

void MemoryPanel::open()
{
    // A card coming on screen appears in its frame; one already there glides to it.
    const bool onScreen = m_window.isShown();
    m_window.bubbleCtl().reset();
    m_window.present();
    m_model.setLoading(true);
    m_model.setMode(MemoryMode::Notes);
    m_model.setFullscreen(false);
    m_control.writeJSON(controlfile::memoryQuery, {{key::q, m_model.query()}});
    applySize(onScreen);
    // The user asked for the card: it takes the keyboard for the search field.
    if (GlassPanel *panel = m_window.panel()) {
        panel->raise();
        panel->requestActivate();
    }
}

Menu MemoryPanel::menuEntries()
{
    return {{.title = tr("What Halvic Remembers"),
        .action =
            [self = QPointer(this)] {
                if (self)
                    self->toggle();
            },
        .shortcut = u"Ctrl+R"_s}};
}

void MemoryPanel::toggle()
{
    if (m_window.isShown())
        m_window.orderOut();
    else
        open();
}

void MemoryPanel::setAll(std::vector<MemoryItem> items)
{
    m_model.items().replaceAll(std::move(items));
    m_model.setLoading(false);
}

void MemoryPanel::remove(const QString &id)
{
    m_model.items().removeId(id);
}

void MemoryPanel::setGraph(std::vector<GraphNode> nodes, std::vector<GraphEdge> edges)
{
    m_model.setGraphNodes(std::move(nodes));
    m_model.setGraphEdges(std::move(edges));
    m_model.setGraphLoading(false);
    m_model.bumpGraphVersion();
}

void MemoryPanel::selectMode(MemoryMode::Value mode)
{
    if (mode == m_model.mode())
        return;
    m_model.setMode(mode);
    if (mode == MemoryMode::Notes) {
        m_model.setFullscreen(false);
        applySize();
        return;
    }
    applySize();
    // Asked again on every entry; the graph on hand stays on screen meanwhile.
    m_model.setGraphLoading(m_model.graphNodes().empty());
    m_control.writeJSON(controlfile::graphQuery, {});
}

void MemoryPanel::toggleFullscreen()
{
    m_model.setFullscreen(!m_model.fullscreen());
    applySize();
}

void MemoryPanel::applySize(bool glide)
{
    GlassPanel *panel = m_window.panel();
    if (!panel)
        return;
    // In the graph, dragging belongs to the map.
    panel->setMovableByBackground(mayMinimize());
    if (m_window.bubble()->minimized())
        return;
    const QRect frame
        = memoryCardFrame(m_model.mode(), m_model.fullscreen(), panel->restingGeometry(), visibleArea(*panel));
    if (glide)
        panel->glideTo(frame);
    else
        panel->jumpTo(frame);
}

QRect MemoryPanel::bubbleFrame(const QRect &frame, bool minimized, const QRect &available)
{
    if (GlassPanel *panel = m_window.panel())
        panel->setMovableByBackground(minimized || mayMinimize());
    // The bubble takes the card's top-left corner; the card comes back sized for its mode.
    if (minimized)
        return {frame.topLeft(), QSize(bubbleSide, bubbleSide)};
    return memoryCardFrame(m_model.mode(), m_model.fullscreen(), frame, available);
}

void MemoryPanel::search(const QString &query)
{
    m_model.setQuery(query);
    m_model.setLoading(true);
    m_control.writeJSON(controlfile::memoryQuery, {{key::q, query}});
}

void MemoryPanel::forget(const QString &id, const QString &text)
{
    m_model.items().removeId(id);
    m_control.writeJSON(controlfile::memoryAction,
        {{key::action, value::forget}, {key::id, id}, {key::text, text}, {key::q, m_model.query()}});
}

void MemoryPanel::edit(const QString &id, const QString &text)
{
    if (const MemoryItem *item = m_model.items().find(id)) {
        MemoryItem corrected = *item;
        corrected.text = text;
        m_model.items().replaceFirst(std::move(corrected));
    }
    // Written even when the memory has left the list meanwhile: the engine still has it.
    m_control.writeJSON(controlfile::memoryAction,
        {{key::action, value::edit}, {key::id, id}, {key::text, text}, {key::q, m_model.query()}});
}

void MemoryPanel::beginCorrection(const QString &id)
{
    if (const MemoryItem *item = m_model.items().find(id))
        m_model.setCorrection(id, item->text);
}

void MemoryPanel::setCorrectionDraft(const QString &id, const QString &draft)
{
    if (m_model.correction(id))
        m_model.setCorrection(id, draft);
}

void MemoryPanel::cancelCorrection(const QString &id)
{
    m_model.dropCorrection(id);
}

void MemoryPanel::commitCorrection(const QString &id)
{
    const std::optional<QString> draft = m_model.correction(id);
    m_model.dropCorrection(id);
    const MemoryItem *item = m_model.items().find(id);
    if (!draft || !item)
        return;
    const QString text = draft->trimmed();
    if (!text.isEmpty() && text != item->text)
        edit(id, text);
}

void MemoryPanel::link(const QString &a, const QString &b)
{
    const auto &edges = m_model.graphEdges();
    if (std::none_of(edges.begin(), edges.end(), [&](const GraphEdge &e) { return e.joins(a, b); })) {
        std::vector<GraphEdge> more = edges;
        more.push_back({a, b, QString(value::related)});
        m_model.setGraphEdges(std::move(more));
    }
    m_control.writeJSON(controlfile::graphAction, {{key::action, value::link}, {key::a, a}, {key::b, b}});
}

void MemoryPanel::unlink(const QString &a, const QString &b)
{
    std::vector<GraphEdge> kept;
    for (const GraphEdge &edge : m_model.graphEdges()) {
        if (!edge.joins(a, b))
            kept.push_back(edge);
    }
    m_model.setGraphEdges(std::move(kept));
    m_control.writeJSON(controlfile::graphAction, {{key::action, value::unlink}, {key::a, a}, {key::b, b}});
}

void MemoryPanel::reloadGraph()
{
    m_model.setGraphLoading(true);
    m_control.writeJSON(controlfile::graphQuery, {});
}

} // namespace halvic
