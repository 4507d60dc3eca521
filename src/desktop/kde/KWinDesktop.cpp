#include "KWinDesktop.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include "KWinFakePointer.h"
#include "KWinScript.h"
#include "KWinWindowSystem.h"
#include "X11Desktop.h"

namespace halvic {

namespace {

/// Our windows run on XWayland, where KWin honours the EWMH hints; the script also keeps
/// them above, on every desktop and at the frame the program set, in case a window rule or
/// KWin's placement policy says otherwise.
class KWinOwnWindows final : public OwnWindows
{
public:
    explicit KWinOwnWindows(std::shared_ptr<kwin::Script> script)
        : m_x11(x11OwnWindows())
        , m_script(std::move(script))
    {
    }

    void prepare(QWindow &window) override { m_x11->prepare(window); }

    void placed(QWindow &window, const QRect &frame) override
    {
        m_x11->placed(window, frame);
        m_script->post(
            {{QStringLiteral("op"), QStringLiteral("own")}, {QStringLiteral("windowId"), qint64(window.winId())},
                {QStringLiteral("x"), frame.x()}, {QStringLiteral("y"), frame.y()},
                {QStringLiteral("width"), frame.width()}, {QStringLiteral("height"), frame.height()}});
    }

    bool leftButtonHeld() override { return m_x11->leftButtonHeld(); }
    /// KWin sends a click over an XWayland window to that window, whatever its input shape.
    bool overlaysPassInput() const override { return false; }

private:
    std::unique_ptr<OwnWindows> m_x11;
    std::shared_ptr<kwin::Script> m_script;
};

} // namespace

std::unique_ptr<KWinDesktop> KWinDesktop::open()
{
    // One question to the bus daemon, once at start, before any window exists.
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(QStringLiteral("org.kde.KWin")).value())
        return nullptr;
    return std::unique_ptr<KWinDesktop>(new KWinDesktop());
}

KWinDesktop::KWinDesktop()
    : Desktop(DesktopKind::KdeWayland)
    , m_script(std::make_shared<kwin::Script>())
    , m_own(std::make_unique<KWinOwnWindows>(m_script))
{
    OwnWindows::install(*m_own);
}

KWinDesktop::~KWinDesktop()
{
    OwnWindows::uninstall(*m_own);
}

std::unique_ptr<WindowSystem> KWinDesktop::windowSystem()
{
    return std::make_unique<KWinWindowSystem>(m_script);
}

std::unique_ptr<PointerSink> KWinDesktop::pointerSink()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return makeKWinFakePointer(screen ? screen->devicePixelRatio() : 1.0, xtestPointerSink(), [this] {
        // Said once a session, however often gestures are switched on.
        if (m_refusalTold.exchange(true))
            return;
        tell(QCoreApplication::translate("KWinDesktop",
            "KWin did not let me move the pointer, sir: hand gestures reach only X11 applications. "
            "KWin grants it to the HUD installed from its package."));
    });
}

OwnWindows &KWinDesktop::ownWindows()
{
    return *m_own;
}

} // namespace halvic
