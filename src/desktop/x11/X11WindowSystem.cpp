#include "X11WindowSystem.h"

#include <QProcess>

#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace halvic {

namespace {

struct FreeDeleter
{
    void operator()(void *p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

/// Ewmh "get" helpers report X errors through an out parameter; a vanished window is
/// routine here, so errors are dropped.
struct ErrorSink
{
    xcb_generic_error_t *error = nullptr;
    ~ErrorSink() { std::free(error); }
    xcb_generic_error_t **operator&() { return &error; }
};

bool hasAtom(const xcb_ewmh_get_atoms_reply_t &atoms, xcb_atom_t atom)
{
    return std::find(atoms.atoms, atoms.atoms + atoms.atoms_len, atom) != atoms.atoms + atoms.atoms_len;
}

struct ClassHint
{
    QString instance;
    QString className;
};

ClassHint parseWmClass(const xcb_get_property_reply_t *reply)
{
    if (!reply || reply->format != 8)
        return {};
    const auto *data = static_cast<const char *>(xcb_get_property_value(reply));
    const int length = xcb_get_property_value_length(reply);
    const QByteArray bytes(data, length);
    const QList<QByteArray> parts = bytes.split('\0');
    ClassHint hint;
    if (!parts.isEmpty())
        hint.instance = QString::fromLocal8Bit(parts.at(0));
    if (parts.size() > 1)
        hint.className = QString::fromLocal8Bit(parts.at(1));
    return hint;
}

} // namespace

struct X11WindowSystem::Connection
{
    xcb_connection_t *conn = nullptr;
    xcb_ewmh_connection_t ewmh{};
    bool ewmhReady = false;
    int screen = 0;
    xcb_window_t root = XCB_NONE;

    ~Connection()
    {
        if (ewmhReady)
            xcb_ewmh_connection_wipe(&ewmh);
        if (conn)
            xcb_disconnect(conn);
    }

    std::optional<xcb_window_t> supportingWmCheck(xcb_window_t window)
    {
        xcb_window_t result = XCB_NONE;
        ErrorSink error;
        if (!xcb_ewmh_get_supporting_wm_check_reply(
                &ewmh, xcb_ewmh_get_supporting_wm_check(&ewmh, window), &result, &error))
            return std::nullopt;
        return result;
    }

    std::optional<xcb_ewmh_get_extents_reply_t> frameExtents(xcb_window_t window)
    {
        xcb_ewmh_get_extents_reply_t extents{};
        ErrorSink error;
        if (!xcb_ewmh_get_frame_extents_reply(&ewmh, xcb_ewmh_get_frame_extents(&ewmh, window), &extents, &error))
            return std::nullopt;
        // Any client can write this property on its window. X sizes are 16 bits: anything
        // larger is not a real frame, and would overflow the arithmetic on it.
        const auto real = [](uint32_t extent) { return extent <= 0xffff; };
        if (!real(extents.left) || !real(extents.right) || !real(extents.top) || !real(extents.bottom))
            return std::nullopt;
        return extents;
    }

    bool hasState(xcb_window_t window, std::initializer_list<xcb_atom_t> states)
    {
        xcb_ewmh_get_atoms_reply_t atoms{};
        ErrorSink error;
        if (!xcb_ewmh_get_wm_state_reply(&ewmh, xcb_ewmh_get_wm_state(&ewmh, window), &atoms, &error))
            return false;
        const bool found = std::any_of(states.begin(), states.end(), [&](xcb_atom_t s) { return hasAtom(atoms, s); });
        xcb_ewmh_get_atoms_reply_wipe(&atoms);
        return found;
    }

