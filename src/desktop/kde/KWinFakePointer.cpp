#include "KWinFakePointer.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstring>

#include <wayland-client.h>

#include "Logging.h"
#include "fake-input-client-protocol.h"

namespace halvic {

namespace {

/// Absolute motion came with this version.
constexpr quint32 absoluteMotionVersion = 3;

/// KWin's fake input: absolute motion in the compositor's logical coordinates, and buttons.
class FakeInputProtocol final : public WaylandPointerProtocol
{
public:
    explicit FakeInputProtocol(std::function<void()> refused)
        : m_refused(std::move(refused))
        // Shown by a compositor that asks the user; translated here, on the main thread.
        , m_reason(QCoreApplication::translate("KWinFakePointer", "Hand gestures move and click the pointer").toUtf8())
    {
    }
    FakeInputProtocol(const FakeInputProtocol &) = delete;
    FakeInputProtocol &operator=(const FakeInputProtocol &) = delete;

    ~FakeInputProtocol() override
    {
        if (m_input)
            org_kde_kwin_fake_input_destroy(m_input);
    }

    void offer(wl_registry *registry, quint32 name, const char *interface, quint32 version) override
    {
        if (m_input || std::strcmp(interface, org_kde_kwin_fake_input_interface.name) != 0)
            return;
        m_offeredVersion = version;
        if (version >= absoluteMotionVersion)
            m_input = static_cast<org_kde_kwin_fake_input *>(
                wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface,
                    std::min(version, quint32(org_kde_kwin_fake_input_interface.version))));
    }

    bool create() override
    {
        if (!m_input) {
            refuse();
            return false;
        }
        org_kde_kwin_fake_input_authenticate(m_input, "Halvic HUD", m_reason.constData());
        return true;
    }

    void send(const PointerEvent &event, QPoint at, const QRect &) override
    {
        org_kde_kwin_fake_input_pointer_motion_absolute(m_input, wl_fixed_from_int(at.x()), wl_fixed_from_int(at.y()));
        if (const auto button = waylandButton(event.type))
            org_kde_kwin_fake_input_button(m_input, button->first, button->second);
    }

private:
    void refuse()
    {
        if (m_offeredVersion > 0)
            qCWarning(lcWindows) << "virtual pointer: KWin's fake input is version" << m_offeredVersion
                                 << "without absolute motion; gestures reach X11 applications only";
        else
            qCWarning(lcWindows)
                << "virtual pointer: KWin refused its fake input (the virtual pointer) to this program; gestures reach "
                   "X11 applications only. The installed package's desktop entry is what grants it "
                   "(X-KDE-Wayland-Interfaces)";
        if (m_refused)
            m_refused();
    }

    const std::function<void()> m_refused;
    const QByteArray m_reason;
    quint32 m_offeredVersion = 0;
    org_kde_kwin_fake_input *m_input = nullptr;
};

} // namespace

KWinFakePointer::KWinFakePointer(
    QByteArray display, double pixelsPerPoint, std::unique_ptr<PointerSink> fallback, std::function<void()> refused)
    : WaylandPointer(std::move(display), pixelsPerPoint, std::make_unique<FakeInputProtocol>(std::move(refused)),
        std::move(fallback))
{
}

std::unique_ptr<PointerSink> makeKWinFakePointer(
    double pixelsPerPoint, std::unique_ptr<PointerSink> fallback, std::function<void()> refused)
{
    return std::make_unique<KWinFakePointer>(QByteArray(), pixelsPerPoint, std::move(fallback), std::move(refused));
}

} // namespace halvic
