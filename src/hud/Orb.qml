import QtQuick
import QtQuick.Shapes
import Halvic.Hud
import Halvic.Panels

// The status orb: a halo that pulses while the assistant is busy or recording, a glowing
// core in the state's colour, and a mark for muted or recording.
Item {
    id: orb

    required property HudController hud
    property bool muted
    property bool recording

    readonly property color tint: hud.orbColor
    readonly property bool shouldPulse: hud.orbPulses
    readonly property int period: hud.pulsePeriod
    // 0 at rest, 1 fully pulsed; animated back and forth while pulsing.
    property real pulse: 0

    implicitWidth: 46
    implicitHeight: 46
    Accessible.ignored: true

    function syncPulse() {
        pulse = 0;
        pulseStart = Date.now();
        pulsing = shouldPulse && visible;
    }
    onShouldPulseChanged: syncPulse()
    onRecordingChanged: syncPulse()
    onVisibleChanged: syncPulse()
    Component.onCompleted: syncPulse()

    // Out and back once per two periods, eased in and out, on the HUD's one animation clock.
    property double pulseStart: 0
    property bool pulsing: false
    onPulsingChanged: pulsing ? FrameClock.acquire() : FrameClock.release()
    Component.onDestruction: if (pulsing) FrameClock.release()
    Connections {
        target: FrameClock
        enabled: orb.pulsing
        function onNowChanged() {
            const phase = ((FrameClock.now - orb.pulseStart) % (2 * orb.period)) / orb.period;
            const t = phase < 1 ? phase : 2 - phase;
            orb.pulse = t < 0.5 ? 2 * t * t : 1 - 2 * (1 - t) * (1 - t);
        }
    }

    Rectangle {
        id: halo
        anchors.centerIn: parent
        width: 46
        height: 46
        radius: 23
        color: Qt.rgba(orb.tint.r, orb.tint.g, orb.tint.b, 0.25)
        readonly property real pulsedScale: orb.recording ? 1.4 : 1.25
        readonly property real pulsedOpacity: orb.recording ? 0.15 : 0.2
        scale: 0.85 + (pulsedScale - 0.85) * orb.pulse
        opacity: 0.6 + (pulsedOpacity - 0.6) * orb.pulse
    }

    // Glow and core in one radial fill: the core's gradient, then a soft falloff.
    Shape {
        id: glow
        anchors.centerIn: parent
        readonly property real glowRadius: 13 + (orb.recording ? 12 : 8)
        readonly property real glowAlpha: orb.recording ? 1.0 : 0.8
        width: glowRadius * 2
        height: glowRadius * 2
        ShapePath {
            strokeWidth: -1
            strokeColor: "transparent"
            fillGradient: RadialGradient {
                centerX: glow.glowRadius; centerY: glow.glowRadius; centerRadius: glow.glowRadius
                focalX: centerX; focalY: centerY
                GradientStop { position: 0.0; color: orb.tint }
                GradientStop { position: 11.0 / glow.glowRadius; color: Qt.rgba(orb.tint.r, orb.tint.g, orb.tint.b, 0.75) }
                GradientStop { position: 13.0 / glow.glowRadius; color: Qt.rgba(orb.tint.r, orb.tint.g, orb.tint.b, 0.45 * glow.glowAlpha) }
                GradientStop { position: 1.0; color: Qt.rgba(orb.tint.r, orb.tint.g, orb.tint.b, 0) }
            }
            PathAngleArc {
                centerX: glow.glowRadius; centerY: glow.glowRadius
                radiusX: glow.glowRadius; radiusY: glow.glowRadius
                startAngle: 0; sweepAngle: 360
            }
        }
    }

    SymbolIcon {
        anchors.centerIn: parent
        visible: orb.muted
        symbol: "mic.slash.fill"
        size: 11
        font.bold: true
        color: "white"
    }
    Rectangle {
        anchors.centerIn: parent
        visible: !orb.muted && orb.recording
        width: 8
        height: 8
        radius: 4
        color: "white"
    }
}
