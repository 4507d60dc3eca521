pragma Singleton
import QtQuick

// The one look of the HUD, the cards and the popups: colours, radii and fonts.
QtObject {
    readonly property color primary: "#F2F2F7"
    readonly property color secondary: "#A1A1AA"
    readonly property color disabled: "#5C5C63"
    readonly property color red: "#FF453A"
    readonly property color orange: "#FF9F0A"
    readonly property color cyan: "#64D2FF"
    readonly property color green: "#30D158"
    readonly property color yellow: "#FFD60A"
    readonly property color accent: "#0A84FF"
    readonly property color blue: "#0A84FF"
    readonly property color mint: "#63E6E2"
    readonly property color teal: "#40C8E0"
    readonly property color gray: "#8E8E93"
    readonly property color pink: "#FF375F"
    readonly property color purple: "#BF5AF2"
    readonly property color indigo: "#5E5CE6"
    readonly property color field: Qt.rgba(1, 1, 1, 0.06)
    readonly property color hairline: Qt.rgba(1, 1, 1, 0.12)
    readonly property color separator: Qt.rgba(1, 1, 1, 0.08)
    readonly property color muted: Qt.rgba(1, 1, 1, 0.55)
    readonly property color control: Qt.rgba(1, 1, 1, 0.6)
    readonly property color controlHovered: Qt.rgba(1, 1, 1, 0.08)
    readonly property color controlPressed: Qt.rgba(1, 1, 1, 0.14)

    // The glass: a translucent dark rounded rectangle with a faint light border.
    readonly property color glass: Qt.rgba(0.09, 0.09, 0.11, 0.86)
    readonly property color glassBorder: Qt.rgba(1, 1, 1, 0.14)
    readonly property real cardRadius: 22
    readonly property real popupRadius: 18
    readonly property real popupImageRadius: 10
    readonly property real controlRadius: 6
    readonly property real bubbleSize: 58
    // How long the pointer rests on a control before its help shows (Qt's usual tooltip delay).
    readonly property int tooltipDelay: 700

    readonly property string emojiFamily: "Noto Color Emoji"
    readonly property real titleSize: 13
    readonly property real bodySize: 13
    readonly property real captionSize: 11

    // A colour by the name the cards' tables give ("green", "secondary", ...); secondary
    // for a name it does not know.
    function named(name: string): color {
        const colours = { red: red, orange: orange, cyan: cyan, green: green, yellow: yellow, blue: blue,
                          mint: mint, teal: teal, gray: gray, pink: pink, purple: purple, indigo: indigo,
                          secondary: secondary, primary: primary }
        return colours[name] ?? secondary
    }
}
