#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <optional>

#include "HudSession.h"

namespace halvic::testing {

/// Drags `paths` from another X client (tests/cards/halvic-drag-source, which uses the
/// desktop's drag and drop as a file manager does) and lets go at `drop`, with the real
/// pointer. Returns the source client; it prints "copied" or "ignored" once the drop is over.
inline QProcess *dragFiles(HudSession &session, const QStringList &paths, QPoint drop)
{
    // The session's environment: an X client on the session's display, whatever platform
    // the test itself runs on.
    QProcess &source = session.x().startClient(
        qEnvironmentVariable("HALVIC_BINARY_DIR") + QStringLiteral("/tests/cards/halvic-drag-source"), paths,
        session.environment());
    std::optional<QRect> from;
    const auto findSource = [&] {
        const QString id = QString::fromLatin1(session.run(QStringLiteral("xdotool"),
                                                   {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                                       QStringLiteral("--name"), QStringLiteral("halvic drag source")}))
                               .section(u'\n', 0, 0)
                               .trimmed();
        if (id.isEmpty())
            return false;
        const QString info = QString::fromLatin1(session.run(QStringLiteral("xwininfo"), {QStringLiteral("-id"), id}));
        const auto field = [&](const char *name) {
            return QRegularExpression(QLatin1StringView(name) + QStringLiteral(":\\s+(-?\\d+)"))
                .match(info)
                .captured(1)
                .toInt();
        };
        from = QRect(field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"), field("Height"));
        return true;
    };
    if (!HudSession::waitFor(findSource, 10000))
        return nullptr;
    QTest::qWait(300);
    // Press on the source, carry the files over in steps, let go.
    const QPoint start = from->center();
    session.xdotool({QStringLiteral("mousemove"), QString::number(start.x()), QString::number(start.y()),
        QStringLiteral("mousedown"), QStringLiteral("1")});
    QTest::qWait(200);
    for (int step = 1; step <= 12; ++step) {
        const QPoint at = start + (drop - start) * step / 12;
        session.xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y())});
        QTest::qWait(60);
    }
    QTest::qWait(300);
    session.xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
    return &source;
}

/// Copies `paths` to the clipboard from another X client, as a file manager does; the
/// client serves the clipboard until the session ends. False when it did not say it copied.
inline bool copyFiles(HudSession &session, const QStringList &paths)
{
    QProcess &source = session.x().startClient(
        qEnvironmentVariable("HALVIC_BINARY_DIR") + QStringLiteral("/tests/cards/halvic-drag-source"),
        QStringList{QStringLiteral("--copy")} + paths, session.environment());
    return HudSession::waitFor([&] { return source.canReadLine(); }, 10000) && source.readLine().trimmed() == "copied";
}

/// What the drag source said of its drop ("copied", "ignored"), or "" when it said nothing.
inline QByteArray dropOutcome(QProcess &source)
{
    HudSession::waitFor([&] { return source.canReadLine(); }, 5000);
    return source.readLine().trimmed();
}

/// Writes small files named `names` into the session's engine root; their paths.
inline QStringList sampleFiles(const HudSession &session, const QStringList &names)
{
    QStringList paths;
    for (const QString &name : names) {
        QFile out(session.root().file(name));
        if (out.open(QIODevice::WriteOnly))
            out.write("contents");
        paths << out.fileName();
    }
    return paths;
}

} // namespace halvic::testing
