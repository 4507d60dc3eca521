// libFuzzer target: engine output bytes through framing and dispatch into a live AppModel
// and the window row. Windows go to the null window system: whatever the fuzzer makes of
// a window command, it can never reach the windows of the desktop it runs on.
// The first input byte picks the chunk size, so lines also arrive split across chunks.
// Run with -close_fd_mask=2: the engine link copies plain lines to standard error.

#include <QCoreApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "AppModel.h"
#include "Engine.h"
#include "EventDispatcher.h"
#include "Line.h"
#include "Scheduler.h"
#include "WindowCommands.h"

namespace {

struct Harness
{
    int argc = 1;
    char name[12] = "fuzz_ingest";
    char *argv[2] = {name, nullptr};
    QCoreApplication app{argc, argv};
    QTemporaryDir root;
    halvic::ManualScheduler scheduler;
    halvic::AppModel model{scheduler};
    halvic::EventDispatcher dispatcher;
    halvic::WindowCommands windows{std::make_unique<halvic::NullWindowSystem>()};
    halvic::Engine engine{dispatcher, scheduler, halvic::Engine::Locations::underRoot(root.path())};

    Harness()
    {
        model.registerRows(dispatcher);
        windows.registerRows(dispatcher);
        QObject::connect(&windows, &halvic::WindowCommands::told, &model,
            [this](const QString &message) { model.push(halvic::speaker::tarvel, message); });
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static Harness harness;
    if (size == 0)
        return 0;
    const std::size_t chunk = std::size_t(data[0] % 64) + 1;
    const auto *bytes = reinterpret_cast<const char *>(data + 1);
    std::size_t remaining = size - 1;
    while (remaining > 0) {
        const std::size_t take = std::min(chunk, remaining);
        harness.engine.ingest(QByteArrayView(bytes, qsizetype(take)));
        bytes += take;
        remaining -= take;
    }
    // Let timed removals run too.
    harness.scheduler.advance(std::chrono::seconds(2));
    if (harness.model.transcript()->lines().size() > halvic::AppModel::maxTranscriptLines)
        __builtin_trap();
    return 0;
}
