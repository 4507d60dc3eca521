import QtQuick
import QtQuick.Layouts
import Halvic.Cards.Entity
import Halvic.Panels

// A row of a composed list: its symbol, title and line under it, its date, and a button to the
// dossier of the entity it refers to.
RowLayout {
    id: listRow

    required property EntityPanel controller
    required property var modelData

    spacing: 8
    Layout.fillWidth: true

    SymbolIcon {
        symbol: listRow.modelData.icon
        size: 14
        color: HalvicStyle.named(listRow.modelData.color)
        Layout.alignment: Qt.AlignTop
    }
    ColumnLayout {
        spacing: 1
        Layout.fillWidth: true
        DossierText {
            text: listRow.modelData.title
            Layout.fillWidth: true
        }
        DossierCaption {
            visible: text.length > 0
            text: listRow.modelData.sub
            Layout.fillWidth: true
        }
    }
    DossierCaption {
        visible: text.length > 0
        text: listRow.modelData.date
        wrapMode: Text.NoWrap
        Layout.alignment: Qt.AlignTop
    }
    IconButton {
        visible: listRow.modelData.entity.length > 0
        symbol: "chevron.right"
        tint: HalvicStyle.secondary
        help: qsTr("Open %1's dossier").arg(listRow.modelData.entity)
        Accessible.ignored: !visible
        Layout.alignment: Qt.AlignTop
        onClicked: listRow.controller.drillDown(listRow.modelData.entity)
    }
}
