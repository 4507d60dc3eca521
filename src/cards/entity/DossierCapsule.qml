import QtQuick
import QtQuick.Controls.Basic
import Halvic.Panels

// A small rounded capsule with a symbol and a text; clickable when it opens something.
Button {
    id: capsule

    property string symbol
    property color tint: HalvicStyle.primary
    property string label
    property string help

    flat: true
    focusPolicy: Qt.NoFocus
    padding: 0
    leftPadding: 8
    rightPadding: 8
    topPadding: 3
    bottomPadding: 3
    contentItem: Row {
        spacing: 4
        SymbolIcon {
            visible: capsule.symbol.length > 0
            symbol: capsule.symbol
            size: 11
            color: capsule.tint
            anchors.verticalCenter: parent.verticalCenter
        }
        Text {
            text: capsule.label
            textFormat: Text.PlainText
            font.pixelSize: HalvicStyle.captionSize
            color: HalvicStyle.primary
            Accessible.ignored: true
            anchors.verticalCenter: parent.verticalCenter
        }
    }
    background: Rectangle {
        radius: height / 2
        color: capsule.down ? HalvicStyle.controlPressed
                            : (capsule.hovered ? HalvicStyle.controlHovered : HalvicStyle.field)
        border.width: 1
        border.color: HalvicStyle.hairline
    }
    ToolTip.visible: hovered && help.length > 0
    ToolTip.text: help
    ToolTip.delay: 600
    Accessible.name: help.length > 0 ? help : label
    Accessible.description: label
    Accessible.ignored: !visible
}
