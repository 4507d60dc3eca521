#include "X11Desktop.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

#include "X11WindowSystem.h"
#include "XTestPointerSink.h"

namespace halvic {

namespace {

xcb_connection_t *qtConnection()
{
    const auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

/// EWMH window managers honour a client's moves and keep tool windows above; all that is
/// left is joining every desktop, and reading the button from the server.
class Placement final : public OwnWindows
{
public:
    void prepare(QWindow &window) override
    {
        xcb_connection_t *connection = qtConnection();
        if (!connection)
            return;
        // Set before the first map, so the window manager places it on every desktop at once.
        const QByteArray name("_NET_WM_DESKTOP");
        const auto cookie = xcb_intern_atom(connection, 0, uint16_t(name.size()), name.constData());
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookie, nullptr);
        if (!reply)
            return;
        const uint32_t allDesktops = 0xFFFFFFFF;
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, xcb_window_t(window.winId()), reply->atom,
            XCB_ATOM_CARDINAL, 32, 1, &allDesktops);
        std::free(reply);
        xcb_flush(connection);
    }

    bool leftButtonHeld() override
    {
        // Asked of the server, so it holds while the window manager moves a panel.
        xcb_connection_t *connection = qtConnection();
        if (!connection)
            return OwnWindows::leftButtonHeld();
        const xcb_screen_t *root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
        xcb_query_pointer_reply_t *reply
            = xcb_query_pointer_reply(connection, xcb_query_pointer(connection, root->root), nullptr);
        if (!reply)
            return false;
        const bool held = reply->mask & XCB_BUTTON_MASK_1;
        std::free(reply);
        return held;
    }
};

} // namespace

std::unique_ptr<OwnWindows> x11OwnWindows()
{
    return std::make_unique<Placement>();
}

X11Desktop::X11Desktop(DesktopKind kind)
    : Desktop(kind)
    , m_own(x11OwnWindows())
{
    OwnWindows::install(*m_own);
}

X11Desktop::~X11Desktop()
{
    OwnWindows::uninstall(*m_own);
}

std::unique_ptr<WindowSystem> X11Desktop::windowSystem()
{
    if (!qEnvironmentVariableIsEmpty("DISPLAY")) {
        if (auto x11 = X11WindowSystem::connect())
            return x11;
    }
    return std::make_unique<NullWindowSystem>();
}

std::unique_ptr<PointerSink> X11Desktop::pointerSink()
{
    return xtestPointerSink();
}

std::unique_ptr<PointerSink> xtestPointerSink()
{
    if (QGuiApplication::platformName() == QLatin1StringView("xcb")) {
        const QScreen *screen = QGuiApplication::primaryScreen();
        if (auto sink = XTestPointerSink::connect({}, screen ? screen->devicePixelRatio() : 1.0))
            return sink;
    }
    return std::make_unique<NullPointerSink>();
}

OwnWindows &X11Desktop::ownWindows()
{
    return *m_own;
}

bool x11OffersDirectRendering()
{
    // A connection of its own, before the application's: closed again at once.
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        return false;
    }
    bool found = false;
    for (const char *name : {"DRI3", "DRI2"}) {
        auto *reply = xcb_query_extension_reply(
            connection, xcb_query_extension(connection, uint16_t(std::strlen(name)), name), nullptr);
        found = found || (reply && reply->present);
        std::free(reply);
    }
    xcb_disconnect(connection);
    return found;
}

} // namespace halvic
