#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "Autostart.h"

using namespace halvic;
using namespace Qt::Literals::StringLiterals;

class AutostartTest : public QObject
{
    Q_OBJECT
private slots:
    void entryPath_data()
    {
        QTest::addColumn<QString>("configHome");
        QTest::addColumn<QString>("expected");
        QTest::addRow("XDG_CONFIG_HOME") << "/tmp/cfg"
                                         << "/tmp/cfg/autostart/halvic-hud.desktop";
        QTest::addRow("unset: ~/.config") << ""
                                          << "/home/ann/.config/autostart/halvic-hud.desktop";
        QTest::addRow("relative is ignored") << "cfg"
                                             << "/home/ann/.config/autostart/halvic-hud.desktop";
    }
    void entryPath()
    {
        QFETCH(QString, configHome);
        QFETCH(QString, expected);
        const auto variable
            = [&](const char *name) { return QByteArrayView(name) == "XDG_CONFIG_HOME" ? configHome : QString(); };
        QCOMPARE(Autostart::entryPathFor(variable, u"/home/ann"_s), expected);
    }

    void execLine_data()
    {
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<QString>("expected");
        QTest::addRow("plain") << QStringList{u"/usr/bin/halvic-hud"_s} << u"/usr/bin/halvic-hud"_s;
        QTest::addRow("spaces are quoted") << QStringList{u"/opt/my apps/halvic-hud"_s, u"--engine"_s, u"/srv/eng"_s}
                                           << u"\"/opt/my apps/halvic-hud\" --engine /srv/eng"_s;
        // Inside quotes \" ` $ \ take a backslash; then every backslash of the value is doubled.
        QTest::addRow("reserved characters")
            << QStringList{u"/x/a\"b$c`d\\e"_s} << u"\"/x/a\\\\\"b\\\\$c\\\\`d\\\\\\\\e\""_s;
        QTest::addRow("a percent sign is not a field code") << QStringList{u"/x/100%"_s} << u"/x/100%%"_s;
    }
    void execLine()
    {
        QFETCH(QStringList, command);
        QTEST(Autostart::execLine(command), "expected");
    }

    void onAndOffInATemporaryConfigFolder()
    {
        QTemporaryDir config;
        const QString path = QDir(config.path()).filePath(u"autostart/halvic-hud.desktop"_s);
        const Autostart autostart(path, {u"/usr/bin/halvic-hud"_s});
        QVERIFY(!autostart.isEnabled());

        QVERIFY(autostart.setEnabled(true)); // the autostart folder is made as needed
        QVERIFY(autostart.isEnabled());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray entry = file.readAll();
        QVERIFY(entry.startsWith("[Desktop Entry]\n"));
        QVERIFY(entry.contains("\nType=Application\n"));
        QVERIFY(entry.contains("\nExec=/usr/bin/halvic-hud\n"));

        // The state is the file's: another instance (a reinstalled HUD) sees it on.
        QVERIFY(Autostart(path, {u"/elsewhere/halvic-hud"_s}).isEnabled());

        QVERIFY(autostart.setEnabled(false));
        QVERIFY(!QFile::exists(path));
        QVERIFY(!autostart.isEnabled());
        QVERIFY(autostart.setEnabled(false)); // already off
    }

    void anEntrySwitchedOffElsewhereReadsOff_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("enabled");
        QTest::addRow("ours") << QByteArray("[Desktop Entry]\nType=Application\nExec=x\n") << true;
        QTest::addRow("hidden") << QByteArray("[Desktop Entry]\nExec=x\nHidden=true\n") << false;
        QTest::addRow("GNOME switch off")
            << QByteArray("[Desktop Entry]\nX-GNOME-Autostart-enabled = false\n") << false;
        QTest::addRow("hidden in another group does not count")
            << QByteArray("[Desktop Entry]\nExec=x\n[Desktop Action a]\nHidden=true\n") << true;
    }
    void anEntrySwitchedOffElsewhereReadsOff()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, enabled);
        QTemporaryDir config;
        const QString path = config.filePath(u"halvic-hud.desktop"_s);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        const Autostart autostart(path, {u"/usr/bin/halvic-hud"_s});
        QCOMPARE(autostart.isEnabled(), enabled);
        if (!enabled) {
            // Switching it on writes our own entry over it.
            QVERIFY(autostart.setEnabled(true));
            QVERIFY(autostart.isEnabled());
        }
    }

    void anUnwritableFolderReportsFailure()
    {
        QTemporaryDir config;
        QFile blocker(config.filePath(u"autostart"_s)); // a file where the folder should be
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const Autostart autostart(config.filePath(u"autostart/halvic-hud.desktop"_s), {u"/usr/bin/halvic-hud"_s});
        QVERIFY(!autostart.setEnabled(true));
        QVERIFY(!autostart.isEnabled());
    }
};

QTEST_APPLESS_MAIN(AutostartTest)
#include "tst_autostart.moc"
