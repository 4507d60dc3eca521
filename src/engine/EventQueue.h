#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFutureWatcher>
#include <QJsonObject>
#include <QObject>

#include <deque>
#include <memory>
#include <optional>

namespace halvic {

class EventDispatcher;

/// Hands engine events to the dispatcher in the order they arrived. A large event (a graph
/// of many thousand memories runs to megabytes) is parsed on a worker thread so the main
/// thread keeps drawing; the events behind it wait for it, so handlers still see them in
/// order. Small events with nothing waiting are dispatched at once, as before.
class EventQueue final : public QObject
{
    Q_OBJECT
public:
    /// Events of this many bytes or more are parsed on a worker thread.
    static constexpr qsizetype parseInlineBelow = 256 * 1024;

    explicit EventQueue(EventDispatcher &dispatcher, QObject *parent = nullptr);
    ~EventQueue() override;

    void push(QByteArrayView eventJson);
    /// Events received and not yet dispatched.
    std::size_t waiting() const { return m_pending.size(); }

private:
    struct Pending
    {
        QByteArray text;                                      // parsed on the main thread in turn
        std::unique_ptr<QFutureWatcher<QJsonObject>> parsing; // or already being parsed
    };

    void drain();

    EventDispatcher &m_dispatcher;
    std::deque<Pending> m_pending;
    bool m_draining = false;
};

} // namespace halvic
