#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "Paths.h"

using namespace halvic;

class PathsTest : public QObject
{
    Q_OBJECT
private slots:
    void rootRules_data()
    {
        // A tree: <tmp>/engine/main.py, and an executable five folders down in
        // <tmp>/engine/hud/Halvic.app/Contents/MacOS/halvic; a link to it from <tmp>/bin/hud;
        // a second executable in <tmp>/elsewhere/a/b/c/d/halvic with no main.py above.
        QTest::addColumn<bool>("variableSet");
        QTest::addColumn<QString>("variable");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("expected"); // relative to <tmp>; "~" prefix: home
        QTest::addRow("variable wins") << true << "/opt/x"
                                       << "engine/hud/Halvic.app/Contents/MacOS/halvic"
                                       << "=/opt/x";
        QTest::addRow("variable without main.py is still root") << true << "elsewhere"
                                                                << ""
                                                                << "elsewhere";
        QTest::addRow("empty variable is the working directory") << true << ""
                                                                 << ""
                                                                 << ".";
        QTest::addRow("relative variable") << true << "engine/../engine"
                                           << ""
                                           << "engine";
        QTest::addRow("bundle five levels below root") << false << ""
                                                       << "engine/hud/Halvic.app/Contents/MacOS/halvic"
                                                       << "engine";
        QTest::addRow("link into the bundle is resolved first") << false << ""
                                                                << "bin/hud"
                                                                << "engine";
        QTest::addRow("no main.py above falls back to home") << false << ""
                                                             << "elsewhere/a/b/c/d/halvic"
                                                             << "~";
        QTest::addRow("too shallow falls back to home") << false << ""
                                                        << "bin/tool"
                                                        << "~";
    }
    void rootRules()
    {
        QFETCH(bool, variableSet);
        QFETCH(QString, variable);
        QFETCH(QString, program);
        QFETCH(QString, expected);

        QTemporaryDir tmp;
        const QDir base(QFileInfo(tmp.path()).canonicalFilePath());
        base.mkpath(QStringLiteral("engine/hud/Halvic.app/Contents/MacOS"));
        base.mkpath(QStringLiteral("elsewhere/a/b/c/d"));
        base.mkpath(QStringLiteral("bin"));
        QFile(base.filePath(QStringLiteral("engine/main.py"))).open(QIODevice::WriteOnly);
        QFile(base.filePath(QStringLiteral("engine/hud/Halvic.app/Contents/MacOS/halvic"))).open(QIODevice::WriteOnly);
        QFile::link(base.filePath(QStringLiteral("engine/hud/Halvic.app/Contents/MacOS/halvic")),
            base.filePath(QStringLiteral("bin/hud")));

        Paths::RootInputs inputs;
        if (variableSet)
            inputs.voiceDirVariable = variable;
        inputs.programPath = program;
        inputs.currentDirectory = base.path();
        inputs.homeDirectory = QStringLiteral("/home/someone");

        QString want;
        if (expected == QLatin1StringView("~"))
            want = QStringLiteral("/home/someone/devFolder/Movrek/tarvel-voice");
        else if (expected.startsWith(QLatin1Char('=')))
            want = expected.mid(1);
        else
            want = QDir::cleanPath(base.filePath(expected));
        QCOMPARE(Paths::resolveRoot(inputs), want);
    }

    void engineOptionComesFirst_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<bool>("variableSet");
        QTest::addColumn<QString>("expected"); // relative to <tmp>
        QTest::addRow("over the variable") << "engine" << true << "engine";
        QTest::addRow("relative to the working folder") << "engine/../engine" << false << "engine";
        QTest::addRow("without main.py still the root") << "elsewhere" << false << "elsewhere";
        QTest::addRow("empty is the working folder") << "" << true << ".";
    }
    void engineOptionComesFirst()
    {
        QFETCH(QString, option);
        QFETCH(bool, variableSet);
        QFETCH(QString, expected);
        QTemporaryDir tmp;
        const QDir base(QFileInfo(tmp.path()).canonicalFilePath());
        base.mkpath(QStringLiteral("engine"));
        base.mkpath(QStringLiteral("elsewhere"));
        Paths::RootInputs inputs;
        inputs.engineOption = option;
        if (variableSet)
            inputs.voiceDirVariable = QStringLiteral("/opt/x");
        inputs.currentDirectory = base.path();
        inputs.homeDirectory = QStringLiteral("/home/someone");
        QCOMPARE(Paths::resolveRoot(inputs), QDir::cleanPath(base.filePath(expected)));
    }

    void derivedLocationsAndCachingFollowTheVariable()
    {
        // Set before the first use: the root is computed once for the process.
        QTemporaryDir tmp;
        const QString root = QFileInfo(tmp.path()).canonicalFilePath();
        qputenv("TARVEL_VOICE_DIR", root.toUtf8());
        QCOMPARE(Paths::root(), root);
        QCOMPARE(Paths::python(), root + QStringLiteral("/.venv/bin/python"));
        QCOMPARE(Paths::engine(), root + QStringLiteral("/main.py"));
        QCOMPARE(Paths::control(), root + QStringLiteral("/control"));
        qputenv("TARVEL_VOICE_DIR", "/somewhere/else");
        QCOMPARE(Paths::root(), root);
    }
};

QTEST_GUILESS_MAIN(PathsTest)
#include "tst_paths.moc"
