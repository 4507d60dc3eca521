#pragma once

#include <QByteArrayView>
#include <QFileSystemWatcher>
#include <QObject>

#include <memory>
#include <optional>
#include <vector>

#include "ControlChannel.h"
#include "ErrorTail.h"
#include "EventQueue.h"
#include "LineFramer.h"
#include "ScheduledCall.h"

class QProcess;

namespace halvic {

class EventDispatcher;

/// The HUD's link to the engine program: starts and stops its process, frames its output
/// into events for the dispatcher, and cycles the engine when the restart marker appears.
/// What its lifecycle means for the rest of the HUD leaves as signals. Main thread only.
class Engine final : public QObject
{
    Q_OBJECT
public:
    /// Where the engine is; taken from Paths in the application, from a test folder in tests.
    struct Locations
    {
        QString root;
        QString python;
        QString script;
        QString control;
        static Locations fromPaths();
        static Locations underRoot(const QString &root);
    };

    static constexpr Duration restartPause{1200};
    /// A stopped engine that ignores SIGTERM this long is killed, so none is ever left behind.
    static constexpr Duration killAfter{5000};
    /// How long the destructor waits for a killed engine to be reaped.
    static constexpr Duration reapAfterKill{2000};

    Engine(EventDispatcher &dispatcher, Scheduler &scheduler, Locations locations = Locations::fromPaths(),
        QObject *parent = nullptr);
    ~Engine() override;

    /// Launches the engine unless it is already running (or starting).
    void start();
    /// Asks the engine to terminate (SIGTERM) without waiting, and shows it as off. A start
    /// still pending from the restart marker is dropped, so a stop (a quit) stays a stop.
    void stop();
    /// An engine process exists and runs.
    bool isRunning() const;
    /// Any engine process, current or stopped, that has not exited yet.
    bool hasLiveProcesses() const;
    /// How the current engine ended when it exited by itself; none while it runs, after a
    /// stop, or before the first start.
    const std::optional<EngineExit> &lastExit() const { return m_lastExit; }

    /// Frames a chunk of engine output and dispatches every complete line.
    void ingest(QByteArrayView chunk);
    /// Dispatches one event (the text after the marker) in arrival order; a large one is
    /// parsed on a worker thread first.
    void handle(QByteArrayView eventJson);

    const ControlChannel &control() const { return m_control; }
    const Locations &locations() const { return m_locations; }

    /// Acts on the restart marker if it exists: deletes it, logs, stops, starts 1.2 s later.
    void checkHudRestart();

signals:
    /// A launched engine process runs.
    void started();
    /// The engine was asked to stop (it may still be exiting).
    void stopped();
    /// The current engine exited by itself (or after a stop, with no newer one started).
    void exited();
    /// The current engine exited without being asked to (emitted after exited()).
    void exitedByItself(const halvic::EngineExit &exit);
    /// The engine program could not be launched; `reason` is the platform's message.
    void launchFailed(const QString &reason);
    /// The last engine process still alive has exited.
    void allProcessesExited();

private:
    void watchHudRestart();
    void processLine(QByteArrayView line);
    void passOnErrors(QProcess *process);
    void onStarted(QProcess *process);
    void onFailedToStart(QProcess *process);
    void onFinished(QProcess *process);
    void release(QProcess *process);

    Scheduler &m_scheduler;
    Locations m_locations;
    ControlChannel m_control;
    LineFramer m_framer;
    EventQueue m_events;
    /// Every process not yet reaped; the current one is m_proc (none after stop()).
    std::vector<std::unique_ptr<QProcess>> m_processes;
    QProcess *m_proc = nullptr;
    std::unique_ptr<QFileSystemWatcher> m_restartWatch;
    ScheduledCall m_pendingRestart;
    /// The current engine's last standard-error lines.
    ErrorTail m_errorTail;
    std::optional<EngineExit> m_lastExit;
};

} // namespace halvic
