// Layout time of the memory graph for random graphs of 500, 2,000 and 10,000 nodes with about
// two edges per node: the exact simulation (all pairs) where it is used, the approximate one
// (Barnes–Hut) above its threshold, and d3-force doing 300 ticks of the same graph in
// Node.js, side by side in one run. Prints medians and ratios.
//
// d3-force is installed with npm into <build>/bench/memory/node on first use (never into the
// source tree). Arguments: none, or "--no-d3" to skip it.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

#include "GraphLayout.h"

using namespace halvic;
using namespace halvic::graphlayout;

namespace {

struct Graph
{
    std::vector<GraphNode> nodes;
    std::vector<GraphEdge> edges;
};

Graph randomGraph(int n, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> pick(0, n - 1);
    Graph graph;
    for (int i = 0; i < n; ++i)
        graph.nodes.push_back({QStringLiteral("n%1").arg(i), QStringLiteral("memory %1").arg(i), {}});
    for (int e = 0; e < 2 * n; ++e) {
        const int a = pick(random);
        int b = pick(random);
        if (b == a)
            b = (a + 1) % n;
        graph.edges.push_back({graph.nodes[std::size_t(a)].id, graph.nodes[std::size_t(b)].id, {}});
    }
    return graph;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

double timeLayout(const Graph &graph, int runs, bool exact)
{
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        // The same work as layout() with the simulation's kind chosen here.
        Problem problem;
        for (std::size_t i = 0; i < graph.nodes.size(); ++i)
            problem.points.push_back(startPoint(int(i), false));
        QHash<QString, int> index;
        for (std::size_t i = 0; i < graph.nodes.size(); ++i)
            index.insert(graph.nodes[i].id, int(i));
        for (const GraphEdge &edge : graph.edges)
            problem.edges.emplace_back(index.value(edge.from), index.value(edge.to));
        QElapsedTimer timer;
        timer.start();
        const auto points = simulate(std::move(problem), nullptr, exact);
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (!points)
            return -1;
    }
    return median(times);
}

QString nodeFolder()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/node");
}

bool ensureD3()
{
    const QString folder = nodeFolder();
    if (QFile::exists(folder + QStringLiteral("/node_modules/d3-force/package.json")))
        return true;
    QDir().mkpath(folder);
    QProcess npm;
    npm.setWorkingDirectory(folder);
    npm.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    npm.start(QStringLiteral("npm"),
        {QStringLiteral("install"), QStringLiteral("--no-save"), QStringLiteral("--no-audit"),
            QStringLiteral("--no-fund"), QStringLiteral("--prefix"), folder, QStringLiteral("d3-force")});
    return npm.waitForFinished(300000) && npm.exitCode() == 0
        && QFile::exists(folder + QStringLiteral("/node_modules/d3-force/package.json"));
}

double timeD3(const Graph &graph, int runs, const QString &script)
{
    QJsonArray ids, edges;
    QHash<QString, int> index;
    for (std::size_t i = 0; i < graph.nodes.size(); ++i) {
        ids.append(graph.nodes[i].id);
        index.insert(graph.nodes[i].id, int(i));
    }
    for (const GraphEdge &edge : graph.edges)
        edges.append(QJsonArray{edge.from, edge.to});
    const QString file = nodeFolder() + QStringLiteral("/graph-%1.json").arg(graph.nodes.size());
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return -1;
    out.write(QJsonDocument(QJsonObject{{"nodes", ids}, {"edges", edges}}).toJson(QJsonDocument::Compact));
    out.close();
    QProcess node;
    node.setWorkingDirectory(nodeFolder());
    // The script stays in the source tree; its package is found in the build folder.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("NODE_PATH"), nodeFolder() + QStringLiteral("/node_modules"));
    node.setProcessEnvironment(env);
    node.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    node.start(QStringLiteral("node"), {script, file, QString::number(runs)});
    if (!node.waitForFinished(600000) || node.exitCode() != 0)
        return -1;
    std::vector<double> times;
    for (const QByteArray &line : node.readAllStandardOutput().split('\n')) {
        if (!line.trimmed().isEmpty())
            times.push_back(line.toDouble());
    }
    return median(times);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const bool withD3 = !app.arguments().contains(QStringLiteral("--no-d3"));
    const QString script = QStringLiteral(HALVIC_BENCH_SOURCE_DIR "/d3_layout.js");
    const bool d3 = withD3 && ensureD3();
    if (withD3 && !d3)
        std::fprintf(stderr, "d3-force could not be installed; its column is left empty\n");

    std::printf("graph layout, 320 rounds (d3-force: 300 ticks), median of runs, milliseconds\n");
    std::printf("%8s %8s %12s %12s %12s %14s\n", "nodes", "edges", "exact", "approximate", "d3-force", "d3/ours");
    struct Case
    {
        int nodes;
        int runs;
        bool exact;
    };
    for (const Case c : {Case{500, 5, true}, Case{2000, 3, true}, Case{10000, 3, false}}) {
        const Graph graph = randomGraph(c.nodes, 42);
        const double exact = c.exact ? timeLayout(graph, c.runs, true) : -1;
        const double approx = timeLayout(graph, c.runs, false);
        const double theirs = d3 ? timeD3(graph, c.runs, script) : -1;
        // The time of what the HUD runs at this size.
        const double ours = std::size_t(c.nodes) <= exactLimit ? exact : approx;
        std::printf("%8d %8zu %12.1f %12.1f %12.1f %14.2f\n", c.nodes, graph.edges.size(), exact, approx, theirs,
            theirs > 0 ? theirs / ours : 0.0);
        std::fflush(stdout);
    }
    std::printf("exact up to %zu nodes, approximate above (opening angle %.2f)\n", exactLimit, openingAngle);
    return 0;
}
