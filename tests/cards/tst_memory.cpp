#include <QAbstractItemModelTester>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QQmlEngine>
#include <QQmlEngineExtensionPlugin>
#include <QQuickItem>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

#include "CardUnderTest.h"
#include "EventDispatcher.h"
#include "GlassPanel.h"
#include "GraphView.h"
#include "JsonFile.h"
#include "MemoryPanel.h"
#include "QuickItems.h"
#include "Scheduler.h"

Q_IMPORT_QML_PLUGIN(Halvic_PanelsPlugin)
Q_IMPORT_QML_PLUGIN(Halvic_CardsPlugin)
Q_IMPORT_QML_PLUGIN(Halvic_Cards_MemoryPlugin)

using namespace halvic;
using halvic::testing::buttonsNamed;
using halvic::testing::readJson;
using halvic::testing::visibleTexts;

Q_DECLARE_METATYPE(std::optional<halvic::MemoryItem>)
Q_DECLARE_METATYPE(std::optional<halvic::GraphNode>)
Q_DECLARE_METATYPE(std::optional<halvic::GraphEdge>)
Q_DECLARE_METATYPE(std::optional<QRect>)

namespace {

QJsonObject object(const char *json)
{
    return QJsonDocument::fromJson(json).object();
}

// "a:Text" is a memory with id "a"; "a:Text@monday" one with `when` "monday".
MemoryItem memory(const QString &spec)
{
    MemoryItem item{.id = spec.section(u':', 0, 0), .text = spec.section(u':', 1).section(u'@', 0, 0)};
    item.when = spec.section(u'@', 1);
    return item;
}

std::vector<MemoryItem> memories(const QStringList &specs)
{
    std::vector<MemoryItem> list;
    for (const QString &spec : specs)
        list.push_back(memory(spec));
    return list;
}

QStringList specs(const MemoryModel &model)
{
    QStringList out;
    for (const MemoryItem &item : model.items().records())
        out << item.id + u':' + item.text;
    return out;
}

GraphView *findMap(QQuickItem *item)
{
    if (auto *map = qobject_cast<GraphView *>(item))
        return map;
    const auto children = item->childItems();
    for (QQuickItem *child : children) {
        if (GraphView *map = findMap(child))
            return map;
    }
    return nullptr;
}

QStringList edgeSpecs(const MemoryModel &model)
{
    QStringList out;
    for (const GraphEdge &edge : model.graphEdges())
        out << edge.from + u'-' + edge.to;
    return out;
}

} // namespace

class MemoryTest : public QObject, testing::CardUnderTest<MemoryPanel>
{
    Q_OBJECT

