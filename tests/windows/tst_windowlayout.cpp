// Layout maths and command reading as tables: insets, regions, columns, clamping, numbers,
// actions, application lists, the docked-HUD inset and the screen words.

#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

#include "ScreenInfo.h"
#include "WindowLayout.h"

using namespace halvic;

namespace {

QJsonObject object(const char *json)
{
    return QJsonDocument::fromJson(json).object();
}

QJsonValue value(const char *json)
{
    return QJsonDocument::fromJson(QByteArray("[") + json + "]").array().at(0);
}

ScreenInfo makeScreen(int index, const char *name, QRectF frame, bool builtin, bool main)
{
    ScreenInfo s;
    s.index = index;
    s.name = QString::fromLatin1(name);
    s.frame = frame;
    s.visibleFrame = frame.adjusted(0, 25, 0, 0);
    s.isBuiltin = builtin;
    s.isMain = main;
    s.label = builtin ? screens::builtinLabel : main ? screens::mainLabel : screens::externalLabel;
    s.displayID = 100 + index;
    return s;
}

// A laptop panel that is not the main screen, a big external main screen and a small one.
const QList<ScreenInfo> threeScreens{
    makeScreen(0, "eDP-1", QRectF(0, 0, 1440, 900), true, false),
    makeScreen(1, "DP-1", QRectF(1440, 0, 2560, 1440), false, true),
    makeScreen(2, "HDMI-1", QRectF(4000, 0, 1280, 800), false, false),
};

} // namespace

class TestWindowLayout : public QObject
{
    Q_OBJECT

private slots:
    void insetArea_data();
    void insetArea();
    void regionRect_data();
    void regionRect();
    void tileColumns_data();
    void tileColumns();
    void clamp_data();
    void clamp();
    void toNative_data();
    void toNative();
    void num_data();
    void num();
    void action_data();
    void action();
    void appList_data();
    void appList();
    void dockedInset_data();
    void dockedInset();
    void screenForSpec_data();
    void screenForSpec();
    void withoutAMainScreenTheFirstStandsIn();
    void noScreensGiveThePlaceholder();
    void builtinOutputNames_data();
    void builtinOutputNames();
    void qtScreensAreListedWithStableNumbers();
};

void TestWindowLayout::insetArea_data()
{
    QTest::addColumn<QJsonObject>("command");
    QTest::addColumn<QRectF>("expected");
    const QRectF usable(0, 25, 1440, 875);
    QTest::addRow("no insets") << object("{}") << usable;
    QTest::addRow("left 360") << object(R"({"left_inset":360})") << QRectF(360, 25, 1080, 875);
    QTest::addRow("all four, strings and numbers")
        << object(R"({"left_inset":"10","right_inset":20.5,"top_inset":" 30 ","bottom_inset":40})")
        << QRectF(10, 55, 1409.5, 805);
    QTest::addRow("bottom inset keeps the top") << object(R"({"bottom_inset":75})") << QRectF(0, 25, 1440, 800);
    QTest::addRow("insets larger than the area")
        << object(R"({"left_inset":1000,"right_inset":1000,"top_inset":900})") << QRectF(1000, 925, 0, 0);
    QTest::addRow("unparsable and wrong types count as 0")
        << object(R"({"left_inset":"wide","right_inset":true,"top_inset":null,"bottom_inset":[5]})") << usable;
}

void TestWindowLayout::insetArea()
{
    QFETCH(QJsonObject, command);
    QFETCH(QRectF, expected);
    QCOMPARE(layout::insetArea(QRectF(0, 25, 1440, 875), command), expected);
}

void TestWindowLayout::regionRect_data()
{
    QTest::addColumn<QJsonValue>("region");
    QTest::addColumn<QRectF>("expected");
    const QRectF area(100, 50, 1000, 800);
    QTest::addRow("left") << value(R"("left")") << QRectF(100, 50, 500, 800);
    QTest::addRow("left-half") << value(R"("left-half")") << QRectF(100, 50, 500, 800);
    QTest::addRow("RIGHT-HALF with a space") << value(R"("RIGHT-HALF ")") << QRectF(600, 50, 500, 800);
    QTest::addRow("Right") << value(R"(" Right")") << QRectF(600, 50, 500, 800);
    QTest::addRow("top is the upper half") << value(R"("top")") << QRectF(100, 50, 1000, 400);
    QTest::addRow("bottom-half is the lower half") << value(R"("Bottom-Half")") << QRectF(100, 450, 1000, 400);
    QTest::addRow("full") << value(R"("full")") << area;
    QTest::addRow("unknown word") << value(R"("middle")") << area;
    QTest::addRow("not a string") << value("3") << area;
    QTest::addRow("absent") << QJsonValue(QJsonValue::Undefined) << area;
}

