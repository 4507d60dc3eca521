#include "EventQueue.h"

#include <QPromise>
#include <QThreadPool>

#include "EventDispatcher.h"

namespace halvic {

EventQueue::EventQueue(EventDispatcher &dispatcher, QObject *parent)
    : QObject(parent)
    , m_dispatcher(dispatcher)
{
}

// A parse still running finishes on its own; its result goes nowhere.
EventQueue::~EventQueue() = default;

void EventQueue::push(QByteArrayView eventJson)
{
    if (eventJson.size() < parseInlineBelow) {
        if (m_pending.empty())
            m_dispatcher.dispatch(eventJson);
        else
            m_pending.push_back({eventJson.toByteArray(), nullptr});
        return;
    }
    auto promise = std::make_shared<QPromise<Parsed>>();
    auto watcher = std::make_unique<QFutureWatcher<Parsed>>();
    connect(watcher.get(), &QFutureWatcherBase::finished, this, &EventQueue::drain);
    watcher->setFuture(promise->future());
    m_pending.push_back({{}, std::move(watcher)});
    QThreadPool::globalInstance()->start([promise, text = eventJson.toByteArray()] {
        promise->start();
        promise->addResult(EventDispatcher::parse(text));
        promise->finish();
    });
}

void EventQueue::drain()
{
    // A handler that pushes more events must not dispatch them ahead of the ones queued.
    if (m_draining)
        return;
    m_draining = true;
    while (!m_pending.empty()) {
        Pending &front = m_pending.front();
        if (front.parsing && !front.parsing->future().isFinished())
            break;
        Pending event = std::move(front);
        m_pending.pop_front();
        if (!event.parsing) {
            m_dispatcher.dispatch(QByteArrayView(event.text));
            continue;
        }
        const QFuture<Parsed> future = event.parsing->future();
        if (future.resultCount() > 0 && future.result())
            m_dispatcher.dispatch(*future.result());
    }
    m_draining = false;
}

} // namespace halvic
