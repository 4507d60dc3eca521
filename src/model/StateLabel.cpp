#include "StateLabel.h"

#include <QCoreApplication>

namespace halvic {

QString stateLabel(EngineState state, const QString &bootStage, bool running, bool muted, bool recording,
    std::optional<Enrollment> enrolling)
{
    if (state == EngineState::Booting)
        return bootStage.isEmpty() ? QCoreApplication::translate("StateLabel", "starting up…") : bootStage;
    if (!running)
        return QCoreApplication::translate("StateLabel", "offline");
    if (state == EngineState::Restarting)
        return QCoreApplication::translate("StateLabel", "Restarting…");
    if (muted)
        return QCoreApplication::translate("StateLabel", "muted");
    if (recording)
        return QCoreApplication::translate("StateLabel", "recording — taking notes");
    if (enrolling)
        return QCoreApplication::translate("StateLabel", "learning your voice %1/%2")
            .arg(enrolling->n)
            .arg(enrolling->total);
    if (state == EngineState::Listening)
        return QCoreApplication::translate("StateLabel", "listening…");
    if (state == EngineState::Thinking)
        return QCoreApplication::translate("StateLabel", "thinking…");
    if (state == EngineState::Speaking)
        return QCoreApplication::translate("StateLabel", "speaking…");
    return QCoreApplication::translate("StateLabel", "ready");
}

} // namespace halvic
