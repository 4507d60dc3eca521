pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Halvic.Cards
import Halvic.Cards.Memory
import Halvic.Panels

// The memory card: header, the Notes/Graph switch with the search field (or the graph's
// counts), then the list of memories or the graph. Minimises to a bubble in notes mode.
MinimizableCard {
    id: root

    required property MemoryPanel controller
    readonly property MemoryModel memory: controller.model
    readonly property bool graphMode: memory.mode === MemoryMode.Graph

    state: controller.window.bubble
    icon: "trophy.fill"
    tint: HalvicStyle.cyan
    help: qsTr("What Halvic remembers \u2014 hold to expand")

    GlassCard {
        width: root.width
        height: root.height

        ColumnLayout {
            anchors.fill: parent
            anchors.margins: 14
            spacing: 10

            CardHeader {
                window: root.controller.window
                symbol: "brain"
                title: qsTr("What Halvic Remembers")
                Layout.fillWidth: true
            }

            RowLayout {
                spacing: 6
                Layout.fillWidth: true

                component ModeButton: Button {
                    id: modeButton
                    required property int mode
                    readonly property bool selected: root.memory.mode === mode
                    flat: true
                    focusPolicy: Qt.NoFocus
                    topPadding: 3
                    bottomPadding: 3
                    leftPadding: 10
                    rightPadding: 10
                    font.pixelSize: 11
                    font.weight: Font.Medium
                    Accessible.name: text
                    contentItem: Text {
                        text: modeButton.text
                        font: modeButton.font
                        color: modeButton.selected ? HalvicStyle.primary : HalvicStyle.secondary
                        horizontalAlignment: Text.AlignHCenter
                        verticalAlignment: Text.AlignVCenter
                        Accessible.ignored: true
                    }
                    background: Rectangle {
                        radius: height / 2
                        color: modeButton.selected ? Qt.rgba(0.04, 0.52, 1, 0.22) : "transparent"
                    }
                    onClicked: root.controller.selectMode(mode)
                }
                ModeButton {
                    text: qsTr("Notes")
                    mode: MemoryMode.Notes
                }
                ModeButton {
                    text: qsTr("Graph")
                    mode: MemoryMode.Graph
                }

                // Notes: the search field, sent on submit only.
                SymbolIcon {
                    visible: !root.graphMode
                    symbol: "magnifyingglass"
                    size: 11
                    color: HalvicStyle.secondary
                    Layout.leftMargin: 4
                }
                TextField {
                    id: search
                    visible: !root.graphMode
                    placeholderText: qsTr("search memory\u2026")
                    placeholderTextColor: HalvicStyle.secondary
                    text: root.memory.query
                    color: HalvicStyle.primary
                    selectionColor: HalvicStyle.accent
                    font.pixelSize: 12
                    padding: 2
                    background: null
                    Accessible.name: qsTr("Search memory")
                    Layout.fillWidth: true
                    onTextEdited: root.memory.query = text
                    onAccepted: root.controller.search(text)
                }
                IconButton {
                    visible: !root.graphMode && root.memory.query.length > 0
                    symbol: "xmark.circle.fill"
                    symbolSize: 11
                    tint: HalvicStyle.secondary
                    help: qsTr("Clear")
                    onClicked: root.controller.search("")
                }

                // Graph: how much there is.
                Item {
                    visible: root.graphMode
                    Layout.fillWidth: true
                }
                Text {
                    visible: root.graphMode
                    text: qsTr("%1 memories \u00b7 %2 links").arg(root.memory.graphNodeCount).arg(root.memory.graphEdgeCount)
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                    font.pixelSize: 10
                    color: HalvicStyle.secondary
                }
            }

            // Notes: the list, or why it is empty.
            Text {
                visible: !root.graphMode && root.memory.items.count === 0
                text: root.memory.query.length > 0 ? qsTr("No memories match that.") : qsTr("Nothing remembered yet.")
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                font.pixelSize: 12
                color: HalvicStyle.secondary
                Layout.topMargin: 6
            }
            ListView {
                visible: !root.graphMode && root.memory.items.count > 0
                clip: true
                boundsBehavior: Flickable.StopAtBounds
                model: root.memory.items
                Accessible.role: Accessible.List
                Accessible.name: qsTr("Memories")
                Layout.fillWidth: true
                Layout.fillHeight: true
                Layout.leftMargin: -14
                Layout.rightMargin: -14
                ScrollBar.vertical: ScrollBar {
                    policy: ScrollBar.AsNeeded
                }

                delegate: MemoryRow {
                    width: ListView.view.width
                    controller: root.controller
                }
            }

            // Graph: made on entering graph mode, gone (with its places and zoom) on leaving it.
            Repeater {
                model: root.graphMode ? 1 : 0
                delegate: MemoryGraphArea {
                    controller: root.controller
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                }
            }
            // Keeps the column's content at the top when neither fills the height.
            Item {
                visible: !root.graphMode && root.memory.items.count === 0
                Layout.fillHeight: true
            }
        }
    }
}
