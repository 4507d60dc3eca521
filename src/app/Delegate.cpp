#include "Delegate.h"

#include <QCoreApplication>
#include <QQmlApplicationEngine>
#include <QQuickWindow>

#include <csignal>

#include "AppModel.h"
#include "Engine.h"
#include "Scheduler.h"
#include "UnixSignals.h"

namespace halvic {

Delegate::Delegate()
    : m_scheduler(std::make_unique<QtScheduler>())
    , m_model(std::make_unique<AppModel>(*m_scheduler))
{
}

Delegate::~Delegate()
{
    // Views go before the model they show.
    m_qml.reset();
}

bool Delegate::launch()
{
    m_engine = std::make_unique<Engine>(*m_model, *m_scheduler);

    m_qml = std::make_unique<QQmlApplicationEngine>();
    m_qml->setInitialProperties({{QStringLiteral("app"), QVariant::fromValue(m_model.get())}});
    m_qml->load(QUrl(QStringLiteral("qrc:/Halvic/App/Main.qml")));
    if (m_qml->rootObjects().isEmpty())
        return false;

    m_engine->start();

    m_signals = std::make_unique<UnixSignals>(std::initializer_list<int>{SIGTERM, SIGINT, SIGHUP});
    connect(m_signals.get(), &UnixSignals::received, this, &Delegate::quit);
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { m_engine->stop(); });
    return true;
}

void Delegate::quit()
{
    if (m_quitting)
        return;
    m_quitting = true;
    if (!m_engine) {
        QCoreApplication::quit();
        return;
    }
    m_engine->stop();
    if (!m_engine->hasLiveProcesses()) {
        QCoreApplication::quit();
        return;
    }
    connect(m_engine.get(), &Engine::allProcessesExited, qApp, &QCoreApplication::quit);
    m_scheduler->callAfter(Duration(quitGraceMs), this, [] { QCoreApplication::quit(); });
}

} // namespace halvic
