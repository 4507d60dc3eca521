#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <functional>
#include <grp.h>
#include <memory>
#include <pwd.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "SwayIpc.h"
#include "SwayTree.h"
#include "X11Session.h"

namespace halvic::testing {

/// A private headless sway (one 1920×1080 output, XWayland started at once) with its own
/// runtime folder and session bus, for one test program. sway refuses to run as root, so it and
/// its clients run as an unprivileged user, created when missing; the test itself (root) talks
/// to sway's IPC socket directly. Everything it starts stops with it.
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
        if (m_error.isEmpty() && findUser() && prepareFolders() && startBus() && startSway())
            m_ok = true;
    }

    ~SwaySession()
    {
        stopClients();
        for (QProcess *process : {m_sway.get(), m_bus.get()}) {
            if (process)
                stopProcess(*process);
        }
    }

    SwaySession(const SwaySession &) = delete;
    SwaySession &operator=(const SwaySession &) = delete;

    bool ok() const { return m_ok; }
    QString error() const { return m_error; }
    QString socketPath() const { return m_socket; }
    QString waylandDisplay() const { return m_wayland; }
    QString x11Display() const { return m_x11; }
    QString runtimeDir() const { return m_dir.filePath(QStringLiteral("run")); }
    sway::Ipc ipc() const { return sway::Ipc(m_socket); }

    /// The application windows of sway's tree, now.
    QList<sway::Window> windows() const
    {
        const auto tree = ipc().request(sway::Message::GetTree);
        return tree ? sway::windowsOf(tree->object()) : QList<sway::Window>();
    }

    /// What a client of this session gets (QT_QPA_PLATFORM is the caller's choice).
    QProcessEnvironment environment() const
    {
        QProcessEnvironment env;
        env.insert(QStringLiteral("HOME"), m_dir.filePath(QStringLiteral("home")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir());
        env.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=") + busPath());
        env.insert(QStringLiteral("SWAYSOCK"), m_socket);
        env.insert(QStringLiteral("WAYLAND_DISPLAY"), m_wayland);
        env.insert(QStringLiteral("DISPLAY"), m_x11);
        return env;
    }

    /// Starts a program as the session's user with environment() plus `extra`; it stops with
    /// the session. Its standard error is passed on to the test's.
    QProcess &startAsUser(const QString &program, const QStringList &arguments = {},
        const QProcessEnvironment &extra = QProcessEnvironment())
    {
        QProcessEnvironment env = environment();
        env.insert(extra);
        m_clients.push_back(start(program, arguments, env));
        return *m_clients.back();
    }

    void stopClients()
    {
        for (auto it = m_clients.rbegin(); it != m_clients.rend(); ++it)
            stopProcess(**it);
        m_clients.clear();
    }

    /// Polls `done` (events keep flowing) until it holds or `ms` pass.
    static bool waitFor(const std::function<bool()> &done, int ms = 10000)
    {
        QElapsedTimer timer;
        timer.start();
        while (!done()) {
            if (timer.elapsed() > ms)
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(20);
        }
        return true;
    }

private:
    QString busPath() const { return runtimeDir() + QStringLiteral("/bus"); }

    bool findUser()
    {
        if (!::getpwnam(userName)) {
            // Another test may create it at the same moment: only the user's existence counts.
            QProcess::execute(QStringLiteral("useradd"),
                {QStringLiteral("--system"), QStringLiteral("--create-home"), QStringLiteral("--shell"),
                    QStringLiteral("/usr/sbin/nologin"), QString::fromLatin1(userName)});
        }
        const passwd *user = ::getpwnam(userName);
        if (!user) {
            m_error = QStringLiteral("cannot create the user %1").arg(QLatin1StringView(userName));
            return false;
        }
        m_uid = user->pw_uid;
        m_gid = user->pw_gid;
        return true;
    }

    bool prepareFolders()
    {
        const QDir dir(m_dir.path());
        dir.mkdir(QStringLiteral("run"));
        dir.mkdir(QStringLiteral("home"));
        QFile config(m_dir.filePath(QStringLiteral("sway.cfg")));
        if (!config.open(QIODevice::WriteOnly))
            return false;
        config.write(QStringLiteral("output HEADLESS-1 resolution %1x%2\nxwayland force\n")
                         .arg(outputSize.width())
                         .arg(outputSize.height())
                         .toUtf8());
        config.close();
        for (const QString &path : {m_dir.path(), runtimeDir(), m_dir.filePath(QStringLiteral("home"))}) {
            if (::chown(QFile::encodeName(path).constData(), m_uid, m_gid) != 0
                || ::chmod(QFile::encodeName(path).constData(), 0700) != 0) {
                m_error = QStringLiteral("cannot hand %1 to the test user").arg(path);
                return false;
            }
        }
        return true;
    }

    /// A session bus of its own, as dbus-run-session would start, but one process we can stop.
    bool startBus()
    {
        m_bus = start(QStringLiteral("dbus-daemon"),
            {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                QStringLiteral("--address=unix:path=") + busPath()},
            environment());
        if (!waitFor([this] { return QFile::exists(busPath()); })) {
            m_error = QStringLiteral("dbus-daemon did not start");
            return false;
        }
        return true;
    }

    bool startSway()
    {
        QProcessEnvironment env = environment();
        for (const char *name : {"SWAYSOCK", "WAYLAND_DISPLAY", "DISPLAY"})
            env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("WLR_BACKENDS"), QStringLiteral("headless"));
        env.insert(QStringLiteral("WLR_RENDERER"), QStringLiteral("pixman"));
        env.insert(QStringLiteral("WLR_LIBINPUT_NO_DEVICES"), QStringLiteral("1"));
        m_sway = start(QStringLiteral("sway"), {QStringLiteral("-c"), m_dir.filePath(QStringLiteral("sway.cfg"))}, env);
        m_socket = QStringLiteral("%1/sway-ipc.%2.%3.sock").arg(runtimeDir()).arg(m_uid).arg(m_sway->processId());
        // Ready once the output answers over IPC with its size.
        const bool ready = waitFor([this] {
            const auto outputs = ipc().request(sway::Message::GetOutputs);
            return outputs && outputs->array().size() > 0
                && outputs->array()
                       .first()
                       .toObject()
                       .value(QLatin1String("rect"))
                       .toObject()
                       .value(QLatin1String("width"))
                == outputSize.width();
        });
        const QStringList sockets = QDir(runtimeDir()).entryList({QStringLiteral("wayland-?")}, QDir::System);
        if (!ready || sockets.isEmpty()) {
            m_error = QStringLiteral("sway did not start (its log is above)");
            return false;
        }
        m_wayland = sockets.first();
        // XWayland's display is in sway's environment alone; it lets only its own user in, and
        // the test (root) reads screens from it too.
        const QString file = runtimeDir() + QStringLiteral("/display");
        ipc().command(
            QStringLiteral("exec xhost +si:localuser:root >/dev/null && printenv DISPLAY > %1.part && mv %1.part %1")
                .arg(file));
        waitFor([&] { return QFile::exists(file); }, 5000);
        QFile display(file);
        m_x11 = display.open(QIODevice::ReadOnly) ? QString::fromLatin1(display.readAll().trimmed()) : QString();
        if (m_x11.isEmpty())
            m_error = QStringLiteral("sway started no XWayland");
        return !m_x11.isEmpty();
    }

    /// Runs a program as the test user, directly (no su/runuser in between), so that it is the
    /// process we stop and it dies with the test.
    std::unique_ptr<QProcess> start(
        const QString &program, const QStringList &arguments, const QProcessEnvironment &env)
    {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(env);
        process->setWorkingDirectory(m_dir.filePath(QStringLiteral("home")));
        process->setProgram(QStandardPaths::findExecutable(program, {"/usr/bin", "/bin"}).isEmpty()
                ? program
                : QStandardPaths::findExecutable(program, {"/usr/bin", "/bin"}));
        process->setArguments(arguments);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const uid_t uid = m_uid;
        const gid_t gid = m_gid;
        process->setChildProcessModifier([uid, gid] {
            if (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0)
                ::_exit(127);
            // After setuid, which clears it.
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        });
        process->start();
        return process;
    }

    QTemporaryDir m_dir;
    uid_t m_uid = 0;
    gid_t m_gid = 0;
    std::unique_ptr<QProcess> m_bus;
    std::unique_ptr<QProcess> m_sway;
    std::vector<std::unique_ptr<QProcess>> m_clients;
    QString m_socket;
    QString m_wayland;
    QString m_x11;
    QString m_error;
    bool m_ok = false;
};

} // namespace halvic::testing
