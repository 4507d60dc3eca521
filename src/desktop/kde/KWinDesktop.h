#pragma once

#include <atomic>

#include "Desktop.h"

namespace halvic {

namespace kwin {
class Script;
}

/// The KDE Plasma (KWin) backend on Wayland: windows through a script of ours that KWin runs,
/// the pointer through KWin's fake-input protocol on a Wayland connection of its own, and our
/// own windows (on XWayland) kept above, on every desktop and where the program puts them by
/// their EWMH hints and, where those do not hold, by the same script.
class KWinDesktop final : public Desktop
{
public:
    /// The session's KWin, when it is on the session bus; none otherwise.
    static std::unique_ptr<KWinDesktop> open();
    ~KWinDesktop() override;

    std::unique_ptr<WindowSystem> windowSystem() override;
    std::unique_ptr<PointerSink> pointerSink() override;
    OwnWindows &ownWindows() override;

private:
    KWinDesktop();

    std::shared_ptr<kwin::Script> m_script;
    std::unique_ptr<OwnWindows> m_own;
    std::atomic<bool> m_refusalTold = false;
};

} // namespace halvic
