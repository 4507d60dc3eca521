#pragma once

#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <memory>
#include <optional>
#include <sys/prctl.h>
#include <vector>

#include "EngineRoot.h"
#include "X11Session.h"

namespace halvic::testing {

/// A private desktop for end-to-end tests of the real HUD binary: the X session (Xvfb on a
/// free display and openbox), a session bus with the accessibility bus, and the HUD itself
/// running a scripted engine from its own root. Everything started here is stopped when the
/// session ends.
class HudSession
{
public:
    static constexpr QSize screenSize{1440, 900};

    HudSession()
        : HudSession(std::make_unique<X11Session>(screenSize))
    {
    }
    /// The same on two displays (Xorg's dummy driver; see X11Session::TwoDisplays).
    explicit HudSession(X11Session::TwoDisplays two)
        : HudSession(std::make_unique<X11Session>(two))
    {
    }

    explicit HudSession(std::unique_ptr<X11Session> x)
        : m_xOwner(std::move(x))
        , m_x(*m_xOwner)
        , m_root(readAll(
              qEnvironmentVariable("HALVIC_SOURCE_DIR") + QStringLiteral("/tests/support/engines/hud_engine.py")))
    {
        for (const char *tool : {"xdotool", "xprop", "xwininfo", "dbus-launch"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
                m_error = QStringLiteral("%1 is not installed").arg(QLatin1StringView(tool));
                return;
            }
        }
        if (!m_x.ok()) {
            m_error = m_x.error();
            return;
        }
        m_ok = startBuses();
    }

    ~HudSession()
    {
        stopHud();
        m_x.stopClients();
        if (m_busPid > 0)
            ::kill(pid_t(m_busPid), SIGTERM);
    }

    HudSession(const HudSession &) = delete;
    HudSession &operator=(const HudSession &) = delete;

    bool ok() const { return m_ok; }
    QString error() const { return m_error; }
    const EngineRoot &root() const { return m_root; }
    /// The X session, for ordinary clients beside the HUD.
    X11Session &x() { return m_x; }
    QProcess *hud() const { return m_hud.get(); }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = m_x.environment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
        env.insert(QStringLiteral("NO_AT_BRIDGE"), QStringLiteral("0"));
        for (auto it = m_busVariables.begin(); it != m_busVariables.end(); ++it)
            env.insert(it.key(), it.value());
        env.insert(QStringLiteral("TARVEL_VOICE_DIR"), m_root.path());
        // Settings (the HUD's corners) stay inside the test's own root.
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_root.file(QStringLiteral("config")));
        // The HUD in English, the texts the tests read, whatever language the machine has.
        for (const char *name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"})
            env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
        for (auto it = m_extraVariables.begin(); it != m_extraVariables.end(); ++it)
            env.insert(it.key(), it.value());
        return env;
    }

    /// A variable for the HUD (and the tools run in the session) from the next start on.
    void setEnvironmentVariable(const QString &name, const QString &value) { m_extraVariables.insert(name, value); }

    /// Starts the HUD binary; true once its panel is mapped.
    bool startHud()
    {
        m_hud = std::make_unique<QProcess>();
        m_hud->setProcessEnvironment(environment());
        m_hud->setProcessChannelMode(QProcess::ForwardedChannels);
        m_hud->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
        m_hud->start(qEnvironmentVariable("HALVIC_BINARY_DIR") + QStringLiteral("/src/app/halvic-hud"), {});
        if (!m_hud->waitForStarted(5000))
            return false;
        return waitFor([this] { return hudWindow().has_value(); }, 10000);
    }

    /// Stops the HUD binary (and with it its engine), as quitting would.
    void stopHud()
    {
        if (m_hud)
            stopProcess(*m_hud);
        m_hud.reset();
    }

    /// The HUD panel's X window, once mapped.
    std::optional<QString> hudWindow() const
    {
        const QStringList ids
            = QString::fromLatin1(run(QStringLiteral("xdotool"),
                                      {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                          QStringLiteral("--classname"), QStringLiteral("halvic-hud")}))
                  .split(u'\n', Qt::SkipEmptyParts);
        if (ids.isEmpty())
            return std::nullopt;
        return ids.front();
    }

