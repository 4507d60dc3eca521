import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Halvic.Cards.Entity
import Halvic.Panels

// The bar at the dossier's foot for a note about the entity.
Rectangle {
    id: bar

    required property EntityPanel controller
    readonly property EntityModel model: controller.model

    implicitHeight: noteRow.implicitHeight + 8
    radius: 16
    color: HalvicStyle.field
    border.width: 1
    border.color: HalvicStyle.hairline

    RowLayout {
        id: noteRow
        anchors.fill: parent
        anchors.leftMargin: 10
        anchors.rightMargin: 4
        spacing: 4

        TextField {
            placeholderText: bar.model.name.length > 0 ? qsTr("Add a note about %1").arg(bar.model.name)
                                                       : qsTr("Add a note about them")
            placeholderTextColor: HalvicStyle.secondary
            text: bar.model.noteText
            color: HalvicStyle.primary
            selectionColor: HalvicStyle.accent
            font.pixelSize: HalvicStyle.bodySize
            background: null
            Accessible.name: placeholderText
            Accessible.ignored: !visible
            Layout.fillWidth: true
            onTextChanged: if (bar.model.noteText !== text) bar.model.noteText = text
            onPressed: bar.controller.activateInput()
            onAccepted: bar.controller.submitNote()
        }
        IconButton {
            symbol: "arrow.up.circle.fill"
            symbolSize: 20
            tint: HalvicStyle.accent
            help: qsTr("Save this note")
            Accessible.ignored: !visible
            onClicked: bar.controller.submitNote()
        }
    }
}
