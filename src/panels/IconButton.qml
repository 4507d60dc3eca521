import QtQuick
import QtQuick.Controls.Basic
import Halvic.Panels

// The one icon button of the HUD, the cards and the popups: a symbol without chrome, a faint
// highlight under the pointer; its help text is its tooltip and its accessible name.
Button {
    id: control

    property string symbol
    property real symbolSize: 13
    property color tint: HalvicStyle.primary
    property string help
    property int symbolWeight: Font.Normal

    flat: true
    padding: 3
    focusPolicy: Qt.NoFocus
    contentItem: SymbolIcon {
        symbol: control.symbol
        size: control.symbolSize
        font.weight: control.symbolWeight
        color: control.enabled ? control.tint : HalvicStyle.disabled
    }
    background: Rectangle {
        radius: HalvicStyle.controlRadius
        color: control.down ? HalvicStyle.controlPressed : (control.hovered ? HalvicStyle.controlHovered : "transparent")
    }
    ToolTip.visible: hovered && help.length > 0
    ToolTip.text: help
    ToolTip.delay: HalvicStyle.tooltipDelay
    Accessible.name: help
}
