import QtQuick
import Halvic.Panels

// Shows a card's content, or its bubble while minimised; shrinks briefly on a long press.
// The bubble has no click action: another long press expands it. Resting the pointer on the
// bubble shows its help beside it. Files dragged onto the card, or onto its bubble, are the
// card's to take.
Item {
    id: card

    required property BubbleState state
    property string icon
    property color tint: HalvicStyle.cyan
    property string help
    default property alias content: contentHolder.data

    /// Whether files dragged over the card or its bubble are wanted now.
    property bool takesFiles: false
    /// Files the card would take are over it (or over its bubble).
    readonly property bool filesOver: drops.containsDrag
    /// Files let go over the card or its bubble: accept or refuse `drop` here.
    signal filesDropped(DragEvent drop)

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
        border.color: card.filesOver ? card.tint : HalvicStyle.glassBorder
        Accessible.role: Accessible.Graphic
        Accessible.name: card.help
        Accessible.description: card.help
        // A hidden item stays on the accessibility bus in this Qt unless it is ignored.
        Accessible.ignored: !visible

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

        HoverHandler { id: hover }
        // Only to know the button is down: a press hides the help and holds it back.
        TapHandler { id: press }
        Timer {
            interval: HalvicStyle.tooltipDelay
            running: hover.hovered && !press.pressed && bubble.visible && card.help.length > 0
            onTriggered: {
                const panel = card.Window.window as GlassPanel
                if (!panel)
                    return
                hint.at = panel.hintPosition(hint.size)
                hint.due = true
            }
        }
    }

    TextMetrics {
        id: hintMetrics
        font.pixelSize: HalvicStyle.captionSize
        text: card.help
    }
    QtObject {
        id: hint
        readonly property size size: Qt.size(Math.ceil(hintMetrics.advanceWidth) + 16, Math.ceil(hintMetrics.height) + 10)
        property point at
        property bool due: false
        readonly property bool wanted: hover.hovered && !press.pressed && bubble.visible
        onWantedChanged: if (!wanted) due = false
    }

    // The help in a window of its own beside the bubble: inside the bubble's small window it
    // would cover the bubble and take the press that expands it. It never takes the keyboard
    // or the pointer, and exists only while it shows.
    Loader {
        active: hint.due && hint.wanted
        sourceComponent: Window {
            transientParent: card.Window.window
            flags: Qt.ToolTip | Qt.FramelessWindowHint | Qt.WindowDoesNotAcceptFocus | Qt.WindowTransparentForInput
            color: "transparent"
            x: hint.at.x
            y: hint.at.y
            width: hint.size.width
            height: hint.size.height
            title: card.help
            visible: true

            Rectangle {
                anchors.fill: parent
                radius: HalvicStyle.controlRadius
                color: HalvicStyle.glass
                border.width: 1
                border.color: HalvicStyle.glassBorder
            }
            Text {
                anchors.centerIn: parent
                text: card.help
                textFormat: Text.PlainText
                font: hintMetrics.font
                color: HalvicStyle.primary
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
        }
    }

    // Over the bubble too: the card's own view is hidden then, and a drop there is the card's.
    DropArea {
        id: drops
        anchors.fill: parent
        onEntered: drag => drag.accepted = card.takesFiles && drag.hasUrls
        onDropped: drop => card.filesDropped(drop)
    }
}
