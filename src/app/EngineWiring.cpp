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
    QObject::connect(
        &engine, &Engine::launchFailed, m, [m](const QString &reason) { enginestatus::launchFailed(*m, reason); });
}

} // namespace halvic
