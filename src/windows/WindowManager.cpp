#include "WindowManager.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QSet>

#include <condition_variable>
#include <list>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "Applications.h"
#include "JsonRead.h"
#include "Logging.h"
#include "WindowLayout.h"

namespace halvic {

namespace {

using Clock = std::chrono::steady_clock;

/// Set once, when the manager goes away: every wait ends early and the running command
/// gives up at its next step.
class StopFlag
{
public:
    void raise()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_raised = true;
        }
        m_changed.notify_all();
    }
    bool raised() const
    {
        const std::lock_guard lock(m_mutex);
        return m_raised;
    }
    /// Sleeps for `duration` unless raised first; returns false when raised.
    bool sleepFor(std::chrono::milliseconds duration) const
    {
        std::unique_lock lock(m_mutex);
        return !m_changed.wait_for(lock, duration, [this] { return m_raised; });
    }

private:
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    bool m_raised = false;
};

/// One command carried out against the window system with the screens as they were when
/// it arrived.
class CommandRun
{
public:
    CommandRun(WindowSystem &system, QList<ScreenInfo> screens, const StopFlag &stop)
        : m_system(system)
        , m_screens(std::move(screens))
        , m_stop(stop)
    {
    }

    void run(const QJsonObject &command)
    {
        using layout::Action;
        const QStringList apps = layout::appList(command);
        const ScreenInfo screen = screens::forSpec(m_screens, command.value(layout::key::screen));
        switch (layout::actionOf(command)) {
        case Action::Launch:
            forEach(apps, [this](const QString &app) { launch(app); });
            break;
        case Action::Close:
            forEach(apps, [this](const QString &app) { close(app); });
            break;
        case Action::Fill:
            // A top-level fill takes the whole usable area; its insets do not apply.
            forEach(apps, [&](const QString &app) { place(app, screen.visibleFrame, screen); });
            break;
        case Action::Move: {
            const QRectF area = layout::insetArea(screen.visibleFrame, command);
            const QRectF target = layout::regionRect(command.value(layout::key::region), area);
            forEach(apps, [&](const QString &app) { place(app, target, screen); });
            break;
        }
        case Action::Tile:
            tile(apps, layout::insetArea(screen.visibleFrame, command), screen);
            break;
        case Action::Arrange:
            for (const QJsonObject &item : json::objectList(command, layout::key::layout)) {
                if (m_stop.raised())
                    return;
                performItem(item);
            }
            break;
        case Action::None:
            break;
        }
    }

private:
    template <typename Step>
    void forEach(const QStringList &apps, Step step)
    {
        for (const QString &app : apps) {
            if (m_stop.raised())
                return;
            step(app);
        }
    }

    void performItem(const QJsonObject &item)
    {
        const ScreenInfo screen = screens::forSpec(m_screens, item.value(layout::key::screen));
        const QRectF area = layout::insetArea(screen.visibleFrame, item);
        const QStringList apps = layout::appList(item);
        switch (layout::modeOf(item)) {
        case layout::Mode::Fill:
            // Items bring their applications up first, like "move" and "tile" items do.
            forEach(apps, [&](const QString &app) {
                launch(app);
                place(app, area, screen);
            });
            break;
        case layout::Mode::Move: {
            const QRectF target = layout::regionRect(item.value(layout::key::region), area);
            forEach(apps, [&](const QString &app) {
                launch(app);
                place(app, target, screen);
            });
            break;
        }
        case layout::Mode::Tile:
            tile(apps, area, screen);
            break;
        }
    }

    void tile(const QStringList &apps, const QRectF &area, const ScreenInfo &screen)
    {
        const QList<QRectF> columns = layout::tileColumns(apps.size(), area);
        if (columns.isEmpty())
            return;
        forEach(apps, [this](const QString &app) { launch(app); });
        for (qsizetype i = 0; i < apps.size() && !m_stop.raised(); ++i)
            place(apps.at(i), columns.at(i), screen);
    }

    // --- applications ------------------------------------------------------------------

    const apps::DesktopEntries &entries()
    {
        if (!m_entries)
            m_entries.emplace(apps::DesktopEntries::sessionDataDirs());
        return *m_entries;
    }

