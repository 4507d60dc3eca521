#include "StorageItem.h"

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

QVariant StorageItem::role(int index) const
{
    switch (index) {
    case 0:
        return name;
    case 1:
        return storageIcon(type);
    case 2:
        return storageSize(size);
    case 3: {
        QString help = u"Double-click to open · "_s + name;
        if (const QString when = memPrettyTime(updated); !when.isEmpty())
            help += u"  ·  "_s + when;
        return help;
    }
    default:
        return {};
    }
}

} // namespace halvic
