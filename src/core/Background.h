#pragma once

#include <QFutureWatcher>
#include <QPromise>
#include <QThreadPool>

#include <memory>
#include <optional>
#include <utility>

namespace halvic {

/// Runs `work` on the shared thread pool. `work()` returns std::optional<T>: none leaves the
/// future without a result (a cancelled or failed job). The watcher reports on the thread
/// that called this; connect to its finished() before control returns to the event loop.
/// A watcher destroyed early lets the job finish on its own, its result going nowhere.
template <class T, class Work>
std::unique_ptr<QFutureWatcher<T>> startInBackground(Work work)
{
    auto promise = std::make_shared<QPromise<T>>();
    auto watcher = std::make_unique<QFutureWatcher<T>>();
    watcher->setFuture(promise->future());
    QThreadPool::globalInstance()->start([promise, work = std::move(work)]() mutable {
        promise->start();
        if (std::optional<T> result = work())
            promise->addResult(std::move(*result));
        promise->finish();
    });
    return watcher;
}

/// The result a finished background job left, if any.
template <class T>
std::optional<T> resultOf(const QFutureWatcher<T> &watcher)
{
    const QFuture<T> future = watcher.future();
    if (future.resultCount() == 0)
        return std::nullopt;
    return future.result();
}

} // namespace halvic