    /// The running applications, named after their desktop entries where one is known.
    QList<apps::RunningApp> runningApplications()
    {
        QList<apps::RunningApp> running = m_system.runningApplications();
        for (apps::RunningApp &app : running) {
            if (const auto entry = entries().forWindowClass(app.wmInstance, app.wmClass)) {
                if (!entry->name.isEmpty())
                    app.name = entry->name;
                app.appId = entry->id;
            }
        }
        return running;
    }

    /// The running application an engine name means; one this command started counts first.
    std::optional<apps::RunningApp> running(const QString &name)
    {
        const QList<apps::RunningApp> all = runningApplications();
        if (const auto launched = m_launched.find(name); launched != m_launched.end()) {
            for (const apps::RunningApp &app : all)
                if (app.pid == launched->second)
                    return app;
        }
        const std::optional<qsizetype> index = apps::findRunning(all, name);
        return index ? std::optional(all.at(*index)) : std::nullopt;
    }

    /// Waits until the application has a window; false when it has none by the deadline.
    bool waitForWindow(const QString &name, std::chrono::milliseconds timeout)
    {
        const auto deadline = Clock::now() + timeout;
        while (true) {
            const auto app = running(name);
            if (app && !app->windows.isEmpty())
                return true;
            if (Clock::now() >= deadline || !m_stop.sleepFor(WindowManager::pollInterval))
                return false;
        }
    }

    /// Brings an application up: waits for the window of a running one, or starts it from
    /// its desktop entry and waits for its first window. Unknown applications are skipped.
    void launch(const QString &name)
    {
        if (running(name)) {
            waitForWindow(name, WindowManager::launchTimeout);
            return;
        }
        const std::optional<apps::DesktopEntry> entry = entries().forName(name);
        if (!entry)
            return;
        const QStringList command = apps::splitExec(entry->exec);
        const QString directory = entry->path.isEmpty() ? QDir::homePath() : entry->path;
        const std::optional<qint64> pid = m_system.launch(command.first(), command.mid(1), directory);
        if (!pid)
            return;
        m_launched[name] = *pid;
        waitForWindow(name, WindowManager::launchTimeout);
    }

    void close(const QString &name)
    {
        const auto app = running(name);
        if (!app)
            return;
        if (const auto window = m_system.primaryWindow(*app))
            m_system.close(*window);
    }

    // --- windows -----------------------------------------------------------------------

    void place(const QString &name, const QRectF &target, const ScreenInfo &screen)
    {
        // Nothing sensible fits an empty rectangle (a screen of no size, insets eating it all).
        if (target.width() < 1 || target.height() < 1)
            return;
        const auto app = running(name);
        if (!app)
            return;
        const std::optional<WindowId> window = m_system.primaryWindow(*app);
        if (!window)
            return;
        restore(*window);
        m_system.setFrame(*window, layout::toNative(layout::clamp(target, screen.frame), screen));
    }

    /// Takes a window out of full screen and out of its maximized state, and waits until the
    /// window manager has done so: it ignores moves before, and the window's decorations (and
    /// so the size of its client area) change with these states.
    void restore(WindowId window)
    {
        exitFullscreen(window);
        if (m_system.isMaximized(window)) {
            m_system.leaveMaximized(window);
            waitWhile([&] { return m_system.isMaximized(window); });
        }
    }

    void exitFullscreen(WindowId window)
    {
        if (!m_system.isFullscreen(window))
            return;
        m_system.exitFullscreen(window);
        waitWhile([&] { return m_system.isFullscreen(window); });
    }

    template <typename Condition>
    void waitWhile(Condition condition)
    {
        const auto deadline = Clock::now() + WindowManager::stateChangeTimeout;
        while (condition() && Clock::now() < deadline)
            if (!m_stop.sleepFor(std::chrono::milliseconds(10)))
                return;
    }

    WindowSystem &m_system;
    const QList<ScreenInfo> m_screens;
    const StopFlag &m_stop;
    std::optional<apps::DesktopEntries> m_entries;
    std::map<QString, qint64> m_launched;
};

