#include <QDir>
#include <QImage>
#include <QTest>

#include "HudSession.h"

using namespace halvic::testing;

/// Puts the real HUD through its looks and photographs each one into
/// <build>/screenshots/hud-<state>.png, for a person to look at.
class HudScreenshotsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<HudSession> session;
    QString folder;

    void shoot(const QString &name)
    {
        QTest::qWait(500); // let transitions and the panel's re-fit settle
        const auto window = session->hudWindow();
        QVERIFY(window);
        const QString path = QDir(folder).filePath(QStringLiteral("hud-%1.png").arg(name));
        QFile::remove(path);
        session->run(QStringLiteral("import"), {QStringLiteral("-window"), *window, path});
        const QImage image(path);
        QVERIFY2(!image.isNull(), qPrintable(path));
        const auto frame = session->hudGeometry();
        QVERIFY(frame);
        QCOMPARE(image.size(), frame->size());
    }

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("import")).isEmpty())
            QFAIL("imagemagick is not installed");
        session = std::make_unique<HudSession>();
        if (!session->ok())
            QFAIL(qPrintable(QStringLiteral("no X session: ") + session->error()));
        QVERIFY(session->startHud());
        folder = qEnvironmentVariable("HALVIC_BINARY_DIR") + QStringLiteral("/screenshots");
        QVERIFY(QDir().mkpath(folder));
    }
    void cleanupTestCase() { session.reset(); }

    void states_data()
    {
        QTest::addColumn<QList<QJsonObject>>("events");
        QTest::addColumn<QString>("shows");
        QTest::addRow("booting") << QList<QJsonObject>{engineEvent(
            "booting", {{"stage", "loading voice models\u2026"}})}
                                 << "loading voice models\u2026";
        QTest::addRow("listening") << QList<QJsonObject>{engineEvent("ready"),
            engineEvent("you", {{"text", "what's on my calendar <b>today</b> &amp; tomorrow?"}}),
            engineEvent("tarvel",
                {{"text",
                    "Two meetings: design review at 10, a 1:1 at 3. \u0645\u0631\u062D\u0628\u0627 "
                    "\U0001F468\u200D\U0001F469\u200D\U0001F467 \U0001F1EB\U0001F1F7"}}),
            engineEvent("notify", {{"text", "Research finished: 12 sources summarised"}})}
                                   << "listening\u2026";
        QTest::addRow("thinking") << QList<QJsonObject>{engineEvent("status", {{"state", "thinking"}})}
                                  << "thinking\u2026";
        QTest::addRow("muted") << QList<QJsonObject>{engineEvent("muted", {{"on", true}})} << "muted";
        QTest::addRow("recording") << QList<QJsonObject>{engineEvent("muted", {{"on", false}}),
            engineEvent("meeting", {{"on", true}})}
                                   << "recording \u2014 taking notes";
        QTest::addRow("enrolling") << QList<QJsonObject>{engineEvent("meeting", {{"on", false}}),
            engineEvent("enroll", {{"n", 3}, {"total", 5}})}
                                   << "learning your voice 3/5";
        QTest::addRow("agents") << QList<QJsonObject>{engineEvent("locked"), engineEvent("ready"),
            engineEvent(
                "task_started", {{"agent", "researcher"}, {"desc", "find flights to   Lisbon next week"}, {"id", "a"}}),
            engineEvent("task_started", {{"agent", "coder"}, {"desc", "build the release notes"}, {"id", "b"}}),
            engineEvent("task_started", {{"agent", "worker"}, {"desc", "tidy the inbox"}, {"id", "c"}}),
            engineEvent("task_progress", {{"id", "a"}, {"note", "checking 3 airlines"}}),
            engineEvent("task_stalled", {{"id", "b"}})}
                                << "worker: tidy the inbox";
        QTest::addRow("collapsed") << QList<QJsonObject>{engineEvent("collapsed", {{"on", true}})} << "Expand Halvic";
        QTest::addRow("docked") << QList<QJsonObject>{engineEvent("collapsed", {{"on", false}}),
            engineEvent("dock", {{"on", true}, {"width", 340}, {"side", "left"}})}
                                << "listening\u2026";
    }
    void states()
    {
        QFETCH(QList<QJsonObject>, events);
        QFETCH(QString, shows);
        session->feed(events);
        QVERIFY2(session->waitToFind(shows), qPrintable(shows));
        if (QString::fromLatin1(QTest::currentDataTag()) == u"docked") {
            QRect frame;
            QVERIFY(HudSession::waitFor(
                [&] {
                    frame = session->hudGeometry().value_or(QRect());
                    // Waits for the end of the glide into the strip.
                    return frame.width() == 340 && frame.left() == 0
                        && frame.height() == HudSession::screenSize.height();
                },
                5000));
            QCOMPARE(frame.left(), 0);
            QCOMPARE(frame.height(), HudSession::screenSize.height());
        }
        shoot(QString::fromLatin1(QTest::currentDataTag()));
    }
};

QTEST_GUILESS_MAIN(HudScreenshotsTest)
#include "tst_hud_screenshots.moc"
