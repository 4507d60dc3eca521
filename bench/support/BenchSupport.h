#pragma once

// What the benchmarks that run the real HUD share: medians, the memory and CPU of processes
// read from /proc, a connection to the X display to see windows mapped, and starting and
// stopping programs.

#include <QDir>
#include <QFile>
#include <QProcess>

#include <xcb/xcb.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>
#include <unordered_set>
#include <vector>

namespace bench {

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0 : (n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2);
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline qint64 parentOf(qint64 pid)
{
    const QByteArray stat = readFile(QStringLiteral("/proc/%1/stat").arg(pid));
    const qsizetype close = stat.lastIndexOf(')');
    return close < 0 ? -1 : stat.mid(close + 2).split(' ').value(1).toLongLong();
}

/// `pid` and, when asked, all its descendants.
inline std::vector<qint64> processTree(qint64 pid, bool withDescendants)
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

inline Memory memoryOf(const std::vector<qint64> &pids)
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

/// The memory `pids` hold together, each physical page counted once however many of them map
/// it: what the group as a whole takes from the machine, whatever else runs beside it (PSS
/// depends on that). Reads page frame numbers from /proc/PID/pagemap, which needs root; 0
/// without it.
inline double footprintMiB(const std::vector<qint64> &pids)
{
    std::unordered_set<uint64_t> frames;
    const long pageSize = sysconf(_SC_PAGESIZE);
    for (const qint64 pid : pids) {
        const int pagemap = ::open(QStringLiteral("/proc/%1/pagemap").arg(pid).toLocal8Bit().constData(), O_RDONLY);
        if (pagemap < 0)
            continue;
        // Only mappings with resident pages: the web engine reserves terabytes it never touches.
        const QList<QByteArray> lines = readFile(QStringLiteral("/proc/%1/smaps").arg(pid)).split('\n');
        uint64_t start = 0, end = 0;
        std::vector<uint64_t> entries;
        for (const QByteArray &line : lines) {
            if (!line.isEmpty() && std::isxdigit(static_cast<unsigned char>(line[0])) && line.contains('-')) {
                const QList<QByteArray> range = line.left(line.indexOf(' ')).split('-');
                start = range.value(0).toULongLong(nullptr, 16);
                end = range.value(1).toULongLong(nullptr, 16);
                continue;
            }
            if (!line.startsWith("Rss:") || line.simplified().split(' ').value(1).toLongLong() == 0)
                continue;
            entries.resize((end - start) / uint64_t(pageSize));
            const auto bytes = qsizetype(entries.size() * sizeof(uint64_t));
            if (::pread(pagemap, entries.data(), size_t(bytes), off_t(start / uint64_t(pageSize) * 8)) != bytes)
                continue;
            for (const uint64_t entry : entries) {
                // Bit 63: present; bits 0-54: the frame number (0 without root).
                const uint64_t frame = entry & ((uint64_t(1) << 55) - 1);
                if ((entry >> 63) && frame != 0)
                    frames.insert(frame);
            }
        }
        ::close(pagemap);
    }
    return double(frames.size()) * double(pageSize) / (1024.0 * 1024.0);
}

inline double cpuSecondsOf(qint64 pid)
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

    /// How many pixels of the screen rectangle have exactly the colour `rgb` (0xRRGGBB).
    int countColour(int x, int y, int width, int height, uint32_t rgb) const
    {
        auto *reply = xcb_get_image_reply(m_connection,
            xcb_get_image(m_connection, XCB_IMAGE_FORMAT_Z_PIXMAP, m_root, int16_t(x), int16_t(y), uint16_t(width),
                uint16_t(height), ~0u),
            nullptr);
        int count = 0;
        if (reply && reply->depth == 24) {
            const auto *pixels = reinterpret_cast<const uint32_t *>(xcb_get_image_data(reply));
            const int n = xcb_get_image_data_length(reply) / 4;
            for (int i = 0; i < n; ++i)
                count += (pixels[i] & 0xffffff) == rgb;
        }
        std::free(reply);
        return count;
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

/// Starts `program` with `arguments` in `env`, its output discarded; it dies with us.
inline std::unique_ptr<QProcess> startProgram(
    const QString &program, const QStringList &arguments, const QProcessEnvironment &env)
{
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(env);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    process->start(program, arguments);
    return process;
}

inline void stop(QProcess &process)
{
    process.terminate();
    if (!process.waitForFinished(8000)) {
        process.kill();
        process.waitForFinished(2000);
    }
}

/// The short name of process `pid` ("python3", "QtWebEngineProc", …).
inline QByteArray commandOf(qint64 pid)
{
    return readFile(QStringLiteral("/proc/%1/comm").arg(pid)).trimmed();
}

/// A private X display (Xvfb, 1440 × 900) with openbox, for as long as this object lives.
class XSession
{
public:
    XSession()
    {
        m_xvfb.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
        m_xvfb.start(QStringLiteral("Xvfb"),
            {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
                QStringLiteral("1440x900x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        if (!m_xvfb.waitForReadyRead(10000))
            return;
        m_name = ":" + m_xvfb.readLine().trimmed();
        m_env = QProcessEnvironment::systemEnvironment();
        m_env.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(m_name));
        m_env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        // No session bus: nothing is started on the programs' behalf.
        m_env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=/nonexistent"));
        m_openbox = startProgram(QStringLiteral("openbox"), {}, m_env);
        ::sleep(1);
    }
    ~XSession()
    {
        if (m_openbox)
            stop(*m_openbox);
        stop(m_xvfb);
    }

    bool ok() const { return !m_name.isEmpty(); }
    const QByteArray &name() const { return m_name; }
    /// The environment of programs on this display.
    QProcessEnvironment &env() { return m_env; }

private:
    QProcess m_xvfb;
    std::unique_ptr<QProcess> m_openbox;
    QByteArray m_name;
    QProcessEnvironment m_env;
};

/// Makes `root` an engine root whose engine is `script` (run by the system's Python), and
/// points the HUD at it in `env`.
inline void useScriptedEngine(const QString &root, const QString &script, QProcessEnvironment &env)
{
    QDir(root).mkpath(QStringLiteral(".venv/bin"));
    QFile::link(QStringLiteral("/usr/bin/python3"), root + QStringLiteral("/.venv/bin/python"));
    QFile::copy(script, root + QStringLiteral("/main.py"));
    env.insert(QStringLiteral("TARVEL_VOICE_DIR"), root);
}

} // namespace bench
