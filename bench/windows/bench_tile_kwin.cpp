// Time from a "window" tile command for three running native Wayland windows to the last
// window at its frame, against the same three moves made by one hand-written KWin script
// loaded and run with dbus-send, in one run on a private headless KWin. Frames are read back
// through a second script channel of ours. Prints medians and their ratio.
// Usage: bench_tile_kwin [rounds]

#include <QJsonArray>

#include <algorithm>
#include <cstdio>

#include "KWinScript.h"
#include "KWinSession.h"
#include "KWinWindowSystem.h"
#include "TileRounds.h"

using namespace halvic;
using testing::KWinSession;

namespace {

/// Waits until each probe's window has its frame; milliseconds since `start`, or -1 after 5 s.
double untilInPlace(kwin::Script &reader, const QList<QRect> &frames, const QElapsedTimer &start)
{
    while (start.elapsed() < 5000) {
        const auto answer = reader.request({{QStringLiteral("op"), QStringLiteral("list")}});
        const QList<kwin::Window> all = answer ? kwin::windowsOf(answer->toArray()) : QList<kwin::Window>();
        const bool placed = std::ranges::all_of(bench::TileRounds::apps, [&](const QString &name) {
            const auto w = std::ranges::find(all, name, &kwin::Window::resourceClass);
            return w != all.end() && w->frame == frames.at(bench::TileRounds::apps.indexOf(name));
        });
        if (placed)
            return double(start.nsecsElapsed()) / 1e6;
    }
    return -1;
}

/// The three moves as one script of KWin's, loaded, run and unloaded with dbus-send.
void theirMoves(KWinSession &session, const QList<QRect> &frames, int round)
{
    QString body
        = QStringLiteral("const list = workspace.windowList ? workspace.windowList() : workspace.clientList();\n");
    for (qsizetype i = 0; i < bench::TileRounds::apps.size(); ++i) {
        const QRect f = frames.at(i);
        body += QStringLiteral("list.filter(w => w.resourceClass == \"%1\").forEach(w => w.frameGeometry = "
                               "{x: %2, y: %3, width: %4, height: %5});\n")
                    .arg(bench::TileRounds::apps.at(i))
                    .arg(f.x())
                    .arg(f.y())
                    .arg(f.width())
                    .arg(f.height());
    }
    const QString path = session.folder(QStringLiteral("moves-%1.js").arg(round));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(body.toUtf8()) < 0)
        return;
    file.close();
    const QProcessEnvironment env = session.environment();
    const QString name = QStringLiteral("string:bench-%1").arg(round);
    const QByteArray loaded = testing::runTool(env, QStringLiteral("dbus-send"),
        {"--session", "--print-reply", "--dest=org.kde.KWin", "/Scripting", "org.kde.kwin.Scripting.loadScript",
            "string:" + path, name});
    const QString id = QString::fromLatin1(loaded).section(QStringLiteral("int32 "), 1).trimmed();
    testing::runTool(env, QStringLiteral("dbus-send"),
        {"--session", "--print-reply", "--dest=org.kde.KWin", "/" + id, "org.kde.kwin.Script.run"});
    testing::runTool(env, QStringLiteral("dbus-send"),
        {"--session", "--print-reply", "--dest=org.kde.KWin", "/Scripting", "org.kde.kwin.Scripting.unloadScript",
            name});
}

} // namespace

int main(int argc, char **argv)
{
    KWinSession session;
    if (!session.ok()) {
        std::fprintf(stderr, "bench_tile_kwin: no KWin: %s\n", qPrintable(session.error()));
        return 1;
    }
    // Our screens come from XWayland, as the HUD's do.
    qputenv("DISPLAY", session.x11Display().toLocal8Bit());
    qputenv("XAUTHORITY", session.x11Authority().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication app(argc, argv);
    const int roundCount = argc > 1 ? std::max(1, atoi(argv[1])) : 21;

    bench::TileRounds::startWindows(session);
    if (!KWinSession::waitFor([&] { return session.windows().size() == 3; })) {
        std::fprintf(stderr, "bench_tile_kwin: the windows did not appear\n");
        return 1;
    }
    kwin::Script reader(session.busAddress());
    bench::TileRounds rounds(std::make_unique<KWinWindowSystem>(std::make_shared<kwin::Script>(session.busAddress())),
        [&](const QList<QRect> &frames, const QElapsedTimer &start) { return untilInPlace(reader, frames, start); });
    // Untimed: the script channels start, once.
    if (rounds.ours(360) < 0) {
        std::fprintf(stderr, "bench_tile_kwin: the first tile did not land\n");
        return 1;
    }
    int round = 0;
    return rounds.compare("tile of three native windows on KWin", "KWin script over dbus-send", roundCount,
        [&](const QList<QRect> &frames) { theirMoves(session, frames, ++round); });
}
