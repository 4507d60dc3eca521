// The memory graph on screen: frame times while panning a 10,000-node, 20,000-edge map, and
// how long the main thread goes without turning its event loop (its longest stall) while a
// graph arrives and is laid out, for that map and for a hostile 100,000-node "graph" event
// (with repeated ids, edges to unknown ids and self-loops). Both events go through the engine
// link as engine output would, in 64 KiB pieces: framing, parsing, dispatch.
//
// Runs on whatever platform and scene graph the environment chooses:
//   software:  QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software build/bench/memory/bench_graphframe
//   OpenGL:    xvfb-run -a -s "-screen 0 800x600x24" env QSG_RHI_BACKEND=opengl build/bench/memory/bench_graphframe
//   (800 × 600 gives the map the size it has on the offscreen platform, for comparison)
// "--no-hostile" leaves out the 100,000-node graph (a minute or more of layout on two cores);
// HALVIC_BENCH_HOSTILE_NODES=n makes it n nodes.

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QQmlEngine>
#include <QQmlEngineExtensionPlugin>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest/QTest>

#include <algorithm>
#include <cstdio>
#include <random>

#include "Engine.h"
#include "EventDispatcher.h"
#include "GlassPanel.h"
#include "GraphView.h"
#include "MemoryPanel.h"
#include "Scheduler.h"

Q_IMPORT_QML_PLUGIN(Halvic_PanelsPlugin)
Q_IMPORT_QML_PLUGIN(Halvic_CardsPlugin)
Q_IMPORT_QML_PLUGIN(Halvic_Cards_MemoryPlugin)

using namespace halvic;

namespace {

const char *const kinds[] = {"fact", "entity:person", "event", "preference", "task", "entity:place", "observation"};

QByteArray graphEvent(int nodes, int edges, unsigned seed, bool hostile, const char *text = "memory number %1")
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> pick(0, nodes - 1);
    QJsonArray nodeList, edgeList;
    for (int i = 0; i < nodes; ++i) {
        // Hostile: every tenth id repeats an earlier one, some fields are numbers.
        const int id = hostile && i % 10 == 9 ? i - 1 : i;
        QJsonObject node{
            {"id", QStringLiteral("n%1").arg(id)}, {"text", QString::fromLatin1(text).arg(i)}, {"kind", kinds[i % 7]}};
        if (hostile && i % 13 == 0)
            node.insert("kind", 42);
        nodeList.append(node);
    }
    for (int e = 0; e < edges; ++e) {
        const int a = pick(random);
        const int b = hostile && e % 17 == 0 ? a : pick(random);
        const QString to = hostile && e % 11 == 0 ? QStringLiteral("ghost%1").arg(e) : QStringLiteral("n%1").arg(b);
        edgeList.append(QJsonObject{{"from", QStringLiteral("n%1").arg(a)}, {"to", to}});
    }
    return QJsonDocument(QJsonObject{{"type", "graph"}, {"nodes", nodeList}, {"edges", edgeList}})
        .toJson(QJsonDocument::Compact);
}

// Watches the event loop with a 2 ms timer; the longest gap between its ticks.
class StallMeter : public QObject
{
public:
    StallMeter()
    {
        m_timer.setInterval(2);
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this, [this] { m_longest = std::max(m_longest, m_clock.restart()); });
    }
    void start()
    {
        m_longest = 0;
        m_clock.start();
        m_timer.start();
    }
    qint64 stop()
    {
        m_timer.stop();
        return std::max(m_longest, m_clock.elapsed());
    }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_longest = 0;
};

GraphView *findMap(QQuickItem *item)
{
    if (auto *map = qobject_cast<GraphView *>(item))
        return map;
    const auto children = item->childItems();
    for (QQuickItem *child : children) {
        if (GraphView *map = findMap(child))
            return map;
    }
    return nullptr;
}

// Feeds one event to the engine link the way a pipe hands it over: marked, in 64 KiB pieces,
// each read in its own turn of the event loop.
void feed(Engine &engine, const QByteArray &event)
{
    const QByteArray line = QByteArray(protocol::eventMarker.data(), protocol::eventMarker.size()) + event + '\n';
    constexpr qsizetype piece = 64 * 1024;
    for (qsizetype at = 0; at < line.size(); at += piece) {
        engine.ingest(QByteArrayView(line).sliced(at, std::min(piece, line.size() - at)));
        QCoreApplication::processEvents();
    }
}

double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[std::min(values.size() - 1, std::size_t(p * double(values.size())))];
}

} // namespace

