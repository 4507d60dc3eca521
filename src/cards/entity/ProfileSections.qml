pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Layouts
import Halvic.Cards.Entity
import Halvic.Panels

// The plain profile: the summary, quick facts, relations, timeline, durable facts and open
// tasks, each section shown when it has rows.
ColumnLayout {
    id: profile

    required property EntityPanel controller
    readonly property EntityModel model: controller.model

    spacing: 6

    SummarySection {
        controller: profile.controller
        Layout.fillWidth: true
    }
    QuickSection {
        controller: profile.controller
        Layout.fillWidth: true
    }

    DossierSectionTitle {
        visible: profile.model.relations.count > 0
        text: qsTr("Relations")
    }
    ColumnLayout {
        visible: profile.model.relations.count > 0
        spacing: 2
        Layout.fillWidth: true
        Repeater {
            model: profile.model.relations
            delegate: RelationRow {
                controller: profile.controller
            }
        }
    }

    DossierSectionTitle {
        visible: profile.model.timeline.count > 0
        text: qsTr("Timeline")
    }
    Repeater {
        model: profile.model.timeline
        delegate: RowLayout {
            id: moment
            required property string date
            required property string fact
            required property string color
            spacing: 8
            Layout.fillWidth: true
            Rectangle {
                width: 6
                height: 6
                radius: 3
                color: HalvicStyle.named(moment.color)
                Layout.alignment: Qt.AlignTop
                Layout.topMargin: 5
            }
            DossierCaption {
                text: moment.date
                wrapMode: Text.NoWrap
                Layout.preferredWidth: 70
                Layout.alignment: Qt.AlignTop
            }
            DossierText {
                text: moment.fact
                Layout.fillWidth: true
            }
        }
    }
    DossierCaption {
        visible: text.length > 0
        text: profile.model.heading.timelineNote
    }

    DossierSectionTitle {
        visible: profile.model.facts.count > 0
        text: qsTr("Durable facts")
    }
    ColumnLayout {
        visible: profile.model.facts.count > 0
        spacing: 2
        Layout.fillWidth: true
        Repeater {
            model: profile.model.facts
            delegate: ColumnLayout {
                id: factRow
                required property int index
                required property string group
                required property string groupColor
                required property bool groupStart
                required property string fact
                spacing: 2
                Layout.fillWidth: true
                Layout.topMargin: groupStart && index > 0 ? 4 : 0
                DossierCaption {
                    visible: factRow.groupStart
                    text: factRow.group
                    font.weight: Font.DemiBold
                    color: HalvicStyle.named(factRow.groupColor)
                }
                DossierText {
                    text: "\u2022 " + factRow.fact
                    Layout.fillWidth: true
                }
            }
        }
    }

    DossierSectionTitle {
        visible: profile.model.tasks.count > 0
        text: qsTr("Open tasks")
    }
    Repeater {
        model: profile.model.tasks
        delegate: RowLayout {
            id: task
            required property string text
            required property string due
            spacing: 8
            Layout.fillWidth: true
            SymbolIcon {
                symbol: "circle"
                color: HalvicStyle.secondary
                Layout.alignment: Qt.AlignTop
            }
            DossierText {
                text: task.text
                Layout.fillWidth: true
            }
            DossierCaption {
                visible: text.length > 0
                text: task.due
                color: HalvicStyle.orange
                wrapMode: Text.NoWrap
                Layout.alignment: Qt.AlignTop
            }
        }
    }
}
