#include "JsonRead.h"

#include <cmath>
#include <limits>

namespace halvic::json {

std::optional<QString> optString(const QJsonObject &object, QLatin1StringView key)
{
    const QJsonValue value = object.value(key);
    if (!value.isString())
        return std::nullopt;
    return value.toString();
}

std::optional<bool> optBool(const QJsonObject &object, QLatin1StringView key)
{
    const QJsonValue value = object.value(key);
    if (!value.isBool())
        return std::nullopt;
    return value.toBool();
}

std::optional<int> optInt(const QJsonObject &object, QLatin1StringView key)
{
    const std::optional<double> number = optNumber(object, key);
    if (!number || std::trunc(*number) != *number)
        return std::nullopt;
    if (*number < std::numeric_limits<int>::min() || *number > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(*number);
}

std::optional<qint64> optTruncatedInt64(const QJsonObject &object, QLatin1StringView key)
{
    const QJsonValue value = object.value(key);
    if (!value.isDouble())
        return std::nullopt;
    // Whole numbers parsed from JSON keep all 64 bits; only fractions go through a double.
    const qint64 whole = value.toInteger(std::numeric_limits<qint64>::min());
    if (whole != std::numeric_limits<qint64>::min())
        return whole;
    const double number = std::trunc(value.toDouble());
    // 2^63 is the first double past the range; -2^63 itself is in it.
    constexpr double limit = 9223372036854775808.0;
    if (!std::isfinite(number) || number >= limit || number < -limit)
        return std::nullopt;
    return static_cast<qint64>(number);
}

std::optional<double> optNumber(const QJsonObject &object, QLatin1StringView key)
{
    const QJsonValue value = object.value(key);
    if (!value.isDouble() || !std::isfinite(value.toDouble()))
        return std::nullopt;
    return value.toDouble();
}

std::optional<QJsonObject> optObject(const QJsonObject &object, QLatin1StringView key)
{
    const QJsonValue value = object.value(key);
    if (!value.isObject())
        return std::nullopt;
    return value.toObject();
}

std::optional<QJsonArray> optArray(const QJsonObject &object, QLatin1StringView key)
{
    const QJsonValue value = object.value(key);
    if (!value.isArray())
        return std::nullopt;
    return value.toArray();
}

QStringList stringList(const QJsonObject &object, QLatin1StringView key)
{
    QStringList result;
    const QJsonArray array = optArray(object, key).value_or(QJsonArray{});
    for (const QJsonValue &element : array) {
        if (element.isString())
            result.append(element.toString());
    }
    return result;
}

QList<QJsonObject> objectList(const QJsonObject &object, QLatin1StringView key)
{
    QList<QJsonObject> result;
    const QJsonArray array = optArray(object, key).value_or(QJsonArray{});
    for (const QJsonValue &element : array) {
        if (element.isObject())
            result.append(element.toObject());
    }
    return result;
}

} // namespace halvic::json
