#include <QTest>

#include "HudLogic.h"

using namespace halvic;
using namespace halvic::hud;
using namespace std::chrono_literals;

Q_DECLARE_METATYPE(halvic::hud::OrbColor)

namespace {
QList<QUrl> files(const QStringList &paths)
{
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls << QUrl::fromLocalFile(path);
    return urls;
}
} // namespace

class HudLogicTest : public QObject
{
    Q_OBJECT
private slots:
    void orb_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<bool>("muted");
        QTest::addColumn<bool>("recording");
        QTest::addColumn<OrbColor>("color");
        QTest::addColumn<bool>("pulses");
        QTest::addRow("listening is steady cyan") << "listening" << false << false << OrbColor::Cyan << false;
        QTest::addRow("booting pulses orange") << "booting" << false << false << OrbColor::Orange << true;
        QTest::addRow("thinking pulses orange") << "thinking" << false << false << OrbColor::Orange << true;
        QTest::addRow("speaking pulses green") << "speaking" << false << false << OrbColor::Green << true;
        QTest::addRow("restarting pulses yellow") << "restarting" << false << false << OrbColor::Yellow << true;
        QTest::addRow("off is steady grey") << "off" << false << false << OrbColor::Grey << false;
        QTest::addRow("unknown state is steady grey") << "dreaming" << false << false << OrbColor::Grey << false;
        QTest::addRow("recording pulses red") << "listening" << false << true << OrbColor::Red << true;
        QTest::addRow("muted is steady red") << "thinking" << true << false << OrbColor::Red << false;
        QTest::addRow("muted and recording: red, steady") << "speaking" << true << true << OrbColor::Red << false;
        QTest::addRow("state is case-sensitive") << "Thinking" << false << false << OrbColor::Grey << false;
    }
    void orb()
    {
        QFETCH(QString, state);
        QFETCH(bool, muted);
        QFETCH(bool, recording);
        QFETCH(OrbColor, color);
        QFETCH(bool, pulses);
        QCOMPARE(orbColor(engine::fromWireName(state), muted, recording), color);
        QCOMPARE(orbPulses(engine::fromWireName(state), muted, recording), pulses);
    }

    void pulsePeriodIsFasterWhileRecording()
    {
        QCOMPARE(pulsePeriod(true), 700ms);
        QCOMPARE(pulsePeriod(false), 1100ms);
    }

    void speakerSymbols_data()
    {
        QTest::addColumn<QString>("who");
        QTest::addColumn<QString>("symbol");
        QTest::addRow("you") << "you"
                             << "person.fill";
        QTest::addRow("task") << "task"
                              << "checkmark.seal.fill";
        QTest::addRow("tarvel") << "tarvel"
                                << "sparkle";
        QTest::addRow("anyone else") << "system"
                                     << "sparkle";
        QTest::addRow("empty") << ""
                               << "sparkle";
    }
    void speakerSymbols()
    {
        QFETCH(QString, who);
        QFETCH(QString, symbol);
        QCOMPARE(speakerSymbol(who), symbol);
    }

    void sending_data()
    {
        QTest::addColumn<QString>("draft");
        QTest::addColumn<QStringList>("attached");
        QTest::addColumn<bool>("sendable");
        QTest::addColumn<QString>("echo");
        QTest::addRow("plain text") << "hello" << QStringList{} << true << "hello";
        QTest::addRow("spaces around are trimmed") << "  hi there \n" << QStringList{} << true << "hi there";
        QTest::addRow("only white space") << " \n\t " << QStringList{} << false << "";
        QTest::addRow("empty") << "" << QStringList{} << false << "";
        QTest::addRow("two files, no text")
            << "" << QStringList{"/tmp/a.pdf", "/home/me/b c.png"} << true << "\U0001F4CE a.pdf, b c.png";
        QTest::addRow("text and a file") << " look " << QStringList{"/tmp/shot.png"} << true
                                         << "look  \U0001F4CE shot.png";
        QTest::addRow("markup stays text") << "<b>&amp;</b>" << QStringList{} << true << "<b>&amp;</b>";
    }
    void sending()
    {
        QFETCH(QString, draft);
        QFETCH(QStringList, attached);
        QFETCH(bool, sendable);
        QFETCH(QString, echo);
        QCOMPARE(canSend(draft, files(attached)), sendable);
        if (sendable)
            QCOMPARE(echoText(draft, files(attached)), echo);
    }

    void emoji_data()
    {
        QTest::addColumn<QString>("agent");
        QTest::addColumn<QString>("desc");
        QTest::addColumn<bool>("stalled");
        QTest::addColumn<bool>("done");
        QTest::addColumn<QString>("emoji");
        QTest::addRow("search wins over web") << "web"
                                              << "find the docs" << false << false << "\U0001F50D";
        QTest::addRow("web") << "worker"
                             << "fetch the page" << false << false << "\U0001F310";
        QTest::addRow("http in description") << "worker"
                                             << "GET HTTP status" << false << false << "\U0001F310";
        QTest::addRow("code by prefix") << "Coder"
                                        << "refactor" << false << false << "\U0001F4BB";
        QTest::addRow("python") << "worker"
                                << "Python notebook" << false << false << "\U0001F4BB";
        QTest::addRow("script") << "worker"
                                << "a shell script" << false << false << "\u2699\uFE0F";
        QTest::addRow("nothing known") << "worker"
                                       << "tidy up" << false << false << "\U0001F916";
        QTest::addRow("stalled, not done") << "web"
                                           << "find" << true << false << "\u26A0\uFE0F";
        QTest::addRow("stalled but done") << "web"
                                          << "find" << true << true << "\U0001F50D";
        // "research" holds "search"; "run" hides in "prune": substring rules, on purpose.
        QTest::addRow("substring inside a word") << "worker"
                                                 << "prune logs" << false << false << "\u2699\uFE0F";
    }
    void emoji()
    {
        QFETCH(QString, agent);
        QFETCH(QString, desc);
        QFETCH(bool, stalled);
        QFETCH(bool, done);
        QFETCH(QString, emoji);
        QCOMPARE(agentEmoji(agent, desc, stalled, done), emoji);
    }

    void labels_data()
    {
        QTest::addColumn<QString>("desc");
        QTest::addColumn<QString>("label");
        QTest::addRow("one word") << "summarise"
                                  << "summarise";
        QTest::addRow("five words with runs of spaces") << "find   cheap  flights to Lisbon"
                                                        << "find cheap flights";
        QTest::addRow("leading spaces") << "   build it"
                                        << "build it";
        QTest::addRow("tabs are not separators") << "a\tb c d"
                                                 << "a\tb c d";
        QTest::addRow("empty") << ""
                               << "";
    }
    void labels()
    {
        QFETCH(QString, desc);
        QFETCH(QString, label);
        QCOMPARE(shortLabel(desc), label);
    }

    void elapsed_data()
    {
        QTest::addColumn<qint64>("ms");
        QTest::addColumn<QString>("text");
        QTest::addRow("zero") << qint64(0) << "0s";
        QTest::addRow("fractions truncate") << qint64(59999) << "59s";
        QTest::addRow("a minute") << qint64(60000) << "1m 0s";
        QTest::addRow("125 s") << qint64(125500) << "2m 5s";
        QTest::addRow("over an hour stays minutes") << qint64(3725000) << "62m 5s";
    }
    void elapsed()
    {
        QFETCH(qint64, ms);
        QFETCH(QString, text);
        QCOMPARE(elapsedText(std::chrono::milliseconds(ms)), text);
    }

    void dockWidth_data()
    {
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("translation");
        QTest::addColumn<QString>("side");
        QTest::addColumn<double>("width");
        QTest::addRow("left, outward far") << 360.0 << 600.0 << "left" << 760.0;
        QTest::addRow("left, inward far") << 360.0 << -600.0 << "left" << 260.0;
        QTest::addRow("left, a little") << 340.0 << 40.0 << "left" << 380.0;
        QTest::addRow("right widens leftward") << 340.0 << -40.0 << "right" << 380.0;
        QTest::addRow("right, outward far") << 360.0 << -600.0 << "right" << 760.0;
        QTest::addRow("right, rightward narrows") << 360.0 << 50.0 << "right" << 310.0;
        QTest::addRow("unknown side acts as left") << 300.0 << 10.0 << "top" << 310.0;
    }
    void dockWidth()
    {
        QFETCH(double, start);
        QFETCH(double, translation);
        QFETCH(QString, side);
        QFETCH(double, width);
        QCOMPARE(draggedDockWidth(start, translation, side), width);
    }
};

QTEST_GUILESS_MAIN(HudLogicTest)
#include "tst_hudlogic.moc"
