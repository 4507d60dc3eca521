import QtQuick
import QtQuick.Controls.Basic
import Halvic.Hud
import Halvic.Panels

// A plain button showing one symbol; its tooltip is also its accessible name.
Button {
    id: control

    property string symbol
    property real symbolSize: 13
    property color tint: HudStyle.primary
    property string tip
    property int symbolWeight: Font.Normal

    flat: true
    padding: 3
    focusPolicy: Qt.NoFocus
    contentItem: SymbolIcon {
        symbol: control.symbol
        size: control.symbolSize
        font.weight: control.symbolWeight
        color: control.enabled ? control.tint : HudStyle.disabled
    }
    background: Rectangle {
        radius: 6
        color: control.down ? Qt.rgba(1, 1, 1, 0.14) : (control.hovered ? Qt.rgba(1, 1, 1, 0.08) : "transparent")
    }
    ToolTip.visible: hovered && tip.length > 0
    ToolTip.text: tip
    ToolTip.delay: 600
    Accessible.name: tip
}
