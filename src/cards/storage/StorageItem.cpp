#include "StorageItem.h"

#include <QCoreApplication>

#include <cmath>
#include <limits>

#include "CardFormats.h"
#include "JsonRead.h"
#include "Protocol.h"
#include "StorageProtocol.h"

namespace halvic {

using namespace protocol;
using namespace Qt::Literals::StringLiterals;

namespace {

qint64 byteCount(const QJsonObject &object)
{
    const QJsonValue value = object.value(key::size);
    if (!value.isDouble())
        return 0;
    // Whole numbers beyond a double's exact range keep every digit.
    constexpr qint64 notWhole = std::numeric_limits<qint64>::min();
    if (const qint64 whole = value.toInteger(notWhole); whole != notWhole)
        return whole;
    const double number = std::trunc(value.toDouble());
    // Out of range (or not finite): the biggest size a file can have, or nothing.
    constexpr double limit = 9.2e18;
    if (!std::isfinite(number))
        return 0;
    if (number >= limit)
        return std::numeric_limits<qint64>::max();
    if (number <= -limit)
        return std::numeric_limits<qint64>::min();
    return qint64(number);
}

} // namespace

std::optional<StorageItem> StorageItem::from(const QJsonObject &object)
{
    auto name = json::optString(object, key::name);
    if (!name)
        return std::nullopt;
    return StorageItem{
        std::move(*name), json::string(object, key::type), byteCount(object), json::string(object, key::updated)};
}

const RecordRoles<StorageItem> &StorageItem::roles()
{
    static const RecordRoles<StorageItem> table{
        {"name", &StorageItem::name},
        {"icon", [](const StorageItem &item) { return storageIcon(item.type); }},
        {"sizeText", [](const StorageItem &item) { return storageSize(item.size); }},
        {"help",
            [](const StorageItem &item) {
                if (const QString when = memPrettyTime(item.updated); !when.isEmpty())
                    return QCoreApplication::translate("StorageItem", "Double-click to open · %1  ·  %2")
                        .arg(item.name, when);
                return QCoreApplication::translate("StorageItem", "Double-click to open · %1").arg(item.name);
            }},
    };
    return table;
}

} // namespace halvic