void TestWindowLayout::regionRect()
{
    QFETCH(QJsonValue, region);
    QFETCH(QRectF, expected);
    QCOMPARE(layout::regionRect(region, QRectF(100, 50, 1000, 800)), expected);
}

void TestWindowLayout::tileColumns_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QRectF>("area");
    QTest::addColumn<QList<QRectF>>("expected");
    const QRectF usable = layout::insetArea(QRectF(0, 25, 1440, 875), object(R"({"left_inset":360})"));
    QTest::addRow("three apps on 1440 with a 360 left inset")
        << 3 << usable
        << QList<QRectF>{QRectF(360, 25, 360, 875), QRectF(720, 25, 360, 875), QRectF(1080, 25, 360, 875)};
    QTest::addRow("one app takes the area") << 1 << usable << QList<QRectF>{usable};
    QTest::addRow("no apps") << 0 << usable << QList<QRectF>{};
    QTest::addRow("area narrower than a point") << 2 << QRectF(0, 0, 0.5, 800) << QList<QRectF>{};
    QTest::addRow("area lower than a point") << 2 << QRectF(0, 0, 800, 0) << QList<QRectF>{};
    // Two huge negative insets add up past the largest double: the first column would start
    // at 0 x infinity (not a number).
    QTest::addRow("insets overflowing to an endless width")
        << 2 << layout::insetArea(QRectF(0, 25, 1440, 875), object(R"({"left_inset":-1.5e308,"right_inset":-1.5e308})"))
        << QList<QRectF>{};
}

void TestWindowLayout::tileColumns()
{
    QFETCH(int, count);
    QFETCH(QRectF, area);
    QFETCH(QList<QRectF>, expected);
    QCOMPARE(layout::tileColumns(count, area), expected);
}

void TestWindowLayout::clamp_data()
{
    QTest::addColumn<QRectF>("rect");
    QTest::addColumn<QRectF>("bounds");
    QTest::addColumn<QRectF>("expected");
    const QRectF screen(0, 0, 1440, 900);
    QTest::addRow("inside stays") << QRectF(10, 10, 100, 100) << screen << QRectF(10, 10, 100, 100);
    QTest::addRow("too wide and tall shrinks") << QRectF(-50, -50, 2000, 1000) << screen << screen;
    QTest::addRow("past the right edge shifts left")
        << QRectF(1400, 100, 200, 100) << screen << QRectF(1240, 100, 200, 100);
    QTest::addRow("past the bottom shifts up") << QRectF(0, 850, 100, 100) << screen << QRectF(0, 800, 100, 100);
    QTest::addRow("left of a second screen moves onto it")
        << QRectF(1000, 0, 400, 300) << QRectF(1440, 0, 1920, 1080) << QRectF(1440, 0, 400, 300);
    QTest::addRow("empty bounds leave it alone") << QRectF(-5, -5, 10, 10) << QRectF() << QRectF(-5, -5, 10, 10);
}

void TestWindowLayout::clamp()
{
    QFETCH(QRectF, rect);
    QFETCH(QRectF, bounds);
    QFETCH(QRectF, expected);
    QCOMPARE(layout::clamp(rect, bounds), expected);
}

void TestWindowLayout::toNative_data()
{
    QTest::addColumn<QRectF>("rect");
    QTest::addColumn<QRectF>("screenFrame");
    QTest::addColumn<double>("ratio");
    QTest::addColumn<QRect>("expected");
    QTest::addRow("ratio 1") << QRectF(360, 25, 360.4, 875) << QRectF(0, 0, 1440, 900) << 1.0
                             << QRect(360, 25, 360, 875);
    // Edges are rounded, so the middle third ends where the last one starts (667).
    QTest::addRow("middle third") << QRectF(1000.0 / 3, 0, 1000.0 / 3, 900) << QRectF(0, 0, 1000, 900) << 1.0
                                  << QRect(333, 0, 334, 900);
    QTest::addRow("last third") << QRectF(2000.0 / 3, 0, 1000.0 / 3, 900) << QRectF(0, 0, 1000, 900) << 1.0
                                << QRect(667, 0, 333, 900);
    QTest::addRow("ratio 2 scales inside the screen")
        << QRectF(2000, 100, 500, 400) << QRectF(1920, 0, 1280, 720) << 2.0 << QRect(2080, 200, 1000, 800);
}

