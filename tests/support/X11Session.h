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
    /// Two displays side by side: DUMMY0 1400×900 at the origin, DUMMY1 1920×1080 right of
    /// it. Xvfb cannot give Qt two screens; Xorg's dummy driver can (it needs root).
    struct TwoDisplays
    {
    };
    static constexpr QRect firstDisplay{0, 0, 1400, 900};
    static constexpr QRect secondDisplay{1400, 0, 1920, 1080};

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

    /// Starts Xorg with the dummy driver, two displays, and openbox.
    explicit X11Session(TwoDisplays)
    {
        if (QStandardPaths::findExecutable(QStringLiteral("Xorg")).isEmpty()) {
            m_error = QStringLiteral("Xorg is not installed");
            return;
        }
        if (!startDummyServer() || !startWindowManager())
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

    /// Makes `output` (DUMMY0 or DUMMY1) the primary display.
    bool setPrimary(const QString &output) const
    {
        run(QStringLiteral("xrandr"), {QStringLiteral("--output"), output, QStringLiteral("--primary")});
        return run(QStringLiteral("xrandr"), {}).contains(output.toLatin1() + " connected primary");
    }

private:
    bool startServer(QSize size)
    {
        return startDisplay(QStringLiteral("Xvfb"),
            {QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-noreset"), QStringLiteral("-auth"),
                authority(), QStringLiteral("-screen"), QStringLiteral("0"),
                QStringLiteral("%1x%2x24").arg(size.width()).arg(size.height())});
    }

    bool startDummyServer()
    {
        const QString config = m_auth.filePath(QStringLiteral("xorg.conf"));
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly))
            return false;
        file.write("Section \"Device\"\n  Identifier \"dummy\"\n  Driver \"dummy\"\n  VideoRam 256000\nEndSection\n"
                   "Section \"Monitor\"\n  Identifier \"monitor\"\n  HorizSync 5.0-1000.0\n"
                   "  VertRefresh 5.0-200.0\nEndSection\n"
                   "Section \"Screen\"\n  Identifier \"screen\"\n  Device \"dummy\"\n  Monitor \"monitor\"\n"
                   "  DefaultDepth 24\n  SubSection \"Display\"\n    Depth 24\n    Virtual 3360 1080\n"
                   "  EndSubSection\nEndSection\n");
        file.close();
        if (!startDisplay(QStringLiteral("Xorg"),
                {QStringLiteral("-config"), config, QStringLiteral("-noreset"), QStringLiteral("-nolisten"),
                    QStringLiteral("tcp"), QStringLiteral("-auth"), authority(), QStringLiteral("-logfile"),
                    m_auth.filePath(QStringLiteral("xorg.log"))}))
            return false;
        const QStringList newMode{QStringLiteral("--newmode"), QStringLiteral("1920x1080_60"), QStringLiteral("173.00"),
            QStringLiteral("1920"), QStringLiteral("2048"), QStringLiteral("2248"), QStringLiteral("2576"),
            QStringLiteral("1080"), QStringLiteral("1083"), QStringLiteral("1088"), QStringLiteral("1120"),
            QStringLiteral("-hsync"), QStringLiteral("+vsync")};
        run(QStringLiteral("xrandr"), newMode);
        run(QStringLiteral("xrandr"),
            {QStringLiteral("--addmode"), QStringLiteral("DUMMY1"), QStringLiteral("1920x1080_60")});
        run(QStringLiteral("xrandr"),
            {QStringLiteral("--output"), QStringLiteral("DUMMY0"), QStringLiteral("--mode"), QStringLiteral("1400x900"),
                QStringLiteral("--primary")});
        run(QStringLiteral("xrandr"),
            {QStringLiteral("--output"), QStringLiteral("DUMMY1"), QStringLiteral("--mode"),
                QStringLiteral("1920x1080_60"), QStringLiteral("--right-of"), QStringLiteral("DUMMY0")});
        if (!run(QStringLiteral("xrandr"), {QStringLiteral("--listmonitors")}).contains("Monitors: 2")) {
            m_error = QStringLiteral("Xorg's dummy driver did not give two displays");
            return false;
        }
        return true;
    }

    /// Starts an X server that writes its display number to -displayfd.
    bool startDisplay(const QString &program, const QStringList &arguments)
    {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) {
            m_error = QStringLiteral("no pipe for -displayfd");
            return false;
        }
        const int writeEnd = fds[1];
        m_xvfb = std::make_unique<QProcess>();
        m_xvfb->setProgram(program);
        m_xvfb->setArguments(QStringList{QStringLiteral("-displayfd"), QString::number(writeEnd)} + arguments);
        // Hand the pipe's write end to the server only; it writes the display number there.
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
            m_error = program + QStringLiteral(" did not start");
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
