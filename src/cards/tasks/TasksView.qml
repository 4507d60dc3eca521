pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Halvic.Cards
import Halvic.Cards.Tasks
import Halvic.Panels

// The tasks card: header, then the list of tasks with a tick for each, or a note that the
// list is empty. Minimises to a bubble.
MinimizableCard {
    id: root

    required property TasksPanel controller
    readonly property RecordList tasks: controller.tasks

    state: controller.window.bubble
    icon: "checklist"
    help: qsTr("Tasks & Reminders — hold to expand")

    GlassCard {
        width: 320
        // Fills the panel; asks only for what the list needs when the panel is refitted.
        height: Math.max(column.implicitHeight, root.height)

        ColumnLayout {
            id: column
            width: parent.width
            spacing: 0

            CardHeader {
                window: root.controller.window
                symbol: "checklist"
                title: qsTr("Tasks & Reminders")
                Layout.fillWidth: true
                Layout.margins: 14
            }

            Text {
                visible: root.tasks.count === 0
                text: qsTr("Nothing on your list.")
                Accessible.role: Accessible.StaticText
                Accessible.name: text
                font.pixelSize: 12
                color: HalvicStyle.muted
                Layout.leftMargin: 14
                Layout.rightMargin: 14
                Layout.bottomMargin: 14
            }

            // A list view builds rows only for what is in view, however long the engine's
            // list is.
            ListView {
                id: rows
                visible: root.tasks.count > 0
                clip: true
                boundsBehavior: Flickable.StopAtBounds
                model: root.tasks
                Accessible.role: Accessible.List
                Accessible.name: qsTr("Tasks")
                Layout.fillWidth: true
                Layout.preferredHeight: Math.min(contentHeight, 340)
                ScrollBar.vertical: ScrollBar {}

                delegate: Column {
                    id: row

                    required property string taskId
                    required property string text
                    required property string due
                    required property bool hasDue

                    width: ListView.view.width

                    RowLayout {
                        width: parent.width
                        spacing: 10

                        IconButton {
                            symbol: "circle"
                            symbolSize: 16
                            tint: "white"
                            // Named after the task it ticks off, so each tick says which.
                            help: qsTr("Mark done: %1").arg(row.text)
                            Layout.alignment: Qt.AlignTop
                            Layout.leftMargin: 14
                            Layout.topMargin: 7
                            onClicked: root.controller.complete(row.taskId)
                        }
                        ColumnLayout {
                            spacing: 2
                            Layout.fillWidth: true
                            Layout.alignment: Qt.AlignTop
                            Layout.rightMargin: 14
                            Layout.topMargin: 7
                            Layout.bottomMargin: 7

                            Text {
                                text: row.text
                                Accessible.role: Accessible.StaticText
                                Accessible.name: text
                                font.pixelSize: 13
                                color: "white"
                                wrapMode: Text.Wrap
                                textFormat: Text.PlainText
                                Layout.fillWidth: true
                            }
                            Text {
                                visible: row.hasDue
                                text: qsTr("due %1").arg(row.due)
                                Accessible.role: Accessible.StaticText
                                Accessible.name: text
                                font.pixelSize: 11
                                color: HalvicStyle.orange
                                wrapMode: Text.Wrap
                                textFormat: Text.PlainText
                                Layout.fillWidth: true
                            }
                        }
                    }
                    Rectangle {
                        width: parent.width
                        height: 1
                        color: HalvicStyle.separator
                    }
                }
            }
        }
    }
}
