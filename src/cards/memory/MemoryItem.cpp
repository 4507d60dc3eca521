#include "MemoryItem.h"

#include <QCoreApplication>

#include "CardFormats.h"
#include "JsonRead.h"
#include "MemoryProtocol.h"
#include "Protocol.h"

namespace halvic {

using namespace protocol;
using namespace Qt::Literals::StringLiterals;

std::optional<MemoryItem> MemoryItem::from(const QJsonObject &object)
{
    auto id = json::optString(object, key::id);
    auto text = json::optString(object, key::text);
    if (!id || !text)
        return std::nullopt;
    return MemoryItem{
        .id = std::move(*id),
        .text = std::move(*text),
        .kind = json::string(object, key::kind),
        .when = json::string(object, key::when),
        .createdAt = json::string(object, key::createdAt),
        .linked = json::boolean(object, key::linked, false),
    };
}

const RecordRoles<MemoryItem> &MemoryItem::roles()
{
    static const RecordRoles<MemoryItem> table{
        {"memoryId", &MemoryItem::id},
        {"text", &MemoryItem::text},
        {"kind", &MemoryItem::kind},
        {"footer", memoryFooter},
        {"linked", &MemoryItem::linked},
    };
    return table;
}

QString memoryFooter(const MemoryItem &item)
{
    const QString time = memPrettyTime(item.createdAt);
    if (item.when.isEmpty())
        return time;
    if (time.isEmpty())
        return QCoreApplication::translate("MemoryItem", "re: %1").arg(item.when);
    return QCoreApplication::translate("MemoryItem", "%1  \u00b7  re: %2").arg(time, item.when);
}

std::optional<GraphNode> GraphNode::from(const QJsonObject &object)
{
    auto id = json::optString(object, key::id);
    auto text = json::optString(object, key::text);
    if (!id || !text)
        return std::nullopt;
    return GraphNode{std::move(*id), std::move(*text), json::string(object, key::kind)};
}

std::optional<GraphEdge> GraphEdge::decode(const QJsonObject &object)
{
    auto from = json::optString(object, key::from);
    auto to = json::optString(object, key::to);
    if (!from || !to)
        return std::nullopt;
    return GraphEdge{std::move(*from), std::move(*to), json::string(object, key::type, QString(value::related))};
}

} // namespace halvic
