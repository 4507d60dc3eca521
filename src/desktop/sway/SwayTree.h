#pragma once

#include <QJsonObject>
#include <QList>
#include <QRect>
#include <QString>

namespace halvic::sway {

/// One application window of sway's tree (a container holding a client).
struct Window
{
    /// The container id sway's commands take (`[con_id=N]`).
    qint64 id = 0;
    qint64 pid = 0;
    /// The Wayland app id; empty for an X11 client.
    QString appId;
    /// The X11 window of an XWayland client; 0 for a Wayland one.
    quint32 x11Window = 0;
    /// WM_CLASS class and instance of an X11 client; empty for a Wayland one.
    QString wmClass;
    QString wmInstance;
    QString title;
    QString output;
    QString workspace;
    /// The container, borders and title bar included, in layout coordinates: what sway's
    /// `move position` and `resize set` place and size.
    QRect frame;
    /// The client's own surface, in layout coordinates.
    QRect content;
    bool floating = false;
    bool fullscreen = false;
    bool focused = false;
    bool visible = false;

    bool operator==(const Window &) const = default;
};

/// The windows of a `get_tree` reply, depth first (sway's own order: tiled before floating
/// within each workspace). The scratchpad's windows are left out: they are not on screen.
QList<Window> windowsOf(const QJsonObject &tree);

} // namespace halvic::sway
