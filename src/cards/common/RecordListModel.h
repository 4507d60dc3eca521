#pragma once

#include <QAbstractListModel>
#include <QJsonArray>
#include <QJsonObject>
#include <QtQmlIntegration>

#include <algorithm>
#include <optional>
#include <vector>

#include "JsonRead.h"
#include "RecordRole.h"

namespace halvic {

/// The part of a record list the views see: rows with the record's roles, and a count.
class RecordList : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by a card")
    Q_PROPERTY(int count READ count NOTIFY countChanged)
public:
    using QAbstractListModel::QAbstractListModel;

    virtual int count() const = 0;
    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : count(); }

signals:
    void countChanged();
};

/// A card's list of value records, top first. `Record` has a QString `id` (or, for records
/// told apart by name, `name`), equality, and `static const RecordRoles<Record> &roles()`:
/// the roles the views read, each with what it reads.
template <class Record>
class RecordListModel final : public RecordList
{
public:
    using RecordList::RecordList;

    const std::vector<Record> &records() const { return m_records; }
    int count() const override { return int(m_records.size()); }
    bool isEmpty() const { return m_records.empty(); }

    /// Replaces the whole list with one reset (none when nothing changes).
    void replaceAll(std::vector<Record> records)
    {
        if (records == m_records)
            return;
        const int before = count();
        beginResetModel();
        m_records = std::move(records);
        endResetModel();
        if (count() != before)
            emit countChanged();
    }

    /// Puts `record` at the top after removing every entry with its id.
    void prepend(Record record)
    {
        const int before = count();
        eraseId(idOf(record));
        beginInsertRows({}, 0, 0);
        m_records.insert(m_records.begin(), std::move(record));
        endInsertRows();
        if (count() != before)
            emit countChanged();
    }

    /// Removes every entry with this id; returns how many went.
    int removeId(const QString &id)
    {
        const int removed = eraseId(id);
        if (removed > 0)
            emit countChanged();
        return removed;
    }

    /// Puts `record` in place of the first entry with its id; false when there is none.
    bool replaceFirst(Record record)
    {
        const auto it
            = std::find_if(m_records.begin(), m_records.end(), [&](const Record &r) { return r.id == record.id; });
        if (it == m_records.end())
            return false;
        if (*it == record)
            return true;
        *it = std::move(record);
        const QModelIndex changed = index(int(it - m_records.begin()));
        emit dataChanged(changed, changed);
        return true;
    }

    /// The first entry with this id, or null.
    const Record *find(const QString &id) const
    {
        const auto it
            = std::find_if(m_records.begin(), m_records.end(), [&](const Record &r) { return idOf(r) == id; });
        return it == m_records.end() ? nullptr : &*it;
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        const RecordRoles<Record> &roles = Record::roles();
        const int column = role - (Qt::UserRole + 1);
        if (!index.isValid() || index.parent().isValid() || index.row() >= count() || column < 0
            || column >= int(roles.size()))
            return {};
        return roles[std::size_t(column)].read(m_records[std::size_t(index.row())]);
    }

    QHash<int, QByteArray> roleNames() const override
    {
        QHash<int, QByteArray> names;
        const RecordRoles<Record> &roles = Record::roles();
        for (std::size_t i = 0; i < roles.size(); ++i)
            names.insert(Qt::UserRole + 1 + int(i), roles[i].name);
        return names;
    }

private:
    static const QString &idOf(const Record &record)
    {
        if constexpr (requires { record.id; })
            return record.id;
        else
            return record.name;
    }

    int eraseId(const QString &id)
    {
        int removed = 0;
        // From the bottom, so the rows still to visit keep their numbers.
        for (int row = count() - 1; row >= 0; --row) {
            if (idOf(m_records[std::size_t(row)]) != id)
                continue;
            beginRemoveRows({}, row, row);
            m_records.erase(m_records.begin() + row);
            endRemoveRows();
            ++removed;
        }
        return removed;
    }

    std::vector<Record> m_records;
};

/// The records of an array member of an engine payload, elements that do not decode skipped;
/// none when the member is absent or not an array.
template <class Record>
std::optional<std::vector<Record>> records(const QJsonObject &payload, QLatin1StringView key)
{
    const std::optional<QJsonArray> list = json::optArray(payload, key);
    if (!list)
        return std::nullopt;
    std::vector<Record> out;
    out.reserve(std::size_t(list->size()));
    for (const QJsonValue &element : *list) {
        if (auto record = Record::from(element.toObject()))
            out.push_back(std::move(*record));
    }
    return out;
}

} // namespace halvic
