import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Halvic.Hud
import Halvic.Model
import Halvic.Panels

// The HUD panel's content: the full panel (orb, title, state, buttons, agents, transcript,
// chat input) or, while collapsed, a small pill. Docked, the full panel is a full-height
// strip with a resize handle on its inner edge.
Item {
    id: root

    required property AppModel app
    required property HudController hud

    readonly property bool dockedStrip: app.docked && !app.collapsed

    implicitWidth: app.collapsed ? pill.implicitWidth : (dockedStrip ? hud.dockStripWidth : 360)
    implicitHeight: app.collapsed ? pill.implicitHeight : panel.implicitHeight

    TapHandler {
        acceptedButtons: Qt.RightButton
        onTapped: (eventPoint) => {
            // Over a transcript line the menu also offers to copy it.
            const row = transcript.rowAt(transcript.mapFromItem(root, eventPoint.position))
            if (row >= 0) {
                transcript.select(row)
                root.hud.showTranscriptMenu(row, root.mapToGlobal(eventPoint.position))
            } else {
                root.hud.showContextMenu(root.mapToGlobal(eventPoint.position))
            }
        }
    }

    Item {
        anchors.fill: parent
        scale: root.app.longPressCue ? 0.96 : 1.0
        Behavior on scale { NumberAnimation { duration: 120; easing.type: Easing.OutQuad } }

        // The collapsed pill. A tap expands; it stays background for long press and drag.
        GlassCard {
            id: pill
            visible: root.app.collapsed
            anchors.fill: parent
            radius: 24
            implicitWidth: pillRow.implicitWidth + 28
            implicitHeight: pillRow.implicitHeight + 20
            Accessible.role: Accessible.Button
            Accessible.name: qsTr("Expand Halvic")
            // Described on the accessibility bus rather than by a tooltip, which would cover
            // the small pill it describes.
            Accessible.description: qsTr("Tap to expand, hold to move")
            Accessible.onPressAction: root.hud.expand()
            TapHandler {
                // Holding longer is a long press, not a tap.
                longPressThreshold: 0.45
                onTapped: root.hud.expand()
            }
            RowLayout {
                id: pillRow
                anchors.centerIn: parent
                spacing: 8
                Orb {
                    hud: root.hud
                    muted: root.app.muted
                    recording: root.app.recording
                    visible: pill.visible
                }
                Text { text: qsTr("Halvic"); font.pixelSize: 13; color: HalvicStyle.primary }
                SymbolIcon { symbol: "chevron.up"; size: 10; color: HalvicStyle.secondary }
            }
        }

        GlassCard {
            id: panel
            visible: !root.app.collapsed
            anchors.fill: parent
            radius: root.dockedStrip ? 0 : 22
            implicitHeight: column.implicitHeight + 32

            ColumnLayout {
                id: column
                anchors.fill: parent
                anchors.margins: 16
                spacing: 12

                RowLayout {
                    spacing: 2
                    Layout.fillWidth: true

                    Orb {
                        hud: root.hud
                        muted: root.app.muted
                        recording: root.app.recording
                        visible: panel.visible
                        Layout.rightMargin: 8
                    }
                    ColumnLayout {
                        spacing: 2
                        Layout.fillWidth: true
                        Layout.minimumWidth: 0
                        Text {
                            Layout.fillWidth: true
                            Layout.minimumWidth: 0
                            elide: Text.ElideRight
                            text: root.app.recording ? qsTr("Halvic \u2014 recording") : qsTr("Halvic")
                            font.pixelSize: 15
                            font.weight: Font.DemiBold
                            color: root.app.recording ? HalvicStyle.red : HalvicStyle.primary
                            Accessible.name: text
                        }
                        Text {
                            id: stateText
                            // Why an engine that stopped by itself stopped, while it is off.
                            readonly property string reason: root.app.running ? "" : root.app.stopReason
                            objectName: "stateLabel"
                            text: root.app.stateLabel
                            textFormat: Text.PlainText
                            elide: Text.ElideRight
                            Layout.fillWidth: true
                            Layout.minimumWidth: 0
                            font.pixelSize: 12
                            color: root.app.state === EngineState.Restarting ? HalvicStyle.yellow : HalvicStyle.secondary
                            Accessible.role: Accessible.StaticText
                            Accessible.name: text
                            Accessible.description: reason
                            ToolTip.visible: stateHover.hovered && reason.length > 0
                            ToolTip.text: reason
                            ToolTip.delay: 400
                            HoverHandler { id: stateHover }
                        }
                    }
                    IconButton {
                        symbol: root.app.wakeWord ? "ear.fill" : "ear"
                        tint: root.app.wakeWord ? HalvicStyle.cyan : HalvicStyle.secondary
                        help: root.app.wakeWord ? qsTr("Wake word ON \u2014 say \"Halvic\" first")
                                               : qsTr("Wake word off \u2014 responds to all speech")
                        onClicked: root.hud.toggleWakeWord()
                    }
                    IconButton {
                        symbol: root.app.muted ? "mic.slash.fill" : "mic.fill"
                        tint: root.app.muted ? HalvicStyle.red : HalvicStyle.primary
                        help: qsTr("Mute / unmute")
                        onClicked: root.hud.mute()
                    }
                    IconButton {
                        symbol: "brain"
                        symbolWeight: Font.Medium
                        help: qsTr("What Halvic remembers")
                        enabled: root.hud.memoryAvailable
                        onClicked: root.hud.memory()
                    }
                    IconButton {
                        id: more
                        symbol: "ellipsis.circle"
                        symbolSize: 15
                        symbolWeight: Font.Medium
                        implicitWidth: 26
                        help: qsTr("More")
                        onClicked: root.hud.showMoreMenu(more.mapToGlobal(0, more.height))
                    }
                }

                AgentStrip {
                    hud: root.hud
                    visible: count > 0
                    Layout.fillWidth: true
                    Layout.preferredHeight: implicitHeight
                }

                ListView {
                    id: transcript
                    Layout.fillWidth: true
                    Layout.fillHeight: root.dockedStrip
                    Layout.preferredHeight: root.dockedStrip ? -1 : Math.min(contentHeight, 190)
                    visible: count > 0
                    clip: true
                    spacing: 6
                    boundsBehavior: Flickable.StopAtBounds
                    model: root.hud.transcript
                    Accessible.role: Accessible.List
                    Accessible.name: qsTr("Transcript")
                    // A new line scrolls into view; when the list itself changes height the
                    // end stays in place at once.
                    onCountChanged: Qt.callLater(transcript.scrollToEnd)
                    onHeightChanged: Qt.callLater(transcript.holdEnd)

                    function holdEnd() {
                        // A scroll under way lands on the end by itself.
                        if (!scrolling.running)
                            positionViewAtEnd()
                    }
                    function scrollToEnd() {
                        forceLayout()
                        const end = Math.max(originY, originY + contentHeight - height)
                        if (Math.abs(end - contentY) < 1)
                            return
                        scrolling.from = contentY
                        scrolling.to = end
                        scrolling.restart()
                    }
                    NumberAnimation {
                        id: scrolling
                        target: transcript
                        property: "contentY"
                        duration: 250
                        easing.type: Easing.OutCubic
                        // The end was measured from estimated heights of lines out of view.
                        onFinished: transcript.positionViewAtEnd()
                    }

                    // A line is selected by clicking it (the list keeps it selected as older
                    // lines go); Ctrl+C copies it.
                    property bool selecting: false
                    currentIndex: -1
                    highlightFollowsCurrentItem: false
                    keyNavigationEnabled: selecting
                    objectName: "transcript"

                    function rowAt(point) {
                        if (!visible || !contains(point))
                            return -1
                        return indexAt(point.x + contentX, point.y + contentY)
                    }
                    function select(row) {
                        currentIndex = row
                        selecting = true
                        forceActiveFocus()
                    }

                    Keys.onPressed: (event) => {
                        if (event.matches(StandardKey.Copy) && selecting && currentIndex >= 0) {
                            root.hud.copyLine(currentIndex)
                            event.accepted = true
                        }
                    }
                    Keys.onEscapePressed: selecting = false

                    delegate: Item {
                        id: line
                        required property int index
                        required property string who
                        required property string text
                        required property string symbol
                        readonly property bool selected: transcript.selecting && ListView.isCurrentItem
                        width: ListView.view.width
                        implicitHeight: lineRow.implicitHeight
                        Accessible.role: Accessible.ListItem
                        Accessible.name: text
                        Accessible.selectable: true
                        Accessible.selected: selected

                        Rectangle {
                            anchors.fill: parent
                            anchors.margins: -2
                            radius: 4
                            color: HalvicStyle.controlHovered
                            visible: line.selected
                        }
                        TapHandler {
                            onTapped: {
                                transcript.select(line.index)
                                // The panel does not take the keyboard by itself; Ctrl+C needs it.
                                root.hud.activateInput()
                            }
                        }
                        RowLayout {
                            id: lineRow
                            anchors.left: parent.left
                            anchors.right: parent.right
                            spacing: 8

                            SymbolIcon {
                                Layout.preferredWidth: 14
                                Layout.alignment: Qt.AlignTop
                                symbol: line.symbol
                                size: 11
                                color: line.who === "you" ? HalvicStyle.cyan : (line.who === "task" ? HalvicStyle.green : HalvicStyle.orange)
                            }
                            Text {
                                Layout.fillWidth: true
                                text: line.text
                                textFormat: Text.PlainText
                                wrapMode: Text.WrapAtWordBoundaryOrAnywhere
                                font.pixelSize: 13
                                color: line.who === "you" ? HalvicStyle.primary : HalvicStyle.secondary
                                Accessible.ignored: true
                            }
                        }
                    }
                }

                Item {
                    // Keeps the input at the bottom of a docked strip with a short transcript.
                    visible: root.dockedStrip && !transcript.visible
                    Layout.fillHeight: true
                }

                ChatInput {
                    app: root.app
                    hud: root.hud
                    Layout.fillWidth: true
                }
            }

            ResizeHandle {
                app: root.app
                hud: root.hud
                visible: root.dockedStrip
                anchors.top: parent.top
                anchors.bottom: parent.bottom
                x: root.app.dockSide === "right" ? 0 : parent.width - width
            }
        }
    }
}
