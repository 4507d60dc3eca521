#pragma once

#include <chrono>
#include <memory>
#include <mutex>

#include "FrontmostWindow.h"
#include "KWinScript.h"
#include "KWinWindows.h"
#include "WindowSystem.h"

namespace halvic {

/// Window listing and control on KWin (Plasma on Wayland), native and XWayland windows alike,
/// through the session's one KWin script. Window ids are the script's; frames include the
/// decorations, in KWin's logical coordinates. A layout asks about the same windows many times
/// in a row: a list KWin gave is used again for a moment, until a command of ours changes
/// something.
class KWinWindowSystem final : public WindowSystem
{
public:
    explicit KWinWindowSystem(std::shared_ptr<kwin::Script> script);

    bool isAvailable() override;
    QList<apps::RunningApp> runningApplications() override;
    std::optional<WindowId> primaryWindow(const apps::RunningApp &app) override;
    std::optional<WindowId> frontmostWindowAt(QPoint point, qint64 exceptPid) override;
    std::optional<QRect> frame(WindowId window) override;
    void setPosition(WindowId window, QPoint topLeft) override;
    void setSize(WindowId window, QSize size) override;
    /// One request: KWin sets the frame whatever the client's own size rules.
    void setFrame(WindowId window, const QRect &frame) override;
    bool isFullscreen(WindowId window) override;
    void exitFullscreen(WindowId window) override;
    bool isMaximized(WindowId window) override;
    void leaveMaximized(WindowId window) override;
    void close(WindowId window) override;
    std::optional<qint64> launch(
        const QString &program, const QStringList &arguments, const QString &workingDirectory) override;

private:
    QList<kwin::Window> windows() const;
    std::optional<kwin::Window> window(WindowId id) const;
    void command(const char *op, WindowId window, QJsonObject arguments = {}) const;

    std::shared_ptr<kwin::Script> m_script;
    mutable std::mutex m_mutex;
    mutable QList<kwin::Window> m_snapshot;
    mutable std::chrono::steady_clock::time_point m_snapshotTaken;
    /// Counts our changes: a list asked for before one is not kept after it.
    mutable quint64 m_changes = 0;
};

/// The running applications among `windows`, in the order their first window appeared,
/// leaving out process `ownPid`'s: what runningApplications() answers.
QList<apps::RunningApp> runningApplicationsOf(QList<kwin::Window> windows, qint64 ownPid);

} // namespace halvic
