#pragma once

#include <QJsonObject>
#include <QString>
#include <QVariant>

#include <optional>

#include "RecordRole.h"

namespace halvic {

/// One fact the engine remembers about the user.
struct MemoryItem
{
    QString id;
    QString text;
    QString kind = {};
    /// What the fact is about in time, in the engine's words ("re: " in the footer).
    QString when = {};
    /// When it was remembered: an internet date-time, or anything else (then not shown).
    QString createdAt = {};
    /// Linked to other memories in the graph.
    bool linked = false;

    /// Needs string "id" and "text"; the other members fall back to empty and false.
    static std::optional<MemoryItem> from(const QJsonObject &object);

    /// The view's roles: memoryId, text, kind, footer, linked.
    static const RecordRoles<MemoryItem> &roles();

    friend bool operator==(const MemoryItem &, const MemoryItem &) = default;
};

/// The line under a memory: when it was remembered and, after "re: ", what it is about;
/// "" when there is neither.
QString memoryFooter(const MemoryItem &item);

/// One dot of the memory graph.
struct GraphNode
{
    QString id;
    QString text;
    QString kind;

    /// Needs string "id" and "text"; "kind" falls back to empty.
    static std::optional<GraphNode> from(const QJsonObject &object);
    friend bool operator==(const GraphNode &, const GraphNode &) = default;
};

/// One link of the memory graph, from one node id to another.
struct GraphEdge
{
    QString from;
    QString to;
    QString type;

    /// Needs string "from" and "to"; "type" falls back to "related". (Not `from`, the
    /// decoder's usual name: that is a field here.)
    static std::optional<GraphEdge> decode(const QJsonObject &object);
    /// Joins `a` and `b`, in either direction.
    bool joins(const QString &a, const QString &b) const { return (from == a && to == b) || (from == b && to == a); }
    friend bool operator==(const GraphEdge &, const GraphEdge &) = default;
};

} // namespace halvic
