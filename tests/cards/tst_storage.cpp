#include <QAbstractItemModelTester>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QQmlEngine>
#include <QQmlEngineExtensionPlugin>
#include <QQuickItem>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include "CardFormats.h"
#include "CardUnderTest.h"
#include "Drops.h"
#include "EventDispatcher.h"
#include "FileChoosers.h"
#include "GlassPanel.h"
#include "JsonFile.h"
#include "QuickItems.h"
#include "Scheduler.h"
#include "StoragePanel.h"

Q_IMPORT_QML_PLUGIN(Halvic_PanelsPlugin)
Q_IMPORT_QML_PLUGIN(Halvic_CardsPlugin)
Q_IMPORT_QML_PLUGIN(Halvic_Cards_StoragePlugin)

using namespace halvic;
using namespace std::chrono_literals;
using halvic::testing::buttonsNamed;
using halvic::testing::readJson;
using halvic::testing::visibleTexts;

Q_DECLARE_METATYPE(halvic::StorageItem)
Q_DECLARE_METATYPE(std::optional<halvic::StorageItem>)

namespace {

std::vector<StorageItem> files(const QStringList &names)
{
    std::vector<StorageItem> list;
    for (const QString &name : names)
        list.push_back({name, name.section(u'.', -1), 1536, QString()});
    return list;
}

QStringList names(StoragePanel &panel)
{
    QStringList out;
    for (const StorageItem &item : panel.model().files().records())
        out << item.name;
    return out;
}

} // namespace

class StorageTest : public QObject, testing::CardUnderTest<StoragePanel>
{
    Q_OBJECT

