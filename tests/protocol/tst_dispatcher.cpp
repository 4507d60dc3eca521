// The dispatcher: every handler registered for a type runs, in order, and a registration
// ends with its context object.

#include <QTest>

#include "EventDispatcher.h"

using namespace halvic;
using namespace Qt::Literals::StringLiterals;

class DispatcherTest : public QObject
{
    Q_OBJECT

private slots:
    void everyHandlerOfTheTypeRunsInOrder()
    {
        EventDispatcher dispatcher;
        QObject first, second;
        QStringList seen;
        dispatcher.on(QLatin1StringView("card_close"), &first,
            [&](const QJsonObject &p) { seen << u"a:"_s + p.value(u"draft_id"_s).toString(); });
        dispatcher.on(QLatin1StringView("card_close"), &second, [&](const QJsonObject &) { seen << u"b"_s; });
        dispatcher.on(QLatin1StringView("card_close"), &first, [&](const QJsonObject &) { seen << u"c"_s; });
        dispatcher.on(QLatin1StringView("other"), &first, [&](const QJsonObject &) { seen << u"other"_s; });
        QVERIFY(dispatcher.dispatch(QByteArrayView(R"({"type":"card_close","draft_id":"d1"})")));
        QCOMPARE(seen, (QStringList{u"a:d1"_s, u"b"_s, u"c"_s}));
        QCOMPARE(dispatcher.handlerCount(QLatin1StringView("card_close")), 3);
    }

    void aDestroyedContextTakesItsHandlersAlong()
    {
        EventDispatcher dispatcher;
        QObject kept;
        auto gone = std::make_unique<QObject>();
        QStringList seen;
        dispatcher.on(QLatin1StringView("tasks"), gone.get(), [&](const QJsonObject &) { seen << u"gone"_s; });
        dispatcher.on(QLatin1StringView("tasks"), &kept, [&](const QJsonObject &) { seen << u"kept"_s; });
        gone.reset();
        QVERIFY(dispatcher.dispatch(QByteArrayView(R"({"type":"tasks"})")));
        QCOMPARE(seen, QStringList{u"kept"_s});
        QCOMPARE(dispatcher.handlerCount(QLatin1StringView("tasks")), 1);

        // With no live handler left, the event counts as unhandled.
        auto only = std::make_unique<QObject>();
        dispatcher.on(QLatin1StringView("show"), only.get(), [&](const QJsonObject &) { seen << u"show"_s; });
        only.reset();
        QVERIFY(!dispatcher.dispatch(QByteArrayView(R"({"type":"show"})")));
    }

    // A handler that destroys another registration's context, or registers a new handler for
    // the same type, does not disturb the event being dispatched.
    void handlersMayChangeRegistrationsWhileDispatching()
    {
        EventDispatcher dispatcher;
        QObject owner;
        auto victim = std::make_unique<QObject>();
        QStringList seen;
        dispatcher.on(QLatin1StringView("x"), &owner, [&](const QJsonObject &) {
            seen << u"first"_s;
            victim.reset();
            dispatcher.on(QLatin1StringView("x"), &owner, [&](const QJsonObject &) { seen << u"added"_s; });
        });
        dispatcher.on(QLatin1StringView("x"), victim.get(), [&](const QJsonObject &) { seen << u"victim"_s; });
        dispatcher.dispatch(QByteArrayView(R"({"type":"x"})"));
        QCOMPARE(seen, QStringList{u"first"_s});
        seen.clear();
        dispatcher.dispatch(QByteArrayView(R"({"type":"x"})"));
        QCOMPARE(seen.first(), u"first"_s);
        QVERIFY(seen.contains(u"added"_s));
        QVERIFY(!seen.contains(u"victim"_s));
    }

    void malformedEventsRunNothing_data()
    {
        QTest::addColumn<QByteArray>("event");
        QTest::addRow("not JSON") << QByteArray("{\"type\":");
        QTest::addRow("an array") << QByteArray(R"([{"type":"x"}])");
        QTest::addRow("no type") << QByteArray(R"({"kind":"x"})");
        QTest::addRow("type not a string") << QByteArray(R"({"type":7})");
        QTest::addRow("unknown type") << QByteArray(R"({"type":"y"})");
    }
    void malformedEventsRunNothing()
    {
        QFETCH(QByteArray, event);
        EventDispatcher dispatcher;
        QObject owner;
        int calls = 0;
        dispatcher.on(QLatin1StringView("x"), &owner, [&](const QJsonObject &) { ++calls; });
        QVERIFY(!dispatcher.dispatch(QByteArrayView(event)));
        QCOMPARE(calls, 0);
    }
};

QTEST_GUILESS_MAIN(DispatcherTest)
#include "tst_dispatcher.moc"
