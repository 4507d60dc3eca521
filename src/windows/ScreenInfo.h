#pragma once

#include <QJsonValue>
#include <QList>
#include <QRect>
#include <QRectF>
#include <QString>

#include <cstdint>

class QScreen;

namespace halvic {

/// One display as the window manager and the gesture controller see it. Rectangles are in
/// desktop points with the origin at the top-left of the virtual desktop, y growing down.
struct ScreenInfo
{
    int index = 0;
    /// "built-in", "main" or "external".
    QString label;
    QString name;
    QRectF frame;
    /// The part not covered by panels and docks.
    QRectF visibleFrame;
    bool isBuiltin = false;
    bool isMain = false;
    /// Stable number of the display across calls and launches; 0 when unknown.
    std::uint32_t displayID = 0;
    /// Device pixels per point, for turning points into X11 pixels.
    double devicePixelRatio = 1.0;

    bool operator==(const ScreenInfo &) const = default;
};

namespace screens {

inline const QString builtinLabel = QStringLiteral("built-in");
inline const QString mainLabel = QStringLiteral("main");
inline const QString externalLabel = QStringLiteral("external");

/// The stable number of a display: a hash of what identifies the panel (output name,
/// maker, model, serial), never 0. Also the key of the HUD's stored corners.
std::uint32_t displayNumber(const QScreen &screen);

/// Laptop panels show up as outputs named eDP, LVDS or DSI (eDP-1, LVDS1, DSI-1, ...).
bool isBuiltinOutputName(const QString &name);

/// One output as the desktop itself names it, with its frame in desktop points.
struct OutputName
{
    QRect frame;
    QString name;
};

/// The names the desktop gives its outputs, where Qt's are not the desktop's own (XWayland calls
/// every output XWAYLAND<n>): a screen whose frame matches one of them takes that name, and is
/// built in when the name says so. Set by the desktop backend, main thread only.
void setOutputNames(QList<OutputName> names);

/// The displays Qt knows, in its order, read fresh on every call. Needs the GUI thread;
/// empty without a QGuiApplication or without screens.
QList<ScreenInfo> current();

/// The placeholder used when there are no screens at all.
ScreenInfo none();

/// Resolves a loosely worded screen name or index from the engine to one entry of `list`;
/// anything unknown gives the main screen.
ScreenInfo forSpec(const QList<ScreenInfo> &list, const QJsonValue &spec);

} // namespace screens

} // namespace halvic
