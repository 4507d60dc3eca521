import QtQuick
import QtQuick.Layouts
import Halvic.Hud
import Halvic.Panels

// One background agent: emoji, progress and the first words; clicked, it expands to the
// full description, elapsed time, latest note and a kill button.
Rectangle {
    id: chip

    required property HudController hud
    required property string agent
    required property string desc
    required property string taskId
    required property bool done
    required property string note
    required property bool stalled
    required property string emoji
    required property string shortLabel
    required property string elapsed

    property bool expanded: false
    readonly property bool quiet: stalled && !done

    implicitWidth: (expanded ? full.implicitWidth : compact.implicitWidth) + 16
    implicitHeight: (expanded ? full.implicitHeight : compact.implicitHeight) + 10
    radius: expanded ? 12 : height / 2
    color: HalvicStyle.field
    border.width: 1
    border.color: quiet ? Qt.rgba(1, 0.84, 0.04, 0.45) : HalvicStyle.hairline
    Accessible.role: Accessible.Button
    Accessible.name: qsTr("%1: %2").arg(agent).arg(desc)
    Accessible.onPressAction: expanded = !expanded

    MouseArea {
        anchors.fill: parent
        onClicked: chip.expanded = !chip.expanded
    }

    RowLayout {
        id: compact
        visible: !chip.expanded
        anchors.centerIn: parent
        spacing: 4
        Text { text: chip.emoji; font.family: HalvicStyle.emojiFamily; font.pixelSize: 11; textFormat: Text.PlainText }
        Text { visible: chip.done; text: "\u2705"; font.family: HalvicStyle.emojiFamily; font.pixelSize: 9 }
        Spinner { visible: !chip.done; size: 9; color: chip.stalled ? HalvicStyle.yellow : HalvicStyle.orange }
        Text {
            text: chip.shortLabel
            textFormat: Text.PlainText
            font.pixelSize: 10
            color: HalvicStyle.primary
        }
    }

    RowLayout {
        id: full
        visible: chip.expanded
        anchors.centerIn: parent
        spacing: 8
        Text {
            Layout.alignment: Qt.AlignTop
            text: chip.emoji
            font.family: HalvicStyle.emojiFamily
            font.pixelSize: 13
            textFormat: Text.PlainText
        }
        ColumnLayout {
            spacing: 2
            Text {
                text: chip.desc
                textFormat: Text.PlainText
                font.pixelSize: 12
                color: HalvicStyle.primary
                wrapMode: Text.Wrap
                Layout.maximumWidth: 220
            }
            Text {
                text: chip.quiet ? qsTr("%1 \u00B7 %2 \u00B7 gone quiet \u2014 may be stuck").arg(chip.agent).arg(chip.elapsed)
                                 : qsTr("%1 \u00B7 %2").arg(chip.agent).arg(chip.elapsed)
                textFormat: Text.PlainText
                font.pixelSize: 10
                color: HalvicStyle.secondary
                wrapMode: Text.Wrap
                Layout.maximumWidth: 220
            }
            Text {
                visible: chip.note.length > 0 && !chip.done
                text: chip.note
                textFormat: Text.PlainText
                font.pixelSize: 10
                font.weight: Font.Medium
                color: chip.stalled ? HalvicStyle.yellow : HalvicStyle.orange
                wrapMode: Text.Wrap
                Layout.maximumWidth: 220
            }
        }
        Text { visible: chip.done; text: "\u2705"; font.family: HalvicStyle.emojiFamily; font.pixelSize: 13 }
        Spinner { visible: !chip.done; size: 11; color: chip.stalled ? HalvicStyle.yellow : HalvicStyle.orange }
        IconButton {
            visible: !chip.done
            symbol: "xmark.circle.fill"
            tint: HalvicStyle.secondary
            help: qsTr("Kill this agent")
            onClicked: chip.hud.killAgent(chip.taskId)
        }
    }
}
