// The gesture controller's rules on a manual clock, with the pointer, the windows and the
// displays recorded instead of real: decoding, coordinates, the primary hand, clicks and
// drags, the watchdog, the centre pulse, the right-click flash and the fist.

#include <QTest>

#include <memory>

#include "EventDispatcher.h"
#include "FakeDesktop.h"
#include "GestureController.h"
#include "GestureMessage.h"
#include "GestureRow.h"
#include "Scheduler.h"

using namespace halvic;
using namespace std::chrono_literals;
using testing::FakeWindows;
using testing::RecordingPointer;
using Type = PointerEvent::Type;

Q_DECLARE_METATYPE(std::vector<PointerEvent>)

namespace {

ScreenInfo display(QRectF frame, QRectF visible, std::uint32_t id)
{
    ScreenInfo screen;
    screen.frame = frame;
    screen.visibleFrame = visible;
    screen.displayID = id;
    return screen;
}

QStringList describe(const std::vector<PointerEvent> &events)
{
    static const char *names[] = {"Move", "LeftDown", "LeftDrag", "LeftUp", "RightDown", "RightUp"};
    QStringList out;
    for (const PointerEvent &event : events)
        out << QStringLiteral("%1(%2,%3)")
                   .arg(QLatin1StringView(names[int(event.type)]))
                   .arg(event.position.x())
                   .arg(event.position.y());
    return out;
}

/// A decoded datagram in words, so that table rows can say what they expect.
QString describe(const std::optional<gestures::Message> &message)
{
    if (!message)
        return QStringLiteral("nothing");
    if (const auto *frame = std::get_if<gestures::HandsFrame>(&*message)) {
        QStringList hands;
        for (const gestures::Hand &hand : frame->hands)
            hands << QStringLiteral("%1 %2,%3 %4")
                         .arg(hand.name)
                         .arg(hand.position.x())
                         .arg(hand.position.y())
                         .arg(hand.pose);
        const QString armed = frame->armed ? (*frame->armed ? QStringLiteral("armed") : QStringLiteral("disarmed"))
                                           : QStringLiteral("-");
        return QStringLiteral("hands %1 [%2]").arg(armed, hands.join(QStringLiteral("; ")));
    }
    const auto &event = std::get<gestures::TrackerEvent>(*message);
    return QStringLiteral("%1 %2 %3,%4").arg(event.name, event.hand).arg(event.position.x()).arg(event.position.y());
}

QByteArray hands(const QByteArray &list, const char *armed = nullptr)
{
    QByteArray json = R"({"t":"hands","hands":[)" + list + "]";
    if (armed)
        json += R"(,"armed":)" + QByteArray(armed);
    return json + '}';
}

QByteArray hand(const char *name, double x, double y, const char *pose = "point")
{
    return QStringLiteral(R"({"hand":"%1","x":%2,"y":%3,"pose":"%4"})")
        .arg(QLatin1StringView(name))
        .arg(x)
        .arg(y)
        .arg(QLatin1StringView(pose))
        .toUtf8();
}

QByteArray tracker(const char *name, const char *handName, double x, double y)
{
    return QStringLiteral(R"({"name":"%1","hand":"%2","x":%3,"y":%4})")
        .arg(QLatin1StringView(name), QLatin1StringView(handName))
        .arg(x)
        .arg(y)
        .toUtf8();
}

} // namespace

class TestGestureController : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void decodesOnlyWhatItActsOn_data();
    void decodesOnlyWhatItActsOn();
    void mapsNormalisedPointsOntoTheFirstDisplay_data();
    void mapsNormalisedPointsOntoTheFirstDisplay();
    void choosesThePrimaryHand_data();
    void choosesThePrimaryHand();
    void pinchClicksOrDragsByDistance_data();
    void pinchClicksOrDragsByDistance();
    void otherHandCannotMoveReleaseOrClickWhileOneHolds();
    void pointerFollowsOnlyPinchMovesWhileHeld();
    void nothingHappensUnlessEnabledAndArmed();
    void watchdogReleasesAfterSilence_data();
    void watchdogReleasesAfterSilence();
    void disarmAndDisableRelease_data();
    void disarmAndDisableRelease();
    void centrePulseKeepsTheNewestGeneration();
    void rightClickFlashesItsReticle();
    void reticlesFollowHandsAndHide();
    void reticlePlacementAndOrdering();
    void fistMaximisesAndRestores();
    void fistOnAnAlreadyMaximisedWindowStoresItsFrame();
    void fistIgnoresTheHudAndEmptyDesktop();
    void rowSwitchesWithItsDefault();

