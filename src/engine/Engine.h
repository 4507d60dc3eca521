#pragma once

#include <QByteArrayView>
#include <QFileSystemWatcher>
#include <QJsonObject>
#include <QObject>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "ControlChannel.h"
#include "EventDispatcher.h"
#include "LineFramer.h"
#include "Scheduler.h"

class QProcess;

namespace halvic {

class AppModel;
class WindowManager;

/// The HUD's link to the engine program: starts and stops its process, frames its output
/// into events, dispatches them, writes the engine link's own control files and cycles the
/// engine when the restart marker appears. Main thread only.
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

    Engine(AppModel &model, Scheduler &scheduler, Locations locations = Locations::fromPaths(),
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

    /// Frames a chunk of engine output and dispatches every complete line.
    void ingest(QByteArrayView chunk);
    /// Dispatches one event (the text after the marker).
    void handle(QByteArrayView eventJson);

    EventDispatcher &dispatcher() { return m_dispatcher; }
    const ControlChannel &control() const { return m_control; }
    const Locations &locations() const { return m_locations; }

    void writeControlJSON(QLatin1StringView name, const QJsonObject &object) const;
    void touch(QLatin1StringView name) const;
    /// Writes text_input.json: the text, the attachment paths and whether to answer aloud.
    void sendText(const QString &text, const QList<QUrl> &attachments);
    /// Writes config.json and shows the new setting at once.
    void setWakeWord(bool on);
    /// Writes gestures.json.
    void setGestures(bool on) const;
    /// Drops the "mute" marker; the engine answers with a "muted" event.
    void toggleMute() const;

    /// Receives gestures on/off from "gestures" events and off when the engine exits.
    void setOnGestures(std::function<void(bool)> callback);

    /// Carries out a window command from the engine: says so when window control is not
    /// available here, else leaves the docked HUD's strip free and hands the command on.
    void handleWindowCommand(const std::optional<QJsonObject> &command);
    /// Replaces the window manager the engine created (tests bring one of their own).
    void setWindowManager(std::unique_ptr<WindowManager> windowManager);

    /// Acts on the restart marker if it exists: deletes it, logs, stops, starts 1.2 s later.
    void checkHudRestart();

signals:
    /// The last engine process still alive has exited.
    void allProcessesExited();

private:
    void watchHudRestart();
    void processLine(QByteArrayView line);
    void onStarted(QProcess *process);
    void onFailedToStart(QProcess *process);
    void onFinished(QProcess *process);
    void release(QProcess *process);

    AppModel &m_model;
    Scheduler &m_scheduler;
    Locations m_locations;
    ControlChannel m_control;
    EventDispatcher m_dispatcher;
    LineFramer m_framer;
    /// Every process not yet reaped; the current one is m_proc (none after stop()).
    std::vector<std::unique_ptr<QProcess>> m_processes;
    QProcess *m_proc = nullptr;
    std::unique_ptr<QFileSystemWatcher> m_restartWatch;
    std::function<void(bool)> m_onGestures;
    std::optional<Scheduler::CallId> m_pendingRestart;
    std::unique_ptr<WindowManager> m_windowManager;
};

} // namespace halvic
