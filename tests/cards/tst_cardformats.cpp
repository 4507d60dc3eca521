// The formats several cards show: engine timestamps, file kinds and file sizes.

#include <QTest>

#include "CardFormats.h"

using namespace halvic;

class CardFormatsTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // A zone with an offset that is not whole hours, so a time shown in UTC would differ.
        qputenv("TZ", "Asia/Kolkata");
    }

    void prettyTime_data()
    {
        QTest::addColumn<QString>("timestamp");
        QTest::addColumn<QString>("shown");
        QTest::addRow("empty") << ""
                               << "";
        QTest::addRow("utc") << "2024-01-05T08:33:00Z"
                             << "Jan 5, 14:03";
        QTest::addRow("fractional seconds") << "2024-01-05T08:33:00.123Z"
                                            << "Jan 5, 14:03";
        QTest::addRow("offset") << "2024-03-10T23:50:00-05:00"
                                << "Mar 11, 10:20";
        QTest::addRow("no zone") << "2024-01-05T08:33:00"
                                 << "";
        QTest::addRow("date only") << "2024-01-05"
                                   << "";
        QTest::addRow("not a date") << "yesterday"
                                    << "";
        QTest::addRow("impossible day") << "2024-02-31T10:00:00Z"
                                        << "";
    }
    void prettyTime()
    {
        QFETCH(QString, timestamp);
        QFETCH(QString, shown);
        QCOMPARE(memPrettyTime(timestamp), shown);
    }

    void fileIcon_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("symbol");
        QTest::addRow("pdf") << "pdf"
                             << "doc.richtext";
        QTest::addRow("capitals") << "JPG"
                                  << "photo";
        QTest::addRow("markdown") << "md"
                                  << "doc.text";
        QTest::addRow("sheet") << "xlsx"
                               << "tablecells";
        QTest::addRow("word") << "docx"
                              << "doc.text.fill";
        QTest::addRow("slides") << "key"
                                << "rectangle.on.rectangle";
        QTest::addRow("audio") << "flac"
                               << "waveform";
        QTest::addRow("video") << "mkv"
                               << "film";
        QTest::addRow("archive") << "7z"
                                 << "doc.zipper";
        QTest::addRow("code") << "cpp"
                              << "chevron.left.forwardslash.chevron.right";
        QTest::addRow("empty") << ""
                               << "doc";
        QTest::addRow("unknown") << "xyz"
                                 << "doc";
        QTest::addRow("with a dot") << ".pdf"
                                    << "doc";
    }
    void fileIcon()
    {
        QFETCH(QString, type);
        QFETCH(QString, symbol);
        QCOMPARE(storageIcon(type), symbol);
    }

    void fileSize_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::addRow("negative") << qint64(-5) << "";
        QTest::addRow("zero") << qint64(0) << "";
        QTest::addRow("one byte") << qint64(1) << "1 B";
        QTest::addRow("1023") << qint64(1023) << "1023 B";
        QTest::addRow("1024") << qint64(1024) << "1 KB";
        QTest::addRow("1536 rounds up") << qint64(1536) << "2 KB";
        QTest::addRow("just below a MiB") << qint64(1048575) << "1024 KB";
        QTest::addRow("1 MiB") << qint64(1048576) << "1.0 MB";
        QTest::addRow("1.5 GiB") << qint64(1610612736) << "1.5 GB";
    }
    void fileSize()
    {
        QFETCH(qint64, bytes);
        QFETCH(QString, shown);
        QCOMPARE(storageSize(bytes), shown);
    }
};

QTEST_GUILESS_MAIN(CardFormatsTest)
#include "tst_cardformats.moc"
