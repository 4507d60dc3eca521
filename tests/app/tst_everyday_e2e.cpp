#include <QFile>
#include <QTest>

#include "HudSession.h"

using namespace halvic::testing;
using namespace Qt::Literals::StringLiterals;

namespace {

// The accessible description of the HUD's first showing object named `name`, as a screen
// reader reads it.
constexpr auto describeScript = R"(
import sys, pyatspi
def walk(node, depth=0):
    if node is None or depth > 60:
        return
    yield node
    for i in range(node.childCount):
        yield from walk(node.getChildAtIndex(i), depth + 1)
for app in pyatspi.Registry.getDesktop(0):
    if app is None or app.name not in ("Halvic", "halvic-hud"):
        continue
    for node in walk(app):
        if node.name == sys.argv[1] and node.getState().contains(pyatspi.STATE_SHOWING):
            print(node.description, end="")
            sys.exit(0)
sys.exit(1)
)";

} // namespace

/// What someone who keeps the HUD open all day relies on, with the real binary on a real X
/// server, window manager and accessibility bus.
class EverydayEndToEndTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<HudSession> session;

    QString describe(const QString &name) const
    {
        return QString::fromUtf8(
            session->run(u"/usr/bin/python3"_s, {u"-c"_s, QString::fromUtf8(describeScript), name}));
    }

private slots:
    void init()
    {
        session = std::make_unique<HudSession>();
        if (!session->ok())
            QFAIL(qPrintable(u"no X session: "_s + session->error()));
    }
    void cleanup() { session.reset(); }

    void anEngineThatDiesSaysWhy()
    {
        session->root().setScript(scriptedEngine("errors_then_exits_3"));
        QVERIFY(session->startHud());
        QVERIFY(session->waitToFind(
            u"The engine stopped (exit status 3): RuntimeError: no microphone found"_s, u"list item"_s, 15000));
        QVERIFY(session->waitToFind(u"offline"_s));
        const QString description = describe(u"offline"_s);
        QVERIFY2(description.startsWith(u"The engine stopped (exit status 3).\n"_s), qPrintable(description));
        QVERIFY2(description.endsWith(u"\nRuntimeError: no microphone found"_s), qPrintable(description));
    }

    // Without a tray (openbox has none) the HUD's "More" menu carries "Start at Login".
    void startAtLoginFromTheMoreMenu()
    {
        QVERIFY(session->startHud());
        const QString entry = session->root().file(u"config/autostart/halvic-hud.desktop"_s);
        const auto toggle = [&] { QVERIFY(session->chooseFromMoreMenu(QStringLiteral("Start at Login"))); };
        toggle();
        QVERIFY(HudSession::waitFor([&] { return QFile::exists(entry); }, 5000));
        QVERIFY(readAll(entry).contains("\nExec="));
        toggle();
        QVERIFY(HudSession::waitFor([&] { return !QFile::exists(entry); }, 5000));
    }
};

QTEST_MAIN(EverydayEndToEndTest)
#include "tst_everyday_e2e.moc"
