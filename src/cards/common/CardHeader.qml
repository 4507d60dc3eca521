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
    property color symbolColor: "white"
    // A card whose close button means more than hiding (a draft's "close without sending")
    // handles closeClicked itself and sets closeHides to false.
    property string closeHelp: qsTr("Hide")
    property bool closeHides: true

    // Items between the title and the minimise button (a count, a card's own buttons).
    default property alias accessories: accessoryRow.data

    signal closeClicked()

    spacing: 6

    SymbolIcon {
        symbol: header.symbol
        size: HalvicStyle.titleSize
        font.weight: Font.DemiBold
        color: header.symbolColor
    }
    Text {
        text: header.title
        Accessible.role: Accessible.Heading
        Accessible.name: text
        font.pixelSize: HalvicStyle.titleSize
        font.weight: Font.DemiBold
        color: "white"
        elide: Text.ElideRight
        Layout.fillWidth: !accessoryRow.visible
    }
    RowLayout {
        id: accessoryRow
        visible: children.length > 0
        spacing: 6
        Layout.fillWidth: visible
    }
    IconButton {
        symbol: "minus.circle.fill"
        symbolSize: 15
        tint: HalvicStyle.control
        help: qsTr("Minimize to a bubble — hold the bubble to reopen")
        onClicked: header.window.minimize()
    }
    IconButton {
        symbol: "xmark.circle.fill"
        symbolSize: 15
        tint: Qt.rgba(1, 1, 1, 0.75)
        help: header.closeHelp
        onClicked: {
            header.closeClicked()
            if (header.closeHides)
                header.window.hide()
        }
    }
}
