pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Basic
import Halvic.Cards.Memory
import Halvic.Panels

// The graph mode of the memory card: the map of memories, with what is shown while there
// is nothing to draw.
Item {
    id: area

    required property MemoryPanel controller
    readonly property MemoryModel memory: controller.model

    BusyIndicator {
        anchors.centerIn: parent
        visible: area.memory.graphLoading && area.memory.graphNodeCount === 0
        running: visible
        width: 24
        height: 24
        Accessible.name: "Loading the graph"
    }
    Text {
        anchors.centerIn: parent
        visible: !area.memory.graphLoading && area.memory.graphNodeCount === 0
        text: "No memories to graph yet."
        Accessible.role: Accessible.StaticText
        Accessible.name: text
        font.pixelSize: 12
        color: HalvicStyle.secondary
    }
}
