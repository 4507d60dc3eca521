#include "WaylandPointer.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstring>
#include <deque>
#include <list>
#include <mutex>
#include <thread>

#include <linux/input-event-codes.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <wayland-client.h>

#include "Logging.h"
#include "xdg-output-unstable-v1-client-protocol.h"

namespace halvic {

namespace {

using Clock = std::chrono::steady_clock;

/// How long connecting may take before the fallback takes over.
constexpr auto setupTimeout = std::chrono::seconds(5);
/// Events kept while connecting; consecutive moves collapse into the latest.
constexpr std::size_t pendingLimit = 256;

struct FileDescriptor
{
    int fd = -1;
    ~FileDescriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

std::optional<std::pair<quint32, quint32>> waylandButton(PointerEvent::Type type)
{
    using Type = PointerEvent::Type;
    switch (type) {
    case Type::LeftDown:
        return std::pair{quint32(BTN_LEFT), quint32(WL_POINTER_BUTTON_STATE_PRESSED)};
    case Type::LeftUp:
        return std::pair{quint32(BTN_LEFT), quint32(WL_POINTER_BUTTON_STATE_RELEASED)};
    case Type::RightDown:
        return std::pair{quint32(BTN_RIGHT), quint32(WL_POINTER_BUTTON_STATE_PRESSED)};
    case Type::RightUp:
        return std::pair{quint32(BTN_RIGHT), quint32(WL_POINTER_BUTTON_STATE_RELEASED)};
    case Type::Move:
    case Type::LeftDrag:
        break;
    }
    return std::nullopt;
}

struct WaylandPointer::Connection
{
    /// One output and its place in the compositor's layout.
    struct Output
    {
        Connection *owner = nullptr;
        quint32 name = 0;
        wl_output *output = nullptr;
        zxdg_output_v1 *logical = nullptr;
        QRect rect;
    };

    Connection(QByteArray name, double pointScale, std::unique_ptr<WaylandPointerProtocol> device,
        std::unique_ptr<PointerSink> other)
        : displayName(std::move(name))
        , pixelsPerPoint(pointScale > 0 ? pointScale : 1.0)
        , fallback(std::move(other))
        , protocol(std::move(device))
        , wake{::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)}
        , worker([this] { run(); })
    {
    }

    ~Connection()
    {
        stopping = true;
        const quint64 one = 1;
        if (wake.fd >= 0 && ::write(wake.fd, &one, sizeof one) < 0)
            qCWarning(lcWindows) << "virtual pointer: cannot wake its thread:" << std::strerror(errno);
        worker.join();
        protocol.reset(); // its objects go while the connection is still open
        for (Output &output : outputs)
            forget(output);
        if (outputManager)
            zxdg_output_manager_v1_destroy(outputManager);
        if (registry)
            wl_registry_destroy(registry);
        if (display) {
            wl_display_flush(display);
            wl_display_disconnect(display);
        }
    }

    void post(const PointerEvent &event)
    {
        std::scoped_lock lock(mutex);
        deliver(event);
    }

    void run()
    {
        const bool ready = setUp();
        settle(ready ? State::Ready : State::Unavailable);
        if (!ready)
            return;
        // From here on the thread only reads: output changes, errors and the compositor's end.
        while (readOnce(-1)) { }
        if (!stopping) {
            std::scoped_lock lock(mutex);
            state = State::Gone;
            qCWarning(lcWindows) << "virtual pointer: the compositor went away; gestures no longer move the pointer";
        }
    }

    bool setUp()
    {
        if (wake.fd < 0)
            return false;
        display = wl_display_connect(displayName.isEmpty() ? nullptr : displayName.constData());
        if (!display)
            return false;
        registry = wl_display_get_registry(display);
        wl_registry_add_listener(registry, &registryListener, this);
        const auto deadline = Clock::now() + setupTimeout;
        if (!roundtrip(deadline))
            return false;
        {
            std::scoped_lock lock(mutex);
            if (!outputManager)
                return false;
            for (Output &output : outputs)
                if (!output.logical)
                    watch(output);
        }
        // Without the lock: nothing else touches the protocol before Ready, and what it calls
        // back may post.
        if (!protocol->create())
            return false;
        // Brings the outputs' places, and shows a refused device as an error.
        return roundtrip(deadline) && wl_display_get_error(display) == 0;
    }

