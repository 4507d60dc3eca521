import QtQuick
import Halvic.Gestures
import Halvic.Panels

// The marker under one hand: a ring in the hand's colour (cyan drives the pointer, orange
// does not) with a mark inside it: open for a pointing hand, closed for a pinch, white for a
// fist. A right click flashes a white ring outward; the "ready" pulse swells the whole marker.
Item {
    id: root

    required property ReticleModel reticle

    readonly property bool closed: reticle.pose === "pinch" || reticle.pose === "mpinch"
    readonly property bool fist: reticle.pose === "fist"
    readonly property color tint: reticle.isPrimary ? Qt.rgba(HalvicStyle.cyan.r, HalvicStyle.cyan.g, HalvicStyle.cyan.b, 0.85)
                                                   : Qt.rgba(HalvicStyle.orange.r, HalvicStyle.orange.g, HalvicStyle.orange.b, 0.7)
    readonly property real ringSize: reticle.isPrimary ? 26 : 17
    readonly property real markSize: reticle.isPrimary ? 18.2 : 11.9

    width: 36
    height: 36
    Accessible.role: Accessible.Indicator
    Accessible.name: qsTr("Hand reticle")

    Item {
        id: marker

        anchors.fill: parent
        scale: root.reticle.pulse ? 1.35 : 1.0

        Behavior on scale {
            NumberAnimation {
                duration: 400
                easing.type: Easing.InOutQuad
            }
        }

        Rectangle {
            id: ring

            anchors.centerIn: parent
            width: root.ringSize
            height: width
            radius: width / 2
            color: "transparent"
            border.width: 2.5
            border.color: root.tint

            Behavior on width {
                NumberAnimation {
                    duration: 100
                    easing.type: Easing.OutCubic
                }
            }
        }

        Rectangle {
            id: mark

            anchors.centerIn: parent
            width: root.closed || root.fist ? root.markSize : root.markSize * 0.45
            height: width
            radius: width / 2
            color: root.fist ? "white" : (root.closed ? root.tint : "transparent")
            border.width: root.closed || root.fist ? 0 : 2
            border.color: root.tint

            Behavior on width {
                NumberAnimation {
                    duration: 100
                    easing.type: Easing.OutCubic
                }
            }
            Behavior on color {
                ColorAnimation {
                    duration: 100
                    easing.type: Easing.OutCubic
                }
            }
        }

        Rectangle {
            id: flash

            anchors.centerIn: parent
            width: root.reticle.rightFlash ? 34 : root.ringSize
            height: width
            radius: width / 2
            color: "transparent"
            border.width: 3
            border.color: "white"
            opacity: root.reticle.rightFlash ? 1 : 0

            Behavior on width {
                NumberAnimation {
                    duration: 100
                    easing.type: Easing.OutCubic
                }
            }
            Behavior on opacity {
                NumberAnimation {
                    duration: 100
                    easing.type: Easing.OutCubic
                }
            }
        }
    }
}
