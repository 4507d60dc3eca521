#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QSignalSpy>
#include <QTest>

#include "Bubble.h"
#include "GlassPanel.h"
#include "LongPress.h"
#include "MenuPopup.h"

using namespace halvic;
using namespace std::chrono_literals;

Q_DECLARE_METATYPE(std::optional<QRectF>)

class PanelsTest : public QObject
{
    Q_OBJECT

    ManualScheduler scheduler;
    int begins = 0;
    int fired = 0;
    QStringList order;

    LongPress::Hooks counting(std::function<bool()> can = {})
    {
        return {
            .canLongPress = std::move(can),
            .onLongPressBegin =
                [this] {
                    ++begins;
                    order << QStringLiteral("begin");
                },
            .onLongPress =
                [this] {
                    ++fired;
                    order << QStringLiteral("press");
                },
        };
    }

private slots:
    void init()
    {
        begins = fired = 0;
        order.clear();
    }

    // A script of pointer steps: "d" down, "m x y" move by (x, y) from the press, "w ms"
    // wait, "u" up.
    void longPress_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<int>("fires");
        QTest::addRow("held still") << QStringList{"d", "w 500"} << 1;
        QTest::addRow("held 499 ms") << QStringList{"d", "w 499"} << 0;
        QTest::addRow("moved 5 points") << QStringList{"d", "m 3 4", "w 500"} << 1;
        QTest::addRow("moved exactly 6 points") << QStringList{"d", "m 6 0", "w 500"} << 1;
        QTest::addRow("moved 7 points and back") << QStringList{"d", "m 7 0", "m 0 0", "w 500"} << 0;
        QTest::addRow("released at 0.4 s") << QStringList{"d", "w 400", "u", "w 600"} << 0;
        QTest::addRow("a new press restarts the wait") << QStringList{"d", "w 400", "d", "w 400"} << 0;
        QTest::addRow("a new press then held") << QStringList{"d", "w 400", "d", "w 500"} << 1;
        QTest::addRow("fires once however long") << QStringList{"d", "w 5000", "u"} << 1;
    }
    void longPress()
    {
        QFETCH(QStringList, steps);
        QFETCH(int, fires);
        LongPress detector(scheduler);
        detector.setHooks(counting());
        const QPointF origin(100, 100);
        for (const QString &step : steps) {
            const QStringList parts = step.split(u' ');
            if (parts[0] == u"d")
                detector.press(origin, true);
            else if (parts[0] == u"u")
                detector.release();
            else if (parts[0] == u"m")
                detector.move(origin + QPointF(parts[1].toDouble(), parts[2].toDouble()));
            else if (parts[0] == u"w")
                scheduler.advance(std::chrono::milliseconds(parts[1].toInt()));
        }
        QCOMPARE(fired, fires);
        QCOMPARE(begins, fires);
        if (fires)
            QCOMPARE(order, (QStringList{QStringLiteral("begin"), QStringLiteral("press")}));
    }

    void longPressRespectsItsGuards()
    {
        LongPress detector(scheduler);
        bool allowed = false;
        detector.setHooks(counting([&] { return allowed; }));

        detector.press({0, 0}, true); // refused at the start
        scheduler.advance(1s);
        QCOMPARE(fired, 0);

        allowed = true;
        detector.press({0, 0}, false); // on a control
        scheduler.advance(1s);
        QCOMPARE(fired, 0);

        detector.press({0, 0}, true);
        allowed = false; // refused when it completes
        scheduler.advance(1s);
        QCOMPARE(fired, 0);
        QVERIFY(!detector.isPending());

        allowed = true;
        detector.press({0, 0}, true);
        scheduler.advance(1s);
        QCOMPARE(fired, 1);

        detector.setHooks({});
        detector.press({0, 0}, true);
        QVERIFY(!detector.isPending());
    }

    void refit_data()
    {
        QTest::addColumn<QRectF>("frame");
        QTest::addColumn<QSizeF>("fitting");
        QTest::addColumn<std::optional<QRectF>>("visible");
        QTest::addColumn<std::optional<QRectF>>("result");
        const std::optional<QRectF> screen = QRectF(0, 0, 1440, 900);
        QTest::addRow("grows around its centre")
            << QRectF(600, 400, 100, 100) << QSizeF(200, 50) << screen << std::optional(QRectF(550, 425, 200, 50));
        QTest::addRow("kept 8 inside the right edge")
            << QRectF(1380, 400, 58, 58) << QSizeF(400, 300) << screen << std::optional(QRectF(1032, 279, 400, 300));
        QTest::addRow("kept 8 inside the top left")
            << QRectF(0, 0, 20, 20) << QSizeF(100, 100) << screen << std::optional(QRectF(8, 8, 100, 100));
        QTest::addRow("no screen, no clamping") << QRectF(0, 0, 20, 20) << QSizeF(100, 100) << std::optional<QRectF>()
                                                << std::optional(QRectF(-40, -40, 100, 100));
        QTest::addRow("degenerate width")
            << QRectF(0, 0, 20, 20) << QSizeF(1, 100) << screen << std::optional<QRectF>();
        QTest::addRow("degenerate height")
            << QRectF(0, 0, 20, 20) << QSizeF(100, 0) << screen << std::optional<QRectF>();
    }
    void refit()
    {
        QFETCH(QRectF, frame);
        QFETCH(QSizeF, fitting);
        QFETCH(std::optional<QRectF>, visible);
        QFETCH(std::optional<QRectF>, result);
        QCOMPARE(refitKeepingCenter(frame, fitting, visible), result);
    }

    // A bubble's help goes beside it on its screen, never over it.
    void hintBeside_data()
    {
        QTest::addColumn<QRect>("bubble");
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QPoint>("at");
        // A 100 × 20 hint, 6 points from the bubble; a usable area below a 30-point bar.
        const QRect wide(0, 30, 1440, 870), narrow(1250, 30, 190, 870);
        QTest::addRow("right of it") << QRect(600, 400, 58, 58) << wide << QPoint(664, 419);
        QTest::addRow("left of it at the right edge") << QRect(1370, 400, 58, 58) << wide << QPoint(1264, 419);
        QTest::addRow("slides down below the bar") << QRect(8, 0, 58, 30) << wide << QPoint(72, 30);
        QTest::addRow("slides up above the bottom") << QRect(8, 890, 58, 40) << wide << QPoint(72, 880);
        QTest::addRow("below when neither side fits") << QRect(1340, 400, 58, 58) << narrow << QPoint(1319, 464);
        QTest::addRow("above when nothing else fits") << QRect(1340, 860, 58, 40) << narrow << QPoint(1319, 834);
    }
    void hintBeside()
    {
        QFETCH(QRect, bubble);
        QFETCH(QRect, area);
        QFETCH(QPoint, at);
        QCOMPARE(halvic::hintBeside(bubble, QSize(100, 20), area), at);
    }

    // Keys move over choosable entries only, wrapping; -1 is "none current".
    void menuKeys_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("to");
        QTest::addRow("down from none") << -1 << 1 << 0;
        QTest::addRow("up from none") << -1 << -1 << 4;
        QTest::addRow("down skips the separator and the disabled") << 0 << 1 << 4;
        QTest::addRow("down wraps") << 4 << 1 << 0;
        QTest::addRow("up skips back") << 4 << -1 << 0;
        QTest::addRow("up wraps") << 0 << -1 << 4;
    }
    void menuKeys()
    {
        QFETCH(int, from);
        QFETCH(int, step);
        QFETCH(int, to);
        const auto entry = [](bool enabled, bool hasAction) {
            MenuEntry made;
            made.enabled = enabled;
            made.action = hasAction ? std::function<void()>([] {}) : nullptr;
            return made;
        };
        const Menu menu{
            entry(true, true), MenuEntry::divider(), entry(false, true), entry(true, false), entry(true, true)};
        QCOMPARE(menus::step(menu, from, step), to);
        QCOMPARE(menus::first(menu), 0);
        QCOMPARE(menus::last(menu), 4);
        QCOMPARE(menus::step(Menu{MenuEntry::divider()}, -1, 1), -1);
    }

    // A glide reaches its frame and then schedules nothing more; a hidden panel jumps.
    void glideLandsAndStops()
    {
        GlassPanel panel(scheduler, QSize(100, 100));
        QSignalSpy landed(&panel, &GlassPanel::glideLanded);
        const QRect start(100, 100, 100, 100), end(400, 100, 300, 200);
        panel.glideTo(start);
        QCOMPARE(panel.geometry(), start);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        panel.glideTo(end);
        scheduler.advance(100ms);
        QVERIFY(panel.geometry().x() > start.x() && panel.geometry().x() < end.x());
        QCOMPARE(panel.restingGeometry(), end);
        scheduler.advance(1s);
        QCOMPARE(panel.geometry(), end);
        QCOMPARE(landed.size(), 1);
        QVERIFY(!panel.isGliding());
        QCOMPARE(scheduler.pendingCount(), 0u);
    }

    // Real mouse events on a real panel: the long press starts only on the background.
    void panelLongPressOnlyOnBackground_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<int>("fires");
        QTest::addRow("background") << QPoint(150, 150) << 1;
        QTest::addRow("button") << QPoint(20, 20) << 0;
        QTest::addRow("text field") << QPoint(20, 120) << 0;
        QTest::addRow("tap-only item") << QPoint(150, 20) << 1;
        QTest::addRow("drag handler") << QPoint(150, 70) << 0;
        QTest::addRow("list") << QPoint(20, 170) << 0;
    }
    void panelLongPressOnlyOnBackground()
    {
        QFETCH(QPoint, at);
        QFETCH(int, fires);
        QQmlEngine engine;
        QQmlComponent component(&engine);
        component.setData(R"(
            import QtQuick
            import QtQuick.Controls.Basic
            Item {
                implicitWidth: 200; implicitHeight: 200
                property int clicks: 0
                Button { x: 0; y: 0; width: 60; height: 40; onClicked: parent.clicks++ }
                TextField { x: 0; y: 100; width: 100; height: 40 }
                // Handlers make their item accept every button; only some stop a drag.
                TapHandler { acceptedButtons: Qt.RightButton }
                Rectangle { x: 120; y: 0; width: 60; height: 40; TapHandler {} HoverHandler {} }
                Rectangle { x: 120; y: 50; width: 60; height: 40; DragHandler {} }
                ListView { x: 0; y: 150; width: 60; height: 40; model: 3; delegate: Text { text: index } }
            })",
            QUrl());
        auto *item = qobject_cast<QQuickItem *>(component.create());
        QVERIFY2(item, qPrintable(component.errorString()));
        GlassPanel panel(scheduler, QSize(100, 100));
        panel.setContent(item);
        QCOMPARE(panel.size(), QSize(200, 200));
        QVERIFY(panel.flags().testFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint));
        panel.setLongPressHooks(counting());
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));

        QTest::mousePress(&panel, Qt::LeftButton, {}, at);
        scheduler.advance(600ms);
        QCOMPARE(fired, fires);
        QTest::mouseRelease(&panel, Qt::LeftButton, {}, at);
        // A press on the button still clicks it.
        QCOMPARE(item->property("clicks").toInt(), at == QPoint(20, 20) ? 1 : 0);
    }

    void bubbleTogglesOnLongPress()
    {
        GlassPanel panel(scheduler, QSize(200, 200));
        BubbleController bubble(scheduler);
        QList<bool> toggled;
        // Called after the state has changed, with the new value.
        QObject::connect(&bubble, &BubbleController::toggled,
            [&](bool minimized) { toggled << (minimized == bubble.state().minimized() ? minimized : !minimized); });
        bool canMinimize = false;
        bubble.canMinimize = [&] { return canMinimize; };
        bubble.attach(panel);
        const auto hold = [&] {
            QTest::mousePress(&panel, Qt::LeftButton, {}, QPoint(50, 50));
            scheduler.advance(500ms);
            QTest::mouseRelease(&panel, Qt::LeftButton, {}, QPoint(50, 50));
        };
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));

        hold(); // refused: this card cannot be minimised
        QVERIFY(!bubble.state().minimized());

        canMinimize = true;
        hold();
        QVERIFY(bubble.state().minimized());
        QVERIFY(bubble.state().pressCue());
        QCOMPARE(toggled, QList<bool>{true});
        scheduler.advance(160ms);
        QVERIFY(!bubble.state().pressCue());

        canMinimize = false; // a bubble always expands
        hold();
        scheduler.advance(0ms);
        QCOMPARE(toggled, (QList<bool>{true, false}));

        bubble.toggle();
        bubble.cue();
        bubble.reset();
        QVERIFY(!bubble.state().minimized());
        QVERIFY(!bubble.state().pressCue());
    }
};

QTEST_MAIN(PanelsTest)
#include "tst_panels.moc"
