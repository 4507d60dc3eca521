#include "EntityModel.h"

#include <QHash>
#include <QVariantList>

#include <algorithm>
#include <variant>

namespace halvic {

using namespace Qt::Literals::StringLiterals;

namespace {

// Longer timelines show their first rows and say how many there are.
constexpr qsizetype timelineLimit = 60;
// The quick facts shown before "+N more".
constexpr qsizetype quickFirst = 4;
const QString separator = u"  \u00b7  "_s;

QString quickIcon(const QString &kind)
{
    if (kind == u"phone")
        return u"phone.fill"_s;
    if (kind == u"email")
        return u"envelope.fill"_s;
    if (kind == u"url")
        return u"link"_s;
    return u"dollarsign.circle.fill"_s;
}

QString quickHelp(const QString &kind, const QString &value)
{
    if (kind == u"phone")
        return u"Call "_s + value;
    if (kind == u"email")
        return u"Email "_s + value;
    if (kind == u"url")
        return u"Open "_s + value;
    return value;
}

} // namespace

QString entityCountText(qint64 count, const QString &noun)
{
    return QString::number(count) + u' ' + noun + (count == 1 ? QString() : u"s"_s);
}

EntityHeading EntityHeading::of(const EntityProfile &profile, const QDateTime &now)
{
    const EntityRef &entity = profile.entity;
    QStringList counts{
        entityCountText(profile.counts.facts, u"fact"_s), entityCountText(profile.counts.relations, u"relation"_s)};
    if (!profile.counts.lastTouch.isEmpty())
        counts << u"last touch "_s + entityRelativeDate(profile.counts.lastTouch, now);
    const qsizetype timelineTotal = qsizetype(profile.timeline.size());
    return {
        .title = entity.name.isEmpty() ? u"(unknown)"_s : entity.name,
        .typeIcon = entityTypeIcon(entity.etype),
        .typeColor = entityTypeColor(entity.etype),
        .typeLabel = entityTypeLabel(entity.etype),
        .aka = entity.aliases.isEmpty() ? QString() : u"aka "_s + entity.aliases.join(u", "_s),
        .countsLine = counts.join(separator),
        .summary = profile.summary,
        .read = profile.read,
        .timelineNote
        = timelineTotal > timelineLimit ? u"showing %1 of %2"_s.arg(timelineLimit).arg(timelineTotal) : QString(),
        .rawLabel = entityCountText(profile.counts.facts, u"fact"_s),
    };
}

const RecordRoles<EntityQuickRow> &EntityQuickRow::roles()
{
    static const RecordRoles<EntityQuickRow> table{
        {"kind", &EntityQuickRow::kind},
        {"value", &EntityQuickRow::value},
        {"symbol", &EntityQuickRow::icon},
        {"help", &EntityQuickRow::help},
        {"folded", &EntityQuickRow::folded},
    };
    return table;
}

const RecordRoles<EntityRelationRow> &EntityRelationRow::roles()
{
    static const RecordRoles<EntityRelationRow> table{
        {"group", &EntityRelationRow::group},
        {"groupStart", &EntityRelationRow::groupStart},
        {"other", &EntityRelationRow::other},
        {"summary", &EntityRelationRow::summary},
        {"icon", &EntityRelationRow::icon},
        {"color", &EntityRelationRow::color},
    };
    return table;
}

const RecordRoles<EntityMomentRow> &EntityMomentRow::roles()
{
    static const RecordRoles<EntityMomentRow> table{
        {"date", &EntityMomentRow::date},
        {"fact", &EntityMomentRow::fact},
        {"color", &EntityMomentRow::color},
    };
    return table;
}

const RecordRoles<EntityFactRow> &EntityFactRow::roles()
{
    static const RecordRoles<EntityFactRow> table{
        {"group", &EntityFactRow::group},
        {"groupColor", &EntityFactRow::groupColor},
        {"groupStart", &EntityFactRow::groupStart},
        {"fact", &EntityFactRow::fact},
        // The fact as the raw memory lists it: its kind, the fact and when.
        {"rawLine",
            [](const EntityFactRow &row) {
                return row.kind + u" \u00b7 "_s + row.fact
                    + (row.date.isEmpty() ? QString() : u" \u00b7 "_s + row.date);
            }},
    };
    return table;
}

const RecordRoles<EntityTaskRow> &EntityTaskRow::roles()
{
    static const RecordRoles<EntityTaskRow> table{
        {"text", &EntityTaskRow::text},
        {"due", &EntityTaskRow::due},
    };
    return table;
}

const RecordRoles<ComposedSectionRow> &ComposedSectionRow::roles()
{
    static const RecordRoles<ComposedSectionRow> table{
        {"title", &ComposedSectionRow::title},
        {"kind", &ComposedSectionRow::kind},
        {"body", &ComposedSectionRow::body},
        {"rows", &ComposedSectionRow::rows},
    };
    return table;
}

std::vector<EntityQuickRow> entityQuickRows(const EntityProfile &profile)
{
    std::vector<EntityQuickRow> rows;
    for (const auto &[kind, value] : profile.quick.chips()) {
        const bool folded = qsizetype(rows.size()) >= quickFirst;
        rows.push_back({kind, value, quickIcon(kind), quickHelp(kind, value), folded});
    }
    return rows;
}

std::vector<EntityRelationRow> entityRelationRows(const EntityProfile &profile)
{
    // Grouped by relation type, the groups in the order their first relation came.
    QStringList order;
    QHash<QString, std::vector<const EntityRelation *>> groups;
    for (const EntityRelation &relation : profile.relations) {
        if (!groups.contains(relation.rtype))
            order << relation.rtype;
        groups[relation.rtype].push_back(&relation);
    }
    std::vector<EntityRelationRow> rows;
    for (const QString &rtype : order) {
        const QString title = rtype.isEmpty() ? u"related"_s : rtype;
        bool first = true;
        for (const EntityRelation *relation : std::as_const(groups)[rtype]) {
            rows.push_back({relation->id(), title, first, relation->other, relation->otherSummary,
                entityTypeIcon(relation->otype), entityTypeColor(relation->otype)});
            first = false;
        }
    }
    return rows;
}

std::vector<EntityMomentRow> entityMomentRows(const EntityProfile &profile, const QDateTime &now)
{
    std::vector<EntityMomentRow> rows;
    for (qsizetype i = 0; i < qsizetype(profile.timeline.size()) && i < timelineLimit; ++i) {
        const EntityTimelineItem &item = profile.timeline[std::size_t(i)];
        rows.push_back({item.id, entityRelativeDate(item.date, now), item.fact, entityKindColor(item.kind)});
    }
    return rows;
}

std::vector<EntityFactRow> entityFactRows(const EntityProfile &profile, const QDateTime &now)
{
    std::vector<EntityFactRow> rows;
    for (const EntityFactGroup &group : profile.factGroups) {
        bool first = true;
        for (const EntityFact &fact : group.facts) {
            rows.push_back({fact.id, entityFactSectionLabel(group.kind), entityKindColor(group.kind), first, fact.fact,
                group.kind, entityRelativeDate(fact.date, now)});
            first = false;
        }
    }
    return rows;
}

namespace {

template <class Row, class Source, class Convert>
QVariantList viewRows(const std::vector<Source> &source, Convert convert)
{
    QVariantList rows;
    for (const Source &item : source)
        rows.append(QVariant::fromValue<Row>(convert(item)));
    return rows;
}

struct SectionBody
{
    const QDateTime &now;
    ComposedSectionRow &out;

