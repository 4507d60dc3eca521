#include <QImage>
#include <QTest>

#include "HudSession.h"

using namespace halvic::testing;

namespace {
constexpr int inset = 22;

/// The window's _NET_WM_WINDOW_OPACITY as 0…1; 1 when the property is not set.
double opacityFrom(const QString &xprop)
{
    const auto match = QRegularExpression(QStringLiteral("= (\\d+)")).match(xprop);
    return match.hasMatch() ? match.captured(1).toDouble() / 4294967295.0 : 1.0;
}
} // namespace

/// Placement, snapping, idle dimming and image popups of the real HUD on Xvfb + openbox.
class PlacementEndToEndTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<HudSession> session;

    QRect waitForGeometry(const std::function<bool(const QRect &)> &condition) const
    {
        return session->waitForHudGeometry(condition);
    }

    double opacity() const { return opacityFrom(session->property(QStringLiteral("_NET_WM_WINDOW_OPACITY"))); }

    void writeConfig(const QByteArray &json) const
    {
        QDir().mkpath(session->root().file(QStringLiteral("control")));
        const QString path = session->root().file(QStringLiteral("control/hud_config.json"));
        QFile file(path + QStringLiteral(".tmp"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(json);
        file.close();
        QVERIFY(::rename(qPrintable(path + QStringLiteral(".tmp")), qPrintable(path)) == 0);
    }

    QStringList windowsNamed(const QString &name) const
    {
        return QString::fromLatin1(session->run(QStringLiteral("xdotool"),
                                       {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                           QStringLiteral("--name"), QStringLiteral("^%1$").arg(name)}))
            .split(u'\n', Qt::SkipEmptyParts);
    }

private slots:
    void init()
    {
        session = std::make_unique<HudSession>();
        if (!session->ok())
            QFAIL(qPrintable(QStringLiteral("no X session: ") + session->error()));
    }
    void cleanup() { session.reset(); }

    void dragSnapsToTheTopLeftAndSurvivesARestart()
    {
        QVERIFY(session->startHud());
        const QSize screen = HudSession::screenSize;
        QRect frame = waitForGeometry([&](const QRect &f) {
            return f.width() == 360 && f.right() + 1 == screen.width() - inset
                && f.bottom() + 1 == screen.height() - inset;
        });
        QCOMPARE(frame.right() + 1, screen.width() - inset);
        QCOMPARE(frame.bottom() + 1, screen.height() - inset);

        // Grab the header's background (right of the name, left of the buttons) and drag
        // it into the upper-left quadrant, then let go.
        session->dragHud(frame, QPoint(300, 250));
        frame = waitForGeometry([](const QRect &f) { return f.topLeft() == QPoint(inset, inset); });
        QCOMPARE(frame.topLeft(), QPoint(inset, inset));

        session->stopHud();
        QVERIFY(session->startHud());
        frame = waitForGeometry([](const QRect &f) { return f.topLeft() == QPoint(inset, inset) && f.width() == 360; });
        QCOMPARE(frame.topLeft(), QPoint(inset, inset));
    }

    // Docked on the right, the strip's width follows the resize handle while the button is
    // still down (its own resizes are no drag of the user's).
    void dockedStripFollowsItsResizeHandle()
    {
        QVERIFY(session->startHud());
        session->feed({engineEvent("dock", {{"on", true}, {"side", "right"}, {"width", 300}})});
        const QSize screen = HudSession::screenSize;
        QRect frame
            = waitForGeometry([&](const QRect &f) { return f.width() == 300 && f.right() + 1 == screen.width(); });
        QCOMPARE(frame.width(), 300);
        const QPoint handle(frame.x() + 3, frame.center().y());
        session->xdotool({QStringLiteral("mousemove"), QString::number(handle.x()), QString::number(handle.y()),
            QStringLiteral("mousedown"), QStringLiteral("1")});
        for (int step = 1; step <= 10; ++step) {
            session->xdotool(
                {QStringLiteral("mousemove"), QString::number(handle.x() - 20 * step), QString::number(handle.y())});
            if (step == 5) {
                // Half way, with the button still down: 100 points wider, right edge in place.
                frame = waitForGeometry([&](const QRect &f) { return f.width() == 400; });
                QCOMPARE(frame.width(), 400);
                QCOMPARE(frame.right() + 1, screen.width());
            }
            QTest::qWait(30);
        }
        frame = waitForGeometry([&](const QRect &f) { return f.width() == 500; });
        QCOMPARE(frame.width(), 500);
        session->xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
        QTest::qWait(800); // longer than a snap would take
        frame = waitForGeometry([&](const QRect &f) { return !f.isEmpty(); });
        QCOMPARE(frame.width(), 500);
        QCOMPARE(frame.right() + 1, screen.width());
    }

    // A click that changes the HUD's size (the collapsed pill opening) is no drag: the
    // stored corners stay as they were.
    void aClickThatResizesStoresNoCorner()
    {
        QVERIFY(session->startHud());
        session->feed({engineEvent("collapsed", {{"on", true}})});
        QRect pill = waitForGeometry([](const QRect &f) { return f.width() < 360 && f.width() > 1; });
        QVERIFY(pill.width() < 360);
        // Clicked where the pill has settled: the window manager may still be moving it into
        // its corner when its new size first shows.
        QTest::qWait(400);
        pill = waitForGeometry([](const QRect &f) { return f.width() < 360 && f.width() > 1; });
        session->click(QRect(pill.center(), QSize(1, 1)));
        const QRect open = waitForGeometry([](const QRect &f) { return f.width() == 360; });
        QCOMPARE(open.width(), 360);
        QTest::qWait(1000);
        const QString settings = session->root().file(QStringLiteral("config/Halvic/Halvic.conf"));
        QFile file(settings);
        const QByteArray stored = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        QVERIFY2(!stored.contains("cornerByScreen"), stored.constData());
        const QSize screen = HudSession::screenSize;
        QCOMPARE(open.right() + 1, screen.width() - inset);
        QCOMPARE(open.bottom() + 1, screen.height() - inset);
    }

    void idleHudDimsToTheConfiguredLevelAndFollowsRewrites()
    {
        writeConfig(R"({"idle_opacity": 50})");
        session->xdotool({QStringLiteral("mousemove"), QStringLiteral("10"), QStringLiteral("10")});
        QVERIFY(session->startHud());
        QVERIFY(HudSession::waitFor([&] { return std::abs(opacity() - 0.5) < 0.01; }, 20000));
        writeConfig(R"({"idle_opacity": "0.8"})");
        QVERIFY(HudSession::waitFor([&] { return std::abs(opacity() - 0.8) < 0.01; }, 5000));
        {
            // Rewritten in place, as `printf ... > hud_config.json` does.
            QFile inPlace(session->root().file(QStringLiteral("control/hud_config.json")));
            QVERIFY(inPlace.open(QIODevice::WriteOnly | QIODevice::Truncate));
            inPlace.write(R"({"idle_opacity": 30})");
        }
        QVERIFY(HudSession::waitFor([&] { return std::abs(opacity() - 0.3) < 0.01; }, 5000));
        // The pointer over the HUD brings it back.
        const QRect frame = waitForGeometry([](const QRect &f) { return !f.isEmpty(); });
        QVERIFY(!frame.isEmpty());
        session->xdotool(
            {QStringLiteral("mousemove"), QString::number(frame.center().x()), QString::number(frame.y() + 14)});
        QVERIFY(HudSession::waitFor([&] { return opacity() > 0.999; }, 5000));
    }

    void showPopsUpImagesAndRefusesScripts()
    {
        QVERIFY(session->startHud());
        const QString image = session->root().file(QStringLiteral("wide.png"));
        QImage picture(2000, 1000, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        QVERIFY(picture.save(image));
        session->feed({engineEvent("show", {{"path", image}, {"title", "A wide picture"}})});
        // Keep the id found: while the window manager reparents the new window it is briefly
        // unmapped, and a second search can come back empty.
        QStringList ids;
        QVERIFY(HudSession::waitFor(
            [&] { return !(ids = windowsNamed(QStringLiteral("A wide picture"))).isEmpty(); }, 10000));
        QString info;
        const bool sized = HudSession::waitFor(
            [&] {
                info = QString::fromLatin1(
                    session->run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), ids.front()}));
                return info.contains(QStringLiteral("Width: 544")) && info.contains(QStringLiteral("Height: 312"));
            },
            5000);
        QVERIFY2(sized, qPrintable(info));

        const QString script = session->root().file(QStringLiteral("evil.sh"));
        QFile file(script);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\ntouch \"$0.ran\"\n");
        file.close();
        file.setPermissions(file.permissions() | QFile::ExeOwner);
        session->feed({engineEvent("show", {{"path", script}, {"title", "A script"}})});
        QTest::qWait(2000);
        QVERIFY(windowsNamed(QStringLiteral("A script")).isEmpty());
        QVERIFY(windowsNamed(QStringLiteral("evil.sh")).isEmpty());
        QVERIFY(!QFile::exists(script + QStringLiteral(".ran")));
        QVERIFY(session->hud()->state() == QProcess::Running);
    }
};

QTEST_MAIN(PlacementEndToEndTest)
#include "tst_placement_e2e.moc"
