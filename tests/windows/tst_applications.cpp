// Finding applications by the engine's loose names: running applications by tier and
// score, desktop entries by alias, id and name, and the desktop-entry syntax.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "Applications.h"

using namespace halvic;
using apps::DesktopEntry;
using apps::RunningApp;

namespace {

RunningApp app(qint64 pid, const char *name, const char *appId, const char *wmClass = "", const char *instance = "")
{
    RunningApp a;
    a.pid = pid;
    a.name = QString::fromUtf8(name);
    a.appId = QString::fromUtf8(appId);
    a.wmClass = QString::fromUtf8(wmClass);
    a.wmInstance = QString::fromUtf8(instance);
    a.windows = {quint32(pid)};
    return a;
}

const QList<RunningApp> desktop{
    app(1, "XTerm", "debian-xterm", "XTerm", "xterm"),
    app(2, "Chromium", "chromium", "Chromium", "chromium"),
    app(3, "Visual Studio Code", "code", "Code", "code"),
    app(4, "Slack", "com.slack.Slack", "Slack", "slack"),
    app(5, "Terminal", "org.gnome.Terminal", "Gnome-terminal", "gnome-terminal-server"),
    app(6, "Files", "org.gnome.Nautilus", "Org.gnome.Nautilus", "org.gnome.Nautilus"),
    app(7, "Notes App Pro", "notesapp", "NotesApp", "notesapp"),
    app(8, "Code Editor", "codeeditor", "CodeEditor", "codeeditor"),
};

void writeFile(const QString &path, const QByteArray &contents)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(contents);
}

QByteArray entry(const char *name, const char *exec, const char *extra = "")
{
    return QByteArray("[Desktop Entry]\nType=Application\nName=") + name + "\nExec=" + exec + "\n" + extra;
}

} // namespace

class TestApplications : public QObject
{
    Q_OBJECT

private slots:
    void aliasTableKeepsItsSeventeenNames();
    void findRunning_data();
    void findRunning();
    void scores_data();
    void scores();
    void parseDesktopEntry_data();
    void parseDesktopEntry();
    void splitExec_data();
    void splitExec();
    void desktopEntriesInDataFolders();
    void entryForName_data();
    void entryForName();
};

void TestApplications::aliasTableKeepsItsSeventeenNames()
{
    QCOMPARE(apps::aliases().size(), std::size_t(17));
    for (const char *name : {"vscode", "vs code", "code", "teams", "chrome", "safari", "terminal", "iterm", "slack",
             "notes", "finder", "mail", "whatsapp", "spotify", "cursor", "arc", "notion"}) {
        const apps::Alias *alias = apps::aliasFor(QString::fromLatin1(name));
        QVERIFY2(alias, name);
        QVERIFY2(!alias->desktopIds.isEmpty() && !alias->programs.isEmpty(), name);
    }
    QCOMPARE(apps::aliasFor(QStringLiteral("vs code"))->bundleId, QLatin1StringView("com.microsoft.VSCode"));
    QVERIFY(!apps::aliasFor(QStringLiteral("Chrome")));
}

void TestApplications::findRunning_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("expectedPid");
    // Tier 1: the alias, by desktop id or program, before any name.
    QTest::addRow("alias chrome finds chromium by desktop id") << QStringLiteral("Chrome") << 2;
    QTest::addRow("alias code beats the app named Code Editor") << QStringLiteral("code") << 3;
    QTest::addRow("alias terminal: first in list order by program") << QStringLiteral("terminal") << 1;
    QTest::addRow("alias finder by desktop id") << QStringLiteral(" finder ") << 6;
    // Tier 2: a desktop id, compared without case.
    QTest::addRow("desktop id") << QStringLiteral("COM.SLACK.SLACK") << 4;
    // Tier 3: the name, or the window class.
    QTest::addRow("exact name, odd case and spaces") << QStringLiteral("  xterm ") << 1;
    QTest::addRow("window class") << QStringLiteral("gnome-terminal") << 5;
    // Tier 4: scores.
    QTest::addRow("name contains the query") << QStringLiteral("studio") << 3;
    QTest::addRow("query contains the name") << QStringLiteral("open slack please") << 4;
    QTest::addRow("id contains the query") << QStringLiteral("nautilus") << 6;
    QTest::addRow("tie goes to the earlier app") << QStringLiteral("co") << 3;
    QTest::addRow("nothing") << QStringLiteral("blender") << 0;
    QTest::addRow("empty query matches nothing") << QStringLiteral("  ") << 0;
    QTest::addRow("not installed bundle id") << QStringLiteral("org.example.NotInstalled") << 0;
}