    QString actionFile() const { return controlFolder() + QStringLiteral("/storage_action.json"); }
    QString queryFile() const { return controlFolder() + QStringLiteral("/storage_query.json"); }
    QString file(const QString &name) const
    {
        const QString path = dir->filePath(name);
        QFile out(path);
        if (out.open(QIODevice::WriteOnly))
            out.write("x");
        return path;
    }
    QRect expectedFrame() const
    {
        return StoragePanel::placement(QGuiApplication::primaryScreen()->availableGeometry());
    }

private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void decode_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<std::optional<StorageItem>>("expected");
        QTest::addRow("all fields") << QByteArray(
            R"({"name":"a.pdf","type":"pdf","size":2048,"updated":"2026-01-05T14:03:00Z"})")
                                    << std::optional(StorageItem{"a.pdf", "pdf", 2048, "2026-01-05T14:03:00Z"});
        QTest::addRow("only a name") << QByteArray(R"({"name":"a"})") << std::optional(StorageItem{"a", "", 0, ""});
        QTest::addRow("a fraction is cut toward zero")
            << QByteArray(R"({"name":"a","size":1536.9})") << std::optional(StorageItem{"a", "", 1536, ""});
        QTest::addRow("negative fractions too")
            << QByteArray(R"({"name":"a","size":-2.9})") << std::optional(StorageItem{"a", "", -2, ""});
        QTest::addRow("beyond 2^53 keeps its digits") << QByteArray(R"({"name":"a","size":9007199254740993})")
                                                      << std::optional(StorageItem{"a", "", 9007199254740993LL, ""});
        QTest::addRow("too big for a size")
            << QByteArray(R"({"name":"a","size":1e30})")
            << std::optional(StorageItem{"a", "", std::numeric_limits<qint64>::max(), ""});
        QTest::addRow("size as text counts as none")
            << QByteArray(R"({"name":"a","size":"12"})") << std::optional(StorageItem{"a", "", 0, ""});
        QTest::addRow("wrong types") << QByteArray(R"({"name":"a","type":3,"updated":false})")
                                     << std::optional(StorageItem{"a", "", 0, ""});
        QTest::addRow("no name") << QByteArray(R"({"type":"pdf","size":3})") << std::optional<StorageItem>();
        QTest::addRow("numeric name") << QByteArray(R"({"name":3})") << std::optional<StorageItem>();
    }
    void decode()
    {
        QFETCH(QByteArray, json);
        QFETCH(std::optional<StorageItem>, expected);
        QCOMPARE(StorageItem::from(QJsonDocument::fromJson(json).object()), expected);
    }

    // What a tile shows: the kind's symbol, the size, and the tooltip with the time when
    // there is one.
    void tileRoles_data()
    {
        QTest::addColumn<StorageItem>("item");
        QTest::addColumn<QString>("icon");
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("help");
        QTest::addRow("a photo in capitals") << StorageItem{"IMG.JPG", "JPG", 1048576, ""} << "photo"
                                             << "1.0 MB"
                                             << "Double-click to open \u00b7 IMG.JPG";
        QTest::addRow("no kind, no size") << StorageItem{"notes", "", 0, "yesterday"} << "doc"
                                          << ""
                                          << "Double-click to open \u00b7 notes";
        QTest::addRow("with a time") << StorageItem{"a.pdf", "pdf", 1536, "2026-01-05T14:03:00Z"} << "doc.richtext"
                                     << "2 KB"
                                     << QStringLiteral("Double-click to open \u00b7 a.pdf  \u00b7  ")
                + memPrettyTime(QStringLiteral("2026-01-05T14:03:00Z"));
    }
    void tileRoles()
    {
        QFETCH(StorageItem, item);
        QFETCH(QString, icon);
        QFETCH(QString, size);
        QFETCH(QString, help);
        RecordListModel<StorageItem> model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.replaceAll({item});
        const QHash<int, QByteArray> roles = model.roleNames();
        const auto role
            = [&](const QByteArray &name) { return model.data(model.index(0), roles.key(name)).toString(); };
        QCOMPARE(role("name"), item.name);
        QCOMPARE(role("icon"), icon);
        QCOMPARE(role("sizeText"), size);
        QCOMPARE(role("help"), help);
    }

    // Near the top left of the screen, 720 wide, at most 460 high.
    void placement_data()
    {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QRect>("frame");
        QTest::addRow("a large screen") << QRect(0, 0, 1440, 900) << QRect(40, 30, 720, 460);
        QTest::addRow("a low screen") << QRect(0, 25, 1024, 400) << QRect(40, 55, 720, 340);
        QTest::addRow("a narrow screen keeps 20 from the right") << QRect(100, 0, 740, 900) << QRect(100, 30, 720, 460);
    }
    void placement()
    {
        QFETCH(QRect, available);
        QFETCH(QRect, frame);
        QCOMPARE(StoragePanel::placement(available), frame);
    }

    void bubbleFrames_data()
    {
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<bool>("minimized");
        QTest::addColumn<QRect>("expected");
        const QRect card(100, 80, 720, 460);
        QTest::addRow("to a bubble at the card's top left") << card << true << QRect(100, 80, 58, 58);
        QTest::addRow("back to the card from the bubble's top")
            << QRect(300, 200, 58, 58) << false << QRect(300, 200, 720, 460);
        QTest::addRow("back, kept 8 in from the right")
            << QRect(1300, 200, 58, 58) << false << QRect(1440 - 8 - 720, 200, 720, 460);
        QTest::addRow("back, kept 8 in from the left") << QRect(-30, 200, 58, 58) << false << QRect(8, 200, 720, 460);
    }
    void bubbleFrames()
    {
        QFETCH(QRect, frame);
        QFETCH(bool, minimized);
        QFETCH(QRect, expected);
        QCOMPARE(StoragePanel::bubbleFrame(frame, minimized, QRect(0, 0, 1440, 900)), expected);
    }

    // In the window: the bubble keeps the card's top-left corner, the card comes back below
    // the bubble's top edge.
    void bubbleRoundTrip()
    {
        panel->present(files({"a.pdf"}));
        GlassPanel *window = panel->window()->panel();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QRect card = window->geometry();
        panel->window()->minimize();
        scheduler.advance(1s);
        QCOMPARE(window->geometry(), QRect(card.topLeft(), QSize(58, 58)));
        window->setPosition(card.topLeft() + QPoint(30, 20));
        panel->window()->minimize();
        scheduler.advance(1s);
        QCOMPARE(window->geometry(), QRect(card.topLeft() + QPoint(30, 20), card.size()));
    }

    void openAsksForTheList()
    {
        panel->open();
        QVERIFY(panel->window()->isShown());
        QVERIFY(panel->model().loading());
        QCOMPARE(readJson(queryFile()), QJsonObject());
        QVERIFY(QFile::exists(queryFile()));
        QVERIFY(QTest::qWaitForWindowExposed(panel->window()->panel()));
        QCOMPARE(panel->window()->panel()->geometry(), expectedFrame());
        QCOMPARE(panel->window()->panel()->title(), QStringLiteral("My Files"));
        panel->present(files({"a.pdf"}));
        QVERIFY(!panel->model().loading());
        // The tray item hides the card on screen and opens a hidden one.
        QFile::remove(queryFile());
        panel->toggle();
        QVERIFY(!panel->window()->isShown());
        QVERIFY(!QFile::exists(queryFile()));
        panel->toggle();
        QVERIFY(panel->window()->isShown());
        QVERIFY(QFile::exists(queryFile()));
    }

    // The engine's list: a card on screen refreshes where it is; a bubble opens into the
    // card; a hidden card comes up.
    void presentPerState_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addRow("never shown") << "never";
        QTest::addRow("hidden") << "hidden";
        QTest::addRow("on screen, moved by the user") << "shown";
        QTest::addRow("a bubble") << "bubble";
    }
    void presentPerState()
    {
        QFETCH(QString, before);
        if (before != u"never") {
            panel->open();
            QVERIFY(QTest::qWaitForWindowExposed(panel->window()->panel()));
            panel->window()->panel()->setPosition(200, 100);
        }
        if (before == u"hidden")
            panel->window()->hide();
        if (before == u"bubble") {
            panel->window()->minimize();
            scheduler.advance(1s);
            QCOMPARE(panel->window()->panel()->size(), QSize(58, 58));
        }
        panel->uploadURLs({QUrl::fromLocalFile(file("up.txt"))});
        QVERIFY(panel->model().uploading());
        panel->present(files({"a.pdf", "b.png"}));
        GlassPanel *window = panel->window()->panel();
        QVERIFY(window->isVisible());
        QVERIFY(!panel->window()->bubble()->minimized());
        QCOMPARE(names(*panel), (QStringList{"a.pdf", "b.png"}));
        QVERIFY(!panel->model().loading());
        QVERIFY(!panel->model().uploading());
        QCOMPARE(window->size(), expectedFrame().size());
        if (before == u"never")
            QCOMPARE(window->position(), expectedFrame().topLeft());
        if (before == u"shown" || before == u"hidden")
            QCOMPARE(window->position(), QPoint(200, 100));
    }

    // Only regular files are uploaded, all in one request, in order.
    void upload_data()
    {
        QTest::addColumn<QStringList>("given");
        QTest::addColumn<QStringList>("uploaded");
        QTest::addRow("two files") << QStringList{"b.txt", "a.txt"} << QStringList{"b.txt", "a.txt"};
        QTest::addRow("a folder, a pipe and a device among them")
            << QStringList{"folder", "a.txt", "pipe", "/dev/null", "b.txt"} << QStringList{"a.txt", "b.txt"};
        QTest::addRow("web addresses") << QStringList{"https://example.com/a.txt"} << QStringList{};
        QTest::addRow("only a folder") << QStringList{"folder"} << QStringList{};
        QTest::addRow("nothing") << QStringList{} << QStringList{};
    }
    void upload()
    {
        QFETCH(QStringList, given);
        QFETCH(QStringList, uploaded);
        file("a.txt");
        file("b.txt");
        QDir(dir->path()).mkdir(QStringLiteral("folder"));
        QCOMPARE(::mkfifo(QFile::encodeName(dir->filePath(QStringLiteral("pipe"))).constData(), 0600), 0);
        QList<QUrl> urls;
        for (const QString &name : given)
            urls << (name.contains(u':') ? QUrl(name)
                                         : QUrl::fromLocalFile(name.startsWith(u'/') ? name : dir->filePath(name)));
        panel->uploadURLs(urls);
        QCOMPARE(panel->model().uploading(), !uploaded.isEmpty());
        if (uploaded.isEmpty()) {
            QVERIFY(!QFile::exists(actionFile()));
            return;
        }
        QJsonArray paths;
        for (const QString &name : uploaded)
            paths << dir->filePath(name);
        QCOMPARE(readJson(actionFile()), (QJsonObject{{"action", "upload"}, {"paths", paths}}));
    }

    // File choosers asked for by several askers: one at a time, each one's files to its asker;
    // asking again while open or waiting changes nothing, a cancelled one hands nothing on.
    void fileChoosersOneAtATime()
    {
        FileChooserQueue choosers;
        QStringList seen;
        const auto shows = [&](bool now) { seen << (now ? choosers.open()->asker : QString()); };
        for (const QString &asker : {u"compose"_qs, u"storage"_qs, u"compose"_qs, u"chat"_qs, u"storage"_qs})
            shows(
                choosers.ask({asker, {}, [&seen, asker](const QList<QUrl> &urls) { seen << asker + urls[0].path(); }}));
        choosers.choose({QUrl(QStringLiteral(":a"))});
        shows(choosers.close());
        shows(choosers.close());
        choosers.choose({QUrl(QStringLiteral(":c"))});
        shows(choosers.close());
        QCOMPARE(seen, (QStringList{"compose", "", "", "", "", "compose:a", "storage", "chat", "chat:c", ""}));
        QVERIFY(!choosers.open());
    }

    void openAndDelete()
    {
        panel->present(files({"a.pdf", "b.png", "a.pdf"}));
        panel->openFile(QStringLiteral("b.png"));
        QCOMPARE(readJson(actionFile()), (QJsonObject{{"action", "open"}, {"name", "b.png"}}));
        QCOMPARE(names(*panel), (QStringList{"a.pdf", "b.png", "a.pdf"}));
        // Gone at once, before the engine answers: every tile of that name.
        panel->deleteFile(QStringLiteral("a.pdf"));
        QCOMPARE(readJson(actionFile()), (QJsonObject{{"action", "delete"}, {"name", "a.pdf"}}));
        QCOMPARE(names(*panel), QStringList{"b.png"});
        panel->refresh();
        QVERIFY(panel->model().loading());
        QVERIFY(QFile::exists(queryFile()));
    }

    void viewTexts()
    {
        panel->open();
        QQuickItem *view = panel->window()->panel()->content();
        QVERIFY(QTest::qWaitForWindowExposed(panel->window()->panel()));
        QCOMPARE(visibleTexts(view),
            (QStringList{"My Files", "Add files", "No files yet.", "Drop files here, or use \u201cAdd files\u201d."}));
        panel->present(files({"report.pdf"}));
        QTRY_COMPARE(visibleTexts(view).join(u"|"), QStringLiteral("My Files|Add files|1 item|report.pdf|2 KB"));
        panel->uploadURLs({QUrl::fromLocalFile(file("up.txt"))});
        QTRY_COMPARE(visibleTexts(view).mid(0, 3), (QStringList{"My Files", "Add files", "Uploading\u2026"}));
        // A refresh during the upload keeps showing it until the list comes.
        panel->refresh();
        QCOMPARE(visibleTexts(view).mid(0, 3), (QStringList{"My Files", "Add files", "Uploading\u2026"}));
        panel->present(files({"report.pdf", "song.mp3"}));
        QTRY_COMPARE(visibleTexts(view).mid(0, 3), (QStringList{"My Files", "Add files", "2 items"}));
        QCOMPARE(buttonsNamed(view, QStringLiteral("Delete this file")).size(), 2);
        QCOMPARE(buttonsNamed(view, QStringLiteral("Refresh the list")).size(), 1);
    }

    // A double click on a tile opens its file; its delete button shows under the pointer.
    void tilesInTheWindow()
    {
        panel->present(files({"report.pdf", "song.mp3"}));
        GlassPanel *window = panel->window()->panel();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QQuickItem *view = window->content();
        QList<QQuickItem *> deletes;
        QTRY_COMPARE((deletes = buttonsNamed(view, QStringLiteral("Delete this file"))).size(), 2);
        QQuickItem *tile = deletes[1]->parentItem();
        const QPoint middle = tile->mapToScene(QPointF(tile->width() / 2, tile->height() / 2)).toPoint();
        // Away from the pointer a tile's delete button neither shows nor takes clicks.
        QCOMPARE(deletes[1]->opacity(), 0.0);
        QVERIFY(!deletes[1]->isEnabled());
        QTest::mouseDClick(window, Qt::LeftButton, {}, middle);
        QCOMPARE(readJson(actionFile()), (QJsonObject{{"action", "open"}, {"name", "song.mp3"}}));
        const QPoint button
            = deletes[1]->mapToScene(QPointF(deletes[1]->width() / 2, deletes[1]->height() / 2)).toPoint();
        QTest::mouseMove(window, middle);
        QTRY_VERIFY(deletes[1]->isEnabled());
        QTest::mouseMove(window, button);
        QTest::mouseClick(window, Qt::LeftButton, {}, button);
        QCOMPARE(readJson(actionFile()), (QJsonObject{{"action", "delete"}, {"name", "song.mp3"}}));
        QCOMPARE(names(*panel), QStringList{"report.pdf"});
    }

    // While files hover over the card it shows a dashed cyan border over a cyan tint.
    void dropHighlight()
    {
        panel->present(files({"x.pdf"}));
        GlassPanel *window = panel->window()->panel();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const auto edge = [&] {
            const QImage image = window->grabWindow();
            int cyan = 0;
            for (int y = image.height() / 4; y < image.height() * 3 / 4; ++y) {
                const QColor pixel = image.pixelColor(1, y);
                cyan += pixel.blue() > 150 && pixel.green() > 120 && pixel.red() < 140;
            }
            return std::pair(cyan, image.height() / 2);
        };
        QCOMPARE(edge().first, 0);
        panel->model().setDropTargeted(true);
        QTRY_VERIFY(edge().first > 0);
        // Dashed: the border has gaps.
        const auto [cyan, length] = edge();
        QVERIFY2(cyan < length * 9 / 10, qPrintable(QStringLiteral("%1 of %2").arg(cyan).arg(length)));
        panel->model().setDropTargeted(false);
        QTRY_COMPARE(edge().first, 0);
    }

    // Files dropped on the card, or on its bubble, through its window: one upload with every file.
    void dropThroughTheView_data()
    {
        QTest::addColumn<bool>("bubble");
        QTest::addRow("card") << false;
        QTest::addRow("bubble") << true;
    }
    void dropThroughTheView()
    {
        QFETCH(bool, bubble);
        const QString a = file("a.txt");
        const QString b = file("b.txt");
        panel->present(files({"x.pdf"}));
        GlassPanel *window = panel->window()->panel();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        if (bubble) {
            panel->window()->minimize();
            scheduler.advance(Duration(0));
            QCOMPARE(window->size(), QSize(58, 58));
        }
        const QList<QUrl> dropped{QUrl::fromLocalFile(a), QUrl::fromLocalFile(dir->path()), QUrl::fromLocalFile(b)};
        QVERIFY(halvic::testing::dropUrls(window, QPoint(window->width() / 2, window->height() / 2), dropped));
        QCOMPARE(readJson(actionFile()), (QJsonObject{{"action", "upload"}, {"paths", QJsonArray{a, b}}}));
        QVERIFY(panel->model().uploading());
        QVERIFY(!panel->model().dropTargeted());
    }

    // However many files the engine lists, the card builds tiles only for what it shows.
    void aLongListBuildsOnlyTheTilesInView()
    {
        QStringList many;
        for (int i = 0; i < 5000; ++i)
            many << QStringLiteral("file %1.txt").arg(i);
        panel->present(files(many));
        QVERIFY(QTest::qWaitForWindowExposed(panel->window()->panel()));
        const qsizetype tiles
            = buttonsNamed(panel->window()->panel()->content(), QStringLiteral("Delete this file")).size();
        QVERIFY2(tiles > 5 && tiles < 100, qPrintable(QString::number(tiles)));
    }

    void engineRow_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QStringList>("expected");
        QTest::addRow("a list, bad entries skipped")
            << QByteArray(R"({"type":"storage","files":[{"name":"a"},{"size":3},"b",{"name":"../../etc\u0007"}]})")
            << QStringList{"a", "../../etc\u0007"};
        QTest::addRow("files not an array: an empty card")
            << QByteArray(R"({"type":"storage","files":{"name":"a"}})") << QStringList{};
        QTest::addRow("no files") << QByteArray(R"({"type":"storage"})") << QStringList{};
    }
    void engineRow()
    {
        QFETCH(QByteArray, json);
        QFETCH(QStringList, expected);
        EventDispatcher dispatcher;
        panel->registerRows(dispatcher);
        QVERIFY(dispatcher.dispatch(json));
        QCOMPARE(names(*panel), expected);
        QVERIFY(panel->window()->isShown());
        QVERIFY(!QFile::exists(actionFile()));
        QVERIFY(!QFile::exists(queryFile()));
    }
};

QTEST_MAIN(StorageTest)
#include "tst_storage.moc"
