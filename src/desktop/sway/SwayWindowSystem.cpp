#include "SwayWindowSystem.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <chrono>
#include <thread>

namespace halvic {

SwayWindowSystem::SwayWindowSystem(QString socketPath)
    : m_ipc(std::move(socketPath))
{
}

std::unique_ptr<SwayWindowSystem> SwayWindowSystem::connect()
{
    const QString socket = qEnvironmentVariable("SWAYSOCK");
    if (socket.isEmpty())
        return nullptr;
    auto system = std::make_unique<SwayWindowSystem>(socket);
    if (!system->isAvailable())
        return nullptr;
    return system;
}

bool SwayWindowSystem::isAvailable()
{
    // Asked on the main thread before each command: a look at the socket, not a request.
    const QFileInfo socket(m_ipc.socketPath());
    return socket.exists() && !socket.isDir() && !socket.isFile();
}

QList<sway::Window> SwayWindowSystem::windows() const
{
    const auto tree = m_ipc.request(sway::Message::GetTree);
    return tree ? sway::windowsOf(tree->object()) : QList<sway::Window>();
}

std::optional<sway::Window> SwayWindowSystem::window(WindowId id) const
{
    const QList<sway::Window> all = windows();
    const auto found = std::find_if(all.begin(), all.end(), [id](const sway::Window &w) { return w.id == qint64(id); });
    if (found == all.end())
        return std::nullopt;
    return *found;
}

QList<apps::RunningApp> SwayWindowSystem::runningApplications()
{
    QList<sway::Window> all = windows();
    // Container ids grow as windows appear: in id order, applications come in the order their
    // first window appeared, as on X11.
    std::sort(all.begin(), all.end(), [](const sway::Window &a, const sway::Window &b) { return a.id < b.id; });
    QList<apps::RunningApp> apps;
    QHash<qint64, qsizetype> byPid;
    const qint64 ownPid = QCoreApplication::applicationPid();
    for (const sway::Window &w : all) {
        // Our own panels are containers too, but never an application to arrange.
        if (w.pid == ownPid)
            continue;
        auto at = byPid.find(w.pid);
        if (at == byPid.end()) {
            // A Wayland client names itself by its app id alone; an X11 one by WM_CLASS.
            const QString name = w.wmClass.isEmpty() ? w.appId : w.wmClass;
            const QString id = w.appId.isEmpty() ? w.wmInstance : w.appId;
            apps.append({.pid = w.pid,
                .name = name,
                .appId = id,
                .wmClass = w.wmClass,
                .wmInstance = w.wmInstance,
                .windows = {}});
            at = byPid.insert(w.pid, apps.size() - 1);
        }
        apps[*at].windows.append(quint32(w.id));
    }
    return apps;
}

std::optional<WindowId> SwayWindowSystem::primaryWindow(const apps::RunningApp &app)
{
    if (app.windows.isEmpty())
        return std::nullopt;
    const QList<sway::Window> all = windows();
    // The focused one, else a visible one, else its first.
    for (const bool focusedOnly : {true, false}) {
        for (const sway::Window &w : all) {
            if (app.windows.contains(quint32(w.id)) && (focusedOnly ? w.focused : w.visible))
                return WindowId(w.id);
        }
    }
    return app.windows.front();
}

std::optional<WindowId> SwayWindowSystem::frontmostWindowAt(QPoint point, qint64 exceptPid)
{
    const QList<sway::Window> all = windows();
    // Full screen above floating above tiled; among floating windows the later is above.
    const auto rank = [](const sway::Window &w) { return w.fullscreen ? 2 : w.floating ? 1 : 0; };
    std::optional<sway::Window> best;
    for (const sway::Window &w : all) {
        if (!w.visible || w.pid == exceptPid || !w.frame.contains(point))
            continue;
        if (!best || rank(w) >= rank(*best))
            best = w;
    }
    if (!best)
        return std::nullopt;
    return WindowId(best->id);
}

std::optional<QRect> SwayWindowSystem::frame(WindowId window)
{
    const auto w = this->window(window);
    if (!w)
        return std::nullopt;
    return w->frame;
}

bool SwayWindowSystem::run(WindowId window, const QString &commands) const
{
    return m_ipc.command(QStringLiteral("[con_id=%1] %2").arg(window).arg(commands));
}

void SwayWindowSystem::makeFloating(WindowId window) const
{
    const auto before = this->window(window);
    if (!before || before->floating || !run(window, QStringLiteral("floating enable")))
        return;
    // Floating one window retiles its neighbours and gives it a size of its own. A client that
    // answers those configures late would take back that size after ours (sway lets a floating
    // window keep the size its client draws at), so we wait until the tree holds still.
    using namespace std::chrono_literals;
    const auto clock = [] { return std::chrono::steady_clock::now(); };
    const auto deadline = clock() + 600ms;
    QList<sway::Window> last = windows();
    auto stillSince = clock();
    while (clock() < deadline && clock() - stillSince < 150ms) {
        std::this_thread::sleep_for(10ms);
        QList<sway::Window> now = windows();
        if (now != last) {
            last = std::move(now);
            stillSince = clock();
        }
    }
}

void SwayWindowSystem::setPosition(WindowId window, QPoint topLeft)
{
    makeFloating(window);
    run(window, QStringLiteral("move absolute position %1 %2").arg(topLeft.x()).arg(topLeft.y()));
}

void SwayWindowSystem::setSize(WindowId window, QSize size)
{
    makeFloating(window);
    // Sway sizes a floating window about its centre: its top-left is put back where it was.
    const auto before = frame(window);
    QString commands = QStringLiteral("resize set %1 %2").arg(size.width()).arg(size.height());
    if (before)
        commands += QStringLiteral(", move absolute position %1 %2").arg(before->x()).arg(before->y());
    run(window, commands);
}

void SwayWindowSystem::setFrame(WindowId window, const QRect &frame)
{
    makeFloating(window);
    run(window,
        QStringLiteral("resize set %1 %2, move absolute position %3 %4")
            .arg(frame.width())
            .arg(frame.height())
            .arg(frame.x())
            .arg(frame.y()));
}

bool SwayWindowSystem::isFullscreen(WindowId window)
{
    const auto w = this->window(window);
    return w && w->fullscreen;
}

void SwayWindowSystem::exitFullscreen(WindowId window)
{
    run(window, QStringLiteral("fullscreen disable"));
}

void SwayWindowSystem::close(WindowId window)
{
    run(window, QStringLiteral("kill"));
}

std::optional<qint64> SwayWindowSystem::launch(
    const QString &program, const QStringList &arguments, const QString &workingDirectory)
{
    return launchDetached(program, arguments, workingDirectory);
}

} // namespace halvic
