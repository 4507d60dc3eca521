#pragma once

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <poll.h>
#include <sys/prctl.h>
#include <unistd.h>
#include <vector>

namespace halvic::testing {

/// Stops a process politely, then firmly.
inline void stopProcess(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

/// Runs a short tool and returns its standard output (nothing if it hangs).
inline QByteArray runTool(
    const QProcessEnvironment &env, const QString &program, const QStringList &arguments, int timeoutMs = 15000)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return process.readAllStandardOutput();
}

/// A private X server (Xvfb on a free display, no TCP, its own auth file) with openbox as
/// window manager, for one test program. Everything it starts stops with it.
class X11Session
{
public:
    /// Starts Xvfb and openbox; check ok() and error() afterwards.
    explicit X11Session(QSize size = QSize(1920, 1080))
    {
        if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty()) {
            m_error = QStringLiteral("Xvfb is not installed");
            return;
        }
        if (QStandardPaths::findExecutable(QStringLiteral("openbox")).isEmpty()) {
            m_error = QStringLiteral("openbox is not installed");
            return;
        }
        if (!startServer(size) || !startWindowManager())
            return;
        m_ok = true;
    }

    ~X11Session()
    {
        // Clients in reverse order: later ones may depend on earlier ones (a bus, its launcher).
        for (auto it = m_clients.rbegin(); it != m_clients.rend(); ++it)
            stopProcess(**it);
        if (m_openbox)
            stopProcess(*m_openbox);
        if (m_xvfb)
            stopProcess(*m_xvfb);
    }

    X11Session(const X11Session &) = delete;
    X11Session &operator=(const X11Session &) = delete;

    bool ok() const { return m_ok; }
    /// Stops every client the session started.
    void stopClients()
    {
        for (auto it = m_clients.rbegin(); it != m_clients.rend(); ++it)
            stopProcess(**it);
        m_clients.clear();
    }
    QString error() const { return m_error; }
    QByteArray display() const { return m_display; }
    QString authority() const { return m_auth.filePath(QStringLiteral("Xauthority")); }

    /// Starts an X client owned by the session (stopped at the end).
    QProcess &startClient(const QString &program, const QStringList &arguments = {})
    {
        return startClient(program, arguments, environment());
    }
    QProcess &startClient(const QString &program, const QStringList &arguments, const QProcessEnvironment &env)
    {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(env);
        process->setProgram(program);
        process->setArguments(arguments);
        process->setChildProcessModifier(dieWithTheTest);
        process->start();
        m_clients.push_back(std::move(process));
        return *m_clients.back();
    }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(m_display));
        env.insert(QStringLiteral("XAUTHORITY"), authority());
        return env;
    }

    /// Runs a short X tool and returns its standard output.
    QByteArray run(const QString &program, const QStringList &arguments) const
    {
        return runTool(environment(), program, arguments);
    }

    /// Managed client windows as "instance.class" → window id, from the window manager's list.
    std::optional<quint32> window(const QString &instanceDotClass) const
    {
        const QList<QByteArray> lines = run(QStringLiteral("wmctrl"), {QStringLiteral("-lx")}).split('\n');
        for (const QByteArray &line : lines) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (fields.size() >= 3 && QString::fromLatin1(fields.at(2)) == instanceDotClass)
                return fields.at(0).toUInt(nullptr, 16);
        }
        return std::nullopt;
    }

    int windowCount() const
    {
        const QByteArray out = run(QStringLiteral("wmctrl"), {QStringLiteral("-l")});
        return int(out.count('\n'));
    }

    /// The outer frame of a client window (decorations included), read with xwininfo and
    /// xprop; none when the window is gone.
    std::optional<QRect> frame(quint32 window) const
    {
        const QString id = QStringLiteral("0x%1").arg(window, 0, 16);
        const QString info = QString::fromLatin1(run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id}));
        const auto field = [&](const char *name) -> std::optional<int> {
            const QRegularExpression re(QLatin1StringView(name) + QStringLiteral(":\\s+(-?\\d+)"));
            const auto match = re.match(info);
            return match.hasMatch() ? std::optional(match.captured(1).toInt()) : std::nullopt;
        };
        const auto x = field("Absolute upper-left X");
        const auto y = field("Absolute upper-left Y");
        const auto w = field("Width");
        const auto h = field("Height");
        if (!x || !y || !w || !h)
            return std::nullopt;
        const QString extents = QString::fromLatin1(
            run(QStringLiteral("xprop"), {QStringLiteral("-id"), id, QStringLiteral("_NET_FRAME_EXTENTS")}));
        int left = 0, right = 0, top = 0, bottom = 0;
        const auto match = QRegularExpression(QStringLiteral("= (\\d+), (\\d+), (\\d+), (\\d+)")).match(extents);
        if (match.hasMatch()) {
            left = match.captured(1).toInt();
            right = match.captured(2).toInt();
            top = match.captured(3).toInt();
            bottom = match.captured(4).toInt();
        }
        return QRect(*x - left, *y - top, *w + left + right, *h + top + bottom);
    }

    QByteArray property(quint32 window, const char *name) const
    {
        return run(QStringLiteral("xprop"),
            {QStringLiteral("-id"), QStringLiteral("0x%1").arg(window, 0, 16), QLatin1StringView(name)});
    }

