// Start-up time, memory and idle CPU of the HUD, measured side by side in one run with a
// web-technology overlay (Chromium in app mode showing a static page of the same layout).
//
// Start-up: from launching the program to its window being mapped (viewable) on a private
// Xvfb + openbox display. Memory: resident (RSS) and proportional (PSS) set of the program's
// processes after 5 s idle; for the HUD, the HUD process alone (its engine is a separate
// program the overlay would need too). CPU: the HUD over 30 s with the engine idle, over 20 s
// while the engine is "speaking" (the orb pulses) and over 20 s "thinking" with two agent
// chips (their spinners turn). Also prints which Qt Quick scene graph the HUD chose.
// Prints medians of several alternating runs and the ratios.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int runs = 5;
constexpr int idleSeconds = 5;
constexpr int cpuSeconds = 30;
constexpr int animatedSeconds = 20;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0 : (n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

qint64 parentOf(qint64 pid)
{
    const QByteArray stat = readFile(QStringLiteral("/proc/%1/stat").arg(pid));
    const qsizetype close = stat.lastIndexOf(')');
    return close < 0 ? -1 : stat.mid(close + 2).split(' ').value(1).toLongLong();
}

/// `pid` and, when asked, all its descendants.
std::vector<qint64> processTree(qint64 pid, bool withDescendants)
{
    std::vector<qint64> tree{pid};
    if (!withDescendants)
        return tree;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    bool grew = true;
    while (grew) {
        grew = false;
        for (const QString &entry : entries) {
            bool ok = false;
            const qint64 candidate = entry.toLongLong(&ok);
            if (!ok || std::find(tree.begin(), tree.end(), candidate) != tree.end())
                continue;
            if (std::find(tree.begin(), tree.end(), parentOf(candidate)) != tree.end()) {
                tree.push_back(candidate);
                grew = true;
            }
        }
    }
    return tree;
}

struct Memory
{
    double rssMiB = 0;
    double pssMiB = 0;
};

Memory memoryOf(const std::vector<qint64> &pids)
{
    Memory total;
    for (const qint64 pid : pids) {
        const QList<QByteArray> lines = readFile(QStringLiteral("/proc/%1/smaps_rollup").arg(pid)).split('\n');
        for (const QByteArray &line : lines) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (fields.size() < 2)
                continue;
            if (fields[0] == "Rss:")
                total.rssMiB += fields[1].toDouble() / 1024;
            else if (fields[0] == "Pss:")
                total.pssMiB += fields[1].toDouble() / 1024;
        }
    }
    return total;
}

double cpuSecondsOf(qint64 pid)
{
    const QByteArray stat = readFile(QStringLiteral("/proc/%1/stat").arg(pid));
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    // utime and stime are fields 14 and 15 of the whole line.
    return (fields.value(11).toDouble() + fields.value(12).toDouble()) / double(sysconf(_SC_CLK_TCK));
}

class Display
{
public:
    explicit Display(const QByteArray &name)
        : m_connection(xcb_connect(name.constData(), nullptr))
    {
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        m_clientList = atom("_NET_CLIENT_LIST");
        m_pidAtom = atom("_NET_WM_PID");
    }
    ~Display() { xcb_disconnect(m_connection); }

    bool ok() const { return !xcb_connection_has_error(m_connection); }

    /// Whether a managed window of process `pid` is viewable.
    bool mapped(qint64 pid) const
    {
        for (const xcb_window_t window : cardinals<xcb_window_t>(m_root, m_clientList, XCB_ATOM_WINDOW)) {
            const auto pids = cardinals<uint32_t>(window, m_pidAtom, XCB_ATOM_CARDINAL);
            if (pids.empty() || pids.front() != pid)
                continue;
            auto *attributes = xcb_get_window_attributes_reply(
                m_connection, xcb_get_window_attributes(m_connection, window), nullptr);
            const bool viewable = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
            std::free(attributes);
            if (viewable)
                return true;
        }
        return false;
    }

private:
    xcb_atom_t atom(const char *name) const
    {
        auto *reply = xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, uint16_t(strlen(name)), name), nullptr);
        const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return result;
    }

    template <typename T>
    std::vector<T> cardinals(xcb_window_t window, xcb_atom_t property, xcb_atom_t type) const
    {
        auto *reply = xcb_get_property_reply(
            m_connection, xcb_get_property(m_connection, 0, window, property, type, 0, 4096), nullptr);
        std::vector<T> values;
        if (reply && reply->format == 32) {
            const auto *data = static_cast<const T *>(xcb_get_property_value(reply));
            values.assign(data, data + xcb_get_property_value_length(reply) / 4);
        }
        std::free(reply);
        return values;
    }

    xcb_connection_t *m_connection;
    xcb_window_t m_root = 0;
    xcb_atom_t m_clientList = 0;
    xcb_atom_t m_pidAtom = 0;
};

