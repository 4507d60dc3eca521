#include <QJsonArray>
#include <QTest>

#include <algorithm>

#include "HudSession.h"
#include "JsonFile.h"

using namespace halvic::testing;

namespace {

using halvic::testing::readJson;

QJsonObject taskJson(const char *id, const char *text, const char *due = nullptr)
{
    QJsonObject task{{"id", id}, {"text", text}};
    if (due)
        task.insert("due", due);
    return task;
}

} // namespace

/// The tasks card in the real HUD on a real X server and window manager, driven with the
/// real pointer at the controls' places on the card, against a scripted engine.
class TasksEndToEndTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<HudSession> session;

    // Where the card's controls are, from its top left: the first row's tick and the
    // minimise button (the card's layout is fixed: 14-point padding, 320 wide).
    static constexpr QPoint firstTick{28, 69};
    static constexpr QPoint minimiseButton{261, 25};

    // The HUD's visible windows other than its main panel, by their geometry on screen.
    QList<QRect> cardWindows() const
    {
        const auto hud = session->hudWindow();
        const QStringList ids
            = QString::fromLatin1(session->run(QStringLiteral("xdotool"),
                                      {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                          QStringLiteral("--classname"), QStringLiteral("halvic-hud")}))
                  .split(u'\n', Qt::SkipEmptyParts);
        QList<QRect> cards;
        for (const QString &id : ids) {
            const QString info
                = QString::fromLatin1(session->run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id}));
            const auto field = [&](const char *name) {
                return QRegularExpression(QLatin1StringView(name) + QStringLiteral(":\\s+(-?\\d+)"))
                    .match(info)
                    .captured(1)
                    .toInt();
            };
            if (!info.contains(QStringLiteral("IsViewable")))
                continue;
            const QRect frame(
                field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"), field("Height"));
            // The HUD panel is 360 wide; cards and bubbles are not.
            if (frame.width() != 360 && frame.width() > 1)
                cards << frame;
        }
        return cards;
    }

    std::optional<QRect> waitForCard(const std::function<bool(QRect)> &like) const
    {
        std::optional<QRect> found;
        HudSession::waitFor(
            [&] {
                const auto cards = cardWindows();
                for (const QRect &card : cards) {
                    if (like(card)) {
                        found = card;
                        return true;
                    }
                }
                return false;
            },
            10000);
        return found;
    }

