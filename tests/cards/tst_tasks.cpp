#include <QAbstractItemModelTester>
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
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "CardUnderTest.h"
#include "EventDispatcher.h"
#include "GlassPanel.h"
#include "JsonFile.h"
#include "QuickItems.h"
#include "Scheduler.h"
#include "TaskItem.h"
#include "TasksPanel.h"

Q_IMPORT_QML_PLUGIN(Halvic_PanelsPlugin)
Q_IMPORT_QML_PLUGIN(Halvic_CardsPlugin)
Q_IMPORT_QML_PLUGIN(Halvic_Cards_TasksPlugin)

using namespace halvic;
using namespace std::chrono_literals;
using TasksModel = RecordListModel<TaskItem>;

Q_DECLARE_METATYPE(std::optional<halvic::TaskItem>)

namespace {

// "a:Buy milk" is an entry without a due date, "a:Buy milk@today" one due "today".
TaskItem task(const QString &spec)
{
    const QString id = spec.section(u':', 0, 0);
    const QString rest = spec.section(u':', 1);
    if (!rest.contains(u'@'))
        return {id, rest, std::nullopt};
    return {id, rest.section(u'@', 0, 0), rest.section(u'@', 1)};
}

std::vector<TaskItem> tasks(const QStringList &specs)
{
    std::vector<TaskItem> list;
    for (const QString &spec : specs)
        list.push_back(task(spec));
    return list;
}

QStringList specs(const TasksModel &model)
{
    QStringList out;
    for (const TaskItem &item : model.records())
        out << item.id + u':' + item.text + (item.due ? u'@' + *item.due : QString());
    return out;
}

using halvic::testing::buttonsNamed;
using halvic::testing::readJson;
using halvic::testing::visibleTexts;

QJsonObject tick(const QString &id, const QString &text)
{
    return {{"kind", "task"}, {"action", "done"}, {"id", id}, {"text", text}};
}

} // namespace

class TasksTest : public QObject, testing::CardUnderTest<TasksPanel>
{
    Q_OBJECT

    QString actionFile() const { return controlFolder() + QStringLiteral("/card_action.json"); }

