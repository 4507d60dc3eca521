#include "EntityModel.h"

#include <QVariantList>

#include <algorithm>

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

QVariantList relationGroups(const std::vector<EntityRelation> &relations)
{
    // Grouped by relation type, the groups in the order their first relation came.
    QStringList order;
    QHash<QString, QVariantList> rows;
    for (const EntityRelation &relation : relations) {
        if (!rows.contains(relation.rtype))
            order << relation.rtype;
        rows[relation.rtype].append(QVariantMap{{u"id"_s, relation.id()}, {u"other"_s, relation.other},
            {u"summary"_s, relation.otherSummary}, {u"otype"_s, relation.otype},
            {u"icon"_s, entityTypeIcon(relation.otype)}, {u"color"_s, entityTypeColor(relation.otype)}});
    }
    QVariantList groups;
    for (const QString &rtype : order) {
        const QString title = rtype.isEmpty() ? u"related"_s : rtype;
        groups.append(QVariantMap{{u"title"_s, title}, {u"rows"_s, rows.value(rtype)}});
    }
    return groups;
}

} // namespace

QString entityCountText(qint64 count, const QString &noun)
{
    return QString::number(count) + u' ' + noun + (count == 1 ? QString() : u"s"_s);
}

QVariantMap entityProfileView(const EntityProfile &profile, const QDateTime &now)
{
    const EntityRef &entity = profile.entity;
    QStringList counts{
        entityCountText(profile.counts.facts, u"fact"_s), entityCountText(profile.counts.relations, u"relation"_s)};
    if (!profile.counts.lastTouch.isEmpty())
        counts << u"last touch "_s + entityRelativeDate(profile.counts.lastTouch, now);

    QVariantList quick;
    for (const auto &[kind, value] : profile.quick.chips())
        quick.append(QVariantMap{{u"kind"_s, kind}, {u"value"_s, value}, {u"icon"_s, quickIcon(kind)}});

    QVariantList timeline;
    for (qsizetype i = 0; i < qsizetype(profile.timeline.size()) && i < timelineLimit; ++i) {
        const EntityTimelineItem &item = profile.timeline[std::size_t(i)];
        timeline.append(QVariantMap{{u"id"_s, item.id}, {u"date"_s, entityRelativeDate(item.date, now)},
            {u"kind"_s, item.kind}, {u"fact"_s, item.fact}, {u"color"_s, entityKindColor(item.kind)}});
    }
    const qsizetype timelineTotal = qsizetype(profile.timeline.size());
    const QString timelineNote
        = timelineTotal > timelineLimit ? u"showing %1 of %2"_s.arg(timelineLimit).arg(timelineTotal) : QString();

    QVariantList groups;
    QVariantList rawFacts;
    for (const EntityFactGroup &group : profile.factGroups) {
        QVariantList facts;
        for (const EntityFact &fact : group.facts) {
            const QVariantMap row{{u"id"_s, fact.id}, {u"fact"_s, fact.fact},
                {u"date"_s, entityRelativeDate(fact.date, now)}, {u"kind"_s, group.kind}};
            facts.append(row);
            rawFacts.append(row);
        }
        groups.append(QVariantMap{{u"kind"_s, group.kind}, {u"title"_s, entityFactSectionLabel(group.kind)},
            {u"color"_s, entityKindColor(group.kind)}, {u"facts"_s, facts}});
    }

    QVariantList tasks;
    for (const EntityTaskItem &task : profile.tasks)
        tasks.append(QVariantMap{{u"id"_s, task.id}, {u"text"_s, task.text}, {u"due"_s, task.due}});

    return {
        {u"name"_s, entity.name},
        {u"title"_s, entity.name.isEmpty() ? u"(unknown)"_s : entity.name},
        {u"typeIcon"_s, entityTypeIcon(entity.etype)},
        {u"typeColor"_s, entityTypeColor(entity.etype)},
        {u"typeLabel"_s, entityTypeLabel(entity.etype)},
        {u"aka"_s, entity.aliases.isEmpty() ? QString() : u"aka "_s + entity.aliases.join(u", "_s)},
        {u"countsLine"_s, counts.join(separator)},
        {u"summary"_s, profile.summary},
        {u"read"_s, profile.read},
        {u"quick"_s, quick},
        {u"relationGroups"_s, relationGroups(profile.relations)},
        {u"timeline"_s, timeline},
        {u"timelineNote"_s, timelineNote},
        {u"factGroups"_s, groups},
        {u"tasks"_s, tasks},
        {u"rawLabel"_s, entityCountText(profile.counts.facts, u"fact"_s)},
        {u"rawFacts"_s, rawFacts},
    };
}

QVariantMap composedDossierView(const ComposedDossier &dossier, const QDateTime &now)
{
    QVariantList sections;
    for (const ComposedSection &section : dossier.sections) {
        QVariantMap out{{u"id"_s, section.id}, {u"title"_s, section.title}};
        if (const auto *text = std::get_if<ComposedSection::Text>(&section.body)) {
            out.insert(u"type"_s, u"text"_s);
            out.insert(u"body"_s, text->body);
        } else if (const auto *kv = std::get_if<ComposedSection::KV>(&section.body)) {
            QVariantList rows;
            for (const ComposedKV &row : kv->rows)
                rows.append(QVariantMap{{u"id"_s, row.id}, {u"k"_s, row.k}, {u"v"_s, row.v}});
            out.insert(u"type"_s, u"kv"_s);
            out.insert(u"rows"_s, rows);
        } else if (const auto *chips = std::get_if<ComposedSection::Chips>(&section.body)) {
            QVariantList rows;
            for (const ComposedChip &chip : chips->chips) {
                rows.append(QVariantMap{{u"id"_s, chip.id}, {u"kind"_s, chip.kind}, {u"label"_s, chip.label},
                    {u"value"_s, chip.value}, {u"icon"_s, composedChipIcon(chip.kind)}});
            }
            out.insert(u"type"_s, u"chips"_s);
            out.insert(u"chips"_s, rows);
        } else if (const auto *list = std::get_if<ComposedSection::List>(&section.body)) {
            QVariantList rows;
            for (const ComposedListRow &row : list->rows) {
                rows.append(QVariantMap{{u"id"_s, row.id}, {u"title"_s, row.title}, {u"sub"_s, row.sub},
                    {u"date"_s, entityRelativeDate(row.date, now)}, {u"entity"_s, row.entity},
                    {u"icon"_s, composedListIcon(row.icon)}, {u"color"_s, composedListColor(row.icon)}});
            }
            out.insert(u"type"_s, u"list"_s);
            out.insert(u"rows"_s, rows);
        }
        sections.append(out);
    }
    return {{u"roleLine"_s, dossier.header.roleLine}, {u"badges"_s, dossier.header.badges}, {u"sections"_s, sections}};
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
    m_profileView = entityProfileView(m_profile, QDateTime::currentDateTime());
    emit profileChanged();
}

void EntityModel::setComposed(std::optional<ComposedDossier> composed)
{
    if (composed == m_composed)
        return;
    m_composed = std::move(composed);
    m_composedView = m_composed ? composedDossierView(*m_composed, QDateTime::currentDateTime()) : QVariantMap();
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
