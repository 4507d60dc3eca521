#pragma once

#include <atomic>

#include "Desktop.h"

namespace halvic {

namespace gnome {
class Extension;
}

/// The GNOME Shell backend on Wayland, through the Shell extension that ships with the HUD:
/// windows listed and moved, the pointer driven and our own windows (on XWayland) kept above,
/// on every workspace and where the program puts them. Without the extension (not installed or
/// not enabled) window commands reach XWayland applications and gestures X11 ones, and the
/// user is told once how to turn it on.
class GnomeDesktop final : public Desktop
{
public:
    /// The session's GNOME Shell, when it is on the session bus; none otherwise.
    static std::unique_ptr<GnomeDesktop> open();
    ~GnomeDesktop() override;

    std::unique_ptr<WindowSystem> windowSystem() override;
    std::unique_ptr<PointerSink> pointerSink() override;
    OwnWindows &ownWindows() override;

private:
    explicit GnomeDesktop(QString shellVersion);
    /// Tells the user how to turn the extension on: once a session, from any thread.
    void tellMissing();

    const QString m_uuid;
    std::shared_ptr<gnome::Extension> m_extension;
    std::unique_ptr<OwnWindows> m_own;
    std::atomic<bool> m_missingTold = false;
};

} // namespace halvic
