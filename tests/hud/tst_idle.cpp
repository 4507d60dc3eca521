#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include "AppModel.h"
#include "FifoWriter.h"
#include "HudConfig.h"
#include "IdleDimmer.h"
#include "Scheduler.h"

using namespace halvic;
using namespace std::chrono_literals;

namespace {
void writeConfig(const QString &folder, const QByteArray &text)
{
    QFile file(QDir(folder).filePath(hudconfig::fileName));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}
} // namespace

Q_DECLARE_METATYPE(halvic::DimConditions)

class IdleTest : public QObject
{
    Q_OBJECT
private slots:
    void parseIdleOpacity_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<double>("expected"); // negative: no value
        QTest::addRow("percent") << QByteArray(R"({"idle_opacity": 35})") << 0.35;
        QTest::addRow("too faint") << QByteArray(R"({"idle_opacity": 0.05})") << 0.1;
        QTest::addRow("string") << QByteArray(R"({"idle_opacity": "0.6"})") << 0.6;
        QTest::addRow("string percent") << QByteArray(R"({"idle_opacity": " 80 "})") << 0.8;
        QTest::addRow("one is opaque") << QByteArray(R"({"idle_opacity": 1})") << 1.0;
        QTest::addRow("over a hundred percent") << QByteArray(R"({"idle_opacity": 250})") << 1.0;
        QTest::addRow("negative") << QByteArray(R"({"idle_opacity": -3})") << 0.1;
        QTest::addRow("other keys ignored") << QByteArray(R"({"x": 1, "idle_opacity": 0.5})") << 0.5;
        QTest::addRow("not a number string") << QByteArray(R"({"idle_opacity": "dim"})") << -1.0;
        QTest::addRow("boolean") << QByteArray(R"({"idle_opacity": true})") << -1.0;
        QTest::addRow("null") << QByteArray(R"({"idle_opacity": null})") << -1.0;
        QTest::addRow("missing") << QByteArray(R"({"opacity": 0.5})") << -1.0;
        QTest::addRow("array top level") << QByteArray(R"([0.5])") << -1.0;
        QTest::addRow("not json") << QByteArray("idle_opacity=0.5") << -1.0;
        QTest::addRow("empty") << QByteArray() << -1.0;
        QTest::addRow("nan string") << QByteArray(R"({"idle_opacity": "nan"})") << -1.0;
    }
    void parseIdleOpacity()
    {
        QFETCH(QByteArray, json);
        QFETCH(double, expected);
        const std::optional<double> value = hudconfig::parseIdleOpacity(json);
        if (expected < 0) {
            QVERIFY(!value);
            return;
        }
        QVERIFY(value);
        QCOMPARE(*value, expected);
    }

    void configThatIsNoRegularFileIsNotRead()
    {
        // Opening a pipe for reading waits for a writer: the HUD must not even try.
        QTemporaryDir control;
        const FifoWriter pipe(QDir(control.path()).filePath(hudconfig::fileName), R"({"idle_opacity": 0.5})");
        QVERIFY(pipe.created());
        QVERIFY(!hudconfig::readIdleOpacity(control.path()));
        QVERIFY(!pipe.readerCame());

        QTemporaryDir folderInstead;
        QVERIFY(QDir(folderInstead.path()).mkdir(hudconfig::fileName));
        QVERIFY(!hudconfig::readIdleOpacity(folderInstead.path()));
    }

    void mayDim_data()
    {
        QTest::addColumn<DimConditions>("conditions");
        QTest::addColumn<bool>("dims");
        const DimConditions idle{.visible = true, .state = EngineState::Listening};
        QTest::addRow("idle and listening") << idle << true;
        QTest::addRow("off") << DimConditions{.visible = true, .state = EngineState::Off} << true;
        QTest::addRow("hidden") << DimConditions{.state = EngineState::Listening} << false;
        for (const char *busy : {"booting", "thinking", "speaking", "restarting"})
            QTest::addRow("%s", busy) << DimConditions{.visible = true,
                .state = engine::fromWireName(QString::fromLatin1(busy))}
                                      << false;
        DimConditions docked = idle;
        docked.docked = true;
        QTest::addRow("docked") << docked << false;
        DimConditions recording = idle;
        recording.recording = true;
        QTest::addRow("recording") << recording << false;
        DimConditions enrolling = idle;
        enrolling.enrolling = true;
        QTest::addRow("enrolling") << enrolling << false;
    }
    void mayDim()
    {
        QFETCH(DimConditions, conditions);
        QFETCH(bool, dims);
        QCOMPARE(halvic::mayDim(conditions), dims);
    }

    void dimsAfterTenQuietSecondsToTheConfiguredLevel()
    {
        QTemporaryDir control;
        writeConfig(control.path(), R"({"idle_opacity": 50})");
        Fixture f(control.path());
        f.dimmer.start();
        f.scheduler.advance(IdleDimmer::idleAfter - 1ms);
        QVERIFY(!f.dimmer.isDimmed());
        f.scheduler.advance(1ms);
        QVERIFY(f.dimmer.isDimmed());
        QCOMPARE(f.dimmer.targetOpacity(), 0.5);
    }

    void busyStateKeepsItBrightUntilTenSecondsAfterIt()
    {
        QTemporaryDir control;
        Fixture f(control.path());
        f.model.setState(EngineState::Thinking);
        f.dimmer.start();
        f.scheduler.advance(60s);
        QVERIFY(!f.dimmer.isDimmed());
        f.model.setState(EngineState::Listening);
        f.scheduler.advance(IdleDimmer::idleAfter);
        QVERIFY(!f.dimmer.isDimmed()); // the model change itself counted as activity
        f.scheduler.advance(IdleDimmer::modelThrottle + 1ms);
        QVERIFY(f.dimmer.isDimmed());
        QCOMPARE(f.dimmer.targetOpacity(), hudconfig::defaultIdleOpacity);
    }

    void activityBrightensAndRestartsTheWait()
    {
        QTemporaryDir control;
        Fixture f(control.path());
        f.dimmer.start();
        f.scheduler.advance(IdleDimmer::idleAfter);
        QVERIFY(f.dimmer.isDimmed());
        f.dimmer.activity();
        QVERIFY(!f.dimmer.isDimmed());
        QCOMPARE(f.dimmer.targetOpacity(), 1.0);
        f.scheduler.advance(IdleDimmer::idleAfter - 1ms);
        QVERIFY(!f.dimmer.isDimmed());
        f.scheduler.advance(1ms);
        QVERIFY(f.dimmer.isDimmed());
    }

    void modelChangesAreThrottled()
    {
        QTemporaryDir control;
        Fixture f(control.path());
        f.dimmer.start();
        f.scheduler.advance(IdleDimmer::idleAfter);
        QVERIFY(f.dimmer.isDimmed());
        f.model.setDraft(QStringLiteral("a"));
        f.model.setDraft(QStringLiteral("ab"));
        QVERIFY(f.dimmer.isDimmed());
        f.scheduler.advance(IdleDimmer::modelThrottle);
        QVERIFY(!f.dimmer.isDimmed());
    }

    void rewrittenConfigAppliesToADimmedHud()
    {
        QTemporaryDir control;
        writeConfig(control.path(), R"({"idle_opacity": 0.4})");
        Fixture f(control.path());
        f.dimmer.start();
        f.scheduler.advance(IdleDimmer::idleAfter);
        QCOMPARE(f.dimmer.targetOpacity(), 0.4);
        writeConfig(control.path(), R"({"idle_opacity": "70"})");
        f.dimmer.reloadConfig();
        QCOMPARE(f.dimmer.idleOpacity(), 0.7);
        QCOMPARE(f.dimmer.targetOpacity(), 0.7);
        // A broken rewrite keeps the level.
        writeConfig(control.path(), "{");
        f.dimmer.reloadConfig();
        QCOMPARE(f.dimmer.idleOpacity(), 0.7);
    }

    // The engine may rewrite the file in place or replace it by a rename; either is applied
    // at once, and the watch survives a rename.
    void everyRewriteOfTheConfigIsSeen()
    {
        QTemporaryDir control;
        writeConfig(control.path(), R"({"idle_opacity": 0.4})");
        Fixture f(control.path());
        f.dimmer.start();
        QCOMPARE(f.dimmer.idleOpacity(), 0.4);
        writeConfig(control.path(), R"({"idle_opacity": 80})"); // in place
        QTRY_COMPARE(f.dimmer.idleOpacity(), 0.8);
        QSaveFile replaced(QDir(control.path()).filePath(hudconfig::fileName)); // by rename
        QVERIFY(replaced.open(QIODevice::WriteOnly));
        replaced.write(R"({"idle_opacity": 0.3})");
        QVERIFY(replaced.commit());
        QTRY_COMPARE(f.dimmer.idleOpacity(), 0.3);
        writeConfig(control.path(), R"({"idle_opacity": 0.6})"); // in place again
        QTRY_COMPARE(f.dimmer.idleOpacity(), 0.6);
    }

    void dockedStripShowsUndimmed()
    {
        QTemporaryDir control;
        Fixture f(control.path());
        f.dimmer.start();
        f.scheduler.advance(IdleDimmer::idleAfter);
        QVERIFY(f.dimmer.isDimmed());
        f.dimmer.showUndimmed();
        QVERIFY(!f.dimmer.isDimmed());
        QCOMPARE(f.window.opacity(), 1.0);
        f.model.setDocked(true);
        f.scheduler.advance(IdleDimmer::idleAfter * 5);
        QVERIFY(!f.dimmer.isDimmed());
    }

private:
    struct Fixture
    {
        explicit Fixture(const QString &control)
            : model(scheduler)
            , dimmer(window, model, scheduler, control)
        {
            window.resize(100, 100);
            window.show();
            model.setState(EngineState::Listening);
        }
        ManualScheduler scheduler;
        QWindow window;
        AppModel model;
        IdleDimmer dimmer;
    };
};

QTEST_MAIN(IdleTest)
#include "tst_idle.moc"
