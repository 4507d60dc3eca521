#pragma once

#include <QObject>
#include <QVariantList>
#include <QtQmlIntegration>

#include <optional>
#include <vector>

#include "EntityRecords.h"
#include "RecordListModel.h"

namespace halvic {

/// "3 facts", "1 relation": a count and its noun, plural unless the count is 1.
QString entityCountText(qint64 count, const QString &noun);

/// The dossier's heading and the profile's loose texts, worked out for the view.
struct EntityHeading
{
    Q_GADGET
    QML_ANONYMOUS
    Q_PROPERTY(QString title MEMBER title)
    Q_PROPERTY(QString typeIcon MEMBER typeIcon)
    Q_PROPERTY(QString typeColor MEMBER typeColor)
    Q_PROPERTY(QString typeLabel MEMBER typeLabel)
    Q_PROPERTY(QString aka MEMBER aka)
    Q_PROPERTY(QString countsLine MEMBER countsLine)
    Q_PROPERTY(QString summary MEMBER summary)
    Q_PROPERTY(QString read MEMBER read)
    Q_PROPERTY(QString timelineNote MEMBER timelineNote)
    Q_PROPERTY(QString rawLabel MEMBER rawLabel)
public:
    /// "(unknown)" for an entity without a name.
    QString title;
    QString typeIcon;
    QString typeColor;
    QString typeLabel;
    /// "aka A, B", or empty.
    QString aka;
    QString countsLine;
    QString summary;
    QString read;
    /// "showing 60 of 75" when the timeline is cut short.
    QString timelineNote;
    /// The fact count, as the raw memory toggle shows it.
    QString rawLabel;

    static EntityHeading of(const EntityProfile &profile, const QDateTime &now);
    friend bool operator==(const EntityHeading &, const EntityHeading &) = default;
};

/// A quick fact as a capsule: what it opens and what its button says.
struct EntityQuickRow
{
    QString kind;
    QString value;
    QString icon;
    QString help;
    /// Behind "+N more" until the user unfolds them.
    bool folded = false;

    static const RecordRoles<EntityQuickRow> &roles();
    friend bool operator==(const EntityQuickRow &, const EntityQuickRow &) = default;
};

/// A relation, in the group of its relation type; the first of a group carries the group's title.
struct EntityRelationRow
{
    QString id;
    QString group;
    bool groupStart = false;
    QString other;
    QString summary;
    QString icon;
    QString color;

    static const RecordRoles<EntityRelationRow> &roles();
    friend bool operator==(const EntityRelationRow &, const EntityRelationRow &) = default;
};

struct EntityMomentRow
{
    QString id;
    /// Relative to when the profile came.
    QString date;
    QString fact;
    QString color;

    static const RecordRoles<EntityMomentRow> &roles();
    friend bool operator==(const EntityMomentRow &, const EntityMomentRow &) = default;
};

/// A durable fact, in the group of its kind; the first of a group carries the group's title.
struct EntityFactRow
{
    QString id;
    QString group;
    QString groupColor;
    bool groupStart = false;
    QString fact;
    QString kind;
    QString date;

    static const RecordRoles<EntityFactRow> &roles();
    friend bool operator==(const EntityFactRow &, const EntityFactRow &) = default;
};

struct EntityTaskRow
{
    QString id;
    QString text;
    QString due;

    static const RecordRoles<EntityTaskRow> &roles();
    friend bool operator==(const EntityTaskRow &, const EntityTaskRow &) = default;
};

/// A composed "kv" row.
struct ComposedKVView
{
    Q_GADGET
    QML_ANONYMOUS
    Q_PROPERTY(QString k MEMBER k)
    Q_PROPERTY(QString v MEMBER v)
public:
    QString k;
    QString v;
    friend bool operator==(const ComposedKVView &, const ComposedKVView &) = default;
};

/// A composed chip as a capsule.
struct ComposedChipView
{
    Q_GADGET
    QML_ANONYMOUS
    Q_PROPERTY(QString kind MEMBER kind)
    Q_PROPERTY(QString value MEMBER value)
    Q_PROPERTY(QString label MEMBER label)
    Q_PROPERTY(QString icon MEMBER icon)
public:
    QString kind;
    QString value;
    /// The chip's label and value, or the value alone.
    QString label;
    QString icon;
    friend bool operator==(const ComposedChipView &, const ComposedChipView &) = default;
};

/// A composed "list" row.
struct ComposedListView
{
    Q_GADGET
    QML_ANONYMOUS
    Q_PROPERTY(QString title MEMBER title)
    Q_PROPERTY(QString sub MEMBER sub)
    Q_PROPERTY(QString date MEMBER date)
    Q_PROPERTY(QString entity MEMBER entity)
    Q_PROPERTY(QString icon MEMBER icon)
    Q_PROPERTY(QString color MEMBER color)
public:
    QString title;
    QString sub;
    QString date;
    QString entity;
    QString icon;
    QString color;
    friend bool operator==(const ComposedListView &, const ComposedListView &) = default;
};

/// A composed section: its kind ("text", "kv", "chips" or "list") says which of `body` and
/// `rows` it has; `rows` holds values of that kind's view type.
struct ComposedSectionRow
{
    QString id;
    QString title;
    QString kind;
    QString body;
    QVariantList rows;