private:
    void send(const QByteArray &datagram);
    void armed();
    std::vector<PointerEvent> takeEvents() { return std::exchange(m_pointer.events, {}); }

    ManualScheduler m_clock;
    RecordingPointer m_pointer;
    FakeWindows m_windows;
    QList<ScreenInfo> m_screens;
    bool m_overHud = false;
    int m_activity = 0;
    std::unique_ptr<GestureController> m_controller;
};

void TestGestureController::init()
{
    m_screens
        = {display({0, 0, 1000, 800}, {0, 30, 1000, 770}, 7), display({1000, 0, 800, 600}, {1000, 0, 800, 600}, 9)};
    m_overHud = false;
    m_activity = 0;
    m_windows.frontToBack.clear();
    m_pointer.events.clear();
    GestureDesktop desktop;
    desktop.screens = [this] { return m_screens; };
    desktop.overHud = [this](QPointF) { return m_overHud; };
    desktop.ownPid = 42;
    m_controller = std::make_unique<GestureController>(m_clock, m_pointer, m_windows, desktop);
    m_controller->onActivity = [this] { ++m_activity; };
}

void TestGestureController::cleanup()
{
    m_controller.reset();
}

void TestGestureController::send(const QByteArray &datagram)
{
    const std::optional<gestures::Message> message = gestures::decode(datagram);
    QVERIFY2(message, datagram.constData());
    m_controller->handle(*message);
}

void TestGestureController::armed()
{
    m_controller->setEnabled(true);
    send(R"({"name":"arm"})");
}

void TestGestureController::decodesOnlyWhatItActsOn_data()
{
    QTest::addColumn<QByteArray>("datagram");
    QTest::addColumn<QString>("expected");
    QTest::addRow("empty") << QByteArray() << "nothing";
    QTest::addRow("not json") << QByteArray("hands!") << "nothing";
    QTest::addRow("array") << QByteArray(R"([{"t":"hands"}])") << "nothing";
    QTest::addRow("truncated") << QByteArray(R"({"t":"hands","hands":[{"hand":"R","x":0.5)") << "nothing";
    QTest::addRow("unknown event") << QByteArray(R"({"name":"wave","hand":"R","x":0.1,"y":0.2})") << "nothing";
    QTest::addRow("neither kind nor name") << QByteArray(R"({"hand":"R","x":0.1,"y":0.2})") << "nothing";
    QTest::addRow("pointer event without hand") << QByteArray(R"({"name":"pinch_start","x":0.1,"y":0.2})") << "nothing";
    QTest::addRow("hand not a string") << QByteArray(R"({"name":"rclick","hand":1,"x":0.1,"y":0.2})") << "nothing";
    QTest::addRow("x as a string") << QByteArray(R"({"name":"pinch_end","hand":"R","x":"0.1","y":0.2})") << "nothing";
    QTest::addRow("y missing") << QByteArray(R"({"name":"fist_hold","hand":"R","x":0.1})") << "nothing";
    QTest::addRow("arm needs nothing") << QByteArray(R"({"name":"arm"})") << "arm  0,0";
    QTest::addRow("pinch") << QByteArray(R"({"name":"pinch_move","hand":"L","x":0.25,"y":1})") << "pinch_move L 0.25,1";
    QTest::addRow("hands, armed, default pose")
        << QByteArray(R"({"t":"hands","armed":true,"hands":[{"hand":"R","x":0.5,"y":0.25}]})")
        << "hands armed [R 0.5,0.25 none]";
    QTest::addRow("hands without names or numbers are left out") << QByteArray(
        R"({"t":"hands","hands":[{"hand":"R","x":"a","y":0},{"x":0,"y":0},7,)"
        R"({"hand":"L","x":0,"y":1,"pose":"fist"}]})") << "hands - [L 0,1 fist]";
    QTest::addRow("armed of another type is no armed state")
        << QByteArray(R"({"t":"hands","armed":"yes","hands":"none"})") << "hands - []";
}

