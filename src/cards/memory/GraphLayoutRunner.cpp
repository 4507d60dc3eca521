#include "GraphLayoutRunner.h"

#include "Background.h"

namespace halvic {

GraphLayoutRunner::GraphLayoutRunner(QObject *parent)
    : QObject(parent)
{
}

GraphLayoutRunner::~GraphLayoutRunner()
{
    // The worker stops within one round; its result goes nowhere.
    cancel();
}

void GraphLayoutRunner::cancel()
{
    if (m_cancelled)
        m_cancelled->store(true);
    m_cancelled.reset();
    m_watcher.reset();
}

void GraphLayoutRunner::start(std::vector<GraphNode> nodes, std::vector<GraphEdge> edges, graphlayout::Positions kept)
{
    cancel();
    auto cancelled = std::make_shared<std::atomic<bool>>(false);
    m_cancelled = cancelled;
    m_watcher = startInBackground<Outcome>(
        [cancelled, nodes = std::move(nodes), edges = std::move(edges), kept = std::move(kept)]() mutable {
            std::optional<Outcome> outcome;
            if (auto result = graphlayout::layout(nodes, edges, std::move(kept), cancelled.get())) {
                auto drawing = graphlayout::drawingArrays(nodes, edges, result->positions, result->degrees);
                outcome = Outcome{std::move(*result), std::move(drawing)};
            }
            return outcome;
        });
    QFutureWatcher<Outcome> *watcher = m_watcher.get();
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        if (watcher != m_watcher.get())
            return;
        // The watcher goes once this call returns; the next request makes its own.
        m_cancelled.reset();
        auto spent = std::move(m_watcher);
        spent.release()->deleteLater();
        if (const std::optional<Outcome> outcome = resultOf(*watcher))
            emit finished(*outcome);
    });
}

} // namespace halvic
