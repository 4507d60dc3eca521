#pragma once

#include <QString>

namespace halvic {

class AppModel;
class EventDispatcher;

/// Registers the engine-state, transcript, background-task and layout rows that act on
/// `model` (they end with the model).
void registerModelRows(EventDispatcher &dispatcher, AppModel &model);

/// What the engine link's lifecycle means for the model.
namespace enginestatus {
/// A process was launched and runs.
void started(AppModel &model);
/// The user (or a restart) stopped the engine: off at once, its agents gone.
void stopped(AppModel &model);
/// The engine exited by itself: off, and its background agents are gone with it.
void exited(AppModel &model);
/// The engine could not be launched; the user reads why in the transcript.
void launchFailed(AppModel &model, const QString &reason);
} // namespace enginestatus

} // namespace halvic