private slots:
    void init()
    {
        session = std::make_unique<HudSession>();
        if (!session->ok())
            QFAIL(qPrintable(QStringLiteral("no X session: ") + session->error()));
        QVERIFY(session->startHudListening());
    }
    void cleanup() { session.reset(); }

    void cardAppearsAndTicksReachTheEngine()
    {
        const QString actionFile = session->root().controlFile(QStringLiteral("card_action.json"));
        session->feed({engineEvent(
            "tasks", {{"tasks", QJsonArray{taskJson("t1", "Call Ann", "5 pm"), taskJson("t2", "Water plants")}}})});
        // At the top right of the screen, 20 points in.
        const auto card = waitForCard([](QRect frame) { return frame.size() == QSize(320, 400); });
        QVERIFY2(card, "no tasks card");
        QCOMPARE(card->topLeft(), QPoint(HudSession::screenSize.width() - 340, 20));
        // What a screen reader reads: the card's own window and heading, every text, and a
        // tick named after its task.
        QVERIFY(session->waitToRead({"frame\tTasks & Reminders", "heading\tTasks & Reminders", "list\tTasks",
            "push button\tMark done: Call Ann", "label\tCall Ann", "label\tdue 5 pm",
            "push button\tMark done: Water plants", "label\tWater plants"}));
        QCOMPARE(session->accessibleObjects().count(QStringLiteral("frame\tHalvic")), 1); // the HUD alone is "Halvic"

        // Tick whichever task comes first, then the other: each leaves the card at once and
        // reaches the engine.
        const QHash<QString, QString> texts{{"t1", "Call Ann"}, {"t2", "Water plants"}};
        QStringList ticked;
        for (int round = 0; round < 2; ++round) {
            QFile::remove(actionFile);
            session->click(QRect(card->topLeft() + firstTick, QSize(1, 1)));
            QVERIFY(HudSession::waitFor([&] { return QFile::exists(actionFile); }, 5000));
            const QJsonObject written = readJson(actionFile);
            const QString id = written.value("id").toString();
            QVERIFY2(texts.contains(id) && !ticked.contains(id), qPrintable(id));
            QCOMPARE(
                written, (QJsonObject{{"kind", "task"}, {"action", "done"}, {"id", id}, {"text", texts.value(id)}}));
            ticked << id;
            if (round == 0) {
                // The ticked row leaves the accessibility tree with the list.
                const QString tick = QStringLiteral("push button\tMark done: ") + texts.value(id);
                QVERIFY2(HudSession::waitFor([&] { return !session->accessibleObjects().contains(tick); }, 5000),
                    qPrintable(tick));
                QVERIFY(!session->accessibleObjects().contains(QStringLiteral("label\t") + texts.value(id)));
            }
        }
        // The last tick put the card away.
        QVERIFY(HudSession::waitFor([&] { return cardWindows().isEmpty(); }, 5000));
    }

    // An application the user types in keeps the keyboard when the engine shows a card or
    // a picture.
    void cardsAndPopupsLeaveTheKeyboardAlone()
    {
        session->x().startClient(QStringLiteral("xterm"));
        std::optional<quint32> terminal;
        QVERIFY(HudSession::waitFor(
            [&] { return (terminal = session->x().window(QStringLiteral("xterm.XTerm"))).has_value(); }, 10000));
        const QString id = QString::number(*terminal);
        session->xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), id});
        const auto active = [&] {
            return QString::fromLatin1(session->run(QStringLiteral("xdotool"), {QStringLiteral("getactivewindow")}))
                .trimmed();
        };
        QVERIFY(HudSession::waitFor([&] { return active() == id; }, 5000));

        session->feed({engineEvent("tasks", {{"tasks", QJsonArray{taskJson("t1", "Call Ann")}}})});
        QVERIFY2(waitForCard([](QRect frame) { return frame.size() == QSize(320, 400); }), "no tasks card");
        QTest::qWait(300);
        QCOMPARE(active(), id);

        const QString picture = session->root().file(QStringLiteral("picture.png"));
        session->run(QStringLiteral("convert"),
            {QStringLiteral("-size"), QStringLiteral("200x100"), QStringLiteral("xc:red"), picture});
        session->feed({engineEvent("show", {{"path", picture}, {"title", "A picture"}})});
        QVERIFY2(waitForCard([](QRect frame) { return frame.size() == QSize(224, 152); }), "no popup");
        QTest::qWait(300);
        QCOMPARE(active(), id);
    }

    void minimisedToABubbleAndBack()
    {
        session->feed({engineEvent("task_added", taskJson("t1", "Call Ann"))});
        const auto card = waitForCard([](QRect frame) { return frame.size() == QSize(320, 400); });
        QVERIFY2(card, "no tasks card");
        session->click(QRect(card->topLeft() + minimiseButton, QSize(1, 1)));
        // A 58-point bubble around the card's centre.
        const auto bubble = waitForCard([](QRect frame) { return frame.size() == QSize(58, 58); });
        QVERIFY2(bubble, "no bubble");
        QVERIFY2((bubble->center() - card->center()).manhattanLength() <= 2,
            qPrintable(QStringLiteral("bubble centre %1,%2").arg(bubble->center().x()).arg(bubble->center().y())));

        // Held on the bubble, it opens into the card again around the same centre.
        const QPoint centre = bubble->center();
        session->xdotool({QStringLiteral("mousemove"), QString::number(centre.x()), QString::number(centre.y()),
            QStringLiteral("mousedown"), QStringLiteral("1")});
        QTest::qWait(900);
        session->xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
        const auto again = waitForCard([&](QRect frame) { return frame.width() == 320; });
        QVERIFY2(again, "the card did not come back");
        QVERIFY(std::abs(again->center().x() - centre.x()) <= 2);
    }
};

QTEST_GUILESS_MAIN(TasksEndToEndTest)
#include "tst_tasks_e2e.moc"
