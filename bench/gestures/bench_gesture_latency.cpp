// Gesture latency on a real X server, or on a headless sway: a sender thread sends hands
// datagrams over loopback UDP at a steady rate; each one moves the pointer through XTest (or
// sway's virtual pointer). Reported: the time from the datagram being sent to its pointer
// event having been posted (its requests flushed to the X server's or the compositor's
// socket), as p50/p99/max, early against late (a growing backlog would show there), and how
// often the main loop turns during a 50,000 datagrams/s flood.
//   bench_gesture_latency [seconds=60] [rate=500] [x11|sway]

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QQmlEngine>
#include <QQmlEngineExtensionPlugin>
#include <QThread>
#include <QTimer>
#include <QUdpSocket>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <thread>
#include <vector>

#include "GestureController.h"
#include "GestureMessage.h"
#include "QtGestureDesktop.h"
#include "Scheduler.h"
#include "SwayDesktop.h"
#include "WaylandSession.h"
#include "WlrVirtualPointer.h"
#include "X11Session.h"
#include "X11WindowSystem.h"
#include "XTestPointerSink.h"

Q_IMPORT_QML_PLUGIN(Halvic_GesturesPlugin)
Q_IMPORT_QML_PLUGIN(Halvic_PanelsPlugin)

using namespace halvic;
using Clock = std::chrono::steady_clock;

namespace {

/// Times each posted move; the datagram's number is in the point it moves to.
class TimingSink final : public PointerSink
{
public:
    explicit TimingSink(std::unique_ptr<PointerSink> inner, std::vector<Clock::time_point> &posted)
        : m_inner(std::move(inner))
        , m_posted(posted)
    {
    }
    void post(const PointerEvent &event) override
    {
        m_inner->post(event);
        const int a = event.position.x() - 100;
        const int b = event.position.y() - 100;
        const std::size_t seq = std::size_t(b) * 500 + std::size_t(a);
        if (event.type == PointerEvent::Type::Move && a >= 0 && a < 500 && b >= 0 && seq < m_posted.size())
            m_posted[seq] = Clock::now();
    }

private:
    std::unique_ptr<PointerSink> m_inner;
    std::vector<Clock::time_point> &m_posted;
};

/// Runs the event loop until `flag` is set.
void runUntil(const std::atomic<bool> &flag)
{
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (flag)
            loop.quit();
    });
    check.start(20);
    loop.exec();
}

double percentile(std::vector<double> values, double p)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, std::size_t(p * double(values.size() - 1) + 0.5))];
}

/// The first display's size, which the datagrams' coordinates span.
QSize screen(1280, 800);

QByteArray handsAt(int a, int b)
{
    return QStringLiteral(R"({"t":"hands","armed":true,"hands":[{"hand":"R","x":%1,"y":%2,"pose":"point"}]})")
        .arg((100.0 + a) / screen.width(), 0, 'g', 17)
        .arg((100.0 + b) / screen.height(), 0, 'g', 17)
        .toUtf8();
}

/// The desktop a run points at: a private X server, or a private sway and its virtual pointer.
struct BenchDesktop
{
    std::unique_ptr<testing::X11Session> x11;
    std::unique_ptr<testing::SwaySession> sway;
    std::unique_ptr<SwayDesktop> swayDesktop;

    /// Starts the server and points this process's environment at it.
    bool start(bool onSway)
    {
        if (!onSway) {
            x11 = std::make_unique<testing::X11Session>(screen);
            if (!x11->ok())
                return fail(x11->error());
            qputenv("DISPLAY", x11->display());
            qputenv("XAUTHORITY", x11->authority().toLocal8Bit());
        } else {
            sway = std::make_unique<testing::SwaySession>();
            if (!sway->ok())
                return fail(sway->error());
            screen = testing::SwaySession::outputSize;
            qputenv("DISPLAY", sway->x11Display().toLocal8Bit());
            qputenv("SWAYSOCK", sway->socketPath().toLocal8Bit());
            qputenv("WAYLAND_DISPLAY", (sway->runtimeDir() + u'/' + sway->waylandDisplay()).toLocal8Bit());
        }
        qputenv("QT_QPA_PLATFORM", "xcb");
        return true;
    }

    /// The pointer and windows, once the application exists; the virtual pointer connected.
    std::pair<std::unique_ptr<PointerSink>, std::unique_ptr<WindowSystem>> connect()
    {
        if (x11)
            return {XTestPointerSink::connect(x11->display()), X11WindowSystem::connect(x11->display())};
        swayDesktop = SwayDesktop::open();
        if (!swayDesktop)
            return {};
        std::unique_ptr<PointerSink> pointer = swayDesktop->pointerSink();
        const auto *wlr = dynamic_cast<const WlrVirtualPointer *>(pointer.get());
        testing::SwaySession::waitFor([wlr] { return wlr && wlr->state() != WlrVirtualPointer::State::Connecting; });
        if (!wlr || wlr->state() != WlrVirtualPointer::State::Ready)
            return {};
        return {std::move(pointer), swayDesktop->windowSystem()};
    }

    static bool fail(const QString &why)
    {
        std::fprintf(stderr, "no desktop: %s\n", qPrintable(why));
        return false;
    }
};

} // namespace