    /// Waits for the compositor to have handled everything sent so far.
    bool roundtrip(Clock::time_point deadline)
    {
        bool done = false;
        wl_callback *callback = wl_display_sync(display);
        wl_callback_add_listener(callback, &syncListener, &done);
        while (!done) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0 || !readOnce(int(left)))
                break;
        }
        wl_callback_destroy(callback);
        return done;
    }

    /// Reads and handles what the compositor sent; false on an error, its hanging up, a stop
    /// or the timeout.
    bool readOnce(int timeoutMs)
    {
        while (wl_display_prepare_read(display) != 0)
            if (wl_display_dispatch_pending(display) < 0)
                return false;
        if (wl_display_flush(display) < 0 && errno != EAGAIN) {
            wl_display_cancel_read(display);
            return false;
        }
        pollfd fds[] = {{wl_display_get_fd(display), POLLIN, 0}, {wake.fd, POLLIN, 0}};
        int ready = 0;
        do
            ready = ::poll(fds, 2, timeoutMs);
        while (ready < 0 && errno == EINTR);
        if (ready <= 0 || fds[1].revents != 0) {
            wl_display_cancel_read(display);
            return false;
        }
        return wl_display_read_events(display) == 0 && wl_display_dispatch_pending(display) >= 0;
    }

    void settle(State settled)
    {
        std::scoped_lock lock(mutex);
        state = settled;
        if (settled == State::Ready)
            qCInfo(lcWindows) << "virtual pointer: ready";
        else
            qCInfo(lcWindows).nospace() << "virtual pointer: the compositor offers none"
                                        << (fallback ? "; XTest on XWayland instead" : "");
        const std::deque<PointerEvent> waiting = std::exchange(pending, {});
        for (const PointerEvent &event : waiting)
            deliver(event);
    }

    /// With `mutex` held.
    void deliver(const PointerEvent &event)
    {
        switch (state) {
        case State::Connecting:
            if (event.type == PointerEvent::Type::Move && !pending.empty() && pending.back().type == event.type)
                pending.back() = event;
            else if (pending.size() < pendingLimit)
                pending.push_back(event);
            break;
        case State::Ready:
            send(event);
            break;
        case State::Unavailable:
            if (fallback)
                fallback->post(event);
            break;
        case State::Gone:
            break;
        }
    }

    /// With `mutex` held: the event at its point of the layout, kept inside the outputs' box.
    void send(const PointerEvent &event)
    {
        const QRect layout = layoutBox();
        if (layout.isEmpty() || wl_display_get_error(display) != 0)
            return;
        const auto along = [this](int point, int first, int last) {
            return int(std::clamp(std::lround(point * pixelsPerPoint), long(first), long(last)));
        };
        const QPoint at(along(event.position.x(), layout.left(), layout.right()),
            along(event.position.y(), layout.top(), layout.bottom()));
        protocol->send(event, at, layout);
        // Never blocks: what the socket does not take now goes with the next flush.
        wl_display_flush(display);
    }

    /// With `mutex` held: the bounding box of the outputs.
    QRect layoutBox() const
    {
        QRect box;
        for (const Output &output : outputs)
            box = box.united(output.rect);
        return box;
    }

    /// With `mutex` held.
    void watch(Output &output)
    {
        output.logical = zxdg_output_manager_v1_get_xdg_output(outputManager, output.output);
        zxdg_output_v1_add_listener(output.logical, &outputListener, &output);
    }

    static void forget(Output &output)
    {
        if (output.logical)
            zxdg_output_v1_destroy(output.logical);
        wl_output_destroy(output.output);
    }