    /// The HUD panel's geometry on screen.
    std::optional<QRect> hudGeometry() const
    {
        const auto window = hudWindow();
        if (!window)
            return std::nullopt;
        const QString info = QString::fromLatin1(run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), *window}));
        const auto field = [&](const char *name) {
            return QRegularExpression(QLatin1StringView(name) + QStringLiteral(":\\s+(-?\\d+)"))
                .match(info)
                .captured(1)
                .toInt();
        };
        return QRect(field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"), field("Height"));
    }

    /// The HUD's frame once `condition` holds of it (or the last one seen when time ran out).
    QRect waitForHudGeometry(const std::function<bool(const QRect &)> &condition, int timeoutMs = 8000) const
    {
        QRect frame;
        waitFor([&] { return condition(frame = hudGeometry().value_or(QRect())); }, timeoutMs);
        return frame;
    }

    /// Drags the HUD at `frame` by its header's background to `drop` with the real pointer,
    /// in steps, and lets go.
    void dragHud(const QRect &frame, QPoint drop) const
    {
        const QPoint grab(frame.x() + frame.width() / 2, frame.y() + 14);
        xdotool({QStringLiteral("mousemove"), QString::number(grab.x()), QString::number(grab.y()),
            QStringLiteral("mousedown"), QStringLiteral("1")});
        // A first short move starts the window manager's move; it follows the pointer from there.
        xdotool({QStringLiteral("mousemove"), QString::number(grab.x() - 20), QString::number(grab.y() - 20)});
        QTest::qWait(300);
        for (int step = 1; step <= 10; ++step) {
            const QPoint at = grab + (drop - grab) * step / 10;
            xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y())});
            QTest::qWait(30);
        }
        QTest::qWait(200);
        xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
    }

    QString property(const QString &name) const
    {
        const auto window = hudWindow();
        return window ? QString::fromLatin1(run(QStringLiteral("xprop"), {QStringLiteral("-id"), *window, name}))
                      : QString();
    }

    /// Sends engine events through the scripted engine.
    void feed(const QList<QJsonObject> &events) const
    {
        QFile file(m_root.file(QStringLiteral("feed.jsonl")));
        QVERIFY(file.open(QIODevice::Append));
        for (const QJsonObject &event : events)
            file.write(QJsonDocument(event).toJson(QJsonDocument::Compact) + '\n');
    }

    /// Where the accessible object named `name` is on screen (over AT-SPI).
    std::optional<QRect> find(const QString &name, const QString &role = {}) const
    {
        QStringList arguments{
            qEnvironmentVariable("HALVIC_SOURCE_DIR") + QStringLiteral("/tests/support/atspi_find.py"), name};
        if (!role.isEmpty())
            arguments << role;
        const QStringList numbers
            = QString::fromUtf8(run(QStringLiteral("/usr/bin/python3"), arguments)).split(u' ', Qt::SkipEmptyParts);
        if (numbers.size() != 4)
            return std::nullopt;
        return QRect(numbers[0].toInt(), numbers[1].toInt(), numbers[2].toInt(), numbers[3].toInt());
    }

    /// "role<TAB>name" of every object of the HUD that is showing, as a screen reader reads it.
    QStringList accessibleObjects() const
    {
        return QString::fromUtf8(
            run(QStringLiteral("/usr/bin/python3"),
                {qEnvironmentVariable("HALVIC_SOURCE_DIR") + QStringLiteral("/tests/support/atspi_find.py"),
                    QStringLiteral("--list")}))
            .split(u'\n', Qt::SkipEmptyParts);
    }

    /// Waits until a screen reader reads every one of `expected` ("role<TAB>name"), or, with
    /// `present` false, none of them. On a timeout what it did read goes to the test's log.
    bool waitToRead(const QStringList &expected, bool present = true, int timeoutMs = 10000) const
    {
        QStringList objects;
        const bool ok = waitFor(
            [&] {
                objects = accessibleObjects();
                return std::all_of(expected.begin(), expected.end(),
                    [&](const QString &object) { return objects.contains(object) == present; });
            },
            timeoutMs);
        if (!ok)
            qWarning().noquote() << "read instead:\n" + objects.join(u'\n');
        return ok;
    }

    /// Starts the HUD and waits until it listens, its engine up.
    bool startHudListening() { return startHud() && waitToFind(QStringLiteral("listening\u2026")).has_value(); }

    std::optional<QRect> waitToFind(const QString &name, const QString &role = {}, int timeoutMs = 10000) const
    {
        std::optional<QRect> found;
        waitFor([&] { return (found = find(name, role)).has_value(); }, timeoutMs);
        return found;
    }

    /// Chooses the entry named `title` of the HUD's "More" menu, found on the accessibility bus.
    bool chooseFromMoreMenu(const QString &title) const
    {
        const auto entry = openMenu(QStringLiteral("More"), title);
        if (entry)
            click(*entry);
        return entry.has_value();
    }

    /// Clicks the button named `button` until its menu shows the entry named `entry`, whose
    /// place it returns. A click that missed (the HUD still settling in place) is tried again.
    std::optional<QRect> openMenu(const QString &button, const QString &entry) const
    {
        for (int attempt = 0; attempt < 3; ++attempt) {
            const auto at = waitToFind(button, QStringLiteral("push button"));
            if (!at)
                return std::nullopt;
            click(*at);
            if (const auto item = waitToFind(entry, QStringLiteral("menu item"), 4000))
                return item;
        }
        qWarning().noquote() << "read instead:\n" + accessibleObjects().join(u'\n');
        return std::nullopt;
    }

    /// Clicks the middle of `rect` with the real pointer.
    void click(const QRect &rect) const
    {
        const QPoint centre = rect.center();
        run(QStringLiteral("xdotool"),
            {QStringLiteral("mousemove"), QString::number(centre.x()), QString::number(centre.y()),
                QStringLiteral("click"), QStringLiteral("1")});
    }

    void xdotool(const QStringList &arguments) const { run(QStringLiteral("xdotool"), arguments); }

    /// Runs a short tool in the session and returns its standard output.
    QByteArray run(const QString &program, const QStringList &arguments) const
    {
        return runTool(environment(), program, arguments);
    }

    /// Polls `condition` (with the event loop running) until it holds or time runs out.
    static bool waitFor(const std::function<bool()> &condition, int timeoutMs)
    {
        QElapsedTimer timer;
        timer.start();
        while (!condition()) {
            if (timer.elapsed() > timeoutMs)
                return false;
            QTest::qWait(50);
        }
        return true;
    }

