#include "GnomeWindows.h"

#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace halvic::gnome {

QList<Window> windowsOf(const QByteArray &list)
{
    QList<Window> windows;
    for (const QJsonValue &entry : QJsonDocument::fromJson(list).array()) {
        const QJsonObject w = entry.toObject();
        const qint64 id = w[u"id"].toInteger();
        if (id <= 0)
            continue;
        const QJsonObject frame = w[u"frame"].toObject();
        windows.append({.id = id,
            .pid = w[u"pid"].toInteger(),
            .wmClass = w[u"wm_class"].toString(),
            .wmInstance = w[u"wm_instance"].toString(),
            .appId = w[u"app_id"].toString(),
            .title = w[u"title"].toString(),
            .x11 = w[u"x11"].toBool(),
            .monitor = w[u"monitor"].toInt(),
            .frame = {frame[u"x"].toInt(), frame[u"y"].toInt(), frame[u"width"].toInt(), frame[u"height"].toInt()},
            .stacking = w[u"stacking"].toInt(),
            .normal = w[u"normal"].toBool(),
            .minimized = w[u"minimized"].toBool(),
            .maximized = w[u"maximized"].toBool(),
            .fullscreen = w[u"fullscreen"].toBool()});
    }
    return windows;
}

QList<apps::RunningApp> runningApplicationsOf(QList<Window> windows, qint64 ownPid)
{
    // The extension numbers windows as they appear: in id order, applications come in the
    // order their first window appeared, as on X11.
    std::ranges::sort(windows, {}, &Window::id);
    QList<apps::RunningApp> apps;
    QHash<qint64, qsizetype> byPid;
    for (const Window &w : windows) {
        // Panels, dialogs and our own windows are never an application to arrange.
        if (!w.normal || w.pid == ownPid || w.pid <= 0)
            continue;
        auto at = byPid.find(w.pid);
        if (at == byPid.end()) {
            // An X11 client names itself by WM_CLASS; a Wayland one by its app id alone.
            const QString id = w.x11 ? w.wmInstance : w.wmClass;
            apps.append({.pid = w.pid,
                .name = w.wmClass,
                .appId = w.appId.isEmpty() ? id : w.appId,
                .wmClass = w.x11 ? w.wmClass : QString(),
                .wmInstance = w.x11 ? w.wmInstance : QString(),
                .windows = {}});
            at = byPid.insert(w.pid, apps.size() - 1);
        }
        apps[*at].windows.append(quint32(w.id));
    }
    return apps;
}

QString extensionUuid(const QString &shellVersion)
{
    const int major = shellVersion.section(u'.', 0, 0).toInt();
    // An unreadable version is a newer Shell's more likely than an older one's.
    return QString::fromLatin1(major >= 45 || major == 0 ? HALVIC_GNOME_UUID_45 : HALVIC_GNOME_UUID_43);
}

} // namespace halvic::gnome
