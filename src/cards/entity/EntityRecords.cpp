#include "EntityRecords.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonValue>
#include <QLocale>
#include <QTimeZone>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "CardFormats.h"
#include "JsonRead.h"

namespace halvic {

using namespace Qt::Literals::StringLiterals;

namespace {

QString str(const QJsonObject &object, QLatin1StringView key)
{
    return json::string(object, key);
}

// An integer field: whole numbers as they are, other numbers truncated toward zero, anything
// else (and numbers outside 64 bits) 0.
qint64 integer(const QJsonObject &object, QLatin1StringView key)
{
    const QJsonValue value = object.value(key);
    if (!value.isDouble())
        return 0;
    constexpr qint64 notWhole = std::numeric_limits<qint64>::min();
    if (const qint64 whole = value.toInteger(notWhole); whole != notWhole)
        return whole;
    const double truncated = std::trunc(value.toDouble());
    // 2^63 is the first double past the top of the range.
    if (!std::isfinite(truncated) || truncated < -9223372036854775808.0 || truncated >= 9223372036854775808.0)
        return 0;
    return qint64(truncated);
}

// A composed value read as text: strings as they are, numbers in decimal (3.0 as "3", 2.5 as
// "2.5"), anything else empty.
QString text(const QJsonObject &object, QLatin1StringView key)
{
    const QJsonValue value = object.value(key);
    if (value.isString())
        return value.toString();
    if (!value.isDouble())
        return {};
    constexpr qint64 notWhole = std::numeric_limits<qint64>::min();
    if (const qint64 whole = value.toInteger(notWhole); whole != notWhole)
        return QString::number(whole);
    const double number = value.toDouble();
    if (!std::isfinite(number))
        return {};
    if (std::trunc(number) == number)
        return QString::number(number, 'f', 0);
    return QString::number(number, 'g', QLocale::FloatingPointShortest);
}

// The elements of an array member, each as an object (anything else as an empty one).
QList<QJsonObject> elements(const QJsonObject &object, QLatin1StringView key)
{
    QList<QJsonObject> out;
    for (const QJsonValue &element : object.value(key).toArray())
        out << element.toObject();
    return out;
}

QString idOr(const QJsonObject &object, const QString &generated)
{
    const QString id = str(object, "id"_L1);
    return id.isEmpty() ? generated : id;
}

// Where a fact kind goes among the groups: the listed kinds first, in this order.
int kindRank(const QString &kind)
{
    static const std::array order{
        u"preference"_s, u"pref"_s, u"plan"_s, u"pattern"_s, u"synthesis"_s, u"fact"_s, u"event"_s, u"observation"_s};
    const QString lower = kind.toLower();
    const auto it = std::find(order.begin(), order.end(), lower);
    return int(it - order.begin());
}

std::vector<EntityFactGroup> decodeFactGroups(const QJsonObject &byKind)
{
    QStringList kinds = byKind.keys();
    std::stable_sort(kinds.begin(), kinds.end(), [](const QString &a, const QString &b) {
        const int rankA = kindRank(a);
        const int rankB = kindRank(b);
        return rankA != rankB ? rankA < rankB : a < b;
    });
    std::vector<EntityFactGroup> groups;
    for (const QString &kind : kinds) {
        const QJsonArray list = byKind.value(kind).toArray();
        if (list.isEmpty())
            continue;
        EntityFactGroup group{kind, {}};
        for (qsizetype i = 0; i < list.size(); ++i) {
            const QJsonObject fact = list.at(i).toObject();
            group.facts.push_back(
                {idOr(fact, kind + u'-' + QString::number(i)), str(fact, "fact"_L1), str(fact, "date"_L1)});
        }
        groups.push_back(std::move(group));
    }
    return groups;
}

std::optional<ComposedSection> section(const QJsonObject &object, qsizetype position)
{
    const QString type = text(object, "type"_L1);
    ComposedSection out{u"sec-%1-%2"_s.arg(position).arg(type), text(object, "title"_L1), {}};
    const auto rowId = [&](qsizetype j) { return out.id + u'-' + QString::number(j); };
    if (type == u"text") {
        const QString body = text(object, "body"_L1);
        if (body.isEmpty())
            return std::nullopt;
        out.body = ComposedSection::Text{body};
    } else if (type == u"kv") {
        ComposedSection::KV kv;
        const QList<QJsonObject> rows = elements(object, "rows"_L1);
        for (qsizetype j = 0; j < rows.size(); ++j) {
            ComposedKV row{rowId(j), text(rows[j], "k"_L1), text(rows[j], "v"_L1)};
            if (!row.k.isEmpty() || !row.v.isEmpty())
                kv.rows.push_back(std::move(row));
        }
        if (kv.rows.empty())
            return std::nullopt;
        out.body = std::move(kv);
    } else if (type == u"chips") {
        ComposedSection::Chips chips;
        const QList<QJsonObject> list = elements(object, "chips"_L1);
        for (qsizetype j = 0; j < list.size(); ++j) {
            ComposedChip chip{rowId(j), text(list[j], "kind"_L1), text(list[j], "label"_L1), text(list[j], "value"_L1)};
            if (!chip.value.isEmpty())
                chips.chips.push_back(std::move(chip));
        }
        if (chips.chips.empty())
            return std::nullopt;
        out.body = std::move(chips);
    } else if (type == u"list") {
        ComposedSection::List list;
        const QList<QJsonObject> rows = elements(object, "rows"_L1);
        for (qsizetype j = 0; j < rows.size(); ++j) {
            const QJsonObject &r = rows[j];
            ComposedListRow row{rowId(j), text(r, "icon"_L1), text(r, "title"_L1), text(r, "sub"_L1),
                text(r, "date"_L1), text(r, "entity"_L1)};
            if (!row.title.isEmpty())
                list.rows.push_back(std::move(row));
        }
        if (list.rows.empty())
            return std::nullopt;
        out.body = std::move(list);
    } else {
        return std::nullopt;
    }
    return out;
}

// Entity types match lower-cased with every "entity:" removed.
QString normalisedType(const QString &etype)
{
    return etype.toLower().remove(u"entity:"_s);
}

struct TypeRow
{
    QLatin1StringView type, color, icon;
    const char *label; // translated in entityTypeLabel
};
constexpr std::array typeRows{
    TypeRow{"person"_L1, "green"_L1, "person.fill"_L1, QT_TRANSLATE_NOOP("EntityRecords", "Person")},
    TypeRow{"company"_L1, "orange"_L1, "building.2.fill"_L1, QT_TRANSLATE_NOOP("EntityRecords", "Company")},
    TypeRow{"amount"_L1, "yellow"_L1, "dollarsign.circle.fill"_L1, QT_TRANSLATE_NOOP("EntityRecords", "Amount")},
    TypeRow{"product"_L1, "mint"_L1, "shippingbox.fill"_L1, QT_TRANSLATE_NOOP("EntityRecords", "Product")},
    TypeRow{"place"_L1, "teal"_L1, "mappin.circle.fill"_L1, QT_TRANSLATE_NOOP("EntityRecords", "Place")},
    TypeRow{"thing"_L1, "gray"_L1, "cube.fill"_L1, QT_TRANSLATE_NOOP("EntityRecords", "Thing")},
};

const TypeRow *typeRow(const QString &etype)
{
    const QString type = normalisedType(etype);
    const auto it = std::find_if(typeRows.begin(), typeRows.end(), [&](const TypeRow &r) { return r.type == type; });
    return it == typeRows.end() ? nullptr : &*it;
}

QString capitalised(const QString &text)
{
    return text.isEmpty() ? text : text.left(1).toUpper() + text.mid(1);
}

template <std::size_t N>
QString lookup(const std::array<std::pair<QLatin1StringView, QLatin1StringView>, N> &table, const QString &key,
    QLatin1StringView fallback)
{
    const auto it = std::find_if(table.begin(), table.end(), [&](const auto &row) { return row.first == key; });
    return it == table.end() ? QString(fallback) : QString(it->second);
}

} // namespace

QList<EntityChip> EntityQuick::chips() const
{
    QList<EntityChip> out;
    for (const QString &phone : phones)
        out.append({u"phone"_s, phone});
    for (const QString &email : emails)
        out.append({u"email"_s, email});
    for (const QString &url : urls)
        out.append({u"url"_s, url});
    for (const QString &amount : amounts)
        out.append({u"amount"_s, amount});
    return out;
}

EntityProfile EntityProfile::from(const QJsonObject &object)
{
    EntityProfile profile;
    const QJsonObject entity = object.value("entity"_L1).toObject();
    profile.entity = {
        str(entity, "key"_L1), str(entity, "name"_L1), str(entity, "etype"_L1), json::stringList(entity, "aliases"_L1)};
    profile.summary = str(object, "summary"_L1);
    profile.read = str(object, "read"_L1);
    const QJsonObject quick = object.value("quick"_L1).toObject();
    profile.quick = {json::stringList(quick, "phones"_L1), json::stringList(quick, "emails"_L1),
        json::stringList(quick, "urls"_L1), json::stringList(quick, "amounts"_L1)};
    for (const QJsonObject &r : elements(object, "relations"_L1)) {
        profile.relations.push_back({str(r, "other"_L1), str(r, "otype"_L1), str(r, "rtype"_L1), str(r, "direction"_L1),
            str(r, "other_summary"_L1)});
    }
    const QList<QJsonObject> timeline = elements(object, "timeline"_L1);
    for (qsizetype i = 0; i < timeline.size(); ++i) {
        const QJsonObject &t = timeline[i];
        profile.timeline.push_back({idOr(t, u"tl-"_s + QString::number(i)), str(t, "date"_L1), str(t, "kind"_L1),
            str(t, "fact"_L1), str(t, "tone"_L1)});
    }
    profile.factGroups = decodeFactGroups(object.value("facts_by_kind"_L1).toObject());
    const QList<QJsonObject> tasks = elements(object, "tasks"_L1);
    for (qsizetype i = 0; i < tasks.size(); ++i) {
        const QJsonObject &t = tasks[i];
        profile.tasks.push_back({idOr(t, u"task-"_s + QString::number(i)), str(t, "text"_L1), str(t, "due"_L1)});
    }
    const QJsonObject counts = object.value("counts"_L1).toObject();
    profile.counts = {integer(counts, "facts"_L1), integer(counts, "relations"_L1), str(counts, "last_touch"_L1)};
    profile.alsoMatched = json::stringList(object, "also_matched"_L1);
    return profile;
}

bool ComposedDossier::hasChipsSection() const
{
    return std::any_of(sections.begin(), sections.end(),
        [](const ComposedSection &s) { return std::holds_alternative<ComposedSection::Chips>(s.body); });
}

ComposedDossier ComposedDossier::from(const QJsonObject &object)
{
    ComposedDossier dossier;
    const QJsonObject header = object.value("header"_L1).toObject();
    dossier.header = {text(header, "role_line"_L1), json::stringList(header, "badges"_L1)};
    const QJsonArray sections = object.value("sections"_L1).toArray();
    for (qsizetype i = 0; i < sections.size(); ++i) {
        if (auto s = section(sections.at(i).toObject(), i))
            dossier.sections.push_back(std::move(*s));
    }
    return dossier;
}

QString entityTypeColor(const QString &etype)
{
    const TypeRow *row = typeRow(etype);
    return row ? QString(row->color) : u"blue"_s;
}

QString entityTypeIcon(const QString &etype)
{
    const TypeRow *row = typeRow(etype);
    return row ? QString(row->icon) : u"circle.fill"_s;
}

QString entityTypeLabel(const QString &etype)
{
    if (const TypeRow *row = typeRow(etype))
        return QCoreApplication::translate("EntityRecords", row->label);
    const QString type = normalisedType(etype);
    return type.isEmpty() ? QCoreApplication::translate("EntityRecords", "Entity") : capitalised(type);
}

QString entityKindColor(const QString &kind)
{
    static constexpr std::array<std::pair<QLatin1StringView, QLatin1StringView>, 12> colors{{
        {"fact"_L1, "cyan"_L1},
        {"event"_L1, "pink"_L1},
        {"preference"_L1, "purple"_L1},
        {"pref"_L1, "purple"_L1},
        {"task"_L1, "indigo"_L1},
        {"todo"_L1, "indigo"_L1},
        {"reminder"_L1, "indigo"_L1},
        {"plan"_L1, "blue"_L1},
        {"pattern"_L1, "orange"_L1},
        {"synthesis"_L1, "mint"_L1},
        {"reflection"_L1, "mint"_L1},
        {"observation"_L1, "teal"_L1},
    }};
    return lookup(colors, kind.toLower(), "gray"_L1);
}

QString entityFactSectionLabel(const QString &kind)
{
    static constexpr std::array<std::pair<QLatin1StringView, const char *>, 8> labels{{
        {"fact"_L1, QT_TRANSLATE_NOOP("EntityRecords", "Facts")},
        {"event"_L1, QT_TRANSLATE_NOOP("EntityRecords", "Events")},
        {"preference"_L1, QT_TRANSLATE_NOOP("EntityRecords", "Preferences")},
        {"pref"_L1, QT_TRANSLATE_NOOP("EntityRecords", "Preferences")},
        {"plan"_L1, QT_TRANSLATE_NOOP("EntityRecords", "Plans")},
        {"pattern"_L1, QT_TRANSLATE_NOOP("EntityRecords", "Patterns")},
        {"synthesis"_L1, QT_TRANSLATE_NOOP("EntityRecords", "Syntheses")},
        {"observation"_L1, QT_TRANSLATE_NOOP("EntityRecords", "Observations")},
    }};
    const QString lower = kind.toLower();
    if (lower.isEmpty())
        return QCoreApplication::translate("EntityRecords", "Notes");
    const auto it = std::find_if(labels.begin(), labels.end(), [&](const auto &row) { return row.first == lower; });
    return it == labels.end() ? capitalised(lower) + u's' : QCoreApplication::translate("EntityRecords", it->second);
}

QString composedChipIcon(const QString &kind)
{
    static constexpr std::array<std::pair<QLatin1StringView, QLatin1StringView>, 5> icons{{
        {"phone"_L1, "phone.fill"_L1},
        {"email"_L1, "envelope.fill"_L1},
        {"link"_L1, "link"_L1},
        {"map"_L1, "map.fill"_L1},
        {"whatsapp"_L1, "message.fill"_L1},
    }};
    return lookup(icons, kind, "circle.fill"_L1);
}

QString composedListIcon(const QString &icon)
{
    static constexpr std::array<std::pair<QLatin1StringView, QLatin1StringView>, 6> icons{{
        {"person"_L1, "person.crop.circle"_L1},
        {"company"_L1, "building.2"_L1},
        {"event"_L1, "calendar"_L1},
        {"task"_L1, "checklist"_L1},
        {"money"_L1, "banknote"_L1},
        {"note"_L1, "note.text"_L1},
    }};
    return lookup(icons, icon, "circle"_L1);
}

QString composedListColor(const QString &icon)
{
    static constexpr std::array<std::pair<QLatin1StringView, QLatin1StringView>, 6> colors{{
        {"person"_L1, "green"_L1},
        {"company"_L1, "orange"_L1},
        {"event"_L1, "pink"_L1},
        {"task"_L1, "indigo"_L1},
        {"money"_L1, "yellow"_L1},
        {"note"_L1, "gray"_L1},
    }};
    return lookup(colors, icon, "secondary"_L1);
}

QString entityRelativeDate(const QString &text, const QDateTime &now)
{
    if (text.isEmpty())
        return text;
    QDateTime date = parseInternetDateTime(text).value_or(QDateTime());
    if (!date.isValid()) {
        const QDate day = QDate::fromString(text.left(10), u"yyyy-MM-dd"_s);
        if (!day.isValid())
            return text;
        date = day.startOfDay();
    }
    const qint64 seconds = date.secsTo(now);
    if (seconds < 0)
        return date.toLocalTime().toString(u"yyyy-MM-dd"_s);
    if (seconds < 86400)
        return QCoreApplication::translate("EntityRecords", "today");
    const qint64 days = seconds / 86400;
    if (days < 7)
        return QCoreApplication::translate("EntityRecords", "%1d ago").arg(days);
    if (days <= 29)
        return QCoreApplication::translate("EntityRecords", "%1w ago").arg(days / 7);
    if (days <= 364)
        return QCoreApplication::translate("EntityRecords", "%1mo ago").arg(days / 30);
    return QCoreApplication::translate("EntityRecords", "%1y ago").arg(days / 365);
}

std::optional<QString> quickLinkText(const QString &kind, const QString &value)
{
    if (kind == u"phone") {
        QString digits;
        for (const QChar c : value) {
            if ((c >= u'0' && c <= u'9') || c == u'+')
                digits += c;
        }
        return u"tel:"_s + digits;
    }
    if (kind == u"email")
        return u"mailto:"_s + value;
    if (kind == u"url")
        return value.toLower().startsWith(u"http"_s) ? value : u"https://"_s + value;
    return std::nullopt;
}

QString composedChipLinkText(const QString &kind, const QString &value)
{
    if (kind == u"phone")
        return *quickLinkText(kind, value);
    const bool isMailto = value.toLower().startsWith(u"mailto:"_s);
    if (kind == u"email")
        return isMailto ? value : u"mailto:"_s + value;
    if (value.contains(u"://"_s) || isMailto)
        return value;
    return u"https://"_s + value;
}

} // namespace halvic