    QRect available() const { return QGuiApplication::primaryScreen()->availableGeometry(); }

private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void decode_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<std::optional<TaskItem>>("expected");
        QTest::addRow("all fields") << QByteArray(R"({"id":"t1","text":"Call Ann","due":"5 pm"})")
                                    << std::optional(TaskItem{"t1", "Call Ann", "5 pm"});
        QTest::addRow("no due") << QByteArray(R"({"id":"t1","text":"Call Ann"})")
                                << std::optional(TaskItem{"t1", "Call Ann", std::nullopt});
        QTest::addRow("due not a string")
            << QByteArray(R"({"id":"t1","text":"x","due":17})") << std::optional(TaskItem{"t1", "x", std::nullopt});
        QTest::addRow("due null") << QByteArray(R"({"id":"t1","text":"x","due":null})")
                                  << std::optional(TaskItem{"t1", "x", std::nullopt});
        QTest::addRow("empty strings count")
            << QByteArray(R"({"id":"","text":"","due":""})") << std::optional(TaskItem{"", "", QString()});
        QTest::addRow("no id") << QByteArray(R"({"text":"x"})") << std::optional<TaskItem>();
        QTest::addRow("numeric id") << QByteArray(R"({"id":4,"text":"x"})") << std::optional<TaskItem>();
        QTest::addRow("no text") << QByteArray(R"({"id":"t1","due":"today"})") << std::optional<TaskItem>();
        QTest::addRow("text null") << QByteArray(R"({"id":"t1","text":null})") << std::optional<TaskItem>();
        QTest::addRow("text an array") << QByteArray(R"({"id":"t1","text":["x"]})") << std::optional<TaskItem>();
    }
    void decode()
    {
        QFETCH(QByteArray, json);
        QFETCH(std::optional<TaskItem>, expected);
        QCOMPARE(TaskItem::from(QJsonDocument::fromJson(json).object()), expected);
    }

    // Operations on the model: "set a:x,b:y", "add a:x", "remove a"; the list afterwards.
    void modelOperations_data()
    {
        QTest::addColumn<QStringList>("operations");
        QTest::addColumn<QStringList>("expected");
        QTest::addRow("set keeps order") << QStringList{"set a:A,b:B@fri,c:C"} << QStringList{"a:A", "b:B@fri", "c:C"};
        QTest::addRow("add goes on top") << QStringList{"set a:A,b:B", "add c:C"} << QStringList{"c:C", "a:A", "b:B"};
        QTest::addRow("add with a known id moves it up with its new fields")
            << QStringList{"set a:A,b:B@fri,c:C", "add b:B2@mon"} << QStringList{"b:B2@mon", "a:A", "c:C"};
        QTest::addRow("add of the top entry replaces it")
            << QStringList{"set a:A,b:B", "add a:A2"} << QStringList{"a:A2", "b:B"};
        QTest::addRow("add drops every entry with its id")
            << QStringList{"set a:A,b:B,a:A3", "add a:new"} << QStringList{"a:new", "b:B"};
        QTest::addRow("remove takes every entry with the id")
            << QStringList{"set a:A,b:B,a:A3", "remove a"} << QStringList{"b:B"};
        QTest::addRow("remove of an unknown id changes nothing")
            << QStringList{"set a:A", "remove z"} << QStringList{"a:A"};
        QTest::addRow("set replaces everything") << QStringList{"set a:A,b:B", "set c:C"} << QStringList{"c:C"};
        QTest::addRow("set empty empties") << QStringList{"set a:A", "set "} << QStringList{};
    }
    void modelOperations()
    {
        QFETCH(QStringList, operations);
        QFETCH(QStringList, expected);
        TasksModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy counts(&model, &RecordList::countChanged);
        int lastCount = 0;
        connect(&model, &RecordList::countChanged, this, [&] { lastCount = model.count(); });
        for (const QString &operation : operations) {
            const QString verb = operation.section(u' ', 0, 0);
            const QString argument = operation.section(u' ', 1);
            if (verb == u"set")
                model.replaceAll(tasks(argument.split(u',', Qt::SkipEmptyParts)));
            else if (verb == u"add")
                model.prepend(task(argument));
            else
                model.removeId(argument);
        }
        QCOMPARE(specs(model), expected);
        QCOMPARE(model.rowCount(), expected.size());
        // The count announced last is the count the list has.
        if (!counts.isEmpty())
            QCOMPARE(lastCount, model.count());
    }

    void modelRows()
    {
        TasksModel model;
        model.replaceAll(tasks({"a:Call Ann@5 pm", "b:Water plants"}));
        const QHash<int, QByteArray> names = model.roleNames();
        const auto role
            = [&](int row, const QByteArray &name) { return model.data(model.index(row), names.key(name)); };
        QCOMPARE(names.size(), 4);
        QCOMPARE(role(0, "taskId").toString(), QStringLiteral("a"));
        QCOMPARE(role(0, "due").toString(), QStringLiteral("5 pm"));
        QCOMPARE(role(0, "hasDue").toBool(), true);
        QCOMPARE(role(1, "text").toString(), QStringLiteral("Water plants"));
        QCOMPARE(role(1, "due").toString(), QString());
        QCOMPARE(role(1, "hasDue").toBool(), false);
        QVERIFY(!role(2, "taskId").isValid());
    }

    void noPanelUntilThereIsSomethingToList()
    {
        panel->setAll({});
        panel->remove(QStringLiteral("a"));
        QVERIFY(!panel->window()->panel());
        panel->add(task("a:A"));
        QVERIFY(panel->window()->panel());
        QVERIFY(panel->window()->isShown());
    }

    void firstShowAtTopRight()
    {
        panel->setAll(tasks({"a:A", "b:B"}));
        GlassPanel *window = panel->window()->panel();
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QRect avail = available();
        QCOMPARE(window->geometry(), QRect(avail.x() + avail.width() - 340, avail.y() + 20, 320, 400));
        QCOMPARE(window->title(), QStringLiteral("Tasks & Reminders"));
        // The card as the view describes it.
        QQuickItem *view = window->content();
        QCOMPARE(view->property("icon").toString(), QStringLiteral("checklist"));
        QCOMPARE(view->property("help").toString(), QStringLiteral("Tasks & Reminders \u2014 hold to expand"));
    }

    void removeHidesOnlyWhenEmpty_data()
    {
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<QString>("id");
        QTest::addColumn<bool>("shown");
        QTest::addRow("another entry") << QStringList{"a:A", "b:B"} << "a" << true;
        QTest::addRow("the last entry") << QStringList{"a:A"} << "a" << false;
        QTest::addRow("all entries with the id") << QStringList{"a:A", "a:A2"} << "a" << false;
        QTest::addRow("an unknown id") << QStringList{"a:A"} << "z" << true;
    }
    void removeHidesOnlyWhenEmpty()
    {
        QFETCH(QStringList, list);
        QFETCH(QString, id);
        QFETCH(bool, shown);
        panel->setAll(tasks(list));
        panel->remove(id);
        QCOMPARE(panel->window()->isShown(), shown);
        QVERIFY(!QFile::exists(actionFile()));
    }

    // The tick removes the task at once and leaves the engine one request in card_action.json.
    void completeWritesTheAction_data()
    {
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QJsonObject>("written");
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<bool>("shown");
        QTest::addRow("the only task") << QStringList{"t1:Call Ann@5 pm"} << "t1" << tick("t1", "Call Ann")
                                       << QStringList{} << false;
        QTest::addRow("one of two") << QStringList{"t1:Call Ann", "t2:Water plants"} << "t2"
                                    << tick("t2", "Water plants") << QStringList{"t1:Call Ann"} << true;
        QTest::addRow("the first of repeated ids gives the text")
            << QStringList{"t1:first", "t2:B", "t1:second"} << "t1" << tick("t1", "first") << QStringList{"t2:B"}
            << true;
        QTest::addRow("an unknown id still writes, with empty text")
            << QStringList{"t1:Call Ann"} << "gone" << tick("gone", "") << QStringList{"t1:Call Ann"} << true;
        QTest::addRow("text with quotes and a line break")
            << QStringList{"q:say \"hi\"\nthen go"} << "q" << tick("q", "say \"hi\"\nthen go") << QStringList{}
            << false;
    }
    void completeWritesTheAction()
    {
        QFETCH(QStringList, list);
        QFETCH(QString, id);
        QFETCH(QJsonObject, written);
        QFETCH(QStringList, left);
        QFETCH(bool, shown);
        panel->setAll(tasks(list));
        QVERIFY(!QDir(controlFolder()).exists());
        panel->complete(id);
        QCOMPARE(specs(panel->model()), left);
        QCOMPARE(panel->window()->isShown(), shown);
        QCOMPARE(readJson(actionFile()), written);
        // Nothing but the request itself is left in the folder.
        QCOMPARE(QDir(controlFolder()).entryList(QDir::Files | QDir::Hidden), QStringList{"card_action.json"});
    }

    // A reader that opened the earlier request still reads it whole: the new request arrives
    // as a new file renamed over the old one, never written into it.
    void aTickReplacesTheFileWhole()
    {
        panel->setAll(tasks({"a:first task with a long text to make the file longer", "b:B"}));
        panel->complete(QStringLiteral("a"));
        QFile earlier(actionFile());
        QVERIFY(earlier.open(QIODevice::ReadOnly));
        panel->complete(QStringLiteral("b"));
        QCOMPARE(QJsonDocument::fromJson(earlier.readAll()).object(),
            tick("a", "first task with a long text to make the file longer"));
        QCOMPARE(readJson(actionFile()), tick("b", "B"));
    }

    void aFailedWriteIsSilent()
    {
        // The control folder's place is taken by a file: nothing can be written there.
        QDir().mkpath(dir->filePath(QStringLiteral("root")));
        QFile blocker(controlFolder());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.write("not a folder");
        blocker.close();
        panel->setAll(tasks({"a:A", "b:B"}));
        panel->complete(QStringLiteral("a"));
        QCOMPARE(specs(panel->model()), QStringList{"b:B"});
        QVERIFY(panel->window()->isShown());
        QCOMPARE(QFile(controlFolder()).size(), qint64(12));
    }

    void viewShowsTheList()
    {
        panel->setAll(tasks({"t1:Call Ann@5 pm", "t2:Water plants"}));
        QQuickItem *view = panel->window()->panel()->content();
        QVERIFY(QTest::qWaitForWindowExposed(panel->window()->panel()));
        QCOMPARE(visibleTexts(view), (QStringList{"Tasks & Reminders", "Call Ann", "due 5 pm", "Water plants"}));
        // Each tick is named after the task it ticks off.
        QCOMPARE(buttonsNamed(view, QStringLiteral("Mark done: Call Ann")).size(), 1);
        QCOMPARE(buttonsNamed(view, QStringLiteral("Mark done: Water plants")).size(), 1);
        QCOMPARE(buttonsNamed(view, QStringLiteral("Minimize to a bubble \u2014 hold the bubble to reopen")).size(), 1);
        QCOMPARE(buttonsNamed(view, QStringLiteral("Hide")).size(), 1);
        panel->add(task("t3:Book table@Friday"));
        // The list lays out its new row on its next polish.
        QTRY_COMPARE(visibleTexts(view),
            (QStringList{"Tasks & Reminders", "Book table", "due Friday", "Call Ann", "due 5 pm", "Water plants"}));
        // The model emptied by hand: the card says so (it is hidden, but keeps its view).
        panel->model().replaceAll({});
        QTRY_COMPARE(visibleTexts(view), (QStringList{"Tasks & Reminders", "Nothing on your list."}));
    }

    // However long the engine's list, the card builds rows only for what it can show: a
    // row for every entry would stall the HUD on a long list.
    void aLongListBuildsOnlyTheRowsInView()
    {
        QStringList list;
        for (int i = 0; i < 3000; ++i)
            list << QStringLiteral("t%1:Task number %1").arg(i);
        panel->setAll(tasks(list));
        QVERIFY(QTest::qWaitForWindowExposed(panel->window()->panel()));
        QQuickItem *view = panel->window()->panel()->content();
        const qsizetype rows = buttonsNamed(view, QStringLiteral("Mark done: \u2026")).size();
        QVERIFY2(rows > 5 && rows < 100, qPrintable(QString::number(rows)));
        QCOMPARE(visibleTexts(view).mid(0, 3), (QStringList{"Tasks & Reminders", "Task number 0", "Task number 1"}));
    }

    // Clicking a row's tick in the real window removes that task and tells the engine.
    void clickingTheTick()
    {
        panel->setAll(tasks({"t1:Call Ann", "t2:Water plants"}));
        GlassPanel *window = panel->window()->panel();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const auto click = [&](const QString &help, int index) {
            QQuickItem *button = buttonsNamed(window->content(), help).value(index);
            QVERIFY(button);
            QTest::mouseClick(window, Qt::LeftButton, {},
                button->mapToScene(QPointF(button->width() / 2, button->height() / 2)).toPoint());
        };
        click(QStringLiteral("Mark done: Water plants"), 0);
        QCOMPARE(readJson(actionFile()), tick("t2", "Water plants"));
        QCOMPARE(specs(panel->model()), QStringList{"t1:Call Ann"});
        click(QStringLiteral("Mark done: Call Ann"), 0);
        QCOMPARE(readJson(actionFile()), tick("t1", "Call Ann"));
        QVERIFY(!window->isVisible());
        // Shown again, the close button only hides; nothing is written.
        panel->add(task("t3:C"));
        QFile::remove(actionFile());
        click(QStringLiteral("Hide"), 0);
        QVERIFY(!window->isVisible());
        QCOMPARE(specs(panel->model()), QStringList{"t3:C"});
        QVERIFY(!QFile::exists(actionFile()));
    }

    // Engine events reach the card through the dispatcher rows.
    void dispatcherRows_data()
    {
        QTest::addColumn<QStringList>("events");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<bool>("shown");
        QTest::addRow("tasks shows the list, skipping bad elements")
            << QStringList{R"({"type":"tasks","tasks":[{"id":"a","text":"A","due":"mon"},{"id":"b"},7,{"id":"c","text":"C","due":3}]})"}
            << QStringList{"a:A@mon", "c:C"} << true;
        QTest::addRow("tasks that is not an array is ignored") << QStringList{
            R"({"type":"tasks","tasks":[{"id":"a","text":"A"}]})", R"({"type":"tasks","tasks":{"id":"b","text":"B"}})",
            R"({"type":"tasks"})"} << QStringList{"a:A"} << true;
        QTest::addRow("an empty array empties and hides")
            << QStringList{R"({"type":"tasks","tasks":[{"id":"a","text":"A"}]})", R"({"type":"tasks","tasks":[]})"}
            << QStringList{} << false;
        QTest::addRow("only bad elements count as empty")
            << QStringList{R"({"type":"tasks","tasks":[{"id":"a","text":"A"}]})",
                   R"({"type":"tasks","tasks":[{"text":"x"}]})"}
            << QStringList{} << false;
        QTest::addRow("task_added puts it on top")
            << QStringList{R"({"type":"tasks","tasks":[{"id":"a","text":"A"},{"id":"b","text":"B"}]})",
                   R"({"type":"task_added","id":"b","text":"B2","due":"fri"})"}
            << QStringList{"b:B2@fri", "a:A"} << true;
        QTest::addRow("task_added shows the card")
            << QStringList{R"({"type":"task_added","id":"a","text":"A"})"} << QStringList{"a:A"} << true;
        QTest::addRow("task_added without text or id is ignored") << QStringList{R"({"type":"task_added","id":"a"})",
            R"({"type":"task_added","text":"A"})", R"({"type":"task_added","id":"a","text":5})"}
                                                                  << QStringList{} << false;
        QTest::addRow("task_done_evt for another entry keeps the card")
            << QStringList{R"({"type":"tasks","tasks":[{"id":"a","text":"A"},{"id":"b","text":"B"}]})",
                   R"({"type":"task_done_evt","id":"a"})"}
            << QStringList{"b:B"} << true;
        QTest::addRow("task_done_evt for the last entry hides it")
            << QStringList{R"({"type":"task_added","id":"a","text":"A"})", R"({"type":"task_done_evt","id":"a"})"}
            << QStringList{} << false;
        QTest::addRow("task_done_evt without a string id is ignored")
            << QStringList{R"({"type":"task_added","id":"a","text":"A"})", R"({"type":"task_done_evt"})",
                   R"({"type":"task_done_evt","id":1})"}
            << QStringList{"a:A"} << true;
    }
    void dispatcherRows()
    {
        QFETCH(QStringList, events);
        QFETCH(QStringList, expected);
        QFETCH(bool, shown);
        EventDispatcher dispatcher;
        panel->registerRows(dispatcher);
        for (const QString &event : events)
            dispatcher.dispatch(event.toUtf8());
        QCOMPARE(specs(panel->model()), expected);
        QCOMPARE(panel->window()->isShown(), shown);
        // Engine events never write the action file.
        QVERIFY(!QFile::exists(actionFile()));
    }
};

QTEST_MAIN(TasksTest)
#include "tst_tasks.moc"
