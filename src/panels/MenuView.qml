import QtQuick
import Halvic.Panels

// A popup menu: its entries from the popup's model, the current one highlighted; the keys
// and the pointer move the current entry and choose through the popup.
FocusScope {
    id: view

    required property MenuPopup popup
    readonly property MenuModel entries: popup.entries
    // As wide as the widest entry asks.
    readonly property real entryWidth: {
        let widest = 160
        for (let i = 0; i < rows.count; ++i) {
            const row = rows.itemAt(i)
            if (row)
                widest = Math.max(widest, row.implicitWidth)
        }
        return widest
    }

    implicitWidth: entryWidth + 12
    implicitHeight: column.implicitHeight + 12
    focus: true

    Accessible.role: Accessible.PopupMenu
    Accessible.name: qsTr("Menu")

    Keys.onUpPressed: entries.moveUp()
    Keys.onDownPressed: entries.moveDown()
    Keys.onEscapePressed: popup.close()
    Keys.onPressed: event => {
        if (event.key === Qt.Key_Home)
            entries.moveHome()
        else if (event.key === Qt.Key_End)
            entries.moveEnd()
        else if (event.key === Qt.Key_Return || event.key === Qt.Key_Enter || event.key === Qt.Key_Space)
            popup.triggerCurrent()
        else
            return
        event.accepted = true
    }

    GlassCard {
        anchors.fill: parent
        radius: HalvicStyle.popupImageRadius
    }

    Column {
        id: column
        x: 6
        y: 6

        Repeater {
            id: rows
            model: view.entries

            delegate: MenuEntryItem {
                id: entry

                required property int index
                required property string title
                required property string shortcut
                required property bool choosable
                required property bool checked
                required property bool separator

                readonly property bool current: index === view.entries.currentIndex

                popup: view.popup
                row: index
                width: view.entryWidth
                height: separator ? 9 : 26
                implicitWidth: separator ? 0
                    : 32 + label.implicitWidth + (shortcut.length > 0 ? 28 + keys.implicitWidth : 0) + 12
                enabled: choosable
                focus: current

                // Name, states and the press action come from the item's own interface.
                Accessible.role: Accessible.MenuItem
                Accessible.ignored: separator

                Rectangle {
                    visible: entry.separator
                    anchors.verticalCenter: parent.verticalCenter
                    anchors.left: parent.left
                    anchors.right: parent.right
                    anchors.margins: 6
                    height: 1
                    color: HalvicStyle.hairline
                }
                Rectangle {
                    visible: entry.current
                    anchors.fill: parent
                    radius: HalvicStyle.controlRadius
                    color: HalvicStyle.accent
                }
                SymbolIcon {
                    visible: !entry.separator && entry.checked
                    x: 10
                    anchors.verticalCenter: parent.verticalCenter
                    symbol: "checkmark"
                    size: 11
                    color: HalvicStyle.primary
                }
                Text {
                    id: label
                    visible: !entry.separator
                    x: 32
                    anchors.verticalCenter: parent.verticalCenter
                    text: entry.title
                    color: entry.choosable ? HalvicStyle.primary : HalvicStyle.disabled
                    font.pixelSize: HalvicStyle.bodySize
                    textFormat: Text.PlainText
                    Accessible.ignored: true
                }
                Text {
                    id: keys
                    visible: !entry.separator && entry.shortcut.length > 0
                    anchors.right: parent.right
                    anchors.rightMargin: 12
                    anchors.verticalCenter: parent.verticalCenter
                    text: entry.shortcut
                    color: entry.current ? HalvicStyle.primary : HalvicStyle.secondary
                    font.pixelSize: HalvicStyle.bodySize
                    textFormat: Text.PlainText
                    Accessible.ignored: true
                }
                MouseArea {
                    anchors.fill: parent
                    hoverEnabled: true
                    onEntered: view.entries.currentIndex = entry.index
                    onClicked: view.popup.trigger(entry.index)
                }
            }
        }
    }
}
