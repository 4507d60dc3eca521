#include "Paths.h"

#include <QDir>
#include <QFileInfo>

namespace halvic::Paths {

namespace {

QString absoluteIn(const QString &base, const QString &path)
{
    return QDir::cleanPath(QDir(base).absoluteFilePath(path));
}

// Symbolic links resolved where the path exists; a path that does not exist stays as given.
QString withLinksResolved(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

QString currentProgramPath()
{
    // /proc/self/exe is the started program with its links resolved; argv[0] can be a bare
    // name found through PATH.
    const QString exe = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    return exe.isEmpty() ? QString() : exe;
}

std::optional<QString> &rootOptionStore()
{
    static std::optional<QString> option;
    return option;
}

} // namespace

QString resolveRoot(const RootInputs &inputs)
{
    if (inputs.engineOption)
        return withLinksResolved(absoluteIn(inputs.currentDirectory, *inputs.engineOption));
    if (inputs.voiceDirVariable)
        return withLinksResolved(absoluteIn(inputs.currentDirectory, *inputs.voiceDirVariable));

    if (!inputs.programPath.isEmpty()) {
        QString folder = withLinksResolved(absoluteIn(inputs.currentDirectory, inputs.programPath));
        for (int i = 0; i < 5; ++i)
            folder = QFileInfo(folder).path();
        if (QFileInfo(QDir(folder).filePath(QStringLiteral("main.py"))).exists())
            return folder;
    }
    return QDir(inputs.homeDirectory).filePath(QStringLiteral("devFolder/Movrek/tarvel-voice"));
}

QString root()
{
    static const QString resolved = [] {
        RootInputs inputs;
        inputs.engineOption = rootOptionStore();
        if (qEnvironmentVariableIsSet("TARVEL_VOICE_DIR"))
            inputs.voiceDirVariable = qEnvironmentVariable("TARVEL_VOICE_DIR");
        inputs.programPath = currentProgramPath();
        inputs.currentDirectory = QDir::currentPath();
        inputs.homeDirectory = QDir::homePath();
        return resolveRoot(inputs);
    }();
    return resolved;
}

void setRootOption(const QString &dir)
{
    rootOptionStore() = dir;
}

std::optional<QString> rootOption()
{
    return rootOptionStore();
}

QString python()
{
    return QDir(root()).filePath(QStringLiteral(".venv/bin/python"));
}

QString engine()
{
    return QDir(root()).filePath(QStringLiteral("main.py"));
}

QString control()
{
    return QDir(root()).filePath(QStringLiteral("control"));
}

} // namespace halvic::Paths
