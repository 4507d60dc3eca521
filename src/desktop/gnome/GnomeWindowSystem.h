#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>

#include "GnomeExtension.h"
#include "GnomeWindows.h"
#include "WindowSystem.h"

namespace halvic {

/// Window listing and control on GNOME Shell (Wayland), native and XWayland windows alike,
/// through the HUD's Shell extension. Window ids are the extension's; frames include the
/// decorations, in the Shell's logical coordinates. Where the extension is not there (not
/// installed or not enabled), `missing` is called and the fallback (X11, through XWayland)
/// serves instead, until the extension answers again.
class GnomeWindowSystem final : public WindowSystem
{
public:
    GnomeWindowSystem(std::shared_ptr<gnome::Extension> extension, std::unique_ptr<WindowSystem> fallback,
        std::function<void()> missing);

    /// Never waits: whether the extension answered last time, or else the fallback serves.
    bool isAvailable() override;
    QList<apps::RunningApp> runningApplications() override;
    std::optional<WindowId> primaryWindow(const apps::RunningApp &app) override;
    std::optional<WindowId> frontmostWindowAt(QPoint point, qint64 exceptPid) override;
    std::optional<QRect> frame(WindowId window) override;
    void setPosition(WindowId window, QPoint topLeft) override;
    void setSize(WindowId window, QSize size) override;
    /// One request: the Shell sets the frame whatever the client's own size rules.
    void setFrame(WindowId window, const QRect &frame) override;
    bool isFullscreen(WindowId window) override;
    void exitFullscreen(WindowId window) override;
    bool isMaximized(WindowId window) override;
    void leaveMaximized(WindowId window) override;
    void close(WindowId window) override;
    std::optional<qint64> launch(
        const QString &program, const QStringList &arguments, const QString &workingDirectory) override;

private:
    /// The Shell's windows; none when the extension is not there (the fallback serves then).
    std::optional<QList<gnome::Window>> windows();
    std::optional<gnome::Window> window(WindowId id);
    /// Whether ids come from the fallback: decided by the last listing.
    bool viaFallback() const;
    void command(const QString &method, WindowId window, QVariantList arguments = {});

    const std::shared_ptr<gnome::Extension> m_extension;
    const std::unique_ptr<WindowSystem> m_fallback;
    const std::function<void()> m_missing;
    mutable std::mutex m_mutex;
    bool m_viaFallback = false;
    QList<gnome::Window> m_snapshot;
    std::chrono::steady_clock::time_point m_snapshotTaken;
    /// Counts our changes: a list asked for before one is not kept after it.
    quint64 m_changes = 0;
};

} // namespace halvic
