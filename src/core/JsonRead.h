#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <optional>

/// The one place for reading members of engine payloads: a member that is absent or of the
/// wrong JSON type counts as absent, and the caller's default (or nullopt) stands in for it.
namespace halvic::json {

std::optional<QString> optString(const QJsonObject &object, QLatin1StringView key);
std::optional<bool> optBool(const QJsonObject &object, QLatin1StringView key);
/// A JSON number holding a whole value that fits an int; 2.0 counts, 2.5 and 1e30 do not.
std::optional<int> optInt(const QJsonObject &object, QLatin1StringView key);
/// A JSON number as a 64-bit count: whole numbers as they are, others truncated toward zero;
/// none when absent, not a number, not finite or outside the 64-bit range.
std::optional<qint64> optTruncatedInt64(const QJsonObject &object, QLatin1StringView key);
/// Any finite JSON number.
std::optional<double> optNumber(const QJsonObject &object, QLatin1StringView key);
std::optional<QJsonObject> optObject(const QJsonObject &object, QLatin1StringView key);
std::optional<QJsonArray> optArray(const QJsonObject &object, QLatin1StringView key);

inline QString string(const QJsonObject &object, QLatin1StringView key, const QString &fallback = {})
{
    return optString(object, key).value_or(fallback);
}
inline bool boolean(const QJsonObject &object, QLatin1StringView key, bool fallback)
{
    return optBool(object, key).value_or(fallback);
}
inline int integer(const QJsonObject &object, QLatin1StringView key, int fallback)
{
    return optInt(object, key).value_or(fallback);
}

/// The string elements of an array member, other elements skipped; empty when absent.
QStringList stringList(const QJsonObject &object, QLatin1StringView key);
/// The object elements of an array member, other elements skipped; empty when absent.
QList<QJsonObject> objectList(const QJsonObject &object, QLatin1StringView key);

} // namespace halvic::json