    void operator()(const ComposedSection::Text &text) const
    {
        out.kind = u"text"_s;
        out.body = text.body;
    }
    void operator()(const ComposedSection::KV &kv) const
    {
        out.kind = u"kv"_s;
        out.rows = viewRows<ComposedKVView>(kv.rows, [](const ComposedKV &row) {
            return ComposedKVView{row.k, row.v};
        });
    }
    void operator()(const ComposedSection::Chips &chips) const
    {
        out.kind = u"chips"_s;
        out.rows = viewRows<ComposedChipView>(chips.chips, [](const ComposedChip &chip) {
            const QString label = chip.label.isEmpty() ? chip.value : chip.label + u"  "_s + chip.value;
            return ComposedChipView{chip.kind, chip.value, label, composedChipIcon(chip.kind)};
        });
    }
    void operator()(const ComposedSection::List &list) const
    {
        out.kind = u"list"_s;
        out.rows = viewRows<ComposedListView>(list.rows, [this](const ComposedListRow &row) {
            return ComposedListView{row.title, row.sub, entityRelativeDate(row.date, now), row.entity,
                composedListIcon(row.icon), composedListColor(row.icon)};
        });
    }
};

} // namespace

std::vector<ComposedSectionRow> composedSectionRows(const ComposedDossier &dossier, const QDateTime &now)
{
    std::vector<ComposedSectionRow> rows;
    for (const ComposedSection &section : dossier.sections) {
        ComposedSectionRow row{.id = section.id, .title = section.title, .kind = {}, .body = {}, .rows = {}};
        std::visit(SectionBody{now, row}, section.body);
        rows.push_back(std::move(row));
    }
    return rows;
}

int EntityModel::moreQuickCount() const
{
    const EntityQuick &quick = m_profile.quick;
    const qsizetype total = quick.phones.size() + quick.emails.size() + quick.urls.size() + quick.amounts.size();
    return int(std::max<qsizetype>(total - quickFirst, 0));
}

void EntityModel::setProfile(EntityProfile profile)
{
    if (profile == m_profile)
        return;
    m_profile = std::move(profile);
    const QDateTime now = QDateTime::currentDateTime();
    m_heading = EntityHeading::of(m_profile, now);
    m_quick.replaceAll(entityQuickRows(m_profile));
    m_relations.replaceAll(entityRelationRows(m_profile));
    m_timeline.replaceAll(entityMomentRows(m_profile, now));
    m_facts.replaceAll(entityFactRows(m_profile, now));
    std::vector<EntityTaskRow> tasks;
    for (const EntityTaskItem &task : m_profile.tasks)
        tasks.push_back({task.id, task.text, task.due});
    m_tasks.replaceAll(std::move(tasks));
    emit profileChanged();
}

void EntityModel::setComposed(std::optional<ComposedDossier> composed)
{
    if (composed == m_composed)
        return;
    m_composed = std::move(composed);
    m_sections.replaceAll(m_composed ? composedSectionRows(*m_composed, QDateTime::currentDateTime())
                                     : std::vector<ComposedSectionRow>());
    emit composedChanged();
}

void EntityModel::setComposing(bool composing)
{
    if (composing == m_composing)
        return;
    m_composing = composing;
    emit composingChanged();
}

void EntityModel::setNoteText(const QString &text)
{
    if (text == m_noteText)
        return;
    m_noteText = text;
    emit noteTextChanged();
}

void EntityModel::setEditingSummary(bool editing)
{
    if (editing == m_editingSummary)
        return;
    m_editingSummary = editing;
    emit editingSummaryChanged();
}

void EntityModel::setSummaryDraft(const QString &draft)
{
    if (draft == m_summaryDraft)
        return;
    m_summaryDraft = draft;
    emit summaryDraftChanged();
}

void EntityModel::setLoading(bool loading)
{
    if (loading == m_loading)
        return;
    m_loading = loading;
    emit loadingChanged();
}

} // namespace halvic
