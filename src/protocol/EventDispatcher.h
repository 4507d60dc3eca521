#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QJsonObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace halvic {

/// Turns one engine event (the JSON text after the marker) into calls of the handlers
/// registered for its type, in registration order. Each registration belongs to a context
/// object and ends with it, so a handler never reaches a destroyed receiver. Text that is not
/// a JSON object, a missing or non-string "type" and unknown types are ignored without a
/// trace.
class EventDispatcher
{
public:
    using Handler = std::function<void(const QJsonObject &payload)>;

    EventDispatcher();
    ~EventDispatcher();
    EventDispatcher(const EventDispatcher &) = delete;
    EventDispatcher &operator=(const EventDispatcher &) = delete;

    /// Adds a handler for one event type, alive while `context` is.
    void on(QLatin1StringView type, const QObject *context, Handler handler);

    /// The event object in `eventJson`; none for text that is not a JSON object. Safe on any
    /// thread.
    static std::optional<QJsonObject> parse(QByteArrayView eventJson);

    /// Parses and dispatches one event. Returns whether a handler ran.
    bool dispatch(QByteArrayView eventJson) const;
    /// Dispatches an already parsed event.
    bool dispatch(const QJsonObject &payload) const;

    /// Handlers registered for `type` whose context is still alive.
    int handlerCount(QLatin1StringView type) const;

private:
    struct Registration
    {
        QPointer<const QObject> context;
        Handler handler;
    };
    using Registrations = std::vector<std::shared_ptr<const Registration>>;

    QHash<QString, Registrations> m_handlers;
};

} // namespace halvic
