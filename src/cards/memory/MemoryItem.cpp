#include "MemoryItem.h"

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

QVariant MemoryItem::role(int index) const
{
    switch (index) {
    case 0:
        return id;
    case 1:
        return text;
    case 2:
        return kind;
    case 3:
        return memoryFooter(*this);
    case 4:
        return linked;
    default:
        return {};
    }
}

QString memoryFooter(const MemoryItem &item)
{
    const QString time = memPrettyTime(item.createdAt);
    if (item.when.isEmpty())
        return time;
    if (time.isEmpty())
        return u"re: "_s + item.when;
    return time + u"  \u00b7  re: "_s + item.when;
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
