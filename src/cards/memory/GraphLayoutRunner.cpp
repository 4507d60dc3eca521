#include "GraphLayoutRunner.h"

#include <QPromise>
#include <QThreadPool>

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
    auto promise = std::make_shared<QPromise<Outcome>>();
    m_cancelled = cancelled;
    m_watcher = std::make_unique<QFutureWatcher<Outcome>>();
    QFutureWatcher<Outcome> *watcher = m_watcher.get();
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        if (watcher != m_watcher.get())
            return;
        const QFuture<Outcome> future = watcher->future();
        const bool done = future.resultCount() > 0;
        // The watcher goes once this call returns; the next request makes its own.
        m_cancelled.reset();
        auto spent = std::move(m_watcher);
        spent.release()->deleteLater();
        if (done)
            emit finished(future.result());
    });
    watcher->setFuture(promise->future());
    QThreadPool::globalInstance()->start(
        [promise, cancelled, nodes = std::move(nodes), edges = std::move(edges), kept = std::move(kept)]() mutable {
            promise->start();
            if (auto result = graphlayout::layout(nodes, edges, std::move(kept), cancelled.get())) {
                auto drawing = graphlayout::drawingArrays(nodes, edges, result->positions, result->degrees);
                promise->addResult(Outcome{std::move(*result), std::move(drawing)});
            }
            promise->finish();
        });
}

} // namespace halvic
