#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QQmlEngine>
#include <QQmlEngineExtensionPlugin>
#include <QQuickItem>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

#include "CardUnderTest.h"
#include "EntityPanel.h"
#include "EventDispatcher.h"
#include "GlassPanel.h"
#include "JsonFile.h"
#include "QuickItems.h"
#include "Scheduler.h"

Q_IMPORT_QML_PLUGIN(Halvic_PanelsPlugin)
Q_IMPORT_QML_PLUGIN(Halvic_CardsPlugin)
Q_IMPORT_QML_PLUGIN(Halvic_Cards_EntityPlugin)

using namespace halvic;
using halvic::testing::buttonsNamed;
using halvic::testing::readJson;
using halvic::testing::visibleTexts;

namespace {

QJsonObject object(const QByteArray &json)
{
    return QJsonDocument::fromJson(json).object();
}

EntityProfile profile(const QByteArray &json)
{
    return EntityProfile::from(object(json));
}

// A profile of `name` under `key`, related to each of `others` as a colleague.
EntityProfile person(const QString &key, const QString &name, const QStringList &others = {})
{
    EntityProfile p;
    p.entity = {key, name, QStringLiteral("person"), {}};
    p.summary = QStringLiteral("Summary of ") + name;
    for (const QString &other : others)
        p.relations.push_back({other, QStringLiteral("person"), QStringLiteral("colleague"), {}, {}});
    return p;
}

ComposedDossier dossier(const QByteArray &json)
{
    return ComposedDossier::from(object(json));
}

QStringList sectionIds(const ComposedDossier &d)
{
    QStringList ids;
    for (const ComposedSection &s : d.sections)
        ids << s.id;
    return ids;
}

QStringList relationNames(const EntityProfile &p)
{
    QStringList names;
    for (const EntityRelation &r : p.relations)
        names << r.other;
    return names;
}

} // namespace

class EntityTest : public QObject, testing::CardUnderTest<EntityPanel>
{
    Q_OBJECT

    QList<QUrl> opened;

    QString actionFile() const { return controlFolder() + QStringLiteral("/entity_action.json"); }
    QJsonObject written() const { return readJson(actionFile()); }

    // Names on the accessibility bus of items hidden from sight, but the expanded card's bubble.
    static QStringList hiddenOnTheBus(QAccessibleInterface *node)
    {
        QStringList hidden;
        for (int i = 0; i < node->childCount(); ++i) {
            if (node->child(i)->state().invisible && node->child(i)->role() != QAccessible::Graphic)
                hidden << node->child(i)->text(QAccessible::Name);
            hidden << hiddenOnTheBus(node->child(i));
        }
        return hidden;
    }

private slots:
    void init()
    {
        setUp();
        opened.clear();
        panel->setOpener([this](const QUrl &url) { opened << url; });
    }
    void cleanup() { tearDown(); }

    // ---- Records ----

