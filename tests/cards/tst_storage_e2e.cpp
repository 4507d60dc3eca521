#include <QJsonArray>
#include <QTest>

#include <algorithm>

#include "FileDrag.h"
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

private slots:
    void init()
    {
        session = std::make_unique<HudSession>();
        if (!session->ok())
            QFAIL(qPrintable(QStringLiteral("no X session: ") + session->error()));
        QVERIFY(session->startHudListening());
    }
    void cleanup() { session.reset(); }

    // Without a tray (as here), "My Files" is in the HUD's own menu; it opens the card, which
    // asks the engine for the list, and hides it the second time.
    void myFilesFromTheMenu()
    {
        const QString query = controlFile("storage_query.json");
        const auto chooseMyFiles = [&] { QVERIFY(session->chooseFromMoreMenu(QStringLiteral("My Files"))); };
        chooseMyFiles();
        QVERIFY(session->waitToFind(QStringLiteral("My Files"), QStringLiteral("frame")));
        QVERIFY(HudSession::waitFor([&] { return QFile::exists(query); }, 5000));
        QCOMPARE(readJson(query), QJsonObject());
        QVERIFY(session->waitToFind(QStringLiteral("No files yet."), QStringLiteral("label")));
        session->feed({engineEvent(
            "storage", {{"files", QJsonArray{QJsonObject{{"name", "notes.txt"}, {"type", "txt"}, {"size", 1200}}}}})});
        QVERIFY(session->waitToFind(QStringLiteral("1 item"), QStringLiteral("label")));
        chooseMyFiles();
        QVERIFY(session->waitToRead({QStringLiteral("frame\tMy Files")}, false, 5000));
    }

    void twoFilesDroppedMakeOneUpload()
    {
        session->feed({engineEvent(
            "storage", {{"files", QJsonArray{QJsonObject{{"name", "notes.txt"}, {"type", "txt"}, {"size", 1200}}}}})});
        // What a screen reader reads of the card.
        QVERIFY(session->waitToRead({"frame\tMy Files", "heading\tMy Files", "label\t1 item", "push button\tAdd files",
            "push button\tRefresh the list", "list\tFiles", "push button\tnotes.txt", "label\tnotes.txt",
            "label\t1 KB"}));
        const auto files = session->find(QStringLiteral("Files"), QStringLiteral("list"));
        QVERIFY(files);

        const QStringList paths = sampleFiles(*session, {"report one.pdf", "photo.png"});
        // Let go over the grid.
        QProcess *source = dragFiles(*session, paths, files->center() + QPoint(0, 60));
        QVERIFY(source);

        const QString action = controlFile("storage_action.json");
        QVERIFY(HudSession::waitFor([&] { return QFile::exists(action); }, 8000));
        // The source learns that the card took the files.
        QCOMPARE(dropOutcome(*source), QByteArray("copied"));
        QCOMPARE(readJson(action), (QJsonObject{{"action", "upload"}, {"paths", QJsonArray::fromStringList(paths)}}));
        // The card shows the upload until the engine's next list.
        QVERIFY(session->waitToFind(QStringLiteral("Uploading\u2026"), QStringLiteral("label")));
    }
};

QTEST_GUILESS_MAIN(StorageEndToEndTest)
#include "tst_storage_e2e.moc"
