#include "TaskItem.h"

#include "JsonRead.h"
#include "Protocol.h"
#include "TasksProtocol.h"

namespace halvic {

using namespace protocol;

std::optional<TaskItem> TaskItem::from(const QJsonObject &object)
{
    auto id = json::optString(object, key::id);
    auto text = json::optString(object, key::text);
    if (!id || !text)
        return std::nullopt;
    return TaskItem{std::move(*id), std::move(*text), json::optString(object, key::due)};
}

QVariant TaskItem::role(int index) const
{
    switch (index) {
    case 0:
        return id;
    case 1:
        return text;
    case 2:
        return due.value_or(QString());
    case 3:
        return due.has_value();
    default:
        return {};
    }
}

} // namespace halvic
