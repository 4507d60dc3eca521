import QtQuick
import Halvic.Panels

// A symbol drawn from the Material Icons font, by its name in the symbol table.
Text {
    property string symbol
    property real size: 13

    text: Symbols.glyph(symbol)
    font.family: Symbols.fontFamily
    font.pixelSize: Math.round(size * 1.2)
    textFormat: Text.PlainText
    verticalAlignment: Text.AlignVCenter
    horizontalAlignment: Text.AlignHCenter
    Accessible.ignored: true
}
