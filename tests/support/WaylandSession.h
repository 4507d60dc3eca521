#pragma once

#include <QCoreApplication>
#include <QFile>

#include <functional>
#include <grp.h>
#include <sys/stat.h>

#include "X11Session.h"

namespace halvic::testing {

/// What every private headless compositor of the tests shares: a temporary home and runtime
/// folder, a session bus of its own, the clients it starts (which stop with it, in the reverse
/// order of their start), and the environment a client of it gets. A subclass starts the
/// compositor itself and fills in its sockets.
class WaylandSession
{
public:
    static constexpr QSize outputSize{1920, 1080};

    virtual ~WaylandSession() { stopFrom(0); }

    bool ok() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }
    QString waylandDisplay() const { return m_extra.value("WAYLAND_DISPLAY"); }
    QString x11Display() const { return m_extra.value("DISPLAY"); }
    QString runtimeDir() const { return m_dir.filePath("run"); }
    QString folder(const QString &name) const { return m_dir.filePath(name); }

    /// What a client of this session gets (QT_QPA_PLATFORM is the caller's choice).
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env;
        env.insert("HOME", m_dir.filePath("home"));
        env.insert("XDG_RUNTIME_DIR", runtimeDir());
        env.insert("PATH", "/usr/bin:/bin");
        env.insert("DBUS_SESSION_BUS_ADDRESS", busAddress());
        env.insert(m_extra); // the compositor's sockets, once it runs
        return env;
    }

    QString busAddress() const { return "unix:path=" + runtimeDir() + "/bus"; }

    /// The first of `tools` that is not installed, as a reason to skip; empty when all are.
    static QString missing(std::initializer_list<const char *> tools)
    {
        for (const char *tool : tools) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool), {"/usr/bin", "/usr/sbin"}).isEmpty())
                return QStringLiteral("%1 is not installed").arg(QLatin1StringView(tool));
        }
        return {};
    }

    /// Starts a client of this session with environment() plus `extra`; it stops with the
    /// session. Its standard error is passed on to the test's. It runs as the test itself, since
    /// the build tree may lie where the session's user cannot read (under /root, say).
    QProcess &startClient(const QString &program, const QStringList &arguments = {},
        const QProcessEnvironment &extra = QProcessEnvironment())
    {
        return start(program, arguments, extra, false);
    }

    /// Stops the clients (everything the session started after the compositor).
    void stopClients() { stopFrom(m_ownProcesses); }

    /// Polls `done` (events keep flowing) until it holds or `ms` pass (generous: the sanitizer
    /// build runs these too).
    static bool waitFor(const std::function<bool()> &done, int ms = 20000)
    {
        for (const QDeadlineTimer deadline(ms); !done(); QThread::msleep(20)) {
            if (deadline.hasExpired())
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        return true;
    }

protected:
    WaylandSession() = default;

    /// Runs directly (no su/runuser in between), so that it is the process we stop and it
    /// dies with the test; as the session's user (m_uid, m_gid) when `asUser`. Its standard
    /// error goes to the test's, or with its output to `errorFile`.
    QProcess &start(const QString &program, const QStringList &arguments, const QProcessEnvironment &extra, bool asUser,
        const QString &errorFile = {})
    {
        QProcessEnvironment env = environment();
        env.insert(extra);
        auto &process = *m_processes.emplace_back(std::make_unique<QProcess>());
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(m_dir.filePath("home"));
        const QString found = QStandardPaths::findExecutable(program, {"/usr/bin", "/bin"});
        process.setProgram(found.isEmpty() ? program : found);
        process.setArguments(arguments);
        process.setProcessChannelMode(errorFile.isEmpty() ? QProcess::ForwardedErrorChannel : QProcess::MergedChannels);
        if (!errorFile.isEmpty())
            process.setStandardOutputFile(errorFile);
        process.setChildProcessModifier([asUser, uid = m_uid, gid = m_gid] {
            if (asUser && (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0))
                ::_exit(127);
            ::prctl(PR_SET_PDEATHSIG, SIGKILL); // after setuid, which clears it
        });
        process.start();
        return process;
    }

    /// The processes started so far are the session's own: stopClients() leaves them.
    void ownProcessesStarted() { m_ownProcesses = m_processes.size(); }

    /// Adds to what every process of the session gets.
    void addEnvironment(const QString &name, const QString &value) { m_extra.insert(name, value); }

    bool fail(const QString &why)
    {
        m_error = why;
        return false;
    }

    /// Makes the home and runtime folders, owned by the session's user and private to it.
    bool prepareFolders()
    {
        if (!m_dir.isValid())
            return fail("no temporary folder");
        for (const QString &path : {m_dir.path(), runtimeDir(), m_dir.filePath("home")}) {
            const QByteArray name = QFile::encodeName(path);
            if (!QDir().mkpath(path) || ::chown(name.constData(), m_uid, m_gid) != 0
                || ::chmod(name.constData(), 0700) != 0)
                return fail("cannot hand " + path + " to the session's user");
        }
        return true;
    }

    bool writeFile(const QString &path, const QByteArray &text)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        return (file.open(QIODevice::WriteOnly) && file.write(text) == text.size()) || fail("cannot write " + path);
    }

    /// A session bus of its own, as dbus-run-session would start, but one process we can stop.
    bool startBus(bool asUser)
    {
        const QString path = runtimeDir() + "/bus";
        start("dbus-daemon", {"--session", "--nofork", "--nopidfile", "--address=" + busAddress()}, {}, asUser);
        return waitFor([&] { return QFile::exists(path); }) || fail("dbus-daemon did not start");
    }

    uid_t m_uid = ::geteuid();
    gid_t m_gid = ::getegid();

private:
    void stopFrom(size_t first)
    {
        // Later processes may depend on earlier ones (the compositor on its bus): they stop first.
        for (; m_processes.size() > first; m_processes.pop_back())
            stopProcess(*m_processes.back());
    }

    QTemporaryDir m_dir;
    std::vector<std::unique_ptr<QProcess>> m_processes; // the bus, the compositor, then the clients
    size_t m_ownProcesses = 0;
    QProcessEnvironment m_extra;
    QString m_error; // why the session is not running; empty while it is
};

} // namespace halvic::testing
