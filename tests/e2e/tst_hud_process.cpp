#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "EngineRoot.h"

using namespace halvic::testing;

namespace {

QString hudBinary()
{
    return qEnvironmentVariable("HALVIC_BINARY_DIR") + QStringLiteral("/src/app/halvic-hud");
}

/// The real HUD binary on the offscreen platform against a scripted engine.
struct RunningHud
{
    /// With `variableRoot`, TARVEL_VOICE_DIR names that folder and --engine the scripted one.
    explicit RunningHud(const char *engineName, bool withInterpreter = true, const QString &variableRoot = {})
        : root(scriptedEngine(engineName))
    {
        if (!withInterpreter)
            QFile::remove(root.python());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TARVEL_VOICE_DIR"), variableRoot.isEmpty() ? root.path() : variableRoot);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        hud.setProcessEnvironment(environment);
        hud.setProcessChannelMode(QProcess::SeparateChannels);
        hud.start(
            hudBinary(), variableRoot.isEmpty() ? QStringList{} : QStringList{QStringLiteral("--engine"), root.path()});
    }
    ~RunningHud()
    {
        if (hud.state() != QProcess::NotRunning) {
            hud.kill();
            hud.waitForFinished(5000);
        }
        for (const qint64 pid : pids())
            if (processAlive(pid))
                ::kill(pid_t(pid), SIGKILL);
    }
    QList<qint64> pids() const { return pidsIn(root.file(QStringLiteral("pids"))); }
    QByteArray terminations() const { return readAll(root.file(QStringLiteral("terminations"))); }

    EngineRoot root;
    QProcess hud;
};

} // namespace

class HudProcessTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (!QFile::exists(hudBinary()))
            QFAIL(qPrintable(QStringLiteral("HUD binary missing: ") + hudBinary()));
    }

    void engineOptionWinsOverTheVariableForOneRun()
    {
        QTemporaryDir elsewhere; // what TARVEL_VOICE_DIR names: no engine there
        RunningHud h("ready_then_sleeps", true, elsewhere.path());
        QTRY_COMPARE_WITH_TIMEOUT(h.pids().size(), 1, 10000);
        QVERIFY(processAlive(h.pids().front()));
        QVERIFY(!QFile::exists(QDir(elsewhere.path()).filePath(QStringLiteral("control"))));
    }

    void signalsStopTheEngineBeforeTheHudExits_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::addRow("SIGTERM") << SIGTERM;
        QTest::addRow("SIGINT") << SIGINT;
        QTest::addRow("SIGHUP") << SIGHUP;
    }
    void signalsStopTheEngineBeforeTheHudExits()
    {
        QFETCH(int, signalNumber);
        RunningHud run("records_termination");
        QTRY_COMPARE_WITH_TIMEOUT(run.pids().size(), 1, 15000);
        const qint64 engine = run.pids().first();
        QTRY_VERIFY(processAlive(engine));

        ::kill(pid_t(run.hud.processId()), signalNumber);
        QVERIFY(run.hud.waitForFinished(10000));
        QCOMPARE(run.hud.exitStatus(), QProcess::NormalExit);
        QCOMPARE(run.hud.exitCode(), 0);
        QVERIFY(!processAlive(engine));
        QCOMPARE(run.terminations(), QByteArray("hud_alive\n"));
    }

    void aKilledHudTakesItsEngineAlong()
    {
        RunningHud run("records_termination");
        QTRY_COMPARE_WITH_TIMEOUT(run.pids().size(), 1, 15000);
        const qint64 engine = run.pids().first();
        run.hud.kill(); // SIGKILL: no chance to stop the engine itself
        QVERIFY(run.hud.waitForFinished(5000));
        QTRY_VERIFY(!processAlive(engine));
        // It was asked to terminate (by the kernel), not killed outright.
        QTRY_VERIFY(!run.terminations().isEmpty());
    }

    void anEngineRefusingToStopDoesNotOutliveTheHud()
    {
        RunningHud run("refuses_sigterm");
        QTRY_COMPARE_WITH_TIMEOUT(run.pids().size(), 1, 15000);
        const qint64 engine = run.pids().first();
        QTRY_VERIFY(processAlive(engine));
        ::kill(pid_t(run.hud.processId()), SIGTERM);
        QVERIFY(run.hud.waitForFinished(15000));
        QCOMPARE(run.hud.exitCode(), 0);
        QTRY_VERIFY(!processAlive(engine));
        QVERIFY(!run.hud.readAllStandardError().contains("Destroyed while process"));
    }

    void restartMarkerCyclesTheEngineOfTheRunningHud()
    {
        RunningHud run("records_termination");
        QTRY_COMPARE_WITH_TIMEOUT(run.pids().size(), 1, 15000);
        QFile marker(run.root.controlFile(QStringLiteral("hud_restart")));
        QVERIFY(marker.open(QIODevice::WriteOnly));
        marker.close();
        QTRY_COMPARE_WITH_TIMEOUT(run.pids().size(), 2, 10000);
        QVERIFY(!QFile::exists(run.root.controlFile(QStringLiteral("hud_restart"))));
        QTRY_VERIFY(!processAlive(run.pids().first()));
        QVERIFY(processAlive(run.pids().last()));
        QCOMPARE(run.hud.readAllStandardOutput(),
            QByteArray("TarvelHUD: hud_restart detected \xE2\x80\x94 cycling engine\n"));

        ::kill(pid_t(run.hud.processId()), SIGTERM);
        QVERIFY(run.hud.waitForFinished(10000));
        QVERIFY(!processAlive(run.pids().last()));
    }

    void aMissingEngineLeavesTheHudRunning()
    {
        RunningHud run("records_termination", false);
        QVERIFY(run.hud.waitForStarted(10000));
        QTest::qWait(1500);
        QCOMPARE(run.hud.state(), QProcess::Running);
        ::kill(pid_t(run.hud.processId()), SIGTERM);
        QVERIFY(run.hud.waitForFinished(10000));
        QCOMPARE(run.hud.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(HudProcessTest)
#include "tst_hud_process.moc"