    static const RecordRoles<ComposedSectionRow> &roles();
    friend bool operator==(const ComposedSectionRow &, const ComposedSectionRow &) = default;
};

// The view's rows, seen from `now`.
std::vector<EntityQuickRow> entityQuickRows(const EntityProfile &profile);
std::vector<EntityRelationRow> entityRelationRows(const EntityProfile &profile);
std::vector<EntityMomentRow> entityMomentRows(const EntityProfile &profile, const QDateTime &now);
std::vector<EntityFactRow> entityFactRows(const EntityProfile &profile, const QDateTime &now);
std::vector<ComposedSectionRow> composedSectionRows(const ComposedDossier &dossier, const QDateTime &now);

/// What the dossier card shows and what the user is typing into it.
class EntityModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the dossier card")
    /// The shown entity's heading and loose texts.
    Q_PROPERTY(halvic::EntityHeading heading READ heading NOTIFY profileChanged)
    // The plain profile's sections, each its own list.
    Q_PROPERTY(halvic::RecordList *quick READ quickList CONSTANT)
    Q_PROPERTY(halvic::RecordList *relations READ relationList CONSTANT)
    Q_PROPERTY(halvic::RecordList *timeline READ timelineList CONSTANT)
    Q_PROPERTY(halvic::RecordList *facts READ factList CONSTANT)
    Q_PROPERTY(halvic::RecordList *tasks READ taskList CONSTANT)
    Q_PROPERTY(QString name READ name NOTIFY profileChanged)
    Q_PROPERTY(QString key READ key NOTIFY profileChanged)
    /// How many quick facts wait behind "+N more" (the view shows the first four at first).
    Q_PROPERTY(int moreQuickCount READ moreQuickCount NOTIFY profileChanged)
    // The composed layout: the role line and badges under the heading, then its sections.
    Q_PROPERTY(QString roleLine READ roleLine NOTIFY composedChanged)
    Q_PROPERTY(QStringList badges READ badges NOTIFY composedChanged)
    Q_PROPERTY(halvic::RecordList *sections READ sectionList CONSTANT)
    Q_PROPERTY(bool hasComposed READ hasComposed NOTIFY composedChanged)
    /// A composed layout is being prepared.
    Q_PROPERTY(bool composing READ composing NOTIFY composingChanged)
    Q_PROPERTY(QString noteText READ noteText WRITE setNoteText NOTIFY noteTextChanged)
    Q_PROPERTY(bool editingSummary READ editingSummary NOTIFY editingSummaryChanged)
    Q_PROPERTY(QString summaryDraft READ summaryDraft WRITE setSummaryDraft NOTIFY summaryDraftChanged)
    /// A drill-down to another entity is pending.
    Q_PROPERTY(bool loading READ loading NOTIFY loadingChanged)
public:
    using QObject::QObject;

    const EntityProfile &profile() const { return m_profile; }
    const std::optional<ComposedDossier> &composed() const { return m_composed; }
    QString name() const { return m_profile.entity.name; }
    QString key() const { return m_profile.entity.key; }
    int moreQuickCount() const;
    bool hasComposed() const { return m_composed.has_value(); }
    bool composing() const { return m_composing; }
    QString noteText() const { return m_noteText; }
    bool editingSummary() const { return m_editingSummary; }
    QString summaryDraft() const { return m_summaryDraft; }
    bool loading() const { return m_loading; }

    const EntityHeading &heading() const { return m_heading; }
    const RecordListModel<EntityQuickRow> &quick() const { return m_quick; }
    const RecordListModel<EntityRelationRow> &relations() const { return m_relations; }
    const RecordListModel<EntityMomentRow> &timeline() const { return m_timeline; }
    const RecordListModel<EntityFactRow> &facts() const { return m_facts; }
    const RecordListModel<EntityTaskRow> &tasks() const { return m_tasks; }
    const RecordListModel<ComposedSectionRow> &sections() const { return m_sections; }
    QString roleLine() const { return m_composed ? m_composed->header.roleLine : QString(); }
    QStringList badges() const { return m_composed ? m_composed->header.badges : QStringList(); }

    void setProfile(EntityProfile profile);
    void setComposed(std::optional<ComposedDossier> composed);
    void setComposing(bool composing);
    void setNoteText(const QString &text);
    void setEditingSummary(bool editing);
    void setSummaryDraft(const QString &draft);
    void setLoading(bool loading);

signals:
    void profileChanged();
    void composedChanged();
    void composingChanged();
    void noteTextChanged();
    void editingSummaryChanged();
    void summaryDraftChanged();
    void loadingChanged();

private:
    RecordList *quickList() { return &m_quick; }
    RecordList *relationList() { return &m_relations; }
    RecordList *timelineList() { return &m_timeline; }
    RecordList *factList() { return &m_facts; }
    RecordList *taskList() { return &m_tasks; }
    RecordList *sectionList() { return &m_sections; }

    EntityProfile m_profile;
    std::optional<ComposedDossier> m_composed;
    bool m_composing = false;
    QString m_noteText;
    bool m_editingSummary = false;
    QString m_summaryDraft;
    bool m_loading = false;
    EntityHeading m_heading = EntityHeading::of({}, QDateTime::currentDateTime());
    RecordListModel<EntityQuickRow> m_quick;
    RecordListModel<EntityRelationRow> m_relations;
    RecordListModel<EntityMomentRow> m_timeline;
    RecordListModel<EntityFactRow> m_facts;
    RecordListModel<EntityTaskRow> m_tasks;
    RecordListModel<ComposedSectionRow> m_sections;
};

} // namespace halvic
