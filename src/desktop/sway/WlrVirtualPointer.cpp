#include "WlrVirtualPointer.h"

#include <chrono>
#include <cstring>

#include <wayland-client.h>

#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

namespace halvic {

namespace {

quint32 timestamp()
{
    return quint32(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count());
}

/// The wlroots virtual pointer: absolute motion spans the outputs' box, each event closed by
/// a frame.
class WlrProtocol final : public WaylandPointerProtocol
{
public:
    WlrProtocol() = default;
    WlrProtocol(const WlrProtocol &) = delete;
    WlrProtocol &operator=(const WlrProtocol &) = delete;

    ~WlrProtocol() override
    {
        if (m_pointer)
            zwlr_virtual_pointer_v1_destroy(m_pointer);
        if (m_manager)
            zwlr_virtual_pointer_manager_v1_destroy(m_manager);
    }

    void offer(wl_registry *registry, quint32 name, const char *interface, quint32) override
    {
        if (!m_manager && std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
            m_manager = static_cast<zwlr_virtual_pointer_manager_v1 *>(
                wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
    }

    bool create() override
    {
        if (m_manager)
            m_pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(m_manager, nullptr);
        return m_pointer != nullptr;
    }

    void send(const PointerEvent &event, QPoint at, const QRect &layout) override
    {
        const quint32 time = timestamp();
        zwlr_virtual_pointer_v1_motion_absolute(m_pointer, time, quint32(at.x() - layout.x()),
            quint32(at.y() - layout.y()), quint32(layout.width()), quint32(layout.height()));
        zwlr_virtual_pointer_v1_frame(m_pointer);
        if (const auto button = waylandButton(event.type)) {
            zwlr_virtual_pointer_v1_button(m_pointer, time, button->first, button->second);
            zwlr_virtual_pointer_v1_frame(m_pointer);
        }
    }

private:
    zwlr_virtual_pointer_manager_v1 *m_manager = nullptr;
    zwlr_virtual_pointer_v1 *m_pointer = nullptr;
};

} // namespace

WlrVirtualPointer::WlrVirtualPointer(QByteArray display, double pixelsPerPoint, std::unique_ptr<PointerSink> fallback)
    : WaylandPointer(std::move(display), pixelsPerPoint, std::make_unique<WlrProtocol>(), std::move(fallback))
{
}

} // namespace halvic
