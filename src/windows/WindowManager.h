#pragma once

#include <QByteArrayView>
#include <QJsonObject>
#include <QList>
#include <QObject>

#include <chrono>
#include <memory>

#include "ScreenInfo.h"
#include "WindowSystem.h"

namespace halvic {

/// Arranges other applications' windows on the engine's command: launch, close, fill, move,
/// tile and arrange. Commands run on worker threads of their own, side by side, so neither
/// the caller nor another command waits for an application to start; commands naming the
/// same application run in the order they came. Destroying the manager cancels whatever
/// still runs and returns promptly.
class WindowManager final : public QObject
{
    Q_OBJECT
public:
    /// How long a started application gets to show a window, and how often we look.
    static constexpr std::chrono::milliseconds launchTimeout{8000};
    static constexpr std::chrono::milliseconds pollInterval{200};
    /// How long a window may take to leave full screen or its maximized state before it is
    /// moved anyway.
    static constexpr std::chrono::milliseconds stateChangeTimeout{1000};
    /// How many commands run at once at most.
    static constexpr std::size_t parallelCommands = 4;

    explicit WindowManager(std::unique_ptr<WindowSystem> system, QObject *parent = nullptr);
    ~WindowManager() override;

    /// Whether windows can be arranged on this desktop (an X11 session with an EWMH window
    /// manager); the Linux counterpart of asking for accessibility permission.
    bool ensureAvailable();
    /// The line the assistant says when window control is not available.
    static QString unavailableMessage();

    /// Queues a window command and returns at once. Main thread: the screens are read here.
    void apply(const QJsonObject &command);
    /// The same from JSON text; text that is not a JSON object is ignored.
    void apply(QByteArrayView json);

    /// The displays, read fresh (main thread).
    static QList<ScreenInfo> screens();
    /// The display a command's "screen" value names (main thread).
    static ScreenInfo screen(const QJsonValue &spec);

signals:
    /// A queued command has finished (emitted from a worker thread).
    void commandFinished();

private:
    class Runner;
    std::unique_ptr<WindowSystem> m_system;
    std::unique_ptr<Runner> m_runner;
};

} // namespace halvic
