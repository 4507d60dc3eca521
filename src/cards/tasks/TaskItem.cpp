#include "TaskItem.h"

#include "JsonRead.h"

namespace halvic {

using namespace Qt::Literals::StringLiterals;

std::optional<TaskItem> TaskItem::from(const QJsonObject &object)
{
    auto id = json::optString(object, "id"_L1);
    auto text = json::optString(object, "text"_L1);
    if (!id || !text)
        return std::nullopt;
    return TaskItem{std::move(*id), std::move(*text), json::optString(object, "due"_L1)};
}

} // namespace halvic