void TestWindowLayout::toNative()
{
    QFETCH(QRectF, rect);
    QFETCH(QRectF, screenFrame);
    QFETCH(double, ratio);
    QFETCH(QRect, expected);
    ScreenInfo screen;
    screen.frame = screenFrame;
    screen.devicePixelRatio = ratio;
    QCOMPARE(layout::toNative(rect, screen), expected);
}

void TestWindowLayout::num_data()
{
    QTest::addColumn<QJsonObject>("command");
    QTest::addColumn<double>("expected");
    QTest::addRow("integer") << object(R"({"n":360})") << 360.0;
    QTest::addRow("real") << object(R"({"n":12.5})") << 12.5;
    QTest::addRow("negative") << object(R"({"n":-40})") << -40.0;
    QTest::addRow("numeric string") << object(R"({"n":"360"})") << 360.0;
    QTest::addRow("decimal string") << object(R"({"n":"0.25"})") << 0.25;
    QTest::addRow("unparsable string") << object(R"({"n":"12px"})") << 0.0;
    QTest::addRow("boolean") << object(R"({"n":true})") << 0.0;
    QTest::addRow("absent") << object("{}") << 0.0;
}

void TestWindowLayout::num()
{
    QFETCH(QJsonObject, command);
    QFETCH(double, expected);
    QCOMPARE(layout::num(command, QLatin1StringView("n")), expected);
}

void TestWindowLayout::action_data()
{
    QTest::addColumn<QJsonObject>("command");
    QTest::addColumn<int>("action");
    QTest::addColumn<int>("mode");
    using A = layout::Action;
    using M = layout::Mode;
    QTest::addRow("Fill with a capital") << object(R"({"action":"Fill","mode":"Fill"})") << int(A::Fill)
                                         << int(M::Fill);
    QTest::addRow("TILE") << object(R"({"action":"TILE"})") << int(A::Tile) << int(M::Tile);
    QTest::addRow("launch, move") << object(R"({"action":"launch","mode":"move"})") << int(A::Launch) << int(M::Move);
    QTest::addRow("close, unknown mode tiles")
        << object(R"({"action":"close","mode":"stack"})") << int(A::Close) << int(M::Tile);
    QTest::addRow("arrange") << object(R"({"action":"Arrange"})") << int(A::Arrange) << int(M::Tile);
    QTest::addRow("unknown action") << object(R"({"action":"minimize"})") << int(A::None) << int(M::Tile);
    QTest::addRow("no action") << object("{}") << int(A::None) << int(M::Tile);
    QTest::addRow("action not a string") << object(R"({"action":1,"mode":2})") << int(A::None) << int(M::Tile);
}

void TestWindowLayout::action()
{
    QFETCH(QJsonObject, command);
    QFETCH(int, action);
    QFETCH(int, mode);
    QCOMPARE(int(layout::actionOf(command)), action);
    QCOMPARE(int(layout::modeOf(command)), mode);
}

void TestWindowLayout::appList_data()
{
    QTest::addColumn<QJsonObject>("command");
    QTest::addColumn<QStringList>("expected");
    QTest::addRow("apps") << object(R"({"apps":["Slack","chrome"],"app":"mail"})")
                          << QStringList{QStringLiteral("Slack"), QStringLiteral("chrome")};
    QTest::addRow("mixed apps keep their strings") << object(R"({"apps":[1,"code",null,"notes"]})")
                                                   << QStringList{QStringLiteral("code"), QStringLiteral("notes")};
    QTest::addRow("app when apps has none")
        << object(R"({"apps":[],"app":"mail"})") << QStringList{QStringLiteral("mail")};
    QTest::addRow("apps not an array") << object(R"({"apps":"chrome","app":"mail"})")
                                       << QStringList{QStringLiteral("mail")};
    QTest::addRow("empty app") << object(R"({"app":""})") << QStringList{};
    QTest::addRow("app not a string") << object(R"({"app":5})") << QStringList{};
}

