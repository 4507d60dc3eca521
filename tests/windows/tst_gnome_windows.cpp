// The HUD's extension on a real headless GNOME Shell: what it refuses, as one table over D-Bus
// (from this test, which it lets in, and from a program it does not); then the real "window"
// row arranging native Wayland clients and an X11 one (on XWayland), frames read back through
// the extension's own list.

#include <QDBusError>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include "EventDispatcher.h"
#include "GnomeSession.h"
#include "GnomeWindowSystem.h"
#include "WindowCommandRows.h"
#include "WindowCommands.h"
#include "X11WindowSystem.h"

using namespace halvic;
using namespace Qt::StringLiterals;
using testing::GnomeSession;

using testing::Frames;
using testing::placed;

namespace {

GnomeSession *session = nullptr; // main's
std::atomic<bool> takenAsMissing = false;

QString error(QDBusError::ErrorType type)
{
    return QDBusError::errorString(type);
}

} // namespace

class TestGnomeWindows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (const QString why = GnomeSession::unavailable(); !why.isEmpty())
            QSKIP(qPrintable(why));
        QVERIFY2(session->ok(), qPrintable("no GNOME Shell for window tests: " + session->error()));
        const QScreen *screen = QGuiApplication::primaryScreen();
        QCOMPARE(screen->geometry(), QRect(QPoint(), GnomeSession::outputSize));
        // Layouts keep clear of the top bar once the Shell has told XWayland where it is.
        QTRY_VERIFY_WITH_TIMEOUT(screen->availableGeometry() != screen->geometry(), 20000);
        m_commands.registerRows(m_dispatcher);
    }

    void extensionRefuses_data()
    {
        QTest::addColumn<QString>("method");
        QTest::addColumn<QVariantList>("arguments");
        QTest::addColumn<QString>("expected"); // the D-Bus error; empty for an answer
        const QVariant none = QVariant::fromValue(qulonglong(999999));
        const QString invalid = error(QDBusError::InvalidArgs);
        QTest::newRow("version") << "Version" << QVariantList{} << "";
        QTest::newRow("no such window") << "Close" << QVariantList{none} << invalid;
        QTest::newRow("window id 0") << "Activate" << QVariantList{QVariant::fromValue(qulonglong(0))} << invalid;
        QTest::newRow("empty frame") << "MoveResize" << QVariantList{none, 0, 0, 0, 10} << invalid;
        QTest::newRow("frame off every screen") << "MoveResize" << QVariantList{none, 0, -900000, 10, 10} << invalid;
        QTest::newRow("a frame as text") << "MoveResize" << QVariantList{none, "0", 0, 10, 10} << invalid;
        QTest::newRow("button 4") << "PointerButton" << QVariantList{4u, true} << invalid;
        QTest::newRow("button 0") << "PointerButton" << QVariantList{0u, false} << invalid;
        QTest::newRow("pointer off the screen") << "PointerMotion" << QVariantList{1920, 5} << invalid;
        QTest::newRow("pointer on the screen") << "PointerMotion" << QVariantList{1900, 5} << "";
        QTest::newRow("own window 0") << "PlaceOwn" << QVariantList{0u, 0, 0, 10, 10} << invalid;
        QTest::newRow("unknown method") << "Eval" << QVariantList{"1"} << error(QDBusError::UnknownMethod);
        // Any other program, here gdbus, is refused whatever it asks.
        QTest::newRow("not the HUD") << "gdbus" << QVariantList{} << error(QDBusError::AccessDenied);
    }

    void extensionRefuses()
    {
        QFETCH(QString, method);
        QFETCH(QVariantList, arguments);
        QFETCH(QString, expected);
        if (method == u"gdbus") {
            QProcess gdbus;
            gdbus.setProcessEnvironment(session->environment());
            gdbus.start("gdbus",
                {"call", "--session", "--dest", "org.gnome.Shell", "--object-path", HALVIC_GNOME_PATH, "--method",
                    HALVIC_GNOME_INTERFACE ".Version"});
            QVERIFY(gdbus.waitForFinished(10000));
            QVERIFY2(gdbus.readAllStandardError().contains(expected.toUtf8()), qPrintable(expected));
            return;
        }
        const QDBusMessage reply = session->call(method, arguments);
        QCOMPARE(reply.errorName(), expected);
    }

    void commandsPlaceWindows_data() { testing::addWindowCommandRows("probe-x11"); }

    void commandsPlaceWindows()
    {
        QFETCH(QByteArray, command);
        QFETCH(Frames, frames);
        const QString probe = qEnvironmentVariable("HALVIC_BINARY_DIR") + "/tests/wayland_probe";
        QProcessEnvironment wayland;
        wayland.insert("QT_QPA_PLATFORM", "wayland");
        for (const char *name : {"probe-one", "probe-two"})
            session->startClient(probe, {name}, wayland);
        QProcessEnvironment x11;
        x11.insert("QT_QPA_PLATFORM", "xcb");
        session->startClient(probe, {"probe-x11"}, x11);
        // Listed once they named themselves.
        QVERIFY(GnomeSession::waitFor([] {
            return !session->window("probe-one").isEmpty() && !session->window("probe-two").isEmpty()
                && !session->window("probe-x11").isEmpty();
        }));
        m_dispatcher.dispatch(R"({"type":"window","command":)" + command + '}');
        const auto frameOf = [](const QString &title) { return GnomeSession::frameOf(session->window(title)); };
        for (auto it = frames.cbegin(); it != frames.cend(); ++it)
            QVERIFY2(GnomeSession::waitFor([&] { return frameOf(it.key()) == *it; }),
                qPrintable(it.key() + QDebug::toString(frameOf(it.key()))));
        QVERIFY(!takenAsMissing);
        session->stopClients();
        QVERIFY(GnomeSession::waitFor([] { return session->windows().isEmpty(); }));
    }

private:
    EventDispatcher m_dispatcher;
    WindowCommands m_commands{
        std::make_unique<GnomeWindowSystem>(std::make_shared<gnome::Extension>(session->busAddress()),
            X11WindowSystem::connect(), [] { takenAsMissing = true; })};
};

int main(int argc, char **argv)
{
    // The Shell and its XWayland, where the screens come from, live longer than the GUI application.
    GnomeSession gnome;
    session = &gnome;
    qputenv("DISPLAY", gnome.x11Display().toLocal8Bit());
    qputenv("XAUTHORITY", gnome.environment().value("XAUTHORITY").toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", gnome.ok() ? "xcb" : "offscreen");
    // No desktop entry renames a client, whatever is installed on the machine.
    const QTemporaryDir noEntries;
    qputenv("XDG_DATA_HOME", noEntries.path().toLocal8Bit());
    qputenv("XDG_DATA_DIRS", noEntries.path().toLocal8Bit());
    QGuiApplication app(argc, argv);
    TestGnomeWindows test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_gnome_windows.moc"