void TestGestureController::decodesOnlyWhatItActsOn()
{
    QFETCH(QByteArray, datagram);
    QFETCH(QString, expected);
    QCOMPARE(describe(gestures::decode(datagram)), expected);
}

void TestGestureController::mapsNormalisedPointsOntoTheFirstDisplay_data()
{
    QTest::addColumn<QRectF>("first");
    QTest::addColumn<QPointF>("normalised");
    QTest::addColumn<QPointF>("expected");
    QTest::addRow("origin") << QRectF(0, 0, 1000, 800) << QPointF(0, 0) << QPointF(0, 0);
    QTest::addRow("centre") << QRectF(0, 0, 1000, 800) << QPointF(0.5, 0.5) << QPointF(500, 400);
    QTest::addRow("bottom right, y down") << QRectF(0, 0, 1000, 800) << QPointF(1, 1) << QPointF(1000, 800);
    QTest::addRow("display away from the origin")
        << QRectF(1920, 100, 1280, 1024) << QPointF(0.25, 0.5) << QPointF(2240, 612);
    QTest::addRow("beyond the display is pulled onto its edge")
        << QRectF(0, 0, 1000, 800) << QPointF(-3, 1e300) << QPointF(0, 800);
}

void TestGestureController::mapsNormalisedPointsOntoTheFirstDisplay()
{
    QFETCH(QRectF, first);
    QFETCH(QPointF, normalised);
    QFETCH(QPointF, expected);
    m_screens = {display(first, first, 1)};
    QCOMPARE(m_controller->toDesktop(normalised), expected);
    m_screens.clear();
    QCOMPARE(m_controller->toDesktop(normalised), QPointF(0, 0));
}

void TestGestureController::choosesThePrimaryHand_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("frame");
    QTest::addColumn<QString>("primary");
    QTest::addColumn<QPoint>("pointer");
    const QByteArray both = hands(hand("R", 0.1, 0.1) + ',' + hand("L", 0.9, 0.9));
    QTest::addRow("both, no action yet: right") << QByteArray() << both << "R" << QPoint(100, 80);
    QTest::addRow("left alone") << QByteArray() << hands(hand("L", 0.5, 0.5)) << "L" << QPoint(500, 400);
    QTest::addRow("after the left pinched: left")
        << tracker("rclick", "L", 0.2, 0.2) << both << "L" << QPoint(900, 720);
    QTest::addRow("active hand gone: its partner")
        << tracker("rclick", "L", 0.2, 0.2) << hands(hand("R", 0.3, 0.5)) << "R" << QPoint(300, 400);
    QTest::addRow("other names drive nothing") << QByteArray() << hands(hand("X", 0.3, 0.5)) << "" << QPoint();
}

void TestGestureController::choosesThePrimaryHand()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, frame);
    QFETCH(QString, primary);
    QFETCH(QPoint, pointer);
    armed();
    if (!before.isEmpty())
        send(before);
    takeEvents();
    send(frame);
    const std::vector<PointerEvent> events = takeEvents();
    if (primary.isEmpty()) {
        QVERIFY(events.empty());
        QVERIFY(!m_controller->reticle("X"));
        return;
    }
    QCOMPARE(describe(events), describe({{Type::Move, pointer}}));
    QCOMPARE(m_controller->cursor(), QPointF(pointer));
    for (const QString name : {"R", "L"})
        if (const HandReticle *reticle = m_controller->reticle(name); reticle && reticle->isVisible())
            QCOMPARE(reticle->model().isPrimary(), name == primary);
}

void TestGestureController::pinchClicksOrDragsByDistance_data()
{
    QTest::addColumn<double>("travel");
    QTest::addColumn<std::vector<PointerEvent>>("expected");
    // Down at (500, 400); the hand moves right by `travel` points, then lets go 1 point further.
    QTest::addRow("11 points: a click where it started")
        << 11.0
        << std::vector<PointerEvent>{
               {Type::Move, {500, 400}}, {Type::LeftDown, {500, 400}}, {Type::LeftUp, {500, 400}}};
    QTest::addRow("12 points is not yet a drag") << 12.0
                                                 << std::vector<PointerEvent>{{Type::Move, {500, 400}},
                                                        {Type::LeftDown, {500, 400}}, {Type::LeftUp, {500, 400}}};
    QTest::addRow("13 points: a drag released at the final point")
        << 13.0
        << std::vector<PointerEvent>{{Type::Move, {500, 400}}, {Type::LeftDown, {500, 400}},
               {Type::LeftDrag, {513, 400}}, {Type::LeftUp, {514, 400}}};
}