    void moveResize(xcb_window_t window, xcb_ewmh_moveresize_window_opt_flags_t flags, QRect rect)
    {
        // North-west gravity: the position is the outer frame's top-left corner; the size is
        // the client's. Pager as source: the request comes from the user's own tool.
        xcb_ewmh_request_moveresize_window(&ewmh, screen, window, XCB_GRAVITY_NORTH_WEST,
            XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER, flags, uint32_t(rect.x()), uint32_t(rect.y()),
            uint32_t(std::max(rect.width(), 1)), uint32_t(std::max(rect.height(), 1)));
        xcb_flush(conn);
    }
};

std::unique_ptr<X11WindowSystem> X11WindowSystem::connect(const QByteArray &display)
{
    auto x = std::make_unique<Connection>();
    x->conn = xcb_connect(display.isEmpty() ? nullptr : display.constData(), &x->screen);
    if (!x->conn || xcb_connection_has_error(x->conn))
        return nullptr;
    xcb_intern_atom_cookie_t *cookies = xcb_ewmh_init_atoms(x->conn, &x->ewmh);
    ErrorSink error;
    if (!xcb_ewmh_init_atoms_replies(&x->ewmh, cookies, &error))
        return nullptr;
    x->ewmhReady = true;
    if (x->screen < 0 || x->screen >= x->ewmh.nb_screens)
        return nullptr;
    x->root = x->ewmh.screens[x->screen]->root;
    return std::unique_ptr<X11WindowSystem>(new X11WindowSystem(std::move(x)));
}

X11WindowSystem::X11WindowSystem(std::unique_ptr<Connection> connection)
    : m_x(std::move(connection))
{
}

X11WindowSystem::~X11WindowSystem() = default;

bool X11WindowSystem::isAvailable()
{
    if (xcb_connection_has_error(m_x->conn))
        return false;
    // An EWMH window manager names a child window that names itself back.
    const std::optional<xcb_window_t> check = m_x->supportingWmCheck(m_x->root);
    return check && *check != XCB_NONE && m_x->supportingWmCheck(*check) == check;
}

QList<apps::RunningApp> X11WindowSystem::runningApplications()
{
    xcb_ewmh_connection_t &ewmh = m_x->ewmh;
    xcb_ewmh_get_windows_reply_t clients{};
    {
        ErrorSink error;
        if (!xcb_ewmh_get_client_list_reply(&ewmh, xcb_ewmh_get_client_list(&ewmh, m_x->screen), &clients, &error))
            return {};
    }
    const std::vector<xcb_window_t> windows(clients.windows, clients.windows + clients.windows_len);
    xcb_ewmh_get_windows_reply_wipe(&clients);

    // Send every request first and collect the replies after: one round trip in all.
    struct Cookies
    {
        xcb_get_property_cookie_t pid, type, state, wmClass, transientFor, name;
    };
    std::vector<Cookies> cookies;
    cookies.reserve(windows.size());
    for (const xcb_window_t window : windows) {
        cookies.push_back({xcb_ewmh_get_wm_pid(&ewmh, window), xcb_ewmh_get_wm_window_type(&ewmh, window),
            xcb_ewmh_get_wm_state(&ewmh, window),
            xcb_get_property(m_x->conn, 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 256),
            xcb_get_property(m_x->conn, 0, window, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 0, 1),
            xcb_ewmh_get_wm_name(&ewmh, window)});
    }

    QList<apps::RunningApp> running;
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const Cookies &c = cookies[i];
        uint32_t pid = 0;
        {
            ErrorSink error;
            if (!xcb_ewmh_get_wm_pid_reply(&ewmh, c.pid, &pid, &error))
                pid = 0;
        }
        bool ordinary = true;
        bool typed = false;
        {
            xcb_ewmh_get_atoms_reply_t types{};
            ErrorSink error;
            if (xcb_ewmh_get_wm_window_type_reply(&ewmh, c.type, &types, &error)) {
                typed = types.atoms_len > 0;
                ordinary = !typed || hasAtom(types, ewmh._NET_WM_WINDOW_TYPE_NORMAL);
                xcb_ewmh_get_atoms_reply_wipe(&types);
            }
        }
        {
            xcb_ewmh_get_atoms_reply_t states{};
            ErrorSink error;
            if (xcb_ewmh_get_wm_state_reply(&ewmh, c.state, &states, &error)) {
                if (hasAtom(states, ewmh._NET_WM_STATE_SKIP_TASKBAR))
                    ordinary = false;
                xcb_ewmh_get_atoms_reply_wipe(&states);
            }
        }
        ErrorSink classError;
        const Reply<xcb_get_property_reply_t> classReply(xcb_get_property_reply(m_x->conn, c.wmClass, &classError));
        ErrorSink transientError;
        const Reply<xcb_get_property_reply_t> transient(
            xcb_get_property_reply(m_x->conn, c.transientFor, &transientError));
        // An untyped window that is transient for another is a dialog.
        if (!typed && transient && xcb_get_property_value_length(transient.get()) > 0)
            ordinary = false;
        QString title;
        {
            xcb_ewmh_get_utf8_strings_reply_t name{};
            ErrorSink error;
            if (xcb_ewmh_get_wm_name_reply(&ewmh, c.name, &name, &error)) {
                title = QString::fromUtf8(name.strings, int(name.strings_len));
                xcb_ewmh_get_utf8_strings_reply_wipe(&name);
            }
        }
        // Gone between listing and asking: no class and no process id.
        if (!ordinary || (!classReply && pid == 0))
            continue;

        const ClassHint hint = parseWmClass(classReply.get());
        // Windows without a process id are grouped by their class instead.
        const auto same = [&](const apps::RunningApp &app) {
            return pid != 0 ? app.pid == qint64(pid)
                            : app.pid == 0 && app.wmClass == hint.className && app.wmInstance == hint.instance;
        };
        auto it = std::find_if(running.begin(), running.end(), same);
        if (it == running.end()) {
            apps::RunningApp app;
            app.pid = pid;
            app.wmClass = hint.className;
            app.wmInstance = hint.instance;
            app.name = !hint.className.isEmpty() ? hint.className : title;
            app.appId = hint.instance.toLower();
            running.append(app);
            it = running.end() - 1;
        }
        it->windows.append(windows[i]);
    }
    return running;
}

std::optional<WindowId> X11WindowSystem::primaryWindow(const apps::RunningApp &app)
{
    if (app.windows.isEmpty())
        return std::nullopt;
    xcb_ewmh_connection_t &ewmh = m_x->ewmh;
    {
        xcb_window_t active = XCB_NONE;
        ErrorSink error;
        if (xcb_ewmh_get_active_window_reply(&ewmh, xcb_ewmh_get_active_window(&ewmh, m_x->screen), &active, &error)
            && app.windows.contains(active))
            return active;
    }
    // Otherwise the one nearest the top of the stack.
    xcb_ewmh_get_windows_reply_t stacking{};
    ErrorSink error;
    if (xcb_ewmh_get_client_list_stacking_reply(
            &ewmh, xcb_ewmh_get_client_list_stacking(&ewmh, m_x->screen), &stacking, &error)) {
        std::optional<WindowId> topmost;
        for (uint32_t i = stacking.windows_len; i-- > 0 && !topmost;)
            if (app.windows.contains(stacking.windows[i]))
                topmost = stacking.windows[i];
        xcb_ewmh_get_windows_reply_wipe(&stacking);
        if (topmost)
            return topmost;
    }
    return app.windows.first();
}

std::optional<WindowId> X11WindowSystem::frontmostWindowAt(QPoint point, qint64 exceptPid)
{
    xcb_ewmh_connection_t &ewmh = m_x->ewmh;
    xcb_ewmh_get_windows_reply_t stacking{};
    {
        ErrorSink error;
        if (!xcb_ewmh_get_client_list_stacking_reply(
                &ewmh, xcb_ewmh_get_client_list_stacking(&ewmh, m_x->screen), &stacking, &error))
            return std::nullopt;
    }
    // Bottom to top in the list: walk it from the end.
    std::vector<xcb_window_t> frontToBack(stacking.windows, stacking.windows + stacking.windows_len);
    xcb_ewmh_get_windows_reply_wipe(&stacking);
    std::reverse(frontToBack.begin(), frontToBack.end());
    for (const xcb_window_t window : frontToBack) {
        const auto pidCookie = xcb_ewmh_get_wm_pid(&ewmh, window);
        const auto typeCookie = xcb_ewmh_get_wm_window_type(&ewmh, window);
        const auto stateCookie = xcb_ewmh_get_wm_state(&ewmh, window);
        const auto attributesCookie = xcb_get_window_attributes(m_x->conn, window);
        uint32_t pid = 0;
        {
            ErrorSink error;
            if (!xcb_ewmh_get_wm_pid_reply(&ewmh, pidCookie, &pid, &error))
                pid = 0;
        }
        bool ordinary = true;
        {
            xcb_ewmh_get_atoms_reply_t types{};
            ErrorSink error;
            if (xcb_ewmh_get_wm_window_type_reply(&ewmh, typeCookie, &types, &error)) {
                ordinary = types.atoms_len == 0 || hasAtom(types, ewmh._NET_WM_WINDOW_TYPE_NORMAL);
                xcb_ewmh_get_atoms_reply_wipe(&types);
            }
        }
        {
            xcb_ewmh_get_atoms_reply_t states{};
            ErrorSink error;
            if (xcb_ewmh_get_wm_state_reply(&ewmh, stateCookie, &states, &error)) {
                if (hasAtom(states, ewmh._NET_WM_STATE_HIDDEN))
                    ordinary = false;
                xcb_ewmh_get_atoms_reply_wipe(&states);
            }
        }
        ErrorSink attributesError;
        const Reply<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(m_x->conn, attributesCookie, &attributesError));
        const bool viewable = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
        if (!ordinary || !viewable || (exceptPid > 0 && qint64(pid) == exceptPid))
            continue;
        const std::optional<QRect> outer = frame(window);
        if (outer && outer->contains(point))
            return window;
    }
    return std::nullopt;
}

