import QtQuick
import QtQuick.Layouts
import Halvic.Cards
import Halvic.Panels

// The header row of every card: its symbol and title, then the minimise and close buttons.
RowLayout {
    id: header

    required property CardWindow window
    property string symbol
    property string title

    spacing: 6

    SymbolIcon {
        symbol: header.symbol
        size: HalvicStyle.titleSize
        font.weight: Font.DemiBold
        color: "white"
    }
    Text {
        text: header.title
        Accessible.role: Accessible.Heading
        Accessible.name: text
        font.pixelSize: HalvicStyle.titleSize
        font.weight: Font.DemiBold
        color: "white"
        elide: Text.ElideRight
        Layout.fillWidth: true
    }
    IconButton {
        symbol: "minus.circle.fill"
        symbolSize: 15
        tint: HalvicStyle.control
        help: "Minimize to a bubble — hold the bubble to reopen"
        onClicked: header.window.minimize()
    }
    IconButton {
        symbol: "xmark.circle.fill"
        symbolSize: 15
        tint: Qt.rgba(1, 1, 1, 0.75)
        help: "Hide"
        onClicked: header.window.hide()
    }
}
