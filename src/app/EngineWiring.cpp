#include "EngineWiring.h"

#include "AppModel.h"
#include "Engine.h"
#include "ModelRows.h"

namespace halvic {

void showEngineInModel(Engine &engine, AppModel &model)
{
    AppModel *m = &model;
    QObject::connect(&engine, &Engine::started, m, [m] { enginestatus::started(*m); });
    QObject::connect(&engine, &Engine::stopped, m, [m] { enginestatus::stopped(*m); });
    QObject::connect(&engine, &Engine::exited, m, [m] { enginestatus::exited(*m); });
    QObject::connect(&engine, &Engine::exitedByItself, m,
        [m](const EngineExit &exit) { enginestatus::exitedByItself(*m, exit.summary(), exit.details()); });
    const QString root = engine.locations().root;
    QObject::connect(&engine, &Engine::launchFailed, m,
        [m, root](const QString &reason) { enginestatus::launchFailed(*m, reason, root); });
}

} // namespace halvic
