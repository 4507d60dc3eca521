#pragma once

#include <memory>

#include "SwayIpc.h"
#include "SwayTree.h"
#include "WindowSystem.h"

namespace halvic {

/// Window listing and control on sway, over its IPC socket. Window ids are sway's container
/// ids; frames are containers with their title bars, in layout coordinates (device pixels at
/// scale 1). Sway tiles: a window moved or sized here is made floating first, as a layout that
/// puts it somewhere needs. Each call is one or two requests on a connection of its own, so
/// the window manager's worker threads share it without a lock.
class SwayWindowSystem final : public WindowSystem
{
public:
    explicit SwayWindowSystem(QString socketPath);

    /// The session's sway, from SWAYSOCK; none when it does not answer.
    static std::unique_ptr<SwayWindowSystem> connect();

    bool isAvailable() override;
    QList<apps::RunningApp> runningApplications() override;
    std::optional<WindowId> primaryWindow(const apps::RunningApp &app) override;
    std::optional<WindowId> frontmostWindowAt(QPoint point, qint64 exceptPid) override;
    std::optional<QRect> frame(WindowId window) override;
    void setPosition(WindowId window, QPoint topLeft) override;
    void setSize(WindowId window, QSize size) override;
    /// One request: sway sizes and then moves the container, whatever the client answers.
    void setFrame(WindowId window, const QRect &frame) override;
    bool isFullscreen(WindowId window) override;
    void exitFullscreen(WindowId window) override;
    /// Sway has no maximized state (a fullscreen window is what comes closest).
    bool isMaximized(WindowId) override { return false; }
    void leaveMaximized(WindowId) override { }
    void close(WindowId window) override;
    std::optional<qint64> launch(
        const QString &program, const QStringList &arguments, const QString &workingDirectory) override;

private:
    QList<sway::Window> windows() const;
    std::optional<sway::Window> window(WindowId id) const;
    bool run(WindowId window, const QString &commands) const;
    /// Floats a tiled window and waits for the retiling it causes to settle.
    void makeFloating(WindowId window) const;

    sway::Ipc m_ipc;
};

} // namespace halvic
