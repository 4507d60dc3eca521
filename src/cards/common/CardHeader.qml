import QtQuick
import QtQuick.Layouts
import Halvic.Cards
import Halvic.Panels

// The header row of every card: its symbol and title (with an optional line under it), then
// the minimise and close buttons. A card with a heading of its own leaves symbol and title
// empty and puts its heading in as an accessory.
RowLayout {
    id: header

    required property CardWindow window
    property string symbol
    property string title
    property string subtitle
    property color symbolColor: "white"
    property color titleColor: "white"
    property real titleSize: HalvicStyle.titleSize
    // Tall headings keep the buttons at their top.
    property int buttonAlignment: Qt.AlignVCenter
    // A card whose close button means more than hiding (a draft's "close without sending")
    // handles closeClicked itself and sets closeHides to false.
    property string closeHelp: qsTr("Hide")
    property bool closeHides: true

    // Items between the title and the minimise button (a count, a card's own buttons).
    default property alias accessories: accessoryRow.data

    signal closeClicked()

    spacing: 6

    SymbolIcon {
        visible: header.symbol.length > 0
        symbol: header.symbol
        size: HalvicStyle.titleSize
        font.weight: Font.DemiBold
        color: header.symbolColor
        Layout.alignment: header.subtitle.length > 0 ? Qt.AlignTop : Qt.AlignVCenter
    }
    ColumnLayout {
        visible: header.title.length > 0
        spacing: 2
        Layout.fillWidth: !accessoryRow.visible

        Text {
            text: header.title
            Accessible.role: Accessible.Heading
            Accessible.name: text
            Accessible.ignored: !visible
            font.pixelSize: header.titleSize
            font.weight: Font.DemiBold
            color: header.titleColor
            textFormat: Text.PlainText
            elide: Text.ElideRight
            maximumLineCount: 1
            Layout.fillWidth: true
        }
        Text {
            visible: header.subtitle.length > 0
            text: header.subtitle
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            Accessible.ignored: !visible
            font.pixelSize: HalvicStyle.captionSize
            color: HalvicStyle.secondary
            textFormat: Text.PlainText
            elide: Text.ElideRight
            Layout.fillWidth: true
        }
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
        Accessible.ignored: !visible
        Layout.alignment: header.buttonAlignment
        onClicked: header.window.minimize()
    }
    IconButton {
        symbol: "xmark.circle.fill"
        symbolSize: 15
        tint: Qt.rgba(1, 1, 1, 0.75)
        help: header.closeHelp
        Accessible.ignored: !visible
        Layout.alignment: header.buttonAlignment
        onClicked: {
            header.closeClicked()
            if (header.closeHides)
                header.window.hide()
        }
    }
}
