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

signals:
    void finished(const halvic::graphlayout::Result &result);

private:
    std::shared_ptr<std::atomic<bool>> m_cancelled;
    std::unique_ptr<QFutureWatcher<graphlayout::Result>> m_watcher;
};

} // namespace halvic
