#include "SwayDesktop.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QScreen>
#include <QWindow>

#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

#include "ScreenInfo.h"
#include "SwayIpc.h"
#include "SwayWindowSystem.h"
#include "WlrVirtualPointer.h"
#include "X11Desktop.h"

namespace halvic {

namespace {

using Clock = std::chrono::steady_clock;

/// How long a placement waits for sway to map the window it names.
constexpr auto mapTimeout = std::chrono::seconds(3);
constexpr auto retryInterval = std::chrono::milliseconds(20);
/// How long after a placement sway is asked where the window ended up, and how often at most.
constexpr auto checkDelay = std::chrono::milliseconds(200);
constexpr int checkRounds = 5;
/// Set on a panel between its first placement after being shown and its hiding.
constexpr const char *shownProperty = "_halvic_placedSinceShown";

/// One window's latest wish, in sway's layout coordinates.
struct Wish
{
    QRect frame;
    bool focus = false;
    Clock::time_point since;
};

/// A placement sent, to be checked once sway has handled what came after it.
struct Check
{
    QRect frame;
    Clock::time_point due;
    int roundsLeft = checkRounds;
};

} // namespace

/// Our panels are XWayland windows: sway floats them (a rule on our process, so they never
/// take a tile), keeps them on every workspace and leaves the keyboard alone, but it centres a
/// floating X11 window on each of its own resize requests and ignores its moves. So every
/// frame the program sets is also sent as an IPC command, from a thread of its own, the latest
/// one per window (a glide's steps collapse while sway is busy), retried until sway has mapped
/// the window. A configure request of Qt's that sway handles after our command still centres
/// the window, so a little later sway is asked where it is, and told again where it should be.
class SwayOwnWindows final : public OwnWindows
{
public:
    explicit SwayOwnWindows(const QString &socket)
        : m_ipc(socket, std::chrono::milliseconds(500))
        , m_worker([this](std::stop_token stop) { run(stop); })
    {
        const qint64 pid = QCoreApplication::applicationPid();
        {
            std::scoped_lock lock(m_mutex);
            m_rules = QStringLiteral("for_window [pid=%1] \"floating enable, sticky enable, border none\"; "
                                     "no_focus [pid=%1]")
                          .arg(pid);
            m_wake.notify_one();
        }
        watchScreens();
    }

    ~SwayOwnWindows() override
    {
        m_worker.request_stop();
        m_wake.notify_one();
    }

    void prepare(QWindow &window) override
    {
        QObject::connect(&window, &QWindow::visibleChanged, &window, [&window](bool visible) {
            if (!visible)
                window.setProperty(shownProperty, false);
        });
    }

    /// Debian 12's XWayland does not hand an X window's input shape on to the compositor, so
    /// sway gives our click-through overlays the clicks under them.
    bool overlaysPassInput() const override { return false; }

    void placed(QWindow &window, const QRect &frame) override
    {
        // Unmanaged windows (our menus) are where X puts them already.
        if (QGuiApplication::platformName() != QLatin1StringView("xcb") || !window.isVisible()
            || window.flags().testFlag(Qt::X11BypassWindowManagerHint))
            return;
        const qreal ratio = window.devicePixelRatio();
        const QRect pixels(QPoint(qRound(frame.x() * ratio), qRound(frame.y() * ratio)),
            QSize(qRound(frame.width() * ratio), qRound(frame.height() * ratio)));
        const auto id = quint64(window.winId());
        // The keyboard goes to a panel shown for the user, as an X11 window manager would give it.
        const bool justShown = !window.property(shownProperty).toBool();
        window.setProperty(shownProperty, true);
        const bool focus = justShown && !window.property("_q_showWithoutActivating").toBool();
        std::scoped_lock lock(m_mutex);
        Wish &wish = m_wishes[id];
        wish.focus = wish.focus || focus;
        wish.frame = pixels;
        wish.since = Clock::now();
        m_wake.notify_one();
    }

private:
    /// Sway's output names replace XWayland's in the screen list, read again whenever Qt's
    /// screens change.
    void watchScreens()
    {
        if (!qGuiApp)
            return;
        const auto refresh = [this] {
            std::scoped_lock lock(m_mutex);
            m_outputsWanted = true;
            m_wake.notify_one();
        };
        const auto watch = [this, refresh](QScreen *screen) {
            QObject::connect(screen, &QScreen::geometryChanged, &m_context, refresh);
        };
        QObject::connect(qGuiApp, &QGuiApplication::screenAdded, &m_context, [watch, refresh](QScreen *screen) {
            watch(screen);
            refresh();
        });
        QObject::connect(qGuiApp, &QGuiApplication::screenRemoved, &m_context, refresh);
        for (QScreen *screen : QGuiApplication::screens())
            watch(screen);
        refresh();
    }

    void readOutputs()
    {
        const auto reply = m_ipc.request(sway::Message::GetOutputs);
        if (!reply)
            return;
        QList<screens::OutputName> names;
        for (const QJsonValue &value : reply->array()) {
            const QJsonObject output = value.toObject();
            if (!output.value(QLatin1String("active")).toBool())
                continue;
            const QJsonObject rect = output.value(QLatin1String("rect")).toObject();
            names.append({QRect(rect.value(QLatin1String("x")).toInt(), rect.value(QLatin1String("y")).toInt(),
                              rect.value(QLatin1String("width")).toInt(), rect.value(QLatin1String("height")).toInt()),
                output.value(QLatin1String("name")).toString()});
        }
        QMetaObject::invokeMethod(
            &m_context, [names] { screens::setOutputNames(names); }, Qt::QueuedConnection);
    }

