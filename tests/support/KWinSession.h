#pragma once

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

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
    static QString unavailable() { return missing({"kwin_wayland", "Xwayland", "dbus-daemon", "kbuildsycoca5"}); }

    /// Starts the bus and KWin; check ok() and error() afterwards.
    explicit KWinSession(const QStringList &fakeInputPrograms = {})
    {
        if (const QString why = unavailable(); !why.isEmpty())
            fail(why);
        else if (prepareFolders() && prepareX11Sockets() && prepareData(fakeInputPrograms) && startBus(false))
            startKWin();
        ownProcessesStarted();
    }

    /// XWayland's cookie, for the test's own connection; empty when XWayland takes none.
    QString x11Authority() const { return environment().value("XAUTHORITY"); }

    /// KWin's own list of its ordinary windows: caption, resourceClass, pid, frame (x, y,
    /// width, height), keepAbove, onAllDesktops.
    QJsonArray windows()
    {
        return QJsonDocument::fromJson(query(R"(
            const list = workspace.windowList ? workspace.windowList() : workspace.clientList();
            return JSON.stringify(list.filter(w => w.normalWindow || w.utility).map(w => ({caption: w.caption,
                resourceClass: String(w.resourceClass), pid: w.pid, x: w.frameGeometry.x, y: w.frameGeometry.y,
                width: w.frameGeometry.width, height: w.frameGeometry.height, keepAbove: w.keepAbove,
                onAllDesktops: w.onAllDesktops})));)"))
            .array();
    }

    /// The first of windows() that `match` takes; an empty object when none does.
    QJsonObject window(const std::function<bool(const QJsonObject &)> &match)
    {
        const QJsonArray all = windows();
        const auto found = std::ranges::find_if(all, [&](const QJsonValue &w) { return match(w.toObject()); });
        return found == all.end() ? QJsonObject() : found->toObject();
    }

    static QRect frameOf(const QJsonObject &w)
    {
        return {w[u"x"].toInt(), w[u"y"].toInt(), w[u"width"].toInt(), w[u"height"].toInt()};
    }

    /// Runs `body` as a function in a KWin script of its own and returns what it returns (a
    /// string), as KWin prints it; empty when KWin does not answer.
    QByteArray query(const QString &body)
    {
        const int serial = ++m_queries;
        const QString path = folder(QStringLiteral("query-%1.js").arg(serial));
        const QByteArray marker = "HALVIC-QUERY-" + QByteArray::number(serial) + ' ';
        if (!writeFile(path, "print(\"" + marker + "\" + (function () {" + body.toUtf8() + "})());\n"))
            return {};
        QDBusConnection bus = QDBusConnection::connectToBus(busAddress(), QStringLiteral("kwin-session-test"));
        QDBusInterface scripting("org.kde.KWin", "/Scripting", "org.kde.kwin.Scripting", bus);
        const QString plugin = QStringLiteral("halvic-query-%1").arg(serial);
        const QDBusReply<int> id = scripting.call("loadScript", path, plugin);
        if (!id.isValid() || id.value() < 0)
            return {};
        // Runs every script loaded and not running yet: KWin 5.27 may give a new script the
        // object path of an older one.
        scripting.call("start");
        QByteArray answer;
        QFile log(logPath());
        if (!log.open(QIODevice::ReadOnly) || !log.seek(m_logRead))
            return {};
        QByteArray text;
        waitFor(
            [&] {
                text += log.readAll();
                const qsizetype at = text.indexOf(marker);
                const qsizetype end = at < 0 ? -1 : text.indexOf('\n', at);
                if (end < 0)
                    return false;
                answer = text.mid(at + marker.size(), end - at - marker.size());
                m_logRead += end;
                return true;
            },
            5000);
        scripting.call("unloadScript", plugin);
        return answer;
    }

private:
    /// KWin's log: query scripts print their answers there.
    QString logPath() const { return folder("kwin.log"); }

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
        // KWin starts the program after it (without arguments): it writes XWayland's display
        // and cookie where the test reads them.
        const QString display = runtimeDir() + "/display";
        const QString reporter = folder("report-display");
        if (!writeFile(reporter,
                QStringLiteral("#!/bin/sh\n(printenv DISPLAY; printenv XAUTHORITY) > %1.part; mv %1.part %1\n")
                    .arg(display)
                    .toUtf8())
            || !QFile::setPermissions(reporter, QFileDevice::ReadOwner | QFileDevice::ExeOwner))
            return false;
        start(binary,
            {"--virtual", "--no-lockscreen", "--no-global-shortcuts", "--no-kactivities", "--xwayland", "--socket",
                socketName, "--width", QString::number(outputSize.width()), "--height",
                QString::number(outputSize.height()), reporter},
            env, false, logPath());
        QFile file(display);
        // A first start on a fresh system builds caches (fonts, keymaps): it may take a while.
        if (!waitFor([&] { return file.exists(); }, 60000) || !file.open(QIODevice::ReadOnly)) {
            QFile log(logPath());
            return fail("KWin did not start; its log:\n"
                + (log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll().right(4000)) : QString()));
        }
        const QStringList lines = QString::fromLocal8Bit(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
        if (lines.isEmpty())
            return fail("KWin started no XWayland");
        addEnvironment("DISPLAY", lines.first());
        if (lines.size() > 1)
            addEnvironment("XAUTHORITY", lines.at(1));
        addEnvironment("WAYLAND_DISPLAY", QString::fromLatin1(socketName));
        return true;
    }

    qint64 m_logRead = 0; // how far KWin's log holds nothing a query waits for
    int m_queries = 0;
};

} // namespace halvic::testing
