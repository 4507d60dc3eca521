#include "StateLabel.h"

namespace halvic {

QString stateLabel(const QString &state, const QString &bootStage, bool running, bool muted, bool recording,
    std::optional<Enrollment> enrolling)
{
    if (state == QLatin1StringView("booting"))
        return bootStage.isEmpty() ? QStringLiteral("starting up…") : bootStage;
    if (!running)
        return QStringLiteral("offline");
    if (state == QLatin1StringView("restarting"))
        return QStringLiteral("Restarting…");
    if (muted)
        return QStringLiteral("muted");
    if (recording)
        return QStringLiteral("recording — taking notes");
    if (enrolling)
        return QStringLiteral("learning your voice %1/%2").arg(enrolling->n).arg(enrolling->total);
    if (state == QLatin1StringView("listening"))
        return QStringLiteral("listening…");
    if (state == QLatin1StringView("thinking"))
        return QStringLiteral("thinking…");
    if (state == QLatin1StringView("speaking"))
        return QStringLiteral("speaking…");
    return QStringLiteral("ready");
}

} // namespace halvic
