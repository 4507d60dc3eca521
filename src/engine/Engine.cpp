#include "Engine.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QProcess>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include "EventDispatcher.h"
#include "Logging.h"
#include "Paths.h"
#include "Protocol.h"

namespace halvic {

using namespace protocol;

namespace {

constexpr auto restartLogLine = "TarvelHUD: hud_restart detected \u2014 cycling engine\n";

/// Passes the engine's output on to our standard error without ever waiting for it: a pipe
/// nobody reads must not stall the HUD. Whatever does not fit at once is dropped.
void passOn(QByteArrayView bytes)
{
    while (!bytes.isEmpty()) {
        pollfd target{STDERR_FILENO, POLLOUT, 0};
        if (::poll(&target, 1, 0) != 1 || !(target.revents & POLLOUT))
            return;
        // A write of at most PIPE_BUF bytes to a pipe that polls writable does not block.
        const auto chunk = std::min<qsizetype>(bytes.size(), PIPE_BUF);
        const ssize_t written = ::write(STDERR_FILENO, bytes.data(), size_t(chunk));
        if (written <= 0)
            return;
        bytes = bytes.sliced(written);
    }
}

void writeToStandardError(QByteArrayView line)
{
    QByteArray out;
    out.reserve(line.size() + 1);
    out.append(line).append('\n');
    passOn(out);
}

bool isBlank(QByteArrayView line)
{
    return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t'; });
}

} // namespace

Engine::Locations Engine::Locations::fromPaths()
{
    return {Paths::root(), Paths::python(), Paths::engine(), Paths::control()};
}

Engine::Locations Engine::Locations::underRoot(const QString &root)
{
    const QDir dir(root);
    return {root, dir.filePath(QStringLiteral(".venv/bin/python")), dir.filePath(QStringLiteral("main.py")),
        dir.filePath(QStringLiteral("control"))};
}

Engine::Engine(EventDispatcher &dispatcher, Scheduler &scheduler, Locations locations, QObject *parent)
    : QObject(parent)
    , m_scheduler(scheduler)
    , m_locations(std::move(locations))
    , m_control(m_locations.control)
    , m_events(dispatcher)
    , m_pendingRestart(scheduler, restartPause, [this] { start(); })
{
    watchHudRestart();
}

Engine::~Engine()
{
    // Detach first so no callback reaches a half-destroyed engine. An engine still running
    // now (one that ignored SIGTERM) is killed and reaped here, as QProcess's destructor
    // would do, but without its warning on standard error.
    for (const auto &process : m_processes) {
        process->disconnect(this);
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished(int(reapAfterKill.count()));
        }
    }
}

void Engine::start()
{
    if (m_proc && m_proc->state() != QProcess::NotRunning)
        return;
    if (m_proc) {
        release(m_proc);
        m_proc = nullptr;
    }

    auto process = std::make_unique<QProcess>();
    process->setProgram(m_locations.python);
    process->setArguments({QStringLiteral("-u"), m_locations.script});
    process->setWorkingDirectory(m_locations.root);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("EMIT_JSON"), QStringLiteral("1"));
    environment.insert(QStringLiteral("PYTHONUNBUFFERED"), QStringLiteral("1"));
    process->setProcessEnvironment(environment);
    // Standard error is read rather than inherited, so the last lines of an engine that
    // stops by itself can be shown; every byte is still passed on to the HUD's own.
    process->setProcessChannelMode(QProcess::SeparateChannels);
    process->setInputChannelMode(QProcess::ForwardedInputChannel);
    // Between fork and exec: have the kernel terminate the engine when the HUD dies, so a
    // crashed or killed HUD never leaves an orphaned engine. Async-signal-safe calls only.
    const pid_t hud = ::getpid();
    process->setChildProcessModifier([hud] {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != hud)
            ::raise(SIGTERM);
    });

    QProcess *raw = process.get();
    connect(raw, &QProcess::readyReadStandardOutput, this, [this, raw] {
        if (raw == m_proc)
            ingest(raw->readAllStandardOutput());
    });
    connect(raw, &QProcess::readyReadStandardError, this, [this, raw] { passOnErrors(raw); });
    connect(raw, &QProcess::started, this, [this, raw] { onStarted(raw); });
    connect(raw, &QProcess::errorOccurred, this, [this, raw](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            onFailedToStart(raw);
    });
    connect(raw, &QProcess::finished, this, [this, raw] { onFinished(raw); });

    m_processes.push_back(std::move(process));
    m_proc = raw;
    m_errorTail.clear();
    m_lastExit.reset();
    raw->start(QIODevice::ReadOnly);
}

void Engine::onStarted(QProcess *process)
{
    if (process == m_proc)
        emit started();
}

