#pragma once

#include <memory>

#include "WindowSystem.h"

namespace halvic {

/// Window control on X11 through an EWMH window manager, over its own xcb connection.
class X11WindowSystem final : public WindowSystem
{
public:
    /// Connects to `display` (the session's $DISPLAY when empty); none when there is no X
    /// server or no EWMH window manager on it.
    static std::unique_ptr<X11WindowSystem> connect(const QByteArray &display = {});
    ~X11WindowSystem() override;

    bool isAvailable() override;
    QList<apps::RunningApp> runningApplications() override;
    std::optional<WindowId> primaryWindow(const apps::RunningApp &app) override;
    std::optional<WindowId> frontmostWindowAt(QPoint point, qint64 exceptPid) override;
    std::optional<QRect> frame(WindowId window) override;
    void setPosition(WindowId window, QPoint topLeft) override;
    void setSize(WindowId window, QSize size) override;
    bool isFullscreen(WindowId window) override;
    void exitFullscreen(WindowId window) override;
    bool isMaximized(WindowId window) override;
    void leaveMaximized(WindowId window) override;
    void close(WindowId window) override;
    std::optional<qint64> launch(
        const QString &program, const QStringList &arguments, const QString &workingDirectory) override;

private:
    struct Connection;
    explicit X11WindowSystem(std::unique_ptr<Connection> connection);

    std::unique_ptr<Connection> m_x;
};

} // namespace halvic
