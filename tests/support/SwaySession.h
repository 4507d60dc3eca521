#pragma once

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

/// A private headless sway (one 1920×1080 output, XWayland started at once) with its own
/// runtime folder and session bus, for one test program. sway refuses to run as root, so it and
/// its bus run as an unprivileged user, created when missing; the test itself (root) and the
/// clients it starts talk to sway as root may. Everything it starts stops with it.
class SwaySession
{
public:
    static constexpr QSize outputSize{1920, 1080};
    static constexpr const char *userName = "halvictest";

    /// Why sway cannot run here at all (a test skips then); empty when it can.
    static QString unavailable()
    {
        if (::geteuid() != 0)
            return QStringLiteral("sway tests switch to the user %1 and need root").arg(QLatin1StringView(userName));
        for (const char *tool : {"sway", "Xwayland", "xhost", "dbus-daemon", "useradd"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool), {"/usr/bin", "/usr/sbin"}).isEmpty())
                return QStringLiteral("%1 is not installed").arg(QLatin1StringView(tool));
        }
        return {};
    }

    /// Starts the bus and sway; check ok() and error() afterwards.
    SwaySession()
    {
        m_error = unavailable();
        if (m_error.isEmpty() && findUser() && prepareFolders() && startBus())
            startSway();
    }

    ~SwaySession() { stopFrom(0); }

    bool ok() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }
    QString socketPath() const { return m_socket; }
    QString waylandDisplay() const { return m_wayland; }
    QString x11Display() const { return m_x11; }
    QString runtimeDir() const { return m_dir.filePath("run"); }
    sway::Ipc ipc() const { return sway::Ipc(m_socket); }

    QList<sway::Window> windows() const
    {
        const auto tree = ipc().request(sway::Message::GetTree);
        return tree ? sway::windowsOf(tree->object()) : QList<sway::Window>();
    }

    /// What a client of this session gets (QT_QPA_PLATFORM is the caller's choice).
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env;
        env.insert("HOME", m_dir.filePath("home"));
        env.insert("XDG_RUNTIME_DIR", runtimeDir());
        env.insert("PATH", "/usr/bin:/bin");
        env.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + busPath());
        // Known once sway runs; sway itself would take an empty SWAYSOCK for its socket's path.
        for (const auto &[name, value] :
            {std::pair{"SWAYSOCK", m_socket}, {"WAYLAND_DISPLAY", m_wayland}, {"DISPLAY", m_x11}}) {
            if (!value.isEmpty())
                env.insert(name, value);
        }
        return env;
    }

    /// Starts a client of this session with environment() plus `extra`; it stops with the
    /// session. Its standard error is passed on to the test's. It runs as the test itself, since
    /// the build tree may lie where the session's user cannot read (under /root, say).
    QProcess &startClient(const QString &program, const QStringList &arguments = {},
        const QProcessEnvironment &extra = QProcessEnvironment())
    {
        return start(program, arguments, extra, false);
    }

    /// Stops the clients (everything but the bus and sway).
    void stopClients() { stopFrom(2); }

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

private:
    /// Runs directly (no su/runuser in between), so that it is the process we stop and it
    /// dies with the test; as the session's user when `asUser`.
    QProcess &start(const QString &program, const QStringList &arguments, const QProcessEnvironment &extra, bool asUser)
    {
        QProcessEnvironment env = environment();
        env.insert(extra);
        auto &process = *m_processes.emplace_back(std::make_unique<QProcess>());
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(m_dir.filePath("home"));
        const QString found = QStandardPaths::findExecutable(program, {"/usr/bin", "/bin"});
        process.setProgram(found.isEmpty() ? program : found);
        process.setArguments(arguments);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.setChildProcessModifier([asUser, uid = m_uid, gid = m_gid] {
            if (asUser && (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0))
                ::_exit(127);
            ::prctl(PR_SET_PDEATHSIG, SIGKILL); // after setuid, which clears it
        });
        process.start();
        return process;
    }

    QString busPath() const { return runtimeDir() + "/bus"; }

    /// Later processes may depend on earlier ones (sway on its bus): they stop first.
    void stopFrom(size_t first)
    {
        for (; m_processes.size() > first; m_processes.pop_back())
            stopProcess(*m_processes.back());
    }

    bool fail(const QString &why)
    {
        m_error = why;
        return false;
    }

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

    bool prepareFolders()
    {
        QFile config(m_dir.filePath("sway.cfg"));
        const QByteArray size = QByteArray::number(outputSize.width()) + 'x' + QByteArray::number(outputSize.height());
        const QByteArray text = "output HEADLESS-1 resolution " + size + "\nxwayland force\n";
        if (!config.open(QIODevice::WriteOnly) || config.write(text) != text.size())
            return fail("cannot write " + config.fileName());
        for (const QString &path : {m_dir.path(), runtimeDir(), m_dir.filePath("home")}) {
            const QByteArray name = QFile::encodeName(path);
            if (!QDir().mkpath(path) || ::chown(name.constData(), m_uid, m_gid) != 0
                || ::chmod(name.constData(), 0700) != 0)
                return fail("cannot hand " + path + " to the test user");
        }
        return true;
    }

    /// A session bus of its own, as dbus-run-session would start, but one process we can stop.
    bool startBus()
    {
        start("dbus-daemon", {"--session", "--nofork", "--nopidfile", "--address=unix:path=" + busPath()}, {}, true);
        return waitFor([this] { return QFile::exists(busPath()); }) || fail("dbus-daemon did not start");
    }

    bool startSway()
    {
        QProcessEnvironment env;
        env.insert("WLR_BACKENDS", "headless");
        env.insert("WLR_RENDERER", "pixman");
        env.insert("WLR_LIBINPUT_NO_DEVICES", "1");
        const qint64 pid = start("sway", {"-c", m_dir.filePath("sway.cfg")}, env, true).processId();
        m_socket = QStringLiteral("%1/sway-ipc.%2.%3.sock").arg(runtimeDir()).arg(m_uid).arg(pid);
        const bool ready = waitFor([this] {
            const auto outputs = ipc().request(sway::Message::GetOutputs);
            return outputs && outputs->array().at(0)[u"rect"][u"width"].toInt() == outputSize.width();
        });
        const QStringList sockets = QDir(runtimeDir()).entryList({"wayland-?"}, QDir::System);
        if (!ready || sockets.isEmpty())
            return fail("sway did not start (its log is above)");
        m_wayland = sockets.first();
        // XWayland's display is in sway's environment alone; it lets only its own user in, and
        // the test (root) reads screens from it too.
        QFile display(runtimeDir() + "/display");
        ipc().command(
            QStringLiteral("exec xhost +si:localuser:root >/dev/null && printenv DISPLAY > %1.part && mv %1.part %1")
                .arg(display.fileName()));
        if (waitFor([&] { return display.exists(); }, 5000) && display.open(QIODevice::ReadOnly))
            m_x11 = QString::fromLatin1(display.readAll().trimmed());
        return !m_x11.isEmpty() || fail("sway started no XWayland");
    }

    QTemporaryDir m_dir;
    uid_t m_uid = 0;
    gid_t m_gid = 0;
    std::vector<std::unique_ptr<QProcess>> m_processes; // the bus, sway, then the clients
    QString m_socket;
    QString m_wayland;
    QString m_x11;
    QString m_error; // why the session is not running; empty while it is
};

} // namespace halvic::testing
