#include "EventDispatcher.h"

#include <QJsonDocument>
#include <QJsonParseError>
#include <QVarLengthArray>

#include <algorithm>

#include "JsonRead.h"
#include "Protocol.h"

namespace halvic {

EventDispatcher::EventDispatcher() = default;
EventDispatcher::~EventDispatcher() = default;

void EventDispatcher::on(QLatin1StringView type, const QObject *context, Handler handler)
{
    Registrations &list = m_handlers[QString(type)];
    // Registrations of destroyed contexts go now, so the list does not grow with them.
    std::erase_if(list, [](const auto &registration) { return !registration->context; });
    list.push_back(std::make_shared<const Registration>(Registration{context, std::move(handler)}));
}

std::optional<QJsonObject> EventDispatcher::parse(QByteArrayView eventJson)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(eventJson.toByteArray(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    return document.object();
}

bool EventDispatcher::dispatch(QByteArrayView eventJson) const
{
    const std::optional<QJsonObject> payload = parse(eventJson);
    return payload && dispatch(*payload);
}

bool EventDispatcher::dispatch(const QJsonObject &payload) const
{
    const std::optional<QString> type = json::optString(payload, protocol::key::type);
    if (!type)
        return false;
    const auto found = m_handlers.constFind(*type);
    if (found == m_handlers.cend())
        return false;
    // A handler may register others or destroy a context: walk a copy of this type's list.
    const QVarLengthArray<std::shared_ptr<const Registration>, 4> registrations(found->begin(), found->end());
    bool handled = false;
    for (const auto &registration : registrations) {
        if (!registration->context)
            continue;
        registration->handler(payload);
        handled = true;
    }
    return handled;
}

int EventDispatcher::handlerCount(QLatin1StringView type) const
{
    const auto found = m_handlers.constFind(QString(type));
    if (found == m_handlers.cend())
        return 0;
    return int(std::count_if(
        found->begin(), found->end(), [](const auto &registration) { return bool(registration->context); }));
}

} // namespace halvic
