#include "GnomeWindowSystem.h"

#include <QCoreApplication>

#include <algorithm>

#include "FrontmostWindow.h"

namespace halvic {

namespace {

/// How long a list of the Shell's is used again: a layout's questions about one window, not
/// longer than a user could notice a window moved meanwhile.
constexpr auto snapshotLife = std::chrono::milliseconds(50);

QVariant idArgument(WindowId window)
{
    return QVariant::fromValue(qulonglong(window));
}

} // namespace

GnomeWindowSystem::GnomeWindowSystem(
    std::shared_ptr<gnome::Extension> extension, std::unique_ptr<WindowSystem> fallback, std::function<void()> missing)
    : m_extension(std::move(extension))
    , m_fallback(fallback ? std::move(fallback) : std::make_unique<NullWindowSystem>())
    , m_missing(std::move(missing))
{
}

bool GnomeWindowSystem::isAvailable()
{
    return m_extension->answers() || m_fallback->isAvailable();
}

bool GnomeWindowSystem::viaFallback() const
{
    std::scoped_lock lock(m_mutex);
    return m_viaFallback;
}

std::optional<QList<gnome::Window>> GnomeWindowSystem::windows()
{
    const auto now = std::chrono::steady_clock::now();
    quint64 changes = 0;
    {
        std::scoped_lock lock(m_mutex);
        if (!m_viaFallback && now - m_snapshotTaken < snapshotLife)
            return m_snapshot;
        changes = m_changes;
    }
    const auto answer = m_extension->call(QStringLiteral("List"));
    if (!answer && !m_extension->answers()) {
        {
            std::scoped_lock lock(m_mutex);
            m_viaFallback = true;
        }
        if (m_missing)
            m_missing();
        return std::nullopt;
    }
    const QList<gnome::Window> windows
        = answer ? gnome::windowsOf(answer->value(0).toString().toUtf8()) : QList<gnome::Window>();
    std::scoped_lock lock(m_mutex);
    m_viaFallback = false;
    if (changes == m_changes) {
        m_snapshot = windows;
        m_snapshotTaken = now;
    }
    return windows;
}

std::optional<gnome::Window> GnomeWindowSystem::window(WindowId id)
{
    const auto all = windows();
    if (!all)
        return std::nullopt;
    const auto found = std::ranges::find(*all, qint64(id), &gnome::Window::id);
    if (found == all->end())
        return std::nullopt;
    return *found;
}

void GnomeWindowSystem::command(const QString &method, WindowId window, QVariantList arguments)
{
    arguments.prepend(idArgument(window));
    // Waited for: the window manager reads the frame back after it sets one.
    {
        std::scoped_lock lock(m_mutex);
        ++m_changes;
        m_snapshotTaken = {};
    }
    m_extension->call(method, arguments);
    std::scoped_lock lock(m_mutex);
    ++m_changes;
    m_snapshotTaken = {};
}

QList<apps::RunningApp> GnomeWindowSystem::runningApplications()
{
    if (const auto all = windows())
        return gnome::runningApplicationsOf(*all, QCoreApplication::applicationPid());
    return m_fallback->runningApplications();
}

std::optional<WindowId> GnomeWindowSystem::primaryWindow(const apps::RunningApp &app)
{
    if (viaFallback())
        return m_fallback->primaryWindow(app);
    if (app.windows.isEmpty())
        return std::nullopt;
    // The frontmost of its windows on screen, else its first.
    const QList<gnome::Window> all = windows().value_or(QList<gnome::Window>());
    const gnome::Window *best = nullptr;
    for (const gnome::Window &w : all) {
        if (app.windows.contains(quint32(w.id)) && !w.minimized && (!best || w.stacking > best->stacking))
            best = &w;
    }
    return best ? WindowId(best->id) : app.windows.front();
}

std::optional<WindowId> GnomeWindowSystem::frontmostWindowAt(QPoint point, qint64 exceptPid)
{
    if (const auto all = windows())
        return frontmostOf(*all, point, exceptPid);
    return m_fallback->frontmostWindowAt(point, exceptPid);
}

std::optional<QRect> GnomeWindowSystem::frame(WindowId window)
{
    if (viaFallback())
        return m_fallback->frame(window);
    const auto w = this->window(window);
    if (!w)
        return std::nullopt;
    return w->frame;
}

void GnomeWindowSystem::setPosition(WindowId window, QPoint topLeft)
{
    if (viaFallback())
        return m_fallback->setPosition(window, topLeft);
    if (const auto now = frame(window))
        setFrame(window, QRect(topLeft, now->size()));
}

void GnomeWindowSystem::setSize(WindowId window, QSize size)
{
    if (viaFallback())
        return m_fallback->setSize(window, size);
    if (const auto now = frame(window))
        setFrame(window, QRect(now->topLeft(), size));
}

void GnomeWindowSystem::setFrame(WindowId window, const QRect &frame)
{
    if (viaFallback())
        return m_fallback->setFrame(window, frame);
    command(QStringLiteral("MoveResize"), window, {frame.x(), frame.y(), frame.width(), frame.height()});
}

bool GnomeWindowSystem::isFullscreen(WindowId window)
{
    if (viaFallback())
        return m_fallback->isFullscreen(window);
    const auto w = this->window(window);
    return w && w->fullscreen;
}

void GnomeWindowSystem::exitFullscreen(WindowId window)
{
    if (viaFallback())
        return m_fallback->exitFullscreen(window);
    command(QStringLiteral("LeaveFullscreen"), window);
}

bool GnomeWindowSystem::isMaximized(WindowId window)
{
    if (viaFallback())
        return m_fallback->isMaximized(window);
    const auto w = this->window(window);
    return w && w->maximized;
}

void GnomeWindowSystem::leaveMaximized(WindowId window)
{
    if (viaFallback())
        return m_fallback->leaveMaximized(window);
    command(QStringLiteral("Maximize"), window, {false});
}

void GnomeWindowSystem::close(WindowId window)
{
    if (viaFallback())
        return m_fallback->close(window);
    command(QStringLiteral("Close"), window);
}

std::optional<qint64> GnomeWindowSystem::launch(
    const QString &program, const QStringList &arguments, const QString &workingDirectory)
{
    return launchDetached(program, arguments, workingDirectory);
}

} // namespace halvic
