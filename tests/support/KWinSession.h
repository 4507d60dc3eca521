#pragma once

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "WaylandSession.h"

namespace halvic::testing {

/// A private headless KWin (Plasma's compositor: one 1920×1080 virtual output, XWayland
/// started at once) for one test program, as root. Programs named at start get a desktop
/// entry that lets KWin hand them its fake-input protocol, as the installed package's does.
/// KWin's own view of its windows comes from a query script, whose answer KWin prints.
class KWinSession final : public WaylandSession
{
public:
    static constexpr const char *socketName = "kwin-halvic";

    /// Why KWin cannot run here at all (a test skips then); empty when it can.
    static QString unavailable()
    {
        for (const char *tool : {"kwin_wayland", "Xwayland", "dbus-daemon", "kbuildsycoca5"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool), {"/usr/bin", "/usr/sbin"}).isEmpty())
                return QStringLiteral("%1 is not installed").arg(QLatin1StringView(tool));
        }
        return {};
    }

    /// Starts the bus and KWin; check ok() and error() afterwards.
    explicit KWinSession(const QStringList &fakeInputPrograms = {})
    {
        if (const QString why = unavailable(); !why.isEmpty())
            fail(why);
        else if (prepareFolders() && prepareData(fakeInputPrograms) && startBus(false))
            startKWin();
        ownProcessesStarted();
    }

    /// KWin's own list of its ordinary windows: caption, resourceClass, desktopFileName, pid,
    /// frame (x, y, width, height), keepAbove, onAllDesktops, fullScreen.
    QJsonArray windows()
    {
        const QByteArray answer = query(R"(
            const list = workspace.windowList ? workspace.windowList() : workspace.clientList();
            JSON.stringify(list.filter(w => w.normalWindow || w.dialog || w.utility).map(w => ({
                caption: w.caption, resourceClass: String(w.resourceClass), desktopFileName: w.desktopFileName,
                pid: w.pid, x: w.frameGeometry.x, y: w.frameGeometry.y, width: w.frameGeometry.width,
                height: w.frameGeometry.height, keepAbove: w.keepAbove, onAllDesktops: w.onAllDesktops,
                fullScreen: w.fullScreen})))
        )");
        return QJsonDocument::fromJson(answer).array();
    }

    /// Runs `expression` in a KWin script of its own and returns what it evaluates to (a
    /// string), as KWin prints it; empty when KWin does not answer.
    QByteArray query(const QString &expression)
    {
        const int serial = ++m_queries;
        const QString path = folder(QStringLiteral("query-%1.js").arg(serial));
        const QByteArray marker = "HALVIC-QUERY-" + QByteArray::number(serial) + ' ';
        if (!writeFile(path, "print(\"" + marker + "\" + (" + expression.toUtf8() + "));\n"))
            return {};
        QDBusConnection bus = QDBusConnection::connectToBus(busAddress(), QStringLiteral("kwin-session-test"));
        QDBusInterface scripting("org.kde.KWin", "/Scripting", "org.kde.kwin.Scripting", bus);
        const QString plugin = QStringLiteral("halvic-query-%1").arg(serial);
        const QDBusReply<int> id = scripting.call("loadScript", path, plugin);
        if (!id.isValid())
            return {};
        // Plasma 6 puts a loaded script under /Scripting, 5.27 at the root.
        for (const QString &object : {QStringLiteral("/Scripting/Script%1"), QStringLiteral("/%1")})
            QDBusInterface("org.kde.KWin", object.arg(id.value()), "org.kde.kwin.Script", bus).call("run");
        QByteArray answer;
        waitFor(
            [&] {
                const qsizetype at = m_log.indexOf(marker);
                if (at < 0 || m_log.indexOf('\n', at) < 0)
                    return false;
                const qsizetype end = m_log.indexOf('\n', at);
                answer = m_log.mid(at + marker.size(), end - at - marker.size());
                m_log.remove(0, end);
                return true;
            },
            5000);
        scripting.call("unloadScript", plugin);
        return answer;
    }

private:
    bool prepareData(const QStringList &fakeInputPrograms)
    {
        const QString data = folder("data");
        addEnvironment("XDG_DATA_DIRS", data + ":/usr/share");
        addEnvironment("XDG_CONFIG_HOME", folder("config"));
        addEnvironment("XDG_CACHE_HOME", folder("cache"));
        for (qsizetype i = 0; i < fakeInputPrograms.size(); ++i) {
            const QByteArray entry = "[Desktop Entry]\nType=Application\nName=Test program\nExec="
                + fakeInputPrograms.at(i).toUtf8() + "\nX-KDE-Wayland-Interfaces=org_kde_kwin_fake_input\n";
            if (!writeFile(QStringLiteral("%1/applications/halvic-test-%2.desktop").arg(data).arg(i), entry))
                return false;
        }
        // KWin finds desktop entries through the service cache of its environment.
        QProcess cache;
        cache.setProcessEnvironment(environment());
        cache.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        cache.start("kbuildsycoca5", {"--noincremental"});
        return (cache.waitForFinished(60000) && cache.exitCode() == 0) || fail("kbuildsycoca5 failed");
    }

    bool startKWin()
    {
        // A copy: the installed binary carries a file capability a container may not grant.
        const QString binary = folder("kwin_wayland");
        if (!QFile::copy("/usr/bin/kwin_wayland", binary))
            return fail("cannot copy kwin_wayland");
        QProcessEnvironment env;
        env.insert("KWIN_COMPOSE", "Q");
        // KWin starts the program after it (each argument a whole command line, split as a
        // shell would): it writes XWayland's display where the test reads it.
        const QString display = runtimeDir() + "/display";
        QProcess &kwin = start(binary,
            {"--virtual", "--no-lockscreen", "--no-global-shortcuts", "--no-kactivities", "--xwayland", "--socket",
                socketName, "--width", QString::number(outputSize.width()), "--height",
                QString::number(outputSize.height()), "--",
                QStringLiteral("sh -c 'printenv DISPLAY > %1.part && mv %1.part %1'").arg(display)},
            env, false, QProcess::SeparateChannels);
        // KWin's log goes on to the test's, and is kept: query scripts print their answers there.
        QObject::connect(&kwin, &QProcess::readyReadStandardError, [this, &kwin] {
            const QByteArray more = kwin.readAllStandardError();
            std::fwrite(more.constData(), 1, size_t(more.size()), stderr);
            m_log += more;
        });
        QFile file(display);
        if (!waitFor([&] { return file.exists(); }) || !file.open(QIODevice::ReadOnly))
            return fail("KWin did not start (its log is above)");
        m_x11 = QString::fromLatin1(file.readAll().trimmed());
        m_wayland = QString::fromLatin1(socketName);
        return true;
    }

    QByteArray m_log;
    int m_queries = 0;
};

} // namespace halvic::testing