private:
    bool startBuses()
    {
        const QString out = QString::fromLatin1(run(QStringLiteral("dbus-launch"), {}));
        for (const QString &line : out.split(u'\n', Qt::SkipEmptyParts)) {
            const QString key = line.section(u'=', 0, 0);
            const QString value = line.section(u'=', 1);
            if (key == u"DBUS_SESSION_BUS_PID")
                m_busPid = value.toLongLong();
            else if (!key.isEmpty())
                m_busVariables.insert(key, value);
        }
        if (m_busPid <= 0) {
            m_error = QStringLiteral("dbus-launch did not start a session bus");
            return false;
        }
        const QString launcher = QStringLiteral("/usr/libexec/at-spi-bus-launcher");
        if (QFile::exists(launcher))
            m_x.startClient(launcher, {QStringLiteral("--launch-immediately")}, environment());
        return true;
    }

    std::unique_ptr<X11Session> m_xOwner;
    X11Session &m_x;
    EngineRoot m_root;
    bool m_ok = false;
    QString m_error;
    QHash<QString, QString> m_extraVariables;
    QHash<QString, QString> m_busVariables;
    qint64 m_busPid = 0;
    std::unique_ptr<QProcess> m_hud;
};

inline QJsonObject engineEvent(const char *type, QJsonObject payload = {})
{
    payload.insert(QStringLiteral("type"), QString::fromLatin1(type));
    return payload;
}

} // namespace halvic::testing