std::optional<QRect> X11WindowSystem::frame(WindowId window)
{
    const auto geometryCookie = xcb_get_geometry(m_x->conn, window);
    const auto translateCookie = xcb_translate_coordinates(m_x->conn, window, m_x->root, 0, 0);
    ErrorSink geometryError;
    const Reply<xcb_get_geometry_reply_t> geometry(xcb_get_geometry_reply(m_x->conn, geometryCookie, &geometryError));
    ErrorSink translateError;
    const Reply<xcb_translate_coordinates_reply_t> origin(
        xcb_translate_coordinates_reply(m_x->conn, translateCookie, &translateError));
    if (!geometry || !origin)
        return std::nullopt;
    const auto extents = m_x->frameExtents(window).value_or(xcb_ewmh_get_extents_reply_t{});
    return QRect(origin->dst_x - int(extents.left), origin->dst_y - int(extents.top),
        geometry->width + int(extents.left + extents.right), geometry->height + int(extents.top + extents.bottom));
}

void X11WindowSystem::setPosition(WindowId window, QPoint topLeft)
{
    m_x->moveResize(window,
        xcb_ewmh_moveresize_window_opt_flags_t(XCB_EWMH_MOVERESIZE_WINDOW_X | XCB_EWMH_MOVERESIZE_WINDOW_Y),
        QRect(topLeft, QSize(1, 1)));
}

