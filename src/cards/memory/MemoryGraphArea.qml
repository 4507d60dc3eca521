pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Halvic.Cards.Memory
import Halvic.Panels

// The graph mode of the memory card: the map, its toolbar, the card of what is selected and
// the legend of kinds. Made on entering graph mode and gone on leaving it, with the map's
// places, zoom and selection.
Item {
    id: area

    required property MemoryPanel controller
    readonly property MemoryModel memory: controller.model

    clip: true

    GraphView {
        id: map
        objectName: "memoryMap"
        anchors.fill: parent
        panel: area.controller
        Accessible.role: Accessible.Graphic
        Accessible.name: qsTr("Memory graph")
        Accessible.description: map.shownLabels
    }

    BusyIndicator {
        anchors.centerIn: parent
        visible: area.memory.graphLoading && area.memory.graphNodeCount === 0
        running: visible
        width: 24
        height: 24
        Accessible.name: qsTr("Loading the graph")
    }
    Text {
        anchors.centerIn: parent
        visible: !area.memory.graphLoading && area.memory.graphNodeCount === 0
        text: qsTr("No memories to graph yet.")
        Accessible.role: Accessible.StaticText
        Accessible.name: text
        font.pixelSize: 12
        color: HalvicStyle.secondary
    }

    // The toolbar along the top.
    Rectangle {
        anchors.top: parent.top
        anchors.left: parent.left
        width: tools.implicitWidth + 12
        height: tools.implicitHeight + 6
        radius: 8
        color: Qt.rgba(0, 0, 0, 0.35)

        RowLayout {
            id: tools
            anchors.centerIn: parent
            spacing: 2

            IconButton {
                symbol: "hand.raised.fill"
                tint: map.handTool ? HalvicStyle.cyan : HalvicStyle.secondary
                help: qsTr("Hand \u2014 drag to move around the map, pinch to zoom")
                onClicked: map.handTool = true
            }
            IconButton {
                symbol: "cursorarrow"
                tint: !map.handTool ? HalvicStyle.cyan : HalvicStyle.secondary
                help: qsTr("Pointer \u2014 move nodes, connect, cut")
                onClicked: map.handTool = false
            }
            Rectangle {
                width: 1
                height: 15
                color: HalvicStyle.hairline
            }
            IconButton {
                symbol: map.connectMode ? "link.circle.fill" : "link"
                tint: map.connectMode ? HalvicStyle.cyan : HalvicStyle.secondary
                help: qsTr("Connect: tap two memories to link them")
                onClicked: map.toggleConnect()
            }
            IconButton {
                symbol: "viewfinder"
                tint: HalvicStyle.secondary
                help: qsTr("Fit all")
                onClicked: map.fitAll()
            }
            IconButton {
                symbol: "plus.magnifyingglass"
                tint: HalvicStyle.secondary
                help: qsTr("Zoom in")
                onClicked: map.zoomIn()
            }
            IconButton {
                symbol: "minus.magnifyingglass"
                tint: HalvicStyle.secondary
                help: qsTr("Zoom out")
                onClicked: map.zoomOut()
            }
            IconButton {
                symbol: "arrow.clockwise"
                tint: HalvicStyle.secondary
                help: qsTr("Reload graph")
                onClicked: area.controller.reloadGraph()
            }
            IconButton {
                symbol: area.memory.fullscreen ? "arrow.down.right.and.arrow.up.left" : "arrow.up.left.and.arrow.down.right"
                tint: HalvicStyle.secondary
                help: qsTr("Fullscreen")
                onClicked: area.controller.toggleFullscreen()
            }
            Text {
                visible: map.connectMode
                text: map.hasPending ? qsTr("tap another") : qsTr("tap a memory")
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                font.pixelSize: 10
                font.weight: Font.Medium
                color: HalvicStyle.cyan
                Layout.leftMargin: 4
                Layout.rightMargin: 4
            }
        }
    }

    // What is selected.
    Rectangle {
        visible: map.nodeSelected || map.edgeSelected
        anchors.left: parent.left
        anchors.bottom: legend.top
        anchors.bottomMargin: 8
        width: Math.min(parent.width - 16, 300)
        height: selection.implicitHeight + 16
        radius: 10
        color: Qt.rgba(0, 0, 0, 0.55)
        border.width: 1
        border.color: HalvicStyle.hairline

        RowLayout {
            id: selection
            anchors.fill: parent
            anchors.margins: 8
            spacing: 8

            Rectangle {
                visible: map.nodeSelected
                width: 9
                height: 9
                radius: 4.5
                color: map.selectedColour
                Layout.alignment: Qt.AlignTop
                Layout.topMargin: 3
            }
            SymbolIcon {
                visible: map.edgeSelected
                symbol: "scissors"
                size: 12
                color: HalvicStyle.orange
            }
            ColumnLayout {
                spacing: 2
                Layout.fillWidth: true

                Text {
                    visible: map.nodeSelected
                    text: map.selectedKindName
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    font.pixelSize: 10
                    font.weight: Font.DemiBold
                    color: HalvicStyle.secondary
                }
                Text {
                    text: map.nodeSelected ? map.selectedText : qsTr("Connection between two memories")
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    font.pixelSize: 12
                    color: HalvicStyle.primary
                    wrapMode: Text.Wrap
                    textFormat: Text.PlainText
                    Layout.fillWidth: true
                }
            }
            IconButton {
                visible: map.nodeSelected
                symbol: "xmark.circle.fill"
                tint: HalvicStyle.secondary
                help: qsTr("Close: %1").arg(map.selectedText)
                Layout.alignment: Qt.AlignTop
                onClicked: map.clearSelection()
            }
            Button {
                id: cut
                visible: map.edgeSelected
                text: qsTr("Cut")
                flat: true
                focusPolicy: Qt.NoFocus
                font.pixelSize: 11
                font.weight: Font.DemiBold
                Accessible.name: qsTr("Cut the connection")
                contentItem: Text {
                    text: cut.text
                    font: cut.font
                    color: HalvicStyle.red
                    Accessible.ignored: true
                }
                background: null
                onClicked: map.cutSelectedEdge()
            }
        }
    }

    // The kinds on the map, and how to move around.
    Column {
        id: legend
        anchors.left: parent.left
        anchors.bottom: parent.bottom
        spacing: 3

        Flow {
            width: area.width
            spacing: 8

            Repeater {
                model: map.legend
                delegate: Row {
                    id: entry
                    required property var modelData
                    spacing: 4

                    Rectangle {
                        anchors.verticalCenter: parent.verticalCenter
                        width: 7
                        height: 7
                        radius: 3.5
                        color: entry.modelData.colour
                    }
                    Text {
                        text: entry.modelData.name
                        Accessible.role: Accessible.StaticText
                        Accessible.name: text
                        font.pixelSize: 9
                        color: HalvicStyle.secondary
                    }
                }
            }
        }
        Text {
            text: qsTr("drag to pan \u00b7 pinch/scroll to zoom \u00b7 double-click to zoom in")
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            font.pixelSize: 8
            color: HalvicStyle.secondary
        }
    }
}
