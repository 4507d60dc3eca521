// Window commands through the real "window" row against a real headless sway, with native
// Wayland clients and an X11 one on XWayland; frames are read back over sway's IPC.

#include <QGuiApplication>
#include <QTest>

#include <memory>

#include "SwaySession.h"

using namespace halvic;
using testing::SwaySession;

namespace {

std::unique_ptr<SwaySession> session;

} // namespace

class TestSwayWindows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void smoke();
};

void TestSwayWindows::initTestCase()
{
    if (const QString why = SwaySession::unavailable(); !why.isEmpty())
        QSKIP(qPrintable(why));
    if (!session->ok())
        QFAIL(qPrintable(QStringLiteral("no sway for window tests: ") + session->error()));
}

void TestSwayWindows::smoke()
{
    qDebug() << session->socketPath() << session->waylandDisplay() << session->x11Display();
    session->startAsUser(qEnvironmentVariable("HALVIC_BINARY_DIR") + QStringLiteral("/tests/wayland_probe"),
        {QStringLiteral("probe-one")}, QProcessEnvironment());
    QVERIFY(SwaySession::waitFor([] {
        const auto all = session->windows();
        return all.size() == 1 && all.front().appId == QLatin1String("probe-one");
    }));
    session->startAsUser(QStringLiteral("xterm"));
    QVERIFY(SwaySession::waitFor([] { return session->windows().size() == 2; }));
    for (const auto &w : session->windows())
        qDebug() << w.appId << w.wmClass << w.frame << w.content << w.floating;
    qDebug() << QGuiApplication::primaryScreen()->name() << QGuiApplication::primaryScreen()->availableGeometry();
}

int main(int argc, char **argv)
{
    session = std::make_unique<SwaySession>();
    if (session->ok()) {
        qputenv("DISPLAY", session->x11Display().toLocal8Bit());
        qputenv("QT_QPA_PLATFORM", "xcb");
    }
    int result = 0;
    {
        QGuiApplication app(argc, argv);
        TestSwayWindows test;
        result = QTest::qExec(&test, argc, argv);
    }
    session.reset();
    return result;
}

#include "tst_sway_windows.moc"
