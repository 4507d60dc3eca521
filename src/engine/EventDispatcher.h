#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QJsonObject>
#include <QString>

#include <functional>
#include <optional>

namespace halvic {

class AppModel;

/// Turns one engine event (the JSON text after the marker) into exactly one handler call.
/// Text that is not a JSON object, a missing or non-string "type" and unknown types are
/// ignored without a trace.
class EventDispatcher
{
public:
    using Handler = std::function<void(const QJsonObject &payload)>;

    /// Registers the engine-state, transcript and background-task rows acting on `model`.
    explicit EventDispatcher(AppModel &model);

    /// Adds or replaces the handler of one event type (cards, popups, windows, gestures).
    void on(QLatin1StringView type, Handler handler);

    /// Parses and dispatches one event. Returns whether a handler ran.
    bool dispatch(QByteArrayView eventJson) const;

private:
    void registerModelRows(AppModel &model);

    QHash<QString, Handler> m_handlers;
};

} // namespace halvic
