#pragma once

#include <QString>

namespace halvic {

class AppModel;

/// What the engine link's lifecycle means for the model.
namespace enginestatus {
/// A process was launched and runs.
void started(AppModel &model);
/// The user (or a restart) stopped the engine: off at once, its agents gone.
void stopped(AppModel &model);
/// The engine exited by itself: off, and its background agents are gone with it.
void exited(AppModel &model);
/// The engine exited by itself: `summary` goes to the transcript, `details` (its status and
/// last error lines) stays with the "off" state until the next start.
void exitedByItself(AppModel &model, const QString &summary, const QString &details);
/// The engine could not be launched; the user reads why in the transcript, and where the HUD
/// looked for it (`root`) with how to point it elsewhere.
void launchFailed(AppModel &model, const QString &reason, const QString &root);
} // namespace enginestatus

} // namespace halvic
