#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPointer>
#include <QQmlEngine>
#include <QQmlEngineExtensionPlugin>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include "FifoWriter.h"
#include "GlassPanel.h"
#include "JsonFile.h"
#include "Popups.h"
#include "Scheduler.h"

Q_IMPORT_QML_PLUGIN(Halvic_PanelsPlugin)

using namespace halvic;
using halvic::testing::writeFile;

namespace {
QString writeImage(const QDir &dir, const QString &name, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    const QString path = dir.filePath(name);
    return image.save(path, "PNG") ? path : QString();
}
} // namespace

class PopupsTest : public QObject
{
    Q_OBJECT
private slots:
    void displaySize_data()
    {
        QTest::addColumn<QSize>("image");
        QTest::addColumn<QSize>("shown");
        QTest::addRow("wide") << QSize(2000, 1000) << QSize(520, 260);
        QTest::addRow("tall") << QSize(600, 1200) << QSize(260, 520);
        QTest::addRow("small keeps its size") << QSize(300, 200) << QSize(300, 200);
        QTest::addRow("exactly 520") << QSize(520, 100) << QSize(520, 100);
        QTest::addRow("one over") << QSize(521, 521) << QSize(520, 520);
    }
    void displaySize()
    {
        QFETCH(QSize, image);
        QFETCH(QSize, shown);
        QCOMPARE(popups::displaySize(image), shown);
    }

    void cascade()
    {
        QList<int> offsets;
        int offset = 0;
        for (int i = 0; i < 7; ++i) {
            offsets << offset;
            offset = popups::nextOffset(offset);
        }
        QCOMPARE(offsets, (QList<int>{0, 30, 60, 90, 120, 0, 30}));
    }

    void imageExtensions_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("image");
        for (const char *ext : {"png", "jpg", "jpeg", "gif", "webp", "heic", "bmp", "tiff"})
            QTest::addRow("%s", ext) << QStringLiteral("/tmp/a.") + QLatin1StringView(ext) << true;
        QTest::addRow("capitals") << "/tmp/SHOT.PNG" << true;
        QTest::addRow("pdf") << "/tmp/a.pdf" << false;
        QTest::addRow("tif is not listed") << "/tmp/a.tif" << false;
        QTest::addRow("no extension") << "/tmp/png" << false;
        QTest::addRow("dotted folder") << "/tmp/x.png/readme" << false;
    }
    void imageExtensions()
    {
        QFETCH(QString, path);
        QFETCH(bool, image);
        QCOMPARE(popups::hasImageExtension(path), image);
    }

    void imagesPopUpOtherFilesGoToTheDesktop()
    {
        QTemporaryDir dir;
        const QDir folder(dir.path());
        Fixture f;
        const QString wide = writeImage(folder, "wide.PNG", QSize(2000, 1000));
        f.popups.show(wide, QString());
        QTRY_COMPARE(f.popups.windows().size(), 1u);
        QCOMPARE(f.popups.windows().front()->size(), QSize(544, 312));
        QCOMPARE(f.popups.windows().front()->title(), "wide.PNG");

        const QString pdf = writeFile(folder, "report.pdf", "%PDF-1.4\n");
        f.popups.show(pdf, QStringLiteral("Report"));
        // Cut off halfway, an image by its header alone goes to the desktop as well.
        QFile image(wide);
        QVERIFY(image.open(QIODevice::ReadOnly));
        const QString broken = writeFile(folder, "broken.png", image.read(image.size() / 2));
        f.popups.show(broken, QString());
        QTRY_COMPARE(f.opened, (QList<QUrl>{QUrl::fromLocalFile(pdf), QUrl::fromLocalFile(broken)}));

        // Anything that could run code opens nothing at all.
        f.popups.show(writeFile(folder, "run.sh", "#!/bin/sh\ntouch /tmp/pwned\n"), QString());
        f.popups.show(writeFile(folder, "app.desktop", "[Desktop Entry]\nExec=xterm\n"), QString());
        // An image extension on something that is no image is judged like any other file.
        f.popups.show(writeFile(folder, "fake.png", "#!/bin/sh\n", true), QString());
        QTRY_COMPARE(f.popups.decoding(), 0u);
        QCOMPARE(f.opened.size(), 2);
        QCOMPARE(f.popups.windows().size(), 1u);
    }

    void popupsCascadeAndCloseOneByOne()
    {
        QTemporaryDir dir;
        const QString image = writeImage(QDir(dir.path()), "small.png", QSize(300, 200));
        Fixture f;
        for (int i = 0; i < 6; ++i)
            f.popups.show(image, QStringLiteral("Shot %1").arg(i));
        QTRY_COMPARE(f.popups.decoding(), 0u);
        const auto windows = f.popups.windows();
        QCOMPARE(windows.size(), 6u);
        const QPoint first = windows[0]->position();
        const QRect visible = QGuiApplication::primaryScreen()->availableGeometry();
        QCOMPARE(first, QPointF(QRectF(visible).center() - QPointF(150, 100)).toPoint());
        QList<int> offsets;
        for (const GlassPanel *window : windows) {
            QCOMPARE(window->position().x() - first.x(), window->position().y() - first.y());
            offsets << window->position().x() - first.x();
            QCOMPARE(window->size(), QSize(324, 252));
        }
        QCOMPARE(offsets, (QList<int>{0, 30, 60, 90, 120, 0}));

        windows[2]->close();
        const auto left = f.popups.windows();
        QCOMPARE(left.size(), 5u);
        QVERIFY(std::find(left.begin(), left.end(), windows[2]) == left.end());
        f.popups.closeAll();
        QVERIFY(f.popups.windows().empty());
        QCOMPARE(f.popups.offset(), 30);
    }

    void destroyingPopupsClosesEveryOpenWindow()
    {
        QTemporaryDir dir;
        const QString image = writeImage(QDir(dir.path()), "shot.png", QSize(40, 30));
        QList<QPointer<GlassPanel>> panels;
        {
            Fixture f;
            for (int i = 0; i < 3; ++i)
                f.popups.show(image, QString());
            QTRY_COMPARE(f.popups.decoding(), 0u);
            for (GlassPanel *panel : f.popups.windows())
                panels << panel;
            QCOMPARE(panels.size(), 3);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (const QPointer<GlassPanel> &panel : std::as_const(panels))
            QVERIFY(panel.isNull());
    }

    void aPipeNamedLikeAnImageIsNeverOpened()
    {
        QTemporaryDir dir;
        const FifoWriter pipe(QDir(dir.path()).filePath("shot.png"), "not an image");
        QVERIFY(pipe.created());
        Fixture f;
        f.popups.show(QDir(dir.path()).filePath("shot.png"), QString());
        QCOMPARE(f.popups.decoding(), 0u);
        QVERIFY(!pipe.readerCame());
        QVERIFY(f.popups.windows().empty());
        QVERIFY(f.opened.isEmpty());
    }

private:
    struct Fixture
    {
        Fixture()
            : popups(qml, scheduler, [this](const QUrl &url) { opened << url; })
        {
            qml.addImportPath(QStringLiteral("qrc:/"));
        }
        ManualScheduler scheduler;
        QQmlEngine qml;
        QList<QUrl> opened;
        Popups popups;
    };
};

QTEST_MAIN(PopupsTest)
#include "tst_popups.moc"
