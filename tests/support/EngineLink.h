#pragma once

#include "AppModel.h"
#include "Engine.h"
#include "EngineWiring.h"
#include "EventDispatcher.h"
#include "ModelRows.h"

namespace halvic::testing {

/// An engine link wired to a model as the application wires it: the model's rows on a
/// dispatcher of its own, the lifecycle shown in the model.
struct EngineLink
{
    EngineLink(AppModel &model, Scheduler &scheduler, Engine::Locations locations)
        : engine(dispatcher, scheduler, std::move(locations))
    {
        model.registerRows(dispatcher);
        showEngineInModel(engine, model);
    }

    EventDispatcher dispatcher;
    Engine engine;
};

} // namespace halvic::testing
