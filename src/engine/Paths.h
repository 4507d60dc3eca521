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
/// root + ".venv/bin/python"
QString python();
/// root + "main.py"
QString engine();
/// root + "control"
QString control();

/// What root resolution looks at; separated out so the rules can be tested.
struct RootInputs
{
    std::optional<QString> voiceDirVariable; ///< TARVEL_VOICE_DIR, when present at all
    QString programPath;                     ///< how the program was started (argv[0] or the executable)
    QString currentDirectory;
    QString homeDirectory;
};

/// The three rules: the variable when present; else five folders above the resolved program
/// path when it holds "main.py"; else ~/devFolder/Movrek/tarvel-voice.
QString resolveRoot(const RootInputs &inputs);

} // namespace Paths
} // namespace halvic
