#include <QJsonArray>
#include <QTest>

#include <algorithm>

#include "HudSession.h"
#include "JsonFile.h"

using namespace halvic::testing;

/// The storage card in the real HUD on a real X server and window manager, with files
/// dragged onto it from another X client through the desktop's drag and drop.
class StorageEndToEndTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<HudSession> session;

    QString controlFile(const char *name) const { return session->root().controlFile(QLatin1StringView(name)); }

    std::optional<QRect> windowNamed(const QString &title) const
    {
        const QString id = QString::fromLatin1(
            session->run(QStringLiteral("xdotool"),
                {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), title}))
                               .section(u'\n', 0, 0)
                               .trimmed();
        if (id.isEmpty())
            return std::nullopt;
        const QString info = QString::fromLatin1(session->run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id}));
        const auto field = [&](const char *name) {
            return QRegularExpression(QLatin1StringView(name) + QStringLiteral(":\\s+(-?\\d+)"))
                .match(info)
                .captured(1)
                .toInt();
        };
        return QRect(field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"), field("Height"));
    }

    // The HUD's popup menu: its one visible window narrower than the HUD and the card.
    std::optional<QRect> popupMenu() const
    {
        const QStringList ids
            = QString::fromLatin1(session->run(QStringLiteral("xdotool"),
                                      {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                          QStringLiteral("--classname"), QStringLiteral("halvic-hud")}))
                  .split(u'\n', Qt::SkipEmptyParts);
        for (const QString &id : ids) {
            // The HUD is 360 wide and the card 720; a menu is narrower than both.
            if (auto frame = windowWithId(id); frame && frame->height() > 100 && frame->width() < 300)
                return frame;
        }
        return std::nullopt;
    }

    std::optional<QRect> windowWithId(const QString &id) const
    {
        const QString info = QString::fromLatin1(session->run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id}));
        if (!info.contains(QStringLiteral("IsViewable")))
            return std::nullopt;
        const auto field = [&](const char *name) {
            return QRegularExpression(QLatin1StringView(name) + QStringLiteral(":\\s+(-?\\d+)"))
                .match(info)
                .captured(1)
                .toInt();
        };
        return QRect(field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"), field("Height"));
    }

private slots:
    void init()
    {
        session = std::make_unique<HudSession>();
        if (!session->ok())
            QFAIL(qPrintable(QStringLiteral("no X session: ") + session->error()));
        QVERIFY(session->startHud());
        QVERIFY(session->waitToFind(QStringLiteral("listening\u2026")));
    }
    void cleanup() { session.reset(); }

    // Without a tray (as here), "My Files" is in the HUD's own menu; it opens the card, which
    // asks the engine for the list, and hides it the second time.
    void myFilesFromTheMenu()
    {
        const QString query = controlFile("storage_query.json");
        const auto chooseMyFiles = [&] {
            const auto more = session->waitToFind(QStringLiteral("More"), QStringLiteral("push button"));
            QVERIFY(more);
            session->click(*more);
            // The menu's items are not on the accessibility bus, and it takes no typing here:
            // "My Files" is clicked where it is drawn, the third row from the bottom (above
            // "Hand Gestures", the separator and "Quit Halvic").
            std::optional<QRect> menu;
            QVERIFY(HudSession::waitFor([&] { return (menu = popupMenu()).has_value(); }, 5000));
            session->click(QRect(menu->x() + 40, menu->bottom() - 57, 1, 1));
        };
        chooseMyFiles();
        QVERIFY(session->waitToFind(QStringLiteral("My Files"), QStringLiteral("frame")));
        QVERIFY(HudSession::waitFor([&] { return QFile::exists(query); }, 5000));
        QCOMPARE(readJson(query), QJsonObject());
        QVERIFY(session->waitToFind(QStringLiteral("No files yet."), QStringLiteral("label")));
        session->feed({engineEvent(
            "storage", {{"files", QJsonArray{QJsonObject{{"name", "notes.txt"}, {"type", "txt"}, {"size", 1200}}}}})});
        QVERIFY(session->waitToFind(QStringLiteral("1 item"), QStringLiteral("label")));
        chooseMyFiles();
        QVERIFY(HudSession::waitFor(
            [&] { return !session->accessibleObjects().contains(QStringLiteral("frame\tMy Files")); }, 5000));
    }

    void twoFilesDroppedMakeOneUpload()
    {
        session->feed({engineEvent(
            "storage", {{"files", QJsonArray{QJsonObject{{"name", "notes.txt"}, {"type", "txt"}, {"size", 1200}}}}})});
        // What a screen reader reads of the card.
        QStringList objects;
        const QStringList expected{"frame\tMy Files", "heading\tMy Files", "label\t1 item", "push button\tAdd files",
            "push button\tRefresh the list", "list\tFiles", "push button\tnotes.txt", "label\tnotes.txt",
            "label\t1 KB"};
        const auto readsAll = [&] {
            objects = session->accessibleObjects();
            return std::all_of(expected.begin(), expected.end(), [&](const QString &o) { return objects.contains(o); });
        };
        QVERIFY2(HudSession::waitFor(readsAll, 10000), qPrintable(objects.join(u'\n')));
        const auto files = session->find(QStringLiteral("Files"), QStringLiteral("list"));
        QVERIFY(files);

        const QString first = session->root().file(QStringLiteral("report one.pdf"));
        const QString second = session->root().file(QStringLiteral("photo.png"));
        for (const QString &path : {first, second}) {
            QFile out(path);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write("contents");
        }
        QProcess &source = session->x().startClient(
            qEnvironmentVariable("HALVIC_BINARY_DIR") + QStringLiteral("/tests/cards/halvic-drag-source"),
            {first, second});
        std::optional<QRect> from;
        QVERIFY(HudSession::waitFor(
            [&] { return (from = windowNamed(QStringLiteral("halvic drag source"))).has_value(); }, 10000));
        QTest::qWait(300);

        // Press on the source, carry the files over the card in steps, let go over the grid.
        const QPoint start = from->center();
        const QPoint drop = files->center() + QPoint(0, 60);
        session->xdotool({QStringLiteral("mousemove"), QString::number(start.x()), QString::number(start.y()),
            QStringLiteral("mousedown"), QStringLiteral("1")});
        QTest::qWait(200);
        for (int step = 1; step <= 12; ++step) {
            const QPoint at = start + (drop - start) * step / 12;
            session->xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y())});
            QTest::qWait(60);
        }
        QTest::qWait(300);
        session->xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});

        const QString action = controlFile("storage_action.json");
        QVERIFY(HudSession::waitFor([&] { return QFile::exists(action); }, 8000));
        // The source learns that the card took the files.
        QVERIFY(HudSession::waitFor([&] { return source.canReadLine(); }, 5000));
        QCOMPARE(source.readLine().trimmed(), QByteArray("copied"));
        QCOMPARE(readJson(action), (QJsonObject{{"action", "upload"}, {"paths", QJsonArray{first, second}}}));
        // The card shows the upload until the engine's next list.
        QVERIFY(session->waitToFind(QStringLiteral("Uploading\u2026"), QStringLiteral("label")));
    }
};

QTEST_GUILESS_MAIN(StorageEndToEndTest)
#include "tst_storage_e2e.moc"
