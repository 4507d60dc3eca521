#include "Desktop.h"

#include "GnomeDesktop.h"
#include "KWinDesktop.h"
#include "Logging.h"
#include "SwayDesktop.h"
#include "X11Desktop.h"

namespace halvic {

namespace {

/// A session without any display: nothing to arrange, point at or place.
class NoDesktop final : public Desktop
{
public:
    NoDesktop()
        : Desktop(DesktopKind::None)
    {
    }
    std::unique_ptr<WindowSystem> windowSystem() override { return std::make_unique<NullWindowSystem>(); }
    std::unique_ptr<PointerSink> pointerSink() override { return std::make_unique<NullPointerSink>(); }
    OwnWindows &ownWindows() override { return m_own; }

private:
    OwnWindows m_own;
};

} // namespace

std::unique_ptr<Desktop> openDesktop(DesktopKind kind)
{
    if (kind == DesktopKind::Sway) {
        if (auto sway = SwayDesktop::open())
            return sway;
    }
    if (kind == DesktopKind::KdeWayland) {
        if (auto kwin = KWinDesktop::open())
            return kwin;
    }
    if (kind == DesktopKind::GnomeWayland) {
        if (auto gnome = GnomeDesktop::open())
            return gnome;
    }
    if (kind != DesktopKind::None) {
        // A compositor of ours that does not answer leaves what XWayland shows.
        const bool unanswered
            = kind == DesktopKind::Sway || kind == DesktopKind::KdeWayland || kind == DesktopKind::GnomeWayland;
        return std::make_unique<X11Desktop>(unanswered ? DesktopKind::OtherWayland : kind);
    }
    return std::make_unique<NoDesktop>();
}

std::unique_ptr<Desktop> openSessionDesktop()
{
    const DesktopKind kind = chooseDesktop([](const char *name) { return qEnvironmentVariable(name); });
    auto desktop = openDesktop(kind);
    qCInfo(lcWindows).noquote() << "desktop:" << desktopName(desktop->kind());
    if (const QString limitation = desktop->limitation(); !limitation.isEmpty())
        qCWarning(lcWindows).noquote() << limitation;
    return desktop;
}

} // namespace halvic
