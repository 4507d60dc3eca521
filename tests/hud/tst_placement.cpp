#include <QGuiApplication>
#include <QMouseEvent>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "AppModel.h"
#include "GlassPanel.h"
#include "HudPlacement.h"
#include "Scheduler.h"
#include "ScreenInfo.h"

using namespace halvic;
using namespace std::chrono_literals;

Q_DECLARE_METATYPE(halvic::HUDCorner)
Q_DECLARE_METATYPE(halvic::CornerMap)

namespace {
constexpr QSize panelSize{300, 100};
} // namespace

class PlacementTest : public QObject
{
    Q_OBJECT
private slots:
    void cornerNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("corner"); // -1: not a corner
        QTest::addRow("topLeft") << "topLeft" << int(HUDCorner::topLeft);
        QTest::addRow("topRight") << "topRight" << int(HUDCorner::topRight);
        QTest::addRow("bottomLeft") << "bottomLeft" << int(HUDCorner::bottomLeft);
        QTest::addRow("bottomRight") << "bottomRight" << int(HUDCorner::bottomRight);
        QTest::addRow("other case") << "TopLeft" << -1;
        QTest::addRow("spaced") << "top left" << -1;
        QTest::addRow("empty") << "" << -1;
    }
    void cornerNames()
    {
        QFETCH(QString, name);
        QFETCH(int, corner);
        const auto parsed = placement::cornerFromName(name);
        QCOMPARE(parsed ? int(*parsed) : -1, corner);
        if (parsed)
            QCOMPARE(placement::cornerName(*parsed), name);
    }

    void cornerForCentre_data()
    {
        QTest::addColumn<QPointF>("centre");
        QTest::addColumn<HUDCorner>("corner");
        // Usable area x 0…1440, y 30…900: its middle is (720, 465).
        QTest::addRow("upper left") << QPointF(100, 100) << HUDCorner::topLeft;
        QTest::addRow("upper right") << QPointF(1300, 100) << HUDCorner::topRight;
        QTest::addRow("lower left") << QPointF(100, 800) << HUDCorner::bottomLeft;
        QTest::addRow("lower right") << QPointF(1300, 800) << HUDCorner::bottomRight;
        QTest::addRow("on the middle goes right and down") << QPointF(720, 465) << HUDCorner::bottomRight;
        QTest::addRow("just left of the middle") << QPointF(719.5, 465) << HUDCorner::bottomLeft;
        QTest::addRow("just above the middle") << QPointF(720, 464.5) << HUDCorner::topRight;
        QTest::addRow("outside, far up left") << QPointF(-50, -50) << HUDCorner::topLeft;
    }
    void cornerForCentre()
    {
        QFETCH(QPointF, centre);
        QFETCH(HUDCorner, corner);
        QCOMPARE(placement::cornerForCentre(centre, QRectF(0, 30, 1440, 870)), corner);
    }

    void dockSide_data()
    {
        QTest::addColumn<double>("centreX");
        QTest::addColumn<QString>("side");
        // A second screen to the right: x 1440…3360, middle 2400.
        QTest::addRow("left half") << 1600.0 << "left";
        QTest::addRow("right half") << 3000.0 << "right";
        QTest::addRow("middle") << 2400.0 << "right";
    }
    void dockSide()
    {
        QFETCH(double, centreX);
        QFETCH(QString, side);
        QCOMPARE(placement::dockSideForCentre(centreX, QRectF(1440, 0, 1920, 1080)), side);
    }

    void storedCorners_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<CornerMap>("corners");
        QTest::addRow("two displays") << QVariant(QVariantMap{{"1", "bottomRight"}, {"4294967295", "topLeft"}})
                                      << CornerMap{{1, HUDCorner::bottomRight}, {4294967295u, HUDCorner::topLeft}};
        QTest::addRow("bad entries skipped") << QVariant(QVariantMap{{"7", "topRight"}, {"x7", "topLeft"},
            {"-1", "topLeft"}, {"4294967296", "topLeft"}, {"8", "middle"}, {"9", 3}, {"", "topLeft"}})
                                             << CornerMap{{7, HUDCorner::topRight}};
        QTest::addRow("not a map") << QVariant(QStringLiteral("bottomRight")) << CornerMap{};
        QTest::addRow("nothing stored") << QVariant() << CornerMap{};
    }
    void storedCorners()
    {
        QFETCH(QVariant, stored);
        QFETCH(CornerMap, corners);
        QCOMPARE(placement::cornersFromVariant(stored), corners);
        QCOMPARE(placement::cornersFromVariant(placement::cornersToVariant(corners)), corners);
    }

    void firstLaunchSitsBottomRight()
    {
        Fixture f(m_dir.filePath("first.ini"));
        f.placement->reanchor();
        const QRect visible = f.screen().availableGeometry();
        QCOMPARE(f.panel.geometry().bottomRight() + QPoint(1, 1),
            QPoint(visible.x() + visible.width() - 22, visible.y() + visible.height() - 22));
    }

    void modelChangesReanchorAtMostEvery80ms()
    {
        Fixture f(m_dir.filePath("throttle.ini"));
        f.placement->reanchor();
        const QPoint anchored = f.panel.position();
        f.panel.setPosition(5, 5); // the program's own move: no button held
        QVERIFY(!f.placement->dragPending());
        f.model.setDraft(QStringLiteral("a"));
        f.scheduler.advance(40ms);
        f.model.setDraft(QStringLiteral("ab"));
        f.scheduler.advance(39ms);
        QCOMPARE(f.panel.position(), QPoint(5, 5));
        f.scheduler.advance(1ms);
        QCOMPARE(f.panel.position(), anchored);
        QCOMPARE(f.scheduler.pendingCount(), 0u);
    }

    void dragSnapsToTheQuadrantCornerAndIsRemembered()
    {
        const QString store = m_dir.filePath("snap.ini");
        {
            Fixture f(store);
            f.placement->reanchor();
            const QRect visible = f.screen().availableGeometry();
            f.grab();
            f.panel.setPosition(visible.x() + 40, visible.y() + 30);
            QVERIFY(f.placement->dragPending());
            f.scheduler.advance(200ms);
            f.panel.setPosition(visible.x() + 50, visible.y() + 35); // still moving
            f.held = false;
            f.scheduler.advance(299ms);
            QCOMPARE(f.panel.position(), QPoint(visible.x() + 50, visible.y() + 35));
            f.scheduler.advance(1ms);
            f.held = true;
            QCOMPARE(f.panel.position(), QPoint(visible.x() + 22, visible.y() + 22));
            QVERIFY(f.placement->snapping());
            // The snap's own moves (with the button still down) start no new drag.
            f.panel.setPosition(visible.x() + 23, visible.y() + 22);
            QVERIFY(!f.placement->dragPending());
            f.scheduler.advance(200ms);
            QVERIFY(!f.placement->snapping());

            const QSettings settings(store, QSettings::IniFormat);
            const QVariantMap saved = settings.value(placement::cornerSettingsKey).toMap();
            QCOMPARE(saved.value(QString::number(screens::displayNumber(f.screen()))).toString(), "topLeft");
        }
        Fixture again(store);
        again.placement->reanchor();
        const QRect visible = again.screen().availableGeometry();
        QCOMPARE(again.panel.position(), QPoint(visible.x() + 22, visible.y() + 22));
    }

    void pauseWithTheButtonDownDoesNotSnap()
    {
        Fixture f(m_dir.filePath("pause.ini"));
        f.placement->reanchor();
        f.grab();
        f.panel.setPosition(30, 30);
        f.scheduler.advance(2s);
        QCOMPARE(f.panel.position(), QPoint(30, 30));
        QVERIFY(f.placement->dragPending());
        f.held = false;
        f.scheduler.advance(HudPlacement::snapDelay);
        QVERIFY(!f.placement->dragPending());
        QCOMPARE(f.placement->corners().size(), 1u);
    }

    void snapKeepsOtherDisplaysEntries()
    {
        const QString store = m_dir.filePath("others.ini");
        {
            QSettings settings(store, QSettings::IniFormat);
            settings.setValue(placement::cornerSettingsKey, QVariantMap{{"12345", "topRight"}, {"bad", "topLeft"}});
        }
        Fixture f(store);
        f.placement->reanchor();
        f.grab();
        const QRect visible = f.screen().availableGeometry();
        f.panel.setPosition(visible.x() + 10, visible.bottom() - 120);
        f.held = false;
        f.scheduler.advance(HudPlacement::snapDelay);
        const CornerMap expected{
            {12345, HUDCorner::topRight}, {screens::displayNumber(f.screen()), HUDCorner::bottomLeft}};
        QCOMPARE(f.placement->corners(), expected);
    }

    void moveReportedJustAfterReleaseOnThePanelIsADrag()
    {
        // Window managers may report a drag's move only once the button is up again.
        Fixture f(m_dir.filePath("release.ini"));
        f.placement->reanchor();
        const auto send = [&](QEvent::Type type) {
            QMouseEvent event(type, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&f.panel, &event);
        };
        send(QEvent::MouseButtonPress);
        emit f.panel.userMoveStarted();
        send(QEvent::MouseButtonRelease);
        f.scheduler.advance(HudPlacement::releaseGrace);
        f.panel.setPosition(30, 30);
        QVERIFY(f.placement->dragPending());
        f.scheduler.advance(HudPlacement::snapDelay + HudPlacement::snapSettle);
        QCOMPARE(f.placement->corners().size(), 1u);

        send(QEvent::MouseButtonPress);
        emit f.panel.userMoveStarted();
        send(QEvent::MouseButtonRelease);
        f.scheduler.advance(HudPlacement::releaseGrace + 1ms);
        f.panel.setPosition(40, 40);
        QVERIFY(!f.placement->dragPending());
    }

    // The HUD's own moves happen with the button down too: a docked strip following its
    // resize handle, a click (on the panel or in another application) that changes its size.
    // None of them is a drag: no snap, no stored corner, re-anchoring goes on.
    void ownMovesWithTheButtonDownAreNotDrags_data()
    {
        QTest::addColumn<bool>("clickOnThePanel");
        QTest::addRow("button held in another application") << false;
        QTest::addRow("a click on the panel") << true;
    }
    void ownMovesWithTheButtonDownAreNotDrags()
    {
        QFETCH(bool, clickOnThePanel);
        Fixture f(m_dir.filePath("own.ini"));
        f.placement->reanchor();
        const QPoint anchored = f.panel.position();
        f.held = true;
        if (clickOnThePanel) {
            QMouseEvent press(
                QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(&f.panel, &press);
        }
        f.panel.setPosition(anchored + QPoint(0, 40)); // what a resize of the panel looks like
        QVERIFY(!f.placement->dragPending());
        f.model.setDraft(QStringLiteral("x")); // re-anchoring is not blocked
        f.scheduler.advance(1s);
        QCOMPARE(f.panel.position(), anchored);
        QVERIFY(f.placement->corners().empty());
    }

    // Docked on the right, the strip follows its resize handle: the width it is given moves
    // its left edge while the button is down, and that is not a drag that stops it.
    void dockedStripFollowsItsResizeHandle()
    {
        Fixture f(m_dir.filePath("handle.ini"));
        f.model.setDocked(true);
        f.model.setDockSide(QStringLiteral("right"));
        f.model.setDockWidth(300);
        f.placement->reanchor();
        f.held = true;
        for (const double width : {320.0, 380.0, 500.0}) {
            f.model.setDockWidth(width);
            f.scheduler.advance(HudPlacement::throttle);
            QCOMPARE(f.panel.width(), int(width));
            QVERIFY(!f.placement->dragPending());
        }
        const QRect visible = f.screen().availableGeometry();
        QCOMPARE(f.panel.geometry().right() + 1, visible.x() + visible.width());
    }

    void movesWithoutTheButtonNeverSnap()
    {
        Fixture f(m_dir.filePath("nobutton.ini"));
        f.placement->reanchor();
        f.panel.setPosition(10, 10);
        f.scheduler.advance(1s);
        QVERIFY(!f.placement->dragPending());
        QVERIFY(f.placement->corners().empty());
        QCOMPARE(f.panel.position(), QPoint(10, 10));
    }

    void dockedStripClampsAndSwitchesSides()
    {
        Fixture f(m_dir.filePath("dock.ini"));
        f.model.setDockWidth(900);
        f.model.setDocked(true);
        f.placement->reanchor();
        const QRect visible = f.screen().availableGeometry();
        const int width = std::min(760, visible.width());
        QCOMPARE(f.panel.geometry(),
            QRect(visible.x(), visible.y(), width, f.screen().geometry().bottom() + 1 - visible.y()));

        f.model.setDockWidth(300);
        f.placement->reanchor();
        f.grab();
        f.panel.setPosition(visible.right() - 320, visible.y());
        f.held = false;
        f.scheduler.advance(HudPlacement::snapDelay);
        QCOMPARE(f.model.dockSide(), "right");
        QCOMPARE(f.panel.geometry().right() + 1, visible.x() + visible.width());
        QVERIFY(f.placement->corners().empty());
    }

    // On screen, docking and collapsing glide into their frames (the pill's measured once its
    // content has settled) and then nothing keeps running; a new dock width is taken at once.
    void reshapingGlides()
    {
        Fixture f(m_dir.filePath("glide.ini"));
        QQmlEngine engine;
        QQmlComponent component(&engine);
        component.setData("import QtQuick; import QtQuick.Layouts\n Item { id: root; property bool small;"
                          " implicitWidth: small ? 100 : 300; implicitHeight: row.implicitHeight; RowLayout { id: row;"
                          " Item { implicitHeight: root.small ? 40 : 200 } } }",
            QUrl());
        f.panel.setContent(qobject_cast<QQuickItem *>(component.create()));
        QObject::connect(&f.model, &AppModel::collapsedChanged, f.panel.content(),
            [&] { f.panel.content()->setProperty("small", f.model.collapsed()); });
        f.panel.show();
        f.placement->reanchor();
        const QRect visible = f.screen().availableGeometry();
        const QRect strip
            = placement::dockedFrame(visible, f.screen().geometry(), f.model.dockWidth(), QStringLiteral("right"))
                  .toRect();
        const QRect pill(
            placement::cornerOrigin(visible, QSize(100, 40), HUDCorner::bottomRight).toPoint(), QSize(100, 40));
        const auto glidesInto = [&](const std::function<void()> &reshape, const QRect &frame) {
            const QRect before = f.panel.geometry();
            reshape();
            f.scheduler.advance(HudPlacement::throttle + 50ms);
            QVERIFY(f.panel.geometry() != before && f.panel.geometry() != frame);
            QCOMPARE(f.panel.restingGeometry(), frame);
            f.scheduler.advance(1s);
            QCOMPARE(f.panel.geometry(), frame);
            QCOMPARE(f.scheduler.pendingCount(), 0u);
        };
        glidesInto(
            [&] {
                f.model.setDockSide("right");
                f.model.setDocked(true);
            },
            strip);
        glidesInto([&] { f.model.setCollapsed(true); }, pill);
        f.model.setCollapsed(false);
        f.scheduler.advance(1s);
        f.model.setDockWidth(400);
        f.scheduler.advance(HudPlacement::throttle);
        QCOMPARE(f.panel.width(), 400);
    }

private:
    struct Fixture
    {
        explicit Fixture(const QString &store)
            : model(scheduler)
            , panel(scheduler, panelSize)
        {
            placement = std::make_unique<HudPlacement>(panel, model, scheduler,
                std::make_unique<QSettings>(store, QSettings::IniFormat), [this] { return held; });
        }
        const QScreen &screen() const { return *QGuiApplication::primaryScreen(); }
        // The user takes the panel by its background: the button is down and the panel
        // hands the move to the window manager.
        void grab()
        {
            held = true;
            emit panel.userMoveStarted();
        }

        ManualScheduler scheduler;
        AppModel model;
        GlassPanel panel;
        bool held = false;
        std::unique_ptr<HudPlacement> placement;
    };

    QTemporaryDir m_dir;
};

QTEST_MAIN(PlacementTest)
#include "tst_placement.moc"
