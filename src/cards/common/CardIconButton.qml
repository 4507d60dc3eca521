import QtQuick
import QtQuick.Controls.Basic
import Halvic.Panels

// A plain button (no chrome) showing one symbol; its tooltip is also its accessible name.
Button {
    id: control

    property string symbol
    property real symbolSize: 15
    property color tint: Qt.rgba(1, 1, 1, 0.6)
    property string help

    flat: true
    padding: 2
    focusPolicy: Qt.NoFocus
    contentItem: SymbolIcon {
        symbol: control.symbol
        size: control.symbolSize
        color: control.hovered ? Qt.lighter(control.tint, 1.3) : control.tint
    }
    background: Item {}
    ToolTip.visible: hovered && help.length > 0
    ToolTip.text: help
    ToolTip.delay: 600
    Accessible.name: help
}