void Engine::onFailedToStart(QProcess *process)
{
    const QString message = process->errorString();
    if (process == m_proc)
        m_proc = nullptr;
    release(process);
    emit launchFailed(message);
    // A launch that failed after a stop (a quit) also ends the wait for the engines to go.
    if (!hasLiveProcesses())
        emit allProcessesExited();
}

void Engine::passOnErrors(QProcess *process)
{
    const QByteArray bytes = process->readAllStandardError();
    if (bytes.isEmpty())
        return;
    passOn(bytes);
    if (process == m_proc)
        m_errorTail.feed(bytes);
}

void Engine::onFinished(QProcess *process)
{
    const bool newerProcessExists = m_proc && m_proc != process;
    const bool byItself = process == m_proc;
    passOnErrors(process);
    if (byItself) {
        m_lastExit = EngineExit{process->exitCode(), process->exitStatus() == QProcess::CrashExit, m_errorTail.lines()};
        m_errorTail.clear();
    }
    if (process != m_proc)
        release(process);
    // An old engine that took long to exit must not mark a newer one stopped.
    if (!newerProcessExists)
        emit exited();
    if (byItself)
        emit exitedByItself(*m_lastExit);
    if (!hasLiveProcesses())
        emit allProcessesExited();
}

void Engine::release(QProcess *process)
{
    const auto it = std::find_if(
        m_processes.begin(), m_processes.end(), [process](const auto &owned) { return owned.get() == process; });
    if (it == m_processes.end())
        return;
    process->disconnect(this);
    if (process->state() != QProcess::NotRunning) {
        // Still exiting: keep it until it has, then reap it.
        connect(process, &QProcess::readyReadStandardError, this, [this, process] { passOnErrors(process); });
        connect(process, &QProcess::finished, this, [this, process] { onFinished(process); });
        return;
    }
    it->release()->deleteLater();
    m_processes.erase(it);
}

void Engine::stop()
{
    m_pendingRestart.cancel();
    m_lastExit.reset();
    if (QProcess *process = std::exchange(m_proc, nullptr)) {
        disconnect(process, &QProcess::readyReadStandardOutput, this, nullptr);
        if (process->state() != QProcess::NotRunning) {
            // QProcess keeps reading the pipe; drop what a stopping engine still writes so
            // it cannot pile up in memory until the process is gone.
            connect(process, &QProcess::readyReadStandardOutput, this, [process] { process->readAllStandardOutput(); });
            process->terminate();
            QPointer<QProcess> guard(process);
            m_scheduler.callAfter(killAfter, this, [guard] {
                if (guard && guard->state() != QProcess::NotRunning)
                    guard->kill();
            });
        } else {
            release(process);
        }
    }
    emit stopped();
}

bool Engine::isRunning() const
{
    return m_proc && m_proc->state() == QProcess::Running;
}

bool Engine::hasLiveProcesses() const
{
    return std::any_of(m_processes.begin(), m_processes.end(),
        [](const auto &process) { return process->state() != QProcess::NotRunning; });
}

void Engine::ingest(QByteArrayView chunk)
{
    m_framer.feed(
        chunk, [this](QByteArrayView line) { processLine(line); },
        [](qsizetype length) {
            qCWarning(lcEngine).nospace() << "dropped a line of " << length << " bytes from the engine, over the "
                                          << LineFramer::defaultMaxLine << "-byte limit";
        });
}

void Engine::processLine(QByteArrayView line)
{
    if (!line.isValidUtf8())
        return;
    const qsizetype marker = line.indexOf(QByteArrayView(eventMarker.data(), eventMarker.size()));
    if (marker >= 0) {
        handle(line.sliced(marker + eventMarker.size()));
        return;
    }
    if (!isBlank(line))
        writeToStandardError(line);
}

void Engine::handle(QByteArrayView eventJson)
{
    m_events.push(eventJson);
}

void Engine::watchHudRestart()
{
    m_control.ensureFolder();
    auto watch = std::make_unique<QFileSystemWatcher>();
    if (!watch->addPath(m_locations.control)) {
        // Without the watch a restart marker goes unnoticed; leave a trace for whoever looks.
        qCWarning(lcEngine) << "cannot watch the control folder for the restart marker:" << m_locations.control;
        return;
    }
    connect(watch.get(), &QFileSystemWatcher::directoryChanged, this, &Engine::checkHudRestart);
    m_restartWatch = std::move(watch);
}

void Engine::checkHudRestart()
{
    const QString marker = m_control.filePath(controlfile::hudRestart);
    if (!QFileInfo::exists(marker) && !QFileInfo(marker).isSymLink())
        return;
    QFile::remove(marker);
    std::fputs(restartLogLine, stdout);
    std::fflush(stdout);
    stop();
    m_pendingRestart.restart();
}

} // namespace halvic
