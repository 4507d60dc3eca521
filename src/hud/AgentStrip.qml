import QtQuick
import Halvic.Hud

// A horizontal row of agent chips, one per background task, in start order.
ListView {
    id: strip

    required property HudController hud

    orientation: ListView.Horizontal
    spacing: 6
    leftMargin: 2
    rightMargin: 2
    clip: true
    boundsBehavior: Flickable.StopAtBounds
    implicitHeight: contentItem.childrenRect.height + 4
    model: hud.agents
    Accessible.role: Accessible.List
    Accessible.name: qsTr("Agents")

    delegate: AgentChipView {
        hud: strip.hud
        y: 2
    }

    add: Transition {
        NumberAnimation { properties: "opacity"; from: 0; to: 1; duration: 250 }
        NumberAnimation { properties: "scale"; from: 0.7; to: 1; duration: 250; easing.type: Easing.OutCubic }
    }
    remove: Transition {
        NumberAnimation { properties: "opacity"; to: 0; duration: 250 }
        NumberAnimation { properties: "scale"; to: 0.7; duration: 250; easing.type: Easing.OutCubic }
    }
    displaced: Transition {
        NumberAnimation { properties: "x"; duration: 300; easing.type: Easing.OutCubic }
    }
}