void TestWindowLayout::appList()
{
    QFETCH(QJsonObject, command);
    QFETCH(QStringList, expected);
    QCOMPARE(layout::appList(command), expected);
}

void TestWindowLayout::dockedInset_data()
{
    QTest::addColumn<QJsonObject>("command");
    QTest::addColumn<bool>("docked");
    QTest::addColumn<QString>("side");
    QTest::addColumn<QJsonObject>("expected");
    QTest::addRow("not docked: unchanged")
        << object(R"({"action":"tile"})") << false << "left" << object(R"({"action":"tile"})");
    QTest::addRow("no screen: dock width added")
        << object(R"({"action":"tile"})") << true << "left" << object(R"({"action":"tile","left_inset":300})");
    QTest::addRow("screen Main in any case")
        << object(R"({"screen":"Main"})") << true << "left" << object(R"({"screen":"Main","left_inset":300})");
    QTest::addRow("external screen: nothing added")
        << object(R"({"screen":"external"})") << true << "left" << object(R"({"screen":"external"})");
    QTest::addRow("screen index: nothing added")
        << object(R"({"screen":0})") << true << "left" << object(R"({"screen":0})");
    QTest::addRow("own left inset kept") << object(R"({"left_inset":"12"})") << true << "left"
                                         << object(R"({"left_inset":"12"})");
    QTest::addRow("layout items amended one by one")
        << object(
               R"({"action":"arrange","screen":"external","layout":[{"app":"a"},{"app":"b","screen":"external"},{"app":"c","left_inset":5},{"app":"d","screen":"MAIN"}]})")
        << true << "left"
        << object(
               R"({"action":"arrange","screen":"external","layout":[{"app":"a","left_inset":300},{"app":"b","screen":"external"},{"app":"c","left_inset":5},{"app":"d","screen":"MAIN","left_inset":300}]})");
    QTest::addRow("layout with a non-object passed on unchanged")
        << object(R"({"screen":"second","layout":[{"app":"a"},"b"]})") << true << "left"
        << object(R"({"screen":"second","layout":[{"app":"a"},"b"]})");
    QTest::addRow("docked right: right inset instead")
        << object(R"({"action":"tile"})") << true << "right" << object(R"({"action":"tile","right_inset":300})");
    QTest::addRow("docked right: own right inset kept, left one no matter") << object(
        R"({"right_inset":7,"left_inset":9})") << true << "right" << object(R"({"right_inset":7,"left_inset":9})");
    QTest::addRow("docked right: layout items get the right inset")
        << object(R"({"action":"arrange","layout":[{"app":"a","left_inset":5},{"app":"b","screen":"external"}]})")
        << true << "right"
        << object(
               R"({"action":"arrange","right_inset":300,"layout":[{"app":"a","left_inset":5,"right_inset":300},{"app":"b","screen":"external"}]})");
}

void TestWindowLayout::dockedInset()
{
    QFETCH(QJsonObject, command);
    QFETCH(bool, docked);
    QFETCH(QString, side);
    QFETCH(QJsonObject, expected);
    QCOMPARE(layout::withDockedInset(command, docked, 300, side), expected);
}

void TestWindowLayout::screenForSpec_data()
{
    QTest::addColumn<QJsonValue>("spec");
    QTest::addColumn<int>("expectedIndex");
    QTest::addRow("absent gives main") << QJsonValue(QJsonValue::Undefined) << 1;
    QTest::addRow("index 0") << value("0") << 0;
    QTest::addRow("index 2.0 is whole") << value("2.0") << 2;
    QTest::addRow("index 1.5 is not") << value("1.5") << 1;
    QTest::addRow("index equal to the count") << value("3") << 1;
    QTest::addRow("negative index") << value("-1") << 1;
    QTest::addRow("numeric string") << value(R"("2")") << 2;
    QTest::addRow("numeric string with plus") << value(R"("+0")") << 0;
    QTest::addRow("numeric string out of range") << value(R"("-2")") << 1;
    QTest::addRow("main") << value(R"("main")") << 1;
    QTest::addRow("menubar") << value(R"("menubar")") << 1;
    QTest::addRow("LARGEST with spaces") << value(R"("  LARGEST ")") << 1;
    QTest::addRow("big") << value(R"("big")") << 1;
    QTest::addRow("smallest") << value(R"("smallest")") << 2;
    QTest::addRow("little") << value(R"("Little")") << 2;
    QTest::addRow("laptop") << value(R"("laptop")") << 0;
    QTest::addRow("internal") << value(R"("internal")") << 0;
    QTest::addRow("external is the first not built in") << value(R"("external")") << 1;
    QTest::addRow("second") << value(R"("second")") << 1;
    QTest::addRow("unknown word") << value(R"("left one")") << 1;
    QTest::addRow("another type") << value("true") << 1;
}