struct Launch
{
    QString program;
    QStringList arguments;
    bool countDescendants;
};

struct Sample
{
    double startupMs = 0;
    Memory memory;
};

std::unique_ptr<QProcess> start(const Launch &launch, const QProcessEnvironment &env)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(env);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    process->start(launch.program, launch.arguments);
    return process;
}

void stop(QProcess &process)
{
    process.terminate();
    if (!process.waitForFinished(8000)) {
        process.kill();
        process.waitForFinished(2000);
    }
}

std::optional<Sample> measure(const Launch &launch, const QProcessEnvironment &env, const Display &display)
{
    QElapsedTimer clock;
    clock.start();
    const auto process = start(launch, env);
    if (!process->waitForStarted(5000))
        return std::nullopt;
    const qint64 pid = process->processId();
    while (!display.mapped(pid)) {
        if (clock.elapsed() > 30000 || process->state() == QProcess::NotRunning) {
            stop(*process);
            return std::nullopt;
        }
        QThread::usleep(1000);
    }
    Sample sample;
    sample.startupMs = double(clock.nsecsElapsed()) / 1e6;
    QThread::sleep(idleSeconds);
    sample.memory = memoryOf(processTree(pid, launch.countDescendants));
    stop(*process);
    return sample;
}

void appendLines(const QString &path, const QList<QByteArray> &lines)
{
    QFile file(path);
    if (!file.open(QIODevice::Append))
        return;
    for (const QByteArray &line : lines)
        file.write(line + '\n');
}

/// CPU of the HUD (percent of one core) over `seconds` after the engine printed `events`.
double cpuWhile(const Launch &hud, const QProcessEnvironment &env, const QString &feed, const QList<QByteArray> &events,
    int seconds)
{
    QFile::remove(feed);
    const auto process = start(hud, env);
    process->waitForStarted(5000);
    QThread::sleep(idleSeconds);
    appendLines(feed, events);
    QThread::sleep(2);
    const double before = cpuSecondsOf(process->processId());
    QThread::sleep(seconds);
    const double percent = (cpuSecondsOf(process->processId()) - before) / seconds * 100;
    stop(*process);
    return percent;
}

