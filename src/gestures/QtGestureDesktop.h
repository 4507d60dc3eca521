#pragma once

#include "GestureController.h"
#include "GestureProtocol.h"

class QQmlEngine;

namespace halvic {

/// The gesture controller's desktop in the running application: Qt's displays, the HUD's
/// glass panels, reticles as click-through overlay windows drawn by `qml`, and the tracker's
/// port on the loopback interface.
GestureDesktop qtGestureDesktop(QQmlEngine &qml, quint16 port = protocol::gesture::port);

/// Makes reticle windows: frameless, click-through, above everything, never focused.
ReticleSurfaceFactory quickReticleFactory(QQmlEngine &qml);

/// Whether a visible glass panel of this application covers the point (desktop points).
bool glassPanelAt(QPointF point);

} // namespace halvic
