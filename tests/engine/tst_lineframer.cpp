#include <QTest>

#include "LineFramer.h"

using namespace halvic;

class LineFramerTest : public QObject
{
    Q_OBJECT
private slots:
    void framing_data()
    {
        QTest::addColumn<QByteArrayList>("chunks");
        QTest::addColumn<QByteArrayList>("lines");
        QTest::addColumn<qsizetype>("pending");
        QTest::addColumn<qsizetype>("cap");
        const qsizetype big = LineFramer::defaultMaxLine;
        QTest::addRow("two lines in one chunk")
            << QByteArrayList{"a\nb\n"} << QByteArrayList{"a", "b"} << qsizetype(0) << big;
        QTest::addRow("line over three chunks")
            << QByteArrayList{"ab", "cd", "e\n"} << QByteArrayList{"abcde"} << qsizetype(0) << big;
        QTest::addRow("chunk ending at line feed leaves nothing")
            << QByteArrayList{"x\n"} << QByteArrayList{"x"} << qsizetype(0) << big;
        QTest::addRow("partial tail kept") << QByteArrayList{"x\nyz"} << QByteArrayList{"x"} << qsizetype(2) << big;
        QTest::addRow("carriage return is kept")
            << QByteArrayList{"a\r\n"} << QByteArrayList{"a\r"} << qsizetype(0) << big;
        QTest::addRow("empty lines") << QByteArrayList{"\n\n"} << QByteArrayList{"", ""} << qsizetype(0) << big;
        QTest::addRow("line feed alone after partial")
            << QByteArrayList{"abc", "\n"} << QByteArrayList{"abc"} << qsizetype(0) << big;
        QTest::addRow("empty chunks") << QByteArrayList{"", "a", "", "\n"} << QByteArrayList{"a"} << qsizetype(0)
                                      << big;
        QTest::addRow("line at the cap is kept")
            << QByteArrayList{"12345\n"} << QByteArrayList{"12345"} << qsizetype(0) << qsizetype(5);
        QTest::addRow("overlong line dropped to its line feed")
            << QByteArrayList{"123456\nok\n"} << QByteArrayList{"ok"} << qsizetype(0) << qsizetype(5);
        QTest::addRow("overlong partial dropped, next line survives") << QByteArrayList{"123", "456", "789",
            "\nnext\n"} << QByteArrayList{"next"} << qsizetype(0) << qsizetype(5);
        QTest::addRow("overlong over chunks completing in a later chunk")
            << QByteArrayList{"1234", "56\nab\n"} << QByteArrayList{"ab"} << qsizetype(0) << qsizetype(5);
        QTest::addRow("discarding holds nothing")
            << QByteArrayList{"1234567", "89"} << QByteArrayList{} << qsizetype(0) << qsizetype(5);
    }
    void framing()
    {
        QFETCH(QByteArrayList, chunks);
        QFETCH(QByteArrayList, lines);
        QFETCH(qsizetype, pending);
        QFETCH(qsizetype, cap);
        LineFramer framer(cap);
        QByteArrayList got;
        qsizetype dropped = 0;
        const auto drop = [&](qsizetype length) { dropped += length; };
        for (const QByteArray &chunk : chunks)
            framer.feed(
                chunk, [&](QByteArrayView line) { got.append(line.toByteArray()); }, drop);
        QCOMPARE(got, lines);
        QCOMPARE(framer.pendingBytes(), pending);
        // Every byte but the line feeds is in a line, waiting, or reported dropped.
        if (!framer.discarding())
            QCOMPARE(got.join().size() + pending + dropped, chunks.join().size() - chunks.join().count('\n'));
    }

    void everySplitOfAStreamGivesTheSameLines()
    {
        const QByteArray stream = "@@EVT {\"type\":\"ready\"}\nnoise\r\n\n  \nlast line\npartial";
        const QByteArrayList whole{"@@EVT {\"type\":\"ready\"}", "noise\r", "", "  ", "last line"};
        for (qsizetype a = 0; a <= stream.size(); ++a) {
            for (qsizetype b = a; b <= stream.size(); b += 3) {
                LineFramer framer;
                QByteArrayList got;
                auto collect = [&](QByteArrayView line) { got.append(line.toByteArray()); };
                framer.feed(QByteArrayView(stream).first(a), collect);
                framer.feed(QByteArrayView(stream).sliced(a, b - a), collect);
                framer.feed(QByteArrayView(stream).sliced(b), collect);
                QCOMPARE(got, whole);
                QCOMPARE(framer.pendingBytes(), qsizetype(7));
            }
        }
    }
};

QTEST_GUILESS_MAIN(LineFramerTest)
#include "tst_lineframer.moc"
