import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Halvic.Panels

// One stored file: its kind's symbol, name and size. A double click opens it; the delete
// button shows while the pointer is over the tile.
Rectangle {
    id: tile

    required property string name
    required property string icon
    required property string sizeText
    required property string help

    signal openRequested()
    signal deleteRequested()

    radius: 12
    color: hover.hovered ? HalvicStyle.controlHovered : "transparent"
    implicitHeight: column.implicitHeight + 24
    Accessible.role: Accessible.Button
    Accessible.name: tile.name
    Accessible.description: tile.help
    Accessible.onPressAction: tile.openRequested()

    HoverHandler {
        id: hover
    }
    TapHandler {
        onDoubleTapped: tile.openRequested()
    }
    ToolTip.visible: hover.hovered
    ToolTip.text: tile.help
    ToolTip.delay: 800

    ColumnLayout {
        id: column
        x: 12
        y: 12
        width: parent.width - 24
        spacing: 6

        SymbolIcon {
            symbol: tile.icon
            size: 34
            color: HalvicStyle.cyan
            Layout.preferredHeight: 44
            Layout.alignment: Qt.AlignHCenter
        }
        Text {
            text: tile.name
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            font.pixelSize: 12
            color: HalvicStyle.primary
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignTop
            wrapMode: Text.WrapAnywhere
            maximumLineCount: 2
            elide: Text.ElideRight
            textFormat: Text.PlainText
            Layout.fillWidth: true
            Layout.preferredHeight: 30
        }
        Text {
            visible: tile.sizeText.length > 0
            text: tile.sizeText
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            font.pixelSize: 10
            color: HalvicStyle.secondary
            Layout.alignment: Qt.AlignHCenter
        }
    }

    IconButton {
        anchors.top: parent.top
        anchors.right: parent.right
        anchors.margins: 5
        symbol: "xmark.circle.fill"
        symbolSize: 14
        tint: Qt.rgba(HalvicStyle.red.r, HalvicStyle.red.g, HalvicStyle.red.b, 0.9)
        help: qsTr("Delete this file")
        // Named after the file it deletes.
        Accessible.name: qsTr("Delete %1").arg(tile.name)
        opacity: hover.hovered ? 1 : 0
        enabled: hover.hovered
        background: Rectangle {
            radius: width / 2
            color: Qt.rgba(0, 0, 0, 0.2)
        }
        onClicked: tile.deleteRequested()
    }
}
