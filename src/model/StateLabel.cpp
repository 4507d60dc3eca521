#include "StateLabel.h"

namespace halvic {

QString stateLabel(EngineState state, const QString &bootStage, bool running, bool muted, bool recording,
    std::optional<Enrollment> enrolling)
{
    if (state == EngineState::Booting)
        return bootStage.isEmpty() ? QStringLiteral("starting up…") : bootStage;
    if (!running)
        return QStringLiteral("offline");
    if (state == EngineState::Restarting)
        return QStringLiteral("Restarting…");
    if (muted)
        return QStringLiteral("muted");
    if (recording)
        return QStringLiteral("recording — taking notes");
    if (enrolling)
        return QStringLiteral("learning your voice %1/%2").arg(enrolling->n).arg(enrolling->total);
    if (state == EngineState::Listening)
        return QStringLiteral("listening…");
    if (state == EngineState::Thinking)
        return QStringLiteral("thinking…");
    if (state == EngineState::Speaking)
        return QStringLiteral("speaking…");
    return QStringLiteral("ready");
}

} // namespace halvic
