#pragma once

// The private headless Wayland compositors of the tests: what they all share, and sway's
// (KWin's, which needs the session bus's headers, is in KWinSession.h).

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>

#include <functional>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>

#include "SwayIpc.h"
#include "SwayTree.h"
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

    /// The X sockets' folder as a system sets it up (root's, open to all, sticky). A system that
    /// never ran X lacks it, and an XWayland of another user leaves one that KWin's refuses.
    bool prepareX11Sockets()
    {
        const char *path = "/tmp/.X11-unix";
        QDir().mkpath(QString::fromLatin1(path));
        struct stat info = {};
        if (::stat(path, &info) == 0 && info.st_uid == 0 && (info.st_mode & 07777) == 01777)
            return true;
        return (::chown(path, 0, 0) == 0 && ::chmod(path, 01777) == 0) || fail("cannot set up /tmp/.X11-unix");
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

/// A private headless sway (one 1920×1080 output, XWayland started at once) for one test
/// program. sway refuses to run as root, so it and its bus run as an unprivileged user; the
/// test itself (root) and the clients it starts talk to sway as root may.
class SwaySession final : public WaylandSession
{
public:
    static constexpr const char *userName = "halvictest";

    /// Why sway cannot run here at all (a test skips then); empty when it can.
    static QString unavailable()
    {
        if (::geteuid() != 0)
            return QStringLiteral("sway tests switch to the user %1 and need root").arg(QLatin1StringView(userName));
        return missing({"sway", "Xwayland", "xhost", "dbus-daemon", "useradd"});
    }

    /// Starts the bus and sway; check ok() and error() afterwards.
    SwaySession()
    {
        if (const QString why = unavailable(); !why.isEmpty())
            fail(why);
        else if (findUser() && prepareFolders() && prepareX11Sockets() && writeConfig() && startBus(true))
            startSway();
        ownProcessesStarted();
    }

    QString socketPath() const { return m_socket; }
    sway::Ipc ipc() const { return sway::Ipc(m_socket); }

    QList<sway::Window> windows() const
    {
        const auto tree = ipc().request(sway::Message::GetTree);
        return tree ? sway::windowsOf(tree->object()) : QList<sway::Window>();
    }

private:
    bool findUser()
    {
        // Another test may create it at the same moment: only the user's existence counts.
        if (!::getpwnam(userName))
            QProcess::execute("useradd", {"--system", "--create-home", "--shell", "/usr/sbin/nologin", userName});
        const passwd *user = ::getpwnam(userName);
        if (!user)
            return fail(QStringLiteral("cannot create the user %1").arg(QLatin1StringView(userName)));
        m_uid = user->pw_uid;
        m_gid = user->pw_gid;
        return true;
    }

    bool writeConfig()
    {
        const QByteArray size = QByteArray::number(outputSize.width()) + 'x' + QByteArray::number(outputSize.height());
        return writeFile(folder("sway.cfg"), "output HEADLESS-1 resolution " + size + "\nxwayland force\n");
    }

    bool startSway()
    {
        QProcessEnvironment env;
        env.insert("WLR_BACKENDS", "headless");
        env.insert("WLR_RENDERER", "pixman");
        env.insert("WLR_LIBINPUT_NO_DEVICES", "1");
        const qint64 pid = start("sway", {"-c", folder("sway.cfg")}, env, true).processId();
        m_socket
            = QStringLiteral("%1/sway-ipc.%2.%3.sock").arg(runtimeDir()).arg(::getpwnam(userName)->pw_uid).arg(pid);
        const bool ready = waitFor([this] {
            const auto outputs = ipc().request(sway::Message::GetOutputs);
            return outputs && outputs->array().at(0)[u"rect"][u"width"].toInt() == outputSize.width();
        });
        const QStringList sockets = QDir(runtimeDir()).entryList({"wayland-?"}, QDir::System);
        if (!ready || sockets.isEmpty())
            return fail("sway did not start (its log is above)");
        addEnvironment("WAYLAND_DISPLAY", sockets.first());
        // sway itself would take an empty SWAYSOCK for its socket's path: set once known.
        addEnvironment("SWAYSOCK", m_socket);
        // XWayland's display is in sway's environment alone; it lets only its own user in, and
        // the test (root) reads screens from it too.
        QFile display(runtimeDir() + "/display");
        ipc().command(
            QStringLiteral("exec xhost +si:localuser:root >/dev/null && printenv DISPLAY > %1.part && mv %1.part %1")
                .arg(display.fileName()));
        if (waitFor([&] { return display.exists(); }, 5000) && display.open(QIODevice::ReadOnly))
            addEnvironment("DISPLAY", QString::fromLatin1(display.readAll().trimmed()));
        return !x11Display().isEmpty() || fail("sway started no XWayland");
    }

    QString m_socket;
};

} // namespace halvic::testing
