#include "WindowSystem.h"

#include <QProcess>

namespace halvic {

void WindowSystem::setFrame(WindowId window, const QRect &frame)
{
    setPosition(window, frame.topLeft());
    setSize(window, frame.size());
    setPosition(window, frame.topLeft());
    setSize(window, frame.size());
}

std::optional<qint64> launchDetached(
    const QString &program, const QStringList &arguments, const QString &workingDirectory)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(workingDirectory);
    // The started application is not the HUD's to log, and may outlive it: it gets none of the
    // HUD's streams (a pipe it held open would keep whoever reads the HUD's output waiting).
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    qint64 pid = 0;
    if (!process.startDetached(&pid))
        return std::nullopt;
    return pid;
}

} // namespace halvic
