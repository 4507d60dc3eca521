// How long the dossier card takes to show a profile, from the engine's JSON to the first
// frame drawn, for profiles of growing size (relations, facts, tasks and timeline rows in
// equal numbers), in the offscreen platform with the software scene graph. Prints the median
// of several runs per size and the ratio to the smallest size.
//
// Run: QT_QPA_PLATFORM=offscreen build/bench/cards/bench_entity

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QQmlEngine>
#include <QQmlEngineExtensionPlugin>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "EntityPanel.h"
#include "GlassPanel.h"
#include "Scheduler.h"

Q_IMPORT_QML_PLUGIN(Halvic_PanelsPlugin)
Q_IMPORT_QML_PLUGIN(Halvic_CardsPlugin)
Q_IMPORT_QML_PLUGIN(Halvic_Cards_EntityPlugin)

using namespace halvic;

namespace {

constexpr int runs = 5;

QJsonObject profileJson(int rows, int serial)
{
    QJsonArray relations;
    QJsonArray timeline;
    QJsonArray facts;
    QJsonArray tasks;
    for (int i = 0; i < rows; ++i) {
        relations.append(QJsonObject{{"other", QStringLiteral("Person %1").arg(i)}, {"otype", "person"},
            {"rtype", QStringLiteral("group %1").arg(i % 5)}, {"other_summary", "Someone the user knows"}});
        timeline.append(
            QJsonObject{{"date", "2024-01-02"}, {"kind", "event"}, {"fact", QStringLiteral("Moment %1").arg(i)}});
        facts.append(QJsonObject{{"fact", QStringLiteral("Fact number %1 about them").arg(i)}});
        tasks.append(QJsonObject{{"text", QStringLiteral("Task %1").arg(i)}, {"due", "Friday"}});
    }
    return {{"entity", QJsonObject{{"key", QStringLiteral("p:%1").arg(serial)}, {"name", "Ann"}, {"etype", "person"}}},
        {"summary", "Designer."}, {"relations", relations}, {"timeline", timeline},
        {"facts_by_kind", QJsonObject{{"fact", facts}}}, {"tasks", tasks},
        {"counts", QJsonObject{{"facts", rows}, {"relations", rows}}}};
}

int itemCount(QQuickItem *item)
{
    int count = 1;
    const auto children = item->childItems();
    for (QQuickItem *child : children)
        count += itemCount(child);
    return count;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    QQmlEngine qml;
    qml.addImportPath(QStringLiteral("qrc:/"));
    ManualScheduler scheduler;
    EntityPanel panel(CardContext{scheduler, qml, ControlChannel(dir.filePath(QStringLiteral("control")))});
    int serial = 0;
    double smallest = 0;
    std::printf("%8s %8s %12s %8s\n", "rows", "items", "median ms", "ratio");
    for (const int rows : {10, 100, 500, 2000, 5000}) {
        std::vector<double> times;
        for (int run = 0; run < runs; ++run) {
            const QJsonObject json = profileJson(rows, ++serial);
            QElapsedTimer timer;
            timer.start();
            panel.show(EntityProfile::from(json), std::nullopt, false);
            GlassPanel *window = panel.window()->panel();
            window->grabWindow(); // lays out, polishes and draws one frame
            times.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        const double m = median(times);
        if (smallest == 0)
            smallest = m;
        std::printf("%8d %8d %12.1f %8.1f\n", rows, itemCount(panel.window()->panel()->contentItem()), m, m / smallest);
    }
    return 0;
}