/// The scene graph the HUD says it chose (its debug line on standard error).
QString sceneGraphOf(const Launch &hud, QProcessEnvironment env)
{
    env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("halvic.app.debug=true"));
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    process.start(hud.program, hud.arguments);
    process.waitForStarted(5000);
    QString choice = QStringLiteral("unknown");
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 10000 && choice == QStringLiteral("unknown")) {
        process.waitForReadyRead(200);
        const QString err = QString::fromUtf8(process.readAllStandardError());
        const qsizetype at = err.indexOf(QStringLiteral("scene graph: "));
        if (at >= 0)
            choice = err.mid(at + 13).section(u'\n', 0, 0).trimmed();
    }
    stop(process);
    return choice;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString chromium = QStandardPaths::findExecutable(QStringLiteral("chromium"));
    if (chromium.isEmpty()) {
        std::fprintf(stderr, "chromium is not installed (scripts/packages.txt lists it)\n");
        return 1;
    }

    QProcess xvfb;
    xvfb.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    xvfb.start(QStringLiteral("Xvfb"),
        {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
            QStringLiteral("1440x900x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    if (!xvfb.waitForReadyRead(10000)) {
        std::fprintf(stderr, "Xvfb did not start\n");
        return 1;
    }
    const QByteArray displayName = ":" + xvfb.readLine().trimmed();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(displayName));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    // Neither program gets a session bus: nothing is started on their behalf.
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=/nonexistent"));
    QProcess openbox;
    openbox.setProcessEnvironment(env);
    openbox.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    openbox.start(QStringLiteral("openbox"), {});
    QThread::sleep(1);

    const Display display(displayName);
    if (!display.ok()) {
        std::fprintf(stderr, "cannot connect to %s\n", displayName.constData());
        return 1;
    }

    QTemporaryDir root;
    QDir(root.path()).mkpath(QStringLiteral(".venv/bin"));
    QFile::link(QStringLiteral("/usr/bin/python3"), root.filePath(QStringLiteral(".venv/bin/python")));
    QFile::copy(QStringLiteral(HUD_ENGINE_SCRIPT), root.filePath(QStringLiteral("main.py")));
    env.insert(QStringLiteral("TARVEL_VOICE_DIR"), root.path());

    QTemporaryDir profile;
    const Launch hud{QStringLiteral(HUD_BINARY), {}, false};
    const Launch web{chromium,
        {QStringLiteral("--app=file://") + QStringLiteral(WEB_PAGE),
            QStringLiteral("--user-data-dir=") + profile.path(), QStringLiteral("--window-size=392,330"),
            QStringLiteral("--no-first-run"), QStringLiteral("--no-default-browser-check"),
            QStringLiteral("--disable-gpu"), QStringLiteral("--disable-extensions"),
            QStringLiteral("--password-store=basic"), QStringLiteral("--no-sandbox")},
        true};

    // One unmeasured start of each warms the disk cache and Chromium's profile.
    measure(hud, env, display);
    measure(web, env, display);

    std::vector<double> hudStart, webStart, hudRss, webRss, hudPss, webPss;
    for (int run = 0; run < runs; ++run) {
        for (const auto &[launch, start, rss, pss] :
            {std::tuple{&hud, &hudStart, &hudRss, &hudPss}, std::tuple{&web, &webStart, &webRss, &webPss}}) {
            const auto sample = measure(*launch, env, display);
            if (!sample) {
                std::fprintf(stderr, "%s did not map a window\n", qPrintable(launch->program));
                return 1;
            }
            start->push_back(sample->startupMs);
            rss->push_back(sample->memory.rssMiB);
            pss->push_back(sample->memory.pssMiB);
        }
    }

    // Idle CPU: the HUD with its engine idle ("ready", nothing else).
    const auto idle = start(hud, env);
    idle->waitForStarted(5000);
    QThread::sleep(idleSeconds);
    const double before = cpuSecondsOf(idle->processId());
    QThread::sleep(cpuSeconds);
    const double cpuPercent = (cpuSecondsOf(idle->processId()) - before) / cpuSeconds * 100;
    stop(*idle);

    const QString feed = root.filePath(QStringLiteral("feed.jsonl"));
    const double speakingCpu = cpuWhile(hud, env, feed, {R"({"type":"status","state":"speaking"})"}, animatedSeconds);
    const double thinkingCpu = cpuWhile(hud, env, feed,
        {R"({"type":"status","state":"thinking"})",
            R"({"type":"task_started","agent":"researcher","desc":"find flights","id":"a1"})",
            R"({"type":"task_started","agent":"coder","desc":"build the release","id":"a2"})"},
        animatedSeconds);
    const QString sceneGraph = sceneGraphOf(hud, env);

    std::printf("HUD scene graph: %s\n", qPrintable(sceneGraph));
    std::printf("runs: %d each, alternating; medians\n", runs);
    std::printf("%-28s %12s %12s\n", "", "HUD (Qt)", "web overlay");
    std::printf("%-28s %12.1f %12.1f\n", "start-up to mapped (ms)", median(hudStart), median(webStart));
    std::printf("%-28s %12.1f %12.1f\n", "RSS after 5 s idle (MiB)", median(hudRss), median(webRss));
    std::printf("%-28s %12.1f %12.1f\n", "PSS after 5 s idle (MiB)", median(hudPss), median(webPss));
    std::printf(
        "start-up ratio HUD/web: %.2f (target <= 0.5; HUD target < 400 ms)\n", median(hudStart) / median(webStart));
    std::printf("RSS ratio HUD/web: %.2f, PSS ratio HUD/web: %.2f (targets: HUD RSS <= 60 MiB, ratio <= 0.1)\n",
        median(hudRss) / median(webRss), median(hudPss) / median(webPss));
    std::printf("HUD idle CPU over %d s: %.3f%% of one core (target < 0.5%%)\n", cpuSeconds, cpuPercent);
    std::printf("HUD CPU while speaking (orb pulsing), %d s: %.2f%% of one core (target <= 3%%)\n", animatedSeconds,
        speakingCpu);
    std::printf("HUD CPU while thinking with two agent chips, %d s: %.2f%% of one core (target <= 3%%)\n",
        animatedSeconds, thinkingCpu);

    stop(openbox);
    stop(xvfb);
    return 0;
}