private:
    bool startServer(QSize size)
    {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) {
            m_error = QStringLiteral("no pipe for -displayfd");
            return false;
        }
        const int writeEnd = fds[1];
        m_xvfb = std::make_unique<QProcess>();
        m_xvfb->setProgram(QStringLiteral("Xvfb"));
        m_xvfb->setArguments({QStringLiteral("-displayfd"), QString::number(writeEnd), QStringLiteral("-nolisten"),
            QStringLiteral("tcp"), QStringLiteral("-noreset"), QStringLiteral("-auth"), authority(),
            QStringLiteral("-screen"), QStringLiteral("0"),
            QStringLiteral("%1x%2x24").arg(size.width()).arg(size.height())});
        // Hand the pipe's write end to Xvfb only; it writes the display number there.
        m_xvfb->setChildProcessModifier([writeEnd] {
            dieWithTheTest();
            ::fcntl(writeEnd, F_SETFD, 0);
        });
        m_xvfb->setStandardOutputFile(QProcess::nullDevice());
        m_xvfb->setStandardErrorFile(QProcess::nullDevice());
        m_xvfb->start();
        ::close(writeEnd);
        QByteArray number;
        pollfd pfd{fds[0], POLLIN, 0};
        QElapsedTimer timer;
        timer.start();
        while (!number.endsWith('\n') && timer.elapsed() < 10000) {
            if (::poll(&pfd, 1, 200) > 0) {
                char buffer[32];
                const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
                if (n <= 0)
                    break;
                number.append(buffer, n);
            }
        }
        ::close(fds[0]);
        bool isNumber = false;
        number.trimmed().toUInt(&isNumber);
        if (!isNumber) {
            m_error = QStringLiteral("Xvfb did not start");
            return false;
        }
        m_display = ':' + number.trimmed();
        return true;
    }

    bool startWindowManager()
    {
        m_openbox = std::make_unique<QProcess>();
        m_openbox->setProcessEnvironment(environment());
        m_openbox->setProgram(QStringLiteral("openbox"));
        m_openbox->setArguments({QStringLiteral("--sm-disable")});
        m_openbox->setChildProcessModifier(dieWithTheTest);
        m_openbox->setStandardOutputFile(QProcess::nullDevice());
        m_openbox->setStandardErrorFile(QProcess::nullDevice());
        m_openbox->start();
        // openbox is ready once it names itself on the root window.
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 10000) {
            if (run(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")})
                    .contains("window id"))
                return true;
            QThread::msleep(50);
        }
        m_error = QStringLiteral("openbox did not start");
        return false;
    }

    /// Between fork and exec: a test that crashes or aborts takes its X server along.
    static void dieWithTheTest() { ::prctl(PR_SET_PDEATHSIG, SIGKILL); }

    QTemporaryDir m_auth;
    std::unique_ptr<QProcess> m_xvfb;
    std::unique_ptr<QProcess> m_openbox;
    std::vector<std::unique_ptr<QProcess>> m_clients;
    QByteArray m_display;
    QString m_error;
    bool m_ok = false;
};

} // namespace halvic::testing