    void addGlobal(quint32 name, const char *interface, quint32 version)
    {
        std::scoped_lock lock(mutex);
        const auto is = [interface](const wl_interface &known) { return std::strcmp(interface, known.name) == 0; };
        if (is(zxdg_output_manager_v1_interface) && !outputManager) {
            outputManager = static_cast<zxdg_output_manager_v1 *>(
                wl_registry_bind(registry, name, &zxdg_output_manager_v1_interface, std::min(version, 2u)));
        } else if (is(wl_output_interface)) {
            Output &output = outputs.emplace_back();
            output.owner = this;
            output.name = name;
            output.output = static_cast<wl_output *>(wl_registry_bind(registry, name, &wl_output_interface, 1));
            if (outputManager)
                watch(output);
        } else {
            protocol->offer(registry, name, interface, version);
        }
    }

    void removeGlobal(quint32 name)
    {
        std::scoped_lock lock(mutex);
        const auto gone = std::find_if(
            outputs.begin(), outputs.end(), [name](const Output &output) { return output.name == name; });
        if (gone == outputs.end())
            return;
        forget(*gone);
        outputs.erase(gone);
    }

    /// Applies a change of an output's place, from its listener.
    template <typename Change>
    static void changeOutput(void *data, Change change)
    {
        auto *output = static_cast<Output *>(data);
        std::scoped_lock lock(output->owner->mutex);
        change(output->rect);
    }

    static const wl_registry_listener registryListener;
    static const wl_callback_listener syncListener;
    static const zxdg_output_v1_listener outputListener;

    const QByteArray displayName;
    const double pixelsPerPoint;
    const std::unique_ptr<PointerSink> fallback;

    mutable std::mutex mutex;
    State state = State::Connecting;
    std::deque<PointerEvent> pending;
    std::list<Output> outputs; // stable addresses: each is its listener's data

    wl_display *display = nullptr;
    wl_registry *registry = nullptr;
    zxdg_output_manager_v1 *outputManager = nullptr;
    std::unique_ptr<WaylandPointerProtocol> protocol;
    std::atomic<bool> stopping = false;
    const FileDescriptor wake;
    std::thread worker; // last: started once everything it uses exists
};

const wl_registry_listener WaylandPointer::Connection::registryListener{
    .global = [](void *data, wl_registry *, uint32_t name, const char *interface,
                  uint32_t version) { static_cast<Connection *>(data)->addGlobal(name, interface, version); },
    .global_remove
    = [](void *data, wl_registry *, uint32_t name) { static_cast<Connection *>(data)->removeGlobal(name); },
};

const wl_callback_listener WaylandPointer::Connection::syncListener{
    .done = [](void *data, wl_callback *, uint32_t) { *static_cast<bool *>(data) = true; },
};

const zxdg_output_v1_listener WaylandPointer::Connection::outputListener{
    .logical_position = [](void *data, zxdg_output_v1 *, int32_t x,
                            int32_t y) { changeOutput(data, [&](QRect &rect) { rect.moveTo(x, y); }); },
    .logical_size = [](void *data, zxdg_output_v1 *, int32_t width,
                        int32_t height) { changeOutput(data, [&](QRect &rect) {
                                              rect.setSize({width, height});
                                          }); },
    .done = [](void *, zxdg_output_v1 *) {},
    .name = [](void *, zxdg_output_v1 *, const char *) {},
    .description = [](void *, zxdg_output_v1 *, const char *) {},
};

WaylandPointer::WaylandPointer(QByteArray display, double pixelsPerPoint,
    std::unique_ptr<WaylandPointerProtocol> protocol, std::unique_ptr<PointerSink> fallback)
    : m_connection(
        std::make_unique<Connection>(std::move(display), pixelsPerPoint, std::move(protocol), std::move(fallback)))
{
}

WaylandPointer::~WaylandPointer() = default;

void WaylandPointer::post(const PointerEvent &event)
{
    m_connection->post(event);
}

WaylandPointer::State WaylandPointer::state() const
{
    std::scoped_lock lock(m_connection->mutex);
    return m_connection->state;
}

} // namespace halvic
