import QtQuick
import QtQuick.Layouts
import Halvic.Cards
import Halvic.Panels

// The header row of every card: its symbol and title, then the minimise and close buttons.
RowLayout {
    id: header

    required property CardController controller
    property string symbol
    property string title

    spacing: 6

    SymbolIcon {
        symbol: header.symbol
        size: 13
        font.weight: Font.DemiBold
        color: "white"
    }
    Text {
        text: header.title
        font.pixelSize: 13
        font.weight: Font.DemiBold
        color: "white"
        elide: Text.ElideRight
        Layout.fillWidth: true
    }
    CardIconButton {
        symbol: "minus.circle.fill"
        help: "Minimize to a bubble — hold the bubble to reopen"
        onClicked: header.controller.minimize()
    }
    CardIconButton {
        symbol: "xmark.circle.fill"
        tint: Qt.rgba(1, 1, 1, 0.75)
        help: "Hide"
        onClicked: header.controller.hide()
    }
}
