#pragma once

namespace halvic {

class AppModel;
class Engine;

/// Shows the engine link's lifecycle in the model: running on start, off on a stop, off and
/// without agents when it exits, the reason in the transcript when it cannot be launched.
void showEngineInModel(Engine &engine, AppModel &model);

} // namespace halvic
