#pragma once

#include "Desktop.h"

namespace halvic {

/// The sway backend: windows over sway's IPC socket, the pointer through the wlroots virtual
/// pointer protocol on a Wayland connection of its own, and our own windows (on XWayland)
/// kept floating, sticky and where the program puts them by IPC commands.
class SwayDesktop final : public Desktop
{
public:
    /// The session's sway (SWAYSOCK); none when it does not answer.
    static std::unique_ptr<SwayDesktop> open();
    ~SwayDesktop() override;

    std::unique_ptr<WindowSystem> windowSystem() override;
    std::unique_ptr<PointerSink> pointerSink() override;
    OwnWindows &ownWindows() override;

private:
    explicit SwayDesktop(QString socketPath);

    QString m_socket;
    std::unique_ptr<OwnWindows> m_own;
};

} // namespace halvic