int main(int argc, char **argv)
{
    QQuickWindow::setDefaultAlphaBuffer(true);
    QGuiApplication app(argc, argv);
    QtScheduler scheduler;
    QTemporaryDir dir;
    QQmlEngine qml;
    qml.addImportPath(QStringLiteral("qrc:/"));
    MemoryPanel panel(CardContext{scheduler, qml, ControlChannel(dir.filePath(QStringLiteral("control")))});
    EventDispatcher dispatcher;
    panel.registerRows(dispatcher);
    Engine engine(dispatcher, scheduler, Engine::Locations::underRoot(dir.path()));
    panel.open();
    GlassPanel *window = panel.window()->panel();
    if (!QTest::qWaitForWindowExposed(window))
        return 1;
    panel.selectMode(MemoryMode::Graph);
    panel.toggleFullscreen();
    QTest::qWait(200);
    GraphView *map = findMap(window->contentItem());
    if (!map)
        return 1;
    const auto api = window->rendererInterface()->graphicsApi();
    std::printf("scene graph: %s, map %d x %d\n", api == QSGRendererInterface::Software ? "software" : "OpenGL/RHI",
        int(map->width()), int(map->height()));

    StallMeter stall;
    QSignalSpy applied(map, &GraphView::laidOutApplied);
    const QByteArray event = graphEvent(10000, 20000, 1, false);
    stall.start();
    QElapsedTimer layoutClock;
    layoutClock.start();
    feed(engine, event);
    applied.wait(120000);
    const qint64 layoutMs = layoutClock.elapsed();
    QTest::qWait(300);
    std::printf("10,000 nodes / 20,000 edges: laid out and shown in %lld ms; longest main-thread stall %lld ms\n",
        layoutMs, stall.stop());

    // Pan with the hand tool, one step per frame.
    map->setHandTool(true);
    QSignalSpy frames(window, &QQuickWindow::frameSwapped);
    const QPointF start = map->mapToScene(QPointF(map->width() / 2, map->height() / 2));
    QTest::mousePress(window, Qt::LeftButton, {}, start.toPoint());
    std::vector<double> times;
    QElapsedTimer frameClock;
    for (int step = 1; step <= 120; ++step) {
        const QPointF at = start + QPointF(150 * std::sin(step / 10.0), 100 * std::cos(step / 13.0) - 100);
        frames.clear();
        frameClock.start();
        QMouseEvent move(QEvent::MouseMove, at, window->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, {});
        QGuiApplication::sendEvent(window, &move);
        if (!frames.wait(2000))
            break;
        times.push_back(double(frameClock.nsecsElapsed()) / 1e6);
    }
    QTest::mouseRelease(window, Qt::LeftButton, {}, start.toPoint());
    std::printf("panning 10,000 nodes: %zu frames, median %.1f ms, p95 %.1f ms, worst %.1f ms\n", times.size(),
        percentile(times, 0.5), percentile(times, 0.95), percentile(times, 1.0));

    if (app.arguments().contains(QStringLiteral("--no-hostile")))
        return 0;
    // A hostile graph: 100,000 nodes (10% repeated ids, some numeric kinds), 70,000 edges
    // (9% to unknown ids, 6% self-loops): just under the 8 MiB the engine link takes in one
    // line.
    const int hostileNodes = qEnvironmentVariableIntValue("HALVIC_BENCH_HOSTILE_NODES") > 0
        ? qEnvironmentVariableIntValue("HALVIC_BENCH_HOSTILE_NODES")
        : 100000;
    const int hostileEdges = hostileNodes * 7 / 10;
    const QByteArray hostile = graphEvent(hostileNodes, hostileEdges, 2, true, "memory %1");
    const QByteArray newer = graphEvent(hostileNodes, hostileEdges, 3, true, "memory %1");
    std::printf("hostile event: %.2f MiB\n", double(hostile.size()) / (1 << 20));
    if (std::max(hostile.size(), newer.size()) >= LineFramer::defaultMaxLine) {
        std::printf("the hostile event is longer than the engine link takes; make it smaller\n");
        return 1;
    }
    applied.clear();
    stall.start();
    layoutClock.start();
    feed(engine, hostile);
    const qint64 dispatchMs = layoutClock.elapsed();
    // A newer graph cancels this layout; then wait for the newer one.
    QTest::qWait(500);
    feed(engine, newer);
    applied.wait(300000);
    const qint64 hostileMs = layoutClock.elapsed();
    QTest::qWait(300);
    std::printf("hostile %d nodes, %d edges: handing over its output %lld ms; second graph laid out "
                "%lld ms after the first arrived (%lld layouts applied); longest main-thread stall %lld ms\n",
        hostileNodes, hostileEdges, dispatchMs, hostileMs, qint64(applied.size()), stall.stop());
    return 0;
}