    void profileDecodesEveryMember()
    {
        const EntityProfile p = profile(R"({
            "entity": {"key": "p:ann", "name": "Ann Lee", "etype": "person", "aliases": ["Annie", 3, "A. Lee"]},
            "summary": "Designer", "read": "reliable",
            "quick": {"phones": ["+1 555"], "emails": ["ann@x.org"], "urls": "not a list", "amounts": ["$5"]},
            "relations": [{"other": "Acme", "otype": "company", "rtype": "works_at", "direction": "out",
                           "other_summary": "A firm"}, 7],
            "timeline": [{"date": "2024-01-02", "kind": "event", "fact": "Met", "tone": "warm"}, {"id": "x"}],
            "tasks": [{"id": "", "text": "Call", "due": "fri"}],
            "counts": {"facts": 12, "relations": 2.9, "last_touch": "2024-01-02"},
            "also_matched": ["Ann Li"]})");
        QCOMPARE(p.entity, (EntityRef{"p:ann", "Ann Lee", "person", {"Annie", "A. Lee"}}));
        QCOMPARE(p.summary, QStringLiteral("Designer"));
        QCOMPARE(p.read, QStringLiteral("reliable"));
        QCOMPARE(p.quick, (EntityQuick{{"+1 555"}, {"ann@x.org"}, {}, {"$5"}}));
        QCOMPARE(p.quick.chips(), (QList<EntityChip>{{"phone", "+1 555"}, {"email", "ann@x.org"}, {"amount", "$5"}}));
        // Every element is a relation, even one that is no object.
        QCOMPARE(p.relations.size(), std::size_t(2));
        QCOMPARE(p.relations[0], (EntityRelation{"Acme", "company", "works_at", "out", "A firm"}));
        QCOMPARE(p.relations[0].id(), QStringLiteral("works_at|out|Acme"));
        QCOMPARE(p.relations[1], EntityRelation{});
        QCOMPARE(p.timeline.size(), std::size_t(2));
        QCOMPARE(p.timeline[0], (EntityTimelineItem{"tl-0", "2024-01-02", "event", "Met", "warm"}));
        QCOMPARE(p.timeline[1].id, QStringLiteral("x"));
        QCOMPARE(p.tasks.size(), std::size_t(1));
        QCOMPARE(p.tasks[0], (EntityTaskItem{"task-0", "Call", "fri"}));
        QCOMPARE(p.counts, (EntityCounts{12, 2, "2024-01-02"}));
        QCOMPARE(p.alsoMatched, QStringList{"Ann Li"});
    }

    void profileWithoutAnythingIsTheDefault_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addRow("empty") << QByteArray("{}");
        QTest::addRow("mistyped") << QByteArray(
            R"({"entity":"Ann","summary":5,"quick":[],"relations":{},"timeline":"x","facts_by_kind":[],"counts":3})");
        QTest::addRow("nulls") << QByteArray(R"({"entity":null,"summary":null,"tasks":null,"also_matched":null})");
    }
    void profileWithoutAnythingIsTheDefault()
    {
        QFETCH(QByteArray, json);
        QCOMPARE(profile(json), EntityProfile{});
    }

    void countsTakeWholeNumbers_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<qint64>("expected");
        QTest::addRow("integer") << QByteArray("3") << qint64(3);
        QTest::addRow("fraction truncated") << QByteArray("3.9") << qint64(3);
        QTest::addRow("negative toward zero") << QByteArray("-3.9") << qint64(-3);
        QTest::addRow("large whole") << QByteArray("9007199254740993") << qint64(9007199254740993);
        QTest::addRow("beyond 64 bits") << QByteArray("1e30") << qint64(0);
        QTest::addRow("string") << QByteArray("\"3\"") << qint64(0);
        QTest::addRow("boolean") << QByteArray("true") << qint64(0);
    }
    void countsTakeWholeNumbers()
    {
        QFETCH(QByteArray, value);
        QFETCH(qint64, expected);
        const EntityProfile p = profile("{\"counts\":{\"facts\":" + value + "}}");
        QCOMPARE(p.counts.facts, expected);
    }

    // "kind:n" is a group with n facts; ids in `ids` are the facts' ids in order.
    void factGroups_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QStringList>("groups");
        QTest::addColumn<QStringList>("ids");
        QTest::addRow("listed kinds first, then the rest by name")
            << QByteArray(R"({"zeta":[{}],"fact":[{}],"Pref":[{}],"alpha":[{}]})")
            << QStringList{"Pref:1", "fact:1", "alpha:1", "zeta:1"}
            << QStringList{"Pref-0", "fact-0", "alpha-0", "zeta-0"};
        QTest::addRow("the whole fixed order")
            << QByteArray(R"({"observation":[{}],"event":[{}],"fact":[{}],"synthesis":[{}],"pattern":[{}],
                              "plan":[{}],"pref":[{}],"preference":[{}]})")
            << QStringList{"preference:1", "pref:1", "plan:1", "pattern:1", "synthesis:1", "fact:1", "event:1",
                   "observation:1"}
            << QStringList{"preference-0", "pref-0", "plan-0", "pattern-0", "synthesis-0", "fact-0", "event-0",
                   "observation-0"};
        QTest::addRow("empty or non-list kinds make no group")
            << QByteArray(R"({"fact":[],"event":[{"fact":"a"},{"id":"","fact":"b"},{"id":"e9"}],"plan":"x"})")
            << QStringList{"event:3"} << QStringList{"event-0", "event-1", "e9"};
        QTest::addRow("unlisted kinds by plain comparison")
            << QByteArray(R"({"b":[{}],"B":[{}],"a":[{}]})") << QStringList{"B:1", "a:1", "b:1"}
            << QStringList{"B-0", "a-0", "b-0"};
    }
    void factGroups()
    {
        QFETCH(QByteArray, json);
        QFETCH(QStringList, groups);
        QFETCH(QStringList, ids);
        const EntityProfile p = profile("{\"facts_by_kind\":" + json + "}");
        QStringList gotGroups;
        QStringList gotIds;
        for (const EntityFactGroup &g : p.factGroups) {
            gotGroups << g.kind + u':' + QString::number(g.facts.size());
            for (const EntityFact &f : g.facts)
                gotIds << f.id;
        }
        QCOMPARE(gotGroups, groups);
        QCOMPARE(gotIds, ids);
    }

    void composedDecodes()
    {
        const ComposedDossier d = dossier(R"({
            "header": {"role_line": "Designer at Acme", "badges": ["VIP", 2, "new"]},
            "sections": [
                {"type": "text", "title": "About", "body": "Ann designs."},
                {"type": "kv", "title": "Numbers", "rows": [{"k": "Age", "v": 41}, {"k": "", "v": ""},
                                                            {"k": "Score", "v": 2.5}]},
                {"type": "chart", "title": "Skipped"},
                {"type": "chips", "title": "Reach", "chips": [{"kind": "phone", "label": "mobile",
                    "value": "+1 555"}, {"kind": "link", "value": ""}, {"kind": "x", "value": 3.0}]},
                {"type": "list", "title": "People", "rows": [{"title": ""}, {"icon": "person", "title": "Bob",
                    "sub": "brother", "date": "2024-01-01", "entity": "Bob Lee"}]}]})");
        QCOMPARE(d.header, (ComposedHeader{"Designer at Acme", {"VIP", "new"}}));
        QCOMPARE(sectionIds(d), (QStringList{"sec-0-text", "sec-1-kv", "sec-3-chips", "sec-4-list"}));
        QCOMPARE(d.sections[0].title, QStringLiteral("About"));
        QCOMPARE(std::get<ComposedSection::Text>(d.sections[0].body).body, QStringLiteral("Ann designs."));
        QCOMPARE(std::get<ComposedSection::KV>(d.sections[1].body).rows,
            (std::vector<ComposedKV>{{"sec-1-kv-0", "Age", "41"}, {"sec-1-kv-2", "Score", "2.5"}}));
        QCOMPARE(std::get<ComposedSection::Chips>(d.sections[2].body).chips,
            (std::vector<ComposedChip>{
                {"sec-3-chips-0", "phone", "mobile", "+1 555"}, {"sec-3-chips-2", "x", "", "3"}}));
        QCOMPARE(std::get<ComposedSection::List>(d.sections[3].body).rows,
            (std::vector<ComposedListRow>{{"sec-4-list-1", "person", "Bob", "brother", "2024-01-01", "Bob Lee"}}));
        QVERIFY(d.hasChipsSection());
    }

    void composedSectionsWithoutContentGo_data()
    {
        QTest::addColumn<QByteArray>("sections");
        QTest::addColumn<QStringList>("ids");
        QTest::addRow("empty text") << QByteArray(R"([{"type":"text","body":""},{"type":"text","body":"x"}])")
                                    << QStringList{"sec-1-text"};
        QTest::addRow("kv with only empty rows")
            << QByteArray(R"([{"type":"kv","rows":[{"k":""},{}]},{"type":"kv","rows":[{"v":"1"}]}])")
            << QStringList{"sec-1-kv"};
        QTest::addRow("chips all without value")
            << QByteArray(R"([{"type":"chips","chips":[{"label":"a"},{"value":null}]}])") << QStringList{};
        QTest::addRow("list rows without title")
            << QByteArray(R"([{"type":"list","rows":[{"sub":"x"}]}])") << QStringList{};
        QTest::addRow("unknown type keeps later numbers")
            << QByteArray(R"([{"type":"map"},7,{"type":"text","body":"x"}])") << QStringList{"sec-2-text"};
        QTest::addRow("sections not a list") << QByteArray(R"({"type":"text","body":"x"})") << QStringList{};
    }
    void composedSectionsWithoutContentGo()
    {
        QFETCH(QByteArray, sections);
        QFETCH(QStringList, ids);
        const ComposedDossier d = dossier("{\"sections\":" + sections + "}");
        QCOMPARE(sectionIds(d), ids);
        QVERIFY(!d.hasChipsSection());
    }

    void numbersAsText_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QString>("expected");
        QTest::addRow("whole float") << QByteArray("3.0") << "3";
        QTest::addRow("fraction") << QByteArray("2.5") << "2.5";
        QTest::addRow("integer") << QByteArray("42") << "42";
        QTest::addRow("negative") << QByteArray("-0.25") << "-0.25";
        QTest::addRow("large whole") << QByteArray("1e20") << "100000000000000000000";
        QTest::addRow("boolean") << QByteArray("true") << "";
        QTest::addRow("object") << QByteArray("{}") << "";
    }
    void numbersAsText()
    {
        QFETCH(QByteArray, value);
        QFETCH(QString, expected);
        const ComposedDossier d = dossier(R"({"sections":[{"type":"kv","rows":[{"k":"n","v":)" + value + "}]}]}");
        QCOMPARE(std::get<ComposedSection::KV>(d.sections.at(0).body).rows.at(0).v, expected);
    }

    void tables_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *table, const char *input, const char *expected) {
            QTest::addRow("%s(%s)", table, input) << table << input << expected;
        };
        row("typeColor", "person", "green");
        row("typeColor", "Entity:Company", "orange");
        row("typeColor", "amount", "yellow");
        row("typeColor", "product", "mint");
        row("typeColor", "place", "teal");
        row("typeColor", "thing", "gray");
        row("typeColor", "robot", "blue");
        row("typeIcon", "ENTITY:PERSON", "person.fill");
        row("typeIcon", "company", "building.2.fill");
        row("typeIcon", "place", "mappin.circle.fill");
        row("typeIcon", "robot", "circle.fill");
        row("typeLabel", "entity:product", "Product");
        row("typeLabel", "entity:robot", "Robot");
        row("typeLabel", "ROBOT", "Robot");
        row("typeLabel", "entity:", "Entity");
        row("typeLabel", "", "Entity");
        row("kindColor", "Fact", "cyan");
        row("kindColor", "event", "pink");
        row("kindColor", "pref", "purple");
        row("kindColor", "reminder", "indigo");
        row("kindColor", "plan", "blue");
        row("kindColor", "pattern", "orange");
        row("kindColor", "reflection", "mint");
        row("kindColor", "observation", "teal");
        row("kindColor", "misc", "gray");
        row("factLabel", "preference", "Preferences");
        row("factLabel", "SYNTHESIS", "Syntheses");
        row("factLabel", "task", "Tasks");
        row("factLabel", "Reflection", "Reflections");
        row("factLabel", "", "Notes");
        row("chipIcon", "whatsapp", "message.fill");
        row("chipIcon", "map", "map.fill");
        row("chipIcon", "Phone", "circle.fill");
        row("listIcon", "money", "banknote");
        row("listIcon", "note", "note.text");
        row("listIcon", "Person", "circle");
        row("listColor", "task", "indigo");
        row("listColor", "event", "pink");
        row("listColor", "other", "secondary");
    }
    void tables()
    {
        QFETCH(QString, table);
        QFETCH(QString, input);
        QFETCH(QString, expected);
        const QHash<QString, QString (*)(const QString &)> tables{{"typeColor", entityTypeColor},
            {"typeIcon", entityTypeIcon}, {"typeLabel", entityTypeLabel}, {"kindColor", entityKindColor},
            {"factLabel", entityFactSectionLabel}, {"chipIcon", composedChipIcon}, {"listIcon", composedListIcon},
            {"listColor", composedListColor}};
        QCOMPARE(tables.value(table)(input), expected);
    }

    void relativeDates_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        // Now is 2024-06-15 12:00 local time.
        QTest::addRow("a time without zone reads as its day") << "2024-06-15T12:00:00"
                                                              << "today";
        QTest::addRow("today by day") << "2024-06-15"
                                      << "today";
        QTest::addRow("six days") << "2024-06-09"
                                  << "6d ago";
        QTest::addRow("seven days") << "2024-06-08"
                                    << "1w ago";
        QTest::addRow("29 days") << "2024-05-17"
                                 << "4w ago";
        QTest::addRow("30 days") << "2024-05-16"
                                 << "1mo ago";
        QTest::addRow("45 days") << "2024-05-01"
                                 << "1mo ago";
        QTest::addRow("364 days") << "2023-06-17"
                                  << "12mo ago";
        QTest::addRow("400 days") << "2023-05-12"
                                  << "1y ago";
        QTest::addRow("tomorrow") << "2024-06-16"
                                  << "2024-06-16";
        QTest::addRow("date with more after it") << "2024-06-09 and more"
                                                 << "6d ago";
        QTest::addRow("no date") << "last spring"
                                 << "last spring";
        QTest::addRow("empty") << ""
                               << "";
    }
    void relativeDates()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        const QDateTime now(QDate(2024, 6, 15), QTime(12, 0));
        QCOMPARE(entityRelativeDate(text, now), expected);
    }

    void relativeDatesOfInternetTimes()
    {
        const QDateTime now = QDateTime(QDate(2024, 6, 15), QTime(12, 0), Qt::UTC);
        QCOMPARE(entityRelativeDate(QStringLiteral("2024-06-15T11:59:00Z"), now), QStringLiteral("today"));
        QCOMPARE(entityRelativeDate(QStringLiteral("2024-06-12T11:00:00.250Z"), now), QStringLiteral("3d ago"));
        QCOMPARE(entityRelativeDate(QStringLiteral("2024-06-08T14:00:00+02:00"), now), QStringLiteral("1w ago"));
        const QDateTime future = QDateTime(QDate(2024, 7, 1), QTime(12, 0), Qt::UTC);
        QCOMPARE(entityRelativeDate(future.toString(Qt::ISODate), now),
            future.toLocalTime().toString(QStringLiteral("yyyy-MM-dd")));
    }

    // ---- Opening facts and chips ----

    void openQuick_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("url");
        QTest::addRow("phone keeps digits and plus") << "phone"
                                                     << "+1 (555) 010-20 30"
                                                     << "tel:+15550102030";
        QTest::addRow("email") << "email"
                               << "ann@x.org"
                               << "mailto:ann@x.org";
        QTest::addRow("url without scheme") << "url"
                                            << "acme.com/team"
                                            << "https://acme.com/team";
        QTest::addRow("url with scheme") << "url"
                                         << "HTTP://acme.com"
                                         << "http://acme.com";
        QTest::addRow("url with a space") << "url"
                                          << "acme.com/a b"
                                          << "https://acme.com/a%20b";
        QTest::addRow("amount opens nothing") << "amount"
                                              << "$5"
                                              << "";
        QTest::addRow("unknown kind") << "fax"
                                      << "123"
                                      << "";
        QTest::addRow("short email") << "email"
                                     << "x@y"
                                     << "mailto:x@y";
    }
    void openQuick()
    {
        QFETCH(QString, kind);
        QFETCH(QString, value);
        QFETCH(QString, url);
        panel->openQuick(kind, value);
        QCOMPARE(opened.size(), url.isEmpty() ? 0 : 1);
        if (!url.isEmpty())
            QCOMPARE(opened.front().toString(QUrl::FullyEncoded), url);
    }

    void openComposedChip_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("url");
        QTest::addRow("phone") << "phone"
                               << "+44 20 7946 0000"
                               << "tel:+442079460000";
        QTest::addRow("email") << "email"
                               << "ann@x.org"
                               << "mailto:ann@x.org";
        QTest::addRow("email already mailto") << "email"
                                              << "MAILTO:ann@x.org"
                                              << "mailto:ann@x.org";
        QTest::addRow("link with scheme unchanged") << "link"
                                                    << "https://acme.com/x?y=1"
                                                    << "https://acme.com/x?y=1";
        QTest::addRow("link without scheme") << "link"
                                             << "acme.com"
                                             << "https://acme.com";
        QTest::addRow("map without scheme") << "map"
                                            << "maps.example.com/?q=Oslo"
                                            << "https://maps.example.com/?q=Oslo";
        QTest::addRow("whatsapp mailto") << "whatsapp"
                                         << "mailto:a@b.c"
                                         << "mailto:a@b.c";
        // Only web, mail and phone links leave the card.
        QTest::addRow("file link refused") << "link"
                                           << "file:///etc/passwd"
                                           << "";
        QTest::addRow("smb link refused") << "link"
                                          << "smb://server/share"
                                          << "";
        QTest::addRow("custom scheme refused") << "x"
                                               << "steam://run/1"
                                               << "";
        QTest::addRow("javascript in https refused") << "link"
                                                     << "javascript:alert(1)//x"
                                                     << "";
        QTest::addRow("ftp refused") << "link"
                                     << "ftp://files.example.com"
                                     << "";
    }
    void openComposedChip()
    {
        QFETCH(QString, kind);
        QFETCH(QString, value);
        QFETCH(QString, url);
        panel->openComposedChip(kind, value);
        QCOMPARE(opened.size(), url.isEmpty() ? 0 : 1);
        if (!url.isEmpty())
            QCOMPARE(opened.front().toString(QUrl::FullyEncoded), url);
    }

    // ---- The card ----

    void cardFrame_data()
    {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QRect>("frame");
        QTest::addRow("large screen: 760 high, centred")
            << QRect(0, 0, 1920, 1080) << QRect(960 - 280, 540 - 380, 560, 760);
        QTest::addRow("small screen: 60 less than the area") << QRect(0, 25, 1440, 700) << QRect(440, 55, 560, 640);
        // Narrower than the card: the right edge wins, as it would keep the close button on screen.
        QTest::addRow("narrow screen") << QRect(100, 0, 500, 600) << QRect(32, 30, 560, 540);
    }
    void cardFrame()
    {
        QFETCH(QRect, available);
        QFETCH(QRect, frame);
        QCOMPARE(entityCardFrame(available), frame);
    }

    void showPlacesTheCardAndRefreshKeepsTyping()
    {
        panel->show(person("p:ann", "Ann"), std::nullopt, false);
        GlassPanel *window = panel->window()->panel();
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QRect expected = entityCardFrame(QGuiApplication::primaryScreen()->availableGeometry());
        QCOMPARE(window->geometry(), expected);
        QCOMPARE(window->title(), QStringLiteral("Dossier"));
        QCOMPARE(panel->cardHeight(), expected.height());

        // The user types and moves the card; an update of the same entity keeps both.
        panel->model().setNoteText(QStringLiteral("half a note"));
        panel->beginEditSummary();
        panel->model().setSummaryDraft(QStringLiteral("new words"));
        window->setPosition(expected.topLeft() + QPoint(-30, 20));
        EntityProfile update = person("p:ann", "Ann");
        update.summary = QStringLiteral("Updated");
        panel->show(update, std::nullopt, true);
        QCOMPARE(panel->model().noteText(), QStringLiteral("half a note"));
        QVERIFY(panel->model().editingSummary());
        QCOMPARE(panel->model().summaryDraft(), QStringLiteral("new words"));
        QCOMPARE(panel->model().profile().summary, QStringLiteral("Updated"));
        QVERIFY(panel->model().composing());
        QCOMPARE(window->position(), expected.topLeft() + QPoint(-30, 20));

        // Another entity starts afresh and comes back to the middle.
        panel->drillDown(QStringLiteral("Bob"));
        QVERIFY(panel->model().loading());
        panel->show(person("p:bob", "Bob"), std::nullopt, false);
        QCOMPARE(panel->model().noteText(), QString());
        QVERIFY(!panel->model().editingSummary());
        QCOMPARE(panel->model().summaryDraft(), QString());
        QVERIFY(!panel->model().loading());
        QCOMPARE(window->geometry(), expected);
    }

    // The bubble keeps the card's top-left corner; the card comes back from there.
    void sameEntityWhileHiddenStartsAfresh()
    {
        panel->show(person("p:ann", "Ann"), std::nullopt, false);
        panel->model().setNoteText(QStringLiteral("typed"));
        GlassPanel *window = panel->window()->panel();
        const QRect card = window->geometry();
        panel->window()->minimize();
        scheduler.advance(std::chrono::milliseconds(10));
        QCOMPARE(window->geometry(), QRect(card.topLeft(), QSize(58, 58)));
        QCOMPARE(hiddenOnTheBus(QAccessible::queryAccessibleInterface(window)), QStringList{});
        window->setPosition(card.topLeft() - QPoint(30, 0));
        panel->close(QStringLiteral("p:ann"));
        QCOMPARE(window->geometry(), card.translated(-30, 0));
        QVERIFY(!panel->window()->isShown());
        panel->show(person("p:ann", "Ann"), std::nullopt, false);
        QVERIFY(panel->window()->isShown());
        QCOMPARE(panel->model().noteText(), QString());
        QVERIFY(!panel->window()->bubble()->minimized());
    }

    void composedDossierKeptAcrossProfileUpdates_data()
    {
        QTest::addColumn<QString>("secondKey");
        QTest::addColumn<bool>("secondHasDossier");
        QTest::addColumn<bool>("secondComposing");
        QTest::addColumn<QStringList>("sections");
        QTest::addColumn<bool>("composing");
        QTest::addRow("same entity without a dossier keeps it, stops organizing")
            << "p:ann" << false << true << QStringList{"sec-0-text"} << false;
        QTest::addRow("same entity with a dossier takes the new one")
            << "p:ann" << true << false << QStringList{"sec-0-kv"} << false;
        QTest::addRow("another entity without a dossier has none") << "p:bob" << false << true << QStringList{} << true;
    }
    void composedDossierKeptAcrossProfileUpdates()
    {
        QFETCH(QString, secondKey);
        QFETCH(bool, secondHasDossier);
        QFETCH(bool, secondComposing);
        QFETCH(QStringList, sections);
        QFETCH(bool, composing);
        panel->show(person("p:ann", "Ann"), dossier(R"({"sections":[{"type":"text","body":"x"}]})"), false);
        std::optional<ComposedDossier> second;
        if (secondHasDossier)
            second = dossier(R"({"sections":[{"type":"kv","rows":[{"k":"a","v":"b"}]}]})");
        panel->show(person(secondKey, "X"), second, secondComposing);
        QCOMPARE(panel->model().composed() ? sectionIds(*panel->model().composed()) : QStringList{}, sections);
        QCOMPARE(panel->model().composing(), composing);
    }

    void unrelateUpdatesAtOnce()
    {
        panel->show(person("p:ann", "Ann", {"Bob", "Acme", "Bob", "Bobby"}), dossier(R"({"sections":[
                {"type":"list","title":"People","rows":[{"title":"Bob","entity":"Bob"},{"title":"Cy","entity":"Cy"}]},
                {"type":"list","title":"Family","rows":[{"title":"Bob again","entity":"Bob"}]},
                {"type":"text","body":"Bob is here"}]})"),
            false);
        panel->unrelate(QStringLiteral("Bob"));
        QCOMPARE(written(), (QJsonObject{{"cmd", "entity_unrelate"}, {"key", "p:ann"}, {"other", "Bob"}}));
        QCOMPARE(relationNames(panel->model().profile()), (QStringList{"Acme", "Bobby"}));
        const ComposedDossier &d = *panel->model().composed();
        QCOMPARE(sectionIds(d), (QStringList{"sec-0-list", "sec-2-text"}));
        QCOMPARE(std::get<ComposedSection::List>(d.sections[0].body).rows.size(), std::size_t(1));
        QCOMPARE(std::get<ComposedSection::List>(d.sections[0].body).rows[0].entity, QStringLiteral("Cy"));
        // The view's form follows.
        const std::vector<EntityRelationRow> &rows = panel->model().relations().records();
        QCOMPARE(std::count_if(rows.begin(), rows.end(),
                     [&](const EntityRelationRow &row) { return row.group == rows.at(0).group; }),
            2);
    }

    // Each user action leaves exactly one of the four commands, or nothing.
    void commands_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QJsonObject>("expected");
        QTest::addRow("drill down") << "p:ann"
                                    << "drill"
                                    << "Bob Lee" << QJsonObject{{"cmd", "show_entity"}, {"name", "Bob Lee"}};
        QTest::addRow("drill down without a key still asks")
            << ""
            << "drill"
            << "Bob" << QJsonObject{{"cmd", "show_entity"}, {"name", "Bob"}};
        QTest::addRow("drill down to nothing") << "p:ann"
                                               << "drill"
                                               << "" << QJsonObject{};
        QTest::addRow("note trimmed") << "p:ann"
                                      << "note"
                                      << "  Likes tea \n"
                                      << QJsonObject{{"cmd", "entity_note"}, {"key", "p:ann"}, {"text", "Likes tea"}};
        QTest::addRow("blank note") << "p:ann"
                                    << "note"
                                    << " \n\t " << QJsonObject{};
        QTest::addRow("note without a key") << ""
                                            << "note"
                                            << "x" << QJsonObject{};
        QTest::addRow("summary trimmed") << "p:ann"
                                         << "summary"
                                         << "\n New summary  "
                                         << QJsonObject{
                                                {"cmd", "entity_summary"}, {"key", "p:ann"}, {"text", "New summary"}};
        QTest::addRow("summary emptied is still sent")
            << "p:ann"
            << "summary"
            << "   " << QJsonObject{{"cmd", "entity_summary"}, {"key", "p:ann"}, {"text", ""}};
        QTest::addRow("summary without a key") << ""
                                               << "summary"
                                               << "x" << QJsonObject{};
        QTest::addRow("unrelate without a key") << ""
                                                << "unrelate"
                                                << "Bob" << QJsonObject{};
        QTest::addRow("unrelate nobody") << "p:ann"
                                         << "unrelate"
                                         << "" << QJsonObject{};
    }
    void commands()
    {
        QFETCH(QString, key);
        QFETCH(QString, action);
        QFETCH(QString, argument);
        QFETCH(QJsonObject, expected);
        panel->show(person(key, "Ann", {"Bob"}), std::nullopt, false);
        if (action == u"drill") {
            panel->drillDown(argument);
        } else if (action == u"note") {
            panel->model().setNoteText(argument);
            panel->submitNote();
            // A sent note leaves the field; one not sent stays for the user to fix.
            QCOMPARE(panel->model().noteText(), expected.isEmpty() ? argument : QString());
        } else if (action == u"summary") {
            panel->beginEditSummary();
            QCOMPARE(panel->model().summaryDraft(), QStringLiteral("Summary of Ann"));
            panel->model().setSummaryDraft(argument);
            panel->saveSummary();
            QVERIFY(!panel->model().editingSummary());
        } else {
            panel->unrelate(argument);
        }
        QCOMPARE(written(), expected);
        if (!expected.isEmpty())
            QCOMPARE(QDir(controlFolder()).entryList(QDir::Files | QDir::Hidden), QStringList{"entity_action.json"});
    }

    void closeHidesOnlyForItsEntity_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<bool>("shown");
        QTest::addRow("empty id") << "" << false;
        QTest::addRow("its key") << "p:ann" << false;
        QTest::addRow("another id") << "thread-1" << true;
    }
    void closeHidesOnlyForItsEntity()
    {
        QFETCH(QString, id);
        QFETCH(bool, shown);
        panel->show(person("p:ann", "Ann"), std::nullopt, false);
        panel->close(id);
        QCOMPARE(panel->window()->isShown(), shown);
        QVERIFY(!QFile::exists(actionFile()));
    }

    void dispatcherRow_data()
    {
        QTest::addColumn<QByteArray>("event");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("hasComposed");
        QTest::addColumn<bool>("composing");
        QTest::addRow("profile alone") << QByteArray(
            R"({"type":"entity_profile","profile":{"entity":{"key":"k","name":"Ann"}}})")
                                       << true << "Ann" << false << false;
        QTest::addRow("with a dossier and composing")
            << QByteArray(R"({"type":"entity_profile","profile":{},"composed":{"sections":[]},"composing":true})")
            << true << "" << true << true;
        QTest::addRow("composed not an object")
            << QByteArray(R"({"type":"entity_profile","profile":{},"composed":[],"composing":"yes"})") << true << ""
            << false << false;
        QTest::addRow("no profile") << QByteArray(R"({"type":"entity_profile","composed":{}})") << false << "" << false
                                    << false;
        QTest::addRow("profile not an object")
            << QByteArray(R"({"type":"entity_profile","profile":"Ann"})") << false << "" << false << false;
    }
    void dispatcherRow()
    {
        QFETCH(QByteArray, event);
        QFETCH(bool, shown);
        QFETCH(QString, name);
        QFETCH(bool, hasComposed);
        QFETCH(bool, composing);
        EventDispatcher dispatcher;
        panel->registerRows(dispatcher);
        dispatcher.dispatch(event);
        QCOMPARE(panel->window()->isShown(), shown);
        QCOMPARE(panel->model().name(), name);
        QCOMPARE(panel->model().hasComposed(), hasComposed);
        QCOMPARE(panel->model().composing(), composing);
        QVERIFY(!QFile::exists(actionFile()));
    }

    // ---- The view ----

    void viewOfTheProfile()
    {
        EntityProfile p = profile(R"({
            "entity": {"key": "p:ann", "name": "Ann Lee", "etype": "person", "aliases": ["Annie", "A. Lee"]},
            "summary": "Designer in Oslo.", "read": "warm, busy",
            "quick": {"phones": ["+47 1"], "emails": ["a@x.org", "b@x.org"], "urls": ["x.org"], "amounts": ["$5"]},
            "relations": [{"other": "Acme", "otype": "company", "rtype": "works at", "other_summary": "A firm"},
                          {"other": "Bob", "otype": "person", "rtype": "sibling"}],
            "tasks": [{"text": "Send the deck", "due": "Friday"}],
            "facts_by_kind": {"fact": [{"fact": "Born in Bergen"}]},
            "counts": {"facts": 1, "relations": 2}})");
        panel->show(p, std::nullopt, true);
        GlassPanel *window = panel->window()->panel();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QQuickItem *view = window->content();
        QCOMPARE(view->property("help").toString(), QStringLiteral("Dossier \u2014 hold to expand"));
        QCOMPARE(view->property("icon").toString(), QStringLiteral("person.fill"));
        QTRY_COMPARE(visibleTexts(view),
            (QStringList{"Person", "aka Annie, A. Lee", "1 fact  \u00b7  2 relations", "organizing\u2026", "Summary",
                "Designer in Oslo.", "your read: warm, busy", "Quick", "+47 1", "a@x.org", "b@x.org", "x.org",
                "+1 more", "Relations", "works at", "Acme", "A firm", "sibling", "Bob", "Durable facts", "Facts",
                "\u2022 Born in Bergen", "Open tasks", "Send the deck", "Friday", "Raw memory", "1 fact",
                "Add a note about Ann Lee"}));
        QCOMPARE(buttonsNamed(view, QStringLiteral("Open Acme's dossier")).size(), 1);
        QCOMPARE(buttonsNamed(view, QStringLiteral("Call +47 1")).size(), 1);
        QCOMPARE(buttonsNamed(view, QStringLiteral("Rewrite this summary")).size(), 1);
        QCOMPARE(buttonsNamed(view, QStringLiteral("Save this note")).size(), 1);
        QCOMPARE(buttonsNamed(view, QStringLiteral("Close")).size(), 1);

        // The fifth quick fact behind "+1 more"; the raw memory unfolds.
        const auto click = [&](const QString &help) {
            QQuickItem *button = buttonsNamed(view, help).value(0);
            QVERIFY2(button, qPrintable(help));
            QTest::mouseClick(window, Qt::LeftButton, {},
                button->mapToScene(QPointF(button->width() / 2, button->height() / 2)).toPoint());
        };
        click(QStringLiteral("Show 1 more quick facts"));
        QTRY_VERIFY(visibleTexts(view).contains(QStringLiteral("$5")));
        click(QStringLiteral("Open Acme's dossier"));
        QCOMPARE(written(), (QJsonObject{{"cmd", "show_entity"}, {"name", "Acme"}}));
        click(QStringLiteral("Open x.org"));
        QCOMPARE(opened, QList<QUrl>{QUrl(QStringLiteral("https://x.org"))});
    }

    // "+N more": the quick facts beyond the first four, never fewer than none.
    void moreQuickFacts()
    {
        for (const auto &[facts, more] : {std::pair{2, 0}, {4, 0}, {7, 3}}) {
            EntityProfile p;
            p.quick.urls = QStringList(facts, QStringLiteral("x.org"));
            panel->model().setProfile(p);
            QCOMPARE(panel->model().moreQuickCount(), more);
        }
    }

    void viewOfAnUnknownEntityWithALongTimeline()
    {
        EntityProfile p;
        for (int i = 0; i < 75; ++i)
            p.timeline.push_back(
                {QStringLiteral("t%1").arg(i), {}, QStringLiteral("event"), QStringLiteral("Moment %1").arg(i), {}});
        panel->show(p, std::nullopt, false);
        QQuickItem *view = panel->window()->panel()->content();
        QVERIFY(QTest::qWaitForWindowExposed(panel->window()->panel()));
        const QStringList texts = visibleTexts(view);
        QCOMPARE(texts.count(QStringLiteral("Moment 59")), 1);
        QCOMPARE(texts.count(QStringLiteral("Moment 60")), 0);
        QVERIFY(texts.contains(QStringLiteral("showing 60 of 75")));
        QVERIFY(texts.contains(QStringLiteral("0 facts  \u00b7  0 relations")));
        const EntityHeading &shown = panel->model().heading();
        QCOMPARE(shown.title, QStringLiteral("(unknown)"));
        QCOMPARE(shown.typeLabel, QStringLiteral("Entity"));
        QVERIFY(texts.contains(QStringLiteral("Add a note about them")));
    }

    void viewOfAComposedDossier()
    {
        panel->show(person("p:ann", "Ann"), dossier(R"({
            "header": {"role_line": "Designer at Acme", "badges": ["VIP"]},
            "sections": [
                {"type": "text", "title": "About", "body": "Ann designs."},
                {"type": "kv", "title": "Numbers", "rows": [{"k": "Age", "v": 41}]},
                {"type": "chips", "title": "Reach", "chips": [{"kind": "link", "label": "site", "value": "file:\/\/\/etc\/passwd"},
                                                              {"kind": "link", "label": "web", "value": "acme.com"}]},
                {"type": "list", "title": "People", "rows": [{"icon": "person", "title": "Bob", "sub": "brother",
                                                              "entity": "Bob Lee"}]}]})"),
            false);
        GlassPanel *window = panel->window()->panel();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QQuickItem *view = window->content();
        QTRY_COMPARE(visibleTexts(view),
            (QStringList{"Person", "0 facts  \u00b7  0 relations", "Designer at Acme", "VIP", "About", "Ann designs.",
                "Numbers", "Age", "41", "Reach", "site  file:///etc/passwd", "web  acme.com", "People", "Bob",
                "brother", "Raw memory", "0 facts", "Add a note about Ann"}));
        QCOMPARE(hiddenOnTheBus(QAccessible::queryAccessibleInterface(window)), QStringList{});
        const auto click = [&](const QString &help) {
            QQuickItem *button = buttonsNamed(view, help).value(0);
            QVERIFY2(button, qPrintable(help));
            QTest::mouseClick(window, Qt::LeftButton, {},
                button->mapToScene(QPointF(button->width() / 2, button->height() / 2)).toPoint());
        };
        click(QStringLiteral("Open file:///etc/passwd"));
        click(QStringLiteral("Open acme.com"));
        QCOMPARE(opened, QList<QUrl>{QUrl(QStringLiteral("https://acme.com"))});
        click(QStringLiteral("Open Bob Lee's dossier"));
        QCOMPARE(written(), (QJsonObject{{"cmd", "show_entity"}, {"name", "Bob Lee"}}));
    }

    // The relation's context menu removes it from the card at once; the pencil opens the
    // summary editor, whose Save sends the draft.
    void relationMenuAndSummaryEditor()
    {
        panel->show(person("p:ann", "Ann", {"Bob", "Cy"}), std::nullopt, false);
        GlassPanel *window = panel->window()->panel();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QQuickItem *view = window->content();
        const auto centre = [](QQuickItem *item) {
            return item->mapToScene(QPointF(item->width() / 2, item->height() / 2)).toPoint();
        };
        QQuickItem *bob = buttonsNamed(view, QStringLiteral("Open Bob's dossier")).value(0);
        QVERIFY(bob);
        QTest::mouseClick(window, Qt::RightButton, {}, centre(bob));
        QQuickItem *remove = nullptr;
        QTRY_VERIFY((remove = [&]() -> QQuickItem * {
            QList<QQuickItem *> items;
            halvic::testing::collect(
                window->contentItem(),
                [](QQuickItem *item) {
                    return item->inherits("QQuickMenuItem")
                        && item->property("text").toString() == QStringLiteral("Not related \u2014 remove");
                },
                items);
            return items.value(0);
        }()));
        QTest::mouseClick(window, Qt::LeftButton, {}, centre(remove));
        QCOMPARE(written(), (QJsonObject{{"cmd", "entity_unrelate"}, {"key", "p:ann"}, {"other", "Bob"}}));
        QTRY_COMPARE(buttonsNamed(view, QStringLiteral("Open Bob's dossier")).size(), 0);
        QCOMPARE(buttonsNamed(view, QStringLiteral("Open Cy's dossier")).size(), 1);

        QQuickItem *pencil = buttonsNamed(view, QStringLiteral("Rewrite this summary")).value(0);
        QVERIFY(pencil);
        QTest::mouseClick(window, Qt::LeftButton, {}, centre(pencil));
        QVERIFY(panel->model().editingSummary());
        QTRY_VERIFY(!visibleTexts(view).contains(QStringLiteral("Summary of Ann")));
        panel->model().setSummaryDraft(QStringLiteral(" Ann runs the studio. "));
        QQuickItem *save = nullptr;
        QTRY_VERIFY((save = [&]() -> QQuickItem * {
            QList<QQuickItem *> items;
            halvic::testing::collect(
                view,
                [](QQuickItem *item) {
                    return item->inherits("QQuickAbstractButton") && item->property("text").toString() == u"Save";
                },
                items);
            return items.value(0);
        }()));
        QTest::mouseClick(window, Qt::LeftButton, {}, centre(save));
        QCOMPARE(
            written(), (QJsonObject{{"cmd", "entity_summary"}, {"key", "p:ann"}, {"text", "Ann runs the studio."}}));
        QVERIFY(!panel->model().editingSummary());
    }

    // The chips wrap as the card's flow layout: with 100 points, 6 apart, three 40-point
    // chips make a row of two and a row of one.
    void chipsWrapLikeTheFlowLayout()
    {
        QQmlComponent component(qml.get());
        component.setData(R"(
            import QtQuick
            Flow {
                width: 100
                spacing: 6
                Repeater { model: 3; Rectangle { width: 40; height: 20 } }
            })",
            QUrl());
        std::unique_ptr<QObject> created(component.create());
        auto *flow = qobject_cast<QQuickItem *>(created.get());
        QVERIFY2(flow, qPrintable(component.errorString()));
        QTRY_COMPARE(flow->childItems().size(), 4);
        QList<QPointF> positions;
        for (QQuickItem *child : flow->childItems()) {
            if (child->width() == 40)
                positions << child->position();
        }
        QCOMPARE(positions, (QList<QPointF>{{0, 0}, {46, 0}, {0, 26}}));
        QCOMPARE(flow->height(), 46.0);
    }
};

QTEST_MAIN(EntityTest)
#include "tst_entity.moc"
