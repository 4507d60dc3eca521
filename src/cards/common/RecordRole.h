#pragma once

#include <QByteArray>
#include <QVariant>

#include <functional>
#include <utility>
#include <vector>

namespace halvic {

/// One role of a record list: the name the views use, and what it reads from the record (a
/// field, a getter, or a value worked out from the record). A record declares its roles as one
/// table of these, so a role's name and its value cannot come apart.
template <class Record>
struct RecordRole
{
    template <class Read>
    requires std::is_invocable_v<const Read &, const Record &> RecordRole(QByteArray roleName, Read reader)
        : name(std::move(roleName))
        , read([reader](const Record &record) { return QVariant::fromValue(std::invoke(reader, record)); })
    {
    }

    QByteArray name;
    std::function<QVariant(const Record &)> read;
};

template <class Record>
using RecordRoles = std::vector<RecordRole<Record>>;

} // namespace halvic
