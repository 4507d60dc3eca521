#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

#include "WaylandSession.h"

namespace halvic::testing {

/// A private headless GNOME Shell (one 1920×1080 virtual monitor, XWayland started at once)
/// for one test program, as root (it runs as root), with the HUD's extension (GNOME 43's build, from the build
/// tree) installed and enabled. The extension lets in the build tree's HUD, this test program
/// and `callers`. A session mode of the tests' own keeps the overview, which a new session
/// opens and which takes the pointer, closed.
class GnomeSession final : public WaylandSession
{
public:
    static constexpr const char *socketName = "gnome-halvic";
    static constexpr const char *uuid = HALVIC_GNOME_UUID_43;

    /// Why GNOME Shell cannot run here at all (a test skips then); empty when it can.
    static QString unavailable() { return missing({"gnome-shell", "Xwayland", "dbus-daemon", "gdbus"}); }

    /// Starts the buses and the Shell; check ok() and error() afterwards.
    explicit GnomeSession(const QStringList &callers = {})
    {
        if (const QString why = unavailable(); !why.isEmpty())
            fail(why);
        else if (prepareFolders() && prepareX11Sockets() && prepareData(callers) && startBus(false) && startSystemBus())
            startShell();
        ownProcessesStarted();
    }

    /// Calls the extension's `method` from this process: the reply (an error one included).
    QDBusMessage call(const QString &method, const QVariantList &arguments = {}) const
    {
        QDBusMessage call
            = QDBusMessage::createMethodCall("org.gnome.Shell", HALVIC_GNOME_PATH, HALVIC_GNOME_INTERFACE, method);
        call.setArguments(arguments);
        return bus().call(call, QDBus::Block, 5000);
    }

    /// The extension's list of windows (see the extension for the keys).
    QJsonArray windows() const
    {
        return QJsonDocument::fromJson(call("List").arguments().value(0).toString().toUtf8()).array();
    }

    /// The first window titled `title`; an empty object when there is none.
    QJsonObject window(const QString &title) const
    {
        const QJsonArray all = windows();
        const auto found
            = std::ranges::find_if(all, [&](const QJsonValue &w) { return w[u"title"].toString() == title; });
        return found == all.end() ? QJsonObject() : found->toObject();
    }

    static QRect frameOf(const QJsonObject &w)
    {
        const QJsonObject f = w[u"frame"].toObject();
        return {f[u"x"].toInt(), f[u"y"].toInt(), f[u"width"].toInt(), f[u"height"].toInt()};
    }

    /// Turns the extension on or off as `gnome-extensions` would.
    bool setEnabled(bool on) const
    {
        QDBusMessage call = QDBusMessage::createMethodCall("org.gnome.Shell", "/org/gnome/Shell",
            "org.gnome.Shell.Extensions", on ? "EnableExtension" : "DisableExtension");
        call.setArguments({QString::fromLatin1(uuid)});
        return bus().call(call, QDBus::Block, 5000).type() == QDBusMessage::ReplyMessage;
    }

private:
    QDBusConnection bus() const { return QDBusConnection::connectToBus(busAddress(), "gnome-session-test"); }

    bool prepareData(QStringList callers)
    {
        const QString data = folder("data");
        addEnvironment("XDG_DATA_DIRS", data + ":/usr/share");
        addEnvironment("XDG_CONFIG_HOME", folder("config"));
        addEnvironment("GSETTINGS_BACKEND", "keyfile");
        const QString built = qEnvironmentVariable("HALVIC_BINARY_DIR") + "/data/gnome-shell/extensions/" + uuid;
        const QString installed = data + "/gnome-shell/extensions/" + uuid;
        QFile script(built + "/extension.js");
        QFile metadataFile(built + "/metadata.json");
        if (!script.open(QIODevice::ReadOnly) || !metadataFile.open(QIODevice::ReadOnly))
            return fail("the extension is not built in " + built);
        QJsonObject metadata = QJsonDocument::fromJson(metadataFile.readAll()).object();
        callers << metadata[u"halvic-callers"].toVariant().toStringList()
                << QFileInfo("/proc/self/exe").canonicalFilePath();
        metadata[u"halvic-callers"] = QJsonArray::fromStringList(callers);
        return writeFile(installed + "/extension.js", script.readAll())
            && writeFile(installed + "/metadata.json", QJsonDocument(metadata).toJson())
            && writeFile(
                data + "/gnome-shell/modes/halvic-test.json", R"({"parentMode": "user", "hasOverview": false})")
            && writeFile(folder("config/glib-2.0/settings/keyfile"),
                QStringLiteral("[org/gnome/shell]\nenabled-extensions=['%1']\n").arg(QLatin1StringView(uuid)).toUtf8());
    }

    /// Where systemd-logind would be, the Shell asks the system bus about the session: it gets
    /// one of its own, with nobody on it.
    bool startSystemBus()
    {
        if (!QFileInfo::exists("/run/systemd/seats"))
            return true;
        const QString path = runtimeDir() + "/system_bus";
        start("dbus-daemon", {"--session", "--nofork", "--nopidfile", "--address=unix:path=" + path}, {}, false);
        addEnvironment("DBUS_SYSTEM_BUS_ADDRESS", "unix:path=" + path);
        return waitFor([&] { return QFile::exists(path); }) || fail("the system bus did not start");
    }

    bool startShell()
    {
        const QString log = folder("gnome-shell.log");
        start("gnome-shell",
            {"--headless", "--wayland", "--virtual-monitor",
                QStringLiteral("%1x%2").arg(outputSize.width()).arg(outputSize.height()), "--wayland-display",
                socketName, "--mode=halvic-test"},
            {}, false, log);
        // XWayland's display is in the Shell's log, its cookie in the runtime folder.
        QFile file(log);
        QString display;
        const bool started = file.open(QIODevice::ReadOnly)
            && waitFor(
                [&] {
                    const QString text = QString::fromLocal8Bit(file.readAll());
                    if (display.isEmpty())
                        display = text.section(QStringLiteral("Using public X11 display "), 1).section(u',', 0, 0);
                    return call("Version").type() == QDBusMessage::ReplyMessage && !display.isEmpty();
                },
                60000);
        const QStringList cookies
            = QDir(runtimeDir()).entryList({".mutter-Xwaylandauth.*"}, QDir::Hidden | QDir::Files);
        if (!started || cookies.isEmpty()) {
            file.seek(0);
            return fail("GNOME Shell did not start with the extension; its log:\n"
                + QString::fromLocal8Bit(file.readAll().right(4000)));
        }
        addEnvironment("DISPLAY", display);
        addEnvironment("XAUTHORITY", runtimeDir() + u'/' + cookies.first());
        addEnvironment("WAYLAND_DISPLAY", QString::fromLatin1(socketName));
        return true;
    }
};

} // namespace halvic::testing
