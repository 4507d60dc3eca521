#include "DesktopChoice.h"

#include <QCoreApplication>

namespace halvic {

DesktopKind chooseDesktop(const std::function<QString(const char *)> &variable)
{
    const bool wayland = !variable("WAYLAND_DISPLAY").isEmpty()
        || variable("XDG_SESSION_TYPE").compare(QLatin1String("wayland"), Qt::CaseInsensitive) == 0;
    if (!wayland)
        return variable("DISPLAY").isEmpty() ? DesktopKind::None : DesktopKind::X11;
    if (!variable("SWAYSOCK").isEmpty())
        return DesktopKind::Sway;
    // XDG_CURRENT_DESKTOP is a colon-separated list, e.g. "ubuntu:GNOME".
    const QStringList desktops = variable("XDG_CURRENT_DESKTOP").toUpper().split(u':', Qt::SkipEmptyParts);
    if (desktops.contains(QLatin1String("KDE")))
        return DesktopKind::KdeWayland;
    if (desktops.contains(QLatin1String("GNOME")))
        return DesktopKind::GnomeWayland;
    return DesktopKind::OtherWayland;
}

QString desktopName(DesktopKind kind)
{
    switch (kind) {
    case DesktopKind::X11:
        return QStringLiteral("X11");
    case DesktopKind::Sway:
        return QStringLiteral("sway");
    case DesktopKind::KdeWayland:
        return QStringLiteral("KDE Plasma on Wayland");
    case DesktopKind::GnomeWayland:
        return QStringLiteral("GNOME on Wayland");
    case DesktopKind::OtherWayland:
        return QStringLiteral("Wayland");
    case DesktopKind::None:
        break;
    }
    return QStringLiteral("no display");
}

QString desktopLimitation(DesktopKind kind)
{
    switch (kind) {
    case DesktopKind::OtherWayland:
        return QCoreApplication::translate("DesktopChoice",
            "On this Wayland session I can only arrange applications that run on XWayland, sir; "
            "native Wayland windows stay where they are.");
    case DesktopKind::X11:
    case DesktopKind::Sway:
    case DesktopKind::KdeWayland:
    case DesktopKind::GnomeWayland:
    case DesktopKind::None:
        break;
    }
    return {};
}

} // namespace halvic
