#pragma once

#include <QRect>

class QWindow;

namespace halvic {

/// How the session's desktop keeps this application's own windows (the HUD, its cards and
/// popups) where the program puts them: floating, above other applications' windows and on
/// every workspace. Each desktop backend brings its own; the root installs it once, before the
/// first window is made. Without one, Qt's own requests to the window manager are all there is.
/// Main thread only; nothing here waits for the desktop.
class OwnWindows
{
public:
    virtual ~OwnWindows() = default;

    /// Called once for each glass panel before it is first shown.
    virtual void prepare(QWindow &window);
    /// The program has put `window` at `frame` (desktop points) or has just shown it there;
    /// window managers that do not honour a client's own moves are told here.
    virtual void placed(QWindow &window, const QRect &frame);
    /// Whether the left mouse button is down on the desktop right now, wherever the pointer is.
    virtual bool leftButtonHeld();
    /// Whether a window with an empty input shape lets clicks through to the windows below it.
    /// Where it does not, an overlay under the pointer must keep clear of the pointer's tip.
    virtual bool overlaysPassInput() const { return true; }

    /// The installed placement (a do-nothing one until the root installs one).
    static OwnWindows &current();
    /// Makes `windows` the current placement until `uninstall` (the caller keeps it alive).
    static void install(OwnWindows &windows);
    static void uninstall(const OwnWindows &windows);
};

} // namespace halvic
