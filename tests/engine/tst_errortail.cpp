#include <QTest>

#include "ErrorTail.h"

using namespace halvic;
using namespace Qt::Literals::StringLiterals;

class ErrorTailTest : public QObject
{
    Q_OBJECT
private slots:
    void keepsTheLastLines_data()
    {
        QTest::addColumn<QList<QByteArray>>("chunks");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("nothing") << QList<QByteArray>{} << QStringList{};
        QTest::newRow("lines split across chunks")
            << QList<QByteArray>{"fir", "st\nsec", "ond\n"} << QStringList{u"first"_s, u"second"_s};
        QTest::newRow("unfinished last line counts")
            << QList<QByteArray>{"one\ntwo"} << QStringList{u"one"_s, u"two"_s};
        QTest::newRow("blank lines and carriage returns dropped")
            << QList<QByteArray>{"a\r\n\n   \r\nb\r"} << QStringList{u"a"_s, u"b"_s};
        QByteArray many;
        for (int i = 0; i < 25; ++i)
            many += "line " + QByteArray::number(i) + '\n';
        QStringList last20;
        for (int i = 5; i < 25; ++i)
            last20 << QStringLiteral("line %1").arg(i);
        QTest::newRow("at most twenty lines") << QList<QByteArray>{many} << last20;
        // Ten lines of 1000 bytes: only four fit in 4 KiB.
        const QByteArray wide(999, 'w');
        QByteArray wideLines;
        for (int i = 0; i < 10; ++i)
            wideLines += QByteArray::number(i) + wide + '\n';
        QStringList lastFour;
        for (int i = 6; i < 10; ++i)
            lastFour << QString::number(i) + QString::fromLatin1(wide);
        QTest::newRow("at most 4 KiB") << QList<QByteArray>{wideLines} << lastFour;
        QTest::newRow("an overlong line keeps its end") << QList<QByteArray>{
            "x" + QByteArray(5000, 'y') + "END\n"} << QStringList{QString(ErrorTail::maxBytes - 3, u'y') + u"END"_s};
        // "é" is two bytes; a cut through it leaves no broken character.
        QTest::newRow("a cut keeps whole characters")
            << QList<QByteArray>{QByteArray("\xc3\xa9").repeated(3000) + "x"}
            << QStringList{QString(ErrorTail::maxBytes / 2 - 1, QChar(0xe9)) + u"x"_s};
    }

    void keepsTheLastLines()
    {
        QFETCH(QList<QByteArray>, chunks);
        QFETCH(QStringList, expected);
        ErrorTail tail;
        for (const QByteArray &chunk : chunks)
            tail.feed(chunk);
        QCOMPARE(tail.lines(), expected);
    }

    void memoryStaysBoundedWhateverTheEngineWrites()
    {
        ErrorTail tail;
        const QByteArray noLineFeed(64 * 1024, 'z');
        const QByteArray shortLines = QByteArray("ab\n").repeated(10000);
        for (int i = 0; i < 200; ++i) {
            tail.feed(noLineFeed);
            QVERIFY(tail.heldBytes() <= 2 * ErrorTail::maxBytes);
            tail.feed(shortLines);
            QVERIFY(tail.heldBytes() <= 2 * ErrorTail::maxBytes);
        }
        QCOMPARE(tail.lines().size(), qsizetype(ErrorTail::maxLines));
    }

    void summaryAndDetails_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("crashed");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("summary");
        QTest::addColumn<QString>("details");
        QTest::newRow("exit with errors")
            << 1 << false << QStringList{u"first"_s, u"  boom  "_s} << u"The engine stopped (exit status 1): boom"_s
            << u"The engine stopped (exit status 1).\nfirst\n  boom  "_s;
        QTest::newRow("silent exit") << 0 << false << QStringList{} << u"The engine stopped (exit status 0)."_s
                                     << u"The engine stopped (exit status 0)."_s;
        QTest::newRow("signal") << 11 << true << QStringList{u"segfault"_s}
                                << u"The engine stopped (signal 11): segfault"_s
                                << u"The engine stopped (signal 11).\nsegfault"_s;
    }

    void summaryAndDetails()
    {
        QFETCH(int, status);
        QFETCH(bool, crashed);
        QFETCH(QStringList, lines);
        const EngineExit exit{status, crashed, lines};
        QTEST(exit.summary(), "summary");
        QTEST(exit.details(), "details");
    }
};

QTEST_APPLESS_MAIN(ErrorTailTest)
#include "tst_errortail.moc"
