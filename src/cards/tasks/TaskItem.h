#pragma once

#include <QJsonObject>
#include <QString>
#include <QVariant>

#include <optional>

#include "RecordRole.h"

namespace halvic {

/// One of the user's open tasks or reminders, as the engine names it.
struct TaskItem
{
    QString id;
    QString text;
    /// When it is due, in the engine's own wording; shown verbatim.
    std::optional<QString> due;

    /// Needs string "id" and "text"; "due" is taken only when it is a string.
    static std::optional<TaskItem> from(const QJsonObject &object);

    /// The view's roles: taskId, text, due (empty when none), hasDue.
    static const RecordRoles<TaskItem> &roles();

    friend bool operator==(const TaskItem &, const TaskItem &) = default;
};

} // namespace halvic
