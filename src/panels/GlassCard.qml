import QtQuick
import Halvic.Panels

// The rounded glass background of the HUD, cards and bubbles (no compositor blur is assumed).
Rectangle {
    radius: HalvicStyle.cardRadius
    color: HalvicStyle.glass
    border.width: 1
    border.color: HalvicStyle.glassBorder
}
