#pragma once

#include <QString>

#include <functional>
#include <memory>

#include "DesktopChoice.h"
#include "OwnWindows.h"
#include "PointerSink.h"
#include "WindowSystem.h"

namespace halvic {

/// What the HUD needs of the session's desktop, from one backend chosen at start: window
/// listing and control (window commands, the fist), the pointer that hand gestures drive, and
/// the placement of the HUD's own windows. Each backend lives in a folder of its own (`x11/`,
/// `sway/`, `kde/`, `gnome/`), the only code that includes its desktop's headers; a new desktop is one more
/// folder and one more case in `openDesktop`.
class Desktop
{
public:
    explicit Desktop(DesktopKind kind)
        : m_kind(kind)
    {
    }
    virtual ~Desktop() = default;
    Desktop(const Desktop &) = delete;
    Desktop &operator=(const Desktop &) = delete;

    DesktopKind kind() const { return m_kind; }

    /// A new connection for window listing and control; the null system where there is none.
    virtual std::unique_ptr<WindowSystem> windowSystem() = 0;
    /// A new synthetic pointer, kept while hand gestures are on; the null sink where the
    /// desktop takes no synthetic input.
    virtual std::unique_ptr<PointerSink> pointerSink() = 0;
    /// The placement of the HUD's own windows (installed for the desktop's lifetime).
    virtual OwnWindows &ownWindows() = 0;

    /// The one line a user reads when window layout reaches only some applications here;
    /// empty where it reaches them all.
    QString limitation() const { return desktopLimitation(m_kind); }

    /// Where the backend tells the user what it cannot do for them (the compositor refusing
    /// the synthetic pointer, say). Called on any thread: `tell` hands the line on itself.
    void onTell(std::function<void(const QString &)> tell) { m_tell = std::move(tell); }

protected:
    void tell(const QString &line) const
    {
        if (m_tell)
            m_tell(line);
    }

private:
    DesktopKind m_kind;
    std::function<void(const QString &)> m_tell;
};

/// The backend for `kind`: the compositor's own where it answers, else X11 (on Wayland sessions
/// without a backend, what XWayland shows), else nothing.
std::unique_ptr<Desktop> openDesktop(DesktopKind kind);

/// The backend for this session, read from its environment; the choice is logged under the
/// windows category.
std::unique_ptr<Desktop> openSessionDesktop();

} // namespace halvic
