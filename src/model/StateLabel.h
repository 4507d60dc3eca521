#pragma once

#include <QString>

#include <optional>

#include "EngineState.h"
#include "Line.h"

namespace halvic {

/// What the HUD's state line says; the first matching rule wins.
QString stateLabel(EngineState state, const QString &bootStage, bool running, bool muted, bool recording,
    std::optional<Enrollment> enrolling);

} // namespace halvic