    QString file(const char *name) const { return controlFolder() + u'/' + QLatin1StringView(name); }
    QStringList writtenFiles() const { return QDir(controlFolder()).entryList(QDir::Files | QDir::Hidden); }
    void clearFolder() const
    {
        for (const QString &name : writtenFiles())
            QFile::remove(controlFolder() + u'/' + name);
    }

private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void decodeMemory_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<std::optional<MemoryItem>>("expected");
        QTest::addRow("all members") << QByteArray(
            R"({"id":"m1","text":"Likes tea","kind":"fact","when":"monday","created_at":"2024-03-05T14:07:09Z","linked":true})")
                                     << std::optional(MemoryItem{
                                            "m1", "Likes tea", "fact", "monday", "2024-03-05T14:07:09Z", true});
        QTest::addRow("only id and text")
            << QByteArray(R"({"id":"m1","text":"Likes tea"})") << std::optional(MemoryItem{"m1", "Likes tea"});
        QTest::addRow("linked as a number or a string is false")
            << QByteArray(R"({"id":"m1","text":"x","linked":1})") << std::optional(MemoryItem{"m1", "x"});
        QTest::addRow("linked as a string")
            << QByteArray(R"({"id":"m1","text":"x","linked":"true"})") << std::optional(MemoryItem{"m1", "x"});
        QTest::addRow("mistyped optional members fall back")
            << QByteArray(R"({"id":"m1","text":"x","kind":3,"when":null,"created_at":[]})")
            << std::optional(MemoryItem{"m1", "x"});
        QTest::addRow("no id") << QByteArray(R"({"text":"x"})") << std::optional<MemoryItem>();
        QTest::addRow("numeric id") << QByteArray(R"({"id":1,"text":"x"})") << std::optional<MemoryItem>();
        QTest::addRow("no text") << QByteArray(R"({"id":"m1"})") << std::optional<MemoryItem>();
        QTest::addRow("text an object") << QByteArray(R"({"id":"m1","text":{}})") << std::optional<MemoryItem>();
    }
    void decodeMemory()
    {
        QFETCH(QByteArray, json);
        QFETCH(std::optional<MemoryItem>, expected);
        QCOMPARE(MemoryItem::from(QJsonDocument::fromJson(json).object()), expected);
    }

    void decodeGraph()
    {
        QCOMPARE(GraphNode::from(object(R"({"id":"n","text":"T","kind":"fact"})")),
            std::optional(GraphNode{"n", "T", "fact"}));
        QCOMPARE(GraphNode::from(object(R"({"id":"n","text":"T","kind":7})")), std::optional(GraphNode{"n", "T", ""}));
        QCOMPARE(GraphNode::from(object(R"({"id":"n"})")), std::optional<GraphNode>());
        QCOMPARE(GraphNode::from(object(R"({"id":2,"text":"T"})")), std::optional<GraphNode>());
        QCOMPARE(GraphEdge::decode(object(R"({"from":"a","to":"b","type":"cause"})")),
            std::optional(GraphEdge{"a", "b", "cause"}));
        QCOMPARE(GraphEdge::decode(object(R"({"from":"a","to":"b"})")), std::optional(GraphEdge{"a", "b", "related"}));
        QCOMPARE(GraphEdge::decode(object(R"({"from":"a","to":"b","type":false})")),
            std::optional(GraphEdge{"a", "b", "related"}));
        QCOMPARE(GraphEdge::decode(object(R"({"from":"a"})")), std::optional<GraphEdge>());
        QCOMPARE(GraphEdge::decode(object(R"({"from":"a","to":5})")), std::optional<GraphEdge>());
    }

    // Run with TZ=UTC.
    void footer_data()
    {
        QTest::addColumn<QString>("createdAt");
        QTest::addColumn<QString>("when");
        QTest::addColumn<QString>("expected");
        QTest::addRow("time only") << "2024-03-05T14:07:09Z"
                                   << ""
                                   << "Mar 5, 14:07";
        QTest::addRow("fractional seconds") << "2024-03-05T14:07:09.123Z"
                                            << ""
                                            << "Mar 5, 14:07";
        QTest::addRow("time and when") << "2024-03-05T14:07:09Z"
                                       << "friday"
                                       << "Mar 5, 14:07  \u00b7  re: friday";
        QTest::addRow("unparsable time and when") << "yesterday"
                                                  << "friday"
                                                  << "re: friday";
        QTest::addRow("neither") << ""
                                 << ""
                                 << "";
        QTest::addRow("unparsable time alone") << "yesterday"
                                               << ""
                                               << "";
    }
    void footer()
    {
        QFETCH(QString, createdAt);
        QFETCH(QString, when);
        QFETCH(QString, expected);
        MemoryItem item{.id = "m", .text = "t", .when = when, .createdAt = createdAt};
        QCOMPARE(memoryFooter(item), expected);
        const auto &roles = MemoryItem::roles();
        const auto footerRole = std::ranges::find(roles, QByteArray("footer"), &RecordRole<MemoryItem>::name);
        QVERIFY(footerRole != roles.end());
        QCOMPARE(footerRole->read(item).toString(), expected);
    }

    void cardFrame_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("fullscreen");
        QTest::addColumn<QRect>("current");
        QTest::addColumn<std::optional<QRect>>("visible");
        QTest::addColumn<QRect>("expected");
        const std::optional<QRect> screen = QRect(0, 30, 1920, 1050);
        QTest::addRow("notes keeps its place")
            << int(MemoryMode::Notes) << false << QRect(100, 200, 820, 720) << screen << QRect(100, 200, 340, 640);
        QTest::addRow("graph widens to 820 and 720")
            << int(MemoryMode::Graph) << false << QRect(100, 200, 340, 640) << screen << QRect(100, 200, 820, 720);
        QTest::addRow("graph pulled back inside on the right and bottom")
            << int(MemoryMode::Graph) << false << QRect(1500, 600, 340, 640) << screen
            << QRect(1920 - 820 - 8, 30 + 1050 - 720 - 8, 820, 720);
        QTest::addRow("pushed in from the top left")
            << int(MemoryMode::Notes) << false << QRect(-50, 0, 340, 640) << screen << QRect(8, 38, 340, 640);
        QTest::addRow("small screen limits the graph") << int(MemoryMode::Graph) << false << QRect(0, 0, 10, 10)
                                                       << std::optional(QRect(0, 0, 800, 600)) << QRect(8, 8, 720, 540);
        QTest::addRow("fullscreen is the visible area less 20")
            << int(MemoryMode::Graph) << true << QRect(100, 200, 820, 720) << screen << QRect(20, 50, 1880, 1010);
        QTest::addRow("no screen: 1440 by 900 at the origin")
            << int(MemoryMode::Graph) << false << QRect(700, 400, 340, 640) << std::optional<QRect>()
            << QRect(1440 - 820 - 8, 900 - 720 - 8, 820, 720);
        QTest::addRow("fullscreen without a screen")
            << int(MemoryMode::Notes) << true << QRect() << std::optional<QRect>() << QRect(20, 20, 1400, 860);
    }
    void cardFrame()
    {
        QFETCH(int, mode);
        QFETCH(bool, fullscreen);
        QFETCH(QRect, current);
        QFETCH(std::optional<QRect>, visible);
        QFETCH(QRect, expected);
        QCOMPARE(memoryCardFrame(MemoryMode::Value(mode), fullscreen, current, visible), expected);
    }

    // The user's requests: operations on the card, then the files in the control folder.
    void requests_data()
    {
        QTest::addColumn<QStringList>("operations");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QJsonObject>("written");
        QTest::addColumn<QStringList>("left");
        QTest::addRow("search") << QStringList{"search tea"} << "memory_query.json" << QJsonObject{{"q", "tea"}}
                                << QStringList{"a:A", "b:B", "a:A2"};
        QTest::addRow("clear") << QStringList{"search tea", "search "} << "memory_query.json" << QJsonObject{{"q", ""}}
                               << QStringList{"a:A", "b:B", "a:A2"};
        QTest::addRow("forget removes every entry with the id at once")
            << QStringList{"search tea", "forget a"} << "memory_action.json"
            << QJsonObject{{"action", "forget"}, {"id", "a"}, {"text", "shown a"}, {"q", "tea"}} << QStringList{"b:B"};
        QTest::addRow("forget carries the typed query even unsubmitted")
            << QStringList{"type coffee", "forget b"} << "memory_action.json"
            << QJsonObject{{"action", "forget"}, {"id", "b"}, {"text", "shown b"}, {"q", "coffee"}}
            << QStringList{"a:A", "a:A2"};
        QTest::addRow("correction replaces the first entry's text, trimmed")
            << QStringList{"correct a| Better A \n", "save a"} << "memory_action.json"
            << QJsonObject{{"action", "edit"}, {"id", "a"}, {"text", "Better A"}, {"q", ""}}
            << QStringList{"a:Better A", "b:B", "a:A2"};
        QTest::addRow("correction of a memory gone meanwhile is still sent")
            << QStringList{"edit z|New"} << "memory_action.json"
            << QJsonObject{{"action", "edit"}, {"id", "z"}, {"text", "New"}, {"q", ""}}
            << QStringList{"a:A", "b:B", "a:A2"};
        QTest::addRow("unchanged correction sends nothing")
            << QStringList{"correct a|  A  ", "save a"} << "" << QJsonObject{} << QStringList{"a:A", "b:B", "a:A2"};
        QTest::addRow("blank correction sends nothing")
            << QStringList{"correct a| \n\t ", "save a"} << "" << QJsonObject{} << QStringList{"a:A", "b:B", "a:A2"};
        // A correction being typed stays until its memory leaves the list.
        QTest::addRow("correction kept across a list with its memory")
            << QStringList{"correct b|B2", "list b:B", "save b"} << "memory_action.json"
            << QJsonObject{{"action", "edit"}, {"id", "b"}, {"text", "B2"}, {"q", ""}} << QStringList{"b:B2"};
        QTest::addRow("correction gone with its memory from the list") << QStringList{"correct b|B2", "list a:A",
            "list b:B", "save b"} << "" << QJsonObject{} << QStringList{"b:B"};
        QTest::addRow("correction gone with its memory forgotten") << QStringList{"correct b|B2", "forget b",
            "list b:B", "save b"} << "" << QJsonObject{} << QStringList{"b:B"};
    }
    void requests()
    {
        QFETCH(QStringList, operations);
        QFETCH(QString, name);
        QFETCH(QJsonObject, written);
        QFETCH(QStringList, left);
        panel->setAll(memories({"a:A", "b:B", "a:A2"}));
        for (const QString &operation : operations) {
            // Only the last operation's request is looked at.
            if (&operation == &operations.last())
                clearFolder();
            const QString verb = operation.section(u' ', 0, 0);
            const QString argument = operation.section(u' ', 1);
            if (verb == u"search")
                panel->search(argument);
            else if (verb == u"type")
                panel->model().setQuery(argument);
            else if (verb == u"forget")
                panel->forget(argument, u"shown "_qs + argument);
            else if (verb == u"edit")
                panel->edit(argument.section(u'|', 0, 0), argument.section(u'|', 1));
            else if (verb == u"correct") {
                panel->beginCorrection(argument.section(u'|', 0, 0));
                panel->setCorrectionDraft(argument.section(u'|', 0, 0), argument.section(u'|', 1));
            } else if (verb == u"list")
                panel->setAll(memories(argument.split(u' ')));
            else if (verb == u"save")
                panel->commitCorrection(argument);
        }
        QCOMPARE(specs(panel->model()), left);
        if (name.isEmpty()) {
            QCOMPARE(writtenFiles(), QStringList{});
        } else {
            QCOMPARE(writtenFiles(), QStringList{name});
            QCOMPARE(readJson(controlFolder() + u'/' + name), written);
        }
    }

    void searchingSetsLoadingUntilTheAnswer()
    {
        QSignalSpy loading(&panel->model(), &MemoryModel::loadingChanged);
        panel->search(QStringLiteral("tea"));
        QVERIFY(panel->model().loading());
        panel->setAll(memories({"a:A"}));
        QVERIFY(!panel->model().loading());
        QCOMPARE(loading.size(), 2);
    }

    // Link and cut on the graph: the edges afterwards and the request written.
    void graphRequests_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QStringList>("edges");
        QTest::addColumn<QJsonObject>("written");
        QTest::addRow("link adds a related edge") << "link a c" << QStringList{"a-b", "c-b", "a-c"}
                                                  << QJsonObject{{"action", "link"}, {"a", "a"}, {"b", "c"}};
        QTest::addRow("link of linked memories adds nothing but is sent")
            << "link b a" << QStringList{"a-b", "c-b"} << QJsonObject{{"action", "link"}, {"a", "b"}, {"b", "a"}};
        QTest::addRow("link the other way round")
            << "link b c" << QStringList{"a-b", "c-b"} << QJsonObject{{"action", "link"}, {"a", "b"}, {"b", "c"}};
        QTest::addRow("unlink in either direction")
            << "unlink b c" << QStringList{"a-b"} << QJsonObject{{"action", "unlink"}, {"a", "b"}, {"b", "c"}};
        QTest::addRow("unlink of unlinked memories is still sent")
            << "unlink a c" << QStringList{"a-b", "c-b"} << QJsonObject{{"action", "unlink"}, {"a", "a"}, {"b", "c"}};
    }
    void graphRequests()
    {
        QFETCH(QString, operation);
        QFETCH(QStringList, edges);
        QFETCH(QJsonObject, written);
        panel->setGraph({{"a", "A", ""}, {"b", "B", ""}, {"c", "C", ""}}, {{"a", "b", "related"}, {"c", "b", "x"}});
        const QStringList words = operation.split(u' ');
        if (words[0] == u"link")
            panel->link(words[1], words[2]);
        else
            panel->unlink(words[1], words[2]);
        QCOMPARE(edgeSpecs(panel->model()), edges);
        QCOMPARE(readJson(file("graph_action.json")), written);
    }

    void modesAndGraphRequests()
    {
        // Selecting the mode already selected asks for nothing.
        panel->selectMode(MemoryMode::Notes);
        QCOMPARE(writtenFiles(), QStringList{});
        panel->selectMode(MemoryMode::Graph);
        QCOMPARE(panel->model().mode(), MemoryMode::Graph);
        QVERIFY(panel->model().graphLoading());
        QCOMPARE(readJson(file("graph_query.json")), QJsonObject{});
        QVERIFY(QFile::exists(file("graph_query.json")));
        clearFolder();
        panel->selectMode(MemoryMode::Graph);
        QCOMPARE(writtenFiles(), QStringList{});

        QSignalSpy versions(&panel->model(), &MemoryModel::graphVersionChanged);
        panel->setGraph({{"a", "A", ""}}, {});
        QCOMPARE(panel->model().graphVersion(), 1);
        QVERIFY(!panel->model().graphLoading());
        panel->toggleFullscreen();
        QVERIFY(panel->model().fullscreen());
        // Back to notes leaves fullscreen; back to the graph with nodes on hand is not loading.
        panel->selectMode(MemoryMode::Notes);
        QVERIFY(!panel->model().fullscreen());
        panel->selectMode(MemoryMode::Graph);
        QVERIFY(!panel->model().graphLoading());
        QVERIFY(QFile::exists(file("graph_query.json")));
        clearFolder();
        panel->reloadGraph();
        QVERIFY(panel->model().graphLoading());
        QVERIFY(QFile::exists(file("graph_query.json")));
        panel->setGraph({}, {});
        QCOMPARE(versions.size(), 2);
    }

    void dispatcherRows_data()
    {
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QStringList>("expected");
        QTest::addRow("memories replace the list, skipping bad elements")
            << QStringList{R"({"type":"memories","q":"x","items":[{"id":"a","text":"A"},{"id":"b"},3,{"id":"c","text":"C","linked":"yes"}]})"}
            << QStringList{"a:A", "c:C"};
        QTest::addRow("items not an array empties the list")
            << QStringList{R"({"type":"memories","items":[{"id":"a","text":"A"}]})",
                   R"({"type":"memories","items":{"id":"b","text":"B"}})"}
            << QStringList{};
        QTest::addRow("memory_forgotten removes every entry with the id") << QStringList{
            R"({"type":"memories","items":[{"id":"a","text":"A"},{"id":"b","text":"B"},{"id":"a","text":"A2"}]})",
            R"({"type":"memory_forgotten","id":"a"})"} << QStringList{"b:B"};
        QTest::addRow("memory_forgotten without a string id is ignored") << QStringList{
            R"({"type":"memories","items":[{"id":"a","text":"A"}]})", R"({"type":"memory_forgotten","id":1})",
            R"({"type":"memory_forgotten"})"} << QStringList{"a:A"};
    }
    void dispatcherRows()
    {
        QFETCH(QStringList, events);
        QFETCH(QStringList, expected);
        EventDispatcher dispatcher;
        panel->registerRows(dispatcher);
        QAbstractItemModelTester tester(
            &panel->model().items(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        panel->search(QStringLiteral("x"));
        for (const QString &event : events)
            dispatcher.dispatch(event.toUtf8());
        QCOMPARE(specs(panel->model()), expected);
        QVERIFY(!panel->model().loading());
        // "memories" fills the card but never opens it.
        QVERIFY(!panel->window()->panel());
    }

    void graphRow()
    {
        EventDispatcher dispatcher;
        panel->registerRows(dispatcher);
        dispatcher.dispatch(
            R"({"type":"graph","nodes":[{"id":"a","text":"A","kind":"fact"},{"id":"b"},{"id":"c","text":"C"},"x"],"edges":[{"from":"a","to":"c"},{"from":"a"},{"from":"a","to":"zz","type":"t"}]})");
        QCOMPARE(panel->model().graphNodes(), (std::vector<GraphNode>{{"a", "A", "fact"}, {"c", "C", ""}}));
        QCOMPARE(panel->model().graphEdges(), (std::vector<GraphEdge>{{"a", "c", "related"}, {"a", "zz", "t"}}));
        QCOMPARE(panel->model().graphVersion(), 1);
        dispatcher.dispatch(R"({"type":"graph","nodes":7})");
        QVERIFY(panel->model().graphNodes().empty());
        QVERIFY(panel->model().graphEdges().empty());
        QCOMPARE(panel->model().graphVersion(), 2);
    }

    // A large graph is decoded off the main thread; a graph that arrives after it still wins.
    void largeGraphsDecodeAside()
    {
        EventDispatcher dispatcher;
        panel->registerRows(dispatcher);
        const auto big = [](int n, const QString &prefix) {
            QJsonArray nodes;
            for (int i = 0; i < n; ++i)
                nodes.append(QJsonObject{{"id", prefix + QString::number(i)}, {"text", "t"}});
            return QJsonDocument(QJsonObject{{"type", "graph"}, {"nodes", nodes}, {"edges", QJsonArray{7, "x"}}})
                .toJson(QJsonDocument::Compact);
        };
        dispatcher.dispatch(big(6000, "a"));
        QTRY_COMPARE(panel->model().graphNodeCount(), 6000);
        QCOMPARE(panel->model().graphNodes().back().id, QStringLiteral("a5999"));
        QCOMPARE(panel->model().graphVersion(), 1);

        dispatcher.dispatch(big(7000, "b"));
        dispatcher.dispatch(R"({"type":"graph","nodes":[{"id":"c","text":"C"}]})");
        QCOMPARE(panel->model().graphNodeCount(), 1);
        QTest::qWait(300);
        QCOMPARE(panel->model().graphNodeCount(), 1);
        QCOMPARE(panel->model().graphVersion(), 2);
    }

    void openShowsTheNotesAndAsks()
    {
        panel->model().setQuery(QStringLiteral("tea"));
        panel->selectMode(MemoryMode::Graph);
        clearFolder();
        panel->open();
        GlassPanel *window = panel->window()->panel();
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QCOMPARE(window->title(), QStringLiteral("What Halvic Remembers"));
        QCOMPARE(panel->model().mode(), MemoryMode::Notes);
        QVERIFY(panel->model().loading());
        QCOMPARE(readJson(file("memory_query.json")), (QJsonObject{{"q", "tea"}}));
        QCOMPARE(window->size(), QSize(340, 640));
        QVERIFY(window->movableByBackground());
        // The graph widens the card, gliding, and takes the background drags for the map.
        panel->selectMode(MemoryMode::Graph);
        QVERIFY(window->isGliding());
        scheduler.advance(Duration(1000));
        QCOMPARE(window->width(), std::min(820, window->screen()->availableGeometry().width() - 80));
        QCOMPARE(scheduler.pendingCount(), 0u);
        QVERIFY(!window->movableByBackground());
        // Toggle: on screen it goes away, then opens again in notes mode.
        panel->toggle();
        QVERIFY(!window->isVisible());
        panel->toggle();
        QVERIFY(window->isVisible());
        QCOMPARE(window->width(), 340);
    }

    void bubbleOnlyInNotesMode()
    {
        panel->open();
        GlassPanel *window = panel->window()->panel();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QPoint corner = window->position();
        panel->selectMode(MemoryMode::Graph);
        panel->window()->minimize();
        QVERIFY(!panel->window()->bubble()->minimized());
        panel->selectMode(MemoryMode::Notes);
        panel->window()->minimize();
        QVERIFY(panel->window()->bubble()->minimized());
        scheduler.advance(Duration(1));
        // The bubble keeps the card's top-left corner; expanded, the card comes back there.
        QCOMPARE(window->geometry(), QRect(corner, QSize(58, 58)));
        panel->window()->minimize();
        scheduler.advance(Duration(1));
        QCOMPARE(window->geometry(), QRect(corner, QSize(340, 640)));
        QCOMPARE(window->content()->property("icon").toString(), QStringLiteral("trophy.fill"));
        QCOMPARE(window->content()->property("help").toString(),
            QStringLiteral("What Halvic remembers \u2014 hold to expand"));
    }

    void viewTexts()
    {
        panel->open();
        GlassPanel *window = panel->window()->panel();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QQuickItem *view = window->content();
        QCOMPARE(visibleTexts(view),
            (QStringList{"What Halvic Remembers", "Notes", "Graph", "search memory\u2026", "Nothing remembered yet."}));
        panel->search(QStringLiteral("tea"));
        QTRY_COMPARE(visibleTexts(view).last(), QStringLiteral("No memories match that."));
        QCOMPARE(buttonsNamed(view, QStringLiteral("Clear")).size(), 1);

        MemoryItem tea{.id = "m1", .text = "Likes tea", .when = "mornings", .createdAt = "2024-03-05T14:07:09Z"};
        MemoryItem plain{.id = "m2", .text = "Has a cat", .linked = true};
        panel->setAll({tea, plain});
        QTRY_COMPARE(
            visibleTexts(view).mid(3), (QStringList{"Likes tea", "Mar 5, 14:07  \u00b7  re: mornings", "Has a cat"}));
        QCOMPARE(buttonsNamed(view, QStringLiteral("Correct this memory: Likes tea")).size(), 1);
        QCOMPARE(buttonsNamed(view, QStringLiteral("Forget this \u2014 delete permanently: Has a cat")).size(), 1);

        panel->search(QString());
        QTRY_COMPARE(buttonsNamed(view, QStringLiteral("Clear")).size(), 0);
        panel->selectMode(MemoryMode::Graph);
        panel->setGraph({{"a", "A", ""}, {"b", "B", ""}}, {{"a", "b", "related"}});
        QTRY_VERIFY(visibleTexts(view).contains(QStringLiteral("2 memories \u00b7 1 links")));
        QVERIFY(!visibleTexts(view).contains(QStringLiteral("Likes tea")));
    }

    // The pencil, a typed correction and the save button, in the real window; meanwhile the
    // row scrolls out of view and back.
    void correctingARow()
    {
        panel->open();
        panel->setAll(memories(QStringList{"m1:Likes tea"} + QStringList(40, u"x:Filler"_qs)));
        GlassPanel *window = panel->window()->panel();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const auto click = [&](const QString &help) {
            QQuickItem *button = nullptr;
            QTRY_VERIFY((button = buttonsNamed(window->content(), help).value(0)));
            QTest::mouseClick(window, Qt::LeftButton, {},
                button->mapToScene(QPointF(button->width() / 2, button->height() / 2)).toPoint());
        };
        click(QStringLiteral("Correct this memory: Likes tea"));
        QTest::keyClick(window, Qt::Key_End);
        for (const QChar c : QStringLiteral(" a lot"))
            QTest::keyClick(window, c.toLatin1());
        QQuickItem *list = nullptr;
        for (QQuickItem *item : window->content()->findChildren<QQuickItem *>())
            list = item->inherits("QQuickListView") ? item : list;
        QMetaObject::invokeMethod(list, "positionViewAtEnd");
        QTRY_COMPARE(buttonsNamed(window->content(), QStringLiteral("Save correction: Likes tea")).size(), 0);
        QMetaObject::invokeMethod(list, "positionViewAtBeginning");
        click(QStringLiteral("Save correction: Likes tea"));
        QCOMPARE(readJson(file("memory_action.json")),
            (QJsonObject{{"action", "edit"}, {"id", "m1"}, {"text", "Likes tea a lot"}, {"q", ""}}));
        QTRY_COMPARE(
            buttonsNamed(window->content(), QStringLiteral("Forget this \u2014 delete permanently: Likes tea a lot"))
                .size(),
            1);
        click(QStringLiteral("Forget this \u2014 delete permanently: Likes tea a lot"));
        QCOMPARE(readJson(file("memory_action.json")),
            (QJsonObject{{"action", "forget"}, {"id", "m1"}, {"text", "Likes tea a lot"}, {"q", ""}}));
        QCOMPARE(panel->model().items().count(), 40);
    }

    // The map in the real window: laid out off the main thread, drawn, and driven with the
    // pointer (select, connect, cut, zoom).
    void graphInTheWindow()
    {
        panel->open();
        GlassPanel *window = panel->window()->panel();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        panel->selectMode(MemoryMode::Graph);
        scheduler.advance(Duration(1000));
        GraphView *map = nullptr;
        QTRY_VERIFY((map = findMap(window->contentItem())));
        QSignalSpy applied(map, &GraphView::laidOutApplied);
        panel->setGraph({{"a", "Likes green tea with honey", "fact"}, {"b", "Ann", "entity:person"},
                            {"c", "Dentist", "event"}, {"d", "Lisbon", "entity:place"}},
            {{"a", "b", "related"}, {"b", "c", "related"}, {"a", "ghost", "related"}});
        QVERIFY(applied.wait(5000));
        QCOMPARE(map->positions().size(), 4);
        QCOMPARE(map->degrees().value("a"), 2);
        QCOMPARE(map->legend().size(), 4);

        // Drawn: each dot in its kind's colour where the map says it is, once the picture is
        // back from its worker.
        const QPoint dot = map->mapToScene(*map->viewPoint("b")).toPoint();
        QTRY_COMPARE(QColor(window->grabWindow().pixel(dot)), graphview::kindColour("entity:person"));

        const auto clickAt = [&](QPointF at, Qt::KeyboardModifiers modifiers = {}) {
            QTest::mouseClick(window, Qt::LeftButton, modifiers, map->mapToScene(at).toPoint());
        };
        clickAt(*map->viewPoint("c"));
        QCOMPARE(map->selectedNode(), std::optional<QString>("c"));
        QTRY_VERIFY(visibleTexts(window->contentItem()).contains("Dentist"));
        clickAt(*map->viewPoint("c"));
        QCOMPARE(map->selectedNode(), std::optional<QString>());

        // Connect mode: two taps link, written at once.
        map->toggleConnect();
        clickAt(*map->viewPoint("d"));
        QVERIFY(map->hasPending());
        clickAt(*map->viewPoint("c"));
        QCOMPARE(readJson(file("graph_action.json")), (QJsonObject{{"action", "link"}, {"a", "d"}, {"b", "c"}}));
        QCOMPARE(edgeSpecs(panel->model()), (QStringList{"a-b", "b-c", "a-ghost", "d-c"}));
        // The same memory twice sends nothing.
        QFile::remove(file("graph_action.json"));
        clickAt(*map->viewPoint("a"));
        clickAt(*map->viewPoint("a"));
        QVERIFY(!map->hasPending());
        QVERIFY(!QFile::exists(file("graph_action.json")));
        map->toggleConnect();

        // A click beside the middle of a link selects it; cut unlinks it.
        const QPointF a = *map->viewPoint("a"), b = *map->viewPoint("b");
        const QPointF middle = (a + b) / 2;
        QPointF normal(b.y() - a.y(), a.x() - b.x());
        normal /= std::hypot(normal.x(), normal.y());
        clickAt(middle + normal * 4);
        QCOMPARE(map->selectedEdge(), std::optional(GraphEdge{"a", "b", "related"}));
        map->cutSelectedEdge();
        QCOMPARE(readJson(file("graph_action.json")), (QJsonObject{{"action", "unlink"}, {"a", "a"}, {"b", "b"}}));
        QCOMPARE(edgeSpecs(panel->model()), (QStringList{"b-c", "a-ghost", "d-c"}));
        QVERIFY(!map->edgeSelected());

        // Double click zooms in about the point, with Alt out.
        const double before = map->zoom();
        QTest::mouseDClick(window, Qt::LeftButton, {}, map->mapToScene(middle).toPoint());
        QCOMPARE(map->zoom(), std::clamp(before * 1.6, 0.2, 4.0));
        QTest::mouseDClick(window, Qt::LeftButton, Qt::AltModifier, map->mapToScene(middle).toPoint());
        QVERIFY(std::abs(map->zoom() - std::clamp(std::clamp(before * 1.6, 0.2, 4.0) * 0.625, 0.2, 4.0)) < 1e-9);
        // "Fit all" eases back into the fitted view.
        const auto fitted = graphlayout::fit(map->positions(), map->size());
        map->fitAll();
        QVERIFY(map->zoom() != fitted->scale);
        QTRY_COMPARE(map->zoom(), fitted->scale);

        // The words the map shows are on the accessibility bus: the labels in view when zoomed
        // in far enough to show them, else only the selected memory's.
        while (map->zoom() <= 1.25)
            map->zoomIn();
        QStringList inView;
        for (const GraphNode &node : panel->model().graphNodes()) {
            if (QRectF(0, 0, map->width(), map->height()).contains(*map->viewPoint(node.id)))
                inView << graphview::nodeLabel(node.text);
        }
        QVERIFY(!inView.isEmpty());
        QTRY_COMPARE(map->shownLabels(), inView.join("; "));
        while (map->zoom() > 1.25)
            map->zoomOut();
        QTRY_COMPARE(map->shownLabels(), QString());
        clickAt(*map->viewPoint("c"));
        QTRY_COMPARE(map->shownLabels(), QStringLiteral("Dentist"));

        // A new graph keeps the places of the memories that stay.
        const auto kept = map->positions().value("c");
        applied.clear();
        panel->setGraph({{"c", "Dentist", "event"}, {"e", "New", "fact"}}, {});
        QVERIFY(applied.wait(5000));
        QCOMPARE(map->positions().size(), 2);
        QVERIFY(map->positions().contains("e"));
        Q_UNUSED(kept)
    }

    void zoomMaths_data()
    {
        QTest::addColumn<double>("scale");
        QTest::addColumn<QPointF>("offset");
        QTest::addColumn<double>("factor");
        QTest::addColumn<QPointF>("point");
        QTest::addColumn<double>("newScale");
        QTest::addColumn<QPointF>("newOffset");
        const QSizeF size(400, 300);
        QTest::addRow("in about the middle keeps the offset scaled")
            << 1.0 << QPointF(10, -20) << 1.6 << QPointF(200, 150) << 1.6 << QPointF(16, -32);
        QTest::addRow("in about a corner moves toward it")
            << 1.0 << QPointF(0, 0) << 1.6 << QPointF(0, 0) << 1.6 << QPointF(120, 90);
        QTest::addRow("out with Alt") << 2.0 << QPointF(0, 0) << 0.625 << QPointF(400, 300) << 1.25
                                      << QPointF(75, 56.25);
        QTest::addRow("clamped at 4") << 3.0 << QPointF(5, 5) << 1.6 << QPointF(0, 0) << 4.0
                                      << QPointF(200.0 / 3 + 5 * 4.0 / 3, 50 + 5 * 4.0 / 3);
        QTest::addRow("at the limit nothing moves")
            << 4.0 << QPointF(5, 5) << 1.6 << QPointF(0, 0) << 4.0 << QPointF(5, 5);
        QTest::addRow("clamped at 0.2") << 0.25 << QPointF(0, 0) << 0.625 << QPointF(200, 150) << 0.2 << QPointF(0, 0);
    }
    void zoomMaths()
    {
        QFETCH(double, scale);
        QFETCH(QPointF, offset);
        QFETCH(double, factor);
        QFETCH(QPointF, point);
        QFETCH(double, newScale);
        QFETCH(QPointF, newOffset);
        const graphview::Nav zoomed = graphview::zoomedAbout({scale, offset}, factor, point, QSizeF(400, 300));
        QVERIFY(std::abs(zoomed.scale - newScale) < 1e-9);
        QVERIFY2(
            std::abs(zoomed.offset.x() - newOffset.x()) < 1e-9 && std::abs(zoomed.offset.y() - newOffset.y()) < 1e-9,
            qPrintable(QStringLiteral("%1,%2").arg(zoomed.offset.x()).arg(zoomed.offset.y())));
    }

    void wheelZoom()
    {
        QCOMPARE(graphview::zoomedBy({1, QPointF(10, 20)}, 0.1), (graphview::Nav{1.1, QPointF(11, 22)}));
        QCOMPARE(graphview::zoomedBy({4, QPointF(10, 20)}, 0.1), (graphview::Nav{4, QPointF(10, 20)}));
        QCOMPARE(graphview::zoomedBy({1, QPointF(10, 20)}, 0.00005), (graphview::Nav{1, QPointF(10, 20)}));
        QCOMPARE(graphview::zoomedBy({0.3, QPointF(10, 20)}, -0.9).scale, 0.2);
    }

    void hitTesting()
    {
        const graphlayout::Positions positions{{"a", {0, 0}}, {"b", {30, 0}}, {"c", {100, 100}}};
        const graphlayout::Degrees degrees{{"b", 10}};
        const std::vector<QString> ids{"a", "b", "c", "nowhere"};
        const QSizeF size(200, 200);
        const graphview::Nav nav{1, QPointF()};
        // a at (100,100) radius 6, b at (130,100) radius 16; the hit area is radius + 6.
        QCOMPARE(graphview::nodeAt({100, 100}, size, nav, ids, positions, degrees), std::optional(0));
        QCOMPARE(graphview::nodeAt({111.9, 100}, size, nav, ids, positions, degrees), std::optional(0));
        QCOMPARE(graphview::nodeAt({113, 100}, size, nav, ids, positions, degrees), std::optional(1));
        QCOMPARE(graphview::nodeAt({130, 121.9}, size, nav, ids, positions, degrees), std::optional(1));
        QCOMPARE(graphview::nodeAt({130, 122.1}, size, nav, ids, positions, degrees), std::optional<int>());
        // The hit area does not grow with zoom.
        QCOMPARE(graphview::nodeAt({112.5, 100}, size, {2, QPointF()}, ids, positions, degrees), std::optional<int>());
        // Equal distances: the earlier node.
        const graphlayout::Positions twins{{"a", {0, 0}}, {"b", {0, 0}}};
        QCOMPARE(graphview::nodeAt({100, 100}, size, nav, ids, twins, {}), std::optional(0));

        QCOMPARE(graphview::segmentDistance({5, 3}, {0, 0}, {10, 0}), 3.0);
        QCOMPARE(graphview::segmentDistance({-4, 3}, {0, 0}, {10, 0}), 5.0);
        QCOMPARE(graphview::segmentDistance({13, 4}, {0, 0}, {10, 0}), 5.0);
        QCOMPARE(graphview::segmentDistance({3, 4}, {0, 0}, {0.001, 0}), 5.0);
        const std::vector<GraphEdge> edges{{"a", "zz", ""}, {"a", "c", ""}, {"a", "b", ""}};
        QCOMPARE(graphview::edgeAt({115, 105.9}, size, nav, edges, positions), std::optional(2));
        QCOMPARE(graphview::edgeAt({115, 106.1}, size, nav, edges, positions), std::optional<int>());
        // Both a–c and a–b pass near the start: the first in order wins.
        QCOMPARE(graphview::edgeAt({101, 101}, size, nav, edges, positions), std::optional(1));
    }

    void kinds_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QColor>("colour");
        QTest::addRow("person") << "entity:person"
                                << "Person" << QColor(0x30, 0xd1, 0x58);
        QTest::addRow("any case") << "Entity:Company"
                                  << "Company" << QColor(0xff, 0x9f, 0x0a);
        QTest::addRow("pref") << "pref"
                              << "Preference" << QColor(0xbf, 0x5a, 0xf2);
        QTest::addRow("todo") << "todo"
                              << "Task" << QColor(0x5e, 0x5c, 0xe6);
        QTest::addRow("other entity") << "entity:vehicle"
                                      << "Vehicle" << QColor(0x8e, 0x8e, 0x93);
        QTest::addRow("other kind") << "habit"
                                    << "Habit" << QColor(0x0a, 0x84, 0xff);
        QTest::addRow("no kind") << ""
                                 << "Memory" << QColor(0x0a, 0x84, 0xff);
    }
    void kinds()
    {
        QFETCH(QString, kind);
        QFETCH(QString, name);
        QFETCH(QColor, colour);
        QCOMPARE(graphview::kindName(kind), name);
        QCOMPARE(graphview::kindColour(kind), colour);
        QCOMPARE(graphview::nodeLabel(QStringLiteral("  short  ")), QStringLiteral("short"));
        QCOMPARE(graphview::nodeLabel(QStringLiteral("exactly eighteen c")), QStringLiteral("exactly eighteen c"));
        QCOMPARE(
            graphview::nodeLabel(QStringLiteral("nineteen characters")), QStringLiteral("nineteen character\u2026"));
    }
};

QTEST_MAIN(MemoryTest)
#include "tst_memory.moc"
