#pragma once

#include <QObject>

#include <memory>

class QQmlApplicationEngine;

namespace halvic {

class AppModel;
class Engine;
class QtScheduler;
class UnixSignals;

/// Owns the application's parts and wires them at launch: the model, the engine link, the
/// HUD window and the signal handlers; stops the engine before the application quits.
class Delegate final : public QObject
{
    Q_OBJECT
public:
    /// How long quitting waits for the engine to exit before leaving anyway.
    static constexpr int quitGraceMs = 3000;

    Delegate();
    ~Delegate() override;

    /// Builds the HUD and starts the engine. False when the HUD cannot be created.
    bool launch();
    /// Stops the engine, lets it exit (briefly, without blocking) and quits.
    void quit();

private:
    std::unique_ptr<QtScheduler> m_scheduler;
    std::unique_ptr<AppModel> m_model;
    std::unique_ptr<Engine> m_engine;
    std::unique_ptr<QQmlApplicationEngine> m_qml;
    std::unique_ptr<UnixSignals> m_signals;
    bool m_quitting = false;
};

} // namespace halvic