void TestGestureController::pinchClicksOrDragsByDistance()
{
    QFETCH(double, travel);
    QFETCH(std::vector<PointerEvent>, expected);
    armed();
    takeEvents();
    send(tracker("pinch_start", "R", 0.5, 0.5));
    // Trembling on the way there stays below the threshold.
    send(tracker("pinch_move", "R", 0.503, 0.505));
    send(tracker("pinch_move", "R", (500 + travel) / 1000, 0.5));
    send(tracker("pinch_end", "R", (500 + travel + 1) / 1000, 0.5));
    QCOMPARE(describe(takeEvents()), describe(expected));
    QVERIFY(!m_controller->owner());
}

void TestGestureController::otherHandCannotMoveReleaseOrClickWhileOneHolds()
{
    armed();
    send(tracker("pinch_start", "R", 0.5, 0.5));
    takeEvents();
    send(tracker("pinch_move", "L", 0.9, 0.9));
    send(tracker("pinch_end", "L", 0.9, 0.9));
    send(tracker("pinch_start", "L", 0.9, 0.9));
    send(tracker("rclick", "L", 0.9, 0.9));
    QVERIFY(takeEvents().empty());
    QCOMPARE(m_controller->owner().value_or(QString()), QStringLiteral("R"));
    send(tracker("pinch_end", "R", 0.5, 0.5));
    QCOMPARE(describe(takeEvents()), describe(std::vector<PointerEvent>{{Type::LeftUp, {500, 400}}}));
}

void TestGestureController::pointerFollowsOnlyPinchMovesWhileHeld()
{
    armed();
    send(tracker("pinch_start", "R", 0.5, 0.5));
    takeEvents();
    send(hands(hand("R", 0.1, 0.1, "pinch")));
    QVERIFY(takeEvents().empty());
    // The reticle still follows the hand.
    QCOMPARE(m_controller->reticle("R")->origin(), QPoint(100 - 18, 80 - 18));
    QCOMPARE(m_controller->reticle("R")->model().pose(), QStringLiteral("pinch"));
}

void TestGestureController::nothingHappensUnlessEnabledAndArmed()
{
    send(R"({"name":"arm"})");
    send(hands(hand("R", 0.5, 0.5), "true"));
    send(tracker("pinch_start", "R", 0.5, 0.5));
    QVERIFY(!m_controller->isArmed());
    QVERIFY(takeEvents().empty());

    m_controller->setEnabled(true);
    send(hands(hand("R", 0.5, 0.5)));
    send(tracker("pinch_start", "R", 0.5, 0.5));
    send(tracker("rclick", "R", 0.5, 0.5));
    QVERIFY(takeEvents().empty());
    QCOMPARE(m_activity, 0);

    // "armed" in the stream arms as well as the event does.
    send(hands(hand("R", 0.5, 0.5), "true"));
    QVERIFY(m_controller->isArmed());
    QCOMPARE(m_activity, 1);
    QCOMPARE(describe(takeEvents()), describe(std::vector<PointerEvent>{{Type::Move, {500, 400}}}));
}

void TestGestureController::watchdogReleasesAfterSilence_data()
{
    QTest::addColumn<int>("silenceMs");
    QTest::addColumn<bool>("released");
    QTest::addRow("0.4 s: still held") << 400 << false;
    QTest::addRow("0.6 s: released") << 600 << true;
}

void TestGestureController::watchdogReleasesAfterSilence()
{
    QFETCH(int, silenceMs);
    QFETCH(bool, released);
    armed();
    // A steady stream keeps the button down as long as it lasts.
    send(tracker("pinch_start", "R", 0.5, 0.5));
    send(tracker("pinch_move", "R", 0.6, 0.5));
    for (int i = 0; i < 20; ++i) {
        send(hands(hand("R", 0.6, 0.5, "pinch")));
        m_clock.advance(100ms);
    }
    send(hands(hand("R", 0.6, 0.5, "pinch")));
    QCOMPARE(m_controller->owner().value_or(QString()), QStringLiteral("R"));
    takeEvents();
    m_clock.advance(Duration(silenceMs));
    QCOMPARE(!m_controller->owner(), released);
    QCOMPARE(m_controller->reticle("R")->isVisible(), !released);
    if (released)
        QCOMPARE(describe(takeEvents()), describe(std::vector<PointerEvent>{{Type::LeftUp, {600, 400}}}));
    else
        QVERIFY(takeEvents().empty());
}

