#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

#include "Applications.h"

namespace halvic {

using WindowId = quint32;

/// What window layout needs from the desktop: running applications and their windows,
/// window frames, full screen, closing and starting programs. Implementations are called
/// from the window manager's worker threads, several at once (and isAvailable() also from
/// the main thread), so they must be thread-safe (X11's: one xcb connection, which libxcb
/// makes safe to share, and no state of its own after connecting); none of them waits for
/// the window manager to act. Frames are outer frames, decorations
/// included, in device pixels of the virtual desktop, top-left origin.
class WindowSystem
{
public:
    virtual ~WindowSystem() = default;

    /// Window control works on this desktop right now.
    virtual bool isAvailable() = 0;

    /// Applications with ordinary windows, in the order their first window appeared. Names
    /// and ids come from the window system alone (WM_CLASS); desktop entries are added later.
    virtual QList<apps::RunningApp> runningApplications() = 0;
    /// The window of `app` a user would call its main one; none when it has no window.
    virtual std::optional<WindowId> primaryWindow(const apps::RunningApp &app) = 0;

    /// The frontmost ordinary, visible window whose frame contains `point` (device pixels),
    /// leaving out the windows of process `exceptPid`; none when no such window is there.
    virtual std::optional<WindowId> frontmostWindowAt(QPoint point, qint64 exceptPid) = 0;

    virtual std::optional<QRect> frame(WindowId window) = 0;
    virtual void setPosition(WindowId window, QPoint topLeft) = 0;
    virtual void setSize(WindowId window, QSize size) = 0;
    /// Puts the window at `frame`. By default position, size, then both again: applications
    /// that limit their size by where they are, or move when resized, end up at the frame
    /// asked for. A desktop that takes both in one request does that instead.
    virtual void setFrame(WindowId window, const QRect &frame);

    virtual bool isFullscreen(WindowId window) = 0;
    virtual void exitFullscreen(WindowId window) = 0;
    /// Maximized windows ignore moves until they are restored.
    virtual bool isMaximized(WindowId window) = 0;
    virtual void leaveMaximized(WindowId window) = 0;

    /// Asks the application to close the window, as its close button would.
    virtual void close(WindowId window) = 0;

    /// Starts a program detached from the HUD; its process id, or none when it cannot start.
    virtual std::optional<qint64> launch(
        const QString &program, const QStringList &arguments, const QString &workingDirectory)
        = 0;
};

/// Starts a program detached from the HUD, with none of its streams; its process id, or none
/// when it cannot start. What every backend's launch() does.
std::optional<qint64> launchDetached(
    const QString &program, const QStringList &arguments, const QString &workingDirectory);

/// The window system of a desktop where window control is not available: nothing runs,
/// nothing moves.
class NullWindowSystem : public WindowSystem
{
public:
    bool isAvailable() override { return false; }
    QList<apps::RunningApp> runningApplications() override { return {}; }
    std::optional<WindowId> primaryWindow(const apps::RunningApp &) override { return std::nullopt; }
    std::optional<WindowId> frontmostWindowAt(QPoint, qint64) override { return std::nullopt; }
    std::optional<QRect> frame(WindowId) override { return std::nullopt; }
    void setPosition(WindowId, QPoint) override { }
    void setSize(WindowId, QSize) override { }
    bool isFullscreen(WindowId) override { return false; }
    void exitFullscreen(WindowId) override { }
    bool isMaximized(WindowId) override { return false; }
    void leaveMaximized(WindowId) override { }
    void close(WindowId) override { }
    std::optional<qint64> launch(const QString &, const QStringList &, const QString &) override
    {
        return std::nullopt;
    }
};

} // namespace halvic
