// The real HUD on two displays (Xorg's dummy driver: DUMMY0 1400x900 at the origin, DUMMY1
// 1920x1080 right of it): a corner remembered per display across restarts, and a restart
// after the primary display changed.

#include <QTest>

#include "HudSession.h"

using namespace halvic::testing;

namespace {
constexpr int inset = 22;
} // namespace

class TwoDisplaysEndToEndTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<HudSession> session;

    QRect waitForGeometry(const std::function<bool(const QRect &)> &condition) const
    {
        return session->waitForHudGeometry(condition);
    }
    void drag(const QRect &frame, QPoint drop) const { session->dragHud(frame, drop); }

    void restart()
    {
        session->stopHud();
        QVERIFY(session->startHud());
        QVERIFY(session->waitToFind(QStringLiteral("listening\u2026")));
    }

    static QPoint bottomRight(const QRect &display, const QRect &frame)
    {
        return {display.right() + 1 - inset - frame.width(), display.bottom() + 1 - inset - frame.height()};
    }

private slots:
    void init()
    {
        session = std::make_unique<HudSession>(X11Session::TwoDisplays{});
        if (!session->ok())
            QFAIL(qPrintable(QStringLiteral("no two-display X session: ") + session->error()));
    }
    void cleanup() { session.reset(); }

    void cornersPerDisplayAndThePrimaryDisplay()
    {
        const QRect first = X11Session::firstDisplay;
        const QRect second = X11Session::secondDisplay;
        QVERIFY(session->startHud());
        QVERIFY(session->waitToFind(QStringLiteral("listening\u2026")));
        // A first start: the primary display's bottom-right corner.
        QRect frame
            = waitForGeometry([&](const QRect &f) { return f.width() == 360 && f.topLeft() == bottomRight(first, f); });
        QCOMPARE(frame.topLeft(), bottomRight(first, frame));

        // Dragged into the second display's upper-left quadrant: its top-left corner.
        drag(frame, second.topLeft() + QPoint(300, 250));
        frame = waitForGeometry([&](const QRect &f) { return f.topLeft() == second.topLeft() + QPoint(inset, inset); });
        QCOMPARE(frame.topLeft(), second.topLeft() + QPoint(inset, inset));

        // Restarted, it starts on the primary display, at that display's corner (none
        // stored yet: bottom right).
        restart();
        frame
            = waitForGeometry([&](const QRect &f) { return f.width() == 360 && f.topLeft() == bottomRight(first, f); });
        QCOMPARE(frame.topLeft(), bottomRight(first, frame));

        // Dragged to the first display's top left and restarted: there again.
        drag(frame, first.topLeft() + QPoint(300, 250));
        frame = waitForGeometry([&](const QRect &f) { return f.topLeft() == QPoint(inset, inset); });
        QCOMPARE(frame.topLeft(), QPoint(inset, inset));
        restart();
        frame
            = waitForGeometry([&](const QRect &f) { return f.width() == 360 && f.topLeft() == QPoint(inset, inset); });
        QCOMPARE(frame.topLeft(), QPoint(inset, inset));

        // The second display made the primary one: a restarted HUD starts there, at the
        // corner remembered for it.
        QVERIFY(session->x().setPrimary(QStringLiteral("DUMMY1")));
        restart();
        frame = waitForGeometry([&](const QRect &f) { return f.topLeft() == second.topLeft() + QPoint(inset, inset); });
        QCOMPARE(frame.topLeft(), second.topLeft() + QPoint(inset, inset));
    }
};

QTEST_GUILESS_MAIN(TwoDisplaysEndToEndTest)
#include "tst_twodisplays_e2e.moc"