void TestGestureController::disarmAndDisableRelease_data()
{
    QTest::addColumn<QByteArray>("datagram");
    QTest::addRow("disarm event") << QByteArray(R"({"name":"disarm"})");
    QTest::addRow("armed false in the stream") << hands(hand("R", 0.5, 0.5), "false");
    QTest::addRow("switched off") << QByteArray();
}

void TestGestureController::disarmAndDisableRelease()
{
    QFETCH(QByteArray, datagram);
    armed();
    send(hands(hand("R", 0.5, 0.5)));
    send(tracker("pinch_start", "R", 0.5, 0.5));
    takeEvents();
    if (datagram.isEmpty())
        m_controller->setEnabled(false);
    else
        send(datagram);
    QCOMPARE(describe(takeEvents()), describe(std::vector<PointerEvent>{{Type::LeftUp, {500, 400}}}));
    QVERIFY(!m_controller->owner());
    QVERIFY(!m_controller->isArmed());
    QVERIFY(!m_controller->reticle("R")->isVisible());
}

void TestGestureController::centrePulseKeepsTheNewestGeneration()
{
    m_controller->setEnabled(true);
    const HandReticle *centre = m_controller->reticle("C");
    QVERIFY(centre);
    QVERIFY(centre->isVisible());
    QCOMPARE(centre->origin(), QPoint(500 - 18, 400 - 18));
    QVERIFY(centre->model().pulse());
    m_clock.advance(400ms);
    QVERIFY(!centre->model().pulse());
    m_clock.advance(800ms);
    QVERIFY(!centre->isVisible());

    send(R"({"name":"ready"})");
    m_clock.advance(1000ms);
    send(R"({"name":"ready"})");
    QVERIFY(centre->model().pulse());
    m_clock.advance(1100ms);
    QVERIFY(centre->isVisible());
    m_clock.advance(100ms);
    QVERIFY(!centre->isVisible());

    // A hand appearing takes the centre marker away at once.
    send(R"({"name":"arm"})");
    QVERIFY(centre->isVisible());
    send(hands(hand("L", 0.5, 0.5)));
    QVERIFY(!centre->isVisible());
}

void TestGestureController::rightClickFlashesItsReticle()
{
    armed();
    takeEvents();
    send(tracker("rclick", "L", 0.25, 0.75));
    QCOMPARE(describe(takeEvents()),
        describe(std::vector<PointerEvent>{
            {Type::Move, {250, 600}}, {Type::RightDown, {250, 600}}, {Type::RightUp, {250, 600}}}));
    QCOMPARE(m_controller->activeHand().value_or(QString()), QStringLiteral("L"));
    const HandReticle *left = m_controller->reticle("L");
    QVERIFY(left && left->model().rightFlash());
    m_clock.advance(170ms);
    QVERIFY(left->model().rightFlash());
    m_clock.advance(10ms);
    QVERIFY(!left->model().rightFlash());
}

void TestGestureController::reticlesFollowHandsAndHide()
{
    armed();
    send(hands(hand("R", 0.5, 0.5, "fist") + ',' + hand("L", 0.25, 0.5, "mpinch")));
    QVERIFY(m_controller->reticle("R")->isVisible());
    QCOMPARE(m_controller->reticle("L")->model().pose(), QStringLiteral("mpinch"));
    QVERIFY(!m_controller->reticle("L")->model().isPrimary());
    send(hands(hand("L", 0.25, 0.5)));
    QVERIFY(!m_controller->reticle("R")->isVisible());
    QVERIFY(m_controller->reticle("L")->model().isPrimary());
    QCOMPARE(m_controller->reticle("L")->model().pose(), QStringLiteral("point"));
}

