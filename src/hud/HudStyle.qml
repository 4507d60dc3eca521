pragma Singleton
import QtQuick

// The HUD's colours, in one place.
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
    readonly property color field: Qt.rgba(1, 1, 1, 0.06)
    readonly property color hairline: Qt.rgba(1, 1, 1, 0.12)
    readonly property string emojiFamily: "Noto Color Emoji"
}
