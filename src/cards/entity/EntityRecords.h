#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <variant>
#include <vector>

namespace halvic {

/// Who or what a dossier is about.
struct EntityRef
{
    /// The entity's stable identifier; every command about the entity names it.
    QString key;
    QString name;
    QString etype;
    QStringList aliases;

    friend bool operator==(const EntityRef &, const EntityRef &) = default;
};

/// A (kind, value) pair the dossier can open: a phone number, an address, a link, an amount.
using EntityChip = std::pair<QString, QString>;

/// The quick contact facts.
struct EntityQuick
{
    QStringList phones;
    QStringList emails;
    QStringList urls;
    QStringList amounts;

    bool isEmpty() const { return phones.isEmpty() && emails.isEmpty() && urls.isEmpty() && amounts.isEmpty(); }
    /// Phones, then emails, URLs and amounts, as ("phone"|"email"|"url"|"amount", value).
    QList<EntityChip> chips() const;

    friend bool operator==(const EntityQuick &, const EntityQuick &) = default;
};

struct EntityRelation
{
    /// The related entity's name.
    QString other;
    QString otype;
    QString rtype;
    QString direction;
    QString otherSummary;

    QString id() const { return rtype + u'|' + direction + u'|' + other; }

    friend bool operator==(const EntityRelation &, const EntityRelation &) = default;
};

struct EntityTimelineItem
{
    QString id;
    QString date;
    QString kind;
    QString fact;
    QString tone;

    friend bool operator==(const EntityTimelineItem &, const EntityTimelineItem &) = default;
};

struct EntityFact
{
    QString id;
    QString fact;
    QString date;

    friend bool operator==(const EntityFact &, const EntityFact &) = default;
};

struct EntityFactGroup
{
    QString kind;
    std::vector<EntityFact> facts;

    friend bool operator==(const EntityFactGroup &, const EntityFactGroup &) = default;
};

struct EntityTaskItem
{
    QString id;
    QString text;
    QString due;

    friend bool operator==(const EntityTaskItem &, const EntityTaskItem &) = default;
};

struct EntityCounts
{
    qint64 facts = 0;
    qint64 relations = 0;
    QString lastTouch;

    friend bool operator==(const EntityCounts &, const EntityCounts &) = default;
};

/// Everything the engine knows about one entity, as the "entity_profile" event sends it.
struct EntityProfile
{
    EntityRef entity;
    QString summary;
    /// The assistant's one-line reading of the entity.
    QString read;
    EntityQuick quick;
    std::vector<EntityRelation> relations;
    std::vector<EntityTimelineItem> timeline;
    std::vector<EntityFactGroup> factGroups;
    std::vector<EntityTaskItem> tasks;
    EntityCounts counts;
    /// Other entities the request also matched.
    QStringList alsoMatched;

    /// Never fails: missing or mistyped members take their empty defaults.
    static EntityProfile from(const QJsonObject &object);

    friend bool operator==(const EntityProfile &, const EntityProfile &) = default;
};

struct ComposedHeader
{
    QString roleLine;
    QStringList badges;

    friend bool operator==(const ComposedHeader &, const ComposedHeader &) = default;
};

struct ComposedKV
{
    QString id;
    QString k;
    QString v;

    friend bool operator==(const ComposedKV &, const ComposedKV &) = default;
};

struct ComposedChip
{
    QString id;
    QString kind;
    QString label;
    QString value;

    friend bool operator==(const ComposedChip &, const ComposedChip &) = default;
};

struct ComposedListRow
{
    QString id;
    /// A row icon name ("person", "company", "event", "task", "money", "note").
    QString icon;
    QString title;
    QString sub;
    QString date;
    /// The entity the row refers to, or empty.
    QString entity;

    friend bool operator==(const ComposedListRow &, const ComposedListRow &) = default;
};

/// One section of a composed dossier: its id and title, and one of four bodies.
struct ComposedSection
{
    struct Text
    {
        QString body;
        friend bool operator==(const Text &, const Text &) = default;
    };
    struct KV
    {
        std::vector<ComposedKV> rows;
        friend bool operator==(const KV &, const KV &) = default;
    };
    struct Chips
    {
        std::vector<ComposedChip> chips;
        friend bool operator==(const Chips &, const Chips &) = default;
    };
    struct List
    {
        std::vector<ComposedListRow> rows;
        friend bool operator==(const List &, const List &) = default;
    };

    QString id;
    QString title;
    std::variant<Text, KV, Chips, List> body;

    friend bool operator==(const ComposedSection &, const ComposedSection &) = default;
};

/// The engine's own arrangement of a dossier as typed sections.
struct ComposedDossier
{
    ComposedHeader header;
    std::vector<ComposedSection> sections;

    bool hasChipsSection() const;

    /// Never fails: sections and rows without content are dropped, unknown section types
    /// skipped; ids count the elements as received, so later ids keep their numbers.
    static ComposedDossier from(const QJsonObject &object);

    friend bool operator==(const ComposedDossier &, const ComposedDossier &) = default;
};

// Tables from entity types, fact kinds, chip kinds and row icons to what the views show.
// Colours are names the view's style knows ("green", "secondary", ...).

QString entityTypeColor(const QString &etype);
QString entityTypeIcon(const QString &etype);
QString entityTypeLabel(const QString &etype);
QString entityKindColor(const QString &kind);
QString entityFactSectionLabel(const QString &kind);
QString composedChipIcon(const QString &kind);
QString composedListIcon(const QString &icon);
QString composedListColor(const QString &icon);

/// A short relative date ("today", "3d ago", "2w ago", "1mo ago", "1y ago") for an engine
/// date, seen from `now`; a future date as yyyy-MM-dd; a text that is no date unchanged.
QString entityRelativeDate(const QString &text, const QDateTime &now);
inline QString entityRelativeDate(const QString &text)
{
    return entityRelativeDate(text, QDateTime::currentDateTime());
}

// What opening a fact or chip hands to the desktop, before the scheme check: none when the
// kind opens nothing.

/// "phone" → tel:digits, "email" → mailto:, "url" → the link (https:// when it has no
/// http scheme); anything else nothing.
std::optional<QString> quickLinkText(const QString &kind, const QString &value);
/// "phone" as above, "email" → mailto: unless it is one already; anything else the value
/// when it has a scheme or is a mailto:, else https:// in front.
QString composedChipLinkText(const QString &kind, const QString &value);

} // namespace halvic