void TestGestureController::reticlePlacementAndOrdering()
{
    testing::SurfaceLog log;
    HandReticle reticle(36, [&log](ReticleModel &, int) { return std::make_unique<testing::LoggingSurface>(log); });
    QVERIFY(!reticle.isVisible());
    reticle.place({100, 100});
    QCOMPARE(reticle.origin(), QPoint(82, 82));
    QCOMPARE(log.topLeft, QPoint(82, 82));
    reticle.place({120, 100});
    QCOMPARE(log.topLeft, QPoint(102, 82));
    QCOMPARE(log.orderedFront, 1);
    reticle.hide();
    reticle.hide();
    QCOMPARE(log.orderedOut, 1);
    reticle.place({120, 100});
    QCOMPARE(log.orderedFront, 2);
}

void TestGestureController::fistMaximisesAndRestores()
{
    armed();
    m_windows.frontToBack = {{1, {1100, 100, 300, 200}}, {2, {1050, 50, 600, 400}}, {3, {100, 100, 300, 300}}};
    send(tracker("fist_hold", "R", 0.2, 0.2)); // (200, 160): window 3
    QCOMPARE(m_windows.find(3)->frame, QRect(0, 30, 1000, 770));
    QCOMPARE(m_controller->savedFrame(7).value_or(QRect()), QRect(100, 100, 300, 300));

    // The tracker now spans the other display: its own usable area and its own saved frame.
    std::swap(m_screens[0], m_screens[1]);
    send(tracker("fist_hold", "R", 0.25, 0.25)); // (1200, 150): window 1 is in front of 2
    QCOMPARE(m_windows.find(1)->frame, QRect(1000, 0, 800, 600));
    QCOMPARE(m_windows.find(2)->frame, QRect(1050, 50, 600, 400));
    QCOMPARE(m_controller->savedFrame(9).value_or(QRect()), QRect(1100, 100, 300, 200));
    send(tracker("fist_hold", "R", 0.25, 0.25));
    QCOMPARE(m_windows.find(1)->frame, QRect(1100, 100, 300, 200));
    QVERIFY(!m_controller->savedFrame(9));
    QCOMPARE(m_controller->savedFrame(7).value_or(QRect()), QRect(100, 100, 300, 300));
}

void TestGestureController::fistOnAnAlreadyMaximisedWindowStoresItsFrame()
{
    armed();
    const QRect nearlyFull(10, 45, 980, 750);
    m_windows.frontToBack = {{1, nearlyFull}};
    send(tracker("fist_hold", "R", 0.5, 0.5));
    QCOMPARE(m_controller->savedFrame(7).value_or(QRect()), nearlyFull);
    QCOMPARE(m_windows.find(1)->frame, QRect(0, 30, 1000, 770));
    send(tracker("fist_hold", "R", 0.5, 0.5));
    QCOMPARE(m_windows.find(1)->frame, nearlyFull);
}

void TestGestureController::fistIgnoresTheHudAndEmptyDesktop()
{
    armed();
    m_windows.frontToBack = {{1, {100, 100, 300, 300}, 42}, {2, {100, 100, 300, 300}}};
    m_overHud = true;
    send(tracker("fist_hold", "R", 0.2, 0.2));
    QCOMPARE(m_windows.find(2)->frame, QRect(100, 100, 300, 300));
    m_overHud = false;
    // The HUD's own windows are skipped: the one behind them is the target.
    send(tracker("fist_hold", "R", 0.2, 0.2));
    QCOMPARE(m_windows.find(1)->frame, QRect(100, 100, 300, 300));
    QCOMPARE(m_windows.find(2)->frame, QRect(0, 30, 1000, 770));
    // No window under the hand: nothing moves, nothing is forgotten.
    m_windows.frontToBack.clear();
    send(tracker("fist_hold", "R", 0.9, 0.9));
    QCOMPARE(m_controller->savedFrame(7).value_or(QRect()), QRect(100, 100, 300, 300));
}

void TestGestureController::rowSwitchesWithItsDefault()
{
    EventDispatcher dispatcher;
    std::vector<bool> calls;
    GestureRow row;
    row.registerRows(dispatcher);
    connect(&row, &GestureRow::switched, this, [&](bool on) { calls.push_back(on); });
    dispatcher.dispatch(QByteArrayView(R"({"type":"gestures","on":true})"));
    dispatcher.dispatch(QByteArrayView(R"({"type":"gestures"})"));
    dispatcher.dispatch(QByteArrayView(R"({"type":"gestures","on":"yes"})"));
    QCOMPARE(calls, (std::vector<bool>{true, false, false}));
}

QTEST_GUILESS_MAIN(TestGestureController)
#include "tst_gesturecontroller.moc"
