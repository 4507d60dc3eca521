#pragma once

#include <QJsonArray>
#include <QRect>
#include <QString>

#include <optional>

#include "Applications.h"
#include "WindowSystem.h"

namespace halvic::gnome {

/// One window as the HUD's GNOME Shell extension lists it.
struct Window
{
    /// The extension's own id for the window, growing as windows appear.
    qint64 id = 0;
    qint64 pid = 0;
    /// WM_CLASS class of an X11 client; the app id of a Wayland one.
    QString wmClass;
    QString wmInstance;
    /// The desktop entry's id, when the Shell knows it.
    QString appId;
    QString title;
    bool x11 = false;
    int monitor = 0;
    /// Decorations included, in the Shell's logical coordinates.
    QRect frame;
    /// Back to front: higher is further in front.
    int stacking = 0;
    bool normal = false;
    bool minimized = false;
    bool maximized = false;
    bool fullscreen = false;

    bool operator==(const Window &) const = default;
};

/// The windows of the extension's list (JSON text); entries that are not windows are left out.
QList<Window> windowsOf(const QByteArray &list);

/// The running applications among `windows`, in the order their first window appeared,
/// leaving out process `ownPid`'s.
QList<apps::RunningApp> runningApplicationsOf(QList<Window> windows, qint64 ownPid);

/// The extension's UUID for the Shell of version `shellVersion` ("43.9", "46.0"): GNOME 45
/// changed how extensions load, so each side has a build of its own.
QString extensionUuid(const QString &shellVersion);

} // namespace halvic::gnome
