#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "JsonFile.h"
#include "SafeOpen.h"

using namespace halvic;
using halvic::testing::writeFile;

class SafeOpenTest : public QObject
{
    Q_OBJECT
private slots:
    void safeToOpen_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("executable");
        QTest::addColumn<bool>("safe");
        QTest::addRow("pdf") << "report.pdf" << QByteArray("%PDF-1.4\n%\xe2\xe3\n") << false << true;
        QTest::addRow("text") << "notes.txt" << QByteArray("shopping list\n") << false << true;
        QTest::addRow("shell script") << "run.sh" << QByteArray("#!/bin/sh\necho hi\n") << false << false;
        QTest::addRow("script named as text") << "notes2.txt" << QByteArray("#!/bin/sh\necho hi\n") << false << false;
        QTest::addRow("python") << "tool.py" << QByteArray("import os\n") << false << false;
        QTest::addRow("executable text") << "plain" << QByteArray("hello\n") << true << false;
        QTest::addRow("desktop entry") << "app.desktop" << QByteArray("[Desktop Entry]\nType=Application\nExec=xterm\n")
                                       << false << false;
        QTest::addRow("desktop entry in capitals")
            << "APP.DESKTOP" << QByteArray("[Desktop Entry]\n") << false << false;
        QTest::addRow("elf") << "binary.dat"
                             << QByteArray("\x7f"
                                           "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0\x02\0",
                                    18)
                             << false << false;
    }
    void safeToOpen()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(bool, executable);
        QFETCH(bool, safe);
        QTemporaryDir dir;
        const QString path = writeFile(QDir(dir.path()), name, content, executable);
        QVERIFY(!path.isEmpty());
        QCOMPARE(safeToOpenExternally(path), safe);
    }

    void safeToOpenNeedsARegularFile()
    {
        QTemporaryDir dir;
        const QDir folder(dir.path());
        QVERIFY(!safeToOpenExternally(QString()));
        QVERIFY(!safeToOpenExternally(folder.filePath("missing.pdf")));
        QVERIFY(!safeToOpenExternally(dir.path()));
        const QString tool = writeFile(folder, "tool", "#!/bin/sh\n", true);
        QVERIFY(QFile::link(tool, folder.filePath("innocent.pdf")));
        QVERIFY(!safeToOpenExternally(folder.filePath("innocent.pdf")));
    }

    void linkSchemes_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<bool>("web");
        QTest::addColumn<bool>("webAndPhone");
        QTest::addRow("https") << "https://example.com/a?b=c" << true << true;
        QTest::addRow("http in capitals") << "HTTP://example.com" << true << true;
        QTest::addRow("mailto") << "mailto:ann@example.com" << true << true;
        QTest::addRow("tel") << "tel:+15551234" << false << true;
        QTest::addRow("file") << "file:///etc/passwd" << false << false;
        QTest::addRow("smb") << "smb://server/share" << false << false;
        QTest::addRow("custom scheme") << "steam://run/1" << false << false;
        QTest::addRow("javascript") << "javascript:alert(1)" << false << false;
        QTest::addRow("no scheme") << "example.com" << false << false;
        QTest::addRow("empty") << "" << false << false;
    }
    void linkSchemes()
    {
        QFETCH(QString, link);
        QFETCH(bool, web);
        QFETCH(bool, webAndPhone);
        const QUrl url(link);
        QCOMPARE(linkSchemeAllowed(url, linkschemes::web), web);
        QCOMPARE(linkSchemeAllowed(url, linkschemes::webAndPhone), webAndPhone);
    }
};

QTEST_GUILESS_MAIN(SafeOpenTest)
#include "tst_safeopen.moc"
