#include "StateLabel.h"

#include <QCoreApplication>

namespace halvic {

QString stateLabel(const QString &state, const QString &bootStage, bool running, bool muted, bool recording,
    std::optional<Enrollment> enrolling)
{
    if (state == QLatin1StringView("booting"))
        return bootStage.isEmpty() ? QCoreApplication::translate("StateLabel", "starting up…") : bootStage;
    if (!running)
        return QCoreApplication::translate("StateLabel", "offline");
    if (state == QLatin1StringView("restarting"))
        return QCoreApplication::translate("StateLabel", "Restarting…");
    if (muted)
        return QCoreApplication::translate("StateLabel", "muted");
    if (recording)
        return QCoreApplication::translate("StateLabel", "recording — taking notes");
    if (enrolling)
        return QCoreApplication::translate("StateLabel", "learning your voice %1/%2")
            .arg(enrolling->n)
            .arg(enrolling->total);
    if (state == QLatin1StringView("listening"))
        return QCoreApplication::translate("StateLabel", "listening…");
    if (state == QLatin1StringView("thinking"))
        return QCoreApplication::translate("StateLabel", "thinking…");
    if (state == QLatin1StringView("speaking"))
        return QCoreApplication::translate("StateLabel", "speaking…");
    return QCoreApplication::translate("StateLabel", "ready");
}

} // namespace halvic
