#include <QImage>
#include <QJsonArray>
#include <QSet>
#include <QTest>

#include <algorithm>

#include "HudSession.h"
#include "JsonFile.h"

using namespace halvic::testing;

/// The memory card in the real HUD on a real X server and window manager, opened from the
/// menu and driven with the real pointer and keyboard, against a scripted engine.
class MemoryEndToEndTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<HudSession> session;

    QString controlFile(const char *name) const { return session->root().controlFile(QString::fromLatin1(name)); }

    // The request file once it appears, then removed for the next one.
    QJsonObject takeRequest(const char *name) const
    {
        const QString path = controlFile(name);
        if (!HudSession::waitFor([&] { return QFile::exists(path); }, 8000))
            return {{"missing", QString::fromLatin1(name)}};
        const QJsonObject written = readJson(path);
        QFile::remove(path);
        return written;
    }

    bool clickOn(const QString &name, const QString &role = {}) const
    {
        const auto where = session->waitToFind(name, role);
        if (!where) {
            qWarning().noquote() << name << "not found among:" << session->accessibleObjects().join(u'\n');
            return false;
        }
        session->click(*where);
        return true;
    }

    // The HUD's "More" menu, which carries the tray's items when there is no tray (as under
    // Xvfb).
    bool chooseMemoryFromTheMenu() const
    {
        return session->chooseFromMoreMenu(QStringLiteral("What Halvic Remembers"));
    }

    // The middle of the largest patch of exactly `colour` on screen inside `area` (the map's
    // dots are drawn in their kind's colour; the legend's dots of the same colours are smaller);
    // none when there is no patch of a dot's size.
    std::optional<QPoint> dotOf(QColor colour, const QRect &area) const
    {
        const QString shot = session->root().file(QStringLiteral("screen.png"));
        session->run(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), shot});
        const QImage image(shot);
        const QRect box = area.intersected(image.rect());
        QSet<qint64> seen;
        const auto key = [](int x, int y) { return qint64(y) << 32 | quint32(x); };
        std::optional<QPoint> best;
        qint64 bestSize = 0;
        for (int y = box.top(); y <= box.bottom(); ++y) {
            for (int x = box.left(); x <= box.right(); ++x) {
                if (image.pixel(x, y) != colour.rgb() || seen.contains(key(x, y)))
                    continue;
                // Flood the patch.
                QList<QPoint> todo{QPoint(x, y)};
                seen.insert(key(x, y));
                qint64 sx = 0, sy = 0, size = 0;
                while (!todo.isEmpty()) {
                    const QPoint p = todo.takeLast();
                    sx += p.x();
                    sy += p.y();
                    ++size;
                    for (const QPoint step : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
                        const QPoint q = p + step;
                        if (box.contains(q) && !seen.contains(key(q.x(), q.y())) && image.pixel(q) == colour.rgb()) {
                            seen.insert(key(q.x(), q.y()));
                            todo.append(q);
                        }
                    }
                }
                if (size > bestSize) {
                    bestSize = size;
                    best = QPoint(int(sx / size), int(sy / size));
                }
            }
        }
        // A dot has a radius of at least 6 points; a legend dot 3.5.
        return bestSize >= 60 ? best : std::nullopt;
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

    void openedFromTheMenuSearchedCorrectedAndForgotten()
    {
        QVERIFY(chooseMemoryFromTheMenu());
        QVERIFY(session->waitToRead({"frame\tWhat Halvic Remembers", "heading\tWhat Halvic Remembers",
            "push button\tNotes", "push button\tGraph", "label\tNothing remembered yet."}));
        QCOMPARE(takeRequest("memory_query.json"), (QJsonObject{{"q", ""}}));

        session->feed({engineEvent("memories",
            {{"q", ""},
                {"items",
                    QJsonArray{QJsonObject{{"id", "m1"}, {"text", "Likes green tea"}, {"when", "mornings"},
                                   {"created_at", "not a time"}, {"linked", true}},
                        QJsonObject{{"id", "m2"}, {"text", "Has a cat called Miso"}}}}})});
        QVERIFY(session->waitToRead({"label\tLikes green tea", "label\tre: mornings", "image\tconnected fact",
            "label\tHas a cat called Miso", "push button\tCorrect this memory: Likes green tea",
            "push button\tForget this \u2014 delete permanently: Has a cat called Miso"}));

        // Typing alone sends nothing; Return asks the engine.
        QVERIFY(clickOn(QStringLiteral("Search memory")));
        session->xdotool(
            {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), QStringLiteral("tea")});
        QTest::qWait(300);
        QVERIFY(!QFile::exists(controlFile("memory_query.json")));
        session->xdotool({QStringLiteral("key"), QStringLiteral("Return")});
        QCOMPARE(takeRequest("memory_query.json"), (QJsonObject{{"q", "tea"}}));

        // Forgotten: the row goes at once, and the engine hears of it with the query.
        QVERIFY(clickOn(QStringLiteral("Forget this \u2014 delete permanently: Has a cat called Miso")));
        QCOMPARE(takeRequest("memory_action.json"),
            (QJsonObject{{"action", "forget"}, {"id", "m2"}, {"text", "Has a cat called Miso"}, {"q", "tea"}}));
        QVERIFY(session->waitToRead({"label\tHas a cat called Miso"}, false));

        // Corrected in place.
        QVERIFY(clickOn(QStringLiteral("Correct this memory: Likes green tea")));
        QVERIFY(session->waitToRead({"push button\tSave correction: Likes green tea"}));
        session->xdotool({QStringLiteral("key"), QStringLiteral("End")});
        session->xdotool(
            {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), QStringLiteral(", no sugar")});
        QVERIFY(clickOn(QStringLiteral("Save correction: Likes green tea")));
        QCOMPARE(takeRequest("memory_action.json"),
            (QJsonObject{{"action", "edit"}, {"id", "m1"}, {"text", "Likes green tea, no sugar"}, {"q", "tea"}}));
        QVERIFY(session->waitToRead({"label\tLikes green tea, no sugar"}));

        // The graph is asked for on entering graph mode.
        QVERIFY(clickOn(QStringLiteral("Graph"), QStringLiteral("push button")));
        QCOMPARE(takeRequest("graph_query.json"), QJsonObject{});
        session->feed({engineEvent("graph",
            {{"nodes",
                 QJsonArray{QJsonObject{{"id", "m1"}, {"text", "Likes green tea"}, {"kind", "fact"}},
                     QJsonObject{{"id", "m3"}, {"text", "Ann"}, {"kind", "entity:person"}}}},
                {"edges", QJsonArray{QJsonObject{{"from", "m1"}, {"to", "m3"}}}}})});
        QVERIFY(session->waitToRead({"label\t2 memories \u00b7 1 links", "label\tFact", "label\tPerson"}));

        // The menu item puts the card away again.
        QVERIFY(chooseMemoryFromTheMenu());
        QVERIFY(session->waitToRead({"frame\tWhat Halvic Remembers"}, false));
    }

    // The map drawn in the real HUD (the software scene graph, as without a GPU), linked and
    // cut with the real pointer.
    void theGraphIsDrawnLinkedAndCut()
    {
        QVERIFY(clickOn(QStringLiteral("What Halvic remembers"), QStringLiteral("push button")));
        QVERIFY(clickOn(QStringLiteral("Graph"), QStringLiteral("push button")));
        QCOMPARE(takeRequest("graph_query.json"), QJsonObject{});
        session->feed({engineEvent("graph",
            {{"nodes",
                 QJsonArray{QJsonObject{{"id", "tea"}, {"text", "Likes green tea"}, {"kind", "fact"}},
                     QJsonObject{{"id", "ann"}, {"text", "Ann"}, {"kind", "entity:person"}},
                     QJsonObject{{"id", "dentist"}, {"text", "Dentist"}, {"kind", "event"}}}},
                {"edges", QJsonArray{QJsonObject{{"from", "tea"}, {"to", "ann"}}}}})});
        QVERIFY(session->waitToRead({"label\t3 memories \u00b7 1 links", "label\tEvent"}));
        // The card is somewhere on the left of the screen.
        const auto map = std::optional(QRect(QPoint(0, 0), HudSession::screenSize).adjusted(0, 0, -500, 0));
        QVERIFY(session->waitToFind(QStringLiteral("Memory graph")));
        std::optional<QPoint> tea, ann, dentist;
        QVERIFY2(HudSession::waitFor(
                     [&] {
                         tea = dotOf(QColor(0x64, 0xd2, 0xff), *map);
                         ann = dotOf(QColor(0x30, 0xd1, 0x58), *map);
                         dentist = dotOf(QColor(0xff, 0x37, 0x5f), *map);
                         return tea && ann && dentist;
                     },
                     10000),
            "the dots are not drawn");

        // Connect: tap two memories.
        QVERIFY(clickOn(QStringLiteral("Connect: tap two memories to link them")));
        QVERIFY(session->waitToRead({"label\ttap a memory"}));
        session->click(QRect(*dentist, QSize(1, 1)));
        QVERIFY(session->waitToRead({"label\ttap another"}));
        session->click(QRect(*ann, QSize(1, 1)));
        QCOMPARE(takeRequest("graph_action.json"), (QJsonObject{{"action", "link"}, {"a", "dentist"}, {"b", "ann"}}));
        QVERIFY(session->waitToRead({"label\t3 memories \u00b7 2 links"}));
        QVERIFY(clickOn(QStringLiteral("Connect: tap two memories to link them")));

        // Cut: select the link between the tea and Ann by its middle, then cut it.
        session->click(QRect((*tea + *ann) / 2, QSize(1, 1)));
        QVERIFY(session->waitToRead({"label\tConnection between two memories"}));
        QVERIFY(clickOn(QStringLiteral("Cut the connection")));
        QCOMPARE(takeRequest("graph_action.json"), (QJsonObject{{"action", "unlink"}, {"a", "tea"}, {"b", "ann"}}));
        QVERIFY(session->waitToRead({"label\t3 memories \u00b7 1 links"}));
    }

    void theHudsMemoryButtonOpensTheCard()
    {
        QVERIFY(clickOn(QStringLiteral("What Halvic remembers"), QStringLiteral("push button")));
        QVERIFY(session->waitToRead({"frame\tWhat Halvic Remembers"}));
        QCOMPARE(takeRequest("memory_query.json"), (QJsonObject{{"q", ""}}));
    }
};

QTEST_GUILESS_MAIN(MemoryEndToEndTest)
#include "tst_memory_e2e.moc"
