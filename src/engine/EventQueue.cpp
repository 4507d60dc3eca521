#include "EventQueue.h"

#include "Background.h"
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
    auto watcher
        = startInBackground<QJsonObject>([text = eventJson.toByteArray()] { return EventDispatcher::parse(text); });
    connect(watcher.get(), &QFutureWatcherBase::finished, this, &EventQueue::drain);
    m_pending.push_back({{}, std::move(watcher)});
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
        if (const std::optional<QJsonObject> payload = resultOf(*event.parsing))
            m_dispatcher.dispatch(*payload);
    }
    m_draining = false;
}

} // namespace halvic
