#include "XTestPointerSink.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <cmath>

namespace halvic {

struct XTestPointerSink::Display
{
    ::Display *x = nullptr;
    ~Display()
    {
        if (x)
            XCloseDisplay(x);
    }
};

std::unique_ptr<XTestPointerSink> XTestPointerSink::connect(const QByteArray &display, double pixelsPerPoint)
{
    auto connection = std::make_unique<Display>();
    connection->x = XOpenDisplay(display.isEmpty() ? nullptr : display.constData());
    if (!connection->x)
        return nullptr;
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(connection->x, &eventBase, &errorBase, &major, &minor))
        return nullptr;
    return std::unique_ptr<XTestPointerSink>(new XTestPointerSink(std::move(connection), pixelsPerPoint));
}

XTestPointerSink::XTestPointerSink(std::unique_ptr<Display> display, double pixelsPerPoint)
    : m_display(std::move(display))
    , m_pixelsPerPoint(pixelsPerPoint > 0 ? pixelsPerPoint : 1.0)
{
}

XTestPointerSink::~XTestPointerSink() = default;

void XTestPointerSink::post(const PointerEvent &event)
{
    ::Display *x = m_display->x;
    const int px = int(std::lround(event.position.x() * m_pixelsPerPoint));
    const int py = int(std::lround(event.position.y() * m_pixelsPerPoint));
    // Every button event goes where it says: move first (on the default screen), then press.
    XTestFakeMotionEvent(x, -1, px, py, CurrentTime);
    using Type = PointerEvent::Type;
    switch (event.type) {
    case Type::Move:
    case Type::LeftDrag:
        break;
    case Type::LeftDown:
        XTestFakeButtonEvent(x, 1, True, CurrentTime);
        break;
    case Type::LeftUp:
        XTestFakeButtonEvent(x, 1, False, CurrentTime);
        break;
    case Type::RightDown:
        XTestFakeButtonEvent(x, 3, True, CurrentTime);
        break;
    case Type::RightUp:
        XTestFakeButtonEvent(x, 3, False, CurrentTime);
        break;
    }
    XFlush(x);
}

} // namespace halvic
