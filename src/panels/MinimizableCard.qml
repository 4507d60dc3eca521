import QtQuick
import Halvic.Panels

// Shows a card's content, or its bubble while minimised; shrinks briefly on a long press.
// The bubble has no click action: another long press expands it.
Item {
    id: card

    required property BubbleState state
    property string icon
    property color tint: HalvicStyle.cyan
    property string help
    default property alias content: contentHolder.data

    implicitWidth: state.minimized ? HalvicStyle.bubbleSize : contentHolder.childrenRect.width
    implicitHeight: state.minimized ? HalvicStyle.bubbleSize : contentHolder.childrenRect.height
    scale: state.pressCue ? 0.96 : 1.0
    Behavior on scale { NumberAnimation { duration: 120; easing.type: Easing.OutQuad } }

    Item {
        id: contentHolder
        anchors.fill: parent
        visible: !card.state.minimized
    }

    GlassCard {
        id: bubble
        visible: card.state.minimized
        width: 58
        height: 58
        radius: 29
        // The help is the bubble's accessible name rather than an in-window tooltip: a tooltip
        // would cover the 58-point bubble and take the press that should expand it.
        Accessible.role: Accessible.Graphic
        Accessible.name: card.help
        Accessible.description: card.help

        Rectangle {
            anchors.centerIn: parent
            width: 44
            height: 44
            radius: 22
            color: Qt.rgba(card.tint.r, card.tint.g, card.tint.b, 0.22)
        }
        SymbolIcon {
            anchors.centerIn: parent
            symbol: card.icon
            size: 17
            font.weight: Font.DemiBold
            color: card.tint
        }
    }
}
