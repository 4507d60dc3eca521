#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QtQmlIntegration>

#include <optional>

namespace halvic {

/// An internet date-time (RFC 3339: date, time and zone, with or without fractional
/// seconds); none for anything else.
std::optional<QDateTime> parseInternetDateTime(const QString &text);

/// An engine timestamp for a card's footer or tooltip, as "Jan 5, 14:03" in the local time
/// zone; "" when `timestamp` is empty or not an internet date-time (RFC 3339, with or without
/// fractional seconds; the zone is required).
QString memPrettyTime(const QString &timestamp);

/// The symbol for a file kind (an extension such as "pdf", any case); "doc" for anything else.
QString storageIcon(const QString &type);

/// A file size in binary multiples: "" below 1 byte, "1023 B", "2 KB", "1.0 MB", "1.5 GB".
QString storageSize(qint64 bytes);

/// The same formats for card views.
class CardFormat : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
public:
    using QObject::QObject;

    Q_INVOKABLE static QString prettyTime(const QString &timestamp) { return memPrettyTime(timestamp); }
    Q_INVOKABLE static QString fileIcon(const QString &type) { return storageIcon(type); }
    Q_INVOKABLE static QString fileSize(qint64 bytes) { return storageSize(bytes); }
};

} // namespace halvic