void TestApplications::findRunning()
{
    QFETCH(QString, query);
    QFETCH(int, expectedPid);
    const std::optional<qsizetype> found = apps::findRunning(desktop, query);
    QCOMPARE(found ? int(desktop.at(*found).pid) : 0, expectedPid);
}

void TestApplications::scores_data()
{
    QTest::addColumn<RunningApp>("candidate");
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("score");
    QTest::addRow("name equals") << app(1, " Slack ", "x") << QStringLiteral("slack") << 100;
    QTest::addRow("name equals the alias display name")
        << app(1, "Google Chrome", "x") << QStringLiteral("chrome") << 100;
    QTest::addRow("name contains the alias display name")
        << app(1, "Google Chrome Beta", "x") << QStringLiteral("chrome") << 80;
    QTest::addRow("name contains the query") << app(1, "Slack Desktop", "x") << QStringLiteral("slack") << 80;
    QTest::addRow("name contains the query, not the display name")
        << app(1, "Chrome Remote", "x") << QStringLiteral("chrome") << 60;
    QTest::addRow("query contains the name") << app(1, "Gimp", "x") << QStringLiteral("gimp editor") << 70;
    QTest::addRow("query contains a short name") << app(1, "Go", "x") << QStringLiteral("go editor") << 0;
    QTest::addRow("id contains the query") << app(1, "Files", "org.gnome.nautilus") << QStringLiteral("nautilus") << 40;
    QTest::addRow("nothing in common") << app(1, "Files", "org.gnome.nautilus") << QStringLiteral("gimp") << 0;
}

void TestApplications::scores()
{
    QFETCH(RunningApp, candidate);
    QFETCH(QString, query);
    QFETCH(int, score);
    QCOMPARE(apps::matchScore(candidate, query, apps::aliasFor(query)), score);
}

void TestApplications::parseDesktopEntry_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("exec");
    QTest::addColumn<QString>("wmClass");
    QTest::addRow("plain") << entry("Clock", "xclock") << true << QStringLiteral("Clock") << QStringLiteral("xclock")
                           << QString();
    QTest::addRow("other groups and comments ignored")
        << QByteArray("# c\n[Desktop Entry]\nName=Clock\nType=Application\nExec=xclock\nStartupWMClass=XClock\n"
                      "[Desktop Action new]\nName=Other\nExec=other\n")
        << true << QStringLiteral("Clock") << QStringLiteral("xclock") << QStringLiteral("XClock");
    QTest::addRow("escapes in values") << entry("A\\sB", "prog --x=\\\\y") << true << QStringLiteral("A B")
                                       << QStringLiteral("prog --x=\\y") << QString();
    QTest::addRow("localized names ignored") << entry("Clock", "xclock", "Name[de]=Uhr\n") << true
                                             << QStringLiteral("Clock") << QStringLiteral("xclock") << QString();
    QTest::addRow("hidden") << entry("Clock", "xclock", "Hidden=true\n") << false << QString() << QString()
                            << QString();
    QTest::addRow("a link, not an application")
        << QByteArray("[Desktop Entry]\nType=Link\nName=Site\nURL=https://example.org\n") << false << QString()
        << QString() << QString();
    QTest::addRow("no program") << entry("Clock", "%U") << false << QString() << QString() << QString();
    QTest::addRow("TryExec that is not installed")
        << entry("Clock", "xclock", "TryExec=/nonexistent/halvic-no-such-program\n") << false << QString() << QString()
        << QString();
    QTest::addRow("keys outside the main group")
        << QByteArray("[Other]\nType=Application\nExec=x\n") << false << QString() << QString() << QString();
}

void TestApplications::parseDesktopEntry()
{
    QFETCH(QByteArray, contents);
    QFETCH(bool, valid);
    QFETCH(QString, name);
    QFETCH(QString, exec);
    QFETCH(QString, wmClass);
    const std::optional<DesktopEntry> parsed = apps::parseDesktopEntry(QStringLiteral("id"), contents);
    QCOMPARE(parsed.has_value(), valid);
    if (!parsed)
        return;
    QCOMPARE(parsed->name, name);
    QCOMPARE(parsed->exec, exec);
    QCOMPARE(parsed->startupWMClass, wmClass);
}

