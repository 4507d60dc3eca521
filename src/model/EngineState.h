#pragma once

#include <QLatin1StringView>
#include <QObject>
#include <QStringView>
#include <QtQmlIntegration>

namespace halvic {

namespace engine {
Q_NAMESPACE
QML_NAMED_ELEMENT(EngineState)

/// What the engine is doing, as its events name it. `Other` stands for any name the engine
/// sends that the HUD has no look of its own for.
enum class State { Off, Booting, Listening, Thinking, Speaking, Restarting, Other };
Q_ENUM_NS(State)

/// The state a wire name stands for; `Other` for any unknown name.
State fromWireName(QStringView name);
/// The wire name of a state; empty for `Other`.
QLatin1StringView wireName(State state);
/// Whether the engine is busy: starting, thinking, speaking or restarting.
bool isBusy(State state);
} // namespace engine

using EngineState = engine::State;

} // namespace halvic
