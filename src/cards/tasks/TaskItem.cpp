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

const RecordRoles<TaskItem> &TaskItem::roles()
{
    static const RecordRoles<TaskItem> table{
        {"taskId", &TaskItem::id},
        {"text", &TaskItem::text},
        {"due", [](const TaskItem &item) { return item.due.value_or(QString()); }},
        {"hasDue", [](const TaskItem &item) { return item.due.has_value(); }},
    };
    return table;
}

} // namespace halvic
