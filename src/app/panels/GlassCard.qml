import QtQuick

// The rounded glass background of the HUD, cards and bubbles: a translucent dark rounded
// rectangle with a faint light border (no compositor blur is assumed).
Rectangle {
    radius: 22
    color: Qt.rgba(0.09, 0.09, 0.11, 0.86)
    border.width: 1
    border.color: Qt.rgba(1, 1, 1, 0.14)
}
