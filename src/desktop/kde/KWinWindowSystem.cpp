#include "KWinWindowSystem.h"

#include <QCoreApplication>
#include <QHash>
#include <QJsonArray>

#include <algorithm>

namespace halvic {

namespace {

/// How long a list of KWin's is used again: a layout's questions about one window, not longer
/// than a user could notice a window moved meanwhile.
constexpr auto snapshotLife = std::chrono::milliseconds(50);

QJsonObject frameArguments(const QRect &frame)
{
    return {{QStringLiteral("x"), frame.x()}, {QStringLiteral("y"), frame.y()},
        {QStringLiteral("width"), frame.width()}, {QStringLiteral("height"), frame.height()}};
}

} // namespace

QList<apps::RunningApp> runningApplicationsOf(QList<kwin::Window> windows, qint64 ownPid)
{
    // The script numbers windows as they appear: in id order, applications come in the order
    // their first window appeared, as on X11.
    std::sort(windows.begin(), windows.end(), [](const kwin::Window &a, const kwin::Window &b) { return a.id < b.id; });
    QList<apps::RunningApp> apps;
    QHash<qint64, qsizetype> byPid;
    for (const kwin::Window &w : windows) {
        // Panels, docks and our own windows are never an application to arrange.
        if (!w.normal || w.pid == ownPid)
            continue;
        auto at = byPid.find(w.pid);
        if (at == byPid.end()) {
            // An X11 client names itself by WM_CLASS; a Wayland one by its app id alone.
            const QString id = w.isX11() ? w.resourceName : w.resourceClass;
            apps.append({.pid = w.pid,
                .name = w.resourceClass,
                .appId = w.desktopFileName.isEmpty() ? id : w.desktopFileName,
                .wmClass = w.isX11() ? w.resourceClass : QString(),
                .wmInstance = w.isX11() ? w.resourceName : QString(),
                .windows = {}});
            at = byPid.insert(w.pid, apps.size() - 1);
        }
        apps[*at].windows.append(quint32(w.id));
    }
    return apps;
}

KWinWindowSystem::KWinWindowSystem(std::shared_ptr<kwin::Script> script)
    : m_script(std::move(script))
{
}

bool KWinWindowSystem::isAvailable()
{
    return m_script->isAvailable();
}

QList<kwin::Window> KWinWindowSystem::windows() const
{
    const auto now = std::chrono::steady_clock::now();
    quint64 changes = 0;
    {
        std::scoped_lock lock(m_mutex);
        if (now - m_snapshotTaken < snapshotLife)
            return m_snapshot;
        changes = m_changes;
    }
    const auto answer = m_script->request({{QStringLiteral("op"), QStringLiteral("list")}});
    if (!answer)
        return {};
    QList<kwin::Window> windows = kwin::windowsOf(answer->toArray());
    std::scoped_lock lock(m_mutex);
    if (changes == m_changes) {
        m_snapshot = windows;
        m_snapshotTaken = now;
    }
    return windows;
}

std::optional<kwin::Window> KWinWindowSystem::window(WindowId id) const
{
    const QList<kwin::Window> all = windows();
    const auto found = std::ranges::find(all, qint64(id), &kwin::Window::id);
    if (found == all.end())
        return std::nullopt;
    return *found;
}

void KWinWindowSystem::command(const char *op, WindowId window, QJsonObject arguments) const
{
    arguments[u"op"] = QString::fromLatin1(op);
    arguments[u"id"] = qint64(window);
    // Waited for: the window manager reads the frame back after it sets one.
    {
        std::scoped_lock lock(m_mutex);
        ++m_changes;
        m_snapshotTaken = {};
    }
    m_script->request(std::move(arguments));
    std::scoped_lock lock(m_mutex);
    ++m_changes;
    m_snapshotTaken = {};
}

QList<apps::RunningApp> KWinWindowSystem::runningApplications()
{
    return runningApplicationsOf(windows(), QCoreApplication::applicationPid());
}

std::optional<WindowId> KWinWindowSystem::primaryWindow(const apps::RunningApp &app)
{
    if (app.windows.isEmpty())
        return std::nullopt;
    QList<kwin::Window> all = windows();
    // The frontmost of its windows on screen, else its first.
    const kwin::Window *best = nullptr;
    for (const kwin::Window &w : all) {
        if (app.windows.contains(quint32(w.id)) && !w.minimized && (!best || w.stacking > best->stacking))
            best = &w;
    }
    return best ? WindowId(best->id) : app.windows.front();
}

std::optional<WindowId> KWinWindowSystem::frontmostWindowAt(QPoint point, qint64 exceptPid)
{
    return frontmostOf(windows(), point, exceptPid);
}

std::optional<QRect> KWinWindowSystem::frame(WindowId window)
{
    const auto w = this->window(window);
    if (!w)
        return std::nullopt;
    return w->frame;
}

void KWinWindowSystem::setPosition(WindowId window, QPoint topLeft)
{
    if (const auto now = frame(window))
        setFrame(window, QRect(topLeft, now->size()));
}

void KWinWindowSystem::setSize(WindowId window, QSize size)
{
    if (const auto now = frame(window))
        setFrame(window, QRect(now->topLeft(), size));
}

void KWinWindowSystem::setFrame(WindowId window, const QRect &frame)
{
    command("frame", window, frameArguments(frame));
}

bool KWinWindowSystem::isFullscreen(WindowId window)
{
    const auto w = this->window(window);
    return w && w->fullScreen;
}

void KWinWindowSystem::exitFullscreen(WindowId window)
{
    command("fullscreen", window, {{QStringLiteral("on"), false}});
}

bool KWinWindowSystem::isMaximized(WindowId window)
{
    const auto w = this->window(window);
    return w && w->maximized;
}

void KWinWindowSystem::leaveMaximized(WindowId window)
{
    command("maximize", window, {{QStringLiteral("on"), false}});
}

void KWinWindowSystem::close(WindowId window)
{
    command("close", window);
}

std::optional<qint64> KWinWindowSystem::launch(
    const QString &program, const QStringList &arguments, const QString &workingDirectory)
{
    return launchDetached(program, arguments, workingDirectory);
}

} // namespace halvic
