// KWin's fake input on a real headless KWin: a pointer granted by a desktop entry for this very
// binary clicks a native Wayland client where it is told to, and without the entry KWin refuses
// it, events go to the fallback and the refusal is told once.

#include <QCoreApplication>
#include <QTest>

#include <atomic>

#include "KWinFakePointer.h"
#include "KWinSession.h"

using namespace halvic;
using testing::KWinSession;

namespace {

using Type = PointerEvent::Type;

/// Where events go when KWin refuses its fake input.
struct Recorder final : PointerSink
{
    void post(const PointerEvent &event) override { events.push_back(event); }
    std::vector<PointerEvent> events;
};

QString ownPath()
{
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

QByteArray displayOf(const KWinSession &session)
{
    return QFile::encodeName(session.runtimeDir() + u'/' + session.waylandDisplay());
}

} // namespace

class TestGesturesKWin : public QObject
{
    Q_OBJECT

    QStringList reports(QProcess &probe) // "press 1 50 50", without the probe's "ready"
    {
        m_reports += QString::fromLatin1(probe.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        m_reports.removeAll(QStringLiteral("ready"));
        return m_reports;
    }

    QStringList m_reports;

private slots:
    void initTestCase()
    {
        if (const QString why = KWinSession::unavailable(); !why.isEmpty())
            QSKIP(qPrintable(why));
    }

    void clicksANativeClientWhereTold()
    {
        KWinSession session({ownPath()});
        QVERIFY2(session.ok(), qPrintable(session.error()));
        std::atomic<int> refusals = 0;
        // Ready before the client starts: a client binds the seat's pointer when it appears.
        KWinFakePointer pointer(displayOf(session), 1.0, nullptr, [&] { ++refusals; });
        QTRY_VERIFY_WITH_TIMEOUT(pointer.state() != WaylandPointer::State::Connecting, 10000);
        QCOMPARE(pointer.state(), WaylandPointer::State::Ready);

        QProcessEnvironment wayland;
        wayland.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
        QProcess &probe = session.startClient(
            qEnvironmentVariable("HALVIC_BINARY_DIR") + "/tests/wayland_probe", {"probe"}, wayland);
        // KWin places the window itself; ours to move, its client area is where clicks land.
        const QString place = QStringLiteral(R"((() => {
            const w = (workspace.windowList ? workspace.windowList() : workspace.clientList())
                .find(c => c.caption == "probe");
            if (!w) return "";
            w.frameGeometry = {x: 300, y: 200, width: 400, height: 300};
            const c = w.bufferGeometry;
            return [c.x, c.y].join(" ");
        })())");
        QPoint client;
        QVERIFY(KWinSession::waitFor([&] {
            const QList<QByteArray> at = session.query(place).split(' ');
            client = at.size() == 2 ? QPoint(at[0].toInt(), at[1].toInt()) : QPoint();
            // The frame changes once the client has answered; the decoration sits above.
            return QRect(300, 200, 20, 60).contains(client);
        }));
        // The client draws at its new place a little later: right clicks in its corner until one
        // lands there.
        QVERIFY2(KWinSession::waitFor([&] {
            pointer.post({Type::RightDown, client});
            pointer.post({Type::RightUp, client});
            KWinSession::waitFor([&] { return reports(probe).size() >= 2; }, 500);
            return reports(probe).value(m_reports.size() - 1) == QLatin1String("release 2 0 0");
        }),
            qPrintable(m_reports.join(u", ")));
        m_reports.clear();

        const std::pair<Type, QPoint> clicks[] = {{Type::LeftDown, {50, 40}}, {Type::LeftUp, {50, 40}},
            {Type::RightDown, {120, 80}}, {Type::RightUp, {121, 80}}};
        for (const auto &[type, at] : clicks)
            pointer.post({type, client + at});
        QTRY_COMPARE_WITH_TIMEOUT(reports(probe),
            (QStringList{"press 1 50 40", "release 1 50 40", "press 2 120 80", "release 2 121 80"}), 10000);
        QCOMPARE(refusals.load(), 0);
    }

    void withoutTheDesktopEntryKWinRefusesOnce()
    {
        KWinSession session; // no program may use fake input
        QVERIFY2(session.ok(), qPrintable(session.error()));
        std::atomic<int> refusals = 0;
        auto fallback = std::make_unique<Recorder>();
        const Recorder &recorded = *fallback;
        KWinFakePointer pointer(displayOf(session), 1.0, std::move(fallback), [&] { ++refusals; });
        QTRY_VERIFY_WITH_TIMEOUT(pointer.state() != WaylandPointer::State::Connecting, 10000);
        QCOMPARE(pointer.state(), WaylandPointer::State::Unavailable);
        const PointerEvent click{Type::LeftDown, {10, 20}};
        pointer.post(click);
        QCOMPARE(recorded.events, std::vector{click});
        QCOMPARE(refusals.load(), 1);
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    TestGesturesKWin test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_gestures_kwin.moc"
