#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMimeData>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "AppModel.h"
#include "HudPlacement.h"
#include "PasteAttachments.h"
#include "Scheduler.h"

using namespace halvic;

Q_DECLARE_METATYPE(halvic::HUDCorner)

namespace {
std::unique_ptr<QMimeData> mime(const QStringList &files, const QString &text, const QImage &image = {})
{
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const QString &file : files)
        urls << (file.contains(u':') ? QUrl(file) : QUrl::fromLocalFile(file));
    if (!urls.isEmpty())
        data->setUrls(urls);
    if (!text.isNull())
        data->setText(text);
    if (!image.isNull())
        data->setImageData(image);
    return data;
}
} // namespace

class HudShellTest : public QObject
{
    Q_OBJECT
private slots:
    void corners_data()
    {
        QTest::addColumn<HUDCorner>("corner");
        QTest::addColumn<QPointF>("origin");
        // A 1440 x 900 screen with a 30-point top bar; the panel is 360 x 200.
        QTest::addRow("bottom right") << HUDCorner::bottomRight << QPointF(1440 - 360 - 22, 900 - 200 - 22);
        QTest::addRow("bottom left") << HUDCorner::bottomLeft << QPointF(22, 900 - 200 - 22);
        QTest::addRow("top right") << HUDCorner::topRight << QPointF(1440 - 360 - 22, 30 + 22);
        QTest::addRow("top left") << HUDCorner::topLeft << QPointF(22, 52);
    }
    void corners()
    {
        QFETCH(HUDCorner, corner);
        QFETCH(QPointF, origin);
        QCOMPARE(placement::cornerOrigin(QRectF(0, 30, 1440, 870), QSizeF(360, 200), corner), origin);
    }

    void dockedStrip_data()
    {
        QTest::addColumn<double>("width");
        QTest::addColumn<QString>("side");
        QTest::addColumn<QRectF>("frame");
        QTest::addRow("left") << 340.0 << "left" << QRectF(0, 30, 340, 870);
        QTest::addRow("right") << 340.0 << "right" << QRectF(1100, 30, 340, 870);
        QTest::addRow("too wide is 760") << 900.0 << "right" << QRectF(680, 30, 760, 870);
        QTest::addRow("too narrow is 260") << 10.0 << "left" << QRectF(0, 30, 260, 870);
    }
    void dockedStrip()
    {
        QFETCH(double, width);
        QFETCH(QString, side);
        QFETCH(QRectF, frame);
        // The usable area stops 40 points above the bottom (a dock); the strip still runs
        // to the bottom of the screen.
        QCOMPARE(placement::dockedFrame(QRectF(0, 30, 1440, 830), QRectF(0, 0, 1440, 900), width, side), frame);
    }

    void whatThePasteKeyAttaches_data()
    {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("image");
        QTest::addColumn<bool>("attaches");
        QTest::addRow("text") << QStringList{} << "hello" << false << false;
        QTest::addRow("files with their names as text") << QStringList{"/tmp/a.txt"} << "/tmp/a.txt" << false << true;
        QTest::addRow("web links are not files") << QStringList{"https://example.org/x"} << "" << false << false;
        QTest::addRow("image alone") << QStringList{} << QString() << true << true;
        QTest::addRow("image with text") << QStringList{} << "caption" << true << false;
        QTest::addRow("image with empty text") << QStringList{} << "" << true << true;
        QTest::addRow("nothing") << QStringList{} << QString() << false << false;
    }
    void whatThePasteKeyAttaches()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, text);
        QFETCH(bool, image);
        QFETCH(bool, attaches);
        QImage picture(4, 4, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QCOMPARE(pasteAttaches(*mime(files, text, image ? picture : QImage())), attaches);
    }

    void pasteAttachesFilesOrAppendsText()
    {
        ManualScheduler scheduler;
        AppModel model(scheduler);
        PasteAttachments paste(model, QDir::tempPath());
        model.setDraft(QStringLiteral("say "));
        paste.paste(*mime({}, QStringLiteral("<b>hi</b>")));
        QCOMPARE(model.draft(), QStringLiteral("say <b>hi</b>"));

        QStringList hundred;
        for (int i = 0; i < 100; ++i)
            hundred << QStringLiteral("/tmp/file%1.txt").arg(i);
        paste.paste(*mime(hundred + QStringList{"https://example.org"}, hundred.join(u'\n')));
        QCOMPARE(model.attachments().size(), 100);
        QCOMPARE(model.attachments().front(), QUrl::fromLocalFile(QStringLiteral("/tmp/file0.txt")));
        QCOMPARE(model.draft(), QStringLiteral("say <b>hi</b>"));
    }

    void pastedImageBecomesAPngInTheTemporaryFolder()
    {
        ManualScheduler scheduler;
        AppModel model(scheduler);
        QTemporaryDir folder;
        PasteAttachments paste(model, folder.path());
        QSignalSpy attached(&paste, &PasteAttachments::imageAttached);
        QImage picture(64, 32, QImage::Format_ARGB32);
        picture.fill(Qt::blue);
        paste.paste(*mime({}, QString(), picture));
        QVERIFY(attached.wait(5000));

        const QString path = attached.front().front().toString();
        const QString name = QFileInfo(path).fileName();
        QVERIFY2(QRegularExpression(QStringLiteral("^halvic-paste-[0-9A-F-]{36}\\.png$")).match(name).hasMatch(),
            qPrintable(name));
        QCOMPARE(QFileInfo(path).absolutePath(), QDir(folder.path()).absolutePath());
        QCOMPARE(model.attachments(), QList<QUrl>{QUrl::fromLocalFile(path)});
        const QImage written(path);
        QCOMPARE(written.size(), QSize(64, 32));
        QCOMPARE(written.pixelColor(10, 10), QColor(Qt::blue));
    }

    void pasteIntoAMissingFolderStillAttaches()
    {
        ManualScheduler scheduler;
        AppModel model(scheduler);
        PasteAttachments paste(model, QStringLiteral("/nonexistent/halvic"));
        QSignalSpy attached(&paste, &PasteAttachments::imageAttached);
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Qt::green);
        paste.paste(*mime({}, QString(), picture));
        QVERIFY(attached.wait(5000));
        QCOMPARE(model.attachments().size(), 1);
        QVERIFY(!QFile::exists(model.attachments().front().toLocalFile()));
    }
};

QTEST_MAIN(HudShellTest)
#include "tst_hudshell.moc"
