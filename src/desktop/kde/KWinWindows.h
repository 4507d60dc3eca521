#pragma once

#include <QJsonArray>
#include <QRect>
#include <QString>

namespace halvic::kwin {

/// One window as our KWin script describes it.
struct Window
{
    /// The script's own id for the window (KWin's are UUIDs), growing as windows appear.
    qint64 id = 0;
    qint64 pid = 0;
    /// The X11 window id of an XWayland client; 0 for a native Wayland one.
    quint32 x11Id = 0;
    /// WM_CLASS class (KWin lowercases it) of an X11 client; the app id of a Wayland one.
    QString resourceClass;
    /// WM_CLASS instance of an X11 client.
    QString resourceName;
    QString desktopFileName;
    QString caption;
    /// The output's name (Plasma 6), or its number (Plasma 5.27 names none).
    QString output;
    /// Decorations included, in KWin's logical coordinates.
    QRect frame;
    /// KWin's stacking order: higher is further in front.
    int stacking = 0;
    bool normal = false;
    bool minimized = false;
    bool fullScreen = false;
    bool maximized = false;

    bool isX11() const { return x11Id != 0; }
    bool operator==(const Window &) const = default;
};

/// The windows of the script's "list" answer; entries that are not windows are left out.
QList<Window> windowsOf(const QJsonArray &answer);

/// Where KWin put the script it loaded as `id`, read from its introspection of /Scripting:
/// Plasma 6 puts it under /Scripting, 5.27 at the root.
QString scriptObjectPath(const QString &scriptingIntrospection, int id);

} // namespace halvic::kwin
