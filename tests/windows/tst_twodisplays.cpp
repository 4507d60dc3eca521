// Window commands across two real displays (Xorg's dummy driver: DUMMY0 1400x900 at the
// origin, DUMMY1 1920x1080 right of it) with openbox and real X clients: each item of an
// "arrange" lands on the display it names.

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "EventDispatcher.h"
#include "WindowCommands.h"
#include "WindowManager.h"
#include "X11Session.h"
#include "X11WindowSystem.h"

using namespace halvic;
using testing::X11Session;

namespace {
std::unique_ptr<X11Session> session;
} // namespace

class TestTwoDisplays : public QObject
{
    Q_OBJECT

    quint32 startAndFind(const QString &program, const QString &instanceDotClass)
    {
        session->startClient(program);
        std::optional<quint32> window;
        QElapsedTimer timer;
        timer.start();
        while (!(window = session->window(instanceDotClass)) && timer.elapsed() < 10000)
            QTest::qWait(50);
        return window.value_or(0);
    }

private slots:
    void initTestCase()
    {
        if (!session->ok())
            QFAIL(qPrintable(QStringLiteral("no two-display X server: ") + session->error()));
    }

    void qtSeesBothDisplays()
    {
        const auto screens = QGuiApplication::screens();
        QCOMPARE(screens.size(), 2);
        QCOMPARE(screens.at(0)->geometry(), X11Session::firstDisplay);
        QCOMPARE(screens.at(1)->geometry(), X11Session::secondDisplay);
    }

    void arrangePlacesEachItemOnTheDisplayItNames()
    {
        EventDispatcher dispatcher;
        WindowCommands commands(X11WindowSystem::connect());
        commands.registerRows(dispatcher);
        int finished = 0;
        connect(
            &commands.manager(), &WindowManager::commandFinished, this, [&] { ++finished; }, Qt::QueuedConnection);
        const quint32 clock = startAndFind(QStringLiteral("xclock"), QStringLiteral("xclock.XClock"));
        const quint32 eyes = startAndFind(QStringLiteral("xeyes"), QStringLiteral("xeyes.XEyes"));
        const quint32 logo = startAndFind(QStringLiteral("xlogo"), QStringLiteral("xlogo.XLogo"));
        QVERIFY(clock && eyes && logo);
        dispatcher.dispatch(QByteArrayView(R"({"type":"window","command":{"action":"arrange","layout":[
            {"mode":"move","app":"xclock","region":"left","screen":"main"},
            {"mode":"move","app":"xeyes","region":"right","screen":"largest"},
            {"mode":"fill","app":"xlogo","screen":1}
        ]}})"));
        QTRY_COMPARE_WITH_TIMEOUT(finished, 1, 15000);
        QTRY_COMPARE(session->frame(clock), std::optional(QRect(0, 0, 700, 900)));
        QTRY_COMPARE(session->frame(eyes), std::optional(QRect(1400 + 960, 0, 960, 1080)));
        QTRY_COMPARE(session->frame(logo), std::optional(X11Session::secondDisplay));
    }
};

int main(int argc, char *argv[])
{
    // The X server must exist before the GUI application connects to it.
    session = std::make_unique<X11Session>(X11Session::TwoDisplays{});
    if (session->ok()) {
        qputenv("DISPLAY", session->display());
        qputenv("XAUTHORITY", session->authority().toLocal8Bit());
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    int result = 0;
    {
        QGuiApplication app(argc, argv);
        TestTwoDisplays test;
        result = QTest::qExec(&test, argc, argv);
    }
    session.reset();
    return result;
}

#include "tst_twodisplays.moc"