void TestApplications::splitExec_data()
{
    QTest::addColumn<QString>("exec");
    QTest::addColumn<QStringList>("words");
    QTest::addRow("words") << QStringLiteral("xclock -name  clock") << QStringList{"xclock", "-name", "clock"};
    QTest::addRow("field codes dropped") << QStringLiteral("code --new-window %F")
                                         << QStringList{"code", "--new-window"};
    QTest::addRow("field code inside a word") << QStringLiteral("app --file=%f") << QStringList{"app", "--file="};
    QTest::addRow("percent kept") << QStringLiteral("app 100%%") << QStringList{"app", "100%"};
    QTest::addRow("quoted with spaces") << QStringLiteral(R"("/opt/My App/run" --x)")
                                        << QStringList{"/opt/My App/run", "--x"};
    QTest::addRow("escapes inside quotes")
        << QStringLiteral(R"(sh -c "echo \"hi\" \$HOME")") << QStringList{"sh", "-c", R"(echo "hi" $HOME)"};
    QTest::addRow("empty quotes are a word") << QStringLiteral(R"(app "")") << QStringList{"app"};
    QTest::addRow("only a field code") << QStringLiteral("%u") << QStringList{};
}

void TestApplications::splitExec()
{
    QFETCH(QString, exec);
    QFETCH(QStringList, words);
    QCOMPARE(apps::splitExec(exec), words);
}

void TestApplications::desktopEntriesInDataFolders()
{
    QTemporaryDir home, system;
    writeFile(home.filePath(QStringLiteral("applications/clock.desktop")), entry("My Clock", "xclock -name mine"));
    writeFile(system.filePath(QStringLiteral("applications/clock.desktop")), entry("System Clock", "xclock"));
    writeFile(system.filePath(QStringLiteral("applications/kde/editor.desktop")),
        entry("Editor", "kate", "StartupWMClass=Kate\n"));
    writeFile(system.filePath(QStringLiteral("applications/debian-xterm.desktop")),
        entry("XTerm", "xterm", "StartupWMClass=XTerm\n"));
    writeFile(system.filePath(QStringLiteral("applications/broken.desktop")), "not an entry");

    const apps::DesktopEntries entries({home.path(), system.path(), QStringLiteral("/nonexistent")});
    // The first folder wins for a repeated id; sub-folders join the id with "-".
    QCOMPARE(entries.all().size(), 3);
    QCOMPARE(entries.byId(QStringLiteral("clock"))->name, QStringLiteral("My Clock"));
    QCOMPARE(entries.byId(QStringLiteral("kde-editor"))->exec, QStringLiteral("kate"));
    QVERIFY(!entries.byId(QStringLiteral("broken")));

    // A window's entry: by StartupWMClass, by id, by program.
    QCOMPARE(entries.forWindowClass(QStringLiteral("kate"), QStringLiteral("Kate"))->id, QStringLiteral("kde-editor"));
    QCOMPARE(entries.forWindowClass(QStringLiteral("clock"), QStringLiteral("Whatever"))->id, QStringLiteral("clock"));
    QCOMPARE(entries.forWindowClass(QStringLiteral("xclock"), QStringLiteral("XClock"))->id, QStringLiteral("clock"));
    QCOMPARE(
        entries.forWindowClass(QStringLiteral("xterm"), QStringLiteral("XTerm"))->id, QStringLiteral("debian-xterm"));
    QVERIFY(!entries.forWindowClass(QStringLiteral("gimp"), QStringLiteral("Gimp")));
}

void TestApplications::entryForName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expectedId");
    QTest::addRow("alias by desktop id") << QStringLiteral("Chrome") << QStringLiteral("chromium");
    QTest::addRow("alias display name in an entry's name")
        << QStringLiteral("spotify") << QStringLiteral("spotify-launcher");
    QTest::addRow("desktop id with dots") << QStringLiteral("org.example.Tool") << QStringLiteral("org.example.Tool");
    QTest::addRow("name contains") << QStringLiteral("clock") << QStringLiteral("halvic-clock");
    QTest::addRow("id contains") << QStringLiteral("halvic-cl") << QStringLiteral("halvic-clock");
    QTest::addRow("not installed") << QStringLiteral("org.example.NotInstalled") << QString();
    QTest::addRow("unknown") << QStringLiteral("blender") << QString();
    QTest::addRow("empty") << QString() << QString();
}

void TestApplications::entryForName()
{
    QFETCH(QString, name);
    QFETCH(QString, expectedId);
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("applications/chromium.desktop")), entry("Chromium", "chromium %U"));
    writeFile(dir.filePath(QStringLiteral("applications/halvic-clock.desktop")), entry("Halvic Test Clock", "xclock"));
    writeFile(dir.filePath(QStringLiteral("applications/org.example.Tool.desktop")), entry("Tool", "tool"));
    writeFile(dir.filePath(QStringLiteral("applications/spotify-launcher.desktop")),
        entry("Spotify (Launcher)", "spotify-launcher"));
    const apps::DesktopEntries entries({dir.path()});
    const std::optional<DesktopEntry> found = entries.forName(name);
    QCOMPARE(found ? found->id : QString(), expectedId);
}

QTEST_GUILESS_MAIN(TestApplications)
#include "tst_applications.moc"