/// The applications a command acts on, named the same way whatever alias the engine used.
QSet<QString> applicationsOf(const QJsonObject &command)
{
    QStringList names = layout::appList(command);
    for (const QJsonObject &item : json::objectList(command, layout::key::layout))
        names += layout::appList(item);
    QSet<QString> keys;
    for (const QString &name : std::as_const(names)) {
        const QString key = name.trimmed().toLower();
        const apps::Alias *alias = apps::aliasFor(key);
        keys.insert(alias ? QString(alias->displayName).toLower() : key);
    }
    return keys;
}

} // namespace

/// Commands run side by side on a few threads of their own, so one that waits (for an
/// application to start) holds up no other. A command waits only for the earlier ones that
/// name one of its applications: two commands on one application apply in the order they came.
class WindowManager::Runner
{
public:
    Runner(WindowManager &owner, WindowSystem &system)
        : m_owner(owner)
        , m_system(system)
    {
    }

    ~Runner()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_quit = true;
        }
        m_stop.raise();
        m_changed.notify_all();
        for (std::thread &thread : m_threads)
            thread.join();
    }

    void push(QJsonObject command, QList<ScreenInfo> screens)
    {
        {
            const std::lock_guard lock(m_mutex);
            QSet<QString> apps = applicationsOf(command);
            m_jobs.push_back({std::move(command), std::move(screens), std::move(apps)});
            if (m_idle == 0 && m_threads.size() < WindowManager::parallelCommands)
                m_threads.emplace_back([this] { loop(); });
        }
        m_changed.notify_all();
    }

private:
    struct Job
    {
        QJsonObject command;
        QList<ScreenInfo> screens;
        QSet<QString> apps;
        bool running = false;
    };
    using Jobs = std::list<Job>;

    /// The first waiting job that shares no application with an earlier one, waiting or
    /// running (the mutex held).
    Jobs::iterator nextReady()
    {
        QSet<QString> taken;
        for (auto job = m_jobs.begin(); job != m_jobs.end(); ++job) {
            if (!job->running && !job->apps.intersects(taken))
                return job;
            taken.unite(job->apps);
        }
        return m_jobs.end();
    }

    void loop()
    {
        std::unique_lock lock(m_mutex);
        while (true) {
            ++m_idle;
            m_changed.wait(lock, [this] { return m_quit || nextReady() != m_jobs.end(); });
            --m_idle;
            if (m_quit)
                return;
            // Only this thread touches the job until it erases it; the list keeps its place.
            const Jobs::iterator job = nextReady();
            job->running = true;
            lock.unlock();
            CommandRun(m_system, job->screens, m_stop).run(job->command);
            if (!m_stop.raised())
                emit m_owner.commandFinished();
            lock.lock();
            m_jobs.erase(job);
            m_changed.notify_all();
        }
    }

    WindowManager &m_owner;
    WindowSystem &m_system;
    StopFlag m_stop;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    Jobs m_jobs;
    std::vector<std::thread> m_threads;
    std::size_t m_idle = 0;
    bool m_quit = false;
};

WindowManager::WindowManager(std::unique_ptr<WindowSystem> system, QObject *parent)
    : QObject(parent)
    , m_system(system ? std::move(system) : std::make_unique<NullWindowSystem>())
    , m_runner(std::make_unique<Runner>(*this, *m_system))
{
}

WindowManager::~WindowManager()
{
    // The runner goes first: its threads use the window system until they have stopped.
    m_runner.reset();
}

bool WindowManager::ensureAvailable()
{
    return m_system->isAvailable();
}

QString WindowManager::unavailableMessage()
{
    return tr("I can't arrange your windows on this desktop, sir: window control needs an X11 "
              "session with an EWMH window manager, or sway, and this is neither.");
}

void WindowManager::apply(const QJsonObject &command)
{
    m_runner->push(command, screens());
}

void WindowManager::apply(QByteArrayView json)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json.toByteArray(), &error);
    if (error.error == QJsonParseError::NoError && document.isObject())
        apply(document.object());
}

QList<ScreenInfo> WindowManager::screens()
{
    return screens::current();
}

ScreenInfo WindowManager::screen(const QJsonValue &spec)
{
    return screens::forSpec(screens(), spec);
}

} // namespace halvic
