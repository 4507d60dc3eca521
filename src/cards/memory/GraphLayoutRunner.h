#pragma once

#include <QFutureWatcher>
#include <QObject>

#include <atomic>
#include <memory>
#include <vector>

#include "GraphLayout.h"

namespace halvic {

/// Runs the memory graph's layout on a worker thread and hands the result back on the main
/// thread. Only the latest request counts: starting another cancels the one still running,
/// and a cancelled or outdated layout never reports.
class GraphLayoutRunner final : public QObject
{
    Q_OBJECT
public:
    explicit GraphLayoutRunner(QObject *parent = nullptr);
    ~GraphLayoutRunner() override;

    /// Lays out `nodes` and `edges` starting from `kept` (copies: the worker owns them).
    void start(std::vector<GraphNode> nodes, std::vector<GraphEdge> edges, graphlayout::Positions kept);
    /// Cancels the layout in progress; it will not report.
    void cancel();
    bool isRunning() const { return m_watcher != nullptr; }

    /// A finished layout, and the arrays to draw it from.
    struct Outcome
    {
        graphlayout::Result layout;
        graphlayout::DrawingArrays drawing;
    };

signals:
    void finished(const halvic::GraphLayoutRunner::Outcome &outcome);

private:
    std::shared_ptr<std::atomic<bool>> m_cancelled;
    std::unique_ptr<QFutureWatcher<Outcome>> m_watcher;
};

} // namespace halvic
