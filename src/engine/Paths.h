#pragma once

#include <QString>

#include <functional>
#include <optional>

namespace halvic {

/// Where the engine lives: its root folder, interpreter, script and control folder.
/// The one place that decides these locations.
namespace Paths {

/// The engine root, resolved on first use (thread-safe) and cached for the process.
QString root();
/// Sets the root for this run (the --engine command-line option), ahead of every other rule.
/// Only takes effect before root() is first asked for.
void setRootOption(const QString &dir);
/// The root given with setRootOption, if any.
std::optional<QString> rootOption();
/// root + ".venv/bin/python"
QString python();
/// root + "main.py"
QString engine();
/// root + "control"
QString control();

/// What root resolution looks at; separated out so the rules can be tested.
struct RootInputs
{
    std::optional<QString> engineOption;     ///< --engine DIR, for this run only
    std::optional<QString> voiceDirVariable; ///< TARVEL_VOICE_DIR, when present at all
    QString programPath;                     ///< how the program was started (argv[0] or the executable)
    QString currentDirectory;
    QString homeDirectory;
};

/// --engine when given; then the three rules: the variable when present; else five folders above the resolved program
/// path when it holds "main.py"; else ~/devFolder/Movrek/tarvel-voice.
QString resolveRoot(const RootInputs &inputs);

} // namespace Paths
} // namespace halvic
