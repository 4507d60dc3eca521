import QtQuick
import QtQuick.Layouts
import Halvic.Panels

// A section's title, as given: the engine's composed titles are written to be read as they are.
Text {
    Accessible.role: Accessible.Heading
    Accessible.name: text
    Accessible.ignored: !visible
    textFormat: Text.PlainText
    font.pixelSize: HalvicStyle.captionSize
    font.weight: Font.DemiBold
    color: HalvicStyle.secondary
    Layout.topMargin: 6
}
