#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <thread>

#include "ControlChannel.h"
#include "EngineRoot.h"
#include "HudRequests.h"
#include "JsonFile.h"

using namespace halvic;
using halvic::testing::readAll;

namespace {

using halvic::testing::readJson;

} // namespace

class ControlTest : public QObject
{
    Q_OBJECT
private slots:
    void writerCreatesTheFolderWithParents()
    {
        QTemporaryDir tmp;
        const ControlChannel channel(tmp.filePath(QStringLiteral("a/b/control")));
        QVERIFY(channel.writeJSON(QLatin1StringView("x.json"), {{QStringLiteral("k"), 1}}));
        QCOMPARE(readAll(channel.filePath(QLatin1StringView("x.json"))), QByteArray(R"({"k":1})"));
    }

    void aNewerRequestReplacesTheFileWhole()
    {
        QTemporaryDir tmp;
        const ControlChannel channel(tmp.path());
        channel.writeJSON(QLatin1StringView("r.json"), {{QStringLiteral("text"), QString(5000, QLatin1Char('x'))}});
        channel.writeJSON(QLatin1StringView("r.json"), {{QStringLiteral("text"), QStringLiteral("short")}});
        QCOMPARE(readAll(channel.filePath(QLatin1StringView("r.json"))), QByteArray(R"({"text":"short"})"));
        QCOMPARE(QDir(tmp.path()).entryList(QDir::Files), QStringList{QStringLiteral("r.json")});
    }

    void failuresAreSilentAndLeaveFilesAlone_data()
    {
        QTest::addColumn<QString>("folder"); // relative to a temp dir holding a regular file "plain"
        QTest::addColumn<QString>("name");
        QTest::addRow("folder under a regular file") << "plain/control"
                                                     << "ok.json";
        QTest::addRow("name with a slash") << "control"
                                           << "../escape.json";
        QTest::addRow("dot-dot") << "control"
                                 << "..";
        QTest::addRow("empty name") << "control"
                                    << "";
        QTest::addRow("target is a folder") << "control"
                                            << "busy";
    }
    void failuresAreSilentAndLeaveFilesAlone()
    {
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QTemporaryDir tmp;
        QFile plain(tmp.filePath(QStringLiteral("plain")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.write("keep");
        plain.close();
        QDir(tmp.path()).mkpath(QStringLiteral("control/busy"));
        const ControlChannel channel(tmp.filePath(folder));
        const QByteArray latin = name.toLatin1();
        QVERIFY(!channel.writeJSON(QLatin1StringView(latin), {{QStringLiteral("k"), true}}));
        QVERIFY(!channel.touch(QLatin1StringView(latin)));
        QCOMPARE(readAll(tmp.filePath(QStringLiteral("plain"))), QByteArray("keep"));
        QVERIFY(!QFile::exists(tmp.filePath(QStringLiteral("escape.json"))));
        QVERIFY(QFileInfo(tmp.filePath(QStringLiteral("control/busy"))).isDir());
    }

    void aLinkInTheFolderIsReplacedNotWrittenThrough_data()
    {
        QTest::addColumn<bool>("marker");
        QTest::addRow("json file") << false;
        QTest::addRow("marker file") << true;
    }
    void aLinkInTheFolderIsReplacedNotWrittenThrough()
    {
        // Control files stay inside the control folder, whatever was put there under their name.
        QFETCH(bool, marker);
        QTemporaryDir tmp;
        const QString victim = tmp.filePath(QStringLiteral("victim"));
        QFile file(victim);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("keep");
        file.close();
        const ControlChannel channel(tmp.filePath(QStringLiteral("control")));
        QVERIFY(channel.ensureFolder());
        const QLatin1StringView name = marker ? QLatin1StringView("mute") : QLatin1StringView("config.json");
        QVERIFY(QFile::link(victim, channel.filePath(name)));
        QVERIFY(marker ? channel.touch(name) : channel.writeJSON(name, {{QStringLiteral("wake_word"), true}}));
        QCOMPARE(readAll(victim), QByteArray("keep"));
        QVERIFY(!QFileInfo(channel.filePath(name)).isSymLink());
        QCOMPARE(readAll(channel.filePath(name)), marker ? QByteArray() : QByteArray(R"({"wake_word":true})"));
    }

    void readersNeverSeeHalfAFile()
    {
        QTemporaryDir tmp;
        const ControlChannel channel(tmp.path());
        const QString path = channel.filePath(QLatin1StringView("big.json"));
        std::atomic<bool> done{false};
        std::atomic<int> reads{0};
        std::atomic<int> broken{0};
        std::thread reader([&] {
            while (!done) {
                const QByteArray bytes = readAll(path);
                if (bytes.isEmpty())
                    continue;
                ++reads;
                if (!QJsonDocument::fromJson(bytes).isObject())
                    ++broken;
            }
        });
        for (int i = 0; i < 200; ++i)
            channel.writeJSON(QLatin1StringView("big.json"),
                {{QStringLiteral("text"), QString(200000 + i, QLatin1Char('a' + i % 26))}});
        done = true;
        reader.join();
        QVERIFY(reads > 0);
        QCOMPARE(broken.load(), 0);
    }

    void hudRequestFiles()
    {
        QTemporaryDir tmp;
        const QString folder = tmp.filePath(QStringLiteral("control"));
        const HudRequests requests{ControlChannel(folder)};
        auto file = [&](const char *name) { return QDir(folder).filePath(QString::fromLatin1(name)); };

        requests.sendText(QStringLiteral("first"), {}, false);
        requests.sendText(QStringLiteral("hello <b> & \"you\""), {}, false);
        QJsonObject text = readJson(file("text_input.json"));
        QCOMPARE(text.value(QStringLiteral("text")).toString(), QStringLiteral("hello <b> & \"you\""));
        QVERIFY(text.value(QStringLiteral("attachments")).isArray());
        QVERIFY(text.value(QStringLiteral("attachments")).toArray().isEmpty());
        QCOMPARE(text.value(QStringLiteral("want_voice")), QJsonValue(false));
        QCOMPARE(text.size(), 3);

        requests.sendText(QStringLiteral("see"),
            {QUrl::fromLocalFile(QStringLiteral("/tmp/a b.png")), QUrl::fromLocalFile(QStringLiteral("/tmp/c.pdf"))},
            true);
        text = readJson(file("text_input.json"));
        QCOMPARE(text.value(QStringLiteral("attachments")).toArray(),
            (QJsonArray{QStringLiteral("/tmp/a b.png"), QStringLiteral("/tmp/c.pdf")}));
        QCOMPARE(text.value(QStringLiteral("want_voice")), QJsonValue(true));

        requests.setWakeWord(true);
        QCOMPARE(readJson(file("config.json")), (QJsonObject{{QStringLiteral("wake_word"), true}}));

        requests.setGestures(true);
        QCOMPARE(readJson(file("gestures.json")), (QJsonObject{{QStringLiteral("on"), true}}));

        requests.killAgent(QStringLiteral("t-7"));
        QCOMPARE(readJson(file("agent_action.json")),
            (QJsonObject{
                {QStringLiteral("action"), QStringLiteral("kill")}, {QStringLiteral("id"), QStringLiteral("t-7")}}));

        requests.toggleMute();
        requests.toggleMute();
        QVERIFY(QFile::exists(file("mute")));
        QCOMPARE(QFileInfo(file("mute")).size(), 0);
    }
};

QTEST_GUILESS_MAIN(ControlTest)
#include "tst_control.moc"