    void run(std::stop_token stop)
    {
        std::unique_lock lock(m_mutex);
        while (!stop.stop_requested()) {
            if (std::exchange(m_outputsWanted, false)) {
                lock.unlock();
                readOutputs();
                lock.lock();
                continue;
            }
            if (!m_rules.isEmpty()) {
                const QString rules = std::exchange(m_rules, QString());
                lock.unlock();
                m_ipc.command(rules);
                lock.lock();
                continue;
            }
            if (m_wishes.empty()) {
                const auto woken = [this] { return !m_wishes.empty() || !m_rules.isEmpty() || m_outputsWanted; };
                if (m_checks.empty())
                    m_wake.wait(lock, stop, woken);
                else if (!m_wake.wait_until(lock, stop, nextCheck(), woken))
                    checkPlacements(lock);
                continue;
            }
            std::map<quint64, Wish> batch = std::exchange(m_wishes, {});
            lock.unlock();
            std::map<quint64, Wish> unmapped;
            std::map<quint64, Check> sent;
            for (const auto &[id, wish] : batch) {
                if (apply(id, wish))
                    sent[id] = {wish.frame, Clock::now() + checkDelay};
                else if (Clock::now() - wish.since < mapTimeout)
                    unmapped.emplace(id, wish);
            }
            lock.lock();
            sent.merge(m_checks);
            m_checks = std::move(sent);
            // A newer wish for the same window wins over a retry of an older one.
            m_wishes.merge(unmapped);
            if (!unmapped.empty() || !m_wishes.empty())
                m_wake.wait_for(lock, stop, retryInterval, [] { return false; });
        }
    }

    Clock::time_point nextCheck() const
    {
        Clock::time_point next = Clock::time_point::max();
        for (const auto &[id, check] : m_checks)
            next = std::min(next, check.due);
        return next;
    }

    /// With the lock held (released while asking sway): placements due are read back, and
    /// sent again where sway put the window elsewhere.
    void checkPlacements(std::unique_lock<std::mutex> &lock)
    {
        const auto now = Clock::now();
        std::map<quint64, Check> due;
        std::erase_if(m_checks, [&](const auto &entry) { return entry.second.due <= now && due.insert(entry).second; });
        lock.unlock();
        const auto tree = m_ipc.request(sway::Message::GetTree);
        const QList<sway::Window> windows = tree ? sway::windowsOf(tree->object()) : QList<sway::Window>();
        std::map<quint64, Check> again;
        for (auto &[id, check] : due) {
            const auto window = std::ranges::find(windows, quint32(id), &sway::Window::x11Window);
            if (window == windows.end() || window->frame == check.frame || --check.roundsLeft <= 0)
                continue;
            apply(id, {check.frame, false, now});
            check.due = Clock::now() + checkDelay;
            again.insert({id, check});
        }
        lock.lock();
        // A newer placement of the same window has its own check.
        m_checks.merge(again);
    }

    /// False while sway has no window with that id yet.
    bool apply(quint64 id, const Wish &wish)
    {
        QString commands = QStringLiteral("[id=%1] floating enable, sticky enable, border none, "
                                          "resize set %2 %3, move absolute position %4 %5")
                               .arg(id)
                               .arg(wish.frame.width())
                               .arg(wish.frame.height())
                               .arg(wish.frame.x())
                               .arg(wish.frame.y());
        if (wish.focus)
            commands += QStringLiteral(", focus");
        return m_ipc.command(commands);
    }

    sway::Ipc m_ipc;
    QObject m_context; // main thread: screen watches, and where output names are handed over
    std::mutex m_mutex;
    std::condition_variable_any m_wake;
    QString m_rules;
    bool m_outputsWanted = false;
    std::map<quint64, Wish> m_wishes;
    std::map<quint64, Check> m_checks;
    std::jthread m_worker; // last: stops before the members it uses go
};

std::unique_ptr<SwayDesktop> SwayDesktop::open()
{
    const QString socket = qEnvironmentVariable("SWAYSOCK");
    if (socket.isEmpty() || !SwayWindowSystem(socket).isAvailable())
        return nullptr;
    return std::unique_ptr<SwayDesktop>(new SwayDesktop(socket));
}

SwayDesktop::SwayDesktop(QString socketPath)
    : Desktop(DesktopKind::Sway)
    , m_socket(std::move(socketPath))
    , m_own(std::make_unique<SwayOwnWindows>(m_socket))
{
    OwnWindows::install(*m_own);
}

SwayDesktop::~SwayDesktop()
{
    OwnWindows::uninstall(*m_own);
}

std::unique_ptr<WindowSystem> SwayDesktop::windowSystem()
{
    return std::make_unique<SwayWindowSystem>(m_socket);
}

std::unique_ptr<PointerSink> SwayDesktop::pointerSink()
{
    // XWayland's XTest reaches X11 clients only: it stands in where the compositor offers no
    // virtual pointer.
    const QScreen *screen = QGuiApplication::primaryScreen();
    return std::make_unique<WlrVirtualPointer>(
        QByteArray(), screen ? screen->devicePixelRatio() : 1.0, xtestPointerSink());
}

OwnWindows &SwayDesktop::ownWindows()
{
    return *m_own;
}

} // namespace halvic
