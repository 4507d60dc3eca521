import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Halvic.Cards.Entity
import Halvic.Panels

// One relation: its group's title when it starts the group, then a row that opens the related
// entity's dossier, with a context menu to open it or remove the relation.
ColumnLayout {
    id: row

    required property EntityPanel controller
    required property int index
    required property string group
    required property bool groupStart
    required property string other
    required property string summary
    required property string icon
    required property string color

    spacing: 2
    Layout.fillWidth: true
    Layout.topMargin: groupStart && index > 0 ? 4 : 0

    DossierCaption {
        visible: row.groupStart
        text: row.group
        font.weight: Font.DemiBold
    }
    ItemDelegate {
        id: relation
        readonly property string help: qsTr("Open %1's dossier").arg(row.other)
        focusPolicy: Qt.NoFocus
        padding: 4
        Layout.fillWidth: true
        Accessible.name: help
        Accessible.role: Accessible.Button
        Accessible.ignored: !visible
        ToolTip.visible: hovered
        ToolTip.text: help
        ToolTip.delay: 600
        background: Rectangle {
            radius: HalvicStyle.controlRadius
            color: relation.down ? HalvicStyle.controlPressed
                                 : (relation.hovered ? HalvicStyle.controlHovered : "transparent")
        }
        contentItem: RowLayout {
            spacing: 8
            SymbolIcon {
                symbol: row.icon
                size: 12
                color: HalvicStyle.named(row.color)
                Layout.alignment: Qt.AlignTop
            }
            ColumnLayout {
                spacing: 1
                Layout.fillWidth: true
                DossierText {
                    text: row.other
                    Layout.fillWidth: true
                }
                DossierCaption {
                    visible: text.length > 0
                    text: row.summary
                    maximumLineCount: 2
                    elide: Text.ElideRight
                    Layout.fillWidth: true
                }
            }
            SymbolIcon {
                symbol: "chevron.right"
                color: HalvicStyle.secondary
            }
        }
        onClicked: row.controller.drillDown(row.other)

        TapHandler {
            acceptedButtons: Qt.RightButton
            onTapped: relationMenu.popup()
        }
        Menu {
            id: relationMenu
            DossierMenuItem {
                symbol: "arrow.up.right.square"
                text: qsTr("Open")
                onTriggered: row.controller.drillDown(row.other)
            }
            DossierMenuItem {
                symbol: "person.badge.minus"
                text: qsTr("Not related — remove")
                onTriggered: row.controller.unrelate(row.other)
            }
        }
    }
}