int main(int argc, char **argv)
{
    const int seconds = argc > 1 ? std::max(1, atoi(argv[1])) : 60;
    const int rate = argc > 2 ? std::clamp(atoi(argv[2]), 1, 500) : 500;
    const bool onSway = argc > 3 && qstrcmp(argv[3], "sway") == 0;
    BenchDesktop desktop;
    if (!desktop.start(onSway))
        return 1;
    QGuiApplication app(argc, argv);

    const std::size_t total = std::size_t(seconds) * std::size_t(rate);
    if (total > 500 * 600) {
        std::fprintf(stderr, "at most 600 s at 500/s\n");
        return 1;
    }
    std::vector<Clock::time_point> sent(total), posted(total);
    QQmlEngine qml;
    qml.addImportPath(QStringLiteral("qrc:/"));
    QtScheduler scheduler;
    auto [pointer, windows] = desktop.connect();
    if (!pointer || !windows) {
        std::fprintf(stderr, "no pointer or window system on %s\n", onSway ? "sway" : "X11");
        return 1;
    }
    TimingSink sink(std::move(pointer), posted);
    GestureController controller(scheduler, sink, *windows, qtGestureDesktop(qml, 0));
    controller.setEnabled(true);
    const quint16 port = controller.listeningPort().value_or(0);

    std::atomic<bool> done = false;
    std::unique_ptr<QThread> sender(QThread::create([&] {
        QUdpSocket socket;
        const auto start = Clock::now();
        const auto interval = std::chrono::nanoseconds(1'000'000'000 / rate);
        for (std::size_t seq = 0; seq < total; ++seq) {
            std::this_thread::sleep_until(start + interval * seq);
            const QByteArray datagram = handsAt(int(seq % 500), int(seq / 500));
            sent[seq] = Clock::now();
            socket.writeDatagram(datagram, QHostAddress(QHostAddress::LocalHost), port);
        }
        done = true;
    }));
    sender->start();
    runUntil(done);
    sender->wait();
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 500)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);

    std::vector<double> all, early, late;
    std::size_t missing = 0;
    for (std::size_t i = 0; i < total; ++i) {
        if (posted[i] == Clock::time_point{}) {
            ++missing;
            continue;
        }
        const double us = std::chrono::duration<double, std::micro>(posted[i] - sent[i]).count();
        all.push_back(us);
        if (i < total / 6)
            early.push_back(us);
        else if (i >= total - total / 6)
            late.push_back(us);
    }
    std::printf("%s: datagram sent -> pointer event posted, %d/s for %d s (%zu datagrams, %zu not posted)\n",
        onSway ? "sway, virtual pointer" : "X11, XTest", rate, seconds, total, missing);
    std::printf(
        "  p50 %.0f us  p99 %.0f us  max %.0f us\n", percentile(all, 0.5), percentile(all, 0.99), percentile(all, 1.0));
    std::printf("  first sixth p50 %.0f us p99 %.0f us; last sixth p50 %.0f us p99 %.0f us\n", percentile(early, 0.5),
        percentile(early, 0.99), percentile(late, 0.5), percentile(late, 0.99));

    // The HUD's own share: datagram bytes in hand → decoded → pointer event posted, without
    // the kernel and the event loop's wake-up (same rate, a tenth of the time).
    {
        std::vector<double> own;
        const std::size_t count = std::max<std::size_t>(total / 10, 100);
        std::atomic<bool> finished = false;
        QTimer pace;
        pace.setTimerType(Qt::PreciseTimer);
        QObject::connect(&pace, &QTimer::timeout, [&] {
            const QByteArray datagram = handsAt(int(own.size() % 500), 599);
            const auto start = Clock::now();
            if (const auto message = gestures::decode(datagram))
                controller.handle(*message);
            own.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
            if (own.size() >= count) {
                pace.stop();
                finished = true;
            }
        });
        pace.start(1000 / rate);
        runUntil(finished);
        std::printf(
            "datagram in hand -> decoded -> pointer event posted (%zu): p50 %.0f us  p99 %.0f us  max %.0f us\n", count,
            percentile(own, 0.5), percentile(own, 0.99), percentile(own, 1.0));
    }

    // A flood: 50,000 datagrams/s for 3 s; how late do 5 ms main-loop ticks come?
    std::atomic<long> flooded = 0;
    std::unique_ptr<QThread> flood(QThread::create([&] {
        QUdpSocket socket;
        const QByteArray datagram = handsAt(1, 1);
        QElapsedTimer clock;
        clock.start();
        long n = 0;
        while (clock.elapsed() < 3000) {
            while (n < clock.elapsed() * 50) {
                socket.writeDatagram(datagram, QHostAddress(QHostAddress::LocalHost), port);
                ++n;
            }
            QThread::usleep(200);
        }
        flooded = n;
    }));
    std::vector<double> gaps;
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        gaps.push_back(double(clock.nsecsElapsed() - last) / 1e6);
        last = clock.nsecsElapsed();
    });
    tick.start(5);
    flood->start();
    std::atomic<bool> floodDone = false;
    QObject::connect(flood.get(), &QThread::finished, [&] { floodDone = true; });
    runUntil(floodDone);
    flood->wait();
    tick.stop();
    std::printf("flood of %ld datagrams in 3 s: 5 ms main-loop ticks came every p50 %.1f ms, p99 %.1f ms, "
                "max %.1f ms\n",
        long(flooded), percentile(gaps, 0.5), percentile(gaps, 0.99), percentile(gaps, 1.0));
    return 0;
}
