// libFuzzer target: tracker datagrams through decoding into a live gesture controller, with
// a recorded pointer and in-memory windows (nothing reaches the desktop the fuzzer runs on).
// Datagrams are separated by NUL bytes; the byte after each separator moves the manual clock,
// so the watchdog, the flash and the pulse run in between. Whatever arrives, the left button
// is never pressed twice without a release, every posted point lies on the display, and
// switching off leaves it up.

#include <QCoreApplication>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "FakeDesktop.h"
#include "GestureController.h"
#include "GestureMessage.h"
#include "Scheduler.h"

namespace {

using halvic::PointerEvent;

struct Harness
{
    int argc = 1;
    char name[14] = "fuzz_gestures";
    char *argv[2] = {name, nullptr};
    QCoreApplication app{argc, argv};
    halvic::ManualScheduler clock;
    halvic::testing::RecordingPointer pointer;
    halvic::testing::FakeWindows windows;
    std::unique_ptr<halvic::GestureController> controller;

    Harness()
    {
        halvic::GestureDesktop desktop;
        desktop.screens = [] {
            halvic::ScreenInfo screen;
            screen.frame = QRectF(0, 0, 1280, 800);
            screen.visibleFrame = QRectF(0, 24, 1280, 776);
            screen.displayID = 1;
            return QList<halvic::ScreenInfo>{screen};
        };
        desktop.overHud = [](QPointF p) { return p.x() < 100 && p.y() < 100; };
        controller = std::make_unique<halvic::GestureController>(clock, pointer, windows, desktop);
    }
};

void check(const std::vector<PointerEvent> &events, bool &held)
{
    for (const PointerEvent &event : events) {
        if (event.position.x() < 0 || event.position.x() > 1280 || event.position.y() < 0 || event.position.y() > 800)
            __builtin_trap();
        if (event.type == PointerEvent::Type::LeftDown) {
            if (held)
                __builtin_trap();
            held = true;
        } else if (event.type == PointerEvent::Type::LeftUp) {
            if (!held)
                __builtin_trap();
            held = false;
        } else if (event.type == PointerEvent::Type::LeftDrag && !held) {
            __builtin_trap();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static Harness harness;
    harness.windows.frontToBack = {{1, {200, 200, 400, 300}}, {2, {0, 0, 1280, 800}}};
    harness.pointer.events.clear();
    harness.controller->setEnabled(true);
    bool held = false;
    const auto *bytes = reinterpret_cast<const char *>(data);
    std::size_t start = 0;
    for (std::size_t i = 0; i <= size; ++i) {
        if (i < size && bytes[i] != '\0')
            continue;
        if (const auto message = halvic::gestures::decode(QByteArrayView(bytes + start, qsizetype(i - start))))
            harness.controller->handle(*message);
        if (i + 1 < size) {
            harness.clock.advance(std::chrono::milliseconds(std::uint8_t(bytes[i + 1]) * 4));
            ++i;
        }
        start = i + 1;
    }
    harness.controller->setEnabled(false);
    check(harness.pointer.events, held);
    if (held || harness.controller->owner())
        __builtin_trap();
    return 0;
}
