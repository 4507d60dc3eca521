import QtQuick
import Halvic.Panels

// A text a sighted user reads, on the accessibility bus too (and off it while hidden: Qt keeps
// hidden items there, only marked invisible); engine text stays plain.
Text {
    Accessible.role: Accessible.StaticText
    Accessible.name: text
    Accessible.ignored: !visible
    textFormat: Text.PlainText
    wrapMode: Text.Wrap
    color: HalvicStyle.primary
    font.pixelSize: HalvicStyle.bodySize
}
