#pragma once

#include <QJsonObject>
#include <QString>
#include <QVariant>

#include <optional>

#include "RecordRole.h"

namespace halvic {

/// One file in the user's storage, as the engine lists it; files are told apart by name.
struct StorageItem
{
    QString name;
    /// The file's kind as the engine reports it, usually an extension such as "pdf".
    QString type;
    /// In bytes.
    qint64 size = 0;
    /// When it last changed, in the engine's words (an internet date-time when it can).
    QString updated;

    /// Needs a string "name"; "size" is a whole number (a fraction is cut off toward zero)
    /// or 0; "type" and "updated" are strings or "".
    static std::optional<StorageItem> from(const QJsonObject &object);

    /// The view's roles: name, icon, sizeText, help (the tile's tooltip).
    static const RecordRoles<StorageItem> &roles();

    friend bool operator==(const StorageItem &, const StorageItem &) = default;
};

} // namespace halvic
