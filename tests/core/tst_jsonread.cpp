#include <QJsonDocument>
#include <QTest>

#include "JsonRead.h"

using namespace halvic;

class JsonReadTest : public QObject
{
    Q_OBJECT
private slots:
    void integerMembers_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<int>("expected");
        QTest::addRow("whole") << QByteArray(R"({"v": 3})") << 3;
        QTest::addRow("whole as float") << QByteArray(R"({"v": 3.0})") << 3;
        QTest::addRow("negative") << QByteArray(R"({"v": -2})") << -2;
        QTest::addRow("fraction") << QByteArray(R"({"v": 2.5})") << -1;
        QTest::addRow("too large") << QByteArray(R"({"v": 1e30})") << -1;
        QTest::addRow("string") << QByteArray(R"({"v": "3"})") << -1;
        QTest::addRow("bool") << QByteArray(R"({"v": true})") << -1;
        QTest::addRow("null") << QByteArray(R"({"v": null})") << -1;
        QTest::addRow("absent") << QByteArray(R"({})") << -1;
    }
    void integerMembers()
    {
        QFETCH(QByteArray, json);
        QFETCH(int, expected);
        QCOMPARE(json::integer(QJsonDocument::fromJson(json).object(), QLatin1StringView("v"), -1), expected);
    }

    void countMembers_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<qint64>("expected");
        QTest::addRow("whole") << QByteArray(R"({"v": 1234})") << qint64(1234);
        QTest::addRow("fraction truncated") << QByteArray(R"({"v": 1234.9})") << qint64(1234);
        QTest::addRow("negative fraction toward zero") << QByteArray(R"({"v": -2.7})") << qint64(-2);
        QTest::addRow("beyond 32 bits") << QByteArray(R"({"v": 8589934592})") << qint64(8589934592);
        QTest::addRow("largest 64-bit") << QByteArray(R"({"v": 9223372036854775807})")
                                        << std::numeric_limits<qint64>::max();
        QTest::addRow("beyond 64 bits") << QByteArray(R"({"v": 1e30})") << qint64(-1);
        QTest::addRow("string") << QByteArray(R"({"v": "12"})") << qint64(-1);
        QTest::addRow("absent") << QByteArray(R"({})") << qint64(-1);
    }
    void countMembers()
    {
        QFETCH(QByteArray, json);
        QFETCH(qint64, expected);
        const QJsonObject object = QJsonDocument::fromJson(json).object();
        QCOMPARE(json::optTruncatedInt64(object, QLatin1StringView("v")).value_or(-1), expected);
    }

    void typedMembersFallBack_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("string");
        QTest::addColumn<bool>("boolean");
        QTest::addColumn<bool>("hasNumber");
        QTest::addRow("all right") << QByteArray(R"({"s":"x","b":true,"n":1.5})") << "x" << true << true;
        QTest::addRow("swapped types") << QByteArray(R"({"s":1,"b":"true","n":"1"})") << "dflt" << false << false;
        QTest::addRow("containers") << QByteArray(R"({"s":[],"b":{},"n":[1]})") << "dflt" << false << false;
        QTest::addRow("empty string kept") << QByteArray(R"({"s":"","b":false,"n":0})") << "" << false << true;
    }
    void typedMembersFallBack()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, string);
        QFETCH(bool, boolean);
        QFETCH(bool, hasNumber);
        const QJsonObject object = QJsonDocument::fromJson(json).object();
        QCOMPARE(json::string(object, QLatin1StringView("s"), QStringLiteral("dflt")), string);
        QCOMPARE(json::boolean(object, QLatin1StringView("b"), false), boolean);
        QCOMPARE(json::optNumber(object, QLatin1StringView("n")).has_value(), hasNumber);
    }

    void listsKeepOnlyElementsOfTheirType()
    {
        const QJsonObject object
            = QJsonDocument::fromJson(R"({"a":["x",1,null,"y",{}],"o":[{"k":1},"z",[],{"k":2}],"bad":"x"})").object();
        QCOMPARE(
            json::stringList(object, QLatin1StringView("a")), (QStringList{QStringLiteral("x"), QStringLiteral("y")}));
        QCOMPARE(json::objectList(object, QLatin1StringView("o")).size(), 2);
        QVERIFY(json::stringList(object, QLatin1StringView("bad")).isEmpty());
        QVERIFY(json::objectList(object, QLatin1StringView("missing")).isEmpty());
    }
};

QTEST_GUILESS_MAIN(JsonReadTest)
#include "tst_jsonread.moc"