void TestWindowLayout::screenForSpec()
{
    QFETCH(QJsonValue, spec);
    QFETCH(int, expectedIndex);
    QCOMPARE(screens::forSpec(threeScreens, spec).index, expectedIndex);
    // With only the laptop panel, which is also main, every external word falls back to it.
    const QList<ScreenInfo> laptopOnly{makeScreen(0, "eDP-1", QRectF(0, 0, 1440, 900), true, true)};
    QCOMPARE(screens::forSpec(laptopOnly, spec).index, 0);
}

void TestWindowLayout::withoutAMainScreenTheFirstStandsIn()
{
    QList<ScreenInfo> noMain = threeScreens;
    noMain[1].isMain = false;
    QCOMPARE(screens::forSpec(noMain, value(R"("main")")).index, 0);
    QCOMPARE(screens::forSpec(noMain, value(R"("nonsense")")).index, 0);
    QCOMPARE(screens::forSpec(noMain, value(R"("largest")")).index, 1);
}

void TestWindowLayout::noScreensGiveThePlaceholder()
{
    for (const QJsonValue &spec : {value(R"("main")"), value("0"), QJsonValue(QJsonValue::Undefined)}) {
        const ScreenInfo none = screens::forSpec({}, spec);
        QCOMPARE(none.index, 0);
        QCOMPARE(none.label, QStringLiteral("none"));
        QCOMPARE(none.name, QStringLiteral("none"));
        QCOMPARE(none.frame, QRectF());
        QCOMPARE(none.visibleFrame, QRectF());
        QVERIFY(!none.isBuiltin);
        QVERIFY(none.isMain);
        QCOMPARE(none.displayID, 0u);
    }
}

void TestWindowLayout::builtinOutputNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("builtin");
    QTest::addRow("eDP-1") << QStringLiteral("eDP-1") << true;
    QTest::addRow("eDP1") << QStringLiteral("eDP1") << true;
    QTest::addRow("LVDS-1") << QStringLiteral("LVDS-1") << true;
    QTest::addRow("DSI-1") << QStringLiteral("DSI-1") << true;
    QTest::addRow("eDP-1-1") << QStringLiteral("eDP-1-1") << true;
    QTest::addRow("HDMI-1") << QStringLiteral("HDMI-1") << false;
    QTest::addRow("DP-2") << QStringLiteral("DP-2") << false;
    QTest::addRow("Xvfb's screen") << QStringLiteral("screen") << false;
    QTest::addRow("eDPx") << QStringLiteral("eDPx") << false;
}

void TestWindowLayout::builtinOutputNames()
{
    QFETCH(QString, name);
    QFETCH(bool, builtin);
    QCOMPARE(screens::isBuiltinOutputName(name), builtin);
}

void TestWindowLayout::qtScreensAreListedWithStableNumbers()
{
    const QList<ScreenInfo> first = screens::current();
    QVERIFY(!first.isEmpty());
    QCOMPARE(first, screens::current());
    for (const ScreenInfo &screen : first) {
        QVERIFY(screen.displayID != 0);
        QCOMPARE(screen.label,
            screen.isBuiltin    ? screens::builtinLabel
                : screen.isMain ? screens::mainLabel
                                : screens::externalLabel);
    }
    QCOMPARE(std::count_if(first.begin(), first.end(), [](const ScreenInfo &s) { return s.isMain; }), 1);
}

QTEST_MAIN(TestWindowLayout)
#include "tst_windowlayout.moc"