void X11WindowSystem::setSize(WindowId window, QSize size)
{
    const auto extents = m_x->frameExtents(window).value_or(xcb_ewmh_get_extents_reply_t{});
    const QSize client(
        size.width() - int(extents.left + extents.right), size.height() - int(extents.top + extents.bottom));
    m_x->moveResize(window,
        xcb_ewmh_moveresize_window_opt_flags_t(XCB_EWMH_MOVERESIZE_WINDOW_WIDTH | XCB_EWMH_MOVERESIZE_WINDOW_HEIGHT),
        QRect(QPoint(0, 0), client));
}

bool X11WindowSystem::isFullscreen(WindowId window)
{
    return m_x->hasState(window, {m_x->ewmh._NET_WM_STATE_FULLSCREEN});
}

void X11WindowSystem::exitFullscreen(WindowId window)
{
    xcb_ewmh_request_change_wm_state(&m_x->ewmh, m_x->screen, window, XCB_EWMH_WM_STATE_REMOVE,
        m_x->ewmh._NET_WM_STATE_FULLSCREEN, XCB_NONE, XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER);
    xcb_flush(m_x->conn);
}

bool X11WindowSystem::isMaximized(WindowId window)
{
    return m_x->hasState(window, {m_x->ewmh._NET_WM_STATE_MAXIMIZED_VERT, m_x->ewmh._NET_WM_STATE_MAXIMIZED_HORZ});
}

void X11WindowSystem::leaveMaximized(WindowId window)
{
    xcb_ewmh_connection_t &ewmh = m_x->ewmh;
    xcb_ewmh_request_change_wm_state(&ewmh, m_x->screen, window, XCB_EWMH_WM_STATE_REMOVE,
        ewmh._NET_WM_STATE_MAXIMIZED_VERT, ewmh._NET_WM_STATE_MAXIMIZED_HORZ, XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER);
    xcb_flush(m_x->conn);
}

void X11WindowSystem::close(WindowId window)
{
    xcb_ewmh_request_close_window(&m_x->ewmh, m_x->screen, window, XCB_CURRENT_TIME, XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER);
    xcb_flush(m_x->conn);
}

std::optional<qint64> X11WindowSystem::launch(
    const QString &program, const QStringList &arguments, const QString &workingDirectory)
{
    return launchDetached(program, arguments, workingDirectory);
}

} // namespace halvic
