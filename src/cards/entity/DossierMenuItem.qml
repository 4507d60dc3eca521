import QtQuick
import QtQuick.Controls.Basic
import Halvic.Panels

// A context menu entry with a symbol before its text.
MenuItem {
    id: menuItem

    property string symbol

    Accessible.name: text
    contentItem: Row {
        spacing: 6
        SymbolIcon {
            symbol: menuItem.symbol
            color: HalvicStyle.primary
            anchors.verticalCenter: parent.verticalCenter
        }
        Text {
            text: menuItem.text
            textFormat: Text.PlainText
            font.pixelSize: HalvicStyle.bodySize
            color: HalvicStyle.primary
            Accessible.ignored: true
            anchors.verticalCenter: parent.verticalCenter
        }
    }
    background: Rectangle {
        color: menuItem.highlighted ? HalvicStyle.controlHovered : HalvicStyle.glass
    }
}
